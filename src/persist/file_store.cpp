// Whole-file writes that never leave a file half written.
#include "persist/file_store.h"

namespace brennic {

bool writeFileAtomically(FileStore& files, const std::string& path, const std::string& bytes) {
    const std::string temporary = path + ".tmp";
    if (files.writeNew(temporary, bytes) && files.replace(temporary, path)) return true;
    files.remove(temporary);
    return false;
}

}  // namespace brennic
