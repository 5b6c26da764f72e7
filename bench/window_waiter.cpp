// Starts a program and waits until a visible window with the given caption exists, then prints
// the milliseconds from the start of the process to that moment and ends the program.
// Usage (under Wine): window_waiter.exe PROGRAM CAPTION   prints: ms=T
#include "platform/win32_headers.h"

#include <cstdio>
#include <string>

int wmain(int argc, wchar_t** argv) {
  if (argc != 3) {
    std::fwprintf(stderr, L"usage: window_waiter PROGRAM CAPTION\n");
    return 2;
  }
  std::wstring commandLine = L"\"" + std::wstring(argv[1]) + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  LARGE_INTEGER frequency;
  LARGE_INTEGER start;
  LARGE_INTEGER now;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  if (!CreateProcessW(argv[1], commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    std::fwprintf(stderr, L"cannot start %ls: error %lu\n", argv[1], GetLastError());
    return 1;
  }
  int result = 1;
  for (;;) {
    HWND window = FindWindowW(nullptr, argv[2]);
    QueryPerformanceCounter(&now);
    if (window != nullptr && IsWindowVisible(window)) {
      std::printf("ms=%.1f\n", 1000.0 * static_cast<double>(now.QuadPart - start.QuadPart) /
                                   static_cast<double>(frequency.QuadPart));
      result = 0;
      break;
    }
    if (WaitForSingleObject(process.hProcess, 1) == WAIT_OBJECT_0) {
      std::fwprintf(stderr, L"the program ended without showing its window\n");
      break;
    }
    if (now.QuadPart - start.QuadPart > 60 * frequency.QuadPart) {
      std::fwprintf(stderr, L"no window within a minute\n");
      break;
    }
  }
  TerminateProcess(process.hProcess, 0);
  WaitForSingleObject(process.hProcess, 10000);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return result;
}
