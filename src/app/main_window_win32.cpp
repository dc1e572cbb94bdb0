// The main window: dialog 112, the start-up sequence's window side and the command dispatcher's host.
#include "app/main_window_win32.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <memory>
#include <string>

#include "state/app_state.h"
#include "app/command_line_win32.h"
#include "app/commands.h"
#include "app/foreign_icon_win32.h"
#include "app/menu_win32.h"
#include "app/presets_commands.h"
#include "app/presets_win32.h"
#include "app/preview_line_win32.h"
#include "app/runs_win32.h"
#include "app/startup.h"
#include "launch/command_preview.h"
#include "launch/launch.h"
#include "pages/browse_folder_win32.h"
#include "pages/growing_layout_win32.h"
#include "pages/tab_host_win32.h"
#include "persist/file_store_win32.h"
#include "persist/ini_store.h"
#include "persist/registry_store_win32.h"
#include "persist/save_file.h"
#include "platform/accessible_names_win32.h"
#include "platform/dpi_win32.h"
#include "platform/platform_win32.h"
#include "platform/system_library_win32.h"
#include "platform/text_win32.h"
#include "resource_ids.h"

namespace brennic {

namespace {

// A file beside brennic.exe: where a tool folder keeps what belongs to it alone.
std::string besideProgram(const char* name) {
    const std::string path = ownFilePath().value_or(std::string());
    const auto slash = path.find_last_of("\\/");
    return (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) + name;
}

class MainWindow : public StartupWindow, public CommandHost, public PresetsWindow {
public:
    void attach(HWND window) {
        window_ = window;
        boxes_.setOwner(window);
        preview_.attach(window);
        runs_.attach(window, boxes_);
        runs_.setEvents(&presets_);  // the recent runs hear of every start and of each followed run's end
    }

    // Start-up (WM_INITDIALOG).
    void start() {
        runStartup(appState(), *this, StartupServices{boxes_, store_, win32FileStore(), codePage_}, readCommandLine());
        menu_.setChecked(IDCMD_FOLDER_OPTIONS, store_.usesFolder());
        takeSmallestLayout();
        restoreSize();
        presets_.sync();
    }

    // The window as the dialog lays it out is its smallest size; the command line band and the tab control
    // grow from there.
    void takeSmallestLayout() {
        dpi_ = windowDpi(window_);
        RECT frame{};
        GetWindowRect(window_, &frame);
        smallestWindow_ = {frame.right - frame.left, frame.bottom - frame.top};
        layout_.add(window_, GetDlgItem(window_, IDC_TABS), kGrowWidth | kGrowHeight);
        layout_.add(window_, GetDlgItem(window_, IDC_PREVIEW), kGrowWidth | kFollowBottom);
        layout_.add(window_, GetDlgItem(window_, IDC_PREVIEW_MARKER), kFollowRight | kFollowBottom);
        layout_.setSmallestSize(window_);
    }

    // A remembered size, at this monitor's DPI and within its work area, around the same centre.
    void restoreSize() {
        const AppOptions& options = appState().options;
        RECT frame{};
        GetWindowRect(window_, &frame);
        MONITORINFO monitor{};
        monitor.cbSize = sizeof monitor;
        GetMonitorInfoW(MonitorFromWindow(window_, MONITOR_DEFAULTTONEAREST), &monitor);
        const RECT& work = monitor.rcWork;
        const LayoutSize size =
            restoredSize(options.windowWidth, options.windowHeight, dpi_, smallestWindow_,
                         {work.right - work.left, work.bottom - work.top});
        if (size.width != smallestWindow_.width || size.height != smallestWindow_.height) {
            int left = (frame.left + frame.right - size.width) / 2;
            int top = (frame.top + frame.bottom - size.height) / 2;
            left = std::max<int>(work.left, std::min<int>(left, work.right - size.width));
            top = std::max<int>(work.top, std::min<int>(top, work.bottom - size.height));
            SetWindowPos(window_, nullptr, left, top, size.width, size.height, SWP_NOZORDER | SWP_NOACTIVATE);
        }
        sizeReady_ = true;
    }

