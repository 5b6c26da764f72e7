// The Win32 services' refusal of read-only files. Windows refuses to write, delete or replace such
// a file itself, but not every Win32 layer does (Wine run as root empties or replaces it), and the
// refusal must come before anything changes.
#pragma once

#include "platform/failure.h"
#include "platform/win32_headers.h"

namespace platform {

// Throws Failure(kPermissionDenied) for attributes that mark a read-only file; attributes that
// could not be had pass, and the operation itself then tells what is wrong.
inline void RefuseReadOnly(DWORD attributes) {
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
    throw Failure(kPermissionDenied, "the file is read-only");
  }
}

}  // namespace platform
