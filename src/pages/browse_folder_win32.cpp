// The shell's folder picker.
#include "pages/browse_folder_win32.h"

#include <shlobj.h>

#include <vector>

#include "platform/system_library_win32.h"

namespace brennic {

namespace {

constexpr std::size_t kMaxFolderText = 259;

int CALLBACK selectInitialFolder(HWND dialog, UINT message, LPARAM, LPARAM data) {
    if (message == BFFM_INITIALIZED) SendMessageA(dialog, BFFM_SETSELECTIONA, TRUE, data);
    return 0;
}

// The file-system path of a chosen item, if it has one that fits our 260-byte texts.
bool pathOf(PCIDLIST_ABSOLUTE item, std::string& path) {
    std::vector<wchar_t> wide(32768);
    if (!pathFromIdList(item, wide.data(), static_cast<DWORD>(wide.size()), GPFIDL_DEFAULT)) return false;
    if (wide[0] == L'\0') return false;
    // Some shells cut a long path to the classic limit and still report success: a path that names no
    // folder is not what the user chose.
    const DWORD attributes = GetFileAttributesW(wide.data());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) return false;
    BOOL lossy = FALSE;
    const int size = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), -1, nullptr, 0, nullptr, &lossy);
    if (size <= 1 || lossy || static_cast<std::size_t>(size - 1) > kMaxFolderText) return false;
    std::vector<char> narrow(static_cast<std::size_t>(size));
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), -1, narrow.data(), size, nullptr, &lossy);
    if (lossy) return false;
    path.assign(narrow.data());
    return true;
}

}  // namespace

bool browseFolder(HWND owner, std::string& folder, const std::string& title) {
    BROWSEINFOA info{};
    info.hwndOwner = owner;
    info.pidlRoot = nullptr;
    info.lpszTitle = title.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
    info.lpfn = selectInitialFolder;
    info.lParam = reinterpret_cast<LPARAM>(folder.c_str());
    PIDLIST_ABSOLUTE item = browseForFolder(&info);
    if (item == nullptr) return false;
    std::string chosen;
    const bool usable = pathOf(item, chosen);
    IMalloc* allocator = nullptr;
    if (SUCCEEDED(shellMalloc(&allocator)) && allocator != nullptr) {
        allocator->Free(item);
        allocator->Release();
    }
    if (!usable) return false;
    folder = chosen;
    return true;
}

}  // namespace brennic
