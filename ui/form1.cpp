#include "ui/form1.h"

#include <commctrl.h>

#include <cstddef>
#include <cstring>
#include <cwchar>
#include <optional>
#include <string_view>
#include <utility>

#include "platform/failure.h"
#include "ui/app_name.h"
#include "ui/path_field.h"
#include "ui/status_bar.h"
#include "ui/text_room.h"
#include "ui/window_text.h"
#include "ui/work_area.h"
#include "upgrade/upgrade_run.h"

namespace ui {
namespace {

constexpr wchar_t kClassName[] = L"BrenlowUpgradeForm1";
// A fixed frame with a normal title bar: no sizing border and no minimise or maximise box, which
// would leave the caption too little room to show whole. Not WS_CLIPCHILDREN: a group box paints
// only its outline and relies on the window's background.
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
// Lets IsDialogMessage move the focus through our controls with Tab, and takes dropped files.
constexpr DWORD kExStyle = WS_EX_CONTROLPARENT | WS_EX_ACCEPTFILES;
constexpr DWORD kChildStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
// Posted at creation: the rest of the start, once the window has been shown.
constexpr UINT kFinishStartMessage = WM_APP + 1;

bool RegisterForm1Class(HINSTANCE instance, WNDPROC procedure) {
  WNDCLASSEXW windowClass{};
  if (GetClassInfoExW(instance, kClassName, &windowClass)) return true;
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
  windowClass.hIconSm = LoadIconW(nullptr, IDI_APPLICATION);
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kClassName;
  return RegisterClassExW(&windowClass) != 0;
}

// The message font's em height as drawn: what the layout scales with.
int EmHeight(HDC dc) {
  TEXTMETRICW metrics{};
  if (dc == nullptr || !GetTextMetricsW(dc, &metrics)) return 0;
  return metrics.tmHeight - metrics.tmInternalLeading;
}

bool IsWindowChild(HWND parent, HWND window) {
  return window != nullptr && parent != nullptr && IsChild(parent, window);
}

// The font that the controls are given: that one, or the stock one where none could be made.
HFONT Shown(const platform::ScopedFont& font) {
  return font.valid() ? font.get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

bool SameFont(const LOGFONTW& a, const LOGFONTW& b) {
  return std::memcmp(&a, &b, offsetof(LOGFONTW, lfFaceName)) == 0 &&
         std::wcsncmp(a.lfFaceName, b.lfFaceName, LF_FACESIZE) == 0;
}

// How deep a kind of control lies: the labels and then the frames beneath everything, so that,
// clipped by their siblings, none ever paints over the text box and the buttons.
int Depth(ControlKind kind) {
  if (kind == ControlKind::kLabel) return 1;
  return kind == ControlKind::kFrame ? 2 : 0;
}

}  // namespace

Form1::Form1(UpgradeState::FileSystemFactory factory, bool endsProgram,
             MessageFontSource messageFont)
    : endsProgram_(endsProgram),
      messageFont_(messageFont),
      appName_(RunningAppName()),
      state_(std::move(factory)) {}

Form1::~Form1() {
  if (hwnd_ != nullptr) DestroyWindow(hwnd_);
}

bool Form1::Create(HINSTANCE instance) {
  instance_ = instance;
  if (!RegisterForm1Class(instance, WindowProc)) return false;
  // OnCreate gives it its size and place, once it knows its monitor's DPI and font.
  return CreateWindowExW(kExStyle, kClassName, kForm1Caption, kStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                         0, 0, nullptr, nullptr, instance, this) != nullptr;
}

HFONT Form1::Font() const { return Shown(font_); }

LRESULT CALLBACK Form1::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Form1* self = nullptr;
  if (message == WM_NCCREATE) {
    self = static_cast<Form1*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->hwnd_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  } else {
    self = reinterpret_cast<Form1*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  }
  if (self == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
    return DefWindowProcW(window, message, wParam, lParam);
  }
  return self->HandleMessage(message, wParam, lParam);
}

LRESULT Form1::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      return OnCreate() ? 0 : -1;
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_ACTIVATE:
      OnActivate(LOWORD(wParam) != WA_INACTIVE);
      return 0;
    case WM_DPICHANGED:
      OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_GETDPISCALEDSIZE:
      OnGetDpiScaledSize(static_cast<UINT>(wParam), *reinterpret_cast<SIZE*>(lParam));
      return TRUE;
    case WM_SETTINGCHANGE:
      OnSettingChange();
      return 0;
    case kFinishStartMessage:
      FinishStart();
      return 0;
    case WM_DROPFILES:
      OnDropFiles(reinterpret_cast<HDROP>(wParam));
      return 0;
    case WM_SYSCOLORCHANGE:
      // Common controls repaint in the new colours only when told.
      SendMessageW(Control(kStatusBarId), WM_SYSCOLORCHANGE, wParam, lParam);
      return 0;
    case WM_DESTROY:
      OnDestroy();
      return 0;
    default:
      return DefWindowProcW(hwnd_, message, wParam, lParam);
  }
}

