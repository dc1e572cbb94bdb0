// Opening a file by its UTF-8 path.
#include "platform/files.h"

#include <cerrno>

#include <sys/stat.h>
#include <sys/types.h>

#ifdef _WIN32
#include <share.h>
#include <stdio.h>

#include "platform/text.h"
#endif

namespace brennic {

#ifdef _WIN32
namespace {

std::wstring widePathOf(const std::string& utf8Path) {
    const std::u16string units = utf16FromUtf8(utf8Path);
    return std::wstring(units.begin(), units.end());
}

}  // namespace
#endif

FilePointer openFile(const std::string& utf8Path, const char* mode) {
#ifdef _WIN32
    const std::wstring widePath = widePathOf(utf8Path);
    const std::string narrowMode(mode);
    const std::wstring wideMode(narrowMode.begin(), narrowMode.end());
    // Shared as fopen shares a file (_wfopen_s would lock it against every other reader).
    return FilePointer(_wfsopen(widePath.c_str(), wideMode.c_str(), _SH_DENYNO));
#else
    return FilePointer(std::fopen(utf8Path.c_str(), mode));
#endif
}

FilePointer openFile(const std::string& utf8Path, const char* mode, int& error) {
    errno = 0;
    FilePointer file = openFile(utf8Path, mode);
    error = file ? 0 : errno;
    return file;
}

std::uint64_t fileSize(std::FILE* file) {
#ifdef _WIN32
    if (_fseeki64(file, 0, SEEK_END) != 0) return 0;
    const long long end = _ftelli64(file);
    _fseeki64(file, 0, SEEK_SET);
#else
    if (fseeko(file, 0, SEEK_END) != 0) return 0;
    const off_t end = ftello(file);
    fseeko(file, 0, SEEK_SET);
#endif
    return end < 0 ? 0 : static_cast<std::uint64_t>(end);
}

bool isFolder(const std::string& utf8Path) {
    if (utf8Path.empty()) return false;
#ifdef _WIN32
    struct _stat64 info {};
    if (_wstat64(widePathOf(utf8Path).c_str(), &info) != 0) return false;
    return (info.st_mode & _S_IFDIR) != 0;
#else
    struct stat info {};
    if (stat(utf8Path.c_str(), &info) != 0) return false;
    return S_ISDIR(info.st_mode);
#endif
}

}  // namespace brennic
