#include "upgrade/project_file_upgrade.h"

#include "platform/lead_bytes.h"
#include "upgrade/text_rewrite.h"
#include "upgrade/version_line_rule.h"

namespace upgrade {

StepResult ConvertProjectFile(ui::UpgradeState& state, ui::UpgradeUi& ui) {
  VersionLineRule rule(state.versionText, platform::SystemLeadBytes());
  return RewriteTextFile(state, ui, ui.ProjectPath(), rule);
}

}  // namespace upgrade
