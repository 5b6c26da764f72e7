#include "tests/ui/message_font.h"

#include <cwchar>

#include "ui/dpi.h"
#include "ui/form1_layout.h"

namespace ui {
namespace {

bool GetMetrics(NONCLIENTMETRICSW& metrics) {
  metrics = NONCLIENTMETRICSW{};
  metrics.cbSize = sizeof(metrics);
  return SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0) != FALSE;
}

bool PutMetrics(NONCLIENTMETRICSW& metrics, UINT flags) {
  return SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof(metrics), &metrics, flags) != FALSE;
}

}  // namespace

bool DesignMessageFont(UINT dpi, LOGFONTW& font) {
  font = LOGFONTW{};
  font.lfHeight = -MulDiv(kDesignEmHeight, static_cast<int>(dpi), static_cast<int>(kBaseDpi));
  font.lfWeight = FW_NORMAL;
  font.lfCharSet = DEFAULT_CHARSET;
  wcsncpy(font.lfFaceName, L"Tahoma", LF_FACESIZE - 1);
  return true;
}

bool SetMessageFont(int heightAt96, const wchar_t* face, bool announce) {
  NONCLIENTMETRICSW metrics;
  if (!GetMetrics(metrics)) return false;
  metrics.lfMessageFont.lfHeight = MulDiv(heightAt96, static_cast<int>(SystemDpi()), 96);
  if (face != nullptr) {
    wcsncpy(metrics.lfMessageFont.lfFaceName, face, LF_FACESIZE - 1);
    metrics.lfMessageFont.lfFaceName[LF_FACESIZE - 1] = L'\0';
  }
  return PutMetrics(metrics, SPIF_UPDATEINIFILE | (announce ? SPIF_SENDCHANGE : 0));
}

ScopedMetricsRestore::ScopedMetricsRestore() : valid_(GetMetrics(saved_)) {}

ScopedMetricsRestore::~ScopedMetricsRestore() {
  if (valid_) PutMetrics(saved_, SPIF_UPDATEINIFILE);
}

}  // namespace ui
