// The open-file dialog dlgSource: the common dialog with a filter given as "description|pattern"
// pairs, no title, starting folder or default extension of its own.
#pragma once

#include <string>
#include <string_view>

#include "platform/win32_headers.h"

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
};

class OpenFileDialog {
 public:
  // filter: "description|pattern" pairs, as kDlgSourceFilter.
  explicit OpenFileDialog(std::wstring_view filter) : filter_(DialogFilter(filter)) {}

  // Shows the dialog, modal to the owner, opened with that file name.
  FileDialogResult Show(HWND owner, std::wstring_view fileName) const;

 private:
  std::wstring filter_;
};

}  // namespace ui
