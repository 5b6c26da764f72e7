#include "upgrade/version_line_rule.h"

#include "platform/eight_bit_text.h"
#include "upgrade/ascii_text.h"

namespace upgrade {
namespace {

std::string VersionLineBytes(std::wstring_view versionText) {
  constexpr std::string_view kKey = "Version=";
  std::string line(kKey.size() + versionText.size(), '\0');
  kKey.copy(line.data(), kKey.size());
  if (!platform::NarrowEightBit(versionText.data(), versionText.size(),
                                line.data() + kKey.size())) {
    return {};
  }
  return line;
}

}  // namespace

VersionLineRule::VersionLineRule(std::wstring_view versionText, platform::LeadBytes leadBytes)
    : oldVersionLine_(VersionLineBytes(versionText)), leadBytes_(leadBytes) {}

void VersionLineRule::Apply(std::string_view line, platform::TextStream& writer) {
  if (HoldsBothBrackets(line, leadBytes_)) inGeneral_ = EqualsIgnoringAsciiCase(line, "[General]");
  if (inGeneral_ && !oldVersionLine_.empty() && line == oldVersionLine_) {
    writer.WriteLineBytes("Version=1.20.000");
  } else {
    writer.WriteLineBytes(line);
  }
}

}  // namespace upgrade
