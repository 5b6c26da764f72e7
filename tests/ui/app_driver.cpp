#include "tests/ui/app_driver.h"

#include <commctrl.h>

#include <thread>

namespace ui::e2e {
namespace {

constexpr wchar_t kCaption[] = L"Upgrade Brenlow Professional 5.0 project";
using Clock = std::chrono::steady_clock;

std::wstring ClassOf(HWND window) {
  wchar_t name[128]{};
  GetClassNameW(window, name, 128);
  return name;
}

bool IsClass(HWND window, const wchar_t* name) {
  return _wcsicmp(ClassOf(window).c_str(), name) == 0;
}

// Pumps our own queue too: the answers of SendMessageCallbackW arrive through it.
void Pause() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
}

template <typename Predicate>
bool WaitFor(Predicate done, std::chrono::milliseconds limit = kWaitLimit) {
  const auto deadline = Clock::now() + limit;
  while (!done()) {
    if (Clock::now() >= deadline) return false;
    Pause();
  }
  return true;
}

// The hook's callback has no context of its own; one watch at a time.
std::vector<HWND> liveRegionChanges;

void CALLBACK LiveRegionChanged(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG child, DWORD,
                                DWORD) {
  if (object == OBJID_CLIENT && child == CHILDID_SELF) liveRegionChanges.push_back(window);
}

void CALLBACK PressAnswered(HWND, UINT, ULONG_PTR data, LRESULT) {
  *reinterpret_cast<bool*>(data) = true;
}

struct FindState {
  DWORD processId;
  HWND found = nullptr;
};

BOOL CALLBACK FindForm(HWND window, LPARAM data) {
  auto& state = *reinterpret_cast<FindState*>(data);
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  if (processId == state.processId && IsWindowVisible(window) &&
      AppDriver::TextOf(window) == kCaption) {
    state.found = window;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK FindThreadDialog(HWND window, LPARAM data) {
  if (IsClass(window, L"#32770") && IsWindowVisible(window)) {
    *reinterpret_cast<HWND*>(data) = window;
    return FALSE;
  }
  return TRUE;
}

struct BoxParts {
  int buttons = 0;
  HWND ok = nullptr;
  bool icon = false;
  std::wstring text;
};

BOOL CALLBACK ReadBoxPart(HWND child, LPARAM data) {
  auto& parts = *reinterpret_cast<BoxParts*>(data);
  if (!IsWindowVisible(child)) return TRUE;
  const LONG_PTR style = GetWindowLongPtrW(child, GWL_STYLE);
  if (IsClass(child, L"Button")) {
    ++parts.buttons;
    if (GetDlgCtrlID(child) == IDOK) parts.ok = child;
  } else if (IsClass(child, L"Static")) {
    if ((style & SS_TYPEMASK) == SS_ICON) {
      if (SendMessageW(child, STM_GETICON, 0, 0) != 0) parts.icon = true;
    } else if (std::wstring text = AppDriver::TextOf(child); !text.empty()) {
      parts.text = text;
    }
  }
  return TRUE;
}

}  // namespace

AppDriver::~AppDriver() {
  if (liveRegionHook_ != nullptr) UnhookWinEvent(liveRegionHook_);
  if (process_.hProcess == nullptr) return;
  if (!CloseAndWait()) TerminateProcess(process_.hProcess, 99);
  CloseHandle(process_.hThread);
  CloseHandle(process_.hProcess);
}

bool AppDriver::Start(const std::wstring& programPath) {
  std::wstring commandLine = L"\"" + programPath + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  if (!CreateProcessW(programPath.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      nullptr, &startup, &process_)) {
    error_ = L"CreateProcessW failed with " + std::to_wstring(GetLastError());
    return false;
  }
  WaitForInputIdle(process_.hProcess, static_cast<DWORD>(kWaitLimit.count()));
  FindState state{process_.dwProcessId};
  if (!WaitFor([&] {
        EnumWindows(FindForm, reinterpret_cast<LPARAM>(&state));
        return state.found != nullptr;
      })) {
    error_ = L"the window did not appear";
    return false;
  }
  form_ = state.found;
  if (!FindControls()) {
    error_ = L"the window lacks a control";
    return false;
  }
  return true;
}

bool AppDriver::FindControls() {
  for (HWND child = GetWindow(form_, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    if (IsClass(child, L"Edit")) field_ = child;
    if (IsClass(child, STATUSCLASSNAMEW)) statusBar_ = child;
    if (IsClass(child, L"Button") && TextOf(child) == L"...") browse_ = child;
    if (IsClass(child, L"Button") && TextOf(child) == L"Convert") convert_ = child;
  }
  return field_ && statusBar_ && browse_ && convert_;
}

void AppDriver::SetFieldText(const std::wstring& text) {
  DWORD_PTR result = 0;
  SendMessageTimeoutW(field_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_NORMAL,
                      static_cast<UINT>(kWaitLimit.count()), &result);
}

std::wstring AppDriver::TextOf(HWND window) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, 5000, &length)) return {};
  std::wstring text(length + 1, L'\0');
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                           SMTO_NORMAL, 5000, &copied)) {
    return {};
  }
  text.resize(copied);
  return text;
}

void AppDriver::PressAsync(HWND button) {
  // Sent rather than posted: the answer tells when the whole command has run, modal boxes and
  // all, and our wait never blocks on a box the way SendMessage would.
  pressHandled_ = false;
  SendMessageCallbackW(button, BM_CLICK, 0, 0, PressAnswered,
                       reinterpret_cast<ULONG_PTR>(&pressHandled_));
}

