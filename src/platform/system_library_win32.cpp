// Loading the shell, common-dialog and OLE entry points on first use.
#include "platform/system_library_win32.h"

#include <array>
#include <cstring>
#include <string>

namespace brennic {

namespace {

enum class Library { shell, dialogs, count };

constexpr std::array<const char*, static_cast<std::size_t>(Library::count)> kLibraryNames{"shell32.dll",
                                                                                          "comdlg32.dll"};

// From the system folder only: a library of the same name beside the program or in the current folder is
// never taken instead.
HMODULE library(Library which) {
    static std::array<HMODULE, static_cast<std::size_t>(Library::count)> modules{};
    static std::array<bool, static_cast<std::size_t>(Library::count)> tried{};
    const auto index = static_cast<std::size_t>(which);
    if (!tried[index]) {
        tried[index] = true;
        char folder[MAX_PATH] = {};
        const UINT length = GetSystemDirectoryA(folder, MAX_PATH);
        if (length > 0 && length < MAX_PATH) {
            const std::string path = std::string(folder, length) + "\\" + kLibraryNames[index];
            modules[index] = LoadLibraryA(path.c_str());
        }
    }
    return modules[index];
}

template <typename Function>
Function entry(Library which, const char* name) {
    HMODULE module = library(which);
    if (module == nullptr) return nullptr;
    // Through a plain function pointer type: the entry's real type is the caller's to know.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

}  // namespace

UINT dragQueryFile(HDROP drop, UINT index, LPSTR name, UINT size) {
    static const auto function = entry<UINT(WINAPI*)(HDROP, UINT, LPSTR, UINT)>(Library::shell, "DragQueryFileA");
    return function != nullptr ? function(drop, index, name, size) : 0;
}

void dragFinish(HDROP drop) {
    static const auto function = entry<void(WINAPI*)(HDROP)>(Library::shell, "DragFinish");
    if (function != nullptr) function(drop);
}

HINSTANCE shellExecute(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory, INT show) {
    static const auto function = entry<HINSTANCE(WINAPI*)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT)>(
        Library::shell, "ShellExecuteA");
    if (function == nullptr) return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(SE_ERR_DLLNOTFOUND));
    return function(owner, verb, file, parameters, directory, show);
}

PIDLIST_ABSOLUTE browseForFolder(LPBROWSEINFOA info) {
    static const auto function = entry<PIDLIST_ABSOLUTE(WINAPI*)(LPBROWSEINFOA)>(Library::shell, "SHBrowseForFolderA");
    return function != nullptr ? function(info) : nullptr;
}

HRESULT shellMalloc(IMalloc** allocator) {
    static const auto function = entry<HRESULT(WINAPI*)(IMalloc**)>(Library::shell, "SHGetMalloc");
    return function != nullptr ? function(allocator) : E_FAIL;
}

BOOL pathFromIdList(PCIDLIST_ABSOLUTE item, PWSTR path, DWORD size, GPFIDL_FLAGS flags) {
    static const auto function =
        entry<BOOL(WINAPI*)(PCIDLIST_ABSOLUTE, PWSTR, DWORD, GPFIDL_FLAGS)>(Library::shell, "SHGetPathFromIDListEx");
    return function != nullptr ? function(item, path, size, flags) : FALSE;
}

BOOL openFileDialog(LPOPENFILENAMEA dialog) {
    static const auto function = entry<BOOL(WINAPI*)(LPOPENFILENAMEA)>(Library::dialogs, "GetOpenFileNameA");
    return function != nullptr ? function(dialog) : FALSE;
}

BOOL saveFileDialog(LPOPENFILENAMEA dialog) {
    static const auto function = entry<BOOL(WINAPI*)(LPOPENFILENAMEA)>(Library::dialogs, "GetSaveFileNameA");
    return function != nullptr ? function(dialog) : FALSE;
}

}  // namespace brennic
