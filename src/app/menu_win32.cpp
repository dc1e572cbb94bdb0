// The main menu's check marks and grayed states.
#include "app/menu_win32.h"

namespace brennic {

void Win32Menu::setChecked(int id, bool checked) {
    const UINT mark = checked ? static_cast<UINT>(MF_CHECKED) : static_cast<UINT>(MF_UNCHECKED);
    CheckMenuItem(menu_, static_cast<UINT>(id), static_cast<UINT>(MF_BYCOMMAND) | mark);
}

void Win32Menu::checkRadio(int first, int last, int id) {
    CheckMenuRadioItem(menu_, static_cast<UINT>(first), static_cast<UINT>(last), static_cast<UINT>(id),
                       static_cast<UINT>(MF_BYCOMMAND));
}

void Win32Menu::enable(int id) { EnableMenuItem(menu_, static_cast<UINT>(id), static_cast<UINT>(MF_BYCOMMAND | MF_ENABLED)); }

void Win32Menu::gray(int id) { EnableMenuItem(menu_, static_cast<UINT>(id), static_cast<UINT>(MF_BYCOMMAND | MF_GRAYED)); }

}  // namespace brennic
