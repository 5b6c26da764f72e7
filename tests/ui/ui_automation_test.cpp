// The real program as a screen reader reads it on Windows: through UI Automation, whose proxies
// make elements of the Win32 controls and of the names that the window annotates. A screen reader
// speaks an element's Name, and speaks the status bar's when that polite live region raises its
// live-region event, so after a run the event must have come and the status bar's Name must be the
// run's last status text. Only Windows' UI Automation is the one to check against: under Wine the
// suite reports itself skipped.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <ostream>
#include <string>
#include <utility>
#include <variant>
#include <vector>

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
struct UiaElementArray;

struct UiaElement : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE SetFocus() = 0;
  virtual HRESULT STDMETHODCALLTYPE GetRuntimeId(void*) = 0;
  virtual HRESULT STDMETHODCALLTYPE FindFirst(void*) = 0;
  virtual HRESULT STDMETHODCALLTYPE FindAll(int scope, IUnknown* condition,
                                            UiaElementArray** found) = 0;
  virtual HRESULT STDMETHODCALLTYPE FindFirstBuildCache(void*) = 0;
  virtual HRESULT STDMETHODCALLTYPE FindAllBuildCache(void*) = 0;
  virtual HRESULT STDMETHODCALLTYPE BuildUpdatedCache(void*) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetCurrentPropertyValue(int property, VARIANT* value) = 0;
};

struct UiaElementArray : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE get_Length(int* length) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetElement(int index, UiaElement** element) = 0;
};

struct UiaEventHandler : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE HandleAutomationEvent(UiaElement* sender, int event) = 0;
};

struct UiaClient : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE CompareElements(void*) = 0;
  virtual HRESULT STDMETHODCALLTYPE CompareRuntimeIds(void*) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetRootElement(void*) = 0;
  virtual HRESULT STDMETHODCALLTYPE ElementFromHandle(HWND window, UiaElement** element) = 0;
  // ElementFromPoint to CreateCacheRequest, in the order of UIAutomationClient.h.
  virtual HRESULT STDMETHODCALLTYPE Unused4() = 0;
  virtual HRESULT STDMETHODCALLTYPE Unused5() = 0;
  virtual HRESULT STDMETHODCALLTYPE Unused6() = 0;
  virtual HRESULT STDMETHODCALLTYPE Unused7() = 0;
  virtual HRESULT STDMETHODCALLTYPE Unused8() = 0;
  virtual HRESULT STDMETHODCALLTYPE Unused9() = 0;
  virtual HRESULT STDMETHODCALLTYPE Unused10() = 0;
  virtual HRESULT STDMETHODCALLTYPE Unused11() = 0;
  virtual HRESULT STDMETHODCALLTYPE Unused12() = 0;
  virtual HRESULT STDMETHODCALLTYPE Unused13() = 0;
  virtual HRESULT STDMETHODCALLTYPE Unused14() = 0;
  virtual HRESULT STDMETHODCALLTYPE Unused15() = 0;
  virtual HRESULT STDMETHODCALLTYPE Unused16() = 0;
  virtual HRESULT STDMETHODCALLTYPE Unused17() = 0;
  virtual HRESULT STDMETHODCALLTYPE CreateTrueCondition(IUnknown** condition) = 0;
  // CreateFalseCondition to CreateNotCondition.
  virtual HRESULT STDMETHODCALLTYPE Unused19() = 0;
  virtual HRESULT STDMETHODCALLTYPE Unused20() = 0;
  virtual HRESULT STDMETHODCALLTYPE Unused21() = 0;
  virtual HRESULT STDMETHODCALLTYPE Unused22() = 0;
  virtual HRESULT STDMETHODCALLTYPE Unused23() = 0;
  virtual HRESULT STDMETHODCALLTYPE Unused24() = 0;
  virtual HRESULT STDMETHODCALLTYPE Unused25() = 0;
  virtual HRESULT STDMETHODCALLTYPE Unused26() = 0;
  virtual HRESULT STDMETHODCALLTYPE Unused27() = 0;
  virtual HRESULT STDMETHODCALLTYPE Unused28() = 0;
  virtual HRESULT STDMETHODCALLTYPE AddAutomationEventHandler(int event, UiaElement* element,
                                                              int scope, void* cacheRequest,
                                                              UiaEventHandler* handler) = 0;
  virtual HRESULT STDMETHODCALLTYPE RemoveAutomationEventHandler(int event, UiaElement* element,
                                                                 UiaEventHandler* handler) = 0;
};

