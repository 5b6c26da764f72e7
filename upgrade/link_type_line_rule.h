// The file-group file's line rule: every line is written, and under every header line (any line
// holding both "[" and "]") except [Info] and [FileGroups] (matched without regard to case) the
// line "LINKTYPE=Static Link" is added. An existing LINKTYPE entry is not looked for. The brackets
// are characters of the code page whose lead bytes the rule is given.
#pragma once

#include <string_view>

#include "platform/lead_bytes.h"
#include "upgrade/text_rewrite.h"

namespace upgrade {

class LinkTypeLineRule final : public LineRule {
 public:
  explicit LinkTypeLineRule(platform::LeadBytes leadBytes = {}) : leadBytes_(leadBytes) {}
  void Apply(std::string_view line, platform::TextStream& writer) override;
  bool CopiesLinesWithoutBrackets() const override { return true; }

 private:
  platform::LeadBytes leadBytes_;
};

}  // namespace upgrade
