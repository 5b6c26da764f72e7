// The rewrite through a temporary file, on real files, with faults injected where it matters.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "platform/failure.h"
#include "tests/support/eight_bit_text.h"
#include "tests/support/fault_injecting_file_system.h"
#include "tests/support/recording_text_stream.h"
#include "tests/support/recording_ui.h"
#include "tests/support/sample_project.h"
#include "tests/support/scratch_folder.h"
#include "upgrade/line_rules.h"
#include "upgrade/text_rewrite.h"
#include "upgrade/upgrade_run.h"

namespace upgrade_test {
namespace {

using namespace test_support;

using Strings = std::vector<std::wstring>;
using namespace std::string_literals;

class TextRewriteTest : public testing::Test {
 protected:
  // A fresh state per rewrite, as a failed plan must not carry over.
  upgrade::StepResult Rewrite() {
    ui::UpgradeState state(FaultInjectingFactory(plan));
    upgrade::LinkTypeLineRule rule;
    upgrade::StepResult result = upgrade::RewriteTextFile(state, recorder, source, rule);
    statusMessage = state.statusMessage;
    return result;
  }
  std::wstring Message(bool hint) const {
    return L"Error when upgrading " + source + L"." +
           (hint ? L" Please make sure that this file is writable." : L"");
  }

