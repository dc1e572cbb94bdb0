// The main window: dialog 112, the start-up sequence's window side and the command dispatcher's host.
#include "app/main_window_win32.h"

#include <commctrl.h>
#include <shellapi.h>

#include <ctime>
#include <string>

#include "state/app_state.h"
#include "app/command_line_win32.h"
#include "app/commands.h"
#include "app/foreign_icon_win32.h"
#include "app/menu_win32.h"
#include "app/preview_line_win32.h"
#include "app/runs_win32.h"
#include "app/startup.h"
#include "launch/command_preview.h"
#include "launch/launch.h"
#include "pages/browse_folder_win32.h"
#include "pages/tab_host_win32.h"
#include "persist/file_store_win32.h"
#include "persist/registry_store_win32.h"
#include "persist/save_file.h"
#include "platform/platform_win32.h"
#include "platform/system_library_win32.h"
#include "platform/text_win32.h"
#include "resource_ids.h"

namespace brennic {

namespace {

class MainWindow : public StartupWindow, public CommandHost {
public:
    void attach(HWND window) {
        window_ = window;
        boxes_.setOwner(window);
        preview_.attach(window);
        runs_.attach(window, boxes_);
    }

    // Start-up (WM_INITDIALOG).
    void start() {
        runStartup(appState(), *this, StartupServices{boxes_, store_, win32FileStore(), codePage_}, readCommandLine());
    }

    void command(WPARAM wParam) {
        CommandContext context{appState(), menu_, boxes_, shell_, store_, *this};
        dispatchCommand(context, LOWORD(wParam), static_cast<std::uint32_t>(wParam));
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
    void setOwnIcon() override {
        setIcon(ICON_BIG, SM_CXICON, SM_CYICON);
        setIcon(ICON_SMALL, SM_CXSMICON, SM_CYSMICON);
    }
    void attachMenu() override {
        HMENU bar = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDM_MAIN));
        menu_.setMenu(bar);
        SetMenu(window_, bar);
    }
    MenuView& menu() override { return menu_; }
    void setForeignIcon(const std::string& exePath) override { brennic::setForeignIcon(window_, exePath); }
    void useOptionsPopup() override { menu_.setMenu(GetSubMenu(menu_.handle(), 0)); }
    void createPages() override { brennic::createPages(window_); }

    // CommandHost
    void exitProgram() override {
        // Nothing Brennic follows is left running unseen or cut off without asking.
        if (!runs_.confirmExit()) return;
        DestroyWindow(window_);
        PostQuitMessage(0);
    }
    void startProgram() override {
        brennic::startProgram(appState(), boxes_, runs_, static_cast<std::int64_t>(std::time(nullptr)));
    }
    void startRun(const StartedRun& run) override {
        StartedRun again = run;
        again.startedAt = static_cast<std::int64_t>(std::time(nullptr));
        launchRun(again, runs_, boxes_);
    }
    void writeSaveFile() override {
        AppState& state = appState();
        brennic::writeSaveFile(state.slots, state.pageControls, state.saveFilePath, win32FileStore(), boxes_, codePage_);
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

private:
    void setIcon(WPARAM which, int widthMetric, int heightMetric) {
        HANDLE icon = LoadImageW(GetModuleHandleW(nullptr), L"ICON", IMAGE_ICON, GetSystemMetrics(widthMetric),
                                 GetSystemMetrics(heightMetric), LR_DEFAULTCOLOR);
        if (icon != nullptr) SendMessageW(window_, WM_SETICON, which, reinterpret_cast<LPARAM>(icon));
    }

    HWND window_ = nullptr;
    Win32Menu menu_;
    Win32MessageBoxes boxes_;
    Win32Shell shell_;
    RegistrySettingsStore store_;
    AnsiCodePage codePage_;
    PreviewLine preview_;
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
