// The project file's line rule: inside a [General] section (header matched without regard to
// case), the line that is exactly "Version=" + the version as read becomes "Version=1.20.000".
// Every other line, headers included, is written unchanged. Any line holding both "[" and "]"
// counts as a header and opens or closes the General section; the brackets are characters of the
// code page whose lead bytes the rule is given, so the second byte of a two-byte character is none.
#pragma once

#include <string>
#include <string_view>

#include "platform/lead_bytes.h"
#include "upgrade/text_rewrite.h"

namespace upgrade {

class VersionLineRule final : public LineRule {
 public:
  explicit VersionLineRule(std::wstring_view versionText, platform::LeadBytes leadBytes = {});
  void Apply(std::string_view line, platform::TextStream& writer) override;
  // Outside a General section only a header changes anything; inside, any line may be the one.
  bool CopiesLinesWithoutBrackets() const override {
    return !inGeneral_ || oldVersionLine_.empty();
  }

 private:
  // As bytes; empty when the version holds a character that no byte stands for, since no line of
  // 8-bit text can then match it.
  std::string oldVersionLine_;
  platform::LeadBytes leadBytes_;
  bool inGeneral_ = false;
};

}  // namespace upgrade