  ScratchFolder folder;
  std::wstring source = folder.Child(L"Default.fdf");
  std::wstring tempPath = folder.Child(L"upgrade.tmp");
  std::shared_ptr<FaultPlan> plan = std::make_shared<FaultPlan>();
  RecordingUi recorder;
  std::wstring statusMessage;
};

const std::string kOldText = "[Info]\r\nType=FileGrp\r\n[Group]\r\nFile0=a.exe";
const std::string kNewText =
    "[Info]\r\nType=FileGrp\r\n[Group]\r\nLINKTYPE=Static Link\r\nFile0=a.exe\r\n";

// Missing alone or with its folder: nothing to do, nothing said, nothing made.
TEST_F(TextRewriteTest, MissingSourceSucceedsWithoutTrace) {
  for (const wchar_t* missing : {L"Default.fdf", L"File Groups\\Default.fdf"}) {
    source = folder.Child(missing);
    EXPECT_EQ(Rewrite(), upgrade::kStepSucceeded);
  }
  EXPECT_TRUE(recorder.statusTexts.empty());
  EXPECT_TRUE(recorder.messages.empty());
  EXPECT_TRUE(FolderListing(folder.Path()).empty());
}

struct BytesCase {
  const char* name;
  std::string before;
  std::string after;
};

class RewriteBytesTest : public TextRewriteTest, public testing::WithParamInterface<BytesCase> {};

TEST_P(RewriteBytesTest, ReplacesSourceByRewrittenText) {
  WriteBytes(source, GetParam().before);
  EXPECT_EQ(Rewrite(), upgrade::kStepSucceeded);
  EXPECT_EQ(ReadBytes(source), GetParam().after);
  EXPECT_EQ(folder.Files(), Strings{L"Default.fdf"});
  EXPECT_EQ(recorder.statusTexts,
            (Strings{L"Converting " + source + L"...", L"Converted " + source + L"..."}));
  EXPECT_TRUE(recorder.messages.empty());
}

// Among them: no UTF-16 where a NUL stands past the first two bytes or beside a byte beyond ASCII;
// a UTF-8 mark that is no part of the first line and stays where it was.
INSTANTIATE_TEST_SUITE_P(
    Files, RewriteBytesTest,
    testing::Values(
        BytesCase{"Empty", "", ""},
        BytesCase{"LastLineWithoutLineEndGetsOne", "[A]\r\nx=1",
                  "[A]\r\nLINKTYPE=Static Link\r\nx=1\r\n"},
        BytesCase{"BlankLinesStay", "\r\n\r\n[A]\r\n\r\n",
                  "\r\n\r\n[A]\r\nLINKTYPE=Static Link\r\n\r\n"},
        BytesCase{"BareLineFeedsBecomeCrLf", "a\nb\n", "a\r\nb\r\n"},
        BytesCase{"EightBitBytesUntouched", "[\x80\xff]\r\nk=\xe9\xa0\x81\r\n",
                  "[\x80\xff]\r\nLINKTYPE=Static Link\r\nk=\xe9\xa0\x81\r\n"},
        BytesCase{"Groups", kOldText, kNewText},
        BytesCase{"LoneLineEndsAmongCrLfLines", "a\r\nb\nc\r\nd\re\r\n[G]\rf\r\n\r",
                  "a\r\nb\r\nc\r\nd\r\ne\r\n[G]\r\nLINKTYPE=Static Link\r\nf\r\n\r\n"},
        BytesCase{"OneBracketDoesNotEndTheCopy", "[a\r\nb]\r\n]\r\n[c]\r\n",
                  "[a\r\nb]\r\n]\r\n[c]\r\nLINKTYPE=Static Link\r\n"},
        BytesCase{"NulLaterInTheFirstLine", "[G\0]\r\n"s, "[G\0]\r\nLINKTYPE=Static Link\r\n"s},
        BytesCase{"NulBesideAnEightBitByte", "\xC4\0\r\n"s, "\xC4\0\r\n"s},
        BytesCase{"MarkBeforeInfo", "\xEF\xBB\xBF[Info]\r\n[G]",
                  "\xEF\xBB\xBF[Info]\r\n[G]\r\nLINKTYPE=Static Link\r\n"},
        BytesCase{"MarkBeforeAKey", "\xEF\xBB\xBFk=1\r\n[G]\r\n",
                  "\xEF\xBB\xBFk=1\r\n[G]\r\nLINKTYPE=Static Link\r\n"},
        BytesCase{"MarkBeforeLoneLineEnds", "\xEF\xBB\xBF\rx\r", "\xEF\xBB\xBF\r\nx\r\n"},
        BytesCase{"MarkAlone", "\xEF\xBB\xBF", "\xEF\xBB\xBF\r\n"}),
    [](const testing::TestParamInfo<BytesCase>& info) { return std::string(info.param.name); });

// UTF-16 text, with a mark or without: refused before anything is replaced, with no temporary file
// left, even where the first line holds nothing but 8-bit bytes before its line end.
struct Utf16Case {
  const char* name;
  std::string text;
};

class Utf16TextTest : public TextRewriteTest, public testing::WithParamInterface<Utf16Case> {};

TEST_P(Utf16TextTest, IsRefusedAndKept) {
  WriteBytes(source, GetParam().text);
  EXPECT_EQ(Rewrite(), upgrade::kStepFailed);
  const std::wstring message = Message(false) + L" The file is not 8-bit text.";
  EXPECT_EQ(recorder.messages, Strings{message});
  EXPECT_EQ(statusMessage, message);
  EXPECT_EQ(recorder.statusTexts, Strings{L"Converting " + source + L"..."});
  EXPECT_EQ(ReadBytes(source), GetParam().text);
  EXPECT_EQ(folder.Files(), Strings{L"Default.fdf"});
}

INSTANTIATE_TEST_SUITE_P(Texts, Utf16TextTest,
                         testing::Values(Utf16Case{"MarkBeforeCrLfLines",
                                                   "\xFF\xFE"
                                                   "ab\r\ncd\r\n"},
                                         Utf16Case{"MarkAloneOnItsLine", "\xFE\xFF\r\n[A]\r\n"},
                                         Utf16Case{"WithoutMark", "[\0A\0]\0\r\0\n\0"s},
                                         Utf16Case{"BigEndianWithoutMark", "\0a\0=\0\r\0\n"s}),
                         [](const auto& info) { return std::string(info.param.name); });

// Files larger than the streams' blocks, with line ends, headers and the General section's
// version line straddling the block boundaries, rewrite to what the rules give line by line.
TEST_F(TextRewriteTest, LinesAcrossBlocksGiveWhatTheRulesGiveLineByLine) {
  constexpr std::size_t kBlock = 64 * 1024;
  std::string text = "[General]\r\n";
  const char* const pieces[] = {"Version=1.00.000", "[Group]", "[General]", "\r", "\n", "\r\n"};
  // Before each boundary, each piece ends a few bytes before, at or after it.
  for (std::size_t block = 1; block <= 18; ++block) {
    const std::size_t boundary = block * kBlock;
    const std::string piece = pieces[block % 6];
    const std::size_t shift = block / 6 % 3;
    while (text.size() + 40 < boundary - piece.size() + shift) {
      text += "File" + std::to_string(text.size()) + "=x\r\n";
    }
    // The piece starts a line, so that General is opened and its version line raised.
    text += std::string(boundary - piece.size() + shift - text.size() - 2, 'k') + "\r\n";
    text += piece + "\r\nVersion=1.00.000\r\n";
  }
  const auto lineByLine = [&](upgrade::LineRule& rule) {
    std::string lines;
    RecordingTextStream writer;
    std::size_t begin = 0;
    for (std::size_t at = 0; at < text.size(); ++at) {
      if (text[at] != '\r' && text[at] != '\n') continue;
      rule.Apply(std::string_view(text).substr(begin, at - begin), writer);
      if (text[at] == '\r' && at + 1 < text.size() && text[at + 1] == '\n') ++at;
      begin = at + 1;
    }
    for (const std::wstring& line : writer.lines) lines += Bytes(line) + "\r\n";
    return lines;
  };
  upgrade::LinkTypeLineRule groupsRule;
  upgrade::VersionLineRule projectRule(L"1.00.000");
  upgrade::LinkTypeLineRule groupsModel;
  upgrade::VersionLineRule projectModel(L"1.00.000");
  const std::pair<upgrade::LineRule*, upgrade::LineRule*> rules[] = {{&groupsRule, &groupsModel},
                                                                     {&projectRule, &projectModel}};
  for (const auto& [rule, model] : rules) {
    WriteBytes(source, text);
    ui::UpgradeState state;
    ASSERT_EQ(upgrade::RewriteTextFile(state, recorder, source, *rule), upgrade::kStepSucceeded);
    EXPECT_EQ(ReadBytes(source), lineByLine(*model));
  }
}

TEST_F(TextRewriteTest, TakenTemporaryNameIsSkipped) {
  WriteBytes(source, kOldText);
  WriteBytes(folder.Child(L"taken.tmp"), "someone else's");
  plan->tempNames = {L"taken.tmp", L"upgrade.tmp"};
  EXPECT_EQ(Rewrite(), upgrade::kStepSucceeded);
  EXPECT_EQ(ReadBytes(source), kNewText);
  EXPECT_EQ(ReadBytes(folder.Child(L"taken.tmp")), "someone else's");
  EXPECT_EQ(folder.Files(), (Strings{L"Default.fdf", L"taken.tmp"}));
}

TEST_F(TextRewriteTest, TemporaryFileAppearingMeanwhileIsNotEmptied) {
  WriteBytes(source, kOldText);
  const std::wstring racer = folder.Child(L"race.tmp");
  plan->tempNames = {L"race.tmp", L"upgrade.tmp"};
  plan->beforeForward = [&](const Operation& op) {
    if (op.name == "CreateTextFile" && op.path == racer) WriteBytes(racer, "arrived first");
  };
  EXPECT_EQ(Rewrite(), upgrade::kStepSucceeded);
  EXPECT_EQ(ReadBytes(source), kNewText);
  EXPECT_EQ(ReadBytes(racer), "arrived first");
  EXPECT_EQ(folder.Files(), (Strings{L"Default.fdf", L"race.tmp"}));
}

TEST_F(TextRewriteTest, NoFreeTemporaryNameFailsWithoutTouchingAnything) {
  WriteBytes(source, kOldText);
  WriteBytes(folder.Child(L"taken.tmp"), "someone else's");
  plan->tempNames.assign(1000, L"taken.tmp");
  EXPECT_EQ(Rewrite(), upgrade::kStepFailed);
  EXPECT_EQ(recorder.messages, Strings{Message(false)});
  EXPECT_EQ(statusMessage, Message(false));
  EXPECT_EQ(ReadBytes(source), kOldText);
  EXPECT_EQ(ReadBytes(folder.Child(L"taken.tmp")), "someone else's");
  EXPECT_EQ(folder.Files(), (Strings{L"Default.fdf", L"taken.tmp"}));
  EXPECT_GT(plan->tempNames.size(), 0u) << "the tries must be bounded";
}

// A temporary file that could not be created is not the rewrite's: what stands under its name
// stays.
TEST_F(TextRewriteTest, FailedCreationOfTheTemporaryFileRemovesNothing) {
  WriteBytes(source, kOldText);
  plan->tempNames = {L"upgrade.tmp"};
  plan->beforeForward = [&](const Operation& op) {
    if (op.name != "CreateTextFile") return;
    WriteBytes(op.path, "someone else's");
    throw platform::Failure(platform::kPermissionDenied, "refused");
  };
  EXPECT_EQ(Rewrite(), upgrade::kStepFailed);
  EXPECT_EQ(recorder.messages, Strings{Message(true)});
  EXPECT_EQ(recorder.statusTexts, Strings{L"Converting " + source + L"..."});
  EXPECT_EQ(ReadBytes(source), kOldText);
  EXPECT_EQ(ReadBytes(tempPath), "someone else's");
}

// Each operation of the replacement, failing in turn: the source keeps its old text whole and
// the temporary file goes.
struct ReplaceCase {
  const char* name;
  const char* operation;
  bool onTemporary;  // the operation's path is the temporary file, not the source
};

void PrintTo(const ReplaceCase& c, std::ostream* os) { *os << c.name; }

class ReplaceFailureTest : public TextRewriteTest,
                           public testing::WithParamInterface<std::tuple<ReplaceCase, int>> {};

TEST_P(ReplaceFailureTest, KeepsTheOldTextWhole) {
  const auto& [c, number] = GetParam();
  WriteBytes(source, kOldText);
  plan->tempNames = {L"upgrade.tmp"};
  plan->faults = {{c.operation, c.onTemporary ? tempPath : source}};
  plan->errorNumber = number;
  EXPECT_EQ(Rewrite(), upgrade::kStepFailed);
  EXPECT_EQ(plan->failures, 1);

  const std::wstring expected = Message(number == platform::kPermissionDenied);
  EXPECT_EQ(recorder.messages, Strings{expected});
  EXPECT_EQ(statusMessage, expected);
  EXPECT_EQ(ReadBytes(source), kOldText);
  EXPECT_EQ(folder.Files(), Strings{L"Default.fdf"});
}

INSTANTIATE_TEST_SUITE_P(
    Steps, ReplaceFailureTest,
    testing::Combine(testing::Values(ReplaceCase{"FlushToDisk", "TextStream::FlushToDisk", true},
                                     ReplaceCase{"Close", "TextStream::Close", true},
                                     ReplaceCase{"Replace", "ReplaceFile", false}),
                     testing::Values(platform::kPermissionDenied, platform::kDiskFull)),
    [](const auto& info) {
      return std::string(std::get<0>(info.param).name) + "_" +
             std::to_string(std::get<1>(info.param));
    });

TEST_F(TextRewriteTest, FailedCleanUpNamesTheStrayFileAndTravels) {
  WriteBytes(source, kOldText);
  plan->tempNames = {L"upgrade.tmp"};
  plan->errorNumber = platform::kPathFileAccessError;
  plan->faults = {{"TextStream::WriteLine", tempPath}, {"DeleteFile", tempPath}};
  ui::UpgradeState state(FaultInjectingFactory(plan));
  upgrade::LinkTypeLineRule rule;
  try {
    upgrade::RewriteTextFile(state, recorder, source, rule);
    ADD_FAILURE() << "a failed clean-up must travel to the caller";
  } catch (const platform::Failure& failure) {
    EXPECT_EQ(failure.number(), platform::kPathFileAccessError);
  }
  EXPECT_EQ(plan->failures, 2);
  EXPECT_EQ(recorder.messages, Strings{Message(false)});
  EXPECT_EQ(state.statusMessage,
            Message(false) + L" The temporary file " + tempPath + L" could not be removed.");
  EXPECT_EQ(ReadBytes(source), kOldText);
}

// On a disk that really is full: the temporary file cannot be completed, so the step fails once
// with its message, the file-group file keeps its text and no temporary file stays. A fixture of
// ctest mounts the small disk (as root) and names it in BU_SMALL_DISK.
TEST(FullDisk, FailedWriteKeepsTheSourceAndLeavesNothingBehind) {
  const char* disk = std::getenv("BU_SMALL_DISK");
  if (disk == nullptr) GTEST_SKIP() << "no small disk named: ctest mounts one when run as root";
  std::size_t capacity = 0;
  std::ifstream(std::filesystem::path(disk) / "capacity") >> capacity;
  if (capacity == 0) GTEST_SKIP() << "no small disk is mounted at " << disk << " (that needs root)";
  const ScratchFolder folder(std::filesystem::path(disk).wstring());
  const std::wstring project = folder.Child(L"Project.ipr");
  const std::wstring fileGroups = folder.Child(L"File Groups\\Default.fdf");
  WriteBytes(project, ProjectText("1.10.000"));
  std::string groups = kFileGroupsText;
  // More than half the disk: the rewritten copy cannot fit beside it.
  while (groups.size() < capacity * 5 / 8) groups += "\r\nFile=" + std::string(70, 'f');
  WriteBytes(fileGroups, groups);

  RecordingUi recorder(project);
  ui::UpgradeState state;
  upgrade::ConvertButton_Click(state, recorder);
  const std::wstring message = L"Error when upgrading " + fileGroups + L".";
  EXPECT_EQ(recorder.messages, Strings{message});
  EXPECT_EQ(recorder.statusText, message);
  EXPECT_EQ(ReadBytes(fileGroups), groups);
  EXPECT_EQ(ReadBytes(project), UpgradedProjectText("1.10.000"));
  EXPECT_EQ(folder.Files(), (Strings{L"File Groups\\Default.fdf", L"Project.ipr"}));
}

}  // namespace
}  // namespace upgrade_test
