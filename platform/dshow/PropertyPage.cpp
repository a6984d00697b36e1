#include "platform/dshow/PropertyPage.h"

#include <cstring>

#include "platform/framework/Resources.h"

namespace velk::dshow {

CBasePropertyPage::CBasePropertyPage(IUnknown* outer, int dialogId, int titleId)
    : CUnknown(outer), dialogId_(dialogId), titleId_(titleId) {}

CBasePropertyPage::~CBasePropertyPage() {
  if (hwnd_) ::DestroyWindow(hwnd_);
}

HRESULT STDMETHODCALLTYPE CBasePropertyPage::NonDelegatingQueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  if (iid == IID_IPropertyPage) return GetInterface(static_cast<IPropertyPage*>(this), out);
  return CUnknown::NonDelegatingQueryInterface(iid, out);
}

INT_PTR CALLBACK CBasePropertyPage::DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_INITDIALOG) ::SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
  auto* page = reinterpret_cast<CBasePropertyPage*>(::GetWindowLongPtrW(hwnd, DWLP_USER));
  if (!page) return FALSE;
  return page->OnReceiveMessage(hwnd, msg, wParam, lParam);
}

INT_PTR CBasePropertyPage::OnReceiveMessage(HWND, UINT msg, WPARAM wParam, LPARAM lParam) {
  // On Windows NT the frame's tab key reaches the page's controls only when
  // the page is a control parent.
  if (msg == WM_STYLECHANGING && wParam == static_cast<WPARAM>(GWL_EXSTYLE) &&
      CModule::PlatformId() == VER_PLATFORM_WIN32_NT) {
    reinterpret_cast<STYLESTRUCT*>(lParam)->styleNew |= WS_EX_CONTROLPARENT;
    return 0;
  }
  return FALSE;
}

HWND CBasePropertyPage::CreatePageDialog(HWND parent) {
  return ::CreateDialogParamW(CModule::Instance(), MAKEINTRESOURCEW(dialogId_), parent, DialogProc,
                              reinterpret_cast<LPARAM>(this));
}

HRESULT STDMETHODCALLTYPE CBasePropertyPage::SetPageSite(IPropertyPageSite* site) {
  if (site) {
    if (site_) return E_UNEXPECTED;
    site_ = ComPtr<IPropertyPageSite>(site);
  } else {
    if (!site_) return E_UNEXPECTED;
    site_.Reset();
  }
  return S_OK;
}

HRESULT STDMETHODCALLTYPE CBasePropertyPage::Activate(HWND parent, LPCRECT rect, BOOL) {
  if (!rect) return E_POINTER;
  if (!objectSet_ || hwnd_) return E_UNEXPECTED;
  hwnd_ = CreatePageDialog(parent);
  if (!hwnd_) return E_OUTOFMEMORY;
  OnActivate();
  Move(rect);
  return Show(SW_SHOWNORMAL);
}

HRESULT STDMETHODCALLTYPE CBasePropertyPage::Deactivate() {
  if (!hwnd_) return E_UNEXPECTED;
  OnDeactivate();
  ::DestroyWindow(hwnd_);
  hwnd_ = nullptr;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE CBasePropertyPage::GetPageInfo(PROPPAGEINFO* info) {
  if (!info) return E_POINTER;
  std::memset(info, 0, sizeof(*info));
  info->cb = sizeof(*info);
  const std::wstring title = fw::LoadResourceStringW(CModule::Instance(), static_cast<UINT>(titleId_));
  const size_t bytes = (title.size() + 1) * sizeof(wchar_t);
  auto* copy = static_cast<wchar_t*>(::CoTaskMemAlloc(bytes));
  if (!copy) return E_OUTOFMEMORY;
  std::memcpy(copy, title.c_str(), bytes);
  info->pszTitle = copy;
  // The dialog's size in pixels: make it hidden once and measure it.
  HWND probe = CreatePageDialog(::GetDesktopWindow());
  if (probe) {
    RECT r;
    ::GetWindowRect(probe, &r);
    info->size.cx = r.right - r.left;
    info->size.cy = r.bottom - r.top;
    ::DestroyWindow(probe);
  }
  return S_OK;
}

HRESULT STDMETHODCALLTYPE CBasePropertyPage::SetObjects(ULONG count, IUnknown** objects) {
  if (count == 0) {
    objectSet_ = false;
    return OnDisconnect();
  }
  if (!objects || !objects[0]) return E_POINTER;
  HRESULT hr = OnConnect(objects[0]);
  objectSet_ = SUCCEEDED(hr);
  return hr;
}

HRESULT STDMETHODCALLTYPE CBasePropertyPage::Show(UINT cmdShow) {
  if (!hwnd_) return E_UNEXPECTED;
  if (cmdShow != SW_SHOW && cmdShow != SW_SHOWNORMAL && cmdShow != SW_HIDE) return E_INVALIDARG;
  ::ShowWindow(hwnd_, static_cast<int>(cmdShow));
  ::InvalidateRect(hwnd_, nullptr, TRUE);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE CBasePropertyPage::Move(LPCRECT rect) {
  if (!rect) return E_POINTER;
  if (!hwnd_) return E_UNEXPECTED;
  ::MoveWindow(hwnd_, rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, TRUE);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE CBasePropertyPage::IsPageDirty() { return dirty_ ? S_OK : S_FALSE; }

HRESULT STDMETHODCALLTYPE CBasePropertyPage::Apply() {
  if (!dirty_) return S_OK;  // nothing to apply
  if (!objectSet_ || !site_) return E_UNEXPECTED;
  HRESULT hr = OnApplyChanges();
  if (SUCCEEDED(hr)) dirty_ = false;
  return hr;
}

HRESULT STDMETHODCALLTYPE CBasePropertyPage::Help(LPCOLESTR) { return E_NOTIMPL; }

HRESULT STDMETHODCALLTYPE CBasePropertyPage::TranslateAccelerator(MSG* msg) {
  if (!msg) return E_POINTER;
  return hwnd_ && ::IsDialogMessageW(hwnd_, msg) ? S_OK : S_FALSE;
}

}  // namespace velk::dshow
