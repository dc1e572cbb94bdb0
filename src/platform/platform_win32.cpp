// Win32 implementations of the platform interfaces.
#include "platform/platform_win32.h"

#include <shellapi.h>

#include "platform/system_library_win32.h"
#include "platform/text_win32.h"

namespace brennic {

namespace {

const wchar_t* orNull(const std::wstring& text) { return text.empty() ? nullptr : text.c_str(); }

}  // namespace

int Win32MessageBoxes::show(const std::string& text, const std::string& caption, unsigned style) {
    // Every box is modal to the main window, system-modal ones included: an unowned box would leave the window
    // usable beneath it, and a repeated command would stack boxes. Before the window exists there is no owner.
    HWND owner = owner_ != nullptr && IsWindow(owner_) ? owner_ : nullptr;
    return MessageBoxW(owner, widen(text).c_str(), widen(caption).c_str(), style);
}

void Win32MessageBoxes::beep(unsigned type) { MessageBeep(type); }

std::intptr_t Win32Shell::execute(const ShellRequest& request) {
    // The request names the helpers as the preview shows them; they run from the system's own folders.
    const std::wstring verb = widen(request.verb), file = systemProgramPath(widen(request.file));
    const std::wstring parameters = widen(request.parameters), directory = widen(request.directory);
    HINSTANCE result =
        shellExecute(nullptr, orNull(verb), file.c_str(), orNull(parameters), orNull(directory), request.showCommand);
    return reinterpret_cast<std::intptr_t>(result);
}

}  // namespace brennic
