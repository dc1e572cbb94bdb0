// An argument page as a child dialog: its controls behind the PageView interface, its messages and commands.
#include "pages/argument_page_win32.h"

#include <commctrl.h>
#include <shellapi.h>

#include <array>
#include <string>
#include <vector>

#include "state/app_state.h"
#include "launch/clipboard_win32.h"
#include "launch/launch.h"
#include "launch/quoting.h"
#include "pages/argument_pages.h"
#include "pages/path_selection_win32.h"
#include "pages/tab_host_win32.h"
#include "platform/platform_win32.h"
#include "platform/system_library_win32.h"
#include "platform/text_win32.h"
#include "resource_ids.h"

namespace brennic {

namespace {

struct ControlIds {
    int selectButton, pathEdit, actionCombo, manualEdit, pathLabel, actionLabel, manualLabel;
};

constexpr std::array<ControlIds, kArgumentCount> kControlIds{{
    {IDC_SELECT1, IDC_PATH1, IDC_ACTION1, IDC_MANUAL1, IDC_PATHLABEL1, IDC_ACTIONLABEL1, IDC_MANUALLABEL1},
    {IDC_SELECT2, IDC_PATH2, IDC_ACTION2, IDC_MANUAL2, IDC_PATHLABEL2, IDC_ACTIONLABEL2, IDC_MANUALLABEL2},
    {IDC_SELECT3, IDC_PATH3, IDC_ACTION3, IDC_MANUAL3, IDC_PATHLABEL3, IDC_ACTIONLABEL3, IDC_MANUALLABEL3},
}};

const wchar_t* const kManualTip = L"Manual arguments info";

class Win32PageView final : public PageView {
public:
    void attach(HWND page, const ControlIds& ids) {
        page_ = page;
        ids_ = ids;
        actionCombo_ = GetDlgItem(page, ids.actionCombo);
        pathEdit_ = GetDlgItem(page, ids.pathEdit);
        manualEdit_ = GetDlgItem(page, ids.manualEdit);
        actionLabel_ = GetDlgItem(page, ids.actionLabel);
        pathLabel_ = GetDlgItem(page, ids.pathLabel);
        manualLabel_ = GetDlgItem(page, ids.manualLabel);
        selectButton_ = GetDlgItem(page, ids.selectButton);
        // What the field shows is what Start and the save file read: at most 259 characters (UTF-16 units).
        SendMessageW(manualEdit_, EM_LIMITTEXT, kMaxText, 0);
    }

    // One tool-tip control per page: the page itself (no text) and the manual-arguments label.
    HWND createToolTip() {
        toolTip_ = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, page_, nullptr,
                                   GetModuleHandleW(nullptr), nullptr);
        if (toolTip_ == nullptr) return nullptr;
        SetWindowPos(toolTip_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        SendMessageW(toolTip_, TTM_SETMAXTIPWIDTH, 0, 1000);
        addTool(page_, L"");
        addTool(manualLabel_, kManualTip);
        return toolTip_;
    }

    HWND page() const { return page_; }
    const ControlIds& ids() const { return ids_; }
    bool selectButtonEnabled() const { return IsWindowEnabled(selectButton_) != FALSE; }

