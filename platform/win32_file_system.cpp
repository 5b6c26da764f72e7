#include "platform/win32_file_system.h"

#include <algorithm>

#include "platform/byte_file_system.h"
#include "platform/failure.h"
#include "platform/path_names.h"
#include "platform/win32_errors.h"
#include "platform/win32_headers.h"
#include "platform/win32_path.h"
#include "platform/win32_read_only.h"
#include "platform/win32_scoped_handle.h"

namespace platform {
namespace {

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
    if (::CreateDirectoryW(ToWin32Path(path).c_str(), nullptr)) return;
    const DWORD error = ::GetLastError();
    // A missing parent is a missing path, never a missing file.
    ThrowWin32Error(error == ERROR_FILE_NOT_FOUND ? ERROR_PATH_NOT_FOUND : error,
                    "cannot create the folder", path);
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
};

}  // namespace

std::unique_ptr<FileSystemObject> CreateWin32FileSystem() {
  return std::make_unique<Win32FileSystem>();
}

}  // namespace platform
