#include "ui/text_room.h"

#include "ui/dpi.h"

namespace ui {
namespace {

// As a label draws its text: wrapped at word breaks, tabs expanded, "&" shown as it is.
constexpr UINT kLabelFormat = DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX;

SIZE TextExtent(HDC dc, const wchar_t* text, int width, UINT format) {
  RECT bounds{0, 0, width, 0};
  DrawTextW(dc, text, -1, &bounds, DT_CALCRECT | format);
  return SIZE{bounds.right - bounds.left, bounds.bottom - bounds.top};
}

}  // namespace

TextRoom MeasureTextRoom(HDC dc, const ControlRow& row, int width, UINT dpi) {
  TEXTMETRICW metrics{};
  if (dc == nullptr || !GetTextMetricsW(dc, &metrics)) return TextRoom{0, 0};
  if (row.kind == ControlKind::kLabel) {
    return TextRoom{0, width > 0 ? TextExtent(dc, row.text, width, kLabelFormat).cy : 0};
  }
  const int textWidth =
      *row.text != L'\0' ? TextExtent(dc, row.text, 0, DT_SINGLELINE | DT_NOPREFIX).cx : 0;
  const int margin = metrics.tmAveCharWidth;
  if (row.kind == ControlKind::kFrame)
    return TextRoom{textWidth > 0 ? textWidth + 2 * margin : 0, 0};
  const int edge = SystemMetricForDpi(SM_CYEDGE, dpi);
  const int lineWithin = metrics.tmHeight + 2 * edge;
  if (row.kind == ControlKind::kButton)
    return TextRoom{textWidth + 2 * (edge + margin), lineWithin};
  return TextRoom{0, lineWithin};
}

}  // namespace ui
