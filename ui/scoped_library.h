// A loaded DLL with one owner, freed when the owner goes. The libraries that the window needs
// only on some systems or only later (the file dialog, the monitor DPI, the accessibility
// service) are loaded through it, so that the program starts without them.
#pragma once

#include "platform/scoped_resource.h"
#include "platform/win32_headers.h"

namespace ui {

struct LibraryTraits {
  using Handle = HMODULE;
  using Error = bool;  // true when the system refused to free it
  static HMODULE Invalid() { return nullptr; }
  static bool IsValid(HMODULE module) { return module != nullptr; }
  static bool Release(HMODULE module) { return FreeLibrary(module) == 0; }
};

using ScopedLibrary = platform::ScopedResource<LibraryTraits>;

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

}  // namespace ui
