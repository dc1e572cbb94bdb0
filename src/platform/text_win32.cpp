// Text conversions at the Win32 edge.
#include "platform/text_win32.h"

#include <climits>

namespace brennic {

std::wstring widen(std::string_view utf8) {
    const std::u16string units = utf16FromUtf8(utf8);
    return std::wstring(units.begin(), units.end());
}

std::string narrow(std::wstring_view wide) {
    const std::u16string units(wide.begin(), wide.end());
    return utf8FromUtf16(units);
}

std::string narrow(const wchar_t* wide) { return wide == nullptr ? std::string() : narrow(std::wstring_view(wide)); }

std::string windowText(HWND window) {
    const int length = GetWindowTextLengthW(window);
    if (length <= 0) return {};
    std::wstring buffer(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(window, buffer.data(), length + 1);
    buffer.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return narrow(buffer);
}

BOOL setWindowText(HWND window, const std::string& text) { return SetWindowTextW(window, widen(text).c_str()); }

BOOL setDlgItemText(HWND dialog, int id, const std::string& text) {
    return SetDlgItemTextW(dialog, id, widen(text).c_str());
}

namespace {

// The conversions of a system code page (CP_ACP or CP_OEMCP): only exact byte forms, no best fit.
std::string codePageToUtf8(UINT codePage, std::string_view bytes) {
    if (bytes.empty()) return {};
    if (bytes.size() > static_cast<std::size_t>(INT_MAX)) return {};
    const int size = static_cast<int>(bytes.size());
    const int length = MultiByteToWideChar(codePage, 0, bytes.data(), size, nullptr, 0);
    if (length <= 0) return {};
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(codePage, 0, bytes.data(), size, wide.data(), length);
    return narrow(wide);
}

std::optional<std::string> codePageFromUtf8(UINT codePage, std::string_view text) {
    if (text.empty()) return std::string();
    if (!isUtf8(text)) return std::nullopt;
    const std::wstring wide = widen(text);
    if (wide.size() > static_cast<std::size_t>(INT_MAX)) return std::nullopt;
    const int size = static_cast<int>(wide.size());
    // The flags and the default-character pointer the system's code page accepts; with UTF-8 as the system code
    // page every valid text converts exactly.
    const CodePageConversion how = conversionToCodePage(codePage == CP_OEMCP ? GetOEMCP() : GetACP());
    DWORD flags = 0;
    if (how.noBestFit) flags |= WC_NO_BEST_FIT_CHARS;
    if (how.errorOnInvalid) flags |= WC_ERR_INVALID_CHARS;
    BOOL usedDefault = FALSE;
    BOOL* usedDefaultFlag = how.reportsDefault ? &usedDefault : nullptr;
    const int length = WideCharToMultiByte(codePage, flags, wide.data(), size, nullptr, 0, nullptr, usedDefaultFlag);
    if (length <= 0 || usedDefault) return std::nullopt;
    std::string bytes(static_cast<std::size_t>(length), '\0');
    if (WideCharToMultiByte(codePage, flags, wide.data(), size, bytes.data(), length, nullptr, usedDefaultFlag) !=
        length)
        return std::nullopt;
    if (usedDefault) return std::nullopt;
    // Without a default-character report (and for best fits the flag cannot rule out) only reading the bytes
    // back shows whether the text came through unchanged.
    if (codePageToUtf8(codePage, bytes) != text) return std::nullopt;
    return bytes;
}

}  // namespace

std::string AnsiCodePage::toUtf8(std::string_view bytes) const { return codePageToUtf8(CP_ACP, bytes); }

std::optional<std::string> AnsiCodePage::fromUtf8(std::string_view text) const {
    return codePageFromUtf8(CP_ACP, text);
}

// IsDBCSLeadByteEx answers for the double-byte code pages only; for every other code page it is FALSE.
bool AnsiCodePage::isLeadByte(unsigned char byte) const { return IsDBCSLeadByteEx(GetACP(), byte) != FALSE; }

bool AnsiCodePage::isUtf8CodePage() const { return GetACP() == CP_UTF8; }

std::string OemCodePage::toUtf8(std::string_view bytes) const { return codePageToUtf8(CP_OEMCP, bytes); }

std::optional<std::string> OemCodePage::fromUtf8(std::string_view text) const {
    return codePageFromUtf8(CP_OEMCP, text);
}

bool OemCodePage::isLeadByte(unsigned char byte) const { return IsDBCSLeadByteEx(GetOEMCP(), byte) != FALSE; }

bool OemCodePage::isUtf8CodePage() const { return GetOEMCP() == CP_UTF8; }

}  // namespace brennic