// CUIAutomation and IUIAutomation; the property identifiers of UIAutomationClient.h.
constexpr GUID kUiaClientClass{
    0xff48dba4, 0x60ef, 0x4201, {0xaa, 0x87, 0x54, 0x10, 0x3e, 0xef, 0x59, 0x4e}};
constexpr GUID kUiaClientInterface{
    0x30cbe57d, 0xd9d0, 0x452a, {0xab, 0x13, 0x7a, 0xc5, 0xac, 0x48, 0x25, 0xee}};
constexpr GUID kUiaEventHandlerInterface{
    0x146c3c17, 0xf12e, 0x4e22, {0x8c, 0x27, 0xf8, 0x94, 0xb9, 0xb7, 0x9c, 0x69}};
constexpr int kNameProperty = 30005;
constexpr int kLiveSettingProperty = 30135;
constexpr int kLiveRegionChangedEvent = 20024;
constexpr int kTreeScopeElement = 1;
constexpr int kTreeScopeDescendants = 4;
constexpr LONG kPolite = 1;
// How long a live-region event may take to come through UI Automation's own thread.
constexpr std::chrono::seconds kEventWait{10};

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

PropertySeen ReadElementProperty(UiaElement& element, int property) {
  VARIANT value;
  VariantInit(&value);
  if (const HRESULT result = element.GetCurrentPropertyValue(property, &value); FAILED(result)) {
    return Unread{result};
  }
  PropertySeen seen = Unread{E_UNEXPECTED};
  if (value.vt == VT_BSTR) seen = std::wstring(value.bstrVal, SysStringLen(value.bstrVal));
  if (value.vt == VT_I4) seen = value.lVal;
  VariantClear(&value);
  return seen;
}

PropertySeen ReadProperty(UiaClient& client, HWND control, int property) {
  UiaElement* raw = nullptr;
  if (const HRESULT result = client.ElementFromHandle(control, &raw); FAILED(result)) {
    return Unread{result};
  }
  return ReadElementProperty(*ComPtr<UiaElement>(raw), property);
}

// The Names of every element below the window, as a screen reader would walk them.
std::vector<std::wstring> NamesBelow(UiaClient& client, HWND window) {
  std::vector<std::wstring> names;
  UiaElement* rawElement = nullptr;
  IUnknown* rawCondition = nullptr;
  if (FAILED(client.ElementFromHandle(window, &rawElement))) return names;
  const ComPtr<UiaElement> element(rawElement);
  if (FAILED(client.CreateTrueCondition(&rawCondition))) return names;
  const ComPtr<IUnknown> everything(rawCondition);
  UiaElementArray* rawFound = nullptr;
  if (FAILED(element->FindAll(kTreeScopeDescendants, everything.get(), &rawFound))) return names;
  const ComPtr<UiaElementArray> found(rawFound);
  int length = 0;
  found->get_Length(&length);
  for (int i = 0; i < length; ++i) {
    UiaElement* rawItem = nullptr;
    if (FAILED(found->GetElement(i, &rawItem))) continue;
    const PropertySeen name = ReadElementProperty(*ComPtr<UiaElement>(rawItem), kNameProperty);
    if (std::holds_alternative<std::wstring>(name)) names.push_back(std::get<std::wstring>(name));
  }
  return names;
}

// The program's shown suggestion list: the shell's completion puts it in a window of its own.
HWND ShownSuggestionList(DWORD processId) {
  HWND list = nullptr;
  while ((list = FindWindowExW(nullptr, list, L"Auto-Suggest Dropdown", nullptr)) != nullptr) {
    DWORD owner = 0;
    GetWindowThreadProcessId(list, &owner);
    if (owner == processId && IsWindowVisible(list)) return list;
  }
  return nullptr;
}

bool EndsWithIgnoringCase(const std::wstring& text, const std::wstring& tail) {
  return text.size() >= tail.size() &&
         CompareStringOrdinal(text.c_str() + (text.size() - tail.size()),
                              static_cast<int>(tail.size()), tail.c_str(),
                              static_cast<int>(tail.size()), TRUE) == CSTR_EQUAL;
}

