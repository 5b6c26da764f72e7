// The raw byte files beneath the text streams. Each platform implements OpenByteFile with its own
// handles; the buffered text stream and the INI reader sit on top and see only this interface, so
// that line splitting and the 8-bit mapping are written once. Calls are per buffer, not per line.
#pragma once

#include <cstddef>
#include <memory>
#include <string_view>

namespace platform {

class ByteChannel {
 public:
  virtual ~ByteChannel() = default;  // releases the channel quietly if Close was not called
  ByteChannel(const ByteChannel&) = delete;
  ByteChannel& operator=(const ByteChannel&) = delete;

  // Reads up to `capacity` bytes; 0 only at the end of the file.
  virtual std::size_t Read(char* buffer, std::size_t capacity) = 0;
  // Writes all `size` bytes or throws.
  virtual void Write(const char* data, std::size_t size) = 0;
  // Waits until what was written is on the disk itself, so that it survives a crash or a power
  // cut (FlushFileBuffers, fsync).
  virtual void Sync() = 0;
  // Releases the channel, reporting a failure to complete the last writes. The channel is released
  // even when this throws.
  virtual void Close() = 0;

 protected:
  ByteChannel() = default;
};

enum class FileAccess {
  kRead,
  kWrite,  // the file is emptied on opening
};

enum class FileDisposition {
  kOpenExisting,
  kOpenOrCreate,
  kCreateNew,  // fails with kFileAlreadyExists if anything is at the path, atomically
};

// Opens a regular file of the platform. Folders and devices are refused with kPermissionDenied,
// and so is opening a read-only file for writing, whatever the rights of the process.
std::unique_ptr<ByteChannel> OpenByteFile(std::wstring_view path, FileAccess access,
                                          FileDisposition disposition);

}  // namespace platform
