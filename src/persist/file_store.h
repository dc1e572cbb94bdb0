// Whole-file access for the save file, behind an interface so the format logic runs without a disk.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace brennic {

class FileStore {
public:
    virtual ~FileStore() = default;
    // The file's first `limit` bytes (all of a smaller file), or nothing when it cannot be opened or read.
    virtual std::optional<std::string> read(const std::string& path, std::size_t limit) = 0;
    // Creates the file or empties an existing one, writes all bytes, flushes them and closes the file.
    // False when any of these steps fails.
    virtual bool writeNew(const std::string& path, const std::string& bytes) = 0;
    // Moves `from` over `to` in one step, replacing `to` when it exists.
    virtual bool replace(const std::string& from, const std::string& to) = 0;
    virtual bool remove(const std::string& path) = 0;
};

// Writes the bytes to `<path>.tmp`, flushes them and moves that file over `path` in one step; on failure the
// previous file is left as it was and the temporary file is removed.
bool writeFileAtomically(FileStore& files, const std::string& path, const std::string& bytes);

}  // namespace brennic
