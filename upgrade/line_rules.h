// The two line rules of the upgrade and the steps that rewrite a file with each.
//
// Both rules count any line holding both "[" and "]", anywhere and in either order, as a section
// header. The brackets are characters of the code page whose lead bytes a rule is given, so the
// second byte of a two-byte character is never one.
#pragma once

#include <string>
#include <string_view>

#include "platform/lead_bytes.h"
#include "ui/upgrade_state.h"
#include "ui/upgrade_ui.h"
#include "upgrade/text_rewrite.h"

namespace upgrade {

// The project file's rule: inside a [General] section (header matched without regard to case),
// the line that is exactly "Version=" + the version as read becomes "Version=1.20.000". Every
// other line, headers included, is written unchanged; each header opens or closes the section.
class VersionLineRule final : public LineRule {
 public:
  explicit VersionLineRule(std::wstring_view versionText, platform::LeadBytes leadBytes = {});
  void Apply(std::string_view line, platform::TextStream& writer) override;
  // A text in which no line was raised still records the old version: put in the project's
  // place, the run would go on and end "Complete!", and the next run would convert again.
  std::wstring_view Refusal() const override;

 private:
  // As bytes; empty when the version holds a character that no byte stands for, since no line of
  // 8-bit text can then match it.
  std::string oldVersionLine_;
  platform::LeadBytes leadBytes_;
  bool inGeneral_ = false;
  bool raised_ = false;
};

// The file-group file's rule: every line is written, and under every header except [Info] and
// [FileGroups] (matched without regard to case) the line "LINKTYPE=Static Link" is added. An
// existing LINKTYPE entry is not looked for.
class LinkTypeLineRule final : public LineRule {
 public:
  explicit LinkTypeLineRule(platform::LeadBytes leadBytes = {}) : leadBytes_(leadBytes) {}
  void Apply(std::string_view line, platform::TextStream& writer) override;

 private:
  platform::LeadBytes leadBytes_;
};

// Raises the project file's [General] Version line to 1.20.000.
StepResult ConvertProjectFile(ui::UpgradeState& state, ui::UpgradeUi& ui);

// Adds "LINKTYPE=Static Link" under each file-group header of File Groups\Default.fdf.
StepResult ConvertFileGroups(ui::UpgradeState& state, ui::UpgradeUi& ui);

}  // namespace upgrade
