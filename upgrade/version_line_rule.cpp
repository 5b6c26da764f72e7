#include "upgrade/version_line_rule.h"

#include <cstdint>

#include "upgrade/ascii_text.h"

namespace upgrade {
namespace {

std::string VersionLineBytes(std::wstring_view versionText) {
  std::string line = "Version=";
  for (const wchar_t c : versionText) {
    if (static_cast<std::uint32_t>(c) > 0xFF) return {};
    line.push_back(static_cast<char>(c));
  }
  return line;
}

}  // namespace

VersionLineRule::VersionLineRule(std::wstring_view versionText)
    : oldVersionLine_(VersionLineBytes(versionText)) {}

void VersionLineRule::Apply(std::string_view line, platform::TextStream& writer) {
  if (HoldsBothBrackets(line)) inGeneral_ = EqualsIgnoringAsciiCase(line, "[General]");
  if (inGeneral_ && !oldVersionLine_.empty() && line == oldVersionLine_) {
    writer.WriteLineBytes("Version=1.20.000");
  } else {
    writer.WriteLineBytes(line);
  }
}

}  // namespace upgrade
