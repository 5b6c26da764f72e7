#include "upgrade/mark_restoring_writer.h"

#include <string>

#include "platform/byte_order_mark.h"
#include "platform/failure.h"

namespace upgrade {

void MarkRestoringWriter::ReadLine(std::wstring& /*line*/) {
  throw platform::Failure(platform::kBadFileMode, "the text stream is for writing");
}

// The writer serves one line of the source, so copying the few lines written through it costs
// little.
void MarkRestoringWriter::WriteLine(std::wstring_view text) {
  std::wstring line(markWritten_ ? std::wstring_view() : platform::kUtf8MarkCharacters);
  markWritten_ = true;
  writer_.WriteLine(line.append(text));
}

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
