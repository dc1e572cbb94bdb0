// The argument pages, the tab host and the About page in the running program, read from the real controls:
// tab captions, keyboard and mouse navigation, what choosing an entry changes, the status bar and the About
// texts with the window title.
#include <windows.h>
#include <commctrl.h>

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "driver/app.h"
#include "driver/configs.h"
#include "driver/e2e.h"
#include "driver/registry.h"
#include "driver/workspace.h"
#include "resource_ids.h"

using namespace brennic;
using namespace brennic::e2e;

namespace {

const std::string kBlank(18, ' ');

struct PageIds {
    int select, path, action, manual, pathLabel, actionLabel, manualLabel;
};
constexpr std::array<PageIds, 3> kIds{{
    {IDC_SELECT1, IDC_PATH1, IDC_ACTION1, IDC_MANUAL1, IDC_PATHLABEL1, IDC_ACTIONLABEL1, IDC_MANUALLABEL1},
    {IDC_SELECT2, IDC_PATH2, IDC_ACTION2, IDC_MANUAL2, IDC_PATHLABEL2, IDC_ACTIONLABEL2, IDC_MANUALLABEL2},
    {IDC_SELECT3, IDC_PATH3, IDC_ACTION3, IDC_MANUAL3, IDC_PATHLABEL3, IDC_ACTIONLABEL3, IDC_MANUALLABEL3},
}};

ActionEntry action(const std::string& caption, std::uint32_t flags, std::uint16_t next = 0, std::uint16_t path = 0,
                   std::uint16_t manual = 0) {
    ActionEntry entry;
    entry.caption = caption;
    entry.actionText = caption;
    entry.actionPosition = 1;
    entry.flags = flags;
    entry.nextList = next;
    entry.pathSpec = path;
    entry.pathPosition = (flags & 4u) != 0 ? 2 : 0;
    entry.manualSpec = manual;
    entry.manualPosition = (flags & 16u) != 0 ? 3 : 0;
    return entry;
}

// "Command": Add (file, "Switches", -> Level), Help, Extract (file, -> Target)
// "Level": Fast ("Password", -> Messages), Best      "Target": Folder (folder)      "Messages": Quiet, Verbose
ProgramDescription pagesTables() {
    constexpr std::uint32_t next = 1u, path = 4u, manual = 16u;
    ProgramDescription d;
    d.header.version = 5;
    d.texts = {"tool.exe", "Packer", "Packer 2.4", "J. Doe", "A. Roe", "packer@example.org"};
    d.actions = {action("Add", next | path | manual, 1, 0, 0), action("Help", 0), action("Extract", next | path, 2, 0),
                 action("Fast", next | manual, 3, 0, 1), action("Best", 0), action("Folder", path, 0, 1),
                 action("Quiet", 0), action("Verbose", 0)};
    auto list = [](const std::string& label, std::vector<std::uint16_t> entries) {
        ActionList made;
        made.label = label;
        made.entries = std::move(entries);
        return made;
    };
    d.lists = {list("Command", {0, 1, 2}), list("Level", {3, 4}), list("Target", {5}), list("Messages", {6, 7})};
    PathSpec file;
    file.dialogKind = kOpenFileDialog;
    file.filters = {0};
    file.label = "Archive file";
    PathSpec folder;
    folder.dialogKind = kFolderDialog;
    folder.label = "Output folder";
    d.pathSpecs = {file, folder};
    d.filterTexts = {"All files\x01*.*"};
    d.manualSpecs = {ManualSpec{"Switches", "Extra switches"}, ManualSpec{"Password", "The archive's password"}};
    return d;
}

// ---- reading the program's controls ------------------------------------------------------------------------

HWND tabControl(App& app) { return GetDlgItem(app.mainWindow(), IDC_TABS); }

int selectedTab(App& app) { return static_cast<int>(SendMessageA(tabControl(app), TCM_GETCURSEL, 0, 0)); }

// Messages whose text buffer the system does not carry across processes: the buffer lives in the program.
class RemoteBuffer {
public:
    RemoteBuffer(DWORD processId, std::size_t size) : size_(size) {
        process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
        if (process_ != nullptr) memory_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT, PAGE_READWRITE);
    }
    ~RemoteBuffer() {
        if (memory_ != nullptr) VirtualFreeEx(process_, memory_, 0, MEM_RELEASE);
        if (process_ != nullptr) CloseHandle(process_);
    }
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;

