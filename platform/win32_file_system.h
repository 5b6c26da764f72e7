// The file services on Win32, for the program and its tests under Windows.
#pragma once

#include <memory>

#include "platform/file_system_object.h"

namespace platform {

std::unique_ptr<FileSystemObject> CreateWin32FileSystem();

}  // namespace platform
