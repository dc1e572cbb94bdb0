// Brennic's windows without Brennic's work: the same resources, libraries, manifest, entry and message loop,
// and the same window structure (main dialog with menu, icon, tab control and the command line with its marker;
// three argument pages with a tool tip each, the status bar, the About page), with none of the reading, checking
// or filling behind them. Its start-up beside brennic.exe's shows what Brennic's own start-up work costs; beside
// the bare dialog's, what the windows themselves cost.
#include <windows.h>
#include <commctrl.h>

#include <array>

#include "app/dialog_program_win32.h"
#include "resource_ids.h"

namespace {

constexpr std::array<int, 4> kPageDialogs{IDD_PAGE1, IDD_PAGE2, IDD_PAGE3, IDD_ABOUT};
constexpr std::array<const wchar_t*, 4> kCaptions{L"Argument 1", L"Argument 2", L"Argument 3", L"About..."};

INT_PTR CALLBACK pageProc(HWND page, UINT message, WPARAM, LPARAM parameter) {
    if (message != WM_INITDIALOG) return FALSE;
    if (parameter < 3) {
        HWND tip = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, page, nullptr,
                                   GetModuleHandleW(nullptr), nullptr);
        if (tip != nullptr) SetWindowPos(tip, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    if (parameter == 0) {
        HWND main = GetAncestor(page, GA_ROOT);
        CreateStatusWindowW(WS_CHILD | WS_VISIBLE, L"", main, IDC_STATUS);
    }
    return TRUE;
}

void createPages(HWND main) {
    HWND tabs = GetDlgItem(main, IDC_TABS);
    for (int tab = static_cast<int>(kCaptions.size()) - 1; tab >= 0; --tab) {
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<wchar_t*>(kCaptions[static_cast<std::size_t>(tab)]);
        SendMessageW(tabs, TCM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    }
    RECT area{};
    GetClientRect(tabs, &area);
    SendMessageW(tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
    HWND first = nullptr;
    for (std::size_t i = 0; i < kPageDialogs.size(); ++i) {
        HWND page = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kPageDialogs[i]), tabs, pageProc,
                                       static_cast<LPARAM>(i));
        if (page == nullptr) continue;
        SetWindowPos(page, nullptr, area.left, area.top, area.right - area.left, area.bottom - area.top,
                     SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOZORDER);
        if (first == nullptr) first = page;
    }
    if (first != nullptr) {
        SetWindowPos(first, nullptr, 0, 0, 0, 0, SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOZORDER);
        SetFocus(first);
    }
}

INT_PTR CALLBACK mainProc(HWND window, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG: {
        HINSTANCE instance = GetModuleHandleW(nullptr);
        HICON big = LoadIconW(instance, MAKEINTRESOURCEW(IDI_BRENNIC));
        SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
        HANDLE small = LoadImageW(instance, MAKEINTRESOURCEW(IDI_BRENNIC), IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                  GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR);
        SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
        SetMenu(window, LoadMenuW(instance, MAKEINTRESOURCEW(IDM_MAIN)));
        createPages(window);
        return TRUE;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDCANCEL) DestroyWindow(window);
        return FALSE;
    case WM_DESTROY:
        PostQuitMessage(0);
        return FALSE;
    default:
        return FALSE;
    }
}

HWND createMainWindow(HINSTANCE instance) {
    return CreateDialogParamW(instance, MAKEINTRESOURCEW(IDD_MAIN), nullptr, mainProc, 0);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    return brennic::runDialogProgram(instance, createMainWindow);
}
