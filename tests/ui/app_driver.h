// Drives the real BrenlowUpgrade.exe from another process, as a user would: finds its window and
// controls, types into the field, presses buttons, reads and closes its message boxes and reads
// the status bar. Every wait is bounded so that a broken program fails the test, never hangs it.
#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "platform/win32_headers.h"

namespace ui::e2e {

inline constexpr std::chrono::milliseconds kWaitLimit{20000};

struct MessageBoxSeen {
  std::wstring title;
  std::wstring text;
  bool okOnly = false;   // one button, OK
  bool hasIcon = false;  // an icon is shown beside the text
};

struct RunSeen {
  bool finished = false;  // the button press came back within the wait limit
  std::vector<MessageBoxSeen> messages;
  std::wstring statusText;  // after the run
};

// The path of the program that the build made (BU_PROGRAM_PATH), as Windows sees it: the build
// hands over a Unix path under Wine.
std::wstring ProgramPath();

class AppDriver {
 public:
  AppDriver() = default;
  AppDriver(const AppDriver&) = delete;
  AppDriver& operator=(const AppDriver&) = delete;
  // Closes the program if it still runs, and ends it if it will not close.
  ~AppDriver();

  // Starts the program and waits for its window and controls; false with a reason in error().
  bool Start(const std::wstring& programPath);
  const std::wstring& error() const { return error_; }

  HWND form() const { return form_; }
  HWND field() const { return field_; }
  HWND browse() const { return browse_; }
  HWND convert() const { return convert_; }
  HWND statusBar() const { return statusBar_; }

  // WM_SETTEXT and WM_GETTEXT, which the system carries across processes.
  void SetFieldText(const std::wstring& text);
  static std::wstring TextOf(HWND window);

  // Presses Convert and handles what follows: each message box is read and closed with OK until
  // the press has been handled.
  RunSeen PressConvert();
  // The same for a press already made, from now on.
  RunSeen AwaitPress();

  // Presses the button without waiting; IsPressHandled tells when the program has handled it.
  void PressAsync(HWND button);
  bool IsPressHandled();

  // The visible dialog (class #32770) of the program's thread, or nullptr; waits up to `wait`.
  HWND FindDialog(std::chrono::milliseconds wait) const;
  static MessageBoxSeen ReadMessageBox(HWND box);
  // Presses the dialog's button; true when the dialog is then gone within the wait limit, so
  // that no later search for a dialog finds this one.
  static bool CloseDialog(HWND dialog, int command);

  // The control with the keyboard focus on the program's thread.
  HWND FocusedControl() const;
  // Posts a key press into the program's queue for the focused control, as the keyboard would.
  void PostKey(HWND target, WORD key);
  // The same with Shift held: the program's thread shares our input state meanwhile, which is
  // where it looks the Shift key up.
  void PostShiftedKey(HWND target, WORD key);
  // Waits until the program has handled everything posted to it before this call.
  bool WaitUntilPostedHandled();

  // Asks the window to close; true when the program then ends with exit code 0.
  bool CloseAndWait();

  // From now on, keeps the windows for which the program raises a live-region change, as a
  // screen reader would hear of them; false where the hook cannot be set.
  bool WatchLiveRegions();
  // Those windows, in order, once there are `atLeast` of them or a short wait is over: they come
  // through this thread's own queue.
  const std::vector<HWND>& LiveRegionChanges(std::size_t atLeast);

 private:
  bool FindControls();

  PROCESS_INFORMATION process_{};
  HWND form_ = nullptr;
  HWND field_ = nullptr;
  HWND browse_ = nullptr;
  HWND convert_ = nullptr;
  HWND statusBar_ = nullptr;
  bool pressHandled_ = true;
  HWINEVENTHOOK liveRegionHook_ = nullptr;
  std::wstring error_;
};

// The built program started for a whole suite; nullptr, and why in `error`, if it did not start.
std::unique_ptr<AppDriver> StartProgram(std::wstring& error);

}  // namespace ui::e2e