    char* address() const { return static_cast<char*>(memory_); }
    bool write(std::size_t offset, const void* data, std::size_t size) {
        return memory_ != nullptr && WriteProcessMemory(process_, address() + offset, data, size, nullptr) != FALSE;
    }
    std::string readText(std::size_t offset) {
        std::vector<char> text(size_ - offset + 1, '\0');
        if (memory_ == nullptr || !ReadProcessMemory(process_, address() + offset, text.data(), size_ - offset, nullptr))
            return "<unreadable>";
        return std::string(text.data());
    }

private:
    HANDLE process_ = nullptr;
    void* memory_ = nullptr;
    std::size_t size_;
};

std::string tabCaption(App& app, int tab) {
    RemoteBuffer remote(app.processId(), sizeof(TCITEMA) + 128);
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = remote.address() + sizeof(TCITEMA);
    item.cchTextMax = 127;
    const char zero = 0;
    remote.write(sizeof(TCITEMA), &zero, 1);
    if (!remote.write(0, &item, sizeof item)) return "<unreadable>";
    SendMessageA(tabControl(app), TCM_GETITEMA, static_cast<WPARAM>(tab), reinterpret_cast<LPARAM>(remote.address()));
    return remote.readText(sizeof(TCITEMA));
}

std::string statusPart(App& app, int part) {
    HWND status = GetDlgItem(app.mainWindow(), IDC_STATUS);
    RemoteBuffer remote(app.processId(), 512);
    const char zero = 0;
    remote.write(0, &zero, 1);
    SendMessageA(status, SB_GETTEXTA, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(remote.address()));
    return remote.readText(0);
}

std::vector<std::string> statusParts(App& app) { return {statusPart(app, 0), statusPart(app, 1), statusPart(app, 2)}; }

// The page windows are the tab control's dialog children; each is known by a control only it has.
HWND pageWindow(App& app, int tab) {
    const int marker = tab < 3 ? kIds[static_cast<std::size_t>(tab)].action : IDC_ABOUT_NAME;
    for (HWND child = FindWindowExA(tabControl(app), nullptr, nullptr, nullptr); child != nullptr;
         child = FindWindowExA(tabControl(app), child, nullptr, nullptr))
        if (GetDlgItem(child, marker) != nullptr) return child;
    return nullptr;
}

// The one page that is visible, or -1 when none or several are.
int shownPage(App& app) {
    int shown = -1;
    for (int tab = 0; tab < 4; ++tab) {
        HWND page = pageWindow(app, tab);
        if (page == nullptr || !IsWindowVisible(page)) continue;
        if (shown != -1) return -1;
        shown = tab;
    }
    return shown;
}

// The tip text of the page's manual-arguments label, read from the tool-tip control that holds that tool.
// (A tool tip created for a child window is owned by its top-level window, so the owner does not tell.)
std::string manualTip(App& app, int page) {
    HWND pageHandle = pageWindow(app, page);
    struct Search {
        DWORD processId;
        std::vector<HWND> tips;
    } search{app.processId(), {}};
    EnumWindows(
        [](HWND window, LPARAM parameter) -> BOOL {
            auto* s = reinterpret_cast<Search*>(parameter);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == s->processId && className(window) == "tooltips_class32") s->tips.push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    RemoteBuffer remote(app.processId(), sizeof(TOOLINFOA) + 1100);
    for (HWND tip : search.tips) {
        TOOLINFOA tool{};
        tool.cbSize = sizeof tool;
        tool.hwnd = pageHandle;
        tool.uId = reinterpret_cast<UINT_PTR>(GetDlgItem(pageHandle, kIds[static_cast<std::size_t>(page)].manualLabel));
        tool.lpszText = remote.address() + sizeof(TOOLINFOA);
        const char zero = 0;
        remote.write(sizeof(TOOLINFOA), &zero, 1);
        if (!remote.write(0, &tool, sizeof tool)) return "<unreadable>";
        if (!SendMessageA(tip, TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(remote.address()))) continue;
        remote.write(0, &tool, sizeof tool);
        SendMessageA(tip, TTM_GETTEXTA, 1024, reinterpret_cast<LPARAM>(remote.address()));
        return remote.readText(sizeof(TOOLINFOA));
    }
    return "<no tool>";
}

HWND control(App& app, int page, int id) { return GetDlgItem(pageWindow(app, page), id); }
std::string text(App& app, int page, int id) { return windowText(control(app, page, id)); }
bool enabled(App& app, int page, int id) { return IsWindowEnabled(control(app, page, id)) != FALSE; }

std::vector<std::string> comboItems(App& app, int page) {
    HWND combo = control(app, page, kIds[static_cast<std::size_t>(page)].action);
    std::vector<std::string> items;
    const auto count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        wchar_t buffer[260] = {};
        SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(buffer));
        char narrow[260] = {};
        WideCharToMultiByte(CP_ACP, 0, buffer, -1, narrow, sizeof narrow, nullptr, nullptr);
        items.emplace_back(narrow);
    }
    return items;
}

