// Win32 implementations of the platform interfaces.
#include "app/platform_win32.h"

#include <shellapi.h>

#include "app/system_library_win32.h"

namespace brennic {

namespace {

const char* orNull(const std::string& text) { return text.empty() ? nullptr : text.c_str(); }

}  // namespace

int Win32MessageBoxes::show(const std::string& text, const std::string& caption, unsigned style) {
    // A system-modal box belongs to no window: it must show even when the main window cannot take it.
    HWND owner = (style & kMbSystemModal) != 0 ? nullptr : owner_;
    return MessageBoxA(owner, text.c_str(), caption.c_str(), style);
}

void Win32MessageBoxes::beep(unsigned type) { MessageBeep(type); }

std::intptr_t Win32Shell::execute(const ShellRequest& request) {
    HINSTANCE result = shellExecute(nullptr, orNull(request.verb), request.file.c_str(),
                                    orNull(request.parameters), orNull(request.directory), request.showCommand);
    return reinterpret_cast<std::intptr_t>(result);
}

void Win32Menu::setChecked(int id, bool checked) {
    const UINT mark = checked ? static_cast<UINT>(MF_CHECKED) : static_cast<UINT>(MF_UNCHECKED);
    CheckMenuItem(menu_, static_cast<UINT>(id), static_cast<UINT>(MF_BYCOMMAND) | mark);
}

void Win32Menu::checkRadio(int first, int last, int id) {
    CheckMenuRadioItem(menu_, static_cast<UINT>(first), static_cast<UINT>(last), static_cast<UINT>(id),
                       static_cast<UINT>(MF_BYCOMMAND));
}

void Win32Menu::enable(int id) { EnableMenuItem(menu_, static_cast<UINT>(id), static_cast<UINT>(MF_BYCOMMAND | MF_ENABLED)); }

}  // namespace brennic
