// The command preview's controls in the main window.
#include "app/preview_line_win32.h"

#include <commctrl.h>

#include "launch/command_preview.h"
#include "platform/accessible_names_win32.h"
#include "platform/text_win32.h"
#include "resource_ids.h"

namespace brennic {

namespace {

constexpr COLORREF kMarkerColour = RGB(176, 0, 0);

}  // namespace

void PreviewLine::attach(HWND mainWindow) {
    main_ = mainWindow;
    line_ = GetDlgItem(mainWindow, IDC_PREVIEW);
    marker_ = GetDlgItem(mainWindow, IDC_PREVIEW_MARKER);
}

void PreviewLine::show(const CommandPreview& preview) {
    if (preview.line != lineText_) {
        lineText_ = preview.line;
        setWindowText(line_, lineText_);
    }
    if (preview.marker != markerText_) {
        markerText_ = preview.marker;
        setWindowText(marker_, markerText_);
        nameMarker(names_);
    }
    std::wstring tip = widen(preview.tip);
    if (tip != tipText_) {
        tipText_ = std::move(tip);
        updateTool(line_);
        updateTool(marker_);
    }
}

HBRUSH PreviewLine::markerColours(HDC dc, HWND control) const {
    if (control == nullptr || control != marker_) return nullptr;
    SetTextColor(dc, kMarkerColour);
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    return GetSysColorBrush(COLOR_BTNFACE);
}

void PreviewLine::pointerOver(HWND control) {
    if (tip_ != nullptr || control == nullptr || (control != line_ && control != marker_)) return;
    tip_ = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                           CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, main_, nullptr, GetModuleHandleW(nullptr),
                           nullptr);
    if (tip_ == nullptr) return;
    SetWindowPos(tip_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    windowSized();
    // The tip stays up long enough to read it.
    SendMessageW(tip_, TTM_SETDELAYTIME, TTDT_AUTOPOP, 30000);
    addTool(line_);
    addTool(marker_);
}

void PreviewLine::nameMarker(AccessibleNames* names) {
    names_ = names;
    if (names_ != nullptr) names_->setName(marker_, markerText_.empty() ? L"No warnings" : widen(markerText_).c_str());
}

void PreviewLine::windowSized() {
    if (tip_ == nullptr) return;
    // A long command wraps at the window's width.
    RECT window{};
    GetWindowRect(main_, &window);
    SendMessageW(tip_, TTM_SETMAXTIPWIDTH, 0, window.right - window.left);
}

void PreviewLine::addTool(HWND control) {
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = main_;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = tipText_.data();
    SendMessageW(tip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void PreviewLine::updateTool(HWND control) {
    if (tip_ == nullptr) return;
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = main_;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = tipText_.data();
    SendMessageW(tip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
}

}  // namespace brennic
