// The record block of brennic-demo: end-to-end tests parse it, so its shape is fixed.
#include <gtest/gtest.h>

#include "demo_record.h"

namespace brennic::demo {
namespace {

TEST(DemoRecord, BlockHoldsCommandLineDirectoryAndArgumentsVerbatim) {
    Invocation invocation;
    invocation.commandLine = "\"C:\\Tools\\Demo\\brennic-demo.exe\" -i \"C:\\in put.wav\"  \t ";
    invocation.workingDirectory = "C:\\Tools\\Demo";
    invocation.arguments = {"C:\\Tools\\Demo\\brennic-demo.exe", "-i", "C:\\in put.wav"};
    EXPECT_EQ(formatRecord(invocation),
              "run\n"
              "cmdline=\"C:\\Tools\\Demo\\brennic-demo.exe\" -i \"C:\\in put.wav\"  \t \n"
              "cwd=C:\\Tools\\Demo\n"
              "argc=3\n"
              "arg0=C:\\Tools\\Demo\\brennic-demo.exe\n"
              "arg1=-i\n"
              "arg2=C:\\in put.wav\n"
              "end\n");
}

TEST(DemoRecord, LineBreaksInsideValuesCannotSplitALine) {
    Invocation invocation;
    invocation.commandLine = "a\nb\r\nc";
    invocation.arguments = {"x\ny"};
    EXPECT_EQ(formatRecord(invocation),
              "run\ncmdline=a\\x0ab\\x0d\\x0ac\ncwd=\nargc=1\narg0=x\\x0ay\nend\n");
}

TEST(DemoRecord, ExitStatusAcceptsOnlyDecimalBytes) {
    EXPECT_EQ(exitStatusFrom(nullptr), 0);
    EXPECT_EQ(exitStatusFrom(""), 0);
    EXPECT_EQ(exitStatusFrom("7"), 7);
    EXPECT_EQ(exitStatusFrom("255"), 255);
    EXPECT_EQ(exitStatusFrom("256"), 0);
    EXPECT_EQ(exitStatusFrom("-1"), 0);
    EXPECT_EQ(exitStatusFrom("3x"), 0);
    EXPECT_EQ(exitStatusFrom("99999999999999999999"), 0);
}

}  // namespace
}  // namespace brennic::demo
