// Whole runs of the Convert command on sample projects written into scratch folders, one for each
// way a run can end.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/failure.h"
#include "tests/support/fault_injecting_file_system.h"
#include "tests/support/recording_ui.h"
#include "tests/support/sample_project.h"
#include "tests/support/scratch_folder.h"
#include "upgrade/upgrade_run.h"

namespace upgrade_test {
namespace {

using namespace test_support;

using Strings = std::vector<std::wstring>;
using Files = std::map<std::wstring, std::string>;
using namespace std::string_literals;

const std::wstring kNoProject = L"Please specify a valid Brenlow Professional 5.0 project.";
const std::wstring kNewer =
    L"The selected project is created in the newer version of Brenlow Professional. You do not "
    L"need to convert your project.";
const std::wstring kOlder =
    L"The selected project is created in the older version of Brenlow Professional. This utility "
    L"cannot convert your project.";
const std::wstring kNoVersionLine =
    L"Error when upgrading {P}. The Version line of the General section is not in the expected "
    L"form.";
const std::wstring kNotEightBit = L"Error when upgrading {F}. The file is not 8-bit text.";
const std::string kUtf16Groups = "[\0I\0n\0f\0o\0]\0\r\0\n\0[\0G\0]\0\r\0\n\0"s;
const std::string kMark = "\xEF\xBB\xBF";

// Texts with "{P}" for the project path and "{F}" for the file-group file's path.
std::wstring Expand(std::wstring text, const std::wstring& project, const std::wstring& groups) {
  for (auto [token, value] : {std::pair{L"{P}", &project}, std::pair{L"{F}", &groups}}) {
    for (auto at = text.find(token); at != std::wstring::npos; at = text.find(token)) {
      text.replace(at, 3, *value);
    }
  }
  return text;
}

const Strings kConvertBoth = {L"", L"Converting {P}...", L"Converted {P}...", L"Converting {F}...",
                              L"Converted {F}..."};

Strings Concat(Strings a, const Strings& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

enum class PathKind { kProject, kEmpty, kFolder, kMissing };

struct Scenario {
  const char* name;
  std::optional<std::string> project = std::nullopt;  // the project file's bytes, if there is one
  std::optional<std::string> fileGroups = std::nullopt;
  Strings folders = {};  // made before the run, relative to the project folder
  PathKind path = PathKind::kProject;
  Strings messages = {};
  Strings statusTexts;  // every text the status bar received, in order
  Files files;          // every file in the project folder after the run
};

void PrintTo(const Scenario& s, std::ostream* os) { *os << s.name; }

class RunFixture : public testing::Test {
 protected:
  ScratchFolder folder;
  std::shared_ptr<FaultPlan> plan = std::make_shared<FaultPlan>();
  ui::UpgradeState state{FaultInjectingFactory(plan)};
  RecordingUi recorder{folder.Child(kProject)};

  Files FolderFiles() const {
    Files files;
    for (const auto& name : folder.Files()) files[name] = ReadBytes(folder.Child(name));
    return files;
  }
  void Expect(const Strings& messages, const Strings& statusTexts, const Files& files) {
    const std::wstring groups = folder.Child(kFileGroups);
    Strings expectedMessages, expectedStatus;
    for (const auto& m : messages)
      expectedMessages.push_back(Expand(m, recorder.projectPath, groups));
    for (const auto& s : statusTexts)
      expectedStatus.push_back(Expand(s, recorder.projectPath, groups));
    EXPECT_EQ(recorder.messages, expectedMessages);
    EXPECT_EQ(recorder.statusTexts, expectedStatus);
    EXPECT_EQ(FolderFiles(), files);
  }
};

class UpgradeRunTest : public RunFixture, public testing::WithParamInterface<Scenario> {};

TEST_P(UpgradeRunTest, EndsAsExpected) {
  const Scenario& s = GetParam();
  if (s.project) WriteBytes(folder.Child(kProject), *s.project);
  if (s.fileGroups) WriteBytes(folder.Child(kFileGroups), *s.fileGroups);
  for (const auto& name : s.folders)
    std::filesystem::create_directories(Native(folder.Child(name)));
  if (s.path == PathKind::kEmpty) recorder.projectPath = L"";
  if (s.path == PathKind::kFolder) recorder.projectPath = folder.Path();
  if (s.path == PathKind::kMissing) recorder.projectPath = folder.Child(L"Missing.ipr");

  upgrade::ConvertButton_Click(state, recorder);

  Expect(s.messages, s.statusTexts, s.files);
  EXPECT_EQ(recorder.statusText, s.statusTexts.empty() ? L"" : recorder.statusTexts.back());
}

const std::string kOld = ProjectText("1.00.000");
const std::string kNew = UpgradedProjectText("1.00.000");
// References: copies made while the program starts could be made before the texts exist.
const std::string& kGroups = kFileGroupsText;
const std::string& kGroupsNew = kUpgradedFileGroupsText;

INSTANTIATE_TEST_SUITE_P(
    Endings, UpgradeRunTest,
    testing::Values(
        Scenario{.name = "MissingFile",
                 .project = kOld,
                 .fileGroups = kGroups,
                 .path = PathKind::kMissing,
                 .messages = {kNoProject},
                 .statusTexts = {L""},
                 .files = {{kProject, kOld}, {kFileGroups, kGroups}}},
        Scenario{.name = "EmptyPath",
                 .project = kOld,
                 .path = PathKind::kEmpty,
                 .messages = {kNoProject},
                 .statusTexts = {L""},
                 .files = {{kProject, kOld}}},
        Scenario{.name = "FolderAsPath",
                 .project = kOld,
                 .path = PathKind::kFolder,
                 .messages = {kNoProject},
                 .statusTexts = {L""},
                 .files = {{kProject, kOld}}},
        Scenario{
            .name = "MissingGeneralSection",
            .project = "[Info]\r\nVersion=1.00.000\r\n",
            .fileGroups = kGroups,
            .messages = {L"The General section is missing in {P}. The file may be corrupt."},
            .statusTexts = {L"",
                            L"The General section is missing in {P}. The file may be corrupt."},
            .files = {{kProject, "[Info]\r\nVersion=1.00.000\r\n"}, {kFileGroups, kGroups}}},
        Scenario{
            .name = "MissingVersionKey",
            .project = "[General]\r\nType=STANDARD\r\n[Data]\r\nVersion=1.00.000",
            .fileGroups = kGroups,
            .messages = {L"The Version key is missing in {P}. The file may be corrupt."},
            .statusTexts = {L"", L"The Version key is missing in {P}. The file may be corrupt."},
            .files = {{kProject, "[General]\r\nType=STANDARD\r\n[Data]\r\nVersion=1.00.000"},
                      {kFileGroups, kGroups}}},
        Scenario{.name = "NewerUpgradedFormat",
                 .project = ProjectText("1.20.000"),
                 .fileGroups = kGroups,
                 .messages = {kNewer},
                 .statusTexts = {L"", kNewer},
                 .files = {{kProject, ProjectText("1.20.000")}, {kFileGroups, kGroups}}},
        Scenario{.name = "NewerZeroMajor",
                 .project = ProjectText("0.90.000"),
                 .fileGroups = kGroups,
                 .messages = {kNewer},
                 .statusTexts = {L"", kNewer},
                 .files = {{kProject, ProjectText("0.90.000")}, {kFileGroups, kGroups}}},
        Scenario{.name = "OlderSingleDigit",
                 .project = ProjectText("5"),
                 .fileGroups = kGroups,
                 .messages = {kOlder},
                 .statusTexts = {L"", kOlder},
                 .files = {{kProject, ProjectText("5")}, {kFileGroups, kGroups}}},
        Scenario{.name = "OlderThreeCharacters",
                 .project = ProjectText("1.0"),
                 .fileGroups = kGroups,
                 .messages = {kOlder},
                 .statusTexts = {L"", kOlder},
                 .files = {{kProject, ProjectText("1.0")}, {kFileGroups, kGroups}}},
        Scenario{.name = "OlderEmptyValue",
                 .project = ProjectText(""),
                 .fileGroups = kGroups,
                 .messages = {kOlder},
                 .statusTexts = {L"", kOlder},
                 .files = {{kProject, ProjectText("")}, {kFileGroups, kGroups}}},
        Scenario{.name = "UnreadableVersionIsSilent",
                 .project = ProjectText("x.00.000"),
                 .fileGroups = kGroups,
                 .statusTexts = {L"", L""},
                 .files = {{kProject, ProjectText("x.00.000")}, {kFileGroups, kGroups}}},
        // Read without its quotes, the version is convertible, but no line is "Version=" and it.
        Scenario{
            .name = "QuotedVersionIsReadAndItsLineRefused",
            .project = "[General]\r\nVersion=\"1.00.000\"\r\n",
            .fileGroups = kGroups,
            .messages = {kNoVersionLine},
            .statusTexts = {L"", L"Converting {P}...", kNoVersionLine},
            .files = {{kProject, "[General]\r\nVersion=\"1.00.000\"\r\n"}, {kFileGroups, kGroups}}},
        Scenario{.name = "Utf16FileGroupsWithoutMarkStopTheRun",
                 .project = kOld,
                 .fileGroups = kUtf16Groups,
                 .messages = {kNotEightBit},
                 .statusTexts = {L"", L"Converting {P}...", L"Converted {P}...",
                                 L"Converting {F}...", kNotEightBit},
                 .files = {{kProject, kNew}, {kFileGroups, kUtf16Groups}}},
        Scenario{.name = "Utf8MarksAreNoPartOfTheFirstLines",
                 .project = kMark + "[General]\r\nVersion=1.10.000",
                 .fileGroups = kMark + kGroups,
                 .statusTexts = Concat(kConvertBoth, {L"Complete!"}),
                 .files = {{kProject, kMark + "[General]\r\nVersion=1.20.000\r\n"},
                           {kFileGroups, kMark + kGroupsNew}}},
        Scenario{.name = "Code1ConvertsBothFilesOnly",
                 .project = ProjectText("1.10.000"),
                 .fileGroups = kGroups,
                 .statusTexts = Concat(kConvertBoth, {L"Complete!"}),
                 .files = {{kProject, UpgradedProjectText("1.10.000")}, {kFileGroups, kGroupsNew}}},
        Scenario{
            .name = "Code0MakesAllFourChanges",
            .project = kOld,
            .fileGroups = kGroups,
            .statusTexts = Concat(kConvertBoth,
                                  {L"Creating the Registry Entries settings file...",
                                   L"Created the Registry Entries settings file...",
                                   L"Creating the Shell Objects settings file...",
                                   L"Created the Shell Objects settings file...", L"Complete!"}),
            .files = {{kProject, kNew},
                      {kFileGroups, kGroupsNew},
                      {kRegistry, kRegistryEntriesText},
                      {kShell, kShellObjectsText}}},
        Scenario{.name = "MissingFileGroupFileIsPassedOver",
                 .project = kOld,
                 .statusTexts = {L"", L"Converting {P}...", L"Converted {P}...",
                                 L"Creating the Registry Entries settings file...",
                                 L"Created the Registry Entries settings file...",
                                 L"Creating the Shell Objects settings file...",
                                 L"Created the Shell Objects settings file...", L"Complete!"},
                 .files = {{kProject, kNew},
                           {kRegistry, kRegistryEntriesText},
                           {kShell, kShellObjectsText}}},
        Scenario{.name = "ExistingRegistryEntriesFolderEndsSilently",
                 .project = kOld,
                 .fileGroups = kGroups,
                 .folders = {L"Registry Entries"},
                 .statusTexts = Concat(kConvertBoth,
                                       {L"Creating the Registry Entries settings file...", L""}),
                 .files = {{kProject, kNew}, {kFileGroups, kGroupsNew}}},
        Scenario{.name = "ExistingShellObjectsFolderEndsSilently",
                 .project = kOld,
                 .fileGroups = kGroups,
                 .folders = {L"Shell Objects"},
                 .statusTexts = Concat(kConvertBoth,
                                       {L"Creating the Registry Entries settings file...",
                                        L"Created the Registry Entries settings file...",
                                        L"Creating the Shell Objects settings file...", L""}),
                 .files = {{kProject, kNew},
                           {kFileGroups, kGroupsNew},
                           {kRegistry, kRegistryEntriesText}}}),
    [](const testing::TestParamInfo<Scenario>& info) { return std::string(info.param.name); });

class UpgradeRunCaseTest : public RunFixture {};

TEST_F(UpgradeRunCaseTest, ReadOnlyProjectIsReportedWithTheHint) {
  WriteBytes(folder.Child(kProject), kOld);
  WriteBytes(folder.Child(kFileGroups), kGroups);
  std::filesystem::permissions(Native(folder.Child(kProject)),
                               std::filesystem::perms::owner_write |
                                   std::filesystem::perms::group_write |
                                   std::filesystem::perms::others_write,
                               std::filesystem::perm_options::remove);
  upgrade::ConvertButton_Click(state, recorder);
  const std::wstring message =
      L"Error when upgrading {P}. Please make sure that this file is writable.";
  Expect({message}, {L"", L"Converting {P}...", message},
         Files{{kProject, kOld}, {kFileGroups, kGroups}});
}

TEST_F(UpgradeRunCaseTest, ProjectThatCannotBeLoadedEndsSilently) {
  WriteBytes(folder.Child(kProject), kOld);
  // The file is found, then vanishes before the reader loads it.
  plan->beforeForward = [&](const Operation& op) {
    if (op.name == "GetParentFolderName") std::filesystem::remove(Native(folder.Child(kProject)));
  };
  upgrade::ConvertButton_Click(state, recorder);
  Expect({}, {L"", L""}, Files{});
}

TEST_F(UpgradeRunCaseTest, MissingFileAfterCompleteEmptiesTheStatusBar) {
  WriteBytes(folder.Child(kProject), ProjectText("1.10.000"));
  upgrade::ConvertButton_Click(state, recorder);
  ASSERT_EQ(recorder.statusText, L"Complete!");
  recorder.ClearRecords();
  recorder.projectPath = folder.Child(L"Other.ipr");
  upgrade::ConvertButton_Click(state, recorder);
  EXPECT_EQ(recorder.messages, Strings{kNoProject});
  EXPECT_EQ(recorder.statusTexts, Strings{L""});
}

TEST_F(UpgradeRunCaseTest, MissingFileAfterRefusalShowsTheRefusalAgain) {
  WriteBytes(folder.Child(kProject), ProjectText("1.20.000"));
  upgrade::ConvertButton_Click(state, recorder);
  ASSERT_EQ(recorder.statusText, kNewer);
  recorder.ClearRecords();
  recorder.projectPath = folder.Child(L"Other.ipr");
  upgrade::ConvertButton_Click(state, recorder);
  EXPECT_EQ(recorder.messages, Strings{kNoProject});
  EXPECT_EQ(recorder.statusTexts, Strings{kNewer});
}

TEST_F(UpgradeRunCaseTest, SecondRunOfAnUpgradedProjectIsRefusedAsNewer) {
  WriteBytes(folder.Child(kProject), kOld);
  WriteBytes(folder.Child(kFileGroups), kGroups);
  upgrade::ConvertButton_Click(state, recorder);
  ASSERT_EQ(recorder.statusText, L"Complete!");
  recorder.ClearRecords();
  upgrade::ConvertButton_Click(state, recorder);
  Expect({kNewer}, {L"", kNewer},
         Files{{kProject, kNew},
               {kFileGroups, kGroupsNew},
               {kRegistry, kRegistryEntriesText},
               {kShell, kShellObjectsText}});
}

TEST_F(UpgradeRunCaseTest, FailedCleanUpEndsNamingTheStrayFile) {
  const std::wstring temp = folder.Child(L"stray.tmp");
  WriteBytes(folder.Child(kProject), kOld);
  plan->tempNames = {L"stray.tmp"};
  plan->errorNumber = platform::kDiskFull;
  plan->faults = {{"TextStream::WriteLine", temp}, {"DeleteFile", temp}};
  upgrade::ConvertButton_Click(state, recorder);

  const std::wstring message = L"Error when upgrading {P}.";
  Expect({message},
         {L"", L"Converting {P}...",
          message + L" The temporary file " + temp + L" could not be removed."},
         Files{{kProject, kOld}, {L"stray.tmp", ""}});
}

// Until the project is mended, every press ends the same way and changes nothing.
TEST_F(UpgradeRunCaseTest, UnraisedVersionLineIsRefusedAgainOnTheSecondPress) {
  const std::string project = "[General]\r\nVersion = 1.10.000\r\n";
  WriteBytes(folder.Child(kProject), project);
  WriteBytes(folder.Child(kFileGroups), kGroups);
  for (int press = 0; press < 2; ++press) {
    recorder.ClearRecords();
    upgrade::ConvertButton_Click(state, recorder);
    Expect({kNoVersionLine}, {L"", L"Converting {P}...", kNoVersionLine},
           Files{{kProject, project}, {kFileGroups, kGroups}});
  }
}

std::set<std::filesystem::path> Entries(const std::filesystem::path& folderPath) {
  std::set<std::filesystem::path> entries;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(folderPath, error)) {
    entries.insert(entry.path());
  }
  return entries;
}

// The path as typed: a bare name, or (where paths have drives) a drive and a name.
class PathWithoutFolderTest : public RunFixture, public testing::WithParamInterface<bool> {};

TEST_P(PathWithoutFolderTest, UpgradesBesideTheProject) {
  std::wstring typed = kProject;
  if (GetParam()) {
    const std::wstring& path = folder.Path();
    if (path.size() < 2 || path[1] != L':') GTEST_SKIP() << "paths here have no drive";
    typed = path.substr(0, 2) + kProject;
  }
  WriteBytes(folder.Child(kProject), kOld);
  WriteBytes(folder.Child(kFileGroups), kGroups);
  const auto previous = std::filesystem::current_path();
  std::filesystem::current_path(Native(folder.Path()));
  const auto root = std::filesystem::current_path().root_path();
  const auto rootBefore = Entries(root);
  recorder.projectPath = typed;

  upgrade::ConvertButton_Click(state, recorder);
  std::filesystem::current_path(previous);

  EXPECT_EQ(Entries(root), rootBefore) << "nothing may be written at the root";
  EXPECT_TRUE(std::filesystem::equivalent(Native(state.projectFolder), Native(folder.Path())));
  EXPECT_EQ(recorder.messages, Strings{});
  const std::wstring groups = state.projectFolder + L"\\" + kFileGroups;
  EXPECT_EQ(recorder.statusTexts,
            (Strings{L"", L"Converting " + typed + L"...", L"Converted " + typed + L"...",
                     L"Converting " + groups + L"...", L"Converted " + groups + L"...",
                     L"Creating the Registry Entries settings file...",
                     L"Created the Registry Entries settings file...",
                     L"Creating the Shell Objects settings file...",
                     L"Created the Shell Objects settings file...", L"Complete!"}));
  EXPECT_EQ(FolderFiles(), (Files{{kProject, kNew},
                                  {kFileGroups, kGroupsNew},
                                  {kRegistry, kRegistryEntriesText},
                                  {kShell, kShellObjectsText}}));
}

INSTANTIATE_TEST_SUITE_P(Typed, PathWithoutFolderTest, testing::Bool(),
                         [](const auto& info) { return info.param ? "DriveAndName" : "Name"; });

}  // namespace
}  // namespace upgrade_test
