// Scoped owners for the GDI pairs at the window's edges: a window's device context, which goes
// back to that window, and an object selected into a DC, which the DC's previous object replaces
// again. Both release in their destructors, so that no early return leaves either behind.
#pragma once

#include "platform/scoped_resource.h"
#include "platform/win32_headers.h"

namespace ui {

// A handle released together with what it came from: get().handle is the DC, or the object that
// was selected before.
template <typename Owner, typename Object, bool (*release)(Owner, Object)>
struct PairedTraits {
  struct Pair {
    Owner owner;
    Object handle;
  };
  using Handle = Pair;
  using Error = bool;  // true when the release failed
  static Pair Invalid() { return Pair{nullptr, nullptr}; }
  static bool IsValid(const Pair& pair) { return pair.handle != nullptr; }
  static bool Release(const Pair& pair) { return release(pair.owner, pair.handle); }
};

inline bool ReleaseWindowDc(HWND window, HDC dc) { return ReleaseDC(window, dc) == 0; }
inline bool SelectBack(HDC dc, HGDIOBJ previous) { return SelectObject(dc, previous) == nullptr; }

using ScopedWindowDc = platform::ScopedResource<PairedTraits<HWND, HDC, ReleaseWindowDc>>;
using ScopedSelection = platform::ScopedResource<PairedTraits<HDC, HGDIOBJ, SelectBack>>;

// The window's DC (the screen's for nullptr); an empty owner when none can be had.
inline ScopedWindowDc GetWindowDc(HWND window) { return ScopedWindowDc({window, GetDC(window)}); }

// Selects the object into the DC until the owner goes; an empty owner when the DC refused it.
inline ScopedSelection SelectInto(HDC dc, HGDIOBJ object) {
  HGDIOBJ previous = dc != nullptr ? SelectObject(dc, object) : nullptr;
  return ScopedSelection({dc, previous != HGDI_ERROR ? previous : nullptr});
}

}  // namespace ui
