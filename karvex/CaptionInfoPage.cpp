#include "karvex/CaptionInfoPage.h"

#include <new>

#include "karvex/KarvexRes.h"

namespace velk {

dshow::CUnknown* CCaptionInfoPage::CreateInstance(IUnknown* outer, HRESULT* hr) {
  auto* page = new (std::nothrow) CCaptionInfoPage(outer);
  if (!page) *hr = E_OUTOFMEMORY;
  return page;
}

CCaptionInfoPage::CCaptionInfoPage(IUnknown* outer)
    : CBasePropertyPage(outer, IDD_CAPTIONINFO, IDS_CAPTIONINFO_TITLE) {}

INT_PTR CCaptionInfoPage::OnReceiveMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_COMMAND) return 1;
  return CBasePropertyPage::OnReceiveMessage(hwnd, msg, wParam, lParam);
}

}  // namespace velk
