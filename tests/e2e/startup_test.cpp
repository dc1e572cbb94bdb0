// Start-up of the real program: config errors, the items a description unlocks, the ways to end it, the
// config path on the command line and the described program's icon.
#include "driver/app.h"
#include "driver/configs.h"
#include "driver/e2e.h"
#include "driver/registry.h"
#include "driver/workspace.h"
#include "resource_ids.h"

using namespace brennic;
using namespace brennic::e2e;

namespace {

constexpr std::uint32_t kErrorIcon = 32513;

void expectDescriptionItems(App& app, bool enabled) {
    for (int id : {IDCMD_START, IDCMD_SAVE_APP_CONFIG, IDCMD_OPEN_PROGRAM_FOLDER}) {
        const MenuItemInfo item = app.menuItem(id);
        CHECK(item.found);
        CHECK_EQ(item.grayed, !enabled);
    }
}

// The first line of a box's text.
std::string firstLine(const std::string& text) { return text.substr(0, text.find('\n')); }

// Starts the program on prog.vx holding `bytes` and checks the one error box it shows: the message as its
// first line, then the config's path and the reason.
void expectConfigError(const std::vector<std::uint8_t>& bytes, const std::string& message, const std::string& reason) {
    writeFile(join(appDir(), "prog.vx"), bytes);
    App app = App::start();
    REQUIRE(app.mainWindow() != nullptr);
    const auto box = app.waitForBox();
    REQUIRE(box.has_value());
    CHECK_EQ(box->caption, "Error");
    CHECK_EQ(firstLine(box->text), message);
    CHECK_EQ(box->text, message + "\n\nConfig file: " + join(appDir(), "prog.vx") + "\n" + reason);
    CHECK(box->hasButton(IDOK));
    CHECK_EQ(app.boxIcon(*box), kErrorIcon);
    REQUIRE(app.answer(*box, IDOK));
    CHECK(app.settle());
    CHECK(!app.openBox().has_value());
    expectDescriptionItems(app, false);
    CHECK(app.running());
}

}  // namespace

E2E_TEST(NoConfigShowsLoadFileErrorAndKeepsStartGrayed) {
    resetWorkspace();
    deleteOptions();
    App app = App::start();
    REQUIRE(app.mainWindow() != nullptr);
    CHECK_EQ(app.title(), "Brennic");
    const auto box = app.waitForBox();
    REQUIRE(box.has_value());
    CHECK_EQ(box->caption, "Error");
    CHECK_EQ(firstLine(box->text), "Load file error");
    CHECK_EQ(box->text, "Load file error\n\nConfig file: " + join(appDir(), "prog.vx") + "\nThere is no such file");
    REQUIRE(app.answer(*box, IDOK));
    expectDescriptionItems(app, false);

    // Enter and Ctrl+S reach nothing while their items are grayed: no box, nothing written, still running.
    app.pressKeys({VK_RETURN});
    app.pressKeys({VK_CONTROL, 'S'});
    CHECK(app.settle());
    CHECK(!app.openBox().has_value());
    CHECK(app.running());
    CHECK(!fileExists(join(appDir(), "Tool")));
}

E2E_TEST(EveryConfigErrorShowsItsText) {
    resetWorkspace();
    deleteOptions();
    expectConfigError({}, "Empty file", "The file is 0 bytes long");

    std::vector<std::uint8_t> bytes = configBytes(sampleTables());
    bytes[6] = 0;
    bytes[7] = 0;
    expectConfigError(bytes, "Can't load old config version", "The version is 0, and Brennic reads versions 1 to 5");

    bytes[6] = 6;
    expectConfigError(bytes, "Can't load new config version", "The version is 6, and Brennic reads versions 1 to 5");

    bytes = configBytes(sampleTables());
    bytes.pop_back();  // the last string's zero byte
    expectConfigError(bytes, "Unexpected config end", "String 21 of 21 has no zero byte: the file ends first");

    ProgramDescription damaged = sampleTables();
    damaged.actions[0].nextList = 7;  // no such list
    expectConfigError(configBytes(damaged), "The config is damaged", "Action 1's next list is 8, and there are 2 lists");
}

E2E_TEST(AGoodConfigEnablesTheDescriptionItems) {
    resetWorkspace();
    deleteOptions();
    writeDefaultConfig();
    App app = App::start();
    REQUIRE(app.mainWindow() != nullptr);
    CHECK(app.settle());
    CHECK(!app.openBox().has_value());
    expectDescriptionItems(app, true);
    CHECK_EQ(app.menuItem(IDCMD_START).text, "Start");
    CHECK_EQ(app.menuItem(IDCMD_SAVE_APP_CONFIG).text, "Save app config [Ctrl + S]");
}

