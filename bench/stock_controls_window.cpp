// The second yardstick for the program's start-up under Wine: a window with the program's stock
// controls (two frames, three labels, a text box, two buttons and a status bar) in the message
// font, with the program's manifest (scripts/bench embeds ui/brenlow_upgrade_manifest.rc), so that
// it loads what the program cannot avoid loading: common controls 6 and the visual style. Made the
// plainest way, at fixed places, with nothing measured, annotated or laid out.
#include "bench/yardstick_window.h"

#include <commctrl.h>

namespace {

struct Control {
  const wchar_t* className;
  const wchar_t* text;
  DWORD style;
  RECT place;  // left, top, width, height in pixels at 96 dpi
};

constexpr Control kControls[] = {
    {L"BUTTON", L"Select Project:", BS_GROUPBOX, {8, 8, 305, 121}},
    {L"STATIC", L"Please browse your project, then press Convert.", SS_LEFT, {16, 24, 289, 33}},
    {L"EDIT", L"", ES_LEFT | ES_AUTOHSCROLL | WS_TABSTOP | WS_BORDER, {24, 64, 241, 19}},
    {L"BUTTON", L"...", BS_PUSHBUTTON | WS_TABSTOP, {272, 64, 33, 19}},
    {L"BUTTON", L"Convert", BS_PUSHBUTTON | WS_TABSTOP, {24, 96, 89, 25}},
    {L"BUTTON", L"", BS_GROUPBOX, {8, 136, 305, 137}},
    {L"STATIC", L"This utility upgrades your projects.", SS_LEFT, {16, 152, 281, 49}},
    {L"STATIC",
     L"Please make a backup copy before running this program.",
     SS_LEFT,
     {16, 208, 281, 49}},
    {STATUSCLASSNAMEW, L"", 0, {0, 295, 322, 25}},
};

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE /*previous*/, PWSTR /*commandLine*/, int show) {
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);
  HWND window = bench::CreateYardstickWindow(instance, L"StockControlsWindow",
                                             L"Stock controls window", COLOR_BTNFACE,
                                             WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, 338, 359);
  if (window == nullptr) return 1;
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
  HFONT font = CreateFontIndirectW(&metrics.lfMessageFont);
  for (const Control& control : kControls) {
    HWND child =
        CreateWindowExW(0, control.className, control.text, control.style | WS_CHILD | WS_VISIBLE,
                        control.place.left, control.place.top, control.place.right,
                        control.place.bottom, window, nullptr, instance, nullptr);
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  }
  const int exitCode = bench::ShowAndRun(window, show);
  DeleteObject(font);
  return exitCode;
}
