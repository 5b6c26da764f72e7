// Rewrites an existing text file line by line through a temporary file in the same folder; the
// line rule decides what is written for each line.
#pragma once

#include <string_view>

#include "platform/text_stream.h"
#include "ui/upgrade_state.h"
#include "ui/upgrade_ui.h"
#include "upgrade/step_result.h"

namespace upgrade {

class LineRule {
 public:
  virtual ~LineRule() = default;
  // Writes one or more lines for one line of the source, given without its line end and as its
  // bytes: 8-bit text maps each byte to the character of the same value, so no line is widened.
  virtual void Apply(std::string_view line, platform::TextStream& writer) = 0;
};

StepResult RewriteTextFile(ui::UpgradeState& state, ui::UpgradeUi& ui, std::wstring_view sourcePath,
                           LineRule& rule);

}  // namespace upgrade
