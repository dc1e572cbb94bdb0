// The main menu as the command dispatcher sees it.
#pragma once

#include <windows.h>

#include "app/commands.h"

namespace brennic {

// The check marks and grayed states of a menu, by command id (the menu bar reaches its popups' items).
class Win32Menu : public MenuView {
public:
    explicit Win32Menu(HMENU menu = nullptr) : menu_(menu) {}
    void setMenu(HMENU menu) { menu_ = menu; }
    HMENU handle() const { return menu_; }
    void setChecked(int id, bool checked) override;
    void checkRadio(int first, int last, int id) override;
    void enable(int id) override;
    void gray(int id) override;

private:
    HMENU menu_;
};

}  // namespace brennic
