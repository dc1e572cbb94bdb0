// The About page as a child dialog: the described program's texts above, the front end's own lines below.
#include "pages/about_page_win32.h"

#include <shellapi.h>

#include "state/app_state.h"
#include "pages/about_page.h"
#include "pages/tab_host_win32.h"
#include "platform/system_library_win32.h"
#include "platform/text_win32.h"
#include "resource_ids.h"

namespace brennic {

namespace {

class Win32AboutView final : public AboutView {
public:
    explicit Win32AboutView(HWND page) : page_(page) {}
    void setWindowTitle(const std::string& title) override { setWindowText(mainWindowOfPages(), title); }
    void setText(DescriptionText which, const std::string& text) override {
        setDlgItemText(page_, controlOf(which), text);
    }

private:
    static int controlOf(DescriptionText which) {
        switch (which) {
            case kProgramFolderName: return IDC_ABOUT_NAME;
            case kVersionText: return IDC_ABOUT_VERSION;
            case kAppAuthor: return IDC_ABOUT_APPAUTHOR;
            case kCnfAuthor: return IDC_ABOUT_CNFAUTHOR;
            case kContactText: return IDC_ABOUT_CONTACT;
            default: return 0;
        }
    }
    HWND page_;
};

// The version the executable's own version resource states, so the page always shows this build's.
void showOwnVersion(HWND page) {
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(VS_VERSION_INFO), MAKEINTRESOURCEW(16));  // RT_VERSION
    HGLOBAL loaded = found != nullptr ? LoadResource(module, found) : nullptr;
    const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (bytes == nullptr) return;  // the placeholder "Version" stays
    const auto line = versionLineFromResource(
        std::string_view(static_cast<const char*>(bytes), SizeofResource(module, found)));
    if (line) setDlgItemText(page, IDC_ABOUT_OWN_VERSION, *line);
}

}  // namespace

INT_PTR CALLBACK aboutPageProc(HWND page, UINT message, WPARAM wParam, LPARAM) {
    try {
        switch (message) {
            case WM_INITDIALOG: {
                Win32AboutView view(page);
                fillAboutPage(appState(), view);
                showOwnVersion(page);
                return FALSE;
            }
            case WM_COMMAND:
                // Only Ctrl+Tab leaves the About page; next and previous argument do nothing here.
                if (LOWORD(wParam) == IDCMD_CYCLE_TABS) cycleTabs();
                return FALSE;
            case WM_CTLCOLORDLG: return reinterpret_cast<INT_PTR>(pageBrush());
            case WM_CTLCOLORSTATIC:
                SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
                return reinterpret_cast<INT_PTR>(pageBrush());
            case WM_BRENNIC_REFRESH_STATUS: refreshAboutStatus(appState(), pageHost()); return FALSE;
            case WM_DROPFILES:
                // The About page takes no drops; a drop handle that reaches it is still released.
                dragFinish(reinterpret_cast<HDROP>(wParam));
                return FALSE;
            default: return FALSE;
        }
    } catch (...) {
        return FALSE;
    }
}

}  // namespace brennic
