// The four double-byte ANSI code pages, each with its lead-byte ranges as GetCPInfo gives them and
// two of its characters whose second byte has the value of "[" or "]", for the tests and fuzzers of
// everything that searches 8-bit lines for brackets.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "platform/lead_bytes.h"

namespace test_support {

struct DoubleByteCodePage {
  const char* name;
  std::vector<platform::LeadBytes::Range> leadRanges;
  std::string open;   // a character whose second byte is 5B
  std::string close;  // a character whose second byte is 5D

  platform::LeadBytes LeadBytes() const { return platform::LeadBytes(leadRanges); }
};

inline void PrintTo(const DoubleByteCodePage& page, std::ostream* os) { *os << page.name; }

inline const DoubleByteCodePage kDoubleByteCodePages[] = {
    {"cp932", {{0x81, 0x9F}, {0xE0, 0xFC}}, "\x81[", "\x83]"},  // U+30FC, U+30BE
    {"cp936", {{0x81, 0xFE}}, "\x81[", "\x81]"},                // U+4E55, U+4E5A
    // No character of 949 ends in a bracket byte; a lead byte before one still takes it as its
    // second byte, as the code page's conversion does (one U+003F for the pair).
    {"cp949", {{0x81, 0xFE}}, "\xB0[", "\xB0]"},
    {"cp950", {{0x81, 0xFE}}, "\xA5[", "\xA4]"},  // U+52A0, U+4E5F
};

}  // namespace test_support
