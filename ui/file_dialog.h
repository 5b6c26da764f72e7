// The open-file dialog dlgSource: the common dialog with a filter given as "description|pattern"
// pairs, no title, starting folder or default extension of its own.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "platform/scoped_win32.h"
#include "platform/win32_headers.h"

#include <commdlg.h>

namespace ui {

inline constexpr wchar_t kDlgSourceFilter[] = L"Standard Edition Projects (*.ipr) | *.ipr";

// The dialog's filter in the platform's form: each "|" becomes a NUL and the list ends with two,
// the blanks around "|" kept as they are.
std::wstring DialogFilter(std::wstring_view filter);

struct FileDialogResult {
  // The dialog's file name when it closed: the chosen file, or the name it was opened with when
  // the user cancelled it.
  std::wstring fileName;
  // CommDlgExtendedError() when the dialog failed; 0 when it was shown.
  DWORD error = 0;
  // The user chose a file (fileName is it) rather than cancelling.
  bool chosen = false;
};

// Opens the dialog through `open` with fileName. When the dialog rejects that name as its start
// (one with < > " | in it, FNERR_INVALIDFILENAME), it is opened once more with an empty name,
// since otherwise it could never be opened until the user cleared the field; unless the user
// then chooses a file, the result keeps fileName, which the user did not replace.
FileDialogResult OpenFallingBackToEmptyName(
    std::wstring_view fileName, const std::function<FileDialogResult(std::wstring_view)>& open);

// The library that provides the dialog. It pulls the shell and the printing libraries in with it,
// so it is loaded on the first Browse rather than at the program's start.
inline constexpr wchar_t kDialogLibrary[] = L"comdlg32.dll";

class OpenFileDialog {
 public:
  // filter: "description|pattern" pairs, as kDlgSourceFilter; library: the DLL that provides
  // GetOpenFileNameW and CommDlgExtendedError.
  explicit OpenFileDialog(std::wstring_view filter, const wchar_t* library = kDialogLibrary)
      : filter_(DialogFilter(filter)), libraryName_(library) {}

  // Shows the dialog, modal to the owner, opened with that file name, or with an empty one when
  // the dialog rejects it (see OpenFallingBackToEmptyName). When the library cannot be loaded,
  // error is the system's error number for that and fileName the one given.
  FileDialogResult Show(HWND owner, std::wstring_view fileName);

 private:
  using GetOpenFileNameFn = BOOL(WINAPI*)(LPOPENFILENAMEW);
  using ExtendedErrorFn = DWORD(WINAPI*)();

  // Finds the two functions once; the library stays loaded while the dialog object lives. A
  // failure is not kept, so that the next Browse tries again.
  DWORD LoadFunctions();
  FileDialogResult ShowOnce(HWND owner, std::wstring_view fileName) const;

  std::wstring filter_;
  const wchar_t* libraryName_;
  platform::ScopedLibrary library_;
  GetOpenFileNameFn getOpenFileName_ = nullptr;
  ExtendedErrorFn extendedError_ = nullptr;
};

}  // namespace ui
