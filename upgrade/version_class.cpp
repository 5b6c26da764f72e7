#include "upgrade/version_class.h"

#include "upgrade/ascii_text.h"

namespace upgrade {

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

}  // namespace upgrade
