// The classification of version values into the codes that decide what the run does.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "upgrade/project_version.h"

namespace upgrade_test {
namespace {

struct VersionCase {
  std::wstring text;
  std::optional<std::int32_t> code;  // nullopt: the conversion fails
};

void PrintTo(const VersionCase& c, std::ostream* os) {
  *os << '"';
  for (wchar_t ch : c.text) {
    if (ch >= 0x20 && ch < 0x7f) {
      *os << static_cast<char>(ch);
    } else {
      *os << "\\u" << std::hex << static_cast<unsigned>(ch) << std::dec;
    }
  }
  *os << "\" -> " << (c.code ? std::to_string(*c.code) : std::string("fails"));
}

class ClassifyVersionTextTest : public testing::TestWithParam<VersionCase> {};

TEST_P(ClassifyVersionTextTest, GivesCode) {
  EXPECT_EQ(upgrade::ClassifyVersionText(GetParam().text), GetParam().code);
}

INSTANTIATE_TEST_SUITE_P(Table, ClassifyVersionTextTest,
                         testing::Values(VersionCase{L"1.00.000", 0}, VersionCase{L"1.10.000", 1},
                                         VersionCase{L"1.20.000", 2}, VersionCase{L"1.90.000", 2},
                                         VersionCase{L"2.00.000", 3}, VersionCase{L"2.10.000", 4},
                                         VersionCase{L"2.50.000", 5}, VersionCase{L"3.00.000", 6},
                                         VersionCase{L"0.90.000", 6}, VersionCase{L"9.99.999", 6},
                                         VersionCase{L"1.00", 0}, VersionCase{L"1x0.000", 0},
                                         VersionCase{L"1x1y", 1}, VersionCase{L"2.1", -1}));

INSTANTIATE_TEST_SUITE_P(ThreeCharactersOrFewerAreOlder, ClassifyVersionTextTest,
                         testing::Values(VersionCase{L"", -1}, VersionCase{L"5", -1},
                                         VersionCase{L"1.0", -1}, VersionCase{L"abc", -1},
                                         VersionCase{L"x", -1}, VersionCase{L"\u0661.0", -1}));

INSTANTIATE_TEST_SUITE_P(
    NonDigitsFail, ClassifyVersionTextTest,
    testing::Values(VersionCase{L"10.0.000", std::nullopt}, VersionCase{L"x.00.000", std::nullopt},
                    VersionCase{L"3.x0.000", std::nullopt}, VersionCase{L" 1.00.000", std::nullopt},
                    VersionCase{L"1. 0.000", std::nullopt}, VersionCase{L"abcd", std::nullopt},
                    // Digits of other scripts and the 8-bit superscripts are not digits here.
                    VersionCase{L"\u0661.00.000", std::nullopt},
                    VersionCase{L"1.\u0660.000", std::nullopt},
                    VersionCase{L"\uff11.00.000", std::nullopt},
                    VersionCase{L"\u00b9.00.000", std::nullopt},
                    VersionCase{L"1.\u00b2.000", std::nullopt},
                    VersionCase{std::wstring(L"1.\0.000", 7), std::nullopt}));

}  // namespace
}  // namespace upgrade_test