int comboSelection(App& app, int page) {
    return static_cast<int>(
        SendMessageA(control(app, page, kIds[static_cast<std::size_t>(page)].action), CB_GETCURSEL, 0, 0));
}

// What the user does when picking entry `item` from page p's list.
void choose(App& app, int page, int item) {
    const int id = kIds[static_cast<std::size_t>(page)].action;
    HWND combo = control(app, page, id);
    SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(item), 0);
    SendMessageA(pageWindow(app, page), WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
    app.settle();
}

// Keys reach the program through the input queue, later than settle() can tell: wait for what they do.
bool waitFor(const std::function<bool()>& condition, DWORD timeoutMs = 3000) {
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > timeoutMs) return false;
        Sleep(20);
    }
    return true;
}

bool showing(App& app, int tab) { return selectedTab(app) == tab && shownPage(app) == tab; }

// A click on a tab, as the tab control reports it.
void clickTab(App& app, int tab) {
    SendMessageA(tabControl(app), TCM_SETCURFOCUS, static_cast<WPARAM>(tab), 0);
    app.settle();
}

void expectShown(App& app, int tab, int line) {
    if (!waitFor([&] { return showing(app, tab); }))
        fail(__FILE__, line,
             "expected tab " + std::to_string(tab) + " selected and shown; selected " +
                 std::to_string(selectedTab(app)) + ", shown " + std::to_string(shownPage(app)));
}
#define EXPECT_SHOWN(app, tab) expectShown((app), (tab), __LINE__)

void expectStatus(App& app, const std::vector<std::string>& expected, int line) {
    if (waitFor([&] { return statusParts(app) == expected; })) return;
    const auto actual = statusParts(app);
    fail(__FILE__, line, "status bar reads [" + actual[0] + "|" + actual[1] + "|" + actual[2] + "], expected [" +
                             expected[0] + "|" + expected[1] + "|" + expected[2] + "]");
}
#define EXPECT_STATUS(app, ...) expectStatus((app), {__VA_ARGS__}, __LINE__)

// A key that must move to `tab`; one that must leave the shown page as it is gets time to act before the check.
void press(App& app, std::vector<WORD> keys, int tab, int line) {
    const bool moves = !showing(app, tab);
    app.pressKeys(keys);
    app.settle();
    if (!moves) Sleep(400);
    expectShown(app, tab, line);
}
#define PRESS(app, tab, ...) press((app), {__VA_ARGS__}, (tab), __LINE__)

// Opens the page's context menu with a right click and reads "Open argument folder" from it, then closes it.
MenuItemInfo folderItemOfPageMenu(App& app, int page) {
    PostMessageA(pageWindow(app, page), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(300, 170));
    MenuItemInfo item;
    HWND popup = nullptr;
    waitFor([&] { return (item = app.popupMenuItem(IDCMD_OPEN_ARGUMENT_FOLDER, &popup)).found; }, 2000);
    if (popup != nullptr) {
        PostMessageA(popup, WM_KEYDOWN, VK_ESCAPE, 0);
        waitFor([&] { return !app.popupMenuItem(IDCMD_OPEN_ARGUMENT_FOLDER).found; }, 2000);
    }
    return item;
}

App startWithPagesConfig() {
    resetWorkspace();
    deleteOptions();
    writeConfigFile(join(appDir(), "prog.vx"), pagesTables());
    App app = App::start();
    waitFor([&] { return pageWindow(app, 3) != nullptr; }, kWaitMs);
    app.settle();
    return app;
}

}  // namespace

