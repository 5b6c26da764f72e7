#include "platform/byte_file_system.h"

#include "platform/buffered_text_stream.h"
#include "platform/byte_channel.h"
#include "platform/failure.h"

namespace platform {
namespace {

std::unique_ptr<TextStream> OpenStream(std::wstring_view path, FileAccess access,
                                       FileDisposition disposition) {
  const auto direction = access == FileAccess::kRead ? BufferedTextStream::Direction::kRead
                                                     : BufferedTextStream::Direction::kWrite;
  return std::make_unique<BufferedTextStream>(OpenByteFile(path, access, disposition), direction,
                                              BufferedTextStream::kDefaultBufferSize,
                                              kMaxLineLength);
}

}  // namespace

std::wstring ByteFileSystem::GetTempName() { return tempNames_.Next(); }

std::unique_ptr<TextStream> ByteFileSystem::OpenTextFile(std::wstring_view path, IoMode mode,
                                                         bool create) {
  const FileDisposition disposition =
      create ? FileDisposition::kOpenOrCreate : FileDisposition::kOpenExisting;
  switch (mode) {
    case IoMode::ForReading:
      return OpenStream(path, FileAccess::kRead, disposition);
    case IoMode::ForWriting:
      return OpenStream(path, FileAccess::kWrite, disposition);
  }
  throw Failure(kInvalidProcedureCall, "unknown opening mode");
}

std::unique_ptr<TextStream> ByteFileSystem::CreateTextFile(std::wstring_view path) {
  return OpenStream(path, FileAccess::kWrite, FileDisposition::kCreateNew);
}

}  // namespace platform
