// Converts the project in FOLDER once, as a press of Convert does, with the platform's own file
// services on the real disk, and prints how long the run took; fails unless the run ends with
// "Complete!". The project file is FOLDER/Project.ipr.
// Usage: bu_convert FOLDER   prints: seconds=S
#include <chrono>
#include <cstdio>
#include <string>

#include "platform/posix_file_system.h"
#include "tests/support/recording_ui.h"
#include "ui/upgrade_state.h"
#include "upgrade/upgrade_run.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
    return 2;
  }
  ui::UpgradeState state(platform::CreatePlatformFileSystem);
  test_support::RecordingUi recorder(platform::FromNativePath(argv[1]) + L"/Project.ipr");
  const auto start = std::chrono::steady_clock::now();
  upgrade::ConvertButton_Click(state, recorder);
  const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
  if (recorder.statusText != L"Complete!") {
    std::fprintf(stderr, "the run ended with \"%ls\"\n", recorder.statusText.c_str());
    return 1;
  }
  std::printf("seconds=%.6f\n", elapsed.count());
  return 0;
}
