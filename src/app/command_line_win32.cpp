// The process's command line for start-up.
#include "app/command_line_win32.h"

#include <optional>
#include <string>

#include <windows.h>
#include <shellapi.h>

#include "app/command_line.h"
#include "platform/text_win32.h"

namespace brennic {

namespace {

std::optional<std::string> fullPathOf(const std::string& name) {
    wchar_t buffer[MAX_PATH];
    const DWORD length = GetFullPathNameW(widen(name).c_str(), MAX_PATH, buffer, nullptr);
    if (length == 0 || length >= MAX_PATH) return std::nullopt;
    return narrow(std::wstring_view(buffer, length));
}

}  // namespace

// The buffer grows until the name fits (a cut name comes back as a full buffer, ERROR_INSUFFICIENT_BUFFER on
// newer systems).
std::optional<std::string> ownFilePath() {
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD size = static_cast<DWORD>(buffer.size());
        SetLastError(ERROR_SUCCESS);
        const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), size);
        if (length == 0) return std::nullopt;
        if (length < size && GetLastError() != ERROR_INSUFFICIENT_BUFFER) {
            buffer.resize(length);
            return narrow(buffer);
        }
        if (buffer.size() >= 32768) return std::nullopt;  // longer than any path the system accepts
        buffer.resize(buffer.size() * 2);
    }
}

StartupCommandLine readCommandLine() {
    // Only the platform's count of the command line is used; the split runs on its UTF-8 text.
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (arguments != nullptr) LocalFree(arguments);
    const StartupPaths paths = startupPaths(narrow(GetCommandLineW()), count, fullPathOf, ownFilePath());
    StartupCommandLine result;
    result.tokens.push_back(paths.programPath);
    // A command line that cannot be split gives no config path: loading then fails as for a missing file.
    result.tokens.push_back(paths.configPath.value_or(std::string()));
    return result;
}

}  // namespace brennic
