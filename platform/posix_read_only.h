// The POSIX services' refusal of read-only files. unlink and rename need only the permission of
// the folder, and a process that may write anything opens a read-only file for writing all the
// same, so the services look at the mode bits themselves, as every platform refuses such a file.
#pragma once

#include <sys/stat.h>

#include <string>

namespace platform {

// Throws Failure(kPermissionDenied) for a file that grants no one the right to write it. A
// symbolic link passes: its own mode bits mean nothing.
void RefuseReadOnly(const struct stat& info, const std::string& nativePath);

}  // namespace platform
