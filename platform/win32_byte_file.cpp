// Win32 byte files: the handle-level opening beneath the text streams.
#include <algorithm>
#include <memory>
#include <string>
#include <utility>

#include "platform/byte_channel.h"
#include "platform/failure.h"
#include "platform/win32_errors.h"
#include "platform/win32_path.h"
#include "platform/win32_read_only.h"
#include "platform/win32_scoped_handle.h"

namespace platform {
namespace {

// ReadFile and WriteFile count in DWORDs.
constexpr std::size_t kMaxTransfer = std::size_t{1} << 30;

class Win32ByteFile final : public ByteChannel {
 public:
  Win32ByteFile(ScopedHandle handle, std::wstring path)
      : handle_(std::move(handle)), path_(std::move(path)) {}

  std::size_t Read(char* buffer, std::size_t capacity) override {
    DWORD count = 0;
    const auto wanted = static_cast<DWORD>(std::min(capacity, kMaxTransfer));
    if (!::ReadFile(handle_.get(), buffer, wanted, &count, nullptr)) {
      ThrowWin32Error(::GetLastError(), "cannot read", path_);
    }
    return count;
  }

  void Write(const char* data, std::size_t size) override {
    while (size != 0) {
      DWORD count = 0;
      const auto wanted = static_cast<DWORD>(std::min(size, kMaxTransfer));
      if (!::WriteFile(handle_.get(), data, wanted, &count, nullptr)) {
        ThrowWin32Error(::GetLastError(), "cannot write", path_);
      }
      if (count == 0) ThrowWin32Error(ERROR_DISK_FULL, "cannot write", path_);
      data += count;
      size -= count;
    }
  }

  void Sync() override {
    if (!::FlushFileBuffers(handle_.get())) {
      ThrowWin32Error(::GetLastError(), "cannot write through", path_);
    }
  }

  void Close() override {
    if (const DWORD error = handle_.Close(); error != 0) {
      ThrowWin32Error(error, "cannot close", path_);
    }
  }

 private:
  ScopedHandle handle_;
  std::wstring path_;
};

DWORD Disposition(FileDisposition disposition) {
  switch (disposition) {
    case FileDisposition::kOpenExisting:
      return OPEN_EXISTING;
    case FileDisposition::kOpenOrCreate:
      return OPEN_ALWAYS;  // emptied below: CREATE_ALWAYS would refuse a hidden file
    case FileDisposition::kCreateNew:
      return CREATE_NEW;
  }
  return OPEN_EXISTING;
}

DWORD DesiredAccess(FileAccess access) {
  switch (access) {
    case FileAccess::kRead:
      return GENERIC_READ;
    case FileAccess::kWrite:
      return GENERIC_WRITE;
  }
  return GENERIC_READ;
}

// Opens a regular file as OpenByteFile describes; `win32Path` is ready for Win32 calls (see
// ToWin32Path) and `path` is the caller's, for messages. Readers and writers let others read.
ScopedHandle OpenWin32File(const std::wstring& win32Path, std::wstring_view path, FileAccess access,
                           FileDisposition disposition) {
  if (access == FileAccess::kWrite) RefuseReadOnly(::GetFileAttributesW(win32Path.c_str()));
  ScopedHandle handle(::CreateFileW(win32Path.c_str(), DesiredAccess(access), FILE_SHARE_READ,
                                    nullptr, Disposition(disposition),
                                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!handle.valid()) ThrowWin32Error(::GetLastError(), "cannot open", path);
  if (::GetFileType(handle.get()) != FILE_TYPE_DISK) {
    throw Failure(kPermissionDenied, "not a file: a device");
  }
  if (access == FileAccess::kWrite && !::SetEndOfFile(handle.get())) {
    ThrowWin32Error(::GetLastError(), "cannot empty", path);
  }
  return handle;
}

}  // namespace

std::unique_ptr<ByteChannel> OpenByteFile(std::wstring_view path, FileAccess access,
                                          FileDisposition disposition) {
  ScopedHandle handle = OpenWin32File(ToWin32Path(path), path, access, disposition);
  return std::make_unique<Win32ByteFile>(std::move(handle), std::wstring(path));
}

}  // namespace platform