bool AppDriver::IsPressHandled() {
  Pause();
  return pressHandled_;
}

RunSeen AppDriver::PressConvert() {
  PressAsync(convert_);
  return AwaitPress();
}

RunSeen AppDriver::AwaitPress() {
  RunSeen seen;
  const auto deadline = Clock::now() + kWaitLimit;
  while (!IsPressHandled() && Clock::now() < deadline) {
    if (HWND box = FindDialog(std::chrono::milliseconds(0))) {
      seen.messages.push_back(ReadMessageBox(box));
      CloseDialog(box, IDOK);
    }
  }
  seen.finished = pressHandled_;
  seen.statusText = TextOf(statusBar_);
  return seen;
}

HWND AppDriver::FindDialog(std::chrono::milliseconds wait) const {
  HWND dialog = nullptr;
  WaitFor(
      [&] {
        EnumThreadWindows(process_.dwThreadId, FindThreadDialog, reinterpret_cast<LPARAM>(&dialog));
        return dialog != nullptr;
      },
      wait);
  return dialog;
}

MessageBoxSeen AppDriver::ReadMessageBox(HWND box) {
  BoxParts parts;
  EnumChildWindows(box, ReadBoxPart, reinterpret_cast<LPARAM>(&parts));
  return MessageBoxSeen{TextOf(box), parts.text, parts.buttons == 1 && parts.ok != nullptr,
                        parts.icon};
}

bool AppDriver::CloseDialog(HWND dialog, int command) {
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(command, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, command)));
  return WaitFor([&] { return !IsWindow(dialog); });
}

HWND AppDriver::FocusedControl() const {
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  if (!GetGUIThreadInfo(process_.dwThreadId, &info)) return nullptr;
  return info.hwndFocus;
}

void AppDriver::PostKey(HWND target, WORD key) {
  const UINT scan = MapVirtualKeyW(key, MAPVK_VK_TO_VSC);
  PostMessageW(target, WM_KEYDOWN, key, 1 | (static_cast<LPARAM>(scan) << 16));
  PostMessageW(target, WM_KEYUP, key, 1 | (static_cast<LPARAM>(scan) << 16) | (3LL << 30));
}

void AppDriver::PostShiftedKey(HWND target, WORD key) {
  const DWORD ours = GetCurrentThreadId();
  if (!AttachThreadInput(ours, process_.dwThreadId, TRUE)) return;
  BYTE keys[256]{};
  GetKeyboardState(keys);
  keys[VK_SHIFT] |= 0x80;
  keys[VK_LSHIFT] |= 0x80;
  SetKeyboardState(keys);
  PostKey(target, key);
  WaitUntilPostedHandled();
  keys[VK_SHIFT] &= 0x7F;
  keys[VK_LSHIFT] &= 0x7F;
  SetKeyboardState(keys);
  AttachThreadInput(ours, process_.dwThreadId, FALSE);
}

bool AppDriver::WaitUntilPostedHandled() {
  // A marker posted behind everything else: the field's limit, which is put back afterwards.
  constexpr LPARAM kMarker = 0x7FFFFF00;
  PostMessageW(field_, EM_SETLIMITTEXT, kMarker, 0);
  const bool handled = WaitFor([&] {
    DWORD_PTR limit = 0;
    SendMessageTimeoutW(field_, EM_GETLIMITTEXT, 0, 0, SMTO_NORMAL, 1000, &limit);
    return static_cast<LPARAM>(limit) == kMarker;
  });
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(field_, EM_SETLIMITTEXT, 0, 0, SMTO_NORMAL, 1000, &ignored);
  return handled;
}

bool AppDriver::CloseAndWait() {
  if (process_.hProcess == nullptr) return false;
  if (IsWindow(form_)) PostMessageW(form_, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(process_.hProcess, static_cast<DWORD>(kWaitLimit.count())) !=
      WAIT_OBJECT_0) {
    return false;
  }
  DWORD exitCode = 1;
  GetExitCodeProcess(process_.hProcess, &exitCode);
  return exitCode == 0;
}

bool AppDriver::WatchLiveRegions() {
  liveRegionChanges.clear();
  if (liveRegionHook_ == nullptr) {
    liveRegionHook_ =
        SetWinEventHook(EVENT_OBJECT_LIVEREGIONCHANGED, EVENT_OBJECT_LIVEREGIONCHANGED, nullptr,
                        LiveRegionChanged, process_.dwProcessId, 0, WINEVENT_OUTOFCONTEXT);
  }
  return liveRegionHook_ != nullptr;
}

const std::vector<HWND>& AppDriver::LiveRegionChanges(std::size_t atLeast) {
  WaitFor([&] { return liveRegionChanges.size() >= atLeast; }, std::chrono::milliseconds(2000));
  return liveRegionChanges;
}

std::wstring ProgramPath() {
  const std::string path = BU_PROGRAM_PATH;
  const int length =
      MultiByteToWideChar(CP_UTF8, 0, path.data(), static_cast<int>(path.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, path.data(), static_cast<int>(path.size()), wide.data(), length);
  if (!wide.empty() && wide.front() == L'/') wide = L"Z:" + wide;
  for (wchar_t& c : wide) {
    if (c == L'/') c = L'\\';
  }
  return wide;
}

std::unique_ptr<AppDriver> StartProgram(std::wstring& error) {
  auto app = std::make_unique<AppDriver>();
  if (app->Start(ProgramPath())) return app;
  error = app->error();
  return nullptr;
}

}  // namespace ui::e2e