    // WM_GETOBJECT: a screen reader is looking, so the controls whose text is their content get their names.
    // Done on the first request only, so that a start without one loads nothing for it.
    void nameForScreenReaders() {
        if (names_ != nullptr) return;
        names_ = std::make_unique<AccessibleNames>();
        if (!names_->available()) return;
        names_->setName(GetDlgItem(window_, IDC_TABS), L"Arguments");
        names_->setName(GetDlgItem(window_, IDC_PREVIEW), L"Command line");
        preview_.nameMarker(names_.get());
        HWND status = GetDlgItem(window_, IDC_STATUS);
        names_->setName(status, L"Status");
        names_->setDescription(status, L"Action of argument 1", 1);
        names_->setDescription(status, L"Position of the selected entry", 2);
        names_->setDescription(status, L"Entries in the list", 3);
    }

    // WM_SIZE
    void sized(WPARAM kind, int width, int height) {
        if (layout_.empty() || kind == SIZE_MINIMIZED) return;
        layout_.apply(window_, width, height);
        layoutPages();
        preview_.windowSized();
        if (sizeReady_ && kind == SIZE_RESTORED) {
            // Remembered at 96 dots per inch, so that another monitor's scale gives the same window.
            RECT frame{};
            GetWindowRect(window_, &frame);
            const LayoutSize remembered = rememberedSize({frame.right - frame.left, frame.bottom - frame.top}, dpi_);
            appState().options.windowWidth = static_cast<std::uint32_t>(remembered.width);
            appState().options.windowHeight = static_cast<std::uint32_t>(remembered.height);
        }
    }

    // WM_GETMINMAXINFO: never smaller than the dialog's own size (at the window's DPI now).
    void limits(MINMAXINFO& info) const {
        if (smallestWindow_.width == 0) return;
        info.ptMinTrackSize.x = smallestWindow_.width;
        info.ptMinTrackSize.y = smallestWindow_.height;
    }

    // WM_DPICHANGED: the suggested rectangle, and everything Brennic sized itself made again for the new DPI.
    void dpiChanged(int dpi, const RECT& suggested) {
        if (dpi <= 0) return;
        if (dpi_ > 0 && dpi != dpi_) {
            smallestWindow_ = {MulDiv(smallestWindow_.width, dpi, dpi_), MulDiv(smallestWindow_.height, dpi, dpi_)};
        }
        dpi_ = dpi;
        setIconsForDpi(dpi);
        pagesDpiChanged(dpi);
        SetWindowPos(window_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                     suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
        // The dialog manager scales the dialogs' own fonts and layouts after this; the growth is laid out again
        // once it is done.
        PostMessageW(window_, WM_BRENNIC_RELAYOUT, 0, 0);
    }

    // WM_BRENNIC_RELAYOUT
    void relayout() {
        RECT client{};
        GetClientRect(window_, &client);
        if (IsIconic(window_) || layout_.empty()) return;
        layout_.apply(window_, client.right, client.bottom);
        layoutPages();
        preview_.windowSized();
    }

    void command(WPARAM wParam) {
        if (LOWORD(wParam) == IDCMD_FOLDER_OPTIONS) {
            try {
                menu_.setChecked(IDCMD_FOLDER_OPTIONS, switchOptionsPlace(folderOptions_, boxes_, appState().options));
            } catch (...) {
                boxes_.show("Unknow error", "Error...", kMbOk | kMbIconError);
            }
            return;
        }
        CommandContext context{appState(), menu_, boxes_, shell_, store_, *this, &presets_};
        dispatchCommand(context, LOWORD(wParam), static_cast<std::uint32_t>(wParam));
        // A new programs folder brings another save file, and with it other presets and runs.
        if (IsWindow(window_)) presets_.sync();
    }

    // WM_BRENNIC_COMMAND_CHANGED: the changes posted together are shown together.
    void showPreview() {
        MSG later{};
        while (PeekMessageW(&later, window_, WM_BRENNIC_COMMAND_CHANGED, WM_BRENNIC_COMMAND_CHANGED, PM_REMOVE)) {
        }
        preview_.show(commandPreview(appState()));
    }
    PreviewLine& preview() { return preview_; }
    Runs& runs() { return runs_; }

    // StartupWindow
    // What DragAcceptFiles does, without loading the shell for it.
    void acceptDrops() override {
        SetWindowLongPtrW(window_, GWL_EXSTYLE, GetWindowLongPtrW(window_, GWL_EXSTYLE) | WS_EX_ACCEPTFILES);
    }
    // Each icon from the image drawn for its size: the title bar's small one is not the big one scaled down.
    void setOwnIcon() override { setIconsForDpi(windowDpi(window_)); }
    void attachMenu() override {
        HMENU bar = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDM_MAIN));
        bar_ = bar;
        menu_.setMenu(bar);
        SetMenu(window_, bar);
    }
    MenuView& menu() override { return menu_; }
    void setForeignIcon(const std::string& exePath) override {
        foreignIcon_ = brennic::setForeignIcon(window_, exePath) == 0;
    }
    void useOptionsPopup() override { menu_.setMenu(GetSubMenu(menu_.handle(), 0)); }
    void createPages() override { brennic::createPages(window_); }

