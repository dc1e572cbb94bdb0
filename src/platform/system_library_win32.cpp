// Loading the shell, common-dialog and OLE entry points on first use.
#include "platform/system_library_win32.h"

#include <array>
#include <cstring>
#include <string>

namespace brennic {

namespace {

enum class Library { shell, dialogs, count };

constexpr std::array<const wchar_t*, static_cast<std::size_t>(Library::count)> kLibraryNames{L"shell32.dll",
                                                                                             L"comdlg32.dll"};

// From the system folder only: a library of the same name beside the program or in the current folder is
// never taken instead.
HMODULE library(Library which) {
    static std::array<HMODULE, static_cast<std::size_t>(Library::count)> modules{};
    static std::array<bool, static_cast<std::size_t>(Library::count)> tried{};
    const auto index = static_cast<std::size_t>(which);
    if (!tried[index]) {
        tried[index] = true;
        wchar_t folder[MAX_PATH] = {};
        const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
        if (length > 0 && length < MAX_PATH) {
            const std::wstring path = std::wstring(folder, length) + L"\\" + kLibraryNames[index];
            modules[index] = LoadLibraryW(path.c_str());
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

UINT dragQueryFile(HDROP drop, UINT index, LPWSTR name, UINT size) {
    static const auto function = entry<UINT(WINAPI*)(HDROP, UINT, LPWSTR, UINT)>(Library::shell, "DragQueryFileW");
    return function != nullptr ? function(drop, index, name, size) : 0;
}

void dragFinish(HDROP drop) {
    static const auto function = entry<void(WINAPI*)(HDROP)>(Library::shell, "DragFinish");
    if (function != nullptr) function(drop);
}

HINSTANCE shellExecute(HWND owner, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters, LPCWSTR directory, INT show) {
    static const auto function = entry<HINSTANCE(WINAPI*)(HWND, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, INT)>(
        Library::shell, "ShellExecuteW");
    if (function == nullptr) return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(SE_ERR_DLLNOTFOUND));
    return function(owner, verb, file, parameters, directory, show);
}

BOOL shellExecuteEx(SHELLEXECUTEINFOW* info) {
    static const auto function = entry<BOOL(WINAPI*)(SHELLEXECUTEINFOW*)>(Library::shell, "ShellExecuteExW");
    if (function == nullptr) {
        SetLastError(ERROR_DLL_NOT_FOUND);
        return FALSE;
    }
    return function(info);
}

PIDLIST_ABSOLUTE browseForFolder(LPBROWSEINFOW info) {
    static const auto function = entry<PIDLIST_ABSOLUTE(WINAPI*)(LPBROWSEINFOW)>(Library::shell, "SHBrowseForFolderW");
    return function != nullptr ? function(info) : nullptr;
}

HRESULT shellItemFromPath(PCWSTR path, IShellItem** item) {
    static const auto function = entry<HRESULT(WINAPI*)(PCWSTR, IBindCtx*, REFIID, void**)>(
        Library::shell, "SHCreateItemFromParsingName");
    if (function == nullptr) return E_NOTIMPL;
    return function(path, nullptr, IID_IShellItem, reinterpret_cast<void**>(item));
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

BOOL openFileDialog(LPOPENFILENAMEW dialog) {
    static const auto function = entry<BOOL(WINAPI*)(LPOPENFILENAMEW)>(Library::dialogs, "GetOpenFileNameW");
    return function != nullptr ? function(dialog) : FALSE;
}

std::wstring systemProgramPath(const std::wstring& name) {
    const bool command = lstrcmpiW(name.c_str(), L"cmd.exe") == 0 || lstrcmpiW(name.c_str(), L"cmd") == 0;
    const bool explorer = lstrcmpiW(name.c_str(), L"explorer") == 0 || lstrcmpiW(name.c_str(), L"explorer.exe") == 0;
    if (!command && !explorer) return name;
    wchar_t folder[MAX_PATH] = {};
    const UINT length = command ? GetSystemDirectoryW(folder, MAX_PATH) : GetWindowsDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return name;
    std::wstring path(folder, length);
    if (path.back() != L'\\') path += L'\\';
    return path + (command ? L"cmd.exe" : L"explorer.exe");
}

BOOL saveFileDialog(LPOPENFILENAMEW dialog) {
    static const auto function = entry<BOOL(WINAPI*)(LPOPENFILENAMEW)>(Library::dialogs, "GetSaveFileNameW");
    return function != nullptr ? function(dialog) : FALSE;
}

}  // namespace brennic
