// A code-0 run with each of its file operations failing in turn: whatever fails, each rewritten
// file holds its old or its new text whole, no temporary file is left, and the run ends in an
// orderly way.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/failure.h"
#include "tests/upgrade/support/fault_injecting_file_system.h"
#include "tests/upgrade/support/recording_ui.h"
#include "tests/upgrade/support/sample_project.h"
#include "tests/upgrade/support/scratch_folder.h"
#include "upgrade/upgrade_run.h"

namespace upgrade_test {
namespace {

const std::wstring kProject = L"Project.ipr";
const std::wstring kFileGroups = L"File Groups\\Default.fdf";
const std::wstring kRegistry = L"Registry Entries\\Default.rge";
const std::wstring kShell = L"Shell Objects\\Default.shl";

struct RunOutcome {
  RecordingUi recorder;
  std::wstring statusMessage;
  std::shared_ptr<FaultPlan> plan;
};

RunOutcome RunOnFreshProject(const ScratchFolder& folder, std::vector<std::int64_t> failAt,
                             std::int32_t number) {
  std::error_code error;
  std::filesystem::remove_all(Native(folder.Path()), error);
  WriteBytes(folder.Child(kProject), ProjectText("1.00.000"));
  WriteBytes(folder.Child(kFileGroups), kFileGroupsText);
  RunOutcome outcome{RecordingUi(folder.Child(kProject)), L"", std::make_shared<FaultPlan>()};
  outcome.plan->failAt = std::move(failAt);
  outcome.plan->errorNumber = number;
  ui::UpgradeState state(FaultInjectingFactory(outcome.plan));
  EXPECT_NO_THROW(upgrade::ConvertButton_Click(state, outcome.recorder));
  outcome.statusMessage = state.statusMessage;
  return outcome;
}

class FaultSweepTest : public testing::TestWithParam<std::int32_t> {};

TEST_P(FaultSweepTest, EveryFailingOperationKeepsTheTexts) {
  ScratchFolder folder;
  const RunOutcome clean = RunOnFreshProject(folder, {}, 0);
  ASSERT_EQ(clean.recorder.statusText, L"Complete!");
  const std::int64_t operations = clean.plan->count;
  ASSERT_GT(operations, 20);

  const std::string oldProject = ProjectText("1.00.000");
  const std::string newProject = UpgradedProjectText("1.00.000");
  for (std::int64_t n = 1; n <= operations; ++n) {
    SCOPED_TRACE("failing operation " + std::to_string(n) + ": " + clean.plan->log[n - 1].name);
    const RunOutcome run = RunOnFreshProject(folder, {n}, GetParam());
    ASSERT_TRUE(run.plan->Failed());

    EXPECT_LE(run.recorder.messages.size(), 1u);
    EXPECT_EQ(run.recorder.statusText, run.statusMessage);
    EXPECT_NE(run.recorder.statusText, L"Complete!");
    if (!run.recorder.messages.empty()) {
      EXPECT_EQ(run.recorder.messages.front(), run.statusMessage);
      const bool hinted = run.statusMessage.find(L"Please make sure that this file is writable.") !=
                          std::wstring::npos;
      EXPECT_EQ(hinted, GetParam() == platform::kPermissionDenied);
    }

    const struct {
      std::wstring path;
      std::string before, after;
    } rewritten[] = {{folder.Child(kProject), oldProject, newProject},
                     {folder.Child(kFileGroups), kFileGroupsText, kUpgradedFileGroupsText}};
    for (const auto& file : rewritten) {
      const std::string now = PathExists(file.path) ? ReadBytes(file.path) : "(missing)";
      EXPECT_TRUE(now == file.before || now == file.after) << "lost: " << Native(file.path);
    }

    for (const auto& name : folder.Files()) {
      const bool ours =
          name == kProject || name == kFileGroups || name == kRegistry || name == kShell;
      EXPECT_TRUE(ours) << "stray file " << Native(folder.Child(name));
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Numbers, FaultSweepTest,
                         testing::Values(platform::kPermissionDenied, platform::kDiskFull,
                                         platform::kOutOfMemory),
                         [](const auto& info) { return std::to_string(info.param); });

}  // namespace
}  // namespace upgrade_test
