#include "upgrade/file_group_upgrade.h"

#include "platform/lead_bytes.h"
#include "upgrade/link_type_line_rule.h"
#include "upgrade/text_rewrite.h"

namespace upgrade {

StepResult ConvertFileGroups(ui::UpgradeState& state, ui::UpgradeUi& ui) {
  LinkTypeLineRule rule(platform::SystemLeadBytes());
  return RewriteTextFile(state, ui, state.projectFolder + L"\\File Groups\\Default.fdf", rule);
}

}  // namespace upgrade
