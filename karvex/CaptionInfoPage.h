// The overlay's property page: dialog 101, titled "Info CC". It shows
// nothing and applies nothing; commands from the dialog are swallowed.
#pragma once

#include "platform/dshow/PropertyPage.h"

namespace velk {

class CCaptionInfoPage : public dshow::CBasePropertyPage {
 public:
  static dshow::CUnknown* CreateInstance(IUnknown* outer, HRESULT* hr);
  explicit CCaptionInfoPage(IUnknown* outer);

 protected:
  INT_PTR OnReceiveMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) override;
};

}  // namespace velk
