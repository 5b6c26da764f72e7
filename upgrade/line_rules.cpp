#include "upgrade/line_rules.h"

#include "platform/ascii_case.h"
#include "platform/text_stream.h"

namespace upgrade {
namespace {

using platform::EqualsIgnoringAsciiCase;

// On a double-byte code page the second byte of a character can have the value of either
// bracket, so the brackets are looked for by characters.
bool HoldsBothBrackets(std::string_view line, const platform::LeadBytes& leadBytes) noexcept {
  return leadBytes.Find(line, '[') != std::string_view::npos &&
         leadBytes.Find(line, ']') != std::string_view::npos;
}

}  // namespace

VersionLineRule::VersionLineRule(std::wstring_view versionText, platform::LeadBytes leadBytes)
    : oldVersionLine_(
          platform::NarrowEightBit(L"Version=" + std::wstring(versionText)).value_or("")),
      leadBytes_(leadBytes) {}

void VersionLineRule::Apply(std::string_view line, platform::TextStream& writer) {
  if (HoldsBothBrackets(line, leadBytes_)) inGeneral_ = EqualsIgnoringAsciiCase(line, "[General]");
  if (inGeneral_ && !oldVersionLine_.empty() && line == oldVersionLine_) {
    writer.WriteLineBytes("Version=1.20.000");
    raised_ = true;
  } else {
    writer.WriteLineBytes(line);
  }
}

std::wstring_view VersionLineRule::Refusal() const {
  if (raised_) return {};
  return L"The Version line of the General section is not in the expected form.";
}

void LinkTypeLineRule::Apply(std::string_view line, platform::TextStream& writer) {
  // Decided before the line is written, so that nothing of the rule is needed after that call.
  const bool header = HoldsBothBrackets(line, leadBytes_) &&
                      !EqualsIgnoringAsciiCase(line, "[Info]") &&
                      !EqualsIgnoringAsciiCase(line, "[FileGroups]");
  writer.WriteLineBytes(line);
  if (header) writer.WriteLineBytes("LINKTYPE=Static Link");
}

StepResult ConvertProjectFile(ui::UpgradeState& state, ui::UpgradeUi& ui) {
  VersionLineRule rule(state.versionText, platform::SystemLeadBytes());
  return RewriteTextFile(state, ui, ui.ProjectPath(), rule);
}

StepResult ConvertFileGroups(ui::UpgradeState& state, ui::UpgradeUi& ui) {
  LinkTypeLineRule rule(platform::SystemLeadBytes());
  return RewriteTextFile(state, ui, state.projectFolder + L"\\File Groups\\Default.fdf", rule);
}

}  // namespace upgrade
