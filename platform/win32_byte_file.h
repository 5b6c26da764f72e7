// Win32 byte files: the handle-level opening shared by the text streams and the file services.
#pragma once

#include <string>

#include "platform/byte_channel.h"
#include "platform/win32_scoped_handle.h"

namespace platform {

// Opens a regular file as OpenByteFile describes; `win32Path` is ready for Win32 calls (see
// ToWin32Path) and `path` is the caller's, for messages. Readers and writers let others read.
ScopedHandle OpenWin32File(const std::wstring& win32Path, std::wstring_view path, FileAccess access,
                           FileDisposition disposition);

}  // namespace platform
