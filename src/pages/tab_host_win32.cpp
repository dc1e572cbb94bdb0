// The tab host on the main window's tab control: tab captions, the status bar, the page windows.
#include "pages/tab_host_win32.h"

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "state/app_state.h"
#include "pages/about_page_win32.h"
#include "pages/argument_page_win32.h"
#include "pages/argument_pages.h"
#include "pages/growing_layout_win32.h"
#include "pages/page_colour.h"
#include "pages/tab_navigation.h"
#include "platform/dpi_win32.h"
#include "platform/text_win32.h"
#include "resource_ids.h"

namespace brennic {

namespace {

constexpr std::array<int, kTabCount> kPageDialogs{IDD_PAGE1, IDD_PAGE2, IDD_PAGE3, IDD_ABOUT};

HWND mainWindow = nullptr;
HWND tabControl = nullptr;
HWND statusBarWindow = nullptr;
std::array<HWND, kTabCount> pageWindows{};
TabSelectionGuard selectionGuard;
std::array<GrowingLayout, kTabCount> pageLayouts;

// Each argument page's controls and how they follow the page's growth: the fields and lists stretch, the
// button keeps its place at the right edge.
struct AnchoredControl {
    int id;
    unsigned anchors;
};
constexpr std::array<std::array<AnchoredControl, 7>, kArgumentCount> kPageAnchors{{
    {{{IDC_SELECT1, kFollowRight}, {IDC_PATH1, kGrowWidth}, {IDC_ACTION1, kGrowWidth}, {IDC_MANUAL1, kGrowWidth},
      {IDC_PATHLABEL1, kGrowWidth}, {IDC_ACTIONLABEL1, kGrowWidth}, {IDC_MANUALLABEL1, kGrowWidth}}},
    {{{IDC_SELECT2, kFollowRight}, {IDC_PATH2, kGrowWidth}, {IDC_ACTION2, kGrowWidth}, {IDC_MANUAL2, kGrowWidth},
      {IDC_PATHLABEL2, kGrowWidth}, {IDC_ACTIONLABEL2, kGrowWidth}, {IDC_MANUALLABEL2, kGrowWidth}}},
    {{{IDC_SELECT3, kFollowRight}, {IDC_PATH3, kGrowWidth}, {IDC_ACTION3, kGrowWidth}, {IDC_MANUAL3, kGrowWidth},
      {IDC_PATHLABEL3, kGrowWidth}, {IDC_ACTIONLABEL3, kGrowWidth}, {IDC_MANUALLABEL3, kGrowWidth}}},
}};

// The area of the tab control the pages fill.
RECT pageArea() {
    RECT area{};
    GetClientRect(tabControl, &area);
    area.left -= 4;
    area.top -= 1;
    area.bottom += 1;
    SendMessageW(tabControl, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
    return area;
}

BOOL CALLBACK addCentredControl(HWND control, LPARAM layout) {
    GrowingLayout& target = *reinterpret_cast<GrowingLayout*>(layout);
    target.add(GetParent(control), control, kKeepCentred);
    return TRUE;
}

void takePageLayout(int tab, HWND page) {
    GrowingLayout& layout = pageLayouts[static_cast<std::size_t>(tab)];
    if (tab == kAboutTab) {
        // The About page's two framed blocks stay as the dialog lays them out, in the middle of the page.
        EnumChildWindows(page, addCentredControl, reinterpret_cast<LPARAM>(&layout));
    } else {
        for (const AnchoredControl& control : kPageAnchors[static_cast<std::size_t>(tab)])
            layout.add(page, GetDlgItem(page, control.id), control.anchors);
    }
    layout.setSmallestSize(page);
}

// The text of the part after the pages' own three, which tells how the last followed run stands; empty: no part.
std::wstring runStatus;
int statusDpi = kDefaultDpi;

// The width a part needs to show the text whole in the status bar's font.
int partWidthFor(const std::wstring& text, int clientWidth) {
    HDC dc = GetDC(statusBarWindow);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(statusBarWindow, WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(statusBarWindow, dc);
    const int wanted = static_cast<int>(size.cx) + 2 * GetSystemMetrics(SM_CXEDGE) + MulDiv(16, statusDpi, kDefaultDpi);
    return std::min(wanted, clientWidth / 2);
}

void setStatusParts(int dpi) {
    statusDpi = dpi;
    // The part edges are given for 96 dots per inch and scale with the window's DPI.
    std::vector<int> edges{MulDiv(364, dpi, kDefaultDpi), MulDiv(390, dpi, kDefaultDpi), -1};
    if (!runStatus.empty()) {
        // The run's part takes the right end; the pages' parts keep their order and give up the room.
        RECT client{};
        GetClientRect(statusBarWindow, &client);
        const int wanted = partWidthFor(runStatus, static_cast<int>(client.right));
        edges = {std::max(0, edges[0] - wanted), std::max(0, edges[1] - wanted),
                 static_cast<int>(client.right) - wanted, -1};
    }
    SendMessageW(statusBarWindow, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
    if (!runStatus.empty())
        SendMessageW(statusBarWindow, SB_SETTEXTW, edges.size() - 1, reinterpret_cast<LPARAM>(runStatus.c_str()));
}

class Win32PageHost final : public PageHost {
public:
    void setTabCaption(int tab, const std::string& caption) override {
        std::wstring text = widen(caption);
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = text.data();
        SendMessageW(tabControl, TCM_SETITEMW, static_cast<WPARAM>(tab), reinterpret_cast<LPARAM>(&item));
    }
    void setStatusText(int part, const std::string& text) override {
        SendMessageW(statusBarWindow, SB_SETTEXTW, static_cast<WPARAM>(part),
                     reinterpret_cast<LPARAM>(widen(text).c_str()));
    }
    // Posted: the main window shows the command once the change is complete, once for a burst of changes.
    void commandChanged() override {
        if (mainWindow != nullptr) PostMessageW(mainWindow, WM_BRENNIC_COMMAND_CHANGED, 0, 0);
    }
};

class PageBrush {
public:
    HBRUSH get() {
        if (brush_ == nullptr) brush_ = CreateSolidBrush(pageColour(GetSysColor(COLOR_BTNFACE)));
        return brush_;
    }
    ~PageBrush() {
        if (brush_ != nullptr) DeleteObject(brush_);
    }

private:
    HBRUSH brush_ = nullptr;
};

PageBrush brush;

int currentTab() { return static_cast<int>(SendMessageW(tabControl, TCM_GETCURSEL, 0, 0)); }

void selectAndShow(int tab) {
    SendMessageW(tabControl, TCM_SETCURSEL, static_cast<WPARAM>(tab), 0);
    showPage(tab);
}

}  // namespace

HWND mainWindowOfPages() { return mainWindow; }

HBRUSH pageBrush() { return brush.get(); }

PageHost& pageHost() {
    static Win32PageHost host;
    return host;
}

ArgumentPages& argumentPages() {
    static ArgumentPages pages(appState(), pageHost());
    return pages;
}

HWND pageWindow(int tab) {
    return tab >= 0 && tab < kTabCount ? pageWindows[static_cast<std::size_t>(tab)] : nullptr;
}

void createStatusBar() {
    statusBarWindow = CreateStatusWindowW(WS_CHILD | WS_VISIBLE, L"Argument 1 Action/Key", mainWindow, IDC_STATUS);
    setStatusParts(windowDpi(mainWindow));
}

void layoutPages() {
    if (statusBarWindow != nullptr) {
        SendMessageW(statusBarWindow, WM_SIZE, 0, 0);
        if (!runStatus.empty()) setStatusParts(statusDpi);  // the run's part stays at the right end
    }
    if (tabControl == nullptr) return;
    const RECT area = pageArea();
    for (int tab = 0; tab < kTabCount; ++tab) {
        HWND page = pageWindows[static_cast<std::size_t>(tab)];
        if (page == nullptr) continue;
        const int width = area.right - area.left;
        const int height = area.bottom - area.top;
        SetWindowPos(page, nullptr, 1, area.top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
        pageLayouts[static_cast<std::size_t>(tab)].apply(page, width, height);
    }
}

void showRunStatus(const std::string& text) {
    runStatus = widen(text);
    if (statusBarWindow != nullptr) setStatusParts(statusDpi);
}

void pagesDpiChanged(int dpi) {
    if (statusBarWindow != nullptr) setStatusParts(dpi);
    for (const ArgumentSlot& slot : appState().slots) {
        HWND tip = reinterpret_cast<HWND>(slot.toolTip);
        if (tip != nullptr) SendMessageW(tip, TTM_SETMAXTIPWIDTH, 0, MulDiv(1000, dpi, kDefaultDpi));
    }
}

void createPages(HWND main) {
    mainWindow = main;
    tabControl = GetDlgItem(main, IDC_TABS);
    pageBrush();

    const LONG_PTR extended = GetWindowLongPtrW(tabControl, GWL_EXSTYLE);
    SetWindowLongPtrW(tabControl, GWL_EXSTYLE, extended | WS_EX_CONTROLPARENT);

    for (int tab = kTabCount - 1; tab >= 0; --tab) {
        std::wstring caption = widen(tabCaptions()[static_cast<std::size_t>(tab)]);
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = caption.data();
        SendMessageW(tabControl, TCM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    }
    SendMessageW(tabControl, TCM_SETCURSEL, 0, 0);

    const RECT area = pageArea();

    prepareTabFlags(appState());

    HINSTANCE instance = GetModuleHandleW(nullptr);
    for (int tab = 0; tab < kTabCount; ++tab) {
        const DLGPROC procedure = tab == kAboutTab ? aboutPageProc : argumentPageProc;
        HWND page = CreateDialogParamW(instance, MAKEINTRESOURCEW(kPageDialogs[static_cast<std::size_t>(tab)]),
                                       tabControl, procedure, static_cast<LPARAM>(tab));
        pageWindows[static_cast<std::size_t>(tab)] = page;
        if (page == nullptr) continue;
        SetWindowPos(page, nullptr, 1, area.top, area.right - area.left, area.bottom - area.top,
                     SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOZORDER);
        takePageLayout(tab, page);
    }
    showPage(0);
}

void showPage(int tab) {
    for (int i = 0; i < kTabCount; ++i) {
        HWND page = pageWindows[static_cast<std::size_t>(i)];
        if (page == nullptr) continue;
        if (i != tab) {
            SetWindowPos(page, nullptr, 0, 0, 0, 0,
                         SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOZORDER);
        } else if (!IsWindowVisible(page)) {
            SetWindowPos(page, nullptr, 0, 0, 0, 0,
                         SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOZORDER);
            SetFocus(page);
            if (appState().descriptionReady) SendMessageW(page, WM_BRENNIC_REFRESH_STATUS, 0, 0);
        }
    }
}

void showRestoredPages() {
    if (tabControl == nullptr) return;
    argumentPages().showRestoredState();
    selectAndShow(0);
    HWND first = pageWindow(0);
    if (first != nullptr && appState().descriptionReady) SendMessageW(first, WM_BRENNIC_REFRESH_STATUS, 0, 0);
}

void nextArgument() { selectAndShow(nextArgumentTab(currentTab(), tabFlags(appState()))); }

void previousArgument() { selectAndShow(previousArgumentTab(currentTab(), tabFlags(appState()))); }

void cycleTabs() { selectAndShow(cycledTab(currentTab(), tabFlags(appState()))); }

void onTabNotify(HWND, const NMHDR* header) {
    if (header == nullptr || tabControl == nullptr) return;
    if (header->code == TCN_SELCHANGING) {
        selectionGuard.selectionChanging(currentTab());
    } else if (header->code == TCN_SELCHANGE) {
        const int selected = static_cast<int>(SendMessageW(header->hwndFrom, TCM_GETCURSEL, 0, 0));
        const auto outcome = selectionGuard.selectionChanged(selected, tabFlags(appState()));
        if (outcome.show)
            showPage(outcome.tab);
        else
            SendMessageW(tabControl, TCM_SETCURFOCUS, static_cast<WPARAM>(outcome.tab), 0);
    }
}

}  // namespace brennic
