#include "upgrade/version_line_rule.h"

#include "upgrade/ascii_text.h"

namespace upgrade {

VersionLineRule::VersionLineRule(std::wstring_view versionText)
    : oldVersionLine_(std::wstring(L"Version=").append(versionText)) {}

void VersionLineRule::Apply(std::wstring_view line, platform::TextStream& writer) {
  if (HoldsBothBrackets(line)) inGeneral_ = EqualsIgnoringAsciiCase(line, L"[General]");
  if (inGeneral_ && line == oldVersionLine_) {
    writer.WriteLine(L"Version=1.20.000");
  } else {
    writer.WriteLine(line);
  }
}

}  // namespace upgrade