E2E_TEST(TabsCaptionsAndKeyboardNavigationWithThreeLiveArguments) {
    App app = startWithPagesConfig();
    REQUIRE(pageWindow(app, 3) != nullptr);
    CHECK_EQ(SendMessageA(tabControl(app), TCM_GETITEMCOUNT, 0, 0), 4);
    CHECK_EQ(tabCaption(app, 0), "Argument 1");
    CHECK_EQ(tabCaption(app, 1), "Argument 2");
    CHECK_EQ(tabCaption(app, 2), "Argument 3");
    CHECK_EQ(tabCaption(app, 3), "About...      ");
    EXPECT_SHOWN(app, 0);
    EXPECT_STATUS(app, "Add", "1", "3");

    PRESS(app, 1, VK_CONTROL, VK_RIGHT);
    EXPECT_STATUS(app, "Add", "1", "2");
    PRESS(app, 2, VK_CONTROL, VK_RIGHT);
    PRESS(app, 0, VK_CONTROL, VK_RIGHT);
    PRESS(app, 2, VK_CONTROL, VK_LEFT);
    PRESS(app, 1, VK_CONTROL, VK_LEFT);

    PRESS(app, 2, VK_CONTROL, VK_TAB);
    PRESS(app, 3, VK_CONTROL, VK_TAB);
    EXPECT_STATUS(app, "Add", "0", "0");
    // On the About page only Ctrl+Tab moves.
    PRESS(app, 3, VK_CONTROL, VK_RIGHT);
    PRESS(app, 3, VK_CONTROL, VK_LEFT);
    PRESS(app, 0, VK_CONTROL, VK_TAB);
    EXPECT_STATUS(app, "Add", "1", "3");

    // A left click on the page's background is "next argument"; the middle button picks the next entry.
    PostMessageA(pageWindow(app, 0), WM_LBUTTONDOWN, 0, MAKELPARAM(300, 170));
    app.settle();
    EXPECT_SHOWN(app, 1);
    PostMessageA(pageWindow(app, 1), WM_MBUTTONDOWN, MK_MBUTTON, MAKELPARAM(300, 170));
    CHECK(waitFor([&] { return comboSelection(app, 1) == 1; }));
    EXPECT_STATUS(app, "Add", "2", "2");
    CHECK_EQ(tabCaption(app, 2), kBlank);  // "Best" leads nowhere
}

// Each page keeps "Select path" as its default button after it has been shown: the page's own messages never
// reach it as a dialog message (such as DM_SETDEFID, which takes the default away).
E2E_TEST(ShownPagesKeepTheirDefaultButton) {
    App app = startWithPagesConfig();
    REQUIRE(pageWindow(app, 3) != nullptr);
    const int selectIds[3] = {IDC_SELECT1, IDC_SELECT2, IDC_SELECT3};
    for (int tab : {1, 2, 3, 0}) {
        clickTab(app, tab);
        app.settle();
    }
    for (int page = 0; page < 3; ++page) {
        note("page " + std::to_string(page + 1));
        const LRESULT defaultId = SendMessageA(pageWindow(app, page), DM_GETDEFID, 0, 0);
        CHECK_EQ(HIWORD(defaultId), DC_HASDEFID);
        CHECK_EQ(static_cast<int>(LOWORD(defaultId)), selectIds[page]);
        const auto style = static_cast<DWORD>(GetWindowLongA(control(app, page, selectIds[page]), GWL_STYLE));
        CHECK_EQ(style & BS_TYPEMASK, static_cast<DWORD>(BS_DEFPUSHBUTTON));
    }
}

