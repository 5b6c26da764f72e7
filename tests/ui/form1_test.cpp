// Form1 as a window: its frame, controls, focus order, fonts and the UpgradeUi operations that
// need no modal box (message boxes are read by the end-to-end test).
#include "ui/form1.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "tests/ui/window_fixture.h"
#include "ui/form1_layout.h"

#include <shlobj.h>

namespace ui {
namespace {

using Form1Test = Form1Fixture;

// The tooltip that the window owns, or nullptr.
HWND StatusBarTipWindow(HWND form) {
  HWND tip = nullptr;
  do {
    tip = FindWindowExW(nullptr, tip, TOOLTIPS_CLASSW, nullptr);
  } while (tip != nullptr && GetWindow(tip, GW_OWNER) != form);
  return tip;
}

// What the tooltip over the status bar shows; "" where there is none.
std::wstring StatusBarTip(HWND form) {
  HWND tip = StatusBarTipWindow(form);
  std::wstring text(4096, L'\0');
  TTTOOLINFOW tool{};
  tool.cbSize = TTTOOLINFOW_V2_SIZE;
  tool.hwnd = form;
  tool.uId = reinterpret_cast<UINT_PTR>(GetDlgItem(form, kStatusBarId));
  tool.lpszText = text.data();
  if (tip != nullptr) SendMessageW(tip, TTM_GETTEXTW, text.size(), reinterpret_cast<LPARAM>(&tool));
  return text.c_str();
}

TEST_F(Form1Test, WindowIsAFixedFrameWithCaptionStockIconAndNoMenu) {
  HWND window = form_->hwnd();
  EXPECT_EQ(WindowText(window), L"Upgrade Brenlow Professional 5.0 project");
  const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
  EXPECT_TRUE(style & WS_CAPTION);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_FALSE(style & WS_THICKFRAME) << "the window must not be resizable";
  // Either box would bring both and leave the caption too little room.
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_FALSE(style & WS_MINIMIZEBOX);
  EXPECT_TRUE(GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_CONTROLPARENT);
  EXPECT_EQ(GetMenu(window), nullptr);
  EXPECT_EQ(reinterpret_cast<HICON>(GetClassLongPtrW(window, GCLP_HICON)),
            LoadIconW(nullptr, IDI_APPLICATION));
}

TEST_F(Form1Test, ControlsShowTheirTextsAndStartEmpty) {
  struct TextCase {
    int id;
    const wchar_t* text;
  };
  const TextCase cases[] = {
      {kProjectFrameId, L"Select Project:"},
      {kProjectHintId,
       L"Please browse your Brenlow Professional project, then press Convert to upgrade your "
       L"project."},
      {kPathFieldId, L""},
      {kBrowseButtonId, L"..."},
      {kConvertButtonId, L"Convert"},
      {kNotesFrameId, L""},
      {kPurposeNoteId,
       L"This utility upgrades your projects created in Brenlow Professional 5.0 or 5.1 to the "
       L"format of the version 5.5. So that you can migrate it to Corvale 7."},
      {kBackupNoteId,
       L"Note that you will not be able to open your project in Brenlow Professional 5.0 or 5.1 "
       L"once it is converted. Please make a backup copy before running this program."},
      {kStatusBarId, L""},
  };
  for (const TextCase& c : cases) {
    EXPECT_EQ(WindowText(Child(c.id)), c.text) << "control " << c.id;
  }
}

TEST_F(Form1Test, ItsControlsAreVersion6OfTheCommonControlsAsTheProgramsAre) {
  // The test embeds the program's manifest. Only version 6 answers BCM_GETIDEALSIZE (Wine's
  // version 6 gives its DllGetVersion as 5.81, so that cannot tell).
  SIZE ideal{};
  EXPECT_TRUE(
      SendMessageW(Child(kConvertButtonId), BCM_GETIDEALSIZE, 0, reinterpret_cast<LPARAM>(&ideal)));
  EXPECT_GT(ideal.cx, 0);
}

TEST_F(Form1Test, TabStopsAreFieldBrowseConvertInThatOrderAndNoButtonIsDefault) {
  std::vector<HWND> order;
  HWND first = GetNextDlgTabItem(form_->hwnd(), nullptr, FALSE);
  for (HWND item = first; item != nullptr && order.size() < 10;) {
    order.push_back(item);
    item = GetNextDlgTabItem(form_->hwnd(), item, FALSE);
    if (item == first) break;
  }
  EXPECT_EQ(order, (std::vector<HWND>{Child(kPathFieldId), Child(kBrowseButtonId),
                                      Child(kConvertButtonId)}));
  // Shift+Tab walks the same ring backwards.
  EXPECT_EQ(GetNextDlgTabItem(form_->hwnd(), Child(kPathFieldId), TRUE), Child(kConvertButtonId));
  for (int id : {kBrowseButtonId, kConvertButtonId}) {
    const LONG_PTR style = GetWindowLongPtrW(Child(id), GWL_STYLE);
    EXPECT_EQ(style & BS_TYPEMASK, BS_PUSHBUTTON) << "button " << id << " must not be default";
    EXPECT_NE(GetDlgCtrlID(Child(id)), IDOK);
    EXPECT_NE(GetDlgCtrlID(Child(id)), IDCANCEL);
  }
}

TEST_F(Form1Test, LabelsAndThenFramesLieBeneathTheControlsDrawnOnThem) {
  // Z-order from the top: the labels below the field and the buttons, the frames below all.
  std::vector<HWND> zOrder;
  for (HWND child = GetWindow(form_->hwnd(), GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    zOrder.push_back(child);
  }
  ASSERT_EQ(zOrder.size(), Form1Controls().size());
  const auto depth = [&](int id) { return std::find(zOrder.begin(), zOrder.end(), Child(id)); };
  for (int label : {kProjectHintId, kPurposeNoteId, kBackupNoteId}) {
    for (int above : {kPathFieldId, kBrowseButtonId, kConvertButtonId}) {
      EXPECT_LT(depth(above), depth(label)) << "label " << label << " over control " << above;
    }
  }
  const std::vector<HWND> bottom(zOrder.end() - 2, zOrder.end());
  EXPECT_NE(std::find(bottom.begin(), bottom.end(), Child(kProjectFrameId)), bottom.end());
  EXPECT_NE(std::find(bottom.begin(), bottom.end(), Child(kNotesFrameId)), bottom.end());
  for (HWND child : zOrder) {
    EXPECT_TRUE(GetWindowLongPtrW(child, GWL_STYLE) & WS_CLIPSIBLINGS);
  }
}

TEST_F(Form1Test, OpensCentredOnItsMonitorsWorkArea) {
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  ASSERT_TRUE(
      GetMonitorInfoW(MonitorFromWindow(form_->hwnd(), MONITOR_DEFAULTTONEAREST), &monitor));
  RECT window{};
  GetWindowRect(form_->hwnd(), &window);
  const RECT& work = monitor.rcWork;
  EXPECT_LE(std::abs((window.left + window.right) - (work.left + work.right)), 1);
  EXPECT_LE(std::abs((window.top + window.bottom) - (work.top + work.bottom)), 1);
}

TEST_F(Form1Test, SystemColourChangeReachesTheStatusBar) {
  // The status bar repaints in new colours only when told; the window passes the news on.
  static int seen = 0;
  seen = 0;
  const SUBCLASSPROC count = [](HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                DWORD_PTR) -> LRESULT {
    if (message == WM_SYSCOLORCHANGE) ++seen;
    return DefSubclassProc(window, message, wParam, lParam);
  };
  ASSERT_TRUE(SetWindowSubclass(Child(kStatusBarId), count, 1, 0));
  SendMessageW(form_->hwnd(), WM_SYSCOLORCHANGE, 0, 0);
  RemoveWindowSubclass(Child(kStatusBarId), count, 1);
  EXPECT_EQ(seen, 1);
}

TEST_F(Form1Test, EveryControlUsesTheMessageFontWhichIsReplacedOnDpiChange) {
  const HFONT before = form_->Font();
  ASSERT_NE(before, nullptr);
  for (const ControlRow& row : Form1Controls()) {
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(Child(row.id), WM_GETFONT, 0, 0)), before)
        << "control " << row.id;
  }
  LOGFONTW was{};
  ASSERT_NE(GetObjectW(before, sizeof(was), &was), 0);

