// Opening a file by its UTF-8 path with <cstdio>: the wide open on Windows, where the narrow one takes the
// ANSI code page and turns every other character into '?'.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

namespace brennic {

struct FileCloser {
    void operator()(std::FILE* file) const {
        if (file != nullptr) std::fclose(file);
    }
};
using FilePointer = std::unique_ptr<std::FILE, FileCloser>;

// nullptr when the file cannot be opened. mode is a plain fopen mode ("rb", "wb").
FilePointer openFile(const std::string& utf8Path, const char* mode);
// The same, and on failure `error` is the errno value the open left (0 on success), for saying why.
FilePointer openFile(const std::string& utf8Path, const char* mode, int& error);

// The length of an open file in bytes; 0 when it cannot be told. Leaves the file at its start.
std::uint64_t fileSize(std::FILE* file);

// True when the path names a folder.
bool isFolder(const std::string& utf8Path);

}  // namespace brennic
