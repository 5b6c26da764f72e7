// What a user sees of the laid-out window, checked on the live window in the font each control
// really uses, whatever the DPI and the text size: every text whole in its control, no control
// over another unless a frame holds it whole, the status bar docked, the caption whole in the
// title bar, the window on its work area; and, at the design font, the twips table exactly.
#pragma once

#include <gtest/gtest.h>

#include <functional>

#include "platform/win32_headers.h"

namespace ui {

// Every control's rectangle in the client coordinates of `relativeTo`.
RECT RectIn(HWND child, HWND relativeTo);

// Adds a failure unless the controls, at the rectangles that rectOf gives for their ids in client
// coordinates, each lie within the client area and on the frame that holds them in the table, no
// control over another unless a frame holds it whole, and the status bar docked at the bottom.
using RectOf = std::function<RECT(int id)>;
void ExpectArranged(const RectOf& rectOf, SIZE client);

// The figures of one laid-out window, for the record.
struct LayoutFigures {
  SIZE client;
  int largestOverflow;  // by which any control's text exceeds its room, in pixels
  int captionWidth;     // the caption in the caption font
  int captionRoom;      // what the title bar leaves it beside the icon and the buttons
};

// Adds a failure for every property broken and returns the figures. A failure's status naming a
// project in a folder 200 characters deep must keep, as drawn, the file's name and the reason.
LayoutFigures ExpectSoundLayout(HWND form, UINT dpi);

// Adds a failure unless every control stands where the twips table puts it at that DPI:
// MulDiv(twips, dpi, 1440), a frame's child relative to the frame; a label may reach further
// down into the free space below it.
void ExpectTheTwipsTable(HWND form, UINT dpi);

}  // namespace ui
