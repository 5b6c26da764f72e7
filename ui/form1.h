// Form1, the program's only window: the explanatory texts, the path field, the browse dialog, the
// Convert button and the status bar. It owns the UpgradeState that the upgrade steps share and
// provides the UpgradeUi operations through which they reach the user.
#pragma once

#include <string>

#include "platform/win32_headers.h"
#include "ui/accessibility.h"
#include "ui/dpi.h"
#include "ui/file_dialog.h"
#include "ui/form1_layout.h"
#include "ui/path_field.h"
#include "ui/upgrade_state.h"
#include "ui/upgrade_ui.h"

namespace ui {

class Form1 final : public UpgradeUi {
 public:
  // endsProgram: destroying the window ends the thread's message loop, as the program's own
  // window must; a test that makes several windows on one thread passes false. messageFont: the
  // font that the window is laid out in, the system's message font unless a test needs another.
  explicit Form1(UpgradeState::FileSystemFactory factory, bool endsProgram = true,
                 MessageFontSource messageFont = GetMessageFont);
  ~Form1() override;
  Form1(const Form1&) = delete;
  Form1& operator=(const Form1&) = delete;

  // Creates the window, hidden, laid out for the DPI it is placed at and the message font there,
  // centred on its monitor's work area. On failure returns false and GetLastError() tells why.
  // What the first paint does not need (COM, the screen readers' annotations, the completion of
  // names in the path field) follows in a message posted to the window, which the thread's
  // messages bring before any input.
  bool Create(HINSTANCE instance);

  HWND hwnd() const { return hwnd_; }
  HWND Control(int id) const { return GetDlgItem(hwnd_, id); }
  UINT Dpi() const { return dpi_; }
  HFONT Font() const;

  // The two commands that the buttons are bound to.
  void Browse_Click();
  void ConvertButton_Click();

  std::wstring ProjectPath() override;
  void ShowMessage(const std::wstring& text) override;
  void SetStatusText(const std::wstring& text) override;

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  bool OnCreate();
  void OnCommand(int id, int code) noexcept;
  void OnActivate(bool active);
  void OnDpiChanged(UINT dpi, const RECT& suggested);
  void OnGetDpiScaledSize(UINT dpi, SIZE& size);
  void OnSettingChange();
  void OnDropFiles(HDROP drop) noexcept;
  void OnDestroy();
  // Enters the COM apartment, annotates the controls for screen readers and has the path field
  // complete names, once.
  void FinishStart();
  // Puts the path in the field with its end in view, as a choice of the file's.
  void ShowProjectPath(const std::wstring& path);

  // Makes the message font for that DPI the window's.
  void ChooseFont(UINT dpi);
  // The layout at that DPI in that font, its texts measured as the controls draw them.
  Form1Layout MeasureLayout(UINT dpi, HFONT font) const;
  // Font, control rectangles and client size for that DPI and the message font there.
  void ApplyLayout(UINT dpi);
  // Sizes the window so that its client area has that size.
  void FitClientArea(SIZE client);
  // Moves the window, after it has grown, by the least that keeps it on its work area.
  void KeepOnWorkArea();
  // Tells screen readers what the controls' own texts leave unsaid.
  void AnnotateForScreenReaders();
  // Shows what reached a command handler uncaught. Call only inside a catch block.
  void ReportUnexpectedFailure() noexcept;

  // Left last, after everything that may hold COM objects.
  platform::ScopedComApartment apartment_;
  bool started_ = false;
  HWND hwnd_ = nullptr;
  HINSTANCE instance_ = nullptr;
  UINT dpi_ = kBaseDpi;
  platform::ScopedFont font_;
  LOGFONTW fontMadeFrom_{};  // what font_ was made from; zero when none could be had
  AccessibleAnnotations annotations_;
  HWND lastFocus_ = nullptr;  // given back when the window is activated again
  bool endsProgram_;
  MessageFontSource messageFont_;
  std::wstring appName_;
  OpenFileDialog dlgSource{kDlgSourceFilter};
  UpgradeState state_;
};

}  // namespace ui
