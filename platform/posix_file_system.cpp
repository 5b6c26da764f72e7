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
#include "platform/posix_byte_file.h"
#include "platform/posix_errors.h"
#include "platform/posix_path.h"

namespace platform {
namespace {

constexpr mode_t kAnyWriteBit = S_IWUSR | S_IWGRP | S_IWOTH;

// Copies in the kernel where it can, else through a buffer.
void CopyContents(int from, int to, const std::string& source, const std::string& destination) {
  bool kernelCopy = true;
  std::vector<char> buffer;
  for (;;) {
    if (kernelCopy) {
      const ssize_t copied = ::copy_file_range(from, nullptr, to, nullptr, std::size_t{1} << 30, 0);
      if (copied == 0) return;
      if (copied > 0) continue;
      if (errno == EINTR) continue;
      if (errno != EXDEV && errno != ENOSYS && errno != EINVAL && errno != EOPNOTSUPP &&
          errno != EPERM) {
        ThrowErrno(errno, "cannot copy to", destination);
      }
      kernelCopy = false;  // nothing was copied by the failed call: go on from here
      buffer.resize(std::size_t{1} << 20);
    }
    const ssize_t count = ::read(from, buffer.data(), buffer.size());
    if (count == 0) return;
    if (count < 0) {
      if (errno == EINTR) continue;
      ThrowErrno(errno, "cannot read", source);
    }
    for (ssize_t done = 0; done < count;) {
      const ssize_t written =
          ::write(to, buffer.data() + done, static_cast<std::size_t>(count - done));
      if (written < 0) {
        if (errno == EINTR) continue;
        ThrowErrno(errno, "cannot write", destination);
      }
      done += written;
    }
  }
}

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

  void CopyFile(std::wstring_view source, std::wstring_view destination, bool overwrite) override {
    const std::string from = ToNativePath(source);
    const std::string to = ToNativePath(destination);
    ScopedFd in = OpenPosixFile(from, FileAccess::kRead, FileDisposition::kOpenExisting);
    struct stat inInfo {};
    if (::fstat(in.get(), &inInfo) != 0) ThrowErrno(errno, "cannot examine", from);
    // Opened without emptying, so that a copy onto the source itself is seen before it is lost.
    ScopedFd out(::open(
        to.c_str(),
        O_WRONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK | O_CREAT | (overwrite ? 0 : O_EXCL), 0666));
    if (!out.valid()) ThrowErrno(errno, "cannot create", to);
    struct stat outInfo {};
    if (::fstat(out.get(), &outInfo) != 0) ThrowErrno(errno, "cannot examine", to);
    if (!S_ISREG(outInfo.st_mode) || (outInfo.st_mode & kAnyWriteBit) == 0) {
      throw Failure(kPermissionDenied, "cannot replace \"" + to + "\"");
    }
    if (outInfo.st_dev == inInfo.st_dev && outInfo.st_ino == inInfo.st_ino) {
      throw Failure(kPermissionDenied, "cannot copy \"" + from + "\" onto itself");
    }
    // Only a file with contents is emptied: ext4 takes any truncation to zero for a file being
    // replaced and writes it out on close, which made the close of a 200 MB copy wait 120 ms.
    if (outInfo.st_size != 0 && ::ftruncate(out.get(), 0) != 0) {
      ThrowErrno(errno, "cannot empty", to);
    }
    if (::fcntl(out.get(), F_SETFL, ::fcntl(out.get(), F_GETFL) & ~O_NONBLOCK) != 0) {
      ThrowErrno(errno, "cannot set up", to);
    }
    CopyContents(in.get(), out.get(), from, to);
    if (const int error = out.Close(); error != 0) ThrowErrno(error, "cannot close", to);
  }

  void DeleteFile(std::wstring_view path, bool force) override {
    const std::string nativePath = ToNativePath(path);
    struct stat info {};
    if (::lstat(nativePath.c_str(), &info) != 0) ThrowErrno(errno, "cannot find", nativePath);
    if (S_ISDIR(info.st_mode)) {
      throw Failure(kFileNotFound, "a folder, not a file: \"" + nativePath + "\"");
    }
    // unlink needs only the folder's permission; a read-only file is refused here, as it would be
    // on any platform, unless the deletion is forced.
    if (!force && !S_ISLNK(info.st_mode) && (info.st_mode & kAnyWriteBit) == 0) {
      throw Failure(kPermissionDenied, "the file is read-only: \"" + nativePath + "\"");
    }
    if (::unlink(nativePath.c_str()) != 0) ThrowErrno(errno, "cannot delete", nativePath);
  }

  void ReplaceFile(std::wstring_view target, std::wstring_view replacement) override {
    const std::string to = ToNativePath(target);
    const std::string from = ToNativePath(replacement);
    struct stat info {};
    if (::lstat(to.c_str(), &info) == 0) {
      if (S_ISDIR(info.st_mode)) throw Failure(kPermissionDenied, "a folder: \"" + to + "\"");
      // rename needs only the folder's permission; a read-only file is refused here, as it would
      // be on any platform.
      if (!S_ISLNK(info.st_mode) && (info.st_mode & kAnyWriteBit) == 0) {
        throw Failure(kPermissionDenied, "the file is read-only: \"" + to + "\"");
      }
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
