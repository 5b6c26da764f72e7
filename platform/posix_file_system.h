// The file services on POSIX, for the native build and its tests.
#pragma once

#include <memory>

#include "platform/file_system_object.h"

namespace platform {

std::unique_ptr<FileSystemObject> CreatePosixFileSystem();

}  // namespace platform
