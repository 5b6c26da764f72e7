#include "ui/file_dialog.h"

#include <gtest/gtest.h>

#include <string>

namespace ui {
namespace {

struct FilterCase {
  std::wstring filter;
  std::wstring expected;
};

class DialogFilterTest : public testing::TestWithParam<FilterCase> {};

TEST_P(DialogFilterTest, SplitsAtBarsKeepingBlanks) {
  EXPECT_EQ(DialogFilter(GetParam().filter), GetParam().expected);
}

using namespace std::string_literals;

INSTANTIATE_TEST_SUITE_P(
    Filters, DialogFilterTest,
    testing::Values(
        // The program's own filter: the blanks on both sides of "|" stay part of each half.
        FilterCase{kDlgSourceFilter, L"Standard Edition Projects (*.ipr) \0 *.ipr\0\0"s},
        FilterCase{L"A|*.a|B|*.b", L"A\0*.a\0B\0*.b\0\0"s}, FilterCase{L"", L"\0\0"s}));

}  // namespace
}  // namespace ui