E2E_TEST(ExitMenuEscapeAltF4AndCloseBoxEndWithCodeZero) {
    resetWorkspace();
    deleteOptions();
    writeDefaultConfig();
    {
        App app = App::start();
        REQUIRE(app.mainWindow() != nullptr);
        app.post(IDCMD_EXIT);
        CHECK_EQ(app.waitForExit().value_or(999), 0u);
    }
    {
        App app = App::start();
        REQUIRE(app.mainWindow() != nullptr);
        CHECK(app.settle());
        app.pressKeys({VK_ESCAPE});
        CHECK_EQ(app.waitForExit().value_or(999), 0u);
    }
    {
        App app = App::start();
        REQUIRE(app.mainWindow() != nullptr);
        CHECK(app.settle());
        app.pressKeys({VK_MENU, VK_F4});
        CHECK_EQ(app.waitForExit().value_or(999), 0u);
    }
    {
        App app = App::start();
        REQUIRE(app.mainWindow() != nullptr);
        app.clickCloseBox();
        CHECK_EQ(app.waitForExit().value_or(999), 0u);
    }
}

E2E_TEST(ConfigPathOnTheCommandLine) {
    resetWorkspace();
    deleteOptions();
    // Quoted, with spaces, relative to the current directory.
    const std::string spaced = join(workDir(), "my configs");
    writeConfigFile(join(spaced, "my file.vx"), sampleTables());
    {
        App app = App::start(App::Launch{"\"my configs\\my file.vx\"", workDir(), "", ""});
        REQUIRE(app.mainWindow() != nullptr);
        CHECK(app.settle());
        CHECK(!app.openBox().has_value());
        expectDescriptionItems(app, true);
    }
    // Unquoted and relative: made absolute against the current directory; extra arguments are ignored.
    writeConfigFile(join(join(workDir(), "cfg"), "a.vx"), sampleTables());
    {
        App app = App::start(App::Launch{"cfg\\a.vx ignored.vx", workDir(), "", ""});
        REQUIRE(app.mainWindow() != nullptr);
        CHECK(app.settle());
        CHECK(!app.openBox().has_value());
        expectDescriptionItems(app, true);
    }
    // A quoted argument that names nothing: the config cannot be opened.
    {
        App app = App::start(App::Launch{"\"no such.vx\"", workDir(), "", ""});
        const auto box = app.waitForBox();
        REQUIRE(box.has_value());
        CHECK_EQ(firstLine(box->text), "Load file error");
        // The path as the command line gave it.
        CHECK_EQ(box->text, "Load file error\n\nConfig file: no such.vx\nThere is no such file");
    }
    // An argument with an opening quote and no closing one cannot be split: the config cannot be loaded.
    {
        App app = App::start(App::Launch{"\"cfg\\a.vx", workDir(), "", ""});
        const auto box = app.waitForBox();
        REQUIRE(box.has_value());
        CHECK_EQ(firstLine(box->text), "Load file error");
        CHECK_EQ(box->text, "Load file error\n\nThe file name is empty");
    }
}

// The program's folder is where its file is, however the command line names it: by a bare name from another
// current folder (found on PATH), or by an unquoted path with a space, as CreateProcess accepts it.
E2E_TEST(TheProgramDirectoryIsTheFolderOfTheProgramFile) {
    resetWorkspace();
    deleteOptions();
    writeDefaultConfig();
    {
        App app = App::start(App::Launch{"", workDir(), brennicExePath(), "brennic"});
        REQUIRE(app.mainWindow() != nullptr);
        CHECK(app.settle());
        CHECK(!app.openBox().has_value());
        expectDescriptionItems(app, true);
    }
    const std::string spaced = join(workDir(), "my app");
    REQUIRE(makeFolders(spaced));
    REQUIRE(copyFile(brennicExePath(), join(spaced, "brennic.exe")));
    REQUIRE(copyFile(join(appDir(), "prog.vx"), join(spaced, "prog.vx")));
    {
        App app = App::start(App::Launch{"", workDir(), join(spaced, "brennic.exe"), join(spaced, "brennic.exe")});
        REQUIRE(app.mainWindow() != nullptr);
        CHECK(app.settle());
        CHECK(!app.openBox().has_value());
        expectDescriptionItems(app, true);
    }
    // The argument after such a path is still the config path, against the current folder.
    writeConfigFile(join(join(workDir(), "cfg"), "a.vx"), sampleTables());
    {
        App app = App::start(App::Launch{"", workDir(), join(spaced, "brennic.exe"),
                                         join(spaced, "brennic") + " cfg\\a.vx"});
        REQUIRE(app.mainWindow() != nullptr);
        CHECK(app.settle());
        CHECK(!app.openBox().has_value());
        expectDescriptionItems(app, true);
    }
}

