// Win32 implementations of the platform interfaces.
#include "platform/platform_win32.h"

#include <shellapi.h>

#include "platform/system_library_win32.h"

namespace brennic {

namespace {

const char* orNull(const std::string& text) { return text.empty() ? nullptr : text.c_str(); }

}  // namespace

int Win32MessageBoxes::show(const std::string& text, const std::string& caption, unsigned style) {
    // A system-modal box belongs to no window: it must show even when the main window cannot take it.
    HWND owner = (style & kMbSystemModal) != 0 ? nullptr : owner_;
    return MessageBoxA(owner, text.c_str(), caption.c_str(), style);
}

void Win32MessageBoxes::beep(unsigned type) { MessageBeep(type); }

std::intptr_t Win32Shell::execute(const ShellRequest& request) {
    HINSTANCE result = shellExecute(nullptr, orNull(request.verb), request.file.c_str(),
                                    orNull(request.parameters), orNull(request.directory), request.showCommand);
    return reinterpret_cast<std::intptr_t>(result);
}

}  // namespace brennic
