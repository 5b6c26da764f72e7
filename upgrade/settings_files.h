// Creates the registry-entries and shell-objects settings files of a 1.0x project. Neither
// handles a failure: it travels to the run.
#pragma once

#include "ui/upgrade_state.h"
#include "ui/upgrade_ui.h"

namespace upgrade {

void CreateRegistryEntriesFile(ui::UpgradeState& state, ui::UpgradeUi& ui);
void CreateShellObjectsFile(ui::UpgradeState& state, ui::UpgradeUi& ui);

}  // namespace upgrade