    std::string manualText() const override { return windowText(manualEdit_); }
    void setActionLabel(const std::string& text) override { setWindowText(actionLabel_, text); }
    void setPathLabel(const std::string& text) override { setWindowText(pathLabel_, text); }
    void setManualLabel(const std::string& text) override { setWindowText(manualLabel_, text); }
    void setManualTip(const std::string& text) override {
        if (toolTip_ == nullptr) return;
        std::wstring tip = widen(text);
        TOOLINFOW tool = toolInfo(manualLabel_);
        tool.lpszText = tip.data();
        SendMessageW(toolTip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
    }
    void setActionItems(const std::vector<std::string>& captions) override {
        SendMessageW(actionCombo_, CB_RESETCONTENT, 0, 0);
        for (const std::string& caption : captions)
            SendMessageW(actionCombo_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(widen(caption).c_str()));
    }
    void selectActionItem(int index) override {
        SendMessageW(actionCombo_, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    }
    int actionSelection() const override { return static_cast<int>(SendMessageW(actionCombo_, CB_GETCURSEL, 0, 0)); }
    int actionCount() const override { return static_cast<int>(SendMessageW(actionCombo_, CB_GETCOUNT, 0, 0)); }
    bool actionListEnabled() const override { return IsWindowEnabled(actionCombo_) != FALSE; }
    void enableActionList(bool enable) override { EnableWindow(actionCombo_, enable ? TRUE : FALSE); }
    void enableSelectButton(bool enable) override { EnableWindow(selectButton_, enable ? TRUE : FALSE); }
    void enableManualField(bool enable) override { EnableWindow(manualEdit_, enable ? TRUE : FALSE); }
    void setPathText(const std::string& text) override { setWindowText(pathEdit_, text); }
    void setManualText(const std::string& text) override { setWindowText(manualEdit_, text); }
    void repaint() override { InvalidateRect(page_, nullptr, TRUE); }

private:
    TOOLINFOW toolInfo(HWND tool) const {
        TOOLINFOW info{};
        info.cbSize = sizeof info;
        info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        info.hwnd = page_;
        info.uId = reinterpret_cast<UINT_PTR>(tool);
        return info;
    }
    void addTool(HWND tool, const wchar_t* text) {
        std::wstring tip = text;
        TOOLINFOW info = toolInfo(tool);
        info.lpszText = tip.data();
        SendMessageW(toolTip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
    }

    HWND page_ = nullptr;
    ControlIds ids_{};
    HWND actionCombo_ = nullptr, pathEdit_ = nullptr, manualEdit_ = nullptr;
    HWND actionLabel_ = nullptr, pathLabel_ = nullptr, manualLabel_ = nullptr, selectButton_ = nullptr;
    HWND toolTip_ = nullptr;
};

std::array<Win32PageView, kArgumentCount> views;

bool isFieldControl(HWND control) {
    wchar_t name[16]{};
    if (control == nullptr || GetClassNameW(control, name, 16) == 0) return false;
    return lstrcmpiW(name, L"Edit") == 0 || lstrcmpiW(name, L"ComboBox") == 0;
}

int pageIndexOf(HWND page) {
    for (int index = 0; index < kArgumentCount; ++index)
        if (views[static_cast<std::size_t>(index)].page() == page) return index;
    return -1;
}

void initialise(HWND page, int index) {
    Win32PageView& view = views[static_cast<std::size_t>(index)];
    AppState& state = appState();
    view.attach(page, kControlIds[static_cast<std::size_t>(index)]);
    argumentPages().attach(index, view);
    const auto toolTip = reinterpret_cast<WindowHandle>(view.createToolTip());
    state.slots[static_cast<std::size_t>(index)].toolTip = toolTip;
    state.scratchSlot.toolTip = toolTip;
    if (index == 0) createStatusBar();
    argumentPages().initialisePage(index);
}

void openArgumentFolder(int index) {
    const std::string folder = argumentPages().folderToOpen(index);
    if (folder.empty()) return;
    // explorer takes the quoted folder literally, so a name with commas or spaces opens where it should.
    const std::wstring parameters = widen(quoteText(folder));
    shellExecute(views[static_cast<std::size_t>(index)].page(), nullptr, systemProgramPath(L"explorer").c_str(),
                 parameters.c_str(), nullptr, SW_SHOWNORMAL);
}

void showPageMenu(int index) {
    if (!appState().descriptionReady) return;
    HWND page = views[static_cast<std::size_t>(index)].page();
    POINT cursor{};
    GetCursorPos(&cursor);
    HMENU menu = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDM_PAGE));
    if (menu == nullptr) return;
    HMENU popup = GetSubMenu(menu, 0);
    const UINT state = argumentPages().folderCommandEnabled(index) ? MF_ENABLED : MF_GRAYED;
    EnableMenuItem(popup, IDCMD_OPEN_ARGUMENT_FOLDER, MF_BYCOMMAND | state);
    TrackPopupMenu(popup, TPM_LEFTBUTTON, cursor.x, cursor.y, 0, page, nullptr);
    DestroyMenu(menu);
}

void command(int index, WPARAM wParam) {
    const int id = LOWORD(wParam);
    const int code = HIWORD(wParam);
    switch (id) {
        case IDCMD_NEXT_ARGUMENT: nextArgument(); return;
        case IDCMD_PREVIOUS_ARGUMENT: previousArgument(); return;
        case IDCMD_CYCLE_TABS: cycleTabs(); return;
        default: break;
    }
    AppState& state = appState();
    if (!state.descriptionReady) return;
    Win32PageView& view = views[static_cast<std::size_t>(index)];
    ArgumentPages& pages = argumentPages();
    ArgumentSlot& slot = state.slots[static_cast<std::size_t>(index)];

    if (id == view.ids().selectButton || id == IDCMD_SELECT_PATH) {
        if (view.selectButtonEnabled() && selectPath(view.page(), slot, view.ids().pathEdit, state.description))
            pages.inputChanged(index);
        return;
    }
    if (id == view.ids().actionCombo) {
        if (code == CBN_SELCHANGE) pages.selectionChanged(index, view.actionSelection());
        return;
    }
    if (id == view.ids().manualEdit) {
        if (code == EN_CHANGE) pages.inputChanged(index);
        return;
    }
    switch (id) {
        // The main window starts it: it keeps the runs it starts.
        case IDCMD_START:
            if (state.descriptionReady) SendMessageW(mainWindowOfPages(), WM_COMMAND, MAKEWPARAM(IDCMD_START, 0), 0);
            break;
        case IDCMD_COPY_COMMAND_LINE: copyCommandLine(state, view.page()); break;
        case IDCMD_CLEAR_PATH: pages.clearPath(index); break;
        case IDCMD_CLEAR_ARGUMENTS: pages.clearArguments(index); break;
        case IDCMD_OPEN_ARGUMENT_FOLDER: openArgumentFolder(index); break;
        case IDCMD_NEXT_ITEM: pages.selectNextItem(index); break;
        case IDCMD_PREVIOUS_ITEM: pages.selectPreviousItem(index); break;
        default: break;
    }
}

void dropFiles(int index, HDROP drop) {
    if (index >= 0 && argumentPages().acceptsDrop(index)) {
        // Takes the first name and releases the drop itself.
        if (acceptDroppedFile(views[static_cast<std::size_t>(index)].page(),
                              appState().slots[static_cast<std::size_t>(index)],
                              kControlIds[static_cast<std::size_t>(index)].pathEdit, drop))
            argumentPages().inputChanged(index);
    } else {
        dragFinish(drop);
    }
}

}  // namespace

INT_PTR CALLBACK argumentPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        if (message == WM_INITDIALOG) {
            if (lParam >= 0 && lParam < kArgumentCount) initialise(page, static_cast<int>(lParam));
            return FALSE;
        }
        const int index = pageIndexOf(page);
        switch (message) {
            case WM_DROPFILES:
                // Every drop is released, also one the page does not take.
                dropFiles(index, reinterpret_cast<HDROP>(wParam));
                return FALSE;
            case WM_CTLCOLORDLG: return reinterpret_cast<INT_PTR>(pageBrush());
            case WM_CTLCOLORSTATIC:
                // Read-only and disabled fields ask here too: they keep the colours Windows gives them, so
                // that they look like what they are.
                if (isFieldControl(reinterpret_cast<HWND>(lParam))) return FALSE;
                SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
                return reinterpret_cast<INT_PTR>(pageBrush());
            default: break;
        }
        if (index < 0) return FALSE;
        switch (message) {
            case WM_COMMAND: command(index, wParam); break;
            case WM_LBUTTONDOWN: nextArgument(); break;
            case WM_RBUTTONDOWN: showPageMenu(index); break;
            case WM_MBUTTONDOWN: argumentPages().selectNextItem(index); break;
            case WM_BRENNIC_REFRESH_STATUS: argumentPages().refreshStatus(index); break;
            default: break;
        }
    } catch (...) {
        // Nothing may cross the dialog procedure (a command that ran out of memory, for one).
        MessageBoxW(mainWindowOfPages(), L"Unknow error", L"Error...", MB_ICONERROR);
    }
    return FALSE;
}

}  // namespace brennic
