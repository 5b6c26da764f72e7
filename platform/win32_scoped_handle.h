// A Win32 kernel handle with one owner.
#pragma once

#include "platform/scoped_resource.h"
#include "platform/win32_headers.h"

namespace platform {

struct HandleTraits {
  using Handle = HANDLE;
  using Error = DWORD;  // a GetLastError value
  static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
  // Win32 functions return either value for "no handle".
  static bool IsValid(HANDLE handle) { return handle != INVALID_HANDLE_VALUE && handle != nullptr; }
  static DWORD Release(HANDLE handle) { return ::CloseHandle(handle) ? 0 : ::GetLastError(); }
};

using ScopedHandle = ScopedResource<HandleTraits>;

}  // namespace platform
