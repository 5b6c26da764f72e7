// POSIX byte files: the descriptor-level opening beneath the text streams.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <memory>
#include <string>
#include <utility>

#include "platform/byte_channel.h"
#include "platform/failure.h"
#include "platform/posix_errors.h"
#include "platform/posix_path.h"
#include "platform/posix_read_only.h"
#include "platform/posix_scoped_fd.h"

namespace platform {
namespace {

#ifdef __linux__
// How much a writer lets the cache hold before it asks the kernel to start writing it out.
constexpr off_t kWriteBehind = off_t{8} << 20;
#endif

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
      written_ += count;
    }
    StartWriteBehind();
  }

  // Starts the disk writing the file's bytes while later ones are still being made, so that the
  // flush before the replace waits for the last few megabytes only, not for the whole file.
  // Only a hint: a failure to write shows up at the flush, which does not depend on it.
  void StartWriteBehind() {
#ifdef __linux__
    if (written_ - kicked_ < kWriteBehind) return;
    ::sync_file_range(fd_.get(), kicked_, written_ - kicked_, SYNC_FILE_RANGE_WRITE);
    kicked_ = written_;
#endif
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
  off_t written_ = 0;  // bytes written through this channel, and where the write-behind stands
  off_t kicked_ = 0;
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

}  // namespace

std::unique_ptr<ByteChannel> OpenByteFile(std::wstring_view path, FileAccess access,
                                          FileDisposition disposition) {
  std::string nativePath = ToNativePath(path);
  ScopedFd fd = OpenPosixFile(nativePath, access, disposition);
  return std::make_unique<PosixByteFile>(std::move(fd), std::move(nativePath));
}

}  // namespace platform
