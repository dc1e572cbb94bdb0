// "Copy command line": puts what Start would launch now on the clipboard.
#pragma once

#include <windows.h>

#include <string>

namespace brennic {

struct AppState;

// Replaces the clipboard's content with text (CF_TEXT). Returns false when the clipboard cannot be had.
bool writeClipboardText(HWND owner, const std::string& text);

// The whole command: nothing happens without a ready description or when nothing would be launched.
bool copyCommandLine(AppState& state, HWND owner);

}  // namespace brennic
