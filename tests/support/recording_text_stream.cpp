#include "tests/support/recording_text_stream.h"

#include "platform/failure.h"

namespace upgrade_test {

void RecordingTextStream::ReadLine(std::wstring&) {
  throw platform::Failure(platform::kInputPastEndOfFile, "a recording stream has nothing to read");
}

void RecordingTextStream::WriteBlankLines(int count) {
  for (int i = 0; i < count; ++i) lines.emplace_back();
}

}  // namespace upgrade_test
