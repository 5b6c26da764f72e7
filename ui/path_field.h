// What the path field takes from the shell besides typing: a file dropped on the window or the
// field, from Explorer or any drag source, and folder and file names completed as they are typed,
// as the shell's own path fields complete them. The shell's libraries are loaded when first
// needed, so that the window's start does not wait for them.
#pragma once

#include <optional>
#include <string>

#include "platform/win32_headers.h"

#include <shellapi.h>

namespace ui {

// The field hands the files dropped on it to its parent, which takes WM_DROPFILES for the window
// and the field alike (both carry WS_EX_ACCEPTFILES). False where the field could not be
// subclassed; drops on it then do nothing.
bool PassDropsToParent(HWND field);

// The full path of the first file or folder in the drop; nothing where the drop holds none or
// the shell cannot be had. The drop is finished (DragFinish) in every case where it can be.
std::optional<std::wstring> FirstDroppedPath(HDROP drop);

// Completes folder and file names in the field from the file system alone: no history and no
// addresses, so that nothing is kept. The thread must be in a COM apartment. Returns what the
// system answered; anything but S_OK (Wine's stub answers S_FALSE) leaves the field as it was.
HRESULT CompletePathNames(HWND field);

}  // namespace ui