E2E_TEST(TheProgramDirectoryIsAbsoluteWhenStartedByAQuotedRelativeName) {
    resetWorkspace();
    deleteOptions();
    writeDefaultConfig();
    // Started from the work folder as "app\brennic.exe": prog.vx is still found beside the program.
    App app = App::start(App::Launch{"", workDir(), brennicExePath(), "\"app\\brennic.exe\""});
    REQUIRE(app.mainWindow() != nullptr);
    CHECK(app.settle());
    CHECK(!app.openBox().has_value());
    expectDescriptionItems(app, true);
}

// The described program's big and small icons are the images of its icon group drawn for those sizes, not its
// first image whatever its size; each time they replace icons, the window still shows the right ones.
E2E_TEST(TheDescribedProgramsIconsAreTheImagesForTheirSizes) {
    resetWorkspace();
    deleteOptions();
    writeDefaultConfig();
    const std::string exe = describedExe(sampleTables(), appDir());
    REQUIRE(copyFile(builtProgram("brennic_e2e_icon_sizes.exe"), exe));
    REQUIRE(GetSystemMetrics(SM_CXICON) == 32 && GetSystemMetrics(SM_CXSMICON) == 16);  // the prefix's 96 DPI
    App app = App::start();
    REQUIRE(app.mainWindow() != nullptr);
    CHECK(app.settle());
    CHECK(!app.openBox().has_value());
    CHECK_EQ(app.bigIconPixel().value_or(0), 0xFFE08020u);  // the 32-pixel image
    const auto small = app.smallIcon();
    REQUIRE(small.has_value());
    CHECK_EQ(small->width, 16);
    CHECK_EQ(small->centre, 0xFF20C020u);  // the 16-pixel image
}

E2E_TEST(TheDescribedProgramsIconIsReadFrom64And32BitPrograms) {
    resetWorkspace();
    deleteOptions();
    writeDefaultConfig();
    const ProgramDescription tables = sampleTables();
    const std::string exe = describedExe(tables, appDir());

    std::uint32_t ownIcon = 0;
    {
        // No described program: the window keeps its own icon, and nothing is shown.
        App app = App::start();
        REQUIRE(app.mainWindow() != nullptr);
        CHECK(app.settle());
        CHECK(!app.openBox().has_value());
        const auto pixel = app.bigIconPixel();
        REQUIRE(pixel.has_value());
        ownIcon = *pixel;
        // The title bar's icon is the image drawn for the small size, not the big one scaled.
        const auto small = app.smallIcon();
        REQUIRE(small.has_value());
        CHECK_EQ(small->width, GetSystemMetrics(SM_CXSMICON));
    }
    struct Program {
        const char* file;
        std::uint32_t centre;  // 0xAARRGGBB of the tile
    } programs[] = {{"brennic_e2e_icon64.exe", 0xFFE02020u}, {"brennic_e2e_icon32.exe", 0xFF2040E0u}};
    for (const Program& program : programs) {
        note(program.file);
        REQUIRE(copyFile(builtProgram(program.file), exe));
        App app = App::start();
        REQUIRE(app.mainWindow() != nullptr);
        CHECK(app.settle());
        CHECK(!app.openBox().has_value());
        const auto pixel = app.bigIconPixel();
        REQUIRE(pixel.has_value());
        CHECK_EQ(*pixel, program.centre);
        CHECK(*pixel != ownIcon);
        const auto small = app.smallIcon();  // the title bar shows the described program too
        REQUIRE(small.has_value());
        CHECK_EQ(small->centre, program.centre);
    }
    // A file that is no program at all: own icon, no message.
    writeFile(exe, std::string("not a program"));
    App app = App::start();
    REQUIRE(app.mainWindow() != nullptr);
    CHECK(app.settle());
    CHECK(!app.openBox().has_value());
    CHECK_EQ(app.bigIconPixel().value_or(0), ownIcon);
}
