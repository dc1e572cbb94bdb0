// Entry points of the system libraries that only some commands use: the shell (drops, the folder picker,
// starting programs) and the common file dialogs. They are loaded from the system folder on first use,
// so start-up maps no library that the main window does not need. Where a library or entry point cannot be
// had, each function fails the way its system counterpart reports failure.
#pragma once

#include <windows.h>
#include <commdlg.h>
#include <shellapi.h>
#include <shlobj.h>

#include <string>

namespace brennic {

UINT dragQueryFile(HDROP drop, UINT index, LPWSTR name, UINT size);  // 0 when unavailable
void dragFinish(HDROP drop);
// SE_ERR_DLLNOTFOUND when unavailable.
HINSTANCE shellExecute(HWND owner, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters, LPCWSTR directory, INT show);
// FALSE with ERROR_DLL_NOT_FOUND when unavailable.
BOOL shellExecuteEx(SHELLEXECUTEINFOW* info);
PIDLIST_ABSOLUTE browseForFolder(LPBROWSEINFOW info);  // nullptr when unavailable
HRESULT shellMalloc(IMalloc** allocator);              // E_FAIL when unavailable
BOOL pathFromIdList(PCIDLIST_ABSOLUTE item, PWSTR path, DWORD size, GPFIDL_FLAGS flags);
// E_NOTIMPL when unavailable.
HRESULT shellItemFromPath(PCWSTR path, IShellItem** item);
BOOL openFileDialog(LPOPENFILENAMEW dialog);  // FALSE when unavailable

// The helpers Brennic starts by name, at their full path: "cmd.exe" (or "cmd") in the system folder, "explorer"
// (or "explorer.exe") in the Windows folder, so that a program of that name in the current folder or beside
// Brennic is never run instead. Any other name comes back as given; so does a helper whose folder is unknown.
std::wstring systemProgramPath(const std::wstring& name);
BOOL saveFileDialog(LPOPENFILENAMEW dialog);

}  // namespace brennic
