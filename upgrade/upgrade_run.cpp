#include "upgrade/upgrade_run.h"

#include <string>

#include "platform/path_names.h"
#include "upgrade/line_rules.h"
#include "upgrade/project_version.h"
#include "upgrade/settings_files.h"

namespace upgrade {
namespace {

// The run's steps up to "Complete!". Returns false where the run goes on to its closing; any
// failure that no step handled leaves by exception to the run's handler.
bool RunUpgradeSteps(ui::UpgradeState& state, ui::UpgradeUi& ui) {
  platform::FileSystemObject& fileSystem = state.FileSystem();
  const std::wstring projectPath = ui.ProjectPath();
  if (!fileSystem.FileExists(projectPath)) {
    // Not kept in statusMessage: the closing shows what an earlier run left there.
    ui.ShowMessage(L"Please specify a valid Brenlow Professional 5.0 project.");
    return false;
  }
  ui.SetStatusText(L"");
  state.statusMessage.clear();
  state.projectFolder = platform::ContainingFolder(fileSystem, projectPath);

  if (ReadProjectVersion(state, ui) == kStepFailed) return false;
  if (state.versionCode > 1) {
    state.statusMessage =
        L"The selected project is created in the newer version of Brenlow Professional. You do "
        L"not need to convert your project.";
    ui.ShowMessage(state.statusMessage);
    return false;
  }
  if (state.versionCode < 0) {
    state.statusMessage =
        L"The selected project is created in the older version of Brenlow Professional. This "
        L"utility cannot convert your project.";
    ui.ShowMessage(state.statusMessage);
    return false;
  }

  if (ConvertProjectFile(state, ui) == kStepFailed) return false;
  if (ConvertFileGroups(state, ui) == kStepFailed) return false;
  if (state.versionCode == 0) {
    CreateRegistryEntriesFile(state, ui);
    CreateShellObjectsFile(state, ui);
  }
  ui.SetStatusText(L"Complete!");
  return true;
}

}  // namespace

void ConvertButton_Click(ui::UpgradeState& state, ui::UpgradeUi& ui) {
  try {
    if (RunUpgradeSteps(state, ui)) return;
  } catch (...) {
    // The run's handler: whatever a step did not handle ends at the closing, without a message.
  }
  // The closing. Nothing may escape the Convert command, not even a failing status bar.
  try {
    ui.SetStatusText(state.statusMessage);
  } catch (...) {
  }
}

}  // namespace upgrade
