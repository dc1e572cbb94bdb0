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
    bool write(std::string_view text) override {
        const std::u16string wide = utf16FromUtf8(text);
        // Older consoles refuse very long writes; a few thousand units at a time always pass.
        constexpr std::size_t kUnits = 8192;
        return writeInPieces(wide, kUnits, [this](std::u16string_view piece) -> std::size_t {
            DWORD written = 0;
            if (!WriteConsoleW(console_, reinterpret_cast<const wchar_t*>(piece.data()),
                               static_cast<DWORD>(piece.size()), &written, nullptr))
                return 0;
            return written;
        });
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
    ~Redirection() { end(); }
    // Hands on what is held back and gives the stream its own buffer again; false when a write failed.
    bool end() {
        if (stream == nullptr) return true;
        stream->flush();
        const bool written = !stream->bad() && buffer->finish();
        stream->rdbuf(previous);
        stream = nullptr;
        return written;
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

bool ConsoleStreams::finish() {
    const bool out = state_->out.end();
    const bool err = state_->err.end();
    return out && err;
}

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
