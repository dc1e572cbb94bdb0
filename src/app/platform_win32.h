// Win32 implementations of the platform interfaces: message boxes and beeps, the shell, the main menu.
#pragma once

#include <windows.h>

#include "app/commands.h"
#include "app/platform.h"

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

// The check marks and grayed states of a menu, by command id (the menu bar reaches its popups' items).
class Win32Menu : public MenuView {
public:
    explicit Win32Menu(HMENU menu = nullptr) : menu_(menu) {}
    void setMenu(HMENU menu) { menu_ = menu; }
    HMENU handle() const { return menu_; }
    void setChecked(int id, bool checked) override;
    void checkRadio(int first, int last, int id) override;
    void enable(int id) override;

private:
    HMENU menu_;
};

}  // namespace brennic