  // Half as many dots again, from whatever DPI the display has.
  ChangeDpi(form_->Dpi() * 3 / 2);
  const HFONT after = form_->Font();
  ASSERT_NE(after, before);
  LOGFONTW now{};
  ASSERT_NE(GetObjectW(after, sizeof(now), &now), 0);
  EXPECT_NEAR(std::abs(now.lfHeight), std::abs(was.lfHeight) * 1.5, 1.0);
  EXPECT_EQ(GetObjectW(before, sizeof(was), &was), 0) << "the old font was not deleted";
  for (const ControlRow& row : Form1Controls()) {
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(Child(row.id), WM_GETFONT, 0, 0)), after);
  }
}

TEST_F(Form1Test, DpiChangeMovesTheWindowToTheSuggestedPlace) {
  SetWindowPos(form_->hwnd(), nullptr, 40, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  RECT suggested{200, 100, 200 + 500, 100 + 530};
  SendMessageW(form_->hwnd(), WM_DPICHANGED, MAKEWPARAM(144, 144),
               reinterpret_cast<LPARAM>(&suggested));
  RECT window{};
  GetWindowRect(form_->hwnd(), &window);
  EXPECT_EQ(window.left, 200);
  EXPECT_EQ(window.top, 100);
  RECT client{};
  GetClientRect(form_->hwnd(), &client);
  EXPECT_EQ(client.right, 483);
  EXPECT_EQ(client.bottom, 480);
}

TEST_F(Form1Test, ProjectPathIsTheFieldsTextOfAnyLength) {
  const std::vector<std::wstring> paths = {
      L"", L"C:\\Projects\\Sample.ipr", L"Z:\\tmp\\Проект プロジェクト\\Sample.ipr",
      L"\\\\?\\C:\\" + std::wstring(40000, L'a') + L"\\Sample.ipr"};
  for (const std::wstring& path : paths) {
    SetWindowTextW(Child(kPathFieldId), path.c_str());
    EXPECT_EQ(form_->ProjectPath(), path) << "length " << path.size();
  }
}

TEST_F(Form1Test, StatusTextReplacesTheSingleTextAndCanBeEmptied) {
  for (const wchar_t* text :
       {L"Converting C:\\P\\Sample.ipr...", L"Complete!", L"", L"Ελληνικά 项目"}) {
    form_->SetStatusText(text);
    EXPECT_EQ(WindowText(Child(kStatusBarId)), text);
    EXPECT_EQ(LOWORD(SendMessageW(Child(kStatusBarId), SB_GETTEXTLENGTHW, 0, 0)),
              std::wstring(text).size());
  }
}

TEST_F(Form1Test, StatusTextIsPaintedBeforeTheCallReturns) {
  // A run holds the thread, so no later paint message would show its progress.
  ShowWindow(form_->hwnd(), SW_SHOWNOACTIVATE);
  UpdateWindow(form_->hwnd());
  for (const wchar_t* text : {L"Converting C:\\P\\Sample.ipr...", L"Complete!"}) {
    form_->SetStatusText(text);
    EXPECT_FALSE(GetUpdateRect(Child(kStatusBarId), nullptr, FALSE)) << "still to be painted";
  }
}

// A failure's text too long for the status bar.
const std::wstring kCutShort = L"Error when upgrading C:\\" + std::wstring(200, L'P') +
                               L"\\Project.ipr. Please make sure that this file is writable.";

TEST_F(Form1Test, AStatusTextCutShortIsWholeInTheStatusBarsTooltip) {
  const std::wstring& cut = kCutShort;
  ShowWindow(form_->hwnd(), SW_SHOWNOACTIVATE);
  const std::wstring newer =
      L"The selected project is created in the newer version of Brenlow Professional. You do not "
      L"need to convert your project.";
  const std::wstring none;
  for (const auto& [text, tip] :
       {std::pair{cut, cut}, {L"Complete!", none}, {newer, newer}, {cut, cut}}) {
    form_->SetStatusText(text);
    EXPECT_EQ(StatusBarTip(form_->hwnd()), tip) << testing::PrintToString(text);
  }
}

// Stands in, while it lives, for the tooltip control of another version of the common controls:
// every tooltip that the thread makes takes a tool no larger than maxToolSize, as version 5.82
// takes none larger than TTTOOLINFOW_V2_SIZE.
class TooltipOfAnotherVersion {
 public:
  explicit TooltipOfAnotherVersion(UINT maxToolSize)
      : hook(SetWindowsHookExW(WH_CBT, OnCbt, nullptr, GetCurrentThreadId())) {
    maxToolSize_ = maxToolSize;
  }
  ~TooltipOfAnotherVersion() { UnhookWindowsHookEx(hook); }

  const HHOOK hook;

 private:
  static LRESULT CALLBACK OnCbt(int code, WPARAM wParam, LPARAM lParam) {
    wchar_t name[64]{};
    const auto window = reinterpret_cast<HWND>(wParam);
    if (code == HCBT_CREATEWND && GetClassNameW(window, name, 64) &&
        _wcsicmp(name, TOOLTIPS_CLASSW) == 0) {
      SetWindowSubclass(window, Tooltip, 1, 0);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }
  static LRESULT CALLBACK Tooltip(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                  DWORD_PTR) {
    if (message == TTM_ADDTOOLW &&
        reinterpret_cast<const TTTOOLINFOW*>(lParam)->cbSize > maxToolSize_) {
      return FALSE;
    }
    if (message == WM_NCDESTROY) RemoveWindowSubclass(window, Tooltip, 1);
    return DefSubclassProc(window, message, wParam, lParam);
  }

  static inline UINT maxToolSize_ = 0;
};

TEST_F(Form1Test, TheTooltipWorksWithVersion5AndIsNotKeptWithoutItsTool) {
  const struct {
    const char* what;
    UINT maxToolSize;
    bool shown;
  } cases[] = {{"version 5.82", static_cast<UINT>(TTTOOLINFOW_V2_SIZE), true},
               {"no tool taken at all", 0, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const TooltipOfAnotherVersion tooltip(c.maxToolSize);
    ASSERT_NE(tooltip.hook, nullptr);
    form_ = MakeForm1();
    ASSERT_NE(form_, nullptr);
    ShowWindow(form_->hwnd(), SW_SHOWNOACTIVATE);
    // Twice: a tooltip refused once is not made again.
    for (const std::wstring& text : {kCutShort, kCutShort + L" "}) {
      form_->SetStatusText(text);
      EXPECT_EQ(StatusBarTip(form_->hwnd()), c.shown ? text : L"");
      EXPECT_EQ(StatusBarTipWindow(form_->hwnd()) != nullptr, c.shown)
          << "a tooltip without its tool is kept";
    }
    EXPECT_EQ(WindowText(Child(kStatusBarId)), kCutShort + L" ");
  }
}

TEST_F(Form1Test, EnterAndEscCommandsAreIgnored) {
  // IsDialogMessage turns Enter and Esc into these commands; neither may close the window.
  SendMessageW(form_->hwnd(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  SendMessageW(form_->hwnd(), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  EXPECT_TRUE(IsWindow(form_->hwnd()));
  EXPECT_EQ(WindowText(Child(kStatusBarId)), L"");
}

TEST_F(Form1Test, DestroyingTheWindowClearsItsHandle) {
  HWND window = form_->hwnd();
  const UINT dpi = form_->Dpi();
  DestroyWindow(window);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(form_->hwnd(), nullptr);
  // What is sent to the dead handle never reaches the Form1, which would lay itself out again.
  RECT suggested{0, 0, 500, 530};
  SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi + 48, dpi + 48),
               reinterpret_cast<LPARAM>(&suggested));
  EXPECT_EQ(form_->Dpi(), dpi);
}

// A drop as the shell hands it over: a DROPFILES block of wide paths, each ended by a NUL, the
// list by another. The receiver frees it.
HDROP MakeDrop(const std::vector<std::wstring>& paths) {
  std::wstring list;
  for (const std::wstring& path : paths) list.append(path).push_back(L'\0');
  list.push_back(L'\0');
  const std::size_t listBytes = list.size() * sizeof(wchar_t);
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + listBytes);
  if (memory == nullptr) return nullptr;
  auto* files = static_cast<DROPFILES*>(GlobalLock(memory));
  files->pFiles = sizeof(DROPFILES);
  files->fWide = TRUE;
  std::memcpy(reinterpret_cast<char*>(files) + sizeof(DROPFILES), list.data(), listBytes);
  GlobalUnlock(memory);
  return static_cast<HDROP>(memory);
}

TEST_F(Form1Test, ADropOnTheWindowOrTheFieldPutsTheFirstPathInTheFieldAndRunsNothing) {
  const std::wstring project = L"C:\\Projects\\Sample.ipr";
  const std::wstring deep = L"C:\\" + std::wstring(300, L'd') + L"\\Проект プロジェクト.ipr";
  const std::wstring typed = L"typed before";
  const struct {
    const char* what;
    std::vector<std::wstring> paths;
    std::wstring field;  // what the field holds after the drop
  } drops[] = {
      {"one file", {project}, project},
      {"several: the first", {project, L"C:\\Other\\Second.ipr"}, project},
      {"a folder, as any path", {L"C:\\Projects"}, L"C:\\Projects"},
      {"a path longer than MAX_PATH", {deep}, deep},
      {"nothing", {}, typed},
  };
  for (const int target : {0, static_cast<int>(kPathFieldId)}) {
    HWND receiver = target == 0 ? form_->hwnd() : Child(kPathFieldId);
    for (const auto& drop : drops) {
      SCOPED_TRACE(std::string(drop.what) + (target == 0 ? ", on the window" : ", on the field"));
      SetWindowTextW(Child(kPathFieldId), typed.c_str());
      const HDROP handle = MakeDrop(drop.paths);
      ASSERT_NE(handle, nullptr);
      SendMessageW(receiver, WM_DROPFILES, reinterpret_cast<WPARAM>(handle), 0);
      EXPECT_EQ(form_->ProjectPath(), drop.field);
      // Nothing ran: the fixture's window fails the test if it asks for the file services.
      EXPECT_EQ(WindowText(Child(kStatusBarId)), L"");
      EXPECT_EQ(GlobalSize(handle), 0u) << "the drop was not finished, and its memory is lost";
    }
  }
}

}  // namespace
}  // namespace ui