// Hears the live-region events of one element as a screen reader does, on UI Automation's own
// thread, and keeps the element's Name as it was when each event came: what a reader speaks.
class LiveRegionListener final : public UiaEventHandler {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (iid != IID_IUnknown && iid != kUiaEventHandlerInterface) {
      *object = nullptr;
      return E_NOINTERFACE;
    }
    *object = static_cast<UiaEventHandler*>(this);
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }

  HRESULT STDMETHODCALLTYPE HandleAutomationEvent(UiaElement* sender, int event) override {
    if (event != kLiveRegionChangedEvent || sender == nullptr) return S_OK;
    const PropertySeen name = ReadElementProperty(*sender, kNameProperty);
    const std::lock_guard lock(mutex_);
    spoken_.push_back(std::holds_alternative<std::wstring>(name) ? std::get<std::wstring>(name)
                                                                 : L"(name unread)");
    heard_.notify_all();
    return S_OK;
  }

  // What was heard since the last call, once it includes `expected` or the wait is over.
  std::vector<std::wstring> AwaitSpoken(const std::wstring& expected) {
    std::unique_lock lock(mutex_);
    heard_.wait_for(lock, kEventWait, [&] {
      return std::find(spoken_.begin(), spoken_.end(), expected) != spoken_.end();
    });
    return std::exchange(spoken_, {});
  }

 private:
  std::atomic<ULONG> references_{1};
  std::mutex mutex_;
  std::condition_variable heard_;
  std::vector<std::wstring> spoken_;
};

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
  UiaElement* raw = nullptr;
  ASSERT_HRESULT_SUCCEEDED(client_->ElementFromHandle(app_->statusBar(), &raw));
  const ComPtr<UiaElement> statusBar(raw);
  const ComPtr<LiveRegionListener> listener(new LiveRegionListener);
  ASSERT_HRESULT_SUCCEEDED(client_->AddAutomationEventHandler(
      kLiveRegionChangedEvent, statusBar.get(), kTreeScopeElement, nullptr, listener.get()));
  for (const auto& [folder, version, status] : runs) {
    SCOPED_TRACE(version);
    const auto project = WriteSampleProject(scratch_->Child(folder), version);
    app_->SetFieldText(project.projectFile);
    const RunSeen run = app_->PressConvert();
    ASSERT_TRUE(run.finished);
    ASSERT_EQ(run.statusText, status);
    EXPECT_EQ(Read(app_->statusBar(), kNameProperty), PropertySeen(std::wstring(status)));
    // What Narrator speaks: the event came, and the Name it reads then is the last status text.
    const std::vector<std::wstring> spoken = listener->AwaitSpoken(status);
    EXPECT_NE(std::find(spoken.begin(), spoken.end(), status), spoken.end())
        << "no live-region event with the Name " << testing::PrintToString(std::wstring(status))
        << " within " << kEventWait.count() << " s; heard " << testing::PrintToString(spoken);
  }
  EXPECT_HRESULT_SUCCEEDED(client_->RemoveAutomationEventHandler(kLiveRegionChangedEvent,
                                                                 statusBar.get(), listener.get()));
}

TEST_F(UiAutomationTest, PathFieldSuggestsTheFilesOfTheFolderTypedSoFar) {
  const auto project = WriteSampleProject(scratch_->Child(L"Completed"), "1.10.000");
  UiaElement* raw = nullptr;
  ASSERT_HRESULT_SUCCEEDED(client_->ElementFromHandle(app_->field(), &raw));
  ASSERT_HRESULT_SUCCEEDED(ComPtr<UiaElement>(raw)->SetFocus());
  // The folder's path, then typed as a user types: its separator and the file name's first
  // letter, on which the completion lists what the folder holds.
  app_->SetFieldText(project.folder);
  for (const wchar_t typed : {L'\\', test_support::kProject[0]}) {
    PostMessageW(app_->field(), WM_CHAR, typed, 1);
  }
  ASSERT_TRUE(app_->WaitUntilPostedHandled());
  DWORD processId = 0;
  GetWindowThreadProcessId(app_->form(), &processId);
  const std::wstring fileName = L"\\" + std::wstring(test_support::kProject);
  std::vector<std::wstring> offered;
  const auto deadline = std::chrono::steady_clock::now() + kEventWait;
  bool found = false;
  while (!found && std::chrono::steady_clock::now() < deadline) {
    if (HWND list = ShownSuggestionList(processId)) offered = NamesBelow(*client_, list);
    found = std::any_of(offered.begin(), offered.end(), [&](const std::wstring& name) {
      return EndsWithIgnoringCase(name, fileName);
    });
    if (!found) Sleep(100);
  }
  EXPECT_TRUE(found) << "the suggestions did not offer "
                     << testing::PrintToString(project.projectFile) << "; offered "
                     << testing::PrintToString(offered);
  // Esc closes the list; the field goes back to holding nothing for the tests after this one.
  app_->PostKey(app_->field(), VK_ESCAPE);
  app_->SetFieldText(L"");
}

}  // namespace
}  // namespace ui::e2e