    // CommandHost
    void exitProgram() override {
        // Nothing Brennic follows is left running unseen or cut off without asking.
        if (!runs_.confirmExit()) return;
        DestroyWindow(window_);
        PostQuitMessage(0);
    }
    void startProgram() override { brennic::startProgram(appState(), boxes_, runs_, secondsSince1970()); }
    void startRun(const StartedRun& run) override {
        StartedRun again = run;
        again.startedAt = secondsSince1970();
        launchRun(again, runs_, boxes_);
    }
    bool writeSaveFile() override {
        AppState& state = appState();
        return brennic::writeSaveFile(state.slots, state.pageControls, state.saveFilePath, win32FileStore(), boxes_,
                                      codePage_);
    }
    bool browseFolder(std::string& folder, const std::string& title) override {
        return brennic::browseFolder(window_, folder, title);
    }
    void forwardToPage(std::uint32_t wParam) override {
        HWND tabs = GetDlgItem(window_, IDC_TABS);
        const LRESULT selected = SendMessageW(tabs, TCM_GETCURSEL, 0, 0);
        const LRESULT count = SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0);
        if (selected < 0 || selected >= count) return;
        HWND page = brennic::pageWindow(static_cast<int>(selected));
        if (page != nullptr) SendMessageW(page, WM_COMMAND, wParam, 0);
    }
    void commandChanged() override { PostMessageW(window_, WM_BRENNIC_COMMAND_CHANGED, 0, 0); }

    // PresetsWindow
    std::optional<std::string> askPresetName(const std::string& initial) override {
        return askPresetNameDialog(window_, initial);
    }
    std::optional<std::string> choosePreset(const std::vector<std::string>& names) override {
        return choosePresetDialog(window_, names);
    }
    void showRestoredPages() override {
        brennic::showRestoredPages();
        commandChanged();
    }
    void setPresetItems(const std::vector<PresetsMenuItem>& items) override {
        if (bar_ == nullptr) return;
        setPresetMenuItems(bar_, items);
        const UINT state = appState().descriptionReady ? MF_ENABLED : MF_GRAYED;
        EnableMenuItem(bar_, IDCMD_SAVE_PRESET, MF_BYCOMMAND | state);
        EnableMenuItem(bar_, IDCMD_DELETE_PRESET, MF_BYCOMMAND | state);
    }
    void setRecentRunItems(const std::vector<PresetsMenuItem>& items) override {
        if (bar_ != nullptr) setRecentRunMenuItems(bar_, items);
    }
    std::string localTimeText(std::int64_t secondsSince1970) override {
        return brennic::localTimeText(secondsSince1970);
    }
    std::int64_t now() override { return secondsSince1970(); }

private:
    // Brennic's own icons, or the described program's once it has shown them, drawn for this DPI's sizes.
    void setIconsForDpi(int dpi) {
        setIcon(ICON_BIG, systemMetricForDpi(SM_CXICON, dpi), systemMetricForDpi(SM_CYICON, dpi));
        setIcon(ICON_SMALL, systemMetricForDpi(SM_CXSMICON, dpi), systemMetricForDpi(SM_CYSMICON, dpi));
    }
    void setIcon(WPARAM which, int width, int height) {
        HICON icon = foreignIcon_ ? loadProgramIcon(appState().appExePath, width, height) : nullptr;
        if (icon == nullptr) icon = loadOwnIcon(width, height);
        replaceWindowIcon(window_, which, icon);
    }