E2E_TEST(ChoosingEntriesChangesLabelsFieldsTabsAndStatus) {
    App app = startWithPagesConfig();
    REQUIRE(pageWindow(app, 0) != nullptr);
    const PageIds& one = kIds[0];
    CHECK(comboItems(app, 0) == (std::vector<std::string>{"Add", "Help", "Extract"}));
    CHECK_EQ(text(app, 0, one.actionLabel), "Command");
    CHECK_EQ(text(app, 0, one.pathLabel), "Archive file");
    CHECK_EQ(text(app, 0, one.manualLabel), "Switches");
    CHECK(enabled(app, 0, one.select));
    CHECK(enabled(app, 0, one.manual));
    CHECK(enabled(app, 0, one.action));
    CHECK(comboItems(app, 1) == (std::vector<std::string>{"Fast", "Best"}));
    CHECK(comboItems(app, 2) == (std::vector<std::string>{"Quiet", "Verbose"}));
    CHECK_EQ(text(app, 1, kIds[1].manualLabel), "Password");
    CHECK_EQ(manualTip(app, 0), "Extra switches");
    CHECK_EQ(manualTip(app, 1), "The archive's password");
    CHECK_EQ(manualTip(app, 2), "Manual arguments info");

    choose(app, 0, 1);  // "Help": no path, no manual arguments, leads nowhere
    CHECK_EQ(text(app, 0, one.pathLabel), "Path");
    CHECK_EQ(text(app, 0, one.manualLabel), "Manual arguments");
    CHECK_EQ(manualTip(app, 0), "Manual arguments info");
    CHECK(!enabled(app, 0, one.select));
    CHECK(!enabled(app, 0, one.manual));
    CHECK_EQ(tabCaption(app, 1), kBlank);
    CHECK_EQ(tabCaption(app, 2), kBlank);
    EXPECT_STATUS(app, "Help", "2", "3");
    PRESS(app, 0, VK_CONTROL, VK_RIGHT);
    PRESS(app, 0, VK_CONTROL, VK_LEFT);
    clickTab(app, 1);  // a blank tab: the selection returns, the page stays
    EXPECT_SHOWN(app, 0);
    PRESS(app, 3, VK_CONTROL, VK_TAB);
    PRESS(app, 0, VK_CONTROL, VK_TAB);

    choose(app, 0, 2);  // "Extract" -> "Target": one entry, a folder, leads nowhere
    CHECK_EQ(tabCaption(app, 1), "Argument 2");
    CHECK_EQ(tabCaption(app, 2), kBlank);
    CHECK(comboItems(app, 1) == std::vector<std::string>{"Folder"});
    CHECK_EQ(comboSelection(app, 1), 0);
    CHECK(!enabled(app, 1, kIds[1].action));
    CHECK_EQ(text(app, 1, kIds[1].actionLabel), "Target");
    CHECK_EQ(text(app, 1, kIds[1].pathLabel), "Output folder");
    CHECK(enabled(app, 1, kIds[1].select));
    CHECK(!enabled(app, 1, kIds[1].manual));
    PRESS(app, 1, VK_CONTROL, VK_RIGHT);
    EXPECT_STATUS(app, "Extract", "1", "1");
    clickTab(app, 2);
    EXPECT_SHOWN(app, 1);
    PRESS(app, 0, VK_CONTROL, VK_RIGHT);
    PRESS(app, 1, VK_CONTROL, VK_LEFT);
    PRESS(app, 3, VK_CONTROL, VK_TAB);
    clickTab(app, 0);
    EXPECT_SHOWN(app, 0);

    choose(app, 0, 0);  // back to "Add": page 2 refilled with "Level" at its first entry, argument 3 live
    CHECK_EQ(tabCaption(app, 2), "Argument 3");
    CHECK(comboItems(app, 1) == (std::vector<std::string>{"Fast", "Best"}));
    CHECK_EQ(comboSelection(app, 1), 0);
    CHECK(enabled(app, 1, kIds[1].manual));
    CHECK(!enabled(app, 1, kIds[1].select));
    CHECK_EQ(text(app, 1, kIds[1].pathLabel), "Path");
    clickTab(app, 2);
    EXPECT_SHOWN(app, 2);
    EXPECT_STATUS(app, "Add", "1", "2");
}

E2E_TEST(ManualFieldTakesAtMost259Characters) {
    App app = startWithPagesConfig();
    REQUIRE(pageWindow(app, 2) != nullptr);
    for (int page = 0; page < 3; ++page)
        CHECK_EQ(SendMessageA(control(app, page, kIds[static_cast<std::size_t>(page)].manual), EM_GETLIMITTEXT, 0, 0),
                 259);
    HWND field = control(app, 0, kIds[0].manual);
    for (int i = 0; i < 300; ++i) SendMessageA(field, WM_CHAR, 'a', 0);
    CHECK_EQ(windowText(field), std::string(259, 'a'));
}

