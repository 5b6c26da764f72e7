#include "platform/win32_errors.h"

#include "platform/failure.h"
#include "platform/win32_headers.h"

namespace platform {
namespace {

// The path for a message: the characters of 8-bit text as they are, others as "?".
std::string Printable(std::wstring_view path) {
  std::string text;
  text.reserve(path.size());
  for (const wchar_t c : path) text += c < 0x80 ? static_cast<char>(c) : '?';
  return text;
}

}  // namespace

std::int32_t ErrorNumberFromWin32Error(std::uint32_t error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
      return kFileNotFound;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_DIRECTORY:
      return kPathNotFound;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_WRITE_PROTECT:
    case ERROR_NETWORK_ACCESS_DENIED:
      return kPermissionDenied;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
      return kFileAlreadyExists;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return kDiskFull;
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
      return kOutOfMemory;
    default:
      return kPathFileAccessError;
  }
}

void ThrowWin32Error(std::uint32_t error, std::string_view action, std::wstring_view path) {
  std::string detail(action);
  detail += " \"" + Printable(path) + "\": Win32 error " + std::to_string(error);
  throw Failure(ErrorNumberFromWin32Error(error), std::move(detail));
}

}  // namespace platform
