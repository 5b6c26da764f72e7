// The Convert command: the whole upgrade of the project named by the path field.
#pragma once

#include "ui/upgrade_state.h"
#include "ui/upgrade_ui.h"

namespace upgrade {

void ConvertButton_Click(ui::UpgradeState& state, ui::UpgradeUi& ui);

}  // namespace upgrade
