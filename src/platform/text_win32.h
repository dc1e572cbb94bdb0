// Text conversions at the Win32 edge: the core's UTF-8 to the wide interfaces' UTF-16 and back, window texts,
// and the system's ANSI code page for stored files written before texts were Unicode.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "platform/text.h"

namespace brennic {

std::wstring widen(std::string_view utf8);
std::string narrow(std::wstring_view wide);
std::string narrow(const wchar_t* wide);  // a zero-terminated text; nullptr gives ""

// The whole text of a window or control, and setting it (SetWindowTextW).
std::string windowText(HWND window);
BOOL setWindowText(HWND window, const std::string& text);
BOOL setDlgItemText(HWND dialog, int id, const std::string& text);

// The system's ANSI code page (CP_ACP). A text converts to it only when every character has an exact byte
// form there: no best-fit replacements, no default character.
class AnsiCodePage : public CodePage {
public:
    std::string toUtf8(std::string_view bytes) const override;
    std::optional<std::string> fromUtf8(std::string_view text) const override;
    bool isLeadByte(unsigned char byte) const override;
    bool isUtf8CodePage() const override;
};

// The system's OEM code page (CP_OEMCP): what console programs write by default. Converts like AnsiCodePage.
class OemCodePage : public CodePage {
public:
    std::string toUtf8(std::string_view bytes) const override;
    std::optional<std::string> fromUtf8(std::string_view text) const override;
    bool isLeadByte(unsigned char byte) const override;
    bool isUtf8CodePage() const override;
};

}  // namespace brennic