    HWND window_ = nullptr;
    HMENU bar_ = nullptr;
    Win32Menu menu_;
    Win32MessageBoxes boxes_;
    Win32Shell shell_;
    RegistrySettingsStore registry_;
    IniSettingsStore folderOptions_{win32FileStore(), besideProgram(kOptionsFileName)};
    FolderOrSharedStore store_{folderOptions_, registry_};
    AnsiCodePage codePage_;
    PreviewLine preview_;
    PresetCommands presets_{appState(), boxes_, win32FileStore(), *this, *this};
    GrowingLayout layout_;
    std::unique_ptr<AccessibleNames> names_;
    LayoutSize smallestWindow_;
    int dpi_ = kDefaultDpi;
    bool sizeReady_ = false;
    bool foreignIcon_ = false;
    Runs runs_;
};

MainWindow& mainWindow() {
    static MainWindow window;
    return window;
}

INT_PTR CALLBACK mainDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        switch (message) {
            case WM_INITDIALOG:
                mainWindow().attach(window);
                mainWindow().start();
                return TRUE;
            case WM_COMMAND:
                mainWindow().command(wParam);
                return FALSE;
            case WM_NOTIFY:
                onTabNotify(window, reinterpret_cast<const NMHDR*>(lParam));
                return TRUE;
            case WM_GETOBJECT:
                mainWindow().nameForScreenReaders();
                return FALSE;
            case WM_SIZE:
                mainWindow().sized(wParam, LOWORD(lParam), HIWORD(lParam));
                return FALSE;
            case WM_GETMINMAXINFO:
                mainWindow().limits(*reinterpret_cast<MINMAXINFO*>(lParam));
                return TRUE;
            case WM_DPICHANGED:
                mainWindow().dpiChanged(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
                return FALSE;  // the dialog manager's own scaling of the dialog goes on
            case WM_BRENNIC_RELAYOUT:
                mainWindow().relayout();
                return TRUE;
            case WM_BRENNIC_COMMAND_CHANGED:
                mainWindow().showPreview();
                return TRUE;
            case WM_CTLCOLORSTATIC:
                return reinterpret_cast<INT_PTR>(mainWindow().preview().markerColours(
                    reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)));
            case WM_SETCURSOR:
                mainWindow().preview().pointerOver(reinterpret_cast<HWND>(wParam));
                return FALSE;
            case WM_TIMER:
                if (wParam == IDT_TRACKED_RUNS) mainWindow().runs().tick();
                return TRUE;
            case WM_BRENNIC_RUN_CLOSED:
                mainWindow().runs().windowClosed(reinterpret_cast<RunWindow*>(lParam));
                return TRUE;
            case WM_DROPFILES:
                // The main window takes no drops, but every drop handle must be released.
                dragFinish(reinterpret_cast<HDROP>(wParam));
                return TRUE;
            default:
                return FALSE;
        }
    } catch (...) {
        // Nothing may cross the window procedure; the commands and start-up report their own failures.
        return FALSE;
    }
}

}  // namespace

HWND createMainWindow(HINSTANCE instance) {
    return CreateDialogParamW(instance, MAKEINTRESOURCEW(IDD_MAIN), nullptr, mainDialogProc, 0);
}

}  // namespace brennic
