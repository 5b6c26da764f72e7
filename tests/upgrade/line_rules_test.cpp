// The two line rules, run over whole files held in memory.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/double_byte_code_pages.h"
#include "tests/support/recording_text_stream.h"
#include "upgrade/line_rules.h"

namespace upgrade_test {
namespace {

using Lines = std::vector<std::wstring>;

// The rules see lines as the bytes of 8-bit text; the cases are written as characters.
Lines RunRule(upgrade::LineRule& rule, const Lines& input) {
  RecordingTextStream writer;
  for (const auto& line : input) {
    std::string bytes;
    for (const wchar_t c : line) bytes.push_back(static_cast<char>(c));
    rule.Apply(bytes, writer);
  }
  return writer.lines;
}

// As the rewrite runs a rule: a line without brackets is copied, not handed over, whenever the
// rule says it would copy it unchanged. Both ways must write the same lines.
Lines RunRuleCopyingRuns(upgrade::LineRule& rule, const Lines& input) {
  RecordingTextStream writer;
  for (const auto& line : input) {
    std::string bytes;
    for (const wchar_t c : line) bytes.push_back(static_cast<char>(c));
    if (rule.CopiesLinesWithoutBrackets() && bytes.find_first_of("[]") == std::string::npos) {
      writer.WriteLineRun(bytes + "\r\n");
    } else {
      rule.Apply(bytes, writer);
    }
  }
  return writer.lines;
}

struct RuleCase {
  const char* name;
  std::wstring versionText;  // used by the version rule only
  Lines input;
  Lines expected;
};

void PrintTo(const RuleCase& c, std::ostream* os) { *os << c.name; }

class VersionLineRuleTest : public testing::TestWithParam<RuleCase> {};

// The rule refuses exactly the texts in which it raised no line.
TEST_P(VersionLineRuleTest, WritesExpectedLines) {
  const RuleCase& c = GetParam();
  upgrade::VersionLineRule rule(c.versionText);
  EXPECT_EQ(RunRule(rule, c.input), c.expected);
  EXPECT_EQ(rule.Refusal().empty(), c.expected != c.input);
  upgrade::VersionLineRule copying(c.versionText);
  EXPECT_EQ(RunRuleCopyingRuns(copying, c.input), c.expected);
  EXPECT_EQ(copying.Refusal().empty(), c.expected != c.input);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, VersionLineRuleTest,
    testing::Values(
        RuleCase{"VersionUnderGeneralIsRaised",
                 L"1.00.000",
                 {L"[General]", L"Type=STANDARD", L"Version=1.00.000", L"Name=x"},
                 {L"[General]", L"Type=STANDARD", L"Version=1.20.000", L"Name=x"}},
        RuleCase{"VersionUnderOtherSectionIsKept",
                 L"1.00.000",
                 {L"[Data]", L"Version=1.00.000", L"[General]", L"Version=1.00.000"},
                 {L"[Data]", L"Version=1.00.000", L"[General]", L"Version=1.20.000"}},
        RuleCase{"VersionBeforeAnyHeaderIsKept",
                 L"1.00.000",
                 {L"Version=1.00.000", L"[General]"},
                 {L"Version=1.00.000", L"[General]"}},
        RuleCase{"HeaderInLowerCaseOpensGeneral",
                 L"1.10.000",
                 {L"[general]", L"Version=1.10.000"},
                 {L"[general]", L"Version=1.20.000"}},
        RuleCase{"HeaderInUpperCaseOpensGeneral",
                 L"1.00.000",
                 {L"[GENERAL]", L"Version=1.00.000"},
                 {L"[GENERAL]", L"Version=1.20.000"}},
        RuleCase{"HeaderWithBlanksDoesNotOpenGeneral",
                 L"1.00.000",
                 {L"[ General ]", L"Version=1.00.000", L"[General] ", L"Version=1.00.000"},
                 {L"[ General ]", L"Version=1.00.000", L"[General] ", L"Version=1.00.000"}},
        RuleCase{"LineWithBothBracketsClosesGeneral",
                 L"1.00.000",
                 {L"[General]", L"Path=C:\\[x]", L"Version=1.00.000"},
                 {L"[General]", L"Path=C:\\[x]", L"Version=1.00.000"}},
        RuleCase{"BracketsInReverseOrderCloseGeneral",
                 L"1.00.000",
                 {L"[General]", L"Note=]x[", L"Version=1.00.000"},
                 {L"[General]", L"Note=]x[", L"Version=1.00.000"}},
        RuleCase{"OneBracketOnlyDoesNotCloseGeneral",
                 L"1.00.000",
                 {L"[General]", L"Path=C:\\[x", L"Version=1.00.000"},
                 {L"[General]", L"Path=C:\\[x", L"Version=1.20.000"}},
        RuleCase{"SecondGeneralIsTreatedLikeTheFirst",
                 L"1.00.000",
                 {L"[General]", L"Version=1.00.000", L"[Other]", L"Version=1.00.000", L"[General]",
                  L"Version=1.00.000"},
                 {L"[General]", L"Version=1.20.000", L"[Other]", L"Version=1.00.000", L"[General]",
                  L"Version=1.20.000"}},
        RuleCase{"BlanksAroundEqualsAreKept",
                 L"1.00.000",
                 {L"[General]", L"Version = 1.00.000", L"Version =1.00.000", L"Version= 1.00.000"},
                 {L"[General]", L"Version = 1.00.000", L"Version =1.00.000", L"Version= 1.00.000"}},
        RuleCase{"OtherCaseOrCharactersAreKept",
                 L"1.00.000",
                 {L"[General]", L"version=1.00.000", L"VERSION=1.00.000", L"Version=1.00.0000",
                  L"Version=1.00.00", L"Version=1.00.000 "},
                 {L"[General]", L"version=1.00.000", L"VERSION=1.00.000", L"Version=1.00.0000",
                  L"Version=1.00.00", L"Version=1.00.000 "}},
        RuleCase{"ValueDifferingInCaseFromVersionTextIsKept",
                 L"1.00.000a",
                 {L"[General]", L"Version=1.00.000A", L"Version=1.00.000a"},
                 {L"[General]", L"Version=1.00.000A", L"Version=1.20.000"}},
        RuleCase{"EveryMatchingLineInGeneralIsRaised",
                 L"1.00.000",
                 {L"[General]", L"Version=1.00.000", L"Version=1.00.000"},
                 {L"[General]", L"Version=1.20.000", L"Version=1.20.000"}},
        RuleCase{"EmptyVersionTextMatchesBareKey",
                 L"",
                 {L"[General]", L"Version=", L"Version"},
                 {L"[General]", L"Version=1.20.000", L"Version"}},
        RuleCase{
            "BlankAndOtherLinesAreCopied",
            L"1.00.000",
            {L"", L"; comment", L"[General]", L"", L"Version=1.00.000", L"", L"\u00e9\u00ff\u0080"},
            {L"", L"; comment", L"[General]", L"", L"Version=1.20.000", L"",
             L"\u00e9\u00ff\u0080"}},
        RuleCase{"VersionTextThatNoByteStandsForMatchesNoLine",
                 L"1.00.00\u0100",
                 {L"[General]", std::wstring(L"Version=1.00.00\0", 16), L"Version=1.00.00"},
                 {L"[General]", std::wstring(L"Version=1.00.00\0", 16), L"Version=1.00.00"}},
        RuleCase{"EmptyFileWritesNothing", L"1.00.000", {}, {}}),
    [](const testing::TestParamInfo<RuleCase>& info) { return std::string(info.param.name); });

class LinkTypeLineRuleTest : public testing::TestWithParam<RuleCase> {};

TEST_P(LinkTypeLineRuleTest, WritesExpectedLines) {
  const RuleCase& c = GetParam();
  upgrade::LinkTypeLineRule rule;
  EXPECT_EQ(RunRule(rule, c.input), c.expected);
  EXPECT_EQ(rule.Refusal(), L"") << "a file-group file is never refused for its lines";
  upgrade::LinkTypeLineRule copying;
  EXPECT_EQ(RunRuleCopyingRuns(copying, c.input), c.expected);
}

const std::wstring kLink = L"LINKTYPE=Static Link";

INSTANTIATE_TEST_SUITE_P(
    Cases, LinkTypeLineRuleTest,
    testing::Values(RuleCase{"GroupHeaderGetsLinkType",
                             L"",
                             {L"[Program Files]", L"Folder=<TARGETDIR>"},
                             {L"[Program Files]", kLink, L"Folder=<TARGETDIR>"}},
                    RuleCase{
                        "InfoAndFileGroupsGetNone",
                        L"",
                        {L"[Info]", L"Type=FileGrp", L"[FileGroups]", L"Group0=Program Files"},
                        {L"[Info]", L"Type=FileGrp", L"[FileGroups]", L"Group0=Program Files"}},
                    RuleCase{"InfoAndFileGroupsInOtherCaseGetNone",
                             L"",
                             {L"[info]", L"[INFO]", L"[FILEGROUPS]", L"[fileGroups]"},
                             {L"[info]", L"[INFO]", L"[FILEGROUPS]", L"[fileGroups]"}},
                    RuleCase{"InfoWithBlanksInsideGetsOne",
                             L"",
                             {L"[ Info ]", L"[FileGroups] "},
                             {L"[ Info ]", kLink, L"[FileGroups] ", kLink}},
                    RuleCase{"AnyLineWithBothBracketsGetsOne",
                             L"",
                             {L"Comment=[x]", L"Odd=]y[", L"Half=[z"},
                             {L"Comment=[x]", kLink, L"Odd=]y[", kLink, L"Half=[z"}},
                    RuleCase{"ExistingLinkTypeGetsASecondOne",
                             L"",
                             {L"[Group]", L"LINKTYPE=Dynamic Link"},
                             {L"[Group]", kLink, L"LINKTYPE=Dynamic Link"}},
                    RuleCase{"BlankLinesAreCopiedInOrder",
                             L"",
                             {L"", L"[A]", L"", L"", L"[B]", L""},
                             {L"", L"[A]", kLink, L"", L"", L"[B]", kLink, L""}},
                    RuleCase{"EightBitTextIsCopied",
                             L"",
                             {L"[Gr\u00fcppe \u00ff]", L"Name=\u0080\u00a0"},
                             {L"[Gr\u00fcppe \u00ff]", kLink, L"Name=\u0080\u00a0"}},
                    RuleCase{"EmptyFileWritesNothing", L"", {}, {}}),
    [](const testing::TestParamInfo<RuleCase>& info) { return std::string(info.param.name); });

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
  EXPECT_EQ(RunRule(doubleByte, project), raisedProject);
  upgrade::VersionLineRule copying(L"1.00.000", page.LeadBytes());
  EXPECT_EQ(RunRuleCopyingRuns(copying, project), raisedProject);
  upgrade::VersionLineRule singleByte(L"1.00.000");
  EXPECT_EQ(RunRule(singleByte, project), project);

  const Lines groups = {EightBit("[Group" + page.close + "]"), L"Name=" + text, closedByTrailByte,
                        endsInLeadByte, L"[Info]"};
  upgrade::LinkTypeLineRule doubleByteLinks(page.LeadBytes());
  EXPECT_EQ(RunRule(doubleByteLinks, groups),
            (Lines{groups[0], kLink, groups[1], groups[2], groups[3], kLink, groups[4]}));
  upgrade::LinkTypeLineRule singleByteLinks;
  EXPECT_EQ(RunRule(singleByteLinks, groups), (Lines{groups[0], kLink, groups[1], kLink, groups[2],
                                                     kLink, groups[3], kLink, groups[4]}));
}

INSTANTIATE_TEST_SUITE_P(CodePages, DoubleByteLineRuleTest, testing::ValuesIn(kDoubleByteCodePages),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace upgrade_test