bool Form1::OnCreate() {
  ChooseFont(WindowDpi(hwnd_));
  const Form1Layout layout = MeasureLayout(dpi_, Font());
  // Each control is made in its place and with its font, so that none is laid out twice before
  // the first paint. Each is made beneath those made before it: the deepest kinds come last, and
  // the rest keep the table's order, which is the tab order.
  const std::span<const ControlRow> rows = Form1Controls();
  for (int depth = 0; depth <= Depth(ControlKind::kFrame); ++depth) {
    for (std::size_t i = 0; i < rows.size(); ++i) {
      const ControlRow& row = rows[i];
      if (Depth(row.kind) != depth) continue;
      const RECT& rect = layout.rects[i];
      HWND control = CreateWindowExW(
          row.exStyle, row.className, row.text, row.style | kChildStyle, rect.left, rect.top,
          rect.right - rect.left, rect.bottom - rect.top, hwnd_,
          reinterpret_cast<HMENU>(static_cast<INT_PTR>(row.id)), instance_, nullptr);
      if (control == nullptr) return false;
      SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(Font()), FALSE);
    }
  }
  // No length limit on the path field (0 lifts the default of 32767 characters).
  SendMessageW(Control(kPathFieldId), EM_SETLIMITTEXT, 0, 0);
  PassDropsToParent(Control(kPathFieldId));
  DrawStatusBarFitted(Control(kStatusBarId));
  FitClientArea(layout.client);
  RECT window{};
  GetWindowRect(hwnd_, &window);
  MoveWindowTo(hwnd_, CentredOn(window, WorkAreaOf(hwnd_)));
  lastFocus_ = Control(kPathFieldId);
  PostMessageW(hwnd_, kFinishStartMessage, 0, 0);
  return true;
}

