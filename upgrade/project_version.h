// Reads and classifies the format version that the project file records under [General] Version.
#pragma once

#include <cstdint>
#include <string_view>

#include "ui/upgrade_state.h"
#include "ui/upgrade_ui.h"
#include "upgrade/step_result.h"

namespace upgrade {

StepResult ReadProjectVersion(ui::UpgradeState& state, ui::UpgradeUi& ui);

}  // namespace upgrade
