// What screen readers are told beyond what the controls say of themselves, through the system's
// accessibility property service: a control's name and description where its visible text is no
// good name, and that a control is a polite live region, whose changes are read out when the
// reader is idle. Where COM or the service is missing, or a call fails (Wine answers E_NOTIMPL),
// the control is left as it is and nothing is said: the window works the same without them.
// The service sends no events of its own: each annotation that takes is followed by the event
// that tells readers of it.
#pragma once

#include "platform/scoped_win32.h"
#include "platform/win32_headers.h"

#include <oleacc.h>

#include <vector>

namespace ui {

class AccessibleAnnotations {
 public:
  // Annotates nothing.
  AccessibleAnnotations() = default;
  // Through that service, whose one reference it takes over.
  explicit AccessibleAnnotations(IAccPropServices* service) : service_(service) {}
  // Through the system's service, where the thread's COM apartment can create it.
  static AccessibleAnnotations FromSystem();

  void SetName(HWND control, const wchar_t* name);
  void SetDescription(HWND control, const wchar_t* description);
  void SetPoliteLiveRegion(HWND control);
  // Names the live region by its new text and then tells readers that it changed, on which they
  // speak that name. An empty text empties the name and is not announced.
  void SetLiveRegionText(HWND region, const wchar_t* text);

  // Takes every annotation back; due while the controls still exist.
  void Clear();

 private:
  void SetText(HWND control, const MSAAPROPID& property, const wchar_t* text);
  // Keeps a successful annotation, once, so that Clear takes it back.
  bool Record(HRESULT result, HWND control, const MSAAPROPID& property);

  platform::ScopedComPtr<IAccPropServices> service_;
  struct Annotated {
    HWND control;
    MSAAPROPID property;
  };
  std::vector<Annotated> annotated_;
};

}  // namespace ui
