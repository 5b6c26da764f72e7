#include "ui/file_dialog.h"

#include <cderr.h>

#include <algorithm>
#include <utility>
#include <vector>

namespace ui {
namespace {

// Room for the longest path the system allows, so that no choice is cut short.
constexpr std::size_t kMaxPathChars = 32768;

// The reason the library or its functions could not be had; never 0, which would read as shown.
DWORD LoadError() {
  const DWORD error = GetLastError();
  return error != 0 ? error : ERROR_MOD_NOT_FOUND;
}

}  // namespace

std::wstring DialogFilter(std::wstring_view filter) {
  std::wstring result(filter);
  std::replace(result.begin(), result.end(), L'|', L'\0');
  result.push_back(L'\0');
  result.push_back(L'\0');
  return result;
}

FileDialogResult OpenFallingBackToEmptyName(
    std::wstring_view fileName, const std::function<FileDialogResult(std::wstring_view)>& open) {
  FileDialogResult result = open(fileName);
  if (result.error != FNERR_INVALIDFILENAME || fileName.empty()) return result;
  result = open(std::wstring_view());
  if (!result.chosen) result.fileName = std::wstring(fileName);
  return result;
}

FileDialogResult OpenFileDialog::Show(HWND owner, std::wstring_view fileName) {
  if (const DWORD error = LoadFunctions(); error != 0) {
    return FileDialogResult{std::wstring(fileName), error, false};
  }
  return OpenFallingBackToEmptyName(fileName,
                                    [&](std::wstring_view name) { return ShowOnce(owner, name); });
}

DWORD OpenFileDialog::LoadFunctions() {
  if (getOpenFileName_ != nullptr) return 0;
  // A bare name: the system's own library is one it always takes from the system folder.
  platform::ScopedLibrary library(LoadLibraryW(libraryName_));
  if (!library.valid()) return LoadError();
  const auto open = platform::LibraryFunction<GetOpenFileNameFn>(library.get(), "GetOpenFileNameW");
  const auto extendedError =
      platform::LibraryFunction<ExtendedErrorFn>(library.get(), "CommDlgExtendedError");
  // The reason is read before the owner frees the library, which may set another.
  if (open == nullptr || extendedError == nullptr) return LoadError();
  library_ = std::move(library);
  getOpenFileName_ = open;
  extendedError_ = extendedError;
  return 0;
}

FileDialogResult OpenFileDialog::ShowOnce(HWND owner, std::wstring_view fileName) const {
  std::vector<wchar_t> buffer(std::max(kMaxPathChars, fileName.size() + 1), L'\0');
  std::copy(fileName.begin(), fileName.end(), buffer.begin());

  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof(dialog);
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = filter_.c_str();
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = buffer.data();
  dialog.nMaxFile = static_cast<DWORD>(buffer.size());
  // The read-only box would be ignored, and the current folder stays where the program found it
  // so that a relative path in the field keeps its meaning.
  dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;

  FileDialogResult result;
  if (getOpenFileName_(&dialog)) {
    result.fileName.assign(buffer.data());
    result.chosen = true;
  } else {
    // Cancelled (error 0) or failed: the dialog's name is still the one it was opened with,
    // whatever the dialog left in the buffer.
    result.error = extendedError_();
    result.fileName = std::wstring(fileName);
  }
  return result;
}

}  // namespace ui
