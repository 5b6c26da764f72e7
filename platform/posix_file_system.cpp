#include "platform/posix_file_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <memory>
#include <utility>
#include <vector>

#include "platform/buffered_text_stream.h"
#include "platform/byte_file_system.h"
#include "platform/failure.h"
#include "platform/path_names.h"
#include "platform/scoped_resource.h"

namespace platform {
namespace {

// --- Errors ------------------------------------------------------------------------------------

bool ParentFolderExists(const std::string& nativePath) {
  std::string_view path = nativePath;
  while (!path.empty() && path.back() == '/') path.remove_suffix(1);
  const std::size_t slash = path.rfind('/');
  const std::string parent(slash == std::string_view::npos
                               ? std::string_view(".")
                               : path.substr(0, slash == 0 ? 1 : slash));
  struct stat info {};
  return ::stat(parent.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// ENOENT is kFileNotFound when the folder that should hold the entry exists, else kPathNotFound.
std::int32_t ErrorNumberFromErrno(int error, bool parentFolderExists) {
  switch (error) {
    case ENOENT:
      return parentFolderExists ? kFileNotFound : kPathNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
      return kPathNotFound;
    case EEXIST:
      return kFileAlreadyExists;
    case EACCES:
    case EPERM:
    case EROFS:
    case ETXTBSY:
    case EISDIR:
    case EBUSY:
      return kPermissionDenied;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
      return kDiskFull;
    case ENOMEM:
      return kOutOfMemory;
    default:
      return kPathFileAccessError;
  }
}

// unlink and rename need only the permission of the folder, and a process that may write anything
// opens a read-only file for writing all the same, so the services look at the mode bits
// themselves, as every platform refuses such a file. A symbolic link passes: its own mode bits
// mean nothing.
void RefuseReadOnly(const struct stat& info, const std::string& nativePath) {
  constexpr mode_t kAnyWriteBit = S_IWUSR | S_IWGRP | S_IWOTH;
  if (!S_ISLNK(info.st_mode) && (info.st_mode & kAnyWriteBit) == 0) {
    throw Failure(kPermissionDenied, "the file is read-only: \"" + nativePath + "\"");
  }
}

// --- Paths -------------------------------------------------------------------------------------

constexpr char32_t kEscapeFirst = 0xDC80;
constexpr char32_t kEscapeLast = 0xDCFF;
void AppendUtf8(char32_t c, std::string& out) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// The length of the well-formed UTF-8 sequence at the start of `bytes` and its character, or 0.
std::size_t DecodeUtf8(std::string_view bytes, char32_t& c) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
  const unsigned char lead = byte(0);
  std::size_t length = 0;
  char32_t minimum = 0;
  if (lead < 0x80) {
    c = lead;
    return 1;
  } else if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, c = lead & 0x1F, minimum = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, c = lead & 0x0F, minimum = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, c = lead & 0x07, minimum = 0x10000;
  } else {
    return 0;
  }
  if (bytes.size() < length) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(i) & 0xC0) != 0x80) return 0;
    c = (c << 6) | (byte(i) & 0x3F);
  }
  const bool surrogate = c >= 0xD800 && c <= 0xDFFF;
  return c < minimum || c > 0x10FFFF || surrogate ? 0 : length;
}

// --- Byte files --------------------------------------------------------------------------------

struct FdTraits {
  using Handle = int;
  using Error = int;  // an errno value
  static int Invalid() { return -1; }
  static bool IsValid(int fd) { return fd >= 0; }
  // After EINTR the descriptor is closed already on Linux.
  static int Release(int fd) { return ::close(fd) == 0 || errno == EINTR ? 0 : errno; }
};

using ScopedFd = ScopedResource<FdTraits>;

class PosixByteFile final : public ByteChannel {
 public:
  PosixByteFile(ScopedFd fd, std::string nativePath)
      : fd_(std::move(fd)), nativePath_(std::move(nativePath)) {}

  std::size_t Read(char* buffer, std::size_t capacity) override {
    for (;;) {
      const ssize_t count = ::read(fd_.get(), buffer, capacity);
      if (count >= 0) return static_cast<std::size_t>(count);
      if (errno != EINTR) ThrowErrno(errno, "cannot read", nativePath_);
    }
  }

  void Write(const char* data, std::size_t size) override {
    while (size != 0) {
      const ssize_t count = ::write(fd_.get(), data, size);
      if (count < 0) {
        if (errno == EINTR) continue;
        ThrowErrno(errno, "cannot write", nativePath_);
      }
      data += count;
      size -= static_cast<std::size_t>(count);
    }
  }

  void Sync() override {
    if (::fsync(fd_.get()) != 0) ThrowErrno(errno, "cannot write through", nativePath_);
  }

  void Close() override {
    if (const int error = fd_.Close(); error != 0) ThrowErrno(error, "cannot close", nativePath_);
  }

 private:
  ScopedFd fd_;
  std::string nativePath_;
};

int OpenFlags(FileAccess access, FileDisposition disposition) {
  int flags = O_CLOEXEC | O_NOCTTY | O_NONBLOCK;  // no blocking open on a FIFO; cleared below
  flags |= access == FileAccess::kRead ? O_RDONLY : O_WRONLY;
  if (disposition == FileDisposition::kOpenOrCreate) flags |= O_CREAT;
  if (disposition == FileDisposition::kCreateNew) flags |= O_CREAT | O_EXCL;
  return flags;
}

