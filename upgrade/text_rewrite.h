// Rewrites an existing text file line by line through a temporary file in the same folder; the
// line rule decides what is written for each line.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/text_stream.h"
#include "ui/upgrade_state.h"
#include "ui/upgrade_ui.h"

namespace upgrade {

// Result of the rewrite steps and of the version check: 0 for success (also when there was
// nothing to do), -1 for a failure already reported (or, in the version check, passed over).
using StepResult = std::int32_t;
inline constexpr StepResult kStepSucceeded = 0;
inline constexpr StepResult kStepFailed = -1;

class LineRule {
 public:
  virtual ~LineRule() = default;
  // Writes one or more lines for one line of the source, given without its line end and as its
  // bytes: 8-bit text maps each byte to the character of the same value, so no line is widened.
  virtual void Apply(std::string_view line, platform::TextStream& writer) = 0;
  // Asked once, after the last line: why the text written must not take the source's place, as
  // one sentence for the user, or "" when it may. Only the rule knows what a sound source yields.
  virtual std::wstring_view Refusal() const { return {}; }
};

// Hands every line of the reader to the rule, which writes through the writer. Returns why the text
// written must not replace the source, or "" when it may: the rule's refusal, or the refusal of
// UTF-16 text, which read byte by byte would be written back as garbage; its first line shows it,
// so that one is refused before anything is written. A UTF-8 mark at the start is no part of the
// first line: the rule is given the line after it, and the mark is written back in front of the
// first line written.
std::wstring_view RewriteLines(platform::TextStream& reader, platform::TextStream& writer,
                               LineRule& rule);

StepResult RewriteTextFile(ui::UpgradeState& state, ui::UpgradeUi& ui, std::wstring_view sourcePath,
                           LineRule& rule);

}  // namespace upgrade
