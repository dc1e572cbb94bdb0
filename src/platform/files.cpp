// Opening a file by its UTF-8 path.
#include "platform/files.h"

#ifdef _WIN32
#include <wchar.h>

#include "platform/text.h"
#endif

namespace brennic {

FilePointer openFile(const std::string& utf8Path, const char* mode) {
#ifdef _WIN32
    const std::u16string units = utf16FromUtf8(utf8Path);
    const std::wstring widePath(units.begin(), units.end());
    const std::string narrowMode(mode);
    const std::wstring wideMode(narrowMode.begin(), narrowMode.end());
    return FilePointer(_wfopen(widePath.c_str(), wideMode.c_str()));
#else
    return FilePointer(std::fopen(utf8Path.c_str(), mode));
#endif
}

}  // namespace brennic
