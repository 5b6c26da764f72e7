#include "platform/byte_scan.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace {

// Every length around the 16-byte blocks, with the two bytes at every place, alone and together:
// a block or the overlapping rest that is skipped or misplaced shows as a byte not seen.
TEST(WhichBytesOccur, SeesEachByteWhereverItLies) {
  for (std::size_t size = 0; size <= 50; ++size) {
    const std::string plain(size, 'x');
    EXPECT_EQ(platform::WhichBytesOccur(plain, '[', ']'), 0u) << "size " << size;
    for (std::size_t at = 0; at < size; ++at) {
      std::string one = plain;
      one[at] = '[';
      EXPECT_EQ(platform::WhichBytesOccur(one, '[', ']'), 1u) << "size " << size << " at " << at;
      one[at] = ']';
      EXPECT_EQ(platform::WhichBytesOccur(one, '[', ']'), 2u) << "size " << size << " at " << at;
      for (std::size_t other = 0; other < size; ++other) {
        if (other == at) continue;
        std::string both = plain;
        both[at] = ']';
        both[other] = '[';
        EXPECT_EQ(platform::WhichBytesOccur(both, '[', ']'), 3u)
            << "size " << size << " at " << at << " and " << other;
      }
    }
  }
}

// Only the view's own bytes count, not those of the text around it.
TEST(WhichBytesOccur, LooksOnlyInsideTheView) {
  const std::string text = "[" + std::string(40, 'x') + "]";
  for (std::size_t size = 0; size <= 40; ++size) {
    EXPECT_EQ(platform::WhichBytesOccur(std::string_view(text).substr(1, size), '[', ']'), 0u)
        << "size " << size;
  }
}

// Bytes above 0x7F are bytes like any other, not signed values that compare wrongly.
TEST(WhichBytesOccur, HighBytesAreSearchedForAndNotConfused) {
  const std::string text = std::string(20, '\x7F') + "\xFF" + std::string(5, '\x80');
  EXPECT_EQ(platform::WhichBytesOccur(text, '\xFF', '\x80'), 3u);
  EXPECT_EQ(platform::WhichBytesOccur(text, '\xFE', '\x81'), 0u);
}

}  // namespace

// Where a run of CR LF lines holding neither bracket must stop, and where it ends, the plain way.
std::size_t PlainRunStop(std::string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool afterCr = i > 0 && text[i - 1] == '\r';
    if (text[i] == '[' || text[i] == ']' || afterCr != (text[i] == '\n')) return i;
  }
  return text.size();
}

std::size_t PlainRunEnd(std::string_view text) {
  std::size_t end = 0;
  for (std::size_t at = 0;;) {
    const std::size_t lineEnd = text.find_first_of("\r\n[]", at);
    if (lineEnd == std::string_view::npos || text.substr(lineEnd, 2) != "\r\n") return end;
    at = end = lineEnd + 2;
  }
}

// The stop and the end, each as an offset in the text.
std::pair<std::size_t, std::size_t> ScannedRun(std::string_view text) {
  const platform::LineRunBounds run =
      platform::FindLineRun(text.data(), text.data() + text.size(), '[', ']');
  return {static_cast<std::size_t>(run.stop - text.data()),
          static_cast<std::size_t>(run.end - text.data())};
}

std::pair<std::size_t, std::size_t> PlainRun(std::string_view text) {
  return {PlainRunStop(text), PlainRunEnd(text)};
}

// CR LF lines whose CRs fall on every offset of the 64-byte rounds (each line moves the next CR on
// by 17 bytes), some longer than a round, with high bytes among them.
std::string CrLfLines() {
  std::string text;
  for (std::size_t line = 0; line < 64; ++line) {
    const std::size_t length = line % 3 == 0 ? 79 : 15;
    for (std::size_t i = 0; i < length; ++i) text.push_back(static_cast<char>(0x80 + (i % 64)));
    text += "\r\n";
  }
  return text;
}

TEST(FindLineRun, EndsBeforeTheFirstLineThatIsNotAPlainCrLfLine) {
  const std::string lines = CrLfLines();
  for (std::size_t size = 0; size <= lines.size(); ++size) {
    const std::string_view cut = std::string_view(lines).substr(0, size);
    ASSERT_EQ(ScannedRun(cut), PlainRun(cut)) << "the first " << size << " bytes";
  }
  // Each kind of line that ends a run, at every place, and read from a few starting points.
  for (std::size_t at = 0; at < lines.size(); ++at) {
    for (const char* kind : {"[", "]", "lone CR", "lone LF"}) {
      std::string text = lines;
      if (kind[1] == '\0') {
        text[at] = kind[0];
      } else if (text[at] == '\r') {
        text[kind[5] == 'C' ? at + 1 : at] = 'x';
      } else {
        continue;
      }
      for (const std::size_t from : {std::size_t{0}, std::size_t{17}}) {
        const std::string_view view = std::string_view(text).substr(std::min(from, at));
        ASSERT_EQ(ScannedRun(view), PlainRun(view)) << kind << " at " << at << " from " << from;
      }
    }
  }
}
