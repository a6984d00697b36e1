// The base filter: IBaseFilter with state, reference clock, graph membership
// and pin enumeration. Derived filters say how many pins they have and hand
// them out; the base changes every connected pin's state with its own.
//
// Locks: the filter lock (passed in, owned by the derived filter) guards
// state, clock and graph membership; the graph calls the state changes on
// its own thread, never on a streaming thread.
#pragma once

#include <windows.h>
#include <dshow.h>

#include <string>

#include "platform/dshow/ComBase.h"
#include "platform/framework/ComPtr.h"

namespace velk::dshow {

class CBasePin;

class CBaseFilter : public CUnknown, public IBaseFilter {
 public:
  CBaseFilter(IUnknown* outer, CCritSec* filterLock, REFCLSID clsid);

  VELK_DECLARE_IUNKNOWN
  HRESULT STDMETHODCALLTYPE NonDelegatingQueryInterface(REFIID iid, void** out) override;

  // The pins. GetPin may create them; it returns a borrowed pointer or null.
  virtual int GetPinCount() = 0;
  virtual CBasePin* GetPin(int n) = 0;

  // IPersist
  HRESULT STDMETHODCALLTYPE GetClassID(CLSID* clsid) override;
  // IMediaFilter
  HRESULT STDMETHODCALLTYPE Stop() override;
  HRESULT STDMETHODCALLTYPE Pause() override;
  HRESULT STDMETHODCALLTYPE Run(REFERENCE_TIME start) override;
  HRESULT STDMETHODCALLTYPE GetState(DWORD timeoutMs, FILTER_STATE* state) override;
  HRESULT STDMETHODCALLTYPE SetSyncSource(IReferenceClock* clock) override;
  HRESULT STDMETHODCALLTYPE GetSyncSource(IReferenceClock** clock) override;
  // IBaseFilter
  HRESULT STDMETHODCALLTYPE EnumPins(IEnumPins** pins) override;
  HRESULT STDMETHODCALLTYPE FindPin(LPCWSTR id, IPin** pin) override;
  HRESULT STDMETHODCALLTYPE QueryFilterInfo(FILTER_INFO* info) override;
  HRESULT STDMETHODCALLTYPE JoinFilterGraph(IFilterGraph* graph, LPCWSTR name) override;
  HRESULT STDMETHODCALLTYPE QueryVendorInfo(LPWSTR* info) override;

  // Raises an event to the graph's event sink; E_NOTIMPL outside a graph.
  HRESULT NotifyEvent(long code, LONG_PTR param1, LONG_PTR param2);

  bool IsStopped() const { return state_ == State_Stopped; }
  bool IsActive() const { return state_ != State_Stopped; }
  FILTER_STATE State() const { return state_; }
  IReferenceClock* Clock() const { return clock_.Get(); }  // borrowed, may be null
  REFERENCE_TIME StreamStart() const { return start_; }
  CCritSec* FilterLock() const { return filterLock_; }
  IFilterGraph* Graph() const { return graph_; }  // borrowed, may be null

 protected:
  FILTER_STATE state_ = State_Stopped;
  REFERENCE_TIME start_ = 0;

 private:
  CCritSec* filterLock_;
  CLSID clsid_;
  ComPtr<IReferenceClock> clock_;
  // The graph owns the filter: these two are not reference-counted.
  IFilterGraph* graph_ = nullptr;
  IMediaEventSink* sink_ = nullptr;
  std::wstring name_;
};

// Enumerates a filter's pins as they were when the enumerator was made.
class CEnumPins final : public IEnumPins {
 public:
  explicit CEnumPins(CBaseFilter* filter);
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE Next(ULONG count, IPin** pins, ULONG* fetched) override;
  HRESULT STDMETHODCALLTYPE Skip(ULONG count) override;
  HRESULT STDMETHODCALLTYPE Reset() override;
  HRESULT STDMETHODCALLTYPE Clone(IEnumPins** out) override;

 private:
  CEnumPins(CBaseFilter* filter, int position);
  ~CEnumPins();
  volatile LONG refs_ = 1;
  ComPtr<CBaseFilter> filter_;
  int position_ = 0;
};

}  // namespace velk::dshow
