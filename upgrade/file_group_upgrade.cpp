#include "upgrade/file_group_upgrade.h"

#include "upgrade/link_type_line_rule.h"
#include "upgrade/text_rewrite.h"

namespace upgrade {

StepResult ConvertFileGroups(ui::UpgradeState& state, ui::UpgradeUi& ui) {
  LinkTypeLineRule rule;
  return RewriteTextFile(state, ui, state.projectFolder + L"\\File Groups\\Default.fdf", rule);
}

}  // namespace upgrade
