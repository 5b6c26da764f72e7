// The three operations through which the upgrade reaches the user. The main window provides them;
// tests provide a recording double.
#pragma once

#include <string>

namespace ui {

class UpgradeUi {
 public:
  virtual ~UpgradeUi() = default;

  // The current text of the path field.
  virtual std::wstring ProjectPath() = 0;
  // A modal message box with an OK button only and no icon, titled with the application's name;
  // returns when the user has closed it.
  virtual void ShowMessage(const std::wstring& text) = 0;
  // Replaces the status bar's single text; "" empties it.
  virtual void SetStatusText(const std::wstring& text) = 0;
};

}  // namespace ui
