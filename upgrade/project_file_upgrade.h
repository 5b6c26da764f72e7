// Raises the project file's [General] Version line to 1.20.000.
#pragma once

#include "ui/upgrade_state.h"
#include "ui/upgrade_ui.h"
#include "upgrade/step_result.h"

namespace upgrade {

StepResult ConvertProjectFile(ui::UpgradeState& state, ui::UpgradeUi& ui);

}  // namespace upgrade
