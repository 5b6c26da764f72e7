// POSIX byte files: the descriptor-level opening beneath the text streams.
#pragma once

#include <string>

#include "platform/byte_channel.h"
#include "platform/posix_scoped_fd.h"

namespace platform {

// Opens a regular file by its UTF-8 path as OpenByteFile describes. A write opening checks the
// mode bits itself before it empties the file, so that a read-only file stays untouched even for
// a process that may write anything.
ScopedFd OpenPosixFile(const std::string& nativePath, FileAccess access,
                       FileDisposition disposition);

}  // namespace platform