// Opens a regular file by its UTF-8 path as OpenByteFile describes. A write opening checks the
// mode bits itself before it empties the file, so that a read-only file stays untouched even for
// a process that may write anything.
ScopedFd OpenPosixFile(const std::string& nativePath, FileAccess access,
                       FileDisposition disposition) {
  ScopedFd fd(::open(nativePath.c_str(), OpenFlags(access, disposition), 0666));
  if (!fd.valid()) ThrowErrno(errno, "cannot open", nativePath);
  struct stat info {};
  if (::fstat(fd.get(), &info) != 0) ThrowErrno(errno, "cannot examine", nativePath);
  if (!S_ISREG(info.st_mode)) {
    throw Failure(kPermissionDenied, "not a regular file: \"" + nativePath + "\"");
  }
  if (access != FileAccess::kRead) RefuseReadOnly(info, nativePath);
  if (::fcntl(fd.get(), F_SETFL, ::fcntl(fd.get(), F_GETFL) & ~O_NONBLOCK) != 0) {
    ThrowErrno(errno, "cannot set up", nativePath);
  }
  if (access == FileAccess::kWrite && info.st_size != 0 && ::ftruncate(fd.get(), 0) != 0) {
    ThrowErrno(errno, "cannot empty", nativePath);
  }
  return fd;
}

// --- File services -----------------------------------------------------------------------------

// A new name or a rename is on the disk only once the folder that holds the name is. File systems
// that cannot sync a folder (EINVAL) write their names through by themselves.
void SyncFolder(const std::string& nativeFolder) {
  ScopedFd folder(::open(nativeFolder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (!folder.valid()) ThrowErrno(errno, "cannot open the folder", nativeFolder);
  if (::fsync(folder.get()) != 0 && errno != EINVAL) {
    ThrowErrno(errno, "cannot write through the folder", nativeFolder);
  }
}

std::string NativeFolderOf(std::wstring_view path) {
  const std::wstring folder = FolderHoldingName(path, PathStyle::kPosix);
  return folder.empty() ? "." : ToNativePath(folder);
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
    if (::mkdir(nativePath.c_str(), 0777) != 0) {
      // A missing parent is a missing path, never a missing file.
      ThrowErrno(errno == ENOENT ? ENOTDIR : errno, "cannot create the folder", nativePath);
    }
    SyncFolder(NativeFolderOf(path));
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

 protected:
  void WriteThroughNameOf(std::wstring_view filePath) override {
    SyncFolder(NativeFolderOf(filePath));
  }
};

}  // namespace

void ThrowErrno(int error, std::string_view action, const std::string& nativePath) {
  const bool parentExists = error == ENOENT && ParentFolderExists(nativePath);
  std::string detail(action);
  detail += " \"" + nativePath + "\": " + std::strerror(error);
  throw Failure(ErrorNumberFromErrno(error, parentExists), std::move(detail));
}

std::string ToNativePath(std::wstring_view path) {
  std::string out;
  out.reserve(path.size());
  for (std::size_t i = 0; i < path.size(); ++i) {
    char32_t c = static_cast<std::uint32_t>(path[i]);
    if constexpr (sizeof(wchar_t) == 2) {
      // UTF-16: join a surrogate pair; a lone one is left for the checks below.
      if (c >= 0xD800 && c <= 0xDBFF && i + 1 < path.size()) {
        const char32_t low = static_cast<std::uint32_t>(path[i + 1]);
        if (low >= 0xDC00 && low <= 0xDFFF) {
          c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
          ++i;
        }
      }
    }
    if (c >= kEscapeFirst && c <= kEscapeLast) {
      out += static_cast<char>(c - 0xDC00);
    } else if (c == 0 || (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) {
      throw Failure(kPathNotFound, "the path has a character no file name can hold");
    } else {
      AppendUtf8(c == U'\\' ? U'/' : c, out);
    }
  }
  return out;
}

std::wstring FromNativePath(std::string_view bytes) {
  std::wstring out;
  out.reserve(bytes.size());
  while (!bytes.empty()) {
    char32_t c = 0;
    std::size_t length = DecodeUtf8(bytes, c);
    if (length == 0) {
      c = 0xDC00 + static_cast<unsigned char>(bytes[0]);
      length = 1;
    }
    if (sizeof(wchar_t) == 2 && c >= 0x10000) {
      out += static_cast<wchar_t>(0xD800 + ((c - 0x10000) >> 10));
      out += static_cast<wchar_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
      out += static_cast<wchar_t>(c);
    }
    bytes.remove_prefix(length);
  }
  return out;
}

std::unique_ptr<ByteChannel> OpenByteFile(std::wstring_view path, FileAccess access,
                                          FileDisposition disposition) {
  std::string nativePath = ToNativePath(path);
  ScopedFd fd = OpenPosixFile(nativePath, access, disposition);
  return std::make_unique<PosixByteFile>(std::move(fd), std::move(nativePath));
}

std::unique_ptr<FileSystemObject> CreatePlatformFileSystem() {
  return std::make_unique<PosixFileSystem>();
}

}  // namespace platform
