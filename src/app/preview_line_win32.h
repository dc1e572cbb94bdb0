// The command preview in the main window's band under the tab control: the line (a read-only edit that can be
// selected, copied and scrolled), the marker beside it naming the arguments Start would warn about, and a tool
// tip over both that shows the whole command and the warnings.
#pragma once

#include <windows.h>

#include <string>

namespace brennic {

class AccessibleNames;
struct CommandPreview;

class PreviewLine {
public:
    void attach(HWND mainWindow);
    // Shows the preview; a text that did not change is not set again, so a selection in the line survives.
    void show(const CommandPreview& preview);
    // WM_CTLCOLORSTATIC: the marker's warning colour; null for every other control.
    HBRUSH markerColours(HDC dc, HWND control) const;
    // WM_SETCURSOR: the pointer is over a control. The tool tip is made the first time it is over the line or
    // the marker, so that start-up does not pay for a pop-up window nobody may ask for.
    void pointerOver(HWND control);
    // The window's size or DPI changed: a long command still wraps at the window's width.
    void windowSized();
    // From now on the marker's name for screen readers follows its text ("No warnings" while it is empty).
    void nameMarker(AccessibleNames* names);

private:
    void addTool(HWND control);
    void updateTool(HWND control);

    HWND main_ = nullptr;
    HWND line_ = nullptr;
    HWND marker_ = nullptr;
    HWND tip_ = nullptr;
    std::string lineText_;
    std::string markerText_;
    std::wstring tipText_;
    AccessibleNames* names_ = nullptr;
};

}  // namespace brennic
