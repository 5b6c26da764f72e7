// The two line rules, run over whole files held in memory, line by line.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/double_byte_code_pages.h"
#include "tests/support/eight_bit_text.h"
#include "tests/support/recording_text_stream.h"
#include "upgrade/line_rules.h"

namespace upgrade_test {
namespace {

using namespace test_support;

using Lines = std::vector<std::wstring>;

// The plain rewrite: each line handed to the rule, which sees it as the bytes of 8-bit text.
Lines LineByLine(upgrade::LineRule& rule, const Lines& input) {
  RecordingTextStream writer;
  for (const auto& line : input) rule.Apply(Bytes(line), writer);
  return writer.lines;
}

struct RuleCase {
  const char* name;
  Lines input;
  std::vector<std::size_t> changed;        // the lines raised, or the lines a LINKTYPE line follows
  std::wstring versionText = L"1.00.000";  // the version rule's
};

void PrintTo(const RuleCase& c, std::ostream* os) { *os << c.name; }

std::string CaseName(const testing::TestParamInfo<RuleCase>& info) { return info.param.name; }

bool Changed(const RuleCase& c, std::size_t line) {
  return std::find(c.changed.begin(), c.changed.end(), line) != c.changed.end();
}

class VersionLineRuleTest : public testing::TestWithParam<RuleCase> {};

// The rule refuses exactly the texts in which it raised no line.
TEST_P(VersionLineRuleTest, WritesExpectedLines) {
  const RuleCase& c = GetParam();
  Lines expected = c.input;
  for (const std::size_t line : c.changed) expected[line] = L"Version=1.20.000";
  upgrade::VersionLineRule plain(c.versionText);
  EXPECT_EQ(LineByLine(plain, c.input), expected);
  EXPECT_EQ(plain.Refusal().empty(), !c.changed.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, VersionLineRuleTest,
    testing::Values(
        RuleCase{"VersionUnderGeneralIsRaised",
                 {L"[General]", L"Type=STANDARD", L"Version=1.00.000", L"Name=x"},
                 {2}},
        RuleCase{"VersionUnderOtherSectionIsKept",
                 {L"[Data]", L"Version=1.00.000", L"[General]", L"Version=1.00.000"},
                 {3}},
        RuleCase{"VersionBeforeAnyHeaderIsKept", {L"Version=1.00.000", L"[General]"}, {}},
        RuleCase{
            "HeaderInLowerCaseOpensGeneral", {L"[general]", L"Version=1.10.000"}, {1}, L"1.10.000"},
        RuleCase{"HeaderInUpperCaseOpensGeneral", {L"[GENERAL]", L"Version=1.00.000"}, {1}},
        RuleCase{"HeaderWithBlanksDoesNotOpenGeneral",
                 {L"[ General ]", L"Version=1.00.000", L"[General] ", L"Version=1.00.000"},
                 {}},
        RuleCase{"LineWithBothBracketsClosesGeneral",
                 {L"[General]", L"Path=C:\\[x]", L"Version=1.00.000"},
                 {}},
        RuleCase{"BracketsInReverseOrderCloseGeneral",
                 {L"[General]", L"Note=]x[", L"Version=1.00.000"},
                 {}},
        RuleCase{"OneBracketOnlyDoesNotCloseGeneral",
                 {L"[General]", L"Path=C:\\[x", L"Version=1.00.000"},
                 {2}},
        RuleCase{"SecondGeneralIsTreatedLikeTheFirst",
                 {L"[General]", L"Version=1.00.000", L"[Other]", L"Version=1.00.000", L"[General]",
                  L"Version=1.00.000"},
                 {1, 5}},
        RuleCase{"BlanksAroundEqualsAreKept",
                 {L"[General]", L"Version = 1.00.000", L"Version =1.00.000", L"Version= 1.00.000"},
                 {}},
        RuleCase{"OtherCaseOrCharactersAreKept",
                 {L"[General]", L"version=1.00.000", L"VERSION=1.00.000", L"Version=1.00.0000",
                  L"Version=1.00.00", L"Version=1.00.000 "},
                 {}},
        RuleCase{"ValueDifferingInCaseFromVersionTextIsKept",
                 {L"[General]", L"Version=1.00.000A", L"Version=1.00.000a"},
                 {2},
                 L"1.00.000a"},
        RuleCase{"EveryMatchingLineInGeneralIsRaised",
                 {L"[General]", L"Version=1.00.000", L"Version=1.00.000"},
                 {1, 2}},
        RuleCase{
            "EmptyVersionTextMatchesBareKey", {L"[General]", L"Version=", L"Version"}, {1}, L""},
        RuleCase{
            "BlankAndOtherLinesAreCopied",
            {L"", L"; comment", L"[General]", L"", L"Version=1.00.000", L"", L"\u00e9\u00ff\u0080"},
            {4}},
        RuleCase{"VersionTextThatNoByteStandsForMatchesNoLine",
                 {L"[General]", std::wstring(L"Version=1.00.00\0", 16), L"Version=1.00.00"},
                 {},
                 L"1.00.00\u0100"},
        RuleCase{"EmptyFileWritesNothing", {}, {}}),
    CaseName);

const std::wstring kLink = L"LINKTYPE=Static Link";

class LinkTypeLineRuleTest : public testing::TestWithParam<RuleCase> {};

TEST_P(LinkTypeLineRuleTest, WritesExpectedLines) {
  const RuleCase& c = GetParam();
  Lines expected;
  for (std::size_t line = 0; line < c.input.size(); ++line) {
    expected.push_back(c.input[line]);
    if (Changed(c, line)) expected.push_back(kLink);
  }
  upgrade::LinkTypeLineRule plain;
  EXPECT_EQ(LineByLine(plain, c.input), expected);
  EXPECT_EQ(plain.Refusal(), L"") << "a file-group file is never refused for its lines";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LinkTypeLineRuleTest,
    testing::Values(
        RuleCase{"GroupHeaderGetsLinkType", {L"[Program Files]", L"Folder=<TARGETDIR>"}, {0}},
        RuleCase{"InfoAndFileGroupsGetNone",
                 {L"[Info]", L"Type=FileGrp", L"[FileGroups]", L"Group0=Program Files"},
                 {}},
        RuleCase{"InfoAndFileGroupsInOtherCaseGetNone",
                 {L"[info]", L"[INFO]", L"[FILEGROUPS]", L"[fileGroups]"},
                 {}},
        RuleCase{"InfoWithBlanksInsideGetsOne", {L"[ Info ]", L"[FileGroups] "}, {0, 1}},
        RuleCase{
            "AnyLineWithBothBracketsGetsOne", {L"Comment=[x]", L"Odd=]y[", L"Half=[z"}, {0, 1}},
        RuleCase{"ExistingLinkTypeGetsASecondOne", {L"[Group]", L"LINKTYPE=Dynamic Link"}, {0}},
        RuleCase{"BlankLinesAreCopiedInOrder", {L"", L"[A]", L"", L"", L"[B]", L""}, {1, 4}},
        RuleCase{"EightBitTextIsCopied", {L"[Gr\u00fcppe \u00ff]", L"Name=\u0080\u00a0"}, {0}},
        RuleCase{"EmptyFileWritesNothing", {}, {}}),
    CaseName);

// On a double-byte code page the second byte of a character is no bracket; single-byte code pages
// (no lead bytes) keep taking every byte for one, exactly as before.
class DoubleByteLineRuleTest : public testing::TestWithParam<DoubleByteCodePage> {};

TEST_P(DoubleByteLineRuleTest, SecondBytesOfCharactersAreNoBrackets) {
  const auto& page = GetParam();
  const std::wstring text = EightBit(page.open + page.close);
  const std::wstring closedByTrailByte = EightBit("[x" + page.close);
  const std::wstring endsInLeadByte = EightBit("[Data]" + page.open.substr(0, 1));
  const std::wstring realHeaderAfterText = EightBit(page.close + "[Data]");
  const std::wstring v = L"Version=1.00.000", raised = L"Version=1.20.000";

  const Lines project = {
      L"[General]", L"Title=" + text, v, closedByTrailByte, v, realHeaderAfterText, v,
      L"[General]", endsInLeadByte,   v};
  const Lines raisedProject = {
      L"[General]", L"Title=" + text, raised, closedByTrailByte, raised, realHeaderAfterText, v,
      L"[General]", endsInLeadByte,   v};
  upgrade::VersionLineRule doubleByte(L"1.00.000", page.LeadBytes());
  EXPECT_EQ(LineByLine(doubleByte, project), raisedProject);
  upgrade::VersionLineRule singleByte(L"1.00.000");
  EXPECT_EQ(LineByLine(singleByte, project), project);

  const Lines groups = {EightBit("[Group" + page.close + "]"), L"Name=" + text, closedByTrailByte,
                        endsInLeadByte, L"[Info]"};
  upgrade::LinkTypeLineRule doubleByteLinks(page.LeadBytes());
  EXPECT_EQ(LineByLine(doubleByteLinks, groups),
            (Lines{groups[0], kLink, groups[1], groups[2], groups[3], kLink, groups[4]}));
  upgrade::LinkTypeLineRule singleByteLinks;
  EXPECT_EQ(
      LineByLine(singleByteLinks, groups),
      (Lines{groups[0], kLink, groups[1], kLink, groups[2], kLink, groups[3], kLink, groups[4]}));
}

INSTANTIATE_TEST_SUITE_P(CodePages, DoubleByteLineRuleTest, testing::ValuesIn(kDoubleByteCodePages),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace upgrade_test
