#include "tests/hostile/memory_probe.h"

#ifdef _WIN32
#include "platform/win32_headers.h"
// windows.h first: psapi.h needs its types.
#include <psapi.h>
#else
#include <fstream>
#include <string>
#endif

namespace hostile_test {

#ifdef _WIN32

std::size_t PeakMemory() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) return 0;
  return counters.PeakWorkingSetSize;
}

// Windows keeps the peak for the process's life: the large-file tests run in an order that
// makes that peak the one of the test at hand (see large_file_test.cpp).
std::size_t StartPeakMemory() { return PeakMemory(); }

#else

std::size_t PeakMemory() {
  std::ifstream status("/proc/self/status");
  std::string key;
  while (status >> key) {
    if (key == "VmHWM:") {
      std::size_t kib = 0;
      status >> kib;
      return kib * 1024;
    }
    status.ignore(1 << 16, '\n');
  }
  return 0;
}

std::size_t StartPeakMemory() {
  // "5" resets the peak resident size to the current one.
  std::ofstream("/proc/self/clear_refs") << "5";
  return PeakMemory();
}

#endif

}  // namespace hostile_test
