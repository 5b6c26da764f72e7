// What the window tells screen readers, read from an accessibility property service that the
// test puts in place of the system's: Wine's own answers E_NOTIMPL to every annotation.
#include "platform/win32_headers.h"

// Before oleacc.h, so that the GUIDs the test uses are defined here, as in accessibility.cpp.
#include <initguid.h>

#include "ui/accessibility.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>

#include "tests/ui/window_fixture.h"
#include "ui/form1_layout.h"

namespace ui {
namespace {

// Keeps the annotations it is given, and the names given in the order of what else happened.
class RecordingPropServices final : public IAccPropServices, public IClassFactory {
 public:
  using Key = std::pair<HWND, std::wstring>;  // the control and the property's GUID
  std::map<Key, std::wstring> texts;
  std::map<Key, LONG> numbers;
  std::wstring sequence;

  static std::wstring Name(const MSAAPROPID& property) {
    wchar_t name[40]{};
    StringFromGUID2(property, name, 40);
    return name;
  }

  HRESULT WINAPI SetHwndPropStr(HWND hwnd, DWORD object, DWORD child, MSAAPROPID property,
                                LPCWSTR text) override {
    if (object == static_cast<DWORD>(OBJID_CLIENT) && child == CHILDID_SELF)
      texts[{hwnd, Name(property)}] = text;
    if (property == PROPID_ACC_NAME) sequence += L"name \"" + std::wstring(text) + L"\"; ";
    return S_OK;
  }
  HRESULT WINAPI SetHwndProp(HWND hwnd, DWORD object, DWORD child, MSAAPROPID property,
                             VARIANT value) override {
    if (object == static_cast<DWORD>(OBJID_CLIENT) && child == CHILDID_SELF && value.vt == VT_I4)
      numbers[{hwnd, Name(property)}] = value.lVal;
    return S_OK;
  }
  HRESULT WINAPI ClearHwndProps(HWND hwnd, DWORD, DWORD, const MSAAPROPID* properties,
                                int count) override {
    for (int i = 0; i < count; ++i) {
      texts.erase({hwnd, Name(properties[i])});
      numbers.erase({hwnd, Name(properties[i])});
    }
    return S_OK;
  }

  // The rest of IAccPropServices, which the window does not use.
  // clang-format off
  HRESULT WINAPI SetPropValue(const BYTE*, DWORD, MSAAPROPID, VARIANT) override { return E_NOTIMPL; }
  HRESULT WINAPI SetPropServer(const BYTE*, DWORD, const MSAAPROPID*, int, IAccPropServer*, AnnoScope) override { return E_NOTIMPL; }
  HRESULT WINAPI ClearProps(const BYTE*, DWORD, const MSAAPROPID*, int) override { return E_NOTIMPL; }
  HRESULT WINAPI SetHwndPropServer(HWND, DWORD, DWORD, const MSAAPROPID*, int, IAccPropServer*, AnnoScope) override { return E_NOTIMPL; }
  HRESULT WINAPI ComposeHwndIdentityString(HWND, DWORD, DWORD, BYTE**, DWORD*) override { return E_NOTIMPL; }
  HRESULT WINAPI DecomposeHwndIdentityString(const BYTE*, DWORD, HWND*, DWORD*, DWORD*) override { return E_NOTIMPL; }
  HRESULT WINAPI SetHmenuProp(HMENU, DWORD, MSAAPROPID, VARIANT) override { return E_NOTIMPL; }
  HRESULT WINAPI SetHmenuPropStr(HMENU, DWORD, MSAAPROPID, LPCWSTR) override { return E_NOTIMPL; }
  HRESULT WINAPI SetHmenuPropServer(HMENU, DWORD, const MSAAPROPID*, int, IAccPropServer*, AnnoScope) override { return E_NOTIMPL; }
  HRESULT WINAPI ClearHmenuProps(HMENU, DWORD, const MSAAPROPID*, int) override { return E_NOTIMPL; }
  HRESULT WINAPI ComposeHmenuIdentityString(HMENU, DWORD, BYTE**, DWORD*) override { return E_NOTIMPL; }
  HRESULT WINAPI DecomposeHmenuIdentityString(const BYTE*, DWORD, HMENU*, DWORD*) override { return E_NOTIMPL; }
  // clang-format on

