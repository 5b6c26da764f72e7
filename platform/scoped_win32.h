// The Win32 resources that the program holds, each with one owner on ScopedResource, kept together
// so that every kind is found in one place: a kernel handle, a window's DC, an object selected
// into a DC, a GDI font, a loaded library, a COM reference and the thread's COM apartment. Each is
// released by its owner's destructor, so that no early return leaves one behind.
#pragma once

#include "platform/scoped_resource.h"
#include "platform/win32_headers.h"

#include <objbase.h>

namespace platform {

// A kernel handle; Close reports the GetLastError value of a failed CloseHandle.
struct HandleTraits {
  using Handle = HANDLE;
  using Error = DWORD;
  static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
  // Win32 functions return either value for "no handle".
  static bool IsValid(HANDLE handle) { return handle != INVALID_HANDLE_VALUE && handle != nullptr; }
  static DWORD Release(HANDLE handle) { return ::CloseHandle(handle) ? 0 : ::GetLastError(); }
};

using ScopedHandle = ScopedResource<HandleTraits>;

// A handle that is null when there is none and that one call releases; Release says true when the
// system refused.
template <typename T, bool (*release)(T)>
struct NullableTraits {
  using Handle = T;
  using Error = bool;
  static Handle Invalid() { return nullptr; }
  static bool IsValid(Handle handle) { return handle != nullptr; }
  static bool Release(Handle handle) { return release(handle); }
};

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
inline bool ReleaseFont(HFONT font) { return DeleteObject(font) == 0; }
inline bool ReleaseLibrary(HMODULE library) { return FreeLibrary(library) == 0; }
template <typename Interface>
bool ReleaseCom(Interface* object) {
  object->Release();
  return false;  // a reference's release cannot fail
}

using ScopedWindowDc = ScopedResource<PairedTraits<HWND, HDC, ReleaseWindowDc>>;
using ScopedSelection = ScopedResource<PairedTraits<HDC, HGDIOBJ, SelectBack>>;
using ScopedFont = ScopedResource<NullableTraits<HFONT, ReleaseFont>>;
using ScopedLibrary = ScopedResource<NullableTraits<HMODULE, ReleaseLibrary>>;
// One reference to a COM object.
template <typename Interface>
using ScopedComPtr = ScopedResource<NullableTraits<Interface*, ReleaseCom<Interface>>>;

// The window's DC (the screen's for nullptr); an empty owner when none can be had.
inline ScopedWindowDc GetWindowDc(HWND window) { return ScopedWindowDc({window, GetDC(window)}); }

// Selects the object into the DC until the owner goes; an empty owner when the DC refused it.
inline ScopedSelection SelectInto(HDC dc, HGDIOBJ object) {
  HGDIOBJ previous = dc != nullptr ? SelectObject(dc, object) : nullptr;
  return ScopedSelection({dc, previous != HGDI_ERROR ? previous : nullptr});
}

// A system library by its bare name, from the system folder only.
inline ScopedLibrary LoadSystemLibrary(const wchar_t* name) {
  return ScopedLibrary(LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
}

// The library's function of that name cast to Fn, or nullptr.
template <typename Fn>
Fn LibraryFunction(HMODULE library, const char* name) {
  if (library == nullptr) return nullptr;
  // Through void(*)() so that the cast between function types is a deliberate one.
  return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(GetProcAddress(library, name)));
}

// The thread's COM apartment, left by CoUninitialize. Its handle says whether it was entered: a
// thread that CoInitializeEx refuses has nothing to leave.
struct ComApartmentTraits {
  using Handle = bool;
  using Error = bool;  // leaving cannot fail
  static bool Invalid() { return false; }
  static bool IsValid(bool entered) { return entered; }
  static bool Release(bool) {
    CoUninitialize();
    return false;
  }
};

using ScopedComApartment = ScopedResource<ComApartmentTraits>;

// Enters the thread's apartment of that model (COINIT_...); an empty owner where COM refuses.
inline ScopedComApartment EnterComApartment(DWORD model) {
  return ScopedComApartment(SUCCEEDED(CoInitializeEx(nullptr, model)));
}

}  // namespace platform
