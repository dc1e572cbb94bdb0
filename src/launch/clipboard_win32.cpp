// "Copy command line": puts what Start would launch now on the clipboard.
#include "launch/clipboard_win32.h"

#include <cstring>

#include "state/app_state.h"
#include "launch/launch.h"
#include "platform/text_win32.h"

namespace brennic {

bool writeClipboardText(HWND owner, const std::string& text) {
    const std::wstring wide = widen(text);
    const std::size_t size = (wide.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
    if (!memory) return false;
    void* bytes = GlobalLock(memory);
    if (!bytes) {
        GlobalFree(memory);
        return false;
    }
    std::memcpy(bytes, wide.c_str(), size);
    GlobalUnlock(memory);

    if (!OpenClipboard(owner)) {
        GlobalFree(memory);
        return false;
    }
    EmptyClipboard();
    const bool placed = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
    CloseClipboard();
    if (!placed) GlobalFree(memory);  // on success the clipboard owns the memory
    return placed;
}

bool copyCommandLine(AppState& state, HWND owner) {
    const auto text = commandLineText(state);
    return text && writeClipboardText(owner, *text);
}

}  // namespace brennic
