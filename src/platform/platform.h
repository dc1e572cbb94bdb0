// The small interfaces through which the core reaches the platform. The Win32 layer implements them;
// tests fake them. Flag and result values are the platform's own numbers, so the core states exactly what
// a message box or a shell call receives.
#pragma once

#include <cstdint>
#include <string>

namespace brennic {

// Message box styles and answers.
inline constexpr unsigned kMbOk = 0x0;
inline constexpr unsigned kMbOkCancel = 0x1;
inline constexpr unsigned kMbYesNo = 0x4;
inline constexpr unsigned kMbIconError = 0x10;
inline constexpr unsigned kMbIconQuestion = 0x20;
inline constexpr unsigned kMbIconExclamation = 0x30;
inline constexpr unsigned kMbIconInformation = 0x40;
inline constexpr unsigned kMbDefButton2 = 0x100;
inline constexpr unsigned kMbSystemModal = 0x1000;
inline constexpr int kIdOk = 1;
inline constexpr int kIdYes = 6;
inline constexpr int kIdNo = 7;

// Show commands.
inline constexpr int kSwHide = 0;
inline constexpr int kSwShowNormal = 1;
inline constexpr int kSwShow = 5;

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // A box modal to the main window (kMbSystemModal adds only topmost); returns the answer.
    virtual int show(const std::string& text, const std::string& caption, unsigned style) = 0;
    virtual void beep(unsigned type) = 0;
};

// One ShellExecuteA call: no owner window; an empty verb or directory means none.
struct ShellRequest {
    std::string verb;
    std::string file;
    std::string parameters;
    std::string directory;
    int showCommand = kSwShowNormal;
    bool operator==(const ShellRequest&) const = default;
};

class Shell {
public:
    virtual ~Shell() = default;
    // Returns the shell's result: 32 or below means failure.
    virtual std::intptr_t execute(const ShellRequest& request) = 0;
};

}  // namespace brennic