E2E_TEST(AboutPageShowsTheDescriptionAndTitlesTheWindow) {
    App app = startWithPagesConfig();
    REQUIRE(pageWindow(app, 3) != nullptr);
    CHECK_EQ(app.title(), "Packer");
    HWND about = pageWindow(app, 3);
    CHECK_EQ(windowText(GetDlgItem(about, IDC_ABOUT_NAME)), "Packer");
    CHECK_EQ(windowText(GetDlgItem(about, IDC_ABOUT_VERSION)), "Packer 2.4");
    CHECK_EQ(windowText(GetDlgItem(about, IDC_ABOUT_APPAUTHOR)), "J. Doe");
    CHECK_EQ(windowText(GetDlgItem(about, IDC_ABOUT_CNFAUTHOR)), "A. Roe");
    CHECK_EQ(windowText(GetDlgItem(about, IDC_ABOUT_CONTACT)), "packer@example.org");
    // The front end's own version line is this build's, as its version resource states it.
    CHECK_EQ(windowText(GetDlgItem(about, IDC_ABOUT_OWN_VERSION)), std::string("Version ") + BRENNIC_VERSION);
    clickTab(app, 3);
    EXPECT_SHOWN(app, 3);
    EXPECT_STATUS(app, "Add", "0", "0");
}

E2E_TEST(WithoutADescriptionEveryTabCanBeReached) {
    resetWorkspace();
    deleteOptions();
    App app = App::start();
    const auto box = app.waitForBox();
    REQUIRE(box.has_value());
    REQUIRE(app.answer(*box, IDOK));
    REQUIRE(waitFor([&] { return pageWindow(app, 3) != nullptr; }, kWaitMs));
    CHECK_EQ(app.title(), "Brennic");
    HWND about = pageWindow(app, 3);
    CHECK_EQ(windowText(GetDlgItem(about, IDC_ABOUT_NAME)), "App name");
    CHECK_EQ(windowText(GetDlgItem(about, IDC_ABOUT_VERSION)), "App version, Cnf version");
    CHECK_EQ(windowText(GetDlgItem(about, IDC_ABOUT_APPAUTHOR)), "App author by");
    CHECK_EQ(windowText(GetDlgItem(about, IDC_ABOUT_CNFAUTHOR)), "Cnf author by");
    CHECK_EQ(windowText(GetDlgItem(about, IDC_ABOUT_CONTACT)), "Contact");
    for (int tab = 0; tab < 3; ++tab) {
        CHECK_EQ(tabCaption(app, tab), "Argument " + std::to_string(tab + 1));
        CHECK(!enabled(app, tab, kIds[static_cast<std::size_t>(tab)].action));
        CHECK(!enabled(app, tab, kIds[static_cast<std::size_t>(tab)].manual));
        CHECK(!enabled(app, tab, kIds[static_cast<std::size_t>(tab)].select));
        CHECK(comboItems(app, tab).empty());
    }
    const std::vector<std::string> inert{"Argument 1 Action/Key", "0", "0"};
    EXPECT_STATUS(app, inert[0], inert[1], inert[2]);

    PRESS(app, 1, VK_CONTROL, VK_RIGHT);
    PRESS(app, 2, VK_CONTROL, VK_RIGHT);
    PRESS(app, 0, VK_CONTROL, VK_RIGHT);
    PRESS(app, 2, VK_CONTROL, VK_LEFT);
    PRESS(app, 3, VK_CONTROL, VK_TAB);
    PRESS(app, 0, VK_CONTROL, VK_TAB);
    clickTab(app, 2);
    EXPECT_SHOWN(app, 2);
    clickTab(app, 3);
    EXPECT_SHOWN(app, 3);
    EXPECT_STATUS(app, inert[0], inert[1], inert[2]);

    // Inert pages: drops are released and change nothing; a right click opens no menu.
    for (int tab = 0; tab < 3; ++tab) {
        CHECK(app.dropReleased(pageWindow(app, tab), "C:\\x.txt") == std::optional<bool>(true));
        CHECK_EQ(text(app, tab, kIds[static_cast<std::size_t>(tab)].path), "");
    }
    PostMessageA(pageWindow(app, 0), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(300, 170));
    app.settle();
    Sleep(300);
    CHECK(!app.popupMenuItem(IDCMD_START).found);
}

