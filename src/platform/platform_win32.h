// Win32 implementations of the platform interfaces: message boxes and beeps, the shell.
#pragma once

#include <windows.h>

#include "platform/platform.h"

namespace brennic {

// Boxes owned by a window that may be set later (the main window exists only once start-up runs).
class Win32MessageBoxes : public MessageBoxes {
public:
    explicit Win32MessageBoxes(HWND owner = nullptr) : owner_(owner) {}
    void setOwner(HWND owner) { owner_ = owner; }
    int show(const std::string& text, const std::string& caption, unsigned style) override;
    void beep(unsigned type) override;

private:
    HWND owner_;
};

class Win32Shell : public Shell {
public:
    std::intptr_t execute(const ShellRequest& request) override;
};

}  // namespace brennic
