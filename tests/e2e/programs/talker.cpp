// A console program that talks the way real ones do, for the run window's tests and benchmarks. Its arguments
// are steps, done in order:
//   say:TEXT      TEXT and a line end on standard output
//   utf8          a line of UTF-8 text (Latin, Cyrillic, a check mark)
//   oem           a line in the OEM code page's bytes ("Gr\x81\xe1e" is "Grüße" in code page 437 and 850)
//   progress      "\rWorking N%" from 0 to 100 on one line, then a line end
//   colour        a line with ANSI colour sequences around a word
//   mixed         three lines, alternately on standard output and standard error
//   child         starts a copy of itself that sleeps a minute, and prints "child pid N"
//   stdin         reads standard input to its end and prints "stdin: N bytes, end of input"
//   sleep:MS      waits
//   flood:MIB     writes MIB mebibytes of numbered text lines as fast as it can
//   exit:N        ends with exit code N
//   crash         ends with an access violation
// Output is written straight to the handles, unbuffered, so that it arrives as the steps happen.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

void write(DWORD which, const std::string& text) {
    HANDLE handle = GetStdHandle(which);
    DWORD written = 0;
    if (handle != nullptr && handle != INVALID_HANDLE_VALUE && !text.empty())
        WriteFile(handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

void out(const std::string& text) { write(STD_OUTPUT_HANDLE, text); }

bool startsWith(const char* text, const char* prefix) { return std::strncmp(text, prefix, std::strlen(prefix)) == 0; }

void startChild() {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring line = L"\"" + std::wstring(self) + L"\" sleep:60000";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &startup,
                        &info)) {
        out("child not started\n");
        return;
    }
    out("child pid " + std::to_string(info.dwProcessId) + "\n");
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
}

void readInput() {
    HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    char buffer[4096];
    unsigned long long total = 0;
    DWORD got = 0;
    while (input != nullptr && input != INVALID_HANDLE_VALUE && ReadFile(input, buffer, sizeof buffer, &got, nullptr) &&
           got > 0)
        total += got;
    out("stdin: " + std::to_string(total) + " bytes, end of input\n");
}

void flood(unsigned long long mebibytes) {
    const unsigned long long total = mebibytes << 20;
    std::string block;
    block.reserve(70 * 1024);
    unsigned long long sent = 0, line = 0;
    while (sent < total) {
        block.clear();
        while (block.size() < 64 * 1024) {
            char text[96];
            const int length = std::snprintf(text, sizeof text, "line %llu: the quick brown fox jumps over the lazy dog\n",
                                             ++line);
            block.append(text, static_cast<std::size_t>(length));
        }
        if (block.size() > total - sent) block.resize(static_cast<std::size_t>(total - sent));
        out(block);
        sent += block.size();
    }
}

}  // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const char* step = argv[i];
        if (startsWith(step, "say:")) {
            out(std::string(step + 4) + "\n");
        } else if (std::strcmp(step, "utf8") == 0) {
            out("Gr\xC3\xBC\xC3\x9F" "e \xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82 \xE2\x9C\x93\n");
        } else if (std::strcmp(step, "oem") == 0) {
            out("Gr\x81\xE1" "e\n");
        } else if (std::strcmp(step, "progress") == 0) {
            for (int percent = 0; percent <= 100; percent += 20) {
                out("\rWorking " + std::to_string(percent) + "%");
                Sleep(30);
            }
            out("\n");
        } else if (std::strcmp(step, "colour") == 0) {
            out("\x1b[1;31mred\x1b[0m and plain\n");
        } else if (std::strcmp(step, "mixed") == 0) {
            out("out one\n");
            write(STD_ERROR_HANDLE, "err two\n");
            out("out three\n");
        } else if (std::strcmp(step, "child") == 0) {
            startChild();
        } else if (std::strcmp(step, "stdin") == 0) {
            readInput();
        } else if (startsWith(step, "sleep:")) {
            Sleep(static_cast<DWORD>(std::strtoul(step + 6, nullptr, 10)));
        } else if (startsWith(step, "flood:")) {
            flood(std::strtoull(step + 6, nullptr, 10));
        } else if (startsWith(step, "exit:")) {
            return static_cast<int>(std::strtol(step + 5, nullptr, 10));
        } else if (std::strcmp(step, "crash") == 0) {
            RaiseException(EXCEPTION_ACCESS_VIOLATION, EXCEPTION_NONCONTINUABLE, 0, nullptr);
        } else {
            write(STD_ERROR_HANDLE, std::string("unknown step ") + step + "\n");
            return 2;
        }
    }
    return 0;
}
