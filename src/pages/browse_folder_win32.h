// The shell's folder picker, as one function.
#pragma once

#include <windows.h>

#include <string>

namespace brennic {

// Shows the folder browser owned by `owner` with `title`, preselecting `folder`. Returns true and replaces
// `folder` with the chosen folder. A cancel, a choice that is no file-system folder (a virtual folder), a
// path longer than 259 characters or one the ANSI code page cannot spell return false and leave `folder` as
// it was. Needs COM on the calling thread (OleInitialize at entry).
bool browseFolder(HWND owner, std::string& folder, const std::string& title);

}  // namespace brennic
