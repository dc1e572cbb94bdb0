// Opening a file by its UTF-8 path.
#include "platform/files.h"

#ifdef _WIN32
#include <share.h>
#include <stdio.h>

#include "platform/text.h"
#endif

namespace brennic {

FilePointer openFile(const std::string& utf8Path, const char* mode) {
#ifdef _WIN32
    const std::u16string units = utf16FromUtf8(utf8Path);
    const std::wstring widePath(units.begin(), units.end());
    const std::string narrowMode(mode);
    const std::wstring wideMode(narrowMode.begin(), narrowMode.end());
    // Shared as fopen shares a file (_wfopen_s would lock it against every other reader).
    return FilePointer(_wfsopen(widePath.c_str(), wideMode.c_str(), _SH_DENYNO));
#else
    return FilePointer(std::fopen(utf8Path.c_str(), mode));
#endif
}

}  // namespace brennic
