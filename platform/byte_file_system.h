// What the file services of every platform share: text files are buffered text streams on the
// platform's byte files (OpenByteFile), a file opened for writing with create has its name written
// through by the platform, and temporary names come from one source.
#pragma once

#include <memory>
#include <random>
#include <string>
#include <string_view>

#include "platform/file_system_object.h"

namespace platform {

// Fresh names for temporary files: "bu" followed by 8 hexadecimal digits and ".tmp".
class TempNameSource {
 public:
  TempNameSource();
  std::wstring Next();

 private:
  std::mt19937_64 random_;
};

class ByteFileSystem : public FileSystemObject {
 public:
  std::wstring GetTempName() override { return tempNames_.Next(); }
  std::unique_ptr<TextStream> OpenTextFile(std::wstring_view path, IoMode mode,
                                           bool create) override;
  std::unique_ptr<TextStream> CreateTextFile(std::wstring_view path) override;

 protected:
  // Writes through the folder that holds the file at the path, so that its name is on the disk.
  virtual void WriteThroughNameOf(std::wstring_view filePath) = 0;

 private:
  TempNameSource tempNames_;
};

}  // namespace platform
