// The real program as a screen reader reads it on Windows: through UI Automation, whose proxies
// make elements of the Win32 controls and of the names that the window annotates. A screen reader
// speaks an element's Name, and speaks the status bar's when that polite live region says it has
// changed, so the status bar's Name after a run must be the run's last status text. Only Windows'
// UI Automation is the one to check against: under Wine the suite reports itself skipped.
#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>
#include <variant>

#include "platform/win32_headers.h"
#include "tests/support/sample_project.h"
#include "tests/support/scratch_folder.h"
#include "tests/ui/app_driver.h"

#include <ole2.h>

namespace ui::e2e {
namespace {

using test_support::ScratchFolder;
using test_support::WriteSampleProject;

// The two client interfaces used here, declared by their slots, since not every SDK's headers
// have them (Debian's mingw-w64 has the identifiers only). The methods before the ones called
// keep their places in the table.
struct UiaElement : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE SetFocus() = 0;
  virtual HRESULT STDMETHODCALLTYPE GetRuntimeId(void*) = 0;
  virtual HRESULT STDMETHODCALLTYPE FindFirst(void*) = 0;
  virtual HRESULT STDMETHODCALLTYPE FindAll(void*) = 0;
  virtual HRESULT STDMETHODCALLTYPE FindFirstBuildCache(void*) = 0;
  virtual HRESULT STDMETHODCALLTYPE FindAllBuildCache(void*) = 0;
  virtual HRESULT STDMETHODCALLTYPE BuildUpdatedCache(void*) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetCurrentPropertyValue(int property, VARIANT* value) = 0;
};

struct UiaClient : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE CompareElements(void*) = 0;
  virtual HRESULT STDMETHODCALLTYPE CompareRuntimeIds(void*) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetRootElement(void*) = 0;
  virtual HRESULT STDMETHODCALLTYPE ElementFromHandle(HWND window, UiaElement** element) = 0;
};

// CUIAutomation and IUIAutomation; the property identifiers of UIAutomationClient.h.
constexpr GUID kUiaClientClass{
    0xff48dba4, 0x60ef, 0x4201, {0xaa, 0x87, 0x54, 0x10, 0x3e, 0xef, 0x59, 0x4e}};
constexpr GUID kUiaClientInterface{
    0x30cbe57d, 0xd9d0, 0x452a, {0xab, 0x13, 0x7a, 0xc5, 0xac, 0x48, 0x25, 0xee}};
constexpr int kNameProperty = 30005;
constexpr int kLiveSettingProperty = 30135;
constexpr LONG kPolite = 1;

struct ComRelease {
  void operator()(IUnknown* object) const { object->Release(); }
};
template <typename Interface>
using ComPtr = std::unique_ptr<Interface, ComRelease>;

bool RunsUnderWine() {
  HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

// Why a property could not be read: the failing call's result, or E_UNEXPECTED for a value of
// another type than the property's.
struct Unread {
  HRESULT result;
  friend bool operator==(const Unread&, const Unread&) = default;
  friend void PrintTo(const Unread& unread, std::ostream* out) {
    *out << "unread, HRESULT 0x" << std::hex << static_cast<unsigned long>(unread.result);
  }
};
// One property of the control's element as a client reads it now.
using PropertySeen = std::variant<std::wstring, LONG, Unread>;

PropertySeen ReadProperty(UiaClient& client, HWND control, int property) {
  UiaElement* raw = nullptr;
  if (const HRESULT result = client.ElementFromHandle(control, &raw); FAILED(result)) {
    return Unread{result};
  }
  const ComPtr<UiaElement> element(raw);
  VARIANT value;
  VariantInit(&value);
  if (const HRESULT result = element->GetCurrentPropertyValue(property, &value); FAILED(result)) {
    return Unread{result};
  }
  PropertySeen seen = Unread{E_UNEXPECTED};
  if (value.vt == VT_BSTR) seen = std::wstring(value.bstrVal, SysStringLen(value.bstrVal));
  if (value.vt == VT_I4) seen = value.lVal;
  VariantClear(&value);
  return seen;
}

class UiAutomationTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (RunsUnderWine()) return;
    // The multithreaded apartment, as Microsoft advises for a client.
    clientResult_ = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    apartment_ = SUCCEEDED(clientResult_);
    UiaClient* client = nullptr;
    if (apartment_) {
      clientResult_ = CoCreateInstance(kUiaClientClass, nullptr, CLSCTX_INPROC_SERVER,
                                       kUiaClientInterface, reinterpret_cast<void**>(&client));
      if (SUCCEEDED(clientResult_)) client_.reset(client);
    }
    scratch_ = std::make_unique<ScratchFolder>();
    app_ = StartProgram(startError_);
  }

  static void TearDownTestSuite() {
    app_.reset();
    scratch_.reset();
    client_.reset();
    if (apartment_) CoUninitialize();
    apartment_ = false;
  }

  void SetUp() override {
    if (RunsUnderWine()) GTEST_SKIP() << "UI Automation is checked on Windows only";
    ASSERT_NE(client_, nullptr) << "no UI Automation client: HRESULT 0x" << std::hex
                                << static_cast<unsigned long>(clientResult_);
    ASSERT_NE(app_, nullptr) << "the program did not start: "
                             << testing::PrintToString(startError_);
  }

  static PropertySeen Read(HWND control, int property) {
    return ReadProperty(*client_, control, property);
  }

  static inline bool apartment_ = false;
  static inline HRESULT clientResult_ = S_OK;
  static inline std::wstring startError_;
  static inline ComPtr<UiaClient> client_;
  static inline std::unique_ptr<ScratchFolder> scratch_;
  static inline std::unique_ptr<AppDriver> app_;
};

TEST_F(UiAutomationTest, ControlsAreReadByTheirNames) {
  const struct {
    HWND control;
    const wchar_t* name;
  } controls[] = {
      {app_->field(), L"Project file"}, {app_->browse(), L"Browse"}, {app_->convert(), L"Convert"}};
  for (const auto& [control, name] : controls) {
    EXPECT_EQ(Read(control, kNameProperty), PropertySeen(std::wstring(name)));
  }
  // What makes a screen reader speak the status bar's changes without being asked.
  EXPECT_EQ(Read(app_->statusBar(), kLiveSettingProperty), PropertySeen(kPolite));
}

TEST_F(UiAutomationTest, StatusBarIsReadAsTheRunsLastStatusText) {
  const struct {
    const wchar_t* folder;
    const char* version;
    const wchar_t* status;
  } runs[] = {
      {L"Converted", "1.10.000", L"Complete!"},
      {L"Refused", "1.20.000",
       L"The selected project is created in the newer version of Brenlow Professional. You do "
       L"not need to convert your project."},
  };
  for (const auto& [folder, version, status] : runs) {
    SCOPED_TRACE(version);
    const auto project = WriteSampleProject(scratch_->Child(folder), version);
    app_->SetFieldText(project.projectFile);
    const RunSeen run = app_->PressConvert();
    ASSERT_TRUE(run.finished);
    ASSERT_EQ(run.statusText, status);
    EXPECT_EQ(Read(app_->statusBar(), kNameProperty), PropertySeen(std::wstring(status)));
  }
}

}  // namespace
}  // namespace ui::e2e
