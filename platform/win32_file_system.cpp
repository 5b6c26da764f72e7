#include "platform/win32_file_system.h"

#include <algorithm>
#include <memory>
#include <utility>

#include "platform/buffered_text_stream.h"
#include "platform/byte_file_system.h"
#include "platform/failure.h"
#include "platform/path_names.h"
#include "platform/scoped_win32.h"
#include "platform/win32_headers.h"

namespace platform {
namespace {

// --- Errors ------------------------------------------------------------------------------------

// The path for a message: the characters of 8-bit text as they are, others as "?".
std::string Printable(std::wstring_view path) {
  std::string text;
  text.reserve(path.size());
  for (const wchar_t c : path) text += c < 0x80 ? static_cast<char>(c) : '?';
  return text;
}

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

// Windows refuses to write, delete or replace a read-only file itself, but not every Win32 layer
// does (Wine run as root empties or replaces it), and the refusal must come before anything
// changes. Attributes that could not be had pass, and the operation itself then tells what is
// wrong.
void RefuseReadOnly(DWORD attributes) {
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
    throw Failure(kPermissionDenied, "the file is read-only");
  }
}

// --- Paths -------------------------------------------------------------------------------------

// CreateDirectoryW stops short of MAX_PATH to leave room for an 8.3 name: the lowest limit of
// the calls we make.
constexpr std::size_t kClassicLimit = MAX_PATH - 12;

bool StartsWith(std::wstring_view text, std::wstring_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

// --- Byte files --------------------------------------------------------------------------------

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
  if (!handle.valid()) {
    DWORD error = ::GetLastError();
    if (disposition == FileDisposition::kCreateNew) {
      const DWORD folder =
          ::GetFileAttributesW(ParentFolderName(win32Path, PathStyle::kWindows).c_str());
      error = CreateNewError(
          error, folder != INVALID_FILE_ATTRIBUTES && (folder & FILE_ATTRIBUTE_DIRECTORY) != 0);
    }
    ThrowWin32Error(error, "cannot open", path);
  }
  if (::GetFileType(handle.get()) != FILE_TYPE_DISK) {
    throw Failure(kPermissionDenied, "not a file: a device");
  }
  if (access == FileAccess::kWrite && !::SetEndOfFile(handle.get())) {
    ThrowWin32Error(::GetLastError(), "cannot empty", path);
  }
  return handle;
}

// --- File services -----------------------------------------------------------------------------

// A new name is on the disk once the folder that holds it is flushed: a flush writes a handle's
// metadata too, and a folder's handle is one it takes (NtFlushBuffersFileEx documents directory
// handles). The flush needs write or append access, so the handle asks for just the right that
// adding the name took, FILE_ADD_FILE or FILE_ADD_SUBDIRECTORY, and is never refused where the name
// could be made (users may make folders at the root of a system drive, not files). A file system
// that refuses to flush a folder as unsupported writes its names as it does by itself.
void WriteThroughFolderOf(const std::wstring& win32Path, std::wstring_view path, DWORD addRight) {
  const std::wstring folder = FolderHoldingName(win32Path, PathStyle::kWindows);
  const ScopedHandle handle(::CreateFileW(
      folder.c_str(), addRight, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
      OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!handle.valid()) ThrowWin32Error(::GetLastError(), "cannot open the folder of", path);
  if (!::FlushFileBuffers(handle.get())) {
    const DWORD error = ::GetLastError();
    if (error != ERROR_INVALID_FUNCTION && error != ERROR_NOT_SUPPORTED) {
      ThrowWin32Error(error, "cannot write through the folder of", path);
    }
  }
}

// How long a replace waits for a file that another program holds: a virus scanner or an indexer
// lets go of a file it has just seen well within this.
constexpr DWORD kHoldBudgetMs = 1000;
constexpr DWORD kFirstWaitMs = 10;

bool IsPassingHold(DWORD error) {
  return error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED ||
         error == ERROR_LOCK_VIOLATION;
}

class Win32FileSystem final : public ByteFileSystem {
 public:
  bool FileExists(std::wstring_view path) override {
    try {
      // Opened, not just looked up, so that device names such as NUL or CON, which have
      // attributes wherever they are named, count as the devices they are.
      const ScopedHandle handle(
          ::CreateFileW(ToWin32Path(path).c_str(), FILE_READ_ATTRIBUTES,
                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                        OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
      if (!handle.valid() || ::GetFileType(handle.get()) != FILE_TYPE_DISK) return false;
      BY_HANDLE_FILE_INFORMATION info{};
      return ::GetFileInformationByHandle(handle.get(), &info) &&
             (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
    } catch (const Failure&) {
      return false;  // a name no file can have
    }
  }

  std::wstring GetParentFolderName(std::wstring_view path) override {
    return ParentFolderName(path, PathStyle::kWindows);
  }

  std::wstring GetAbsolutePathName(std::wstring_view path) override {
    return FullPathName(path.empty() ? std::wstring_view(L".") : path);
  }

  void CreateFolder(std::wstring_view path) override {
    const std::wstring folder = ToWin32Path(path);
    if (!::CreateDirectoryW(folder.c_str(), nullptr)) {
      const DWORD error = ::GetLastError();
      // A missing parent is a missing path, never a missing file.
      ThrowWin32Error(error == ERROR_FILE_NOT_FOUND ? ERROR_PATH_NOT_FOUND : error,
                      "cannot create the folder", path);
    }
    WriteThroughFolderOf(folder, path, FILE_ADD_SUBDIRECTORY);
  }

  void DeleteFile(std::wstring_view path) override {
    const std::wstring target = ToWin32Path(path);
    const DWORD attributes = ::GetFileAttributesW(target.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
      ThrowWin32Error(::GetLastError(), "cannot find", path);
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
      throw Failure(kFileNotFound, "a folder, not a file");
    }
    RefuseReadOnly(attributes);
    if (!::DeleteFileW(target.c_str())) ThrowWin32Error(::GetLastError(), "cannot delete", path);
  }

  void ReplaceFile(std::wstring_view target, std::wstring_view replacement) override {
    const std::wstring to = ToWin32Path(target);
    const std::wstring from = ToWin32Path(replacement);
    // Checked first: a refusal then never waits, and no Win32 layer replaces such a file anyway.
    if (const DWORD attributes = ::GetFileAttributesW(to.c_str());
        attributes != INVALID_FILE_ATTRIBUTES) {
      if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        throw Failure(kPermissionDenied, "the target is a folder");
      }
      RefuseReadOnly(attributes);
    }
    DWORD waited = 0;
    for (DWORD wait = kFirstWaitMs;; wait *= 2) {
      if (::MoveFileExW(from.c_str(), to.c_str(),
                        MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return;
      }
      const DWORD error = ::GetLastError();
      if (!IsPassingHold(error) || waited >= kHoldBudgetMs) {
        ThrowWin32Error(error, "cannot replace", target);
      }
      wait = std::min(wait, kHoldBudgetMs - waited);
      ::Sleep(wait);
      waited += wait;
    }
  }

 protected:
  void WriteThroughNameOf(std::wstring_view filePath) override {
    WriteThroughFolderOf(ToWin32Path(filePath), filePath, FILE_ADD_FILE);
  }
};

}  // namespace

std::uint32_t CreateNewError(std::uint32_t error, bool folderExists) {
  const bool notFound = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
  return notFound && folderExists ? ERROR_ACCESS_DENIED : error;
}

void ThrowWin32Error(std::uint32_t error, std::string_view action, std::wstring_view path) {
  std::string detail(action);
  detail += " \"" + Printable(path) + "\": Win32 error " + std::to_string(error);
  throw Failure(ErrorNumberFromWin32Error(error), std::move(detail));
}

std::wstring FullPathName(std::wstring_view path) {
  if (path.empty() || path.find(L'\0') != std::wstring_view::npos) {
    throw Failure(kPathNotFound, "not a path");
  }
  const std::wstring input(path);
  std::wstring full(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length =
        ::GetFullPathNameW(input.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (length == 0) ThrowWin32Error(::GetLastError(), "cannot resolve", path);
    if (length < full.size()) {
      full.resize(length);
      return full;
    }
    full.resize(length);  // the size needed, terminator included
  }
}

std::wstring ToWin32Path(std::wstring_view path) {
  if (StartsWith(path, L"\\\\?\\")) return std::wstring(path);
  std::wstring full = FullPathName(path);
  if (full.size() < kClassicLimit || StartsWith(full, L"\\\\.\\") || StartsWith(full, L"\\\\?\\")) {
    return full;
  }
  if (StartsWith(full, L"\\\\")) return L"\\\\?\\UNC\\" + full.substr(2);
  return L"\\\\?\\" + full;
}

std::unique_ptr<ByteChannel> OpenByteFile(std::wstring_view path, FileAccess access,
                                          FileDisposition disposition) {
  ScopedHandle handle = OpenWin32File(ToWin32Path(path), path, access, disposition);
  return std::make_unique<Win32ByteFile>(std::move(handle), std::wstring(path));
}

std::unique_ptr<FileSystemObject> CreatePlatformFileSystem() {
  return std::make_unique<Win32FileSystem>();
}

}  // namespace platform
