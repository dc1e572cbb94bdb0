// Names and descriptions that screen readers announce, for controls whose own text is their content (an edit
// that shows a command, a marker, the status bar). Set through the system's annotation service, which the
// standard accessible objects of the controls consult; fields with a label before them need none.
#pragma once

#include <windows.h>

struct IAccPropServices;

namespace brennic {

class AccessibleNames {
public:
    AccessibleNames();
    ~AccessibleNames();
    AccessibleNames(const AccessibleNames&) = delete;
    AccessibleNames& operator=(const AccessibleNames&) = delete;

    bool available() const { return services_ != nullptr; }
    // childId 0 is the control itself; a status bar's parts are 1, 2, 3.
    void setName(HWND control, const wchar_t* name, DWORD childId = 0);
    void setDescription(HWND control, const wchar_t* text, DWORD childId = 0);

private:
    ::IAccPropServices* services_ = nullptr;
};

}  // namespace brennic
