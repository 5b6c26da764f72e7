#include "upgrade/project_version.h"

#include <memory>
#include <string>

#include "platform/ini_reader.h"
#include "platform/lead_bytes.h"
#include "upgrade/version_class.h"

namespace upgrade {
namespace {

StepResult ReportDamagedProject(ui::UpgradeState& state, ui::UpgradeUi& ui, std::wstring_view what,
                                const std::wstring& path) {
  state.statusMessage =
      std::wstring(what) + L" is missing in " + path + L". The file may be corrupt.";
  ui.ShowMessage(state.statusMessage);
  return kStepFailed;
}

}  // namespace

StepResult ReadProjectVersion(ui::UpgradeState& state, ui::UpgradeUi& ui) {
  // Everything but a missing section or key passes silently: the run then closes with the
  // statusMessage it has just cleared. The reader is released on every path.
  try {
    const std::wstring path = ui.ProjectPath();
    auto reader =
        std::make_unique<platform::IniReader>(state.FileSystem(), platform::SystemLeadBytes());
    reader->LoadFile(path);

    const platform::IniSection* general = reader->Sections().Item(L"General");
    if (general == nullptr) return ReportDamagedProject(state, ui, L"The General section", path);
    const platform::IniKey* version = general->Keys().Item(L"Version");
    if (version == nullptr) return ReportDamagedProject(state, ui, L"The Version key", path);

    state.versionCode = kOlderFormatCode;
    state.versionText = version->Value();
    const std::optional<std::int32_t> code = ClassifyVersionText(state.versionText);
    if (!code) return kStepFailed;
    state.versionCode = *code;
    return kStepSucceeded;
  } catch (...) {
    return kStepFailed;
  }
}

}  // namespace upgrade
