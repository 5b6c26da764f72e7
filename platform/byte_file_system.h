// What the file services of every platform share: text files are buffered text streams on the
// platform's byte files, and temporary names come from one source.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/file_system_object.h"
#include "platform/temp_name.h"

namespace platform {

class ByteFileSystem : public FileSystemObject {
 public:
  std::wstring GetTempName() override;
  std::unique_ptr<TextStream> OpenTextFile(std::wstring_view path, IoMode mode,
                                           bool create) override;
  std::unique_ptr<TextStream> CreateTextFile(std::wstring_view path) override;

 private:
  TempNameSource tempNames_;
};

}  // namespace platform
