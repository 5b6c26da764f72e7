// Runs one file-group rewrite of the file at PATH in a fresh process and prints how long the
// rewrite took and the process's peak resident memory, so that each size is measured alone. With
// --no-flush the rewrite runs over file services whose FlushToDisk does nothing, so that the line
// work is timed without the wait for the disk.
// Usage: bu_peak_rss [--no-flush] PATH   prints: seconds=S vmhwm_kib=K
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>

#include "bench/non_durable_file_system.h"
#include "platform/posix_file_system.h"
#include "tests/support/recording_ui.h"
#include "ui/upgrade_state.h"
#include "upgrade/line_rules.h"
#include "upgrade/text_rewrite.h"

namespace {

long PeakResidentKib() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
  }
  return -1;
}

}  // namespace

int main(int argc, char** argv) {
  const bool noFlush = argc == 3 && std::string(argv[1]) == "--no-flush";
  if (argc != 2 && !noFlush) {
    std::fprintf(stderr, "usage: %s [--no-flush] PATH\n", argv[0]);
    return 2;
  }
  ui::UpgradeState state(noFlush ? bench::CreateNonDurableFileSystem
                                 : platform::CreatePlatformFileSystem);
  test_support::RecordingUi recorder;
  upgrade::LinkTypeLineRule rule;
  const std::wstring path = platform::FromNativePath(argv[argc - 1]);
  const auto start = std::chrono::steady_clock::now();
  const upgrade::StepResult result = upgrade::RewriteTextFile(state, recorder, path, rule);
  const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
  if (result != upgrade::kStepSucceeded) {
    std::fprintf(stderr, "the rewrite failed: %ls\n", state.statusMessage.c_str());
    return 1;
  }
  std::printf("seconds=%.6f vmhwm_kib=%ld\n", elapsed.count(), PeakResidentKib());
  return 0;
}
