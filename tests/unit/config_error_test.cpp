#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <system_error>

#include "description/config_error.h"
#include "description/config_explain.h"

namespace brennic {
namespace {

TEST(RaiseError, MarksTheRecordAndThrowsACopy) {
    errorVX record;
    record.fileError = 2;
    try {
        raiseError(record, &errorVX::configError, kConfigDamaged);
        FAIL() << "raiseError returned";
    } catch (const errorVX& caught) {
        EXPECT_EQ(caught.raised, 1);
        EXPECT_EQ(caught.fileError, 2);
        EXPECT_EQ(caught.configError, kConfigDamaged);
    }
    EXPECT_EQ(record.raised, 1);
    EXPECT_EQ(record.configError, kConfigDamaged);
    clearError(record);
    EXPECT_EQ(record.raised, 0);
    EXPECT_EQ(record.fileError, 0);
    EXPECT_EQ(record.configError, 0);
}

TEST(ErrorMessage, EveryCodeAndTheChoiceBetweenSlots) {
    const auto message = [](std::int32_t fileError, std::int32_t configError) {
        return errorMessage(errorVX{1, fileError, configError});
    };
    EXPECT_EQ(message(1, 0), "Load file error");
    EXPECT_EQ(message(2, 0), "Empty file");
    EXPECT_EQ(message(3, 0), "Saving config error");
    EXPECT_EQ(message(0, 1), "Can't load old config version");
    EXPECT_EQ(message(0, 2), "Can't load new config version");
    EXPECT_EQ(message(0, 3), "Unexpected config end");
    EXPECT_EQ(message(0, 4), "The config is damaged");
    // Both set: only the config message. An unknown config code keeps the file message.
    EXPECT_EQ(message(1, 4), "The config is damaged");
    EXPECT_EQ(message(2, 9), "Empty file");
    // Neither set, or only unknown codes: nothing to show.
    EXPECT_EQ(message(0, 0), "");
    EXPECT_EQ(message(4, -1), "");
}

TEST(ExplainConfigError, AFileThatCannotBeOpenedSaysWhy) {
    const ProgramDescription none;
    errorVX raised;
    raised.fileError = kLoadFileError;
    const std::string missing = "/nonexistent-brennic-folder/prog.vx";
    EXPECT_EQ(explainConfigError(raised, "", none, 0), "the file name is empty");
    EXPECT_EQ(explainConfigError(raised, missing, none, ENOENT), "there is no such file");
    EXPECT_EQ(explainConfigError(raised, missing, none, EISDIR), "it is a folder");
    EXPECT_EQ(explainConfigError(raised, missing, none, EACCES),
              "the file cannot be opened for reading (" + std::generic_category().message(EACCES) + ")");
    EXPECT_EQ(explainConfigError(raised, missing, none, 0), "the file cannot be opened for reading");
    raised.fileError = kSavingConfigError;  // nothing to add
    EXPECT_EQ(explainConfigError(raised, missing, none, 0), "");
}

TEST(ExplainConfigError, TheBoxKeepsTheMessageFirst) {
    EXPECT_EQ(configErrorBoxText("Empty file", "C:\\p\\prog.vx", "the file is 0 bytes long"),
              "Empty file\n\nConfig file: C:\\p\\prog.vx\nThe file is 0 bytes long");
    EXPECT_EQ(configErrorBoxText("Load file error", "", "the file name is empty"),
              "Load file error\n\nThe file name is empty");
    EXPECT_EQ(configErrorBoxText("Load file error", "", ""), "Load file error");
    EXPECT_EQ(configErrorBoxText("X", "a.vx", "1 byte"), "X\n\nConfig file: a.vx\n1 byte");
}

}  // namespace
}  // namespace brennic
