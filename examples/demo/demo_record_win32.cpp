// Windows side of brennic-demo: the command line, its arguments and the working directory exactly as the
// system holds them, as UTF-8. The arguments are split by the usual Windows rules (CommandLineToArgvW).
#include <windows.h>
#include <shellapi.h>

#include "demo_record.h"

namespace brennic::demo {

namespace {

std::string utf8Of(const wchar_t* text, int length = -1) {
    if (text == nullptr || length == 0) return {};
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
    if (size <= 0) return {};
    std::string out(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, length, out.data(), size, nullptr, nullptr);
    if (length < 0) out.pop_back();  // the terminating zero
    return out;
}

}  // namespace

Invocation currentInvocation(int, char**) {
    Invocation invocation;
    invocation.commandLine = utf8Of(GetCommandLineW());
    const DWORD needed = GetCurrentDirectoryW(0, nullptr);
    if (needed > 0) {
        std::wstring directory(needed, L'\0');
        const DWORD length = GetCurrentDirectoryW(needed, directory.data());
        invocation.workingDirectory = utf8Of(directory.c_str(), length < needed ? static_cast<int>(length) : 0);
    }
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    for (int i = 0; arguments != nullptr && i < count; ++i) invocation.arguments.push_back(utf8Of(arguments[i]));
    if (arguments != nullptr) LocalFree(arguments);
    return invocation;
}

}  // namespace brennic::demo
