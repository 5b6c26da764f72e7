// Reads and classifies the format version that the project file records under [General] Version.
//
// The classification is kept apart from the reading so that it can be tested and fuzzed on its
// own. A value of 3 characters or fewer is code -1 (an older format). Otherwise the first
// character is the major digit and the third the minor digit (the second is not looked at), and
// the code is: 1.0 -> 0, 1.1 -> 1, 1.other -> 2, 2.0 -> 3, 2.1 -> 4, 2.other -> 5, any other
// major -> 6. Only "0" to "9" are digits: any other character in either place is a failed
// conversion (std::nullopt), which the version check passes over silently.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "ui/upgrade_state.h"
#include "ui/upgrade_ui.h"
#include "upgrade/text_rewrite.h"  // StepResult

namespace upgrade {

inline constexpr std::int32_t kOlderFormatCode = -1;

std::optional<std::int32_t> ClassifyVersionText(std::wstring_view versionText) noexcept;

StepResult ReadProjectVersion(ui::UpgradeState& state, ui::UpgradeUi& ui);

}  // namespace upgrade
