#include "tests/support/recording_text_stream.h"

#include "platform/failure.h"

namespace test_support {

std::string_view RecordingTextStream::ReadLineBytes() {
  throw platform::Failure(platform::kInputPastEndOfFile, "a recording stream has nothing to read");
}

void RecordingTextStream::WriteBlankLines(int count) {
  for (int i = 0; i < count; ++i) lines.emplace_back();
}

}  // namespace test_support