  // One object on the test's stack: the counts only keep COM's rules.
  HRESULT WINAPI QueryInterface(REFIID iid, void** object) override {
    if (iid == IID_IUnknown || iid == IID_IAccPropServices) {
      *object = static_cast<IAccPropServices*>(this);
    } else if (iid == IID_IClassFactory) {
      *object = static_cast<IClassFactory*>(this);
    } else {
      *object = nullptr;
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  ULONG WINAPI AddRef() override { return 2; }
  ULONG WINAPI Release() override { return 1; }
  HRESULT WINAPI CreateInstance(IUnknown* outer, REFIID iid, void** object) override {
    return outer != nullptr ? CLASS_E_NOAGGREGATION : QueryInterface(iid, object);
  }
  HRESULT WINAPI LockServer(BOOL) override { return S_OK; }
};

// Puts the recording service in the system's place for this thread's apartment.
class AccessibilityTest : public Form1Fixture {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    ASSERT_EQ(CoRegisterClassObject(CLSID_AccPropServices, static_cast<IClassFactory*>(&service_),
                                    CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &cookie_),
              S_OK);
    Form1Fixture::SetUp();
    HandlePostedMessages();
  }
  void TearDown() override {
    form_.reset();
    CoRevokeClassObject(cookie_);
    CoUninitialize();
  }
  RecordingPropServices service_;
  DWORD cookie_ = 0;
};

// Adds the status bar's name and live-region events to the sequence as they are raised: an
// in-context hook runs inside NotifyWinEvent.
RecordingPropServices* recording = nullptr;
HWND watched = nullptr;
void CALLBACK Seen(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD, DWORD) {
  if (window != watched || object != OBJID_CLIENT || child != CHILDID_SELF) return;
  if (event == EVENT_OBJECT_NAMECHANGE) recording->sequence += L"name change; ";
  if (event == EVENT_OBJECT_LIVEREGIONCHANGED) recording->sequence += L"live region; ";
}

const std::wstring kName = RecordingPropServices::Name(PROPID_ACC_NAME);
const std::wstring kDescription = RecordingPropServices::Name(PROPID_ACC_DESCRIPTION);
const std::wstring kLiveSetting = L"{C12BCD8E-2A8E-4950-8AE7-3625111D58EB}";

TEST_F(AccessibilityTest, BrowseFieldAndStatusBarAreAnnotatedAndClearedWithTheWindow) {
  const std::map<RecordingPropServices::Key, std::wstring> texts{
      {{Child(kBrowseButtonId), kName}, L"Browse"},
      {{Child(kPathFieldId), kName}, L"Project file"},
      {{Child(kPathFieldId), kDescription}, FindControl(kProjectHintId)->text}};
  EXPECT_EQ(service_.texts, texts);
  const std::map<RecordingPropServices::Key, LONG> polite{{{Child(kStatusBarId), kLiveSetting}, 1}};
  EXPECT_EQ(service_.numbers, polite);
  // What a sighted user reads is unchanged.
  EXPECT_EQ(WindowText(Child(kBrowseButtonId)), L"...");

  DestroyWindow(form_->hwnd());
  EXPECT_TRUE(service_.texts.empty());
  EXPECT_TRUE(service_.numbers.empty());
}

TEST_F(AccessibilityTest, EachStatusTextIsTheStatusBarsNameBeforeItIsAnnounced) {
  recording = &service_;
  watched = Child(kStatusBarId);
  HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_NAMECHANGE, EVENT_OBJECT_LIVEREGIONCHANGED,
                                       GetModuleHandleW(nullptr), Seen, GetCurrentProcessId(),
                                       GetCurrentThreadId(), WINEVENT_INCONTEXT);
  ASSERT_NE(hook, nullptr);
  service_.sequence.clear();  // the start's own names
  for (const wchar_t* text : {L"Converting C:\\P\\Sample.ipr...", L"Complete!", L""}) {
    form_->SetStatusText(text);
  }
  UnhookWinEvent(hook);
  // The name first, then its change, then the live region's; an empty text is not announced.
  EXPECT_EQ(service_.sequence,
            L"name \"Converting C:\\P\\Sample.ipr...\"; name change; live region; "
            L"name \"Complete!\"; name change; live region; name \"\"; name change; ");
  EXPECT_EQ(service_.texts.at({watched, kName}), L"");

  DestroyWindow(form_->hwnd());
  EXPECT_TRUE(service_.texts.empty());
}

}  // namespace
}  // namespace ui
