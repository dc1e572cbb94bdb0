// The shell's folder picker, as one function.
#pragma once

#include <windows.h>

#include <string>

namespace brennic {

// Shows the system's folder picker (address box, pasted paths, recent places) owned by `owner` with the
// caption `title`, starting in `folder`; only where that picker cannot be created, the classic folder browser. Returns true and replaces
// `folder` with the chosen folder. A cancel, a choice that is no file-system folder (a virtual folder), a
// path longer than 259 characters or one the ANSI code page cannot spell return false and leave `folder` as
// it was. Needs COM on the calling thread (OleInitialize at entry).
bool browseFolder(HWND owner, std::string& folder, const std::string& title);
// The classic folder browser alone (the tree, `title` as a label inside it), with the same rules.
bool browseFolderClassic(HWND owner, std::string& folder, const std::string& title);

}  // namespace brennic
