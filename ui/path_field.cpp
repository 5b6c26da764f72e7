#include "ui/path_field.h"

#include <commctrl.h>
#include <shlwapi.h>

#include "platform/scoped_win32.h"

namespace ui {
namespace {

using DragQueryFileFn = UINT(WINAPI*)(HDROP, UINT, LPWSTR, UINT);
using DragFinishFn = void(WINAPI*)(HDROP);
using SHAutoCompleteFn = HRESULT(WINAPI*)(HWND, DWORD);

constexpr UINT_PTR kDropSubclassId = 1;

// Loaded once and kept until the program ends: what they set up (a completion) lives on in the
// field, and a second drop need not load the library again.
HMODULE Shell32() {
  static const platform::ScopedLibrary library = platform::LoadSystemLibrary(L"shell32.dll");
  return library.get();
}

HMODULE Shlwapi() {
  static const platform::ScopedLibrary library = platform::LoadSystemLibrary(L"shlwapi.dll");
  return library.get();
}

LRESULT CALLBACK DropForwarding(HWND field, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                DWORD_PTR) {
  if (message == WM_DROPFILES) return SendMessageW(GetParent(field), message, wParam, lParam);
  if (message == WM_NCDESTROY) RemoveWindowSubclass(field, DropForwarding, kDropSubclassId);
  return DefSubclassProc(field, message, wParam, lParam);
}

}  // namespace

bool PassDropsToParent(HWND field) {
  return SetWindowSubclass(field, DropForwarding, kDropSubclassId, 0) != FALSE;
}

std::optional<std::wstring> FirstDroppedPath(HDROP drop) {
  const auto query = platform::LibraryFunction<DragQueryFileFn>(Shell32(), "DragQueryFileW");
  const auto finish = platform::LibraryFunction<DragFinishFn>(Shell32(), "DragFinish");
  if (query == nullptr || finish == nullptr) return std::nullopt;
  // Finished however this returns: the drop's memory is ours to free.
  struct Finisher {
    DragFinishFn finish;
    HDROP drop;
    ~Finisher() { finish(drop); }
  } finisher{finish, drop};
  if (query(drop, 0xFFFFFFFF, nullptr, 0) == 0) return std::nullopt;
  const UINT length = query(drop, 0, nullptr, 0);
  if (length == 0) return std::nullopt;
  std::wstring path(length + 1, L'\0');
  path.resize(query(drop, 0, path.data(), length + 1));
  return path;
}

HRESULT CompletePathNames(HWND field) {
  const auto complete = platform::LibraryFunction<SHAutoCompleteFn>(Shlwapi(), "SHAutoComplete");
  if (complete == nullptr) return HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND);
  return complete(field, SHACF_FILESYS_ONLY);
}

}  // namespace ui