void Form1::FinishStart() {
  if (started_) return;
  started_ = true;
  // Single-threaded, as a window's thread needs it (the file dialog and the accessibility service
  // run in it). Where COM cannot be had, the window works without what needs it.
  apartment_ = platform::EnterComApartment(COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  AnnotateForScreenReaders();
  // Where the system cannot complete names, the field stays a plain field.
  CompletePathNames(Control(kPathFieldId));
}

void Form1::ChooseFont(UINT dpi) {
  dpi_ = dpi;
  font_ = CreateMessageFont(dpi, fontMadeFrom_, messageFont_);
}

Form1Layout Form1::MeasureLayout(UINT dpi, HFONT font) const {
  const platform::ScopedWindowDc dc = platform::GetWindowDc(hwnd_);
  const platform::ScopedSelection selection = platform::SelectInto(dc.get().handle, font);
  HDC measuring = selection.valid() ? dc.get().handle : nullptr;
  return LayOutForm1(FontScale(dpi, EmHeight(measuring)), [&](const ControlRow& row, int width) {
    return MeasureTextRoom(measuring, row, width, dpi);
  });
}

void Form1::ApplyLayout(UINT dpi) {
  // The old font is deleted when `old` goes, once the children have changed to the new one.
  platform::ScopedFont old = std::move(font_);
  ChooseFont(dpi);
  const HFONT shown = Font();
  const Form1Layout layout = MeasureLayout(dpi, shown);
  const std::span<const ControlRow> rows = Form1Controls();
  for (std::size_t i = 0; i < rows.size(); ++i) {
    HWND control = Control(rows[i].id);
    const RECT& rect = layout.rects[i];
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(shown), FALSE);
    SetWindowPos(control, nullptr, rect.left, rect.top, rect.right - rect.left,
                 rect.bottom - rect.top, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  FitClientArea(layout.client);
  InvalidateRect(hwnd_, nullptr, TRUE);
}

void Form1::FitClientArea(SIZE client) {
  // From the frame that the system actually draws, which may differ from what its metrics for
  // the DPI foretell.
  const RECT frame = WindowRectForClient(client, kStyle, kExStyle, dpi_);
  SetWindowPos(hwnd_, nullptr, 0, 0, frame.right, frame.bottom,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  RECT actual{};
  RECT window{};
  if (GetClientRect(hwnd_, &actual) && GetWindowRect(hwnd_, &window) &&
      (actual.right != client.cx || actual.bottom != client.cy)) {
    SetWindowPos(hwnd_, nullptr, 0, 0, window.right - window.left + client.cx - actual.right,
                 window.bottom - window.top + client.cy - actual.bottom,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void Form1::AnnotateForScreenReaders() {
  annotations_ = AccessibleAnnotations::FromSystem();
  // "..." would be read as dot dot dot; the field's label is a sentence, too long for a name.
  annotations_.SetName(Control(kBrowseButtonId), L"Browse");
  annotations_.SetName(Control(kPathFieldId), L"Project file");
  annotations_.SetDescription(Control(kPathFieldId), FindControl(kProjectHintId)->text);
  // Progress, refusals and "Complete!" are spoken as they appear.
  annotations_.SetPoliteLiveRegion(Control(kStatusBarId));
}

void Form1::OnCommand(int id, int code) noexcept {
  // Enter and Esc arrive here as IDOK and IDCANCEL from IsDialogMessage; like every other command
  // but the two button presses, they do nothing.
  if (code != BN_CLICKED) return;
  // Both commands need what the start finishes; a press can arrive before its message.
  FinishStart();
  try {
    if (id == kBrowseButtonId) Browse_Click();
    if (id == kConvertButtonId) ConvertButton_Click();
  } catch (...) {
    ReportUnexpectedFailure();
  }
}

void Form1::OnActivate(bool active) {
  // As a dialog does: the focus leaves with the window and comes back to the same control.
  if (!active) {
    HWND focus = GetFocus();
    if (IsWindowChild(hwnd_, focus)) lastFocus_ = focus;
    return;
  }
  SetFocus(IsWindowChild(hwnd_, lastFocus_) ? lastFocus_ : Control(kPathFieldId));
}

void Form1::OnDpiChanged(UINT dpi, const RECT& suggested) {
  SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  ApplyLayout(dpi);
  KeepOnWorkArea();
}

void Form1::OnGetDpiScaledSize(UINT dpi, SIZE& size) {
  // The window grows with its measured texts, not linearly: the size it will take there, so that
  // the rectangle that WM_DPICHANGED suggests is already right.
  LOGFONTW madeFrom{};
  const platform::ScopedFont font = CreateMessageFont(dpi, madeFrom, messageFont_);
  const RECT frame =
      WindowRectForClient(MeasureLayout(dpi, Shown(font)).client, kStyle, kExStyle, dpi);
  size = SIZE{frame.right, frame.bottom};
}

void Form1::OnSettingChange() {
  // The text size lives in the message font; a change of it is not known to come with any
  // particular parameter, so the font is read again on every change.
  LOGFONTW now{};
  if (!messageFont_(dpi_, now) || SameFont(now, fontMadeFrom_)) return;
  ApplyLayout(dpi_);
  KeepOnWorkArea();
}

void Form1::KeepOnWorkArea() {
  RECT window{};
  if (GetWindowRect(hwnd_, &window)) MoveWindowTo(hwnd_, KeptOn(window, WorkAreaOf(hwnd_)));
}

void Form1::OnDestroy() {
  annotations_.Clear();
  if (endsProgram_) PostQuitMessage(0);
}

void Form1::Browse_Click() {
  const FileDialogResult result = dlgSource.Show(hwnd_, ProjectPath());
  if (result.error != 0) {
    ShowMessage(L"The file dialog could not be opened (error " + std::to_wstring(result.error) +
                L").");
    return;
  }
  ShowProjectPath(result.fileName);
}

void Form1::OnDropFiles(HDROP drop) noexcept {
  // As a choice in the browse dialog: the path is put in the field, and nothing runs until
  // Convert is pressed. A folder goes in like any path; the run's path check refuses it.
  try {
    if (const std::optional<std::wstring> path = FirstDroppedPath(drop)) ShowProjectPath(*path);
  } catch (...) {
    ReportUnexpectedFailure();
  }
}

void Form1::ShowProjectPath(const std::wstring& path) {
  HWND field = Control(kPathFieldId);
  SetWindowTextW(field, path.c_str());
  // The caret at the end scrolls the field there, so that the file's name is in view.
  const auto end = static_cast<WPARAM>(path.size());
  SendMessageW(field, EM_SETSEL, end, static_cast<LPARAM>(end));
  SendMessageW(field, EM_SCROLLCARET, 0, 0);
}

void Form1::ConvertButton_Click() { upgrade::ConvertButton_Click(state_, *this); }

std::wstring Form1::ProjectPath() { return WindowText(Control(kPathFieldId)); }

void Form1::ShowMessage(const std::wstring& text) {
  MessageBoxW(hwnd_, text.c_str(), appName_.c_str(), MB_OK);
}

void Form1::SetStatusText(const std::wstring& text) {
  HWND statusBar = Control(kStatusBarId);
  SetWindowTextW(statusBar, text.c_str());
  // A run holds the thread; paint now so that its progress is seen, and heard.
  UpdateWindow(statusBar);
  // The status bar has no name of its own on Windows: what a reader speaks is the one given here.
  annotations_.SetLiveRegionText(statusBar, text.c_str());
}

void Form1::ReportUnexpectedFailure() noexcept {
  try {
    ShowMessage(L"The command stopped on an unexpected failure (error " +
                std::to_wstring(platform::CurrentErrorNumber()) + L").");
  } catch (...) {
    // Not even the message could be made; the window goes on regardless.
  }
}

}  // namespace ui
