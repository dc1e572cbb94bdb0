#include "console_win32.h"

#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <iostream>
#include <memory>

#include "console_output.h"
#include "platform/text.h"

namespace brennic::vxtool {

namespace {

class ConsoleBuffer final : public WholeCharacterBuffer {
public:
    explicit ConsoleBuffer(HANDLE console) : console_(console) {}

protected:
    void write(std::string_view text) override {
        const std::u16string wide = utf16FromUtf8(text);
        // Older consoles refuse very long writes; a few thousand units at a time always pass.
        constexpr std::size_t kUnits = 8192;
        for (std::size_t at = 0; at < wide.size(); at += kUnits) {
            const std::size_t units = std::min(kUnits, wide.size() - at);
            DWORD written = 0;
            WriteConsoleW(console_, reinterpret_cast<const wchar_t*>(wide.data() + at), static_cast<DWORD>(units),
                          &written, nullptr);
        }
    }

private:
    HANDLE console_;
};

// The stream's buffer replaced by a console buffer when the handle is a console.
struct Redirection {
    std::ostream* stream = nullptr;
    std::streambuf* previous = nullptr;
    std::unique_ptr<ConsoleBuffer> buffer;

    Redirection(std::ostream& target, DWORD handleId) {
        const HANDLE handle = GetStdHandle(handleId);
        DWORD mode = 0;
        if (handle == nullptr || handle == INVALID_HANDLE_VALUE || !GetConsoleMode(handle, &mode)) return;
        target.flush();
        stream = &target;
        buffer = std::make_unique<ConsoleBuffer>(handle);
        previous = target.rdbuf(buffer.get());
    }
    ~Redirection() {
        if (stream == nullptr) return;
        stream->flush();
        buffer->finish();
        stream->rdbuf(previous);
    }
    Redirection(const Redirection&) = delete;
    Redirection& operator=(const Redirection&) = delete;
};

}  // namespace

struct ConsoleStreams::State {
    Redirection out{std::cout, STD_OUTPUT_HANDLE};
    Redirection err{std::cerr, STD_ERROR_HANDLE};
};

ConsoleStreams::ConsoleStreams() : state_(std::make_unique<State>()) {}

ConsoleStreams::~ConsoleStreams() = default;

std::vector<std::string> wideCommandLineArguments() {
    std::vector<std::string> arguments;
    int count = 0;
    LPWSTR* words = CommandLineToArgvW(GetCommandLineW(), &count);
    if (words == nullptr) return arguments;
    for (int i = 0; i < count; ++i) {
        const std::wstring_view word(words[i]);
        arguments.push_back(utf8FromUtf16(std::u16string_view(reinterpret_cast<const char16_t*>(word.data()),
                                                               word.size())));
    }
    LocalFree(words);
    return arguments;
}

}  // namespace brennic::vxtool
