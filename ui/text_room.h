// How much room a control's text needs in the font it is drawn in: what the layout asks of each
// control before it places it.
#pragma once

#include "platform/win32_headers.h"
#include "ui/form1_layout.h"

namespace ui {

// The room for the row's text, measured in `dc`, which has the controls' font selected, at that
// DPI: a label's wrapped text at `width` (nothing when width is 0); a frame's caption on one line
// with an average character's margin at each end; a push button's text within its raised edge
// and a character's margin at each side; the path field's and the status bar's line within
// their sunken edges. Nothing where the DC cannot measure.
TextRoom MeasureTextRoom(HDC dc, const ControlRow& row, int width, UINT dpi);

}  // namespace ui
