#include "platform/dshow/BaseFilter.h"

#include <cstring>
#include <new>

#include "platform/dshow/Pins.h"

namespace velk::dshow {

CBaseFilter::CBaseFilter(IUnknown* outer, CCritSec* filterLock, REFCLSID clsid)
    : CUnknown(outer), filterLock_(filterLock), clsid_(clsid) {}

HRESULT STDMETHODCALLTYPE CBaseFilter::NonDelegatingQueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  if (iid == IID_IBaseFilter || iid == IID_IMediaFilter || iid == IID_IPersist)
    return GetInterface(static_cast<IBaseFilter*>(this), out);
  return CUnknown::NonDelegatingQueryInterface(iid, out);
}

HRESULT STDMETHODCALLTYPE CBaseFilter::GetClassID(CLSID* clsid) {
  if (!clsid) return E_POINTER;
  *clsid = clsid_;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE CBaseFilter::Stop() {
  CAutoLock lock(filterLock_);
  HRESULT result = S_OK;
  if (state_ != State_Stopped) {
    for (int i = 0; i < GetPinCount(); ++i) {
      CBasePin* pin = GetPin(i);
      if (pin && pin->IsConnected()) {
        HRESULT hr = pin->Inactive();
        if (FAILED(hr) && SUCCEEDED(result)) result = hr;
      }
    }
  }
  state_ = State_Stopped;
  return result;
}

HRESULT STDMETHODCALLTYPE CBaseFilter::Pause() {
  CAutoLock lock(filterLock_);
  if (state_ == State_Stopped) {
    for (int i = 0; i < GetPinCount(); ++i) {
      CBasePin* pin = GetPin(i);
      if (pin && pin->IsConnected()) {
        HRESULT hr = pin->Active();
        if (FAILED(hr)) return hr;
      }
    }
  }
  state_ = State_Paused;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE CBaseFilter::Run(REFERENCE_TIME start) {
  CAutoLock lock(filterLock_);
  start_ = start;
  if (state_ == State_Stopped) {
    HRESULT hr = Pause();
    if (FAILED(hr)) return hr;
  }
  if (state_ != State_Running) {
    for (int i = 0; i < GetPinCount(); ++i) {
      CBasePin* pin = GetPin(i);
      if (pin && pin->IsConnected()) {
        HRESULT hr = pin->Run(start);
        if (FAILED(hr)) return hr;
      }
    }
  }
  state_ = State_Running;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE CBaseFilter::GetState(DWORD, FILTER_STATE* state) {
  if (!state) return E_POINTER;
  *state = state_;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE CBaseFilter::SetSyncSource(IReferenceClock* clock) {
  CAutoLock lock(filterLock_);
  clock_ = ComPtr<IReferenceClock>(clock);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE CBaseFilter::GetSyncSource(IReferenceClock** clock) {
  if (!clock) return E_POINTER;
  CAutoLock lock(filterLock_);
  clock_.CopyTo(clock);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE CBaseFilter::EnumPins(IEnumPins** pins) {
  if (!pins) return E_POINTER;
  *pins = new (std::nothrow) CEnumPins(this);
  return *pins ? S_OK : E_OUTOFMEMORY;
}

HRESULT STDMETHODCALLTYPE CBaseFilter::FindPin(LPCWSTR id, IPin** pin) {
  if (!id || !pin) return E_POINTER;
  *pin = nullptr;
  CAutoLock lock(filterLock_);
  for (int i = 0; i < GetPinCount(); ++i) {
    CBasePin* candidate = GetPin(i);
    if (!candidate) continue;
    LPWSTR candidateId = nullptr;
    if (FAILED(candidate->QueryId(&candidateId))) continue;
    bool match = std::wcscmp(candidateId, id) == 0;
    ::CoTaskMemFree(candidateId);
    if (match) return GetInterface(static_cast<IPin*>(candidate), reinterpret_cast<void**>(pin));
  }
  return VFW_E_NOT_FOUND;
}

HRESULT STDMETHODCALLTYPE CBaseFilter::QueryFilterInfo(FILTER_INFO* info) {
  if (!info) return E_POINTER;
  CAutoLock lock(filterLock_);
  size_t n = name_.size() < MAX_FILTER_NAME - 1 ? name_.size() : MAX_FILTER_NAME - 1;
  std::memcpy(info->achName, name_.c_str(), n * sizeof(wchar_t));
  info->achName[n] = L'\0';
  info->pGraph = graph_;
  if (graph_) graph_->AddRef();
  return S_OK;
}

HRESULT STDMETHODCALLTYPE CBaseFilter::JoinFilterGraph(IFilterGraph* graph, LPCWSTR name) {
  CAutoLock lock(filterLock_);
  graph_ = graph;
  sink_ = nullptr;
  if (graph) {
    // Borrowed like the graph itself: holding it would keep the graph alive.
    ComPtr<IMediaEventSink> sink;
    if (SUCCEEDED(graph->QueryInterface(IID_IMediaEventSink, sink.ReceiveVoid()))) sink_ = sink.Get();
  }
  name_ = name ? name : L"";
  return S_OK;
}

HRESULT STDMETHODCALLTYPE CBaseFilter::QueryVendorInfo(LPWSTR*) { return E_NOTIMPL; }

HRESULT CBaseFilter::NotifyEvent(long code, LONG_PTR param1, LONG_PTR param2) {
  IMediaEventSink* sink = sink_;
  if (!sink) return E_NOTIMPL;
  return sink->Notify(code, param1, param2);
}

// --- CEnumPins -------------------------------------------------------------------

CEnumPins::CEnumPins(CBaseFilter* filter) : CEnumPins(filter, 0) {}

CEnumPins::CEnumPins(CBaseFilter* filter, int position) : filter_(filter), position_(position) {
  CModule::ObjectCreated();
}

CEnumPins::~CEnumPins() { CModule::ObjectDestroyed(); }

HRESULT STDMETHODCALLTYPE CEnumPins::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  if (iid == IID_IUnknown || iid == IID_IEnumPins) return GetInterface(this, out);
  *out = nullptr;
  return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE CEnumPins::AddRef() { return ::InterlockedIncrement(&refs_); }

ULONG STDMETHODCALLTYPE CEnumPins::Release() {
  LONG refs = ::InterlockedDecrement(&refs_);
  if (refs == 0) delete this;
  return refs;
}

HRESULT STDMETHODCALLTYPE CEnumPins::Next(ULONG count, IPin** pins, ULONG* fetched) {
  if (!pins) return E_POINTER;
  if (count > 1 && !fetched) return E_INVALIDARG;
  ULONG n = 0;
  while (n < count && position_ < filter_->GetPinCount()) {
    CBasePin* pin = filter_->GetPin(position_++);
    if (!pin) break;
    pins[n] = pin;
    pin->AddRef();
    ++n;
  }
  if (fetched) *fetched = n;
  return n == count ? S_OK : S_FALSE;
}

HRESULT STDMETHODCALLTYPE CEnumPins::Skip(ULONG count) {
  int remaining = filter_->GetPinCount() - position_;
  if (static_cast<ULONG>(remaining > 0 ? remaining : 0) < count) {
    position_ = filter_->GetPinCount();
    return S_FALSE;
  }
  position_ += static_cast<int>(count);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE CEnumPins::Reset() {
  position_ = 0;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE CEnumPins::Clone(IEnumPins** out) {
  if (!out) return E_POINTER;
  *out = new (std::nothrow) CEnumPins(filter_.Get(), position_);
  return *out ? S_OK : E_OUTOFMEMORY;
}

}  // namespace velk::dshow
