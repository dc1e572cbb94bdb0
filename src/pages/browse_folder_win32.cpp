// The shell's folder picker.
#include "pages/browse_folder_win32.h"

#include <shlobj.h>

#include <vector>

#include "platform/system_library_win32.h"
#include "platform/text_win32.h"

namespace brennic {

namespace {

constexpr std::size_t kMaxFolderText = 259;

int CALLBACK selectInitialFolder(HWND dialog, UINT message, LPARAM, LPARAM data) {
    if (message == BFFM_INITIALIZED) SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, data);
    return 0;
}

// The file-system path of a chosen item, if it has one that fits our texts of at most 259 characters.
bool pathOf(PCIDLIST_ABSOLUTE item, std::string& path) {
    std::vector<wchar_t> wide(32768);
    if (!pathFromIdList(item, wide.data(), static_cast<DWORD>(wide.size()), GPFIDL_DEFAULT)) return false;
    if (wide[0] == L'\0') return false;
    // Some shells cut a long path to the classic limit and still report success: a path that names no
    // folder is not what the user chose.
    const DWORD attributes = GetFileAttributesW(wide.data());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) return false;
    const std::wstring_view chosen(wide.data());
    if (chosen.size() > kMaxFolderText) return false;
    path = narrow(chosen);
    return true;
}

}  // namespace

bool browseFolder(HWND owner, std::string& folder, const std::string& title) {
    const std::wstring wideTitle = widen(title);
    const std::wstring initial = widen(folder);
    BROWSEINFOW info{};
    info.hwndOwner = owner;
    info.pidlRoot = nullptr;
    info.lpszTitle = wideTitle.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
    info.lpfn = selectInitialFolder;
    info.lParam = reinterpret_cast<LPARAM>(initial.c_str());
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
