#include "upgrade/mark_restoring_writer.h"

#include <string>

#include "platform/failure.h"

namespace upgrade {

std::string_view MarkRestoringWriter::ReadLineBytes() {
  throw platform::Failure(platform::kBadFileMode, "the text stream is for writing");
}

// The writer serves one line of the source, so copying the few lines written through it costs
// little.
void MarkRestoringWriter::WriteLineBytes(std::string_view bytes) {
  std::string line(markWritten_ ? std::string_view() : platform::kUtf8Mark);
  markWritten_ = true;
  writer_.WriteLineBytes(line.append(bytes));
}

void MarkRestoringWriter::WriteBlankLines(int count) {
  if (!markWritten_ && count > 0) {
    WriteLineBytes({});
    --count;
  }
  writer_.WriteBlankLines(count);
}

}  // namespace upgrade
