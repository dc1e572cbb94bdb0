// The shell's folder picker.
#include "pages/browse_folder_win32.h"

#include <shlobj.h>
#include <shobjidl.h>

#include <vector>

#include "platform/system_library_win32.h"
#include "platform/text_win32.h"

namespace brennic {

namespace {

constexpr std::size_t kMaxFolderText = 259;

bool usableFolder(const std::wstring& chosen, std::string& path);

int CALLBACK selectInitialFolder(HWND dialog, UINT message, LPARAM, LPARAM data) {
    if (message == BFFM_INITIALIZED) SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, data);
    return 0;
}

// The file-system path of a chosen item, if it has one that fits our texts of at most 259 characters.
bool pathOf(PCIDLIST_ABSOLUTE item, std::string& path) {
    std::vector<wchar_t> wide(32768);
    if (!pathFromIdList(item, wide.data(), static_cast<DWORD>(wide.size()), GPFIDL_DEFAULT)) return false;
    // Some shells cut a long path to the classic limit and still report success: a path that names no
    // folder is not what the user chose.
    return usableFolder(std::wstring(wide.data()), path);
}

// A chosen folder's path, if it names an existing file-system folder and fits our texts.
bool usableFolder(const std::wstring& chosen, std::string& path) {
    if (chosen.empty() || chosen.size() > kMaxFolderText) return false;
    const DWORD attributes = GetFileAttributesW(chosen.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) return false;
    path = narrow(chosen);
    return true;
}

template <typename Interface>
struct Released {
    Interface* pointer = nullptr;
    ~Released() {
        if (pointer != nullptr) pointer->Release();
    }
};

enum class Picked { chosen, cancelled, unavailable };

// The system's folder picker: an address box, pasted paths and recent places. Starts in `folder`.
Picked pickFolder(HWND owner, std::string& folder, const std::string& title) {
    Released<IFileOpenDialog> dialog;
    if (FAILED(CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER, IID_IFileOpenDialog,
                                reinterpret_cast<void**>(&dialog.pointer))) ||
        dialog.pointer == nullptr)
        return Picked::unavailable;
    FILEOPENDIALOGOPTIONS options = 0;
    if (FAILED(dialog.pointer->GetOptions(&options))) options = 0;
    if (FAILED(dialog.pointer->SetOptions(options | FOS_PICKFOLDERS | FOS_FORCEFILESYSTEM | FOS_PATHMUSTEXIST |
                                          FOS_NOCHANGEDIR)))
        return Picked::unavailable;
    if (!title.empty()) dialog.pointer->SetTitle(widen(title).c_str());
    if (!folder.empty()) {
        Released<IShellItem> start;
        if (SUCCEEDED(shellItemFromPath(widen(folder).c_str(), &start.pointer)) && start.pointer != nullptr)
            dialog.pointer->SetFolder(start.pointer);
    }
    if (FAILED(dialog.pointer->Show(owner))) return Picked::cancelled;
    Released<IShellItem> result;
    if (FAILED(dialog.pointer->GetResult(&result.pointer)) || result.pointer == nullptr) return Picked::cancelled;
    PWSTR chosen = nullptr;
    if (FAILED(result.pointer->GetDisplayName(SIGDN_FILESYSPATH, &chosen)) || chosen == nullptr)
        return Picked::cancelled;
    const std::wstring path(chosen);
    CoTaskMemFree(chosen);
    std::string usable;
    if (path.size() > kMaxFolderText) {
        // The picker lets the user reach any folder; one we cannot hold is said, not silently dropped.
        MessageBoxW(owner, L"The folder's path is longer than 259 characters and cannot be used.", L"Err...",
                    MB_OK | MB_ICONERROR);
        return Picked::cancelled;
    }
    if (!usableFolder(path, usable)) return Picked::cancelled;
    folder = usable;
    return Picked::chosen;
}

}  // namespace

bool browseFolder(HWND owner, std::string& folder, const std::string& title) {
    const Picked picked = pickFolder(owner, folder, title);
    if (picked != Picked::unavailable) return picked == Picked::chosen;
    return browseFolderClassic(owner, folder, title);
}

bool browseFolderClassic(HWND owner, std::string& folder, const std::string& title) {
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
