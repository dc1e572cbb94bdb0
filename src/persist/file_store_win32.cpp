// Whole-file access over CreateFileW, with flushed writes and a replacing move.
#include "persist/file_store_win32.h"

#include <windows.h>

#include <algorithm>

#include "platform/text_win32.h"

namespace brennic {

namespace {

class Win32FileStore : public FileStore {
public:
    std::optional<std::string> read(const std::string& path, std::size_t limit) override {
        HANDLE file = CreateFileW(widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) return std::nullopt;
        std::string bytes;
        char chunk[4096];
        bool ok = true;
        while (bytes.size() < limit) {
            const std::size_t wanted = std::min(sizeof chunk, limit - bytes.size());
            DWORD got = 0;
            if (!ReadFile(file, chunk, static_cast<DWORD>(wanted), &got, nullptr)) {
                ok = false;
                break;
            }
            if (got == 0) break;
            bytes.append(chunk, got);
        }
        CloseHandle(file);
        if (!ok) return std::nullopt;
        return bytes;
    }

    bool writeNew(const std::string& path, const std::string& bytes) override {
        HANDLE file = CreateFileW(widen(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) return false;
        bool ok = true;
        std::size_t done = 0;
        while (ok && done < bytes.size()) {
            const std::size_t part = std::min<std::size_t>(bytes.size() - done, 1u << 20);
            DWORD written = 0;
            ok = WriteFile(file, bytes.data() + done, static_cast<DWORD>(part), &written, nullptr) && written > 0;
            done += written;
        }
        ok = ok && FlushFileBuffers(file);
        ok = CloseHandle(file) && ok;
        return ok;
    }

    bool replace(const std::string& from, const std::string& to) override {
        return MoveFileExW(widen(from).c_str(), widen(to).c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
    }

    bool remove(const std::string& path) override { return DeleteFileW(widen(path).c_str()) != 0; }
};

}  // namespace

FileStore& win32FileStore() {
    static Win32FileStore store;
    return store;
}

}  // namespace brennic
