#include "platform/byte_file_system.h"

#include <chrono>
#include <cstdint>

#include "platform/buffered_text_stream.h"
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

TempNameSource::TempNameSource() {
  // The device alone may be a fixed sequence on some runtimes; the clock makes two programs
  // started together differ anyway.
  std::random_device device;
  const auto now = static_cast<std::uint64_t>(
      std::chrono::high_resolution_clock::now().time_since_epoch().count());
  std::seed_seq seed{device(), device(), static_cast<std::uint32_t>(now),
                     static_cast<std::uint32_t>(now >> 32)};
  random_.seed(seed);
}

std::wstring TempNameSource::Next() {
  static constexpr wchar_t kDigits[] = L"0123456789abcdef";
  std::uint32_t value = static_cast<std::uint32_t>(random_());
  std::wstring name = L"bu########.tmp";
  for (std::size_t i = 9; i >= 2; --i, value >>= 4) name[i] = kDigits[value & 0xF];
  return name;
}

std::unique_ptr<TextStream> ByteFileSystem::OpenTextFile(std::wstring_view path, IoMode mode,
                                                         bool create) {
  const FileDisposition disposition =
      create ? FileDisposition::kOpenOrCreate : FileDisposition::kOpenExisting;
  switch (mode) {
    case IoMode::ForReading:
      return OpenStream(path, FileAccess::kRead, disposition);
    case IoMode::ForWriting: {
      std::unique_ptr<TextStream> writer = OpenStream(path, FileAccess::kWrite, disposition);
      if (create) WriteThroughNameOf(path);
      return writer;
    }
  }
  throw Failure(kInvalidProcedureCall, "unknown opening mode");
}

std::unique_ptr<TextStream> ByteFileSystem::CreateTextFile(std::wstring_view path) {
  return OpenStream(path, FileAccess::kWrite, FileDisposition::kCreateNew);
}

}  // namespace platform
