// The FileStore of the Windows program: whole-file reads and flushed writes through the kernel's file API.
#pragma once

#include "persist/file_store.h"

namespace brennic {

FileStore& win32FileStore();

}  // namespace brennic
