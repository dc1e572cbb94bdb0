// The window's icons: Brennic's own and the described program's, each drawn for the size it is shown at.
#include "app/foreign_icon_win32.h"

#include "platform/text_win32.h"
#include "resource_ids.h"

namespace brennic {

namespace {

// The icon format version CreateIconFromResourceEx expects for images from an icon group.
constexpr DWORD kIconFormat = 0x00030000;

// A resource's bytes and size; empty when it cannot be found or read.
struct ResourceBytes {
    PBYTE bits = nullptr;
    DWORD size = 0;
};

ResourceBytes resourceBytes(HMODULE module, LPCWSTR name, LPCWSTR type) {
    HRSRC resource = FindResourceW(module, name, type);
    HGLOBAL loaded = resource != nullptr ? LoadResource(module, resource) : nullptr;
    void* bits = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (bits == nullptr) return {};
    return {static_cast<PBYTE>(bits), SizeofResource(module, resource)};
}

// The first icon group of a module, as the shell takes it for the file's icon. Its name is copied: a name that
// is a string lives only as long as the enumeration.
BOOL CALLBACK takeFirstGroup(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR found) {
    auto* first = reinterpret_cast<std::wstring*>(found);
    if (IS_INTRESOURCE(name)) {
        *first = L"#" + std::to_wstring(reinterpret_cast<ULONG_PTR>(name));
    } else {
        *first = name;
    }
    return FALSE;  // the first is enough
}

// The image of an icon group that suits width x height best, made at that size.
HICON iconFromGroup(HMODULE module, LPCWSTR group, int width, int height) {
    const ResourceBytes directory = resourceBytes(module, group, MAKEINTRESOURCEW(14));  // RT_GROUP_ICON
    if (directory.bits == nullptr) return nullptr;
    const int id = LookupIconIdFromDirectoryEx(directory.bits, TRUE, width, height, LR_DEFAULTCOLOR);
    if (id == 0) return nullptr;
    const ResourceBytes image = resourceBytes(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(3));  // RT_ICON
    if (image.bits == nullptr) return nullptr;
    return CreateIconFromResourceEx(image.bits, image.size, TRUE, kIconFormat, width, height, LR_DEFAULTCOLOR);
}

HMODULE openAsData(const std::string& exePath) {
    return LoadLibraryExW(widen(exePath).c_str(), nullptr,
                          LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
}

HICON programIcon(HMODULE module, int width, int height) {
    std::wstring group;
    EnumResourceNamesW(module, MAKEINTRESOURCEW(14), takeFirstGroup, reinterpret_cast<LONG_PTR>(&group));
    return group.empty() ? nullptr : iconFromGroup(module, group.c_str(), width, height);
}

}  // namespace

HICON loadOwnIcon(int width, int height) {
    return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_BRENNIC), IMAGE_ICON,
                                         width, height, LR_DEFAULTCOLOR));
}

HICON loadProgramIcon(const std::string& exePath, int width, int height) {
    HMODULE module = openAsData(exePath);
    if (module == nullptr) return nullptr;
    HICON icon = programIcon(module, width, height);
    FreeLibrary(module);
    return icon;
}

void replaceWindowIcon(HWND window, WPARAM which, HICON icon) {
    if (icon == nullptr) return;
    auto previous = reinterpret_cast<HICON>(SendMessageW(window, WM_SETICON, which, reinterpret_cast<LPARAM>(icon)));
    if (previous != nullptr && previous != icon) DestroyIcon(previous);
}

int setForeignIcon(HWND window, const std::string& exePath) {
    HMODULE module = openAsData(exePath);
    if (module == nullptr) return 5;
    // The taskbar and Alt+Tab show the big icon, the title bar the small one: each from the image for its size.
    HICON big = programIcon(module, GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON));
    HICON small = big != nullptr ? programIcon(module, GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON))
                                 : nullptr;
    FreeLibrary(module);
    if (big == nullptr || small == nullptr) {
        if (big != nullptr) DestroyIcon(big);
        return big == nullptr ? 1 : 6;
    }
    replaceWindowIcon(window, ICON_BIG, big);
    replaceWindowIcon(window, ICON_SMALL, small);
    return 0;
}

}  // namespace brennic
