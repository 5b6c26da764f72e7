// A POSIX file descriptor with one owner.
#pragma once

#include <unistd.h>

#include <cerrno>

#include "platform/scoped_resource.h"

namespace platform {

struct FdTraits {
  using Handle = int;
  using Error = int;  // an errno value
  static int Invalid() { return -1; }
  static bool IsValid(int fd) { return fd >= 0; }
  // After EINTR the descriptor is closed already on Linux.
  static int Release(int fd) { return ::close(fd) == 0 || errno == EINTR ? 0 : errno; }
};

using ScopedFd = ScopedResource<FdTraits>;

}  // namespace platform
