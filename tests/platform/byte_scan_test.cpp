#include "platform/byte_scan.h"

#include <gtest/gtest.h>

#include <string>

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
