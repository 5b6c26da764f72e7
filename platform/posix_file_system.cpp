#include "platform/posix_file_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <string>
#include <vector>

#include "platform/byte_file_system.h"
#include "platform/failure.h"
#include "platform/path_names.h"
#include "platform/posix_errors.h"
#include "platform/posix_path.h"
#include "platform/posix_read_only.h"
#include "platform/posix_scoped_fd.h"

namespace platform {
namespace {

// A rename is on the disk only once the folder that holds the name is. File systems that cannot
// sync a folder (EINVAL) write their names through by themselves.
void SyncFolder(const std::string& nativeFolder) {
  ScopedFd folder(::open(nativeFolder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (!folder.valid()) ThrowErrno(errno, "cannot open the folder", nativeFolder);
  if (::fsync(folder.get()) != 0 && errno != EINVAL) {
    ThrowErrno(errno, "cannot write through the folder", nativeFolder);
  }
}

std::string NativeFolderOf(std::wstring_view path) {
  const std::wstring folder = ParentFolderName(path, PathStyle::kPosix);
  if (!folder.empty()) return ToNativePath(folder);
  return !path.empty() && (path[0] == L'/' || path[0] == L'\\') ? "/" : ".";
}

class PosixFileSystem final : public ByteFileSystem {
 public:
  bool FileExists(std::wstring_view path) override {
    try {
      struct stat info {};
      return ::stat(ToNativePath(path).c_str(), &info) == 0 && S_ISREG(info.st_mode);
    } catch (const Failure&) {
      return false;  // a name no file can have
    }
  }

  std::wstring GetParentFolderName(std::wstring_view path) override {
    return ParentFolderName(path, PathStyle::kPosix);
  }

  std::wstring GetAbsolutePathName(std::wstring_view path) override {
    std::vector<char> folder(PATH_MAX);
    while (::getcwd(folder.data(), folder.size()) == nullptr) {
      if (errno != ERANGE) ThrowErrno(errno, "cannot find the current folder", ".");
      folder.resize(folder.size() * 2);
    }
    return AbsolutePosixPath(FromNativePath(folder.data()), path);
  }

  void CreateFolder(std::wstring_view path) override {
    const std::string nativePath = ToNativePath(path);
    if (::mkdir(nativePath.c_str(), 0777) == 0) return;
    // A missing parent is a missing path, never a missing file.
    ThrowErrno(errno == ENOENT ? ENOTDIR : errno, "cannot create the folder", nativePath);
  }

  void DeleteFile(std::wstring_view path) override {
    const std::string nativePath = ToNativePath(path);
    struct stat info {};
    if (::lstat(nativePath.c_str(), &info) != 0) ThrowErrno(errno, "cannot find", nativePath);
    if (S_ISDIR(info.st_mode)) {
      throw Failure(kFileNotFound, "a folder, not a file: \"" + nativePath + "\"");
    }
    RefuseReadOnly(info, nativePath);
    if (::unlink(nativePath.c_str()) != 0) ThrowErrno(errno, "cannot delete", nativePath);
  }

  void ReplaceFile(std::wstring_view target, std::wstring_view replacement) override {
    const std::string to = ToNativePath(target);
    const std::string from = ToNativePath(replacement);
    struct stat info {};
    if (::lstat(to.c_str(), &info) == 0) {
      if (S_ISDIR(info.st_mode)) throw Failure(kPermissionDenied, "a folder: \"" + to + "\"");
      RefuseReadOnly(info, to);
    } else if (errno != ENOENT) {
      ThrowErrno(errno, "cannot examine", to);
    }
    if (::rename(from.c_str(), to.c_str()) != 0) ThrowErrno(errno, "cannot replace", to);
    const std::string folder = NativeFolderOf(target);
    SyncFolder(folder);
    if (const std::string other = NativeFolderOf(replacement); other != folder) SyncFolder(other);
  }
};

}  // namespace

std::unique_ptr<FileSystemObject> CreatePosixFileSystem() {
  return std::make_unique<PosixFileSystem>();
}

}  // namespace platform
