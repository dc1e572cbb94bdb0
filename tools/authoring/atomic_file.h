// Replacing a file as a whole: the bytes go to a temporary file in the same folder, which is then renamed over
// the target, so readers and a failed write never see a partial file.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace brennic::authoring {

// File names are UTF-8 inside the tools. These convert at the file system's edge, so that a name in any script
// opens on Windows too (where the narrow interfaces would take it as bytes in the ANSI code page).
std::filesystem::path filePath(std::string_view utf8);
std::string utf8Name(const std::filesystem::path& path);

// Writes `bytes` to `path` atomically. Returns false and sets `problem` when it fails; the target is then
// untouched and no temporary file is left behind.
bool writeFileAtomically(const std::string& path, std::string_view bytes, std::string& problem);

// Reads a whole file. Returns false and sets `problem` when it cannot be opened or read.
bool readWholeFile(const std::string& path, std::string& bytes, std::string& problem);

}  // namespace brennic::authoring
