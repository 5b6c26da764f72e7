// An UpgradeUi that returns a fixed project path and records everything the upgrade tells the
// user, in order.
#pragma once

#include <string>
#include <vector>

#include "ui/upgrade_ui.h"

namespace test_support {

class RecordingUi final : public ui::UpgradeUi {
 public:
  explicit RecordingUi(std::wstring projectPath = L"") : projectPath(std::move(projectPath)) {}

  std::wstring ProjectPath() override { return projectPath; }
  void ShowMessage(const std::wstring& text) override { messages.push_back(text); }
  void SetStatusText(const std::wstring& text) override {
    statusTexts.push_back(text);
    statusText = text;
  }

  // Forgets what was recorded, keeping the path and the current status text, as a window would
  // between two presses of Convert.
  void ClearRecords() {
    messages.clear();
    statusTexts.clear();
  }

  std::wstring projectPath;
  std::vector<std::wstring> messages;
  std::vector<std::wstring> statusTexts;
  std::wstring statusText;  // what the status bar shows now
};

}  // namespace test_support
