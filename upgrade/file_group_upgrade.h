// Adds "LINKTYPE=Static Link" under each file-group header of File Groups\Default.fdf.
#pragma once

#include "ui/upgrade_state.h"
#include "ui/upgrade_ui.h"
#include "upgrade/step_result.h"

namespace upgrade {

StepResult ConvertFileGroups(ui::UpgradeState& state, ui::UpgradeUi& ui);

}  // namespace upgrade
