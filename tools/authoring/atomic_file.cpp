#include "atomic_file.h"

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace brennic::authoring {
namespace {

std::filesystem::path temporaryBeside(const std::filesystem::path& target) {
    static std::atomic<unsigned> counter{0};
    const auto stamp = static_cast<unsigned long long>(
        std::chrono::steady_clock::now().time_since_epoch().count());
    std::filesystem::path temporary = target;
    temporary += ".tmp" + std::to_string(stamp % 1000000007ull) + "-" + std::to_string(counter++);
    return temporary;
}

}  // namespace

std::filesystem::path filePath(std::string_view utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string utf8Name(const std::filesystem::path& path) {
    const std::u8string name = path.u8string();
    return std::string(name.begin(), name.end());
}

bool writeFileAtomically(const std::string& path, std::string_view bytes, std::string& problem) {
    const std::filesystem::path target = filePath(path);
    const std::filesystem::path temporary = temporaryBeside(target);
    {
        std::ofstream stream(temporary, std::ios::binary | std::ios::trunc);
        if (!stream) {
            problem = "cannot create " + utf8Name(temporary);
            return false;
        }
        stream.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        stream.close();
        if (!stream) {
            std::error_code ignored;
            std::filesystem::remove(temporary, ignored);
            problem = "cannot write " + utf8Name(temporary);
            return false;
        }
    }
    std::error_code error;
    std::filesystem::rename(temporary, target, error);
    if (error) {
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        problem = "cannot replace " + path + ": " + error.message();
        return false;
    }
    return true;
}

bool readWholeFile(const std::string& path, std::string& bytes, std::string& problem) {
    const std::filesystem::path file = filePath(path);
    std::error_code error;
    if (std::filesystem::is_directory(file, error)) {
        problem = "cannot read " + path + ": it is a folder";
        return false;
    }
    std::ifstream stream(file, std::ios::binary);
    if (!stream) {
        problem = "cannot open " + path;
        return false;
    }
    bytes.clear();
    char buffer[65536];
    while (stream.read(buffer, sizeof buffer) || stream.gcount() > 0) {
        bytes.append(buffer, static_cast<std::size_t>(stream.gcount()));
    }
    if (stream.bad()) {
        problem = "cannot read " + path;
        return false;
    }
    return true;
}

}  // namespace brennic::authoring
