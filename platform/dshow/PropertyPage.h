// A property page built on a dialog resource of the module: IPropertyPage
// with the dialog created as a child of the frame's page area. Derived pages
// handle their dialog's messages in OnReceiveMessage and say what applying
// means; the base page is never dirty.
//
// All methods run on the thread of the property frame.
#pragma once

#include <windows.h>
#include <ocidl.h>

#include "platform/dshow/ComBase.h"
#include "platform/framework/ComPtr.h"

namespace velk::dshow {

class CBasePropertyPage : public CUnknown, public IPropertyPage {
 public:
  CBasePropertyPage(IUnknown* outer, int dialogId, int titleId);
  ~CBasePropertyPage() override;

  VELK_DECLARE_IUNKNOWN
  HRESULT STDMETHODCALLTYPE NonDelegatingQueryInterface(REFIID iid, void** out) override;

  HRESULT STDMETHODCALLTYPE SetPageSite(IPropertyPageSite* site) override;
  HRESULT STDMETHODCALLTYPE Activate(HWND parent, LPCRECT rect, BOOL modal) override;
  HRESULT STDMETHODCALLTYPE Deactivate() override;
  HRESULT STDMETHODCALLTYPE GetPageInfo(PROPPAGEINFO* info) override;
  HRESULT STDMETHODCALLTYPE SetObjects(ULONG count, IUnknown** objects) override;
  HRESULT STDMETHODCALLTYPE Show(UINT cmdShow) override;
  HRESULT STDMETHODCALLTYPE Move(LPCRECT rect) override;
  HRESULT STDMETHODCALLTYPE IsPageDirty() override;
  HRESULT STDMETHODCALLTYPE Apply() override;
  HRESULT STDMETHODCALLTYPE Help(LPCOLESTR helpDir) override;
  HRESULT STDMETHODCALLTYPE TranslateAccelerator(MSG* msg) override;

  HWND Window() const { return hwnd_; }

 protected:
  // The dialog's messages; the result is the dialog procedure's.
  virtual INT_PTR OnReceiveMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  virtual HRESULT OnConnect(IUnknown*) { return S_OK; }
  virtual HRESULT OnDisconnect() { return S_OK; }
  virtual HRESULT OnActivate() { return S_OK; }
  virtual HRESULT OnDeactivate() { return S_OK; }
  virtual HRESULT OnApplyChanges() { return S_OK; }

  bool dirty_ = false;

 private:
  static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  HWND CreatePageDialog(HWND parent);

  int dialogId_;
  int titleId_;
  HWND hwnd_ = nullptr;
  ComPtr<IPropertyPageSite> site_;
  bool objectSet_ = false;
};

}  // namespace velk::dshow
