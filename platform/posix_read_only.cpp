#include "platform/posix_read_only.h"

#include "platform/failure.h"

namespace platform {

void RefuseReadOnly(const struct stat& info, const std::string& nativePath) {
  constexpr mode_t kAnyWriteBit = S_IWUSR | S_IWGRP | S_IWOTH;
  if (!S_ISLNK(info.st_mode) && (info.st_mode & kAnyWriteBit) == 0) {
    throw Failure(kPermissionDenied, "the file is read-only: \"" + nativePath + "\"");
  }
}

}  // namespace platform
