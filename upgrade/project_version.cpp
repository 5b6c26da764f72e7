#include "upgrade/project_version.h"

#include <memory>
#include <string>

#include "platform/ini_reader.h"
#include "platform/lead_bytes.h"

namespace upgrade {
namespace {

// The version digits are the ASCII digits only, whatever the locale.
constexpr bool IsAsciiDigit(wchar_t c) noexcept { return c >= L'0' && c <= L'9'; }

StepResult ReportDamagedProject(ui::UpgradeState& state, ui::UpgradeUi& ui, std::wstring_view what,
                                const std::wstring& path) {
  state.statusMessage =
      std::wstring(what) + L" is missing in " + path + L". The file may be corrupt.";
  ui.ShowMessage(state.statusMessage);
  return kStepFailed;
}

}  // namespace

std::optional<std::int32_t> ClassifyVersionText(std::wstring_view versionText) noexcept {
  if (versionText.size() <= 3) return kOlderFormatCode;
  const wchar_t majorChar = versionText[0];
  const wchar_t minorChar = versionText[2];
  // Both are converted before either is used: "3.x0.000" fails although "3" alone gives 6.
  if (!IsAsciiDigit(majorChar) || !IsAsciiDigit(minorChar)) return std::nullopt;
  const int major = majorChar - L'0';
  const int minor = minorChar - L'0';
  if (major == 1 || major == 2) {
    const std::int32_t base = major == 1 ? 0 : 3;
    if (minor == 0) return base;
    if (minor == 1) return base + 1;
    return base + 2;
  }
  return 6;
}

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
