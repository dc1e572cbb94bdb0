// The described program's icon on the main window.
#include "app/foreign_icon_win32.h"

#include "platform/text_win32.h"

namespace brennic {

int setForeignIcon(HWND window, const std::string& exePath) {
    HMODULE module =
        LoadLibraryExW(widen(exePath).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (module == nullptr) return 5;
    int result = 0;
    HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(3));  // RT_ICON
    HGLOBAL loaded = resource != nullptr ? LoadResource(module, resource) : nullptr;
    void* bits = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (resource == nullptr) {
        result = 1;
    } else if (loaded == nullptr) {
        result = 3;
    } else if (bits == nullptr) {
        result = 2;
    } else {
        HICON icon = CreateIconFromResourceEx(static_cast<PBYTE>(bits), SizeofResource(module, resource), TRUE,
                                              0x00030000, 0, 0, LR_DEFAULTCOLOR);
        if (icon != nullptr) {
            SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
            // The title bar shows the same program as the taskbar, not Brennic's own small icon.
            SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
        } else {
            result = 6;
        }
    }
    if (!FreeLibrary(module) && result == 0) result = 4;
    return result;
}

}  // namespace brennic
