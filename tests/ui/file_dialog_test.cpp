#include "ui/file_dialog.h"

#include <gtest/gtest.h>

#include <cderr.h>

#include <string>
#include <vector>

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

// One press of Browse against a dialog that answers each opening as scripted: 0 for a cancel, an
// error, or kChoose for a choice of kChosen.
constexpr DWORD kChoose = ~DWORD{0};
constexpr wchar_t kChosen[] = L"C:\\Chosen\\Sample.ipr";

struct FallbackCase {
  std::wstring fieldText;
  std::vector<DWORD> answers;
  std::vector<std::wstring> openedWith;
  FileDialogResult expected;
};

class FallbackTest : public testing::TestWithParam<FallbackCase> {};

TEST_P(FallbackTest, RejectedNameOpensTheDialogEmptyOnce) {
  const FallbackCase& c = GetParam();
  std::vector<std::wstring> openedWith;
  const FileDialogResult result =
      OpenFallingBackToEmptyName(c.fieldText, [&](std::wstring_view name) {
        const DWORD answer = c.answers.at(openedWith.size());
        openedWith.emplace_back(name);
        if (answer == kChoose) return FileDialogResult{kChosen, 0, true};
        return FileDialogResult{std::wstring(name), answer, false};
      });
  EXPECT_EQ(openedWith, c.openedWith);
  EXPECT_EQ(result.fileName, c.expected.fileName);
  EXPECT_EQ(result.error, c.expected.error);
  EXPECT_EQ(result.chosen, c.expected.chosen);
}

const std::wstring kTyped = L"C:\\Typed\\Sample.ipr";
const std::wstring kBad = L"C:\\Typed\\a|b.ipr";
constexpr DWORD kBadName = FNERR_INVALIDFILENAME;
constexpr DWORD kFailed = CDERR_DIALOGFAILURE;

// Only a rejected name earns a second, empty opening, and unless the user then chooses a file
// the field keeps what they typed; a failure of the second opening is the one reported.
INSTANTIATE_TEST_SUITE_P(
    Answers, FallbackTest,
    testing::Values(FallbackCase{kTyped, {0}, {kTyped}, {kTyped, 0, false}},
                    FallbackCase{kTyped, {kFailed}, {kTyped}, {kTyped, kFailed, false}},
                    FallbackCase{kBad, {kBadName, kChoose}, {kBad, L""}, {kChosen, 0, true}},
                    FallbackCase{kBad, {kBadName, 0}, {kBad, L""}, {kBad, 0, false}},
                    FallbackCase{kBad, {kBadName, kFailed}, {kBad, L""}, {kBad, kFailed, false}},
                    FallbackCase{L"", {kBadName}, {L""}, {L"", kBadName, false}}));

// The dialog's library is loaded on the first Browse; when it or one of its functions is missing,
// the dialog fails with the system's reason and the field keeps its name. A failure is not kept:
// the next Browse tries again, and fails the same way.
struct LibraryCase {
  const wchar_t* library;
  DWORD error;
};

class DialogLibraryTest : public testing::TestWithParam<LibraryCase> {};

TEST_P(DialogLibraryTest, LibraryThatCannotBeHadFailsTheDialogWithTheSystemsError) {
  OpenFileDialog dialog(kDlgSourceFilter, GetParam().library);
  for (int press = 1; press <= 2; ++press) {
    const FileDialogResult result = dialog.Show(nullptr, kTyped);
    EXPECT_EQ(result.error, GetParam().error) << "press " << press;
    EXPECT_EQ(result.fileName, kTyped);
    EXPECT_FALSE(result.chosen);
  }
}

INSTANTIATE_TEST_SUITE_P(Libraries, DialogLibraryTest,
                         testing::Values(LibraryCase{L"no_such_dialog_library.dll",
                                                     ERROR_MOD_NOT_FOUND},
                                         // Present, but without the dialog's functions.
                                         LibraryCase{L"version.dll", ERROR_PROC_NOT_FOUND}));

}  // namespace
}  // namespace ui
