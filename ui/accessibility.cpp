// initguid.h before oleacc.h, as the annotation calls' documentation asks: this source then
// defines the GUIDs it uses (PROPID_ACC_*), which not every SDK's import libraries hold.
#include "platform/win32_headers.h"

#include <initguid.h>

#include "ui/accessibility.h"

namespace ui {
namespace {

// UI Automation's LiveSetting property, which IAccPropServices carries to UIA clients; not in
// every SDK's headers.
constexpr GUID kLiveSettingProperty{
    0xc12bcd8e, 0x2a8e, 0x4950, {0x8a, 0xe7, 0x36, 0x25, 0x11, 0x1d, 0x58, 0xeb}};
constexpr LONG kPolite = 1;  // LiveSetting's Polite

}  // namespace

AccessibleAnnotations AccessibleAnnotations::FromSystem() {
  IAccPropServices* service = nullptr;
  if (FAILED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                              IID_IAccPropServices, reinterpret_cast<void**>(&service)))) {
    return AccessibleAnnotations();
  }
  return AccessibleAnnotations(service);
}

void AccessibleAnnotations::SetName(HWND control, const wchar_t* name) {
  SetText(control, PROPID_ACC_NAME, name);
}

void AccessibleAnnotations::SetDescription(HWND control, const wchar_t* description) {
  SetText(control, PROPID_ACC_DESCRIPTION, description);
}

void AccessibleAnnotations::SetPoliteLiveRegion(HWND control) {
  if (!service_.valid() || control == nullptr) return;
  VARIANT value{};
  value.vt = VT_I4;
  value.lVal = kPolite;
  Record(service_.get()->SetHwndProp(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                     kLiveSettingProperty, value),
         control, kLiveSettingProperty);
}

void AccessibleAnnotations::SetLiveRegionText(HWND region, const wchar_t* text) {
  SetName(region, text);
  if (*text != L'\0') {
    NotifyWinEvent(EVENT_OBJECT_LIVEREGIONCHANGED, region, OBJID_CLIENT, CHILDID_SELF);
  }
}

void AccessibleAnnotations::SetText(HWND control, const MSAAPROPID& property, const wchar_t* text) {
  if (!service_.valid() || control == nullptr) return;
  if (Record(service_.get()->SetHwndPropStr(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                            property, text),
             control, property)) {
    // A reader that has read the control already reads it again.
    NotifyWinEvent(
        property == PROPID_ACC_NAME ? EVENT_OBJECT_NAMECHANGE : EVENT_OBJECT_DESCRIPTIONCHANGE,
        control, OBJID_CLIENT, CHILDID_SELF);
  }
}

bool AccessibleAnnotations::Record(HRESULT result, HWND control, const MSAAPROPID& property) {
  if (FAILED(result)) return false;
  for (const Annotated& annotation : annotated_) {
    if (annotation.control == control && annotation.property == property) return true;
  }
  annotated_.push_back(Annotated{control, property});
  return true;
}

void AccessibleAnnotations::Clear() {
  for (const Annotated& annotation : annotated_) {
    service_.get()->ClearHwndProps(annotation.control, static_cast<DWORD>(OBJID_CLIENT),
                                   CHILDID_SELF, &annotation.property, 1);
  }
  annotated_.clear();
}

}  // namespace ui
