#include "platform/file_system_object.h"

#ifdef _WIN32
#include "platform/win32_file_system.h"
#else
#include "platform/posix_file_system.h"
#endif

namespace platform {

std::unique_ptr<FileSystemObject> CreatePlatformFileSystem() {
#ifdef _WIN32
  return CreateWin32FileSystem();
#else
  return CreatePosixFileSystem();
#endif
}

}  // namespace platform