// Every drop that reaches one of the program's windows is released, also one that is ignored.
E2E_TEST(EveryDropIsReleasedTakenOrNot) {
    App app = startWithPagesConfig();
    REQUIRE(pageWindow(app, 3) != nullptr);
    const PageIds& one = kIds[0];
    CHECK(app.dropReleased(pageWindow(app, 0), "C:\\in\\a.txt") == std::optional<bool>(true));
    CHECK_EQ(text(app, 0, one.path), "a.txt\\in\\C:");
    choose(app, 0, 1);  // "Help" takes no path: the drop is ignored
    CHECK(app.dropReleased(pageWindow(app, 0), "C:\\other.txt") == std::optional<bool>(true));
    CHECK_EQ(text(app, 0, one.path), "");
    choose(app, 0, 0);
    CHECK_EQ(text(app, 0, one.path), "a.txt\\in\\C:");
    CHECK(app.dropReleased(pageWindow(app, 3), "C:\\about.txt") == std::optional<bool>(true));
    CHECK(app.dropReleased(app.mainWindow(), "C:\\main.txt") == std::optional<bool>(true));
    CHECK(app.running());
}


E2E_TEST(OpenArgumentFolderIsOfferedOnlyWithAPathInUse) {
    App app = startWithPagesConfig();
    REQUIRE(pageWindow(app, 3) != nullptr);
    MenuItemInfo item = folderItemOfPageMenu(app, 0);
    REQUIRE(item.found);
    CHECK_EQ(item.text, "Open argument folder [Ctrl + F]");
    CHECK(item.grayed);  // the entry takes a path, but none is chosen

    CHECK(app.dropReleased(pageWindow(app, 0), "C:\\in\\a.txt") == std::optional<bool>(true));
    item = folderItemOfPageMenu(app, 0);
    REQUIRE(item.found);
    CHECK(!item.grayed);

    choose(app, 0, 1);  // "Help" takes no path; the remembered path does not count
    item = folderItemOfPageMenu(app, 0);
    REQUIRE(item.found);
    CHECK(item.grayed);
    CHECK(app.running());
}


// A restored page that is not in use is filled as a fresh start fills it, so that when an entry later leads to
// the list its slot happens to hold, the page shows that list at its first entry.
E2E_TEST(RestoredUnusedPageShowsTheListItIsLaterLedTo) {
    resetWorkspace();
    deleteOptions();
    ProgramDescription tables = pagesTables();
    tables.actions.push_back(action("Again", 1u, 0));  // leads back to "Command", list 0
    tables.lists[0].entries.push_back(static_cast<std::uint16_t>(tables.actions.size() - 1));
    writeConfigFile(join(appDir(), "prog.vx"), tables);
    // Argument 1 in use on "Help" (list 0, entry 1); arguments 2 and 3 not in use, so nothing is stored for them.
    const std::vector<std::uint8_t> saved{1, 0, 0, 0, 0, 0, 0, 1, 0, 0};
    REQUIRE(makeFolders(join(appDir(), "Packer")));
    REQUIRE(writeFile(join(join(appDir(), "Packer"), "tool.as"), saved));
    App app = App::start();
    REQUIRE(waitFor([&] { return pageWindow(app, 3) != nullptr; }, kWaitMs));
    app.settle();
    CHECK_EQ(comboSelection(app, 0), 1);
    EXPECT_STATUS(app, "Help", "2", "4");
    CHECK_EQ(tabCaption(app, 1), kBlank);
    CHECK_EQ(tabCaption(app, 2), kBlank);

    choose(app, 0, 3);  // "Again"
    CHECK_EQ(tabCaption(app, 1), "Argument 2");
    CHECK(comboItems(app, 1) == (std::vector<std::string>{"Add", "Help", "Extract", "Again"}));
    CHECK_EQ(comboSelection(app, 1), 0);
    CHECK_EQ(text(app, 1, kIds[1].pathLabel), "Archive file");
    CHECK(enabled(app, 1, kIds[1].manual));
    CHECK_EQ(tabCaption(app, 2), "Argument 3");  // "Add" on page 2 leads to "Level"
    CHECK(comboItems(app, 2) == (std::vector<std::string>{"Fast", "Best"}));
    PRESS(app, 1, VK_CONTROL, VK_RIGHT);
    EXPECT_STATUS(app, "Again", "1", "4");
}
