#include "platform/dshow/Pins.h"

#include <cstring>
#include <new>

namespace velk::dshow {

namespace {

wchar_t* TaskMemString(const std::wstring& s) {
  size_t bytes = (s.size() + 1) * sizeof(wchar_t);
  auto* out = static_cast<wchar_t*>(::CoTaskMemAlloc(bytes));
  if (out) std::memcpy(out, s.c_str(), bytes);
  return out;
}

}  // namespace

// --- CBasePin --------------------------------------------------------------------

CBasePin::CBasePin(CBaseFilter* filter, CCritSec* lock, const wchar_t* name, PIN_DIRECTION direction)
    : CUnknown(nullptr), filter_(filter), lock_(lock), name_(name ? name : L""), id_(name_),
      direction_(direction) {}

HRESULT STDMETHODCALLTYPE CBasePin::QueryInterface(REFIID iid, void** out) {
  return NonDelegatingQueryInterface(iid, out);
}
ULONG STDMETHODCALLTYPE CBasePin::AddRef() { return NonDelegatingAddRef(); }
ULONG STDMETHODCALLTYPE CBasePin::Release() { return NonDelegatingRelease(); }

HRESULT STDMETHODCALLTYPE CBasePin::NonDelegatingQueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  if (iid == IID_IUnknown || iid == IID_IPin) return GetInterface(static_cast<IPin*>(this), out);
  if (iid == IID_IQualityControl) return GetInterface(static_cast<IQualityControl*>(this), out);
  *out = nullptr;
  return E_NOINTERFACE;
}

// The pin lives and dies with its filter.
ULONG STDMETHODCALLTYPE CBasePin::NonDelegatingAddRef() { return filter_->AddRef(); }
ULONG STDMETHODCALLTYPE CBasePin::NonDelegatingRelease() { return filter_->Release(); }

HRESULT CBasePin::AttemptConnection(IPin* receivePin, const CMediaType& type) {
  HRESULT hr = CheckConnect(receivePin);
  if (FAILED(hr)) {
    BreakConnect();
    return hr;
  }
  hr = CheckMediaType(type);
  if (hr != S_OK) {
    BreakConnect();
    return FAILED(hr) ? hr : VFW_E_TYPE_NOT_ACCEPTED;
  }
  connected_ = ComPtr<IPin>(receivePin);
  hr = SetMediaType(type);
  if (SUCCEEDED(hr)) hr = receivePin->ReceiveConnection(this, &type);
  if (SUCCEEDED(hr)) {
    hr = CompleteConnect(receivePin);
    if (SUCCEEDED(hr)) return S_OK;
    receivePin->Disconnect();
  }
  BreakConnect();
  connected_.Reset();
  mt_.Clear();
  return FAILED(hr) ? hr : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT CBasePin::TryMediaTypes(IPin* receivePin, const CMediaType& filter, IEnumMediaTypes* types) {
  if (!types) return VFW_E_NO_ACCEPTABLE_TYPES;
  types->Reset();
  HRESULT first = VFW_E_NO_ACCEPTABLE_TYPES;
  AM_MEDIA_TYPE* type = nullptr;
  ULONG fetched = 0;
  while (types->Next(1, &type, &fetched) == S_OK && fetched == 1) {
    CMediaType candidate(*type);
    DeleteMediaType(type);
    type = nullptr;
    if (!filter.MatchesPartial(candidate)) continue;
    HRESULT hr = AttemptConnection(receivePin, candidate);
    if (SUCCEEDED(hr)) return hr;
    if (first == VFW_E_NO_ACCEPTABLE_TYPES && hr != E_FAIL && hr != E_INVALIDARG &&
        hr != VFW_E_TYPE_NOT_ACCEPTED)
      first = hr;
  }
  return first;
}

HRESULT STDMETHODCALLTYPE CBasePin::Connect(IPin* receivePin, const AM_MEDIA_TYPE* type) {
  if (!receivePin) return E_POINTER;
  CAutoLock lock(lock_);
  if (connected_) return VFW_E_ALREADY_CONNECTED;
  if (!filter_->IsStopped()) return VFW_E_NOT_STOPPED;

  CMediaType wanted;
  if (type) wanted = *type;
  if (type && wanted.IsComplete()) return AttemptConnection(receivePin, wanted);

  // The receiving pin's preferences first, then our own.
  HRESULT hr = VFW_E_NO_ACCEPTABLE_TYPES;
  if (ComPtr<IEnumMediaTypes> theirs; SUCCEEDED(receivePin->EnumMediaTypes(theirs.Receive())) && theirs) {
    hr = TryMediaTypes(receivePin, wanted, theirs.Get());
    if (SUCCEEDED(hr)) return hr;
  }
  if (ComPtr<IEnumMediaTypes> ours; SUCCEEDED(EnumMediaTypes(ours.Receive())) && ours) {
    HRESULT ourHr = TryMediaTypes(receivePin, wanted, ours.Get());
    if (SUCCEEDED(ourHr)) return ourHr;
    if (hr == VFW_E_NO_ACCEPTABLE_TYPES) hr = ourHr;
  }
  return hr;
}

HRESULT STDMETHODCALLTYPE CBasePin::ReceiveConnection(IPin* connector, const AM_MEDIA_TYPE* type) {
  if (!connector || !type) return E_POINTER;
  CAutoLock lock(lock_);
  if (connected_) return VFW_E_ALREADY_CONNECTED;
  if (!filter_->IsStopped()) return VFW_E_NOT_STOPPED;
  HRESULT hr = CheckConnect(connector);
  if (FAILED(hr)) {
    BreakConnect();
    return hr;
  }
  CMediaType offered(*type);
  hr = CheckMediaType(offered);
  if (hr != S_OK) {
    BreakConnect();
    return VFW_E_TYPE_NOT_ACCEPTED;
  }
  connected_ = ComPtr<IPin>(connector);
  hr = SetMediaType(offered);
  if (SUCCEEDED(hr)) hr = CompleteConnect(connector);
  if (FAILED(hr)) {
    BreakConnect();
    connected_.Reset();
    mt_.Clear();
    return hr;
  }
  return S_OK;
}

HRESULT STDMETHODCALLTYPE CBasePin::Disconnect() {
  CAutoLock lock(lock_);
  if (!filter_->IsStopped()) return VFW_E_NOT_STOPPED;
  if (!connected_) return S_FALSE;
  HRESULT hr = BreakConnect();
  if (FAILED(hr)) return hr;
  connected_.Reset();
  mt_.Clear();
  return S_OK;
}

HRESULT STDMETHODCALLTYPE CBasePin::ConnectedTo(IPin** pin) {
  if (!pin) return E_POINTER;
  CAutoLock lock(lock_);
  connected_.CopyTo(pin);
  return connected_ ? S_OK : VFW_E_NOT_CONNECTED;
}

HRESULT STDMETHODCALLTYPE CBasePin::ConnectionMediaType(AM_MEDIA_TYPE* type) {
  if (!type) return E_POINTER;
  CAutoLock lock(lock_);
  if (!connected_) {
    std::memset(type, 0, sizeof(*type));
    return VFW_E_NOT_CONNECTED;
  }
  return CopyMediaType(type, &mt_);
}

HRESULT STDMETHODCALLTYPE CBasePin::QueryPinInfo(PIN_INFO* info) {
  if (!info) return E_POINTER;
  info->pFilter = filter_;
  filter_->AddRef();
  size_t n = name_.size() < MAX_PIN_NAME - 1 ? name_.size() : MAX_PIN_NAME - 1;
  std::memcpy(info->achName, name_.c_str(), n * sizeof(wchar_t));
  info->achName[n] = L'\0';
  info->dir = direction_;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE CBasePin::QueryDirection(PIN_DIRECTION* direction) {
  if (!direction) return E_POINTER;
  *direction = direction_;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE CBasePin::QueryId(LPWSTR* id) {
  if (!id) return E_POINTER;
  *id = TaskMemString(id_);
  return *id ? S_OK : E_OUTOFMEMORY;
}

HRESULT STDMETHODCALLTYPE CBasePin::QueryAccept(const AM_MEDIA_TYPE* type) {
  if (!type) return E_POINTER;
  HRESULT hr = CheckMediaType(CMediaType(*type));
  return hr == S_OK ? S_OK : S_FALSE;
}

HRESULT STDMETHODCALLTYPE CBasePin::EnumMediaTypes(IEnumMediaTypes** types) {
  if (!types) return E_POINTER;
  *types = new (std::nothrow) CEnumMediaTypes(this);
  return *types ? S_OK : E_OUTOFMEMORY;
}

HRESULT STDMETHODCALLTYPE CBasePin::QueryInternalConnections(IPin**, ULONG*) { return E_NOTIMPL; }

HRESULT STDMETHODCALLTYPE CBasePin::EndOfStream() { return S_OK; }

HRESULT STDMETHODCALLTYPE CBasePin::NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) {
  segmentStart_ = start;
  segmentStop_ = stop;
  segmentRate_ = rate;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE CBasePin::Notify(IBaseFilter*, Quality) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE CBasePin::SetSink(IQualityControl*) { return S_OK; }

HRESULT CBasePin::GetMediaType(int, CMediaType*) { return VFW_S_NO_MORE_ITEMS; }

HRESULT CBasePin::SetMediaType(const CMediaType& type) {
  mt_ = type;
  return S_OK;
}

HRESULT CBasePin::CheckConnect(IPin* pin) {
  PIN_DIRECTION theirs;
  HRESULT hr = pin->QueryDirection(&theirs);
  if (FAILED(hr)) return hr;
  return theirs == direction_ ? VFW_E_INVALID_DIRECTION : S_OK;
}

HRESULT CBasePin::CompleteConnect(IPin*) { return S_OK; }
HRESULT CBasePin::BreakConnect() { return S_OK; }

// --- CBaseInputPin ---------------------------------------------------------------

CBaseInputPin::CBaseInputPin(CBaseFilter* filter, CCritSec* lock, const wchar_t* name)
    : CBasePin(filter, lock, name, PINDIR_INPUT) {}

HRESULT STDMETHODCALLTYPE CBaseInputPin::NonDelegatingQueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  if (iid == IID_IMemInputPin) return GetInterface(static_cast<IMemInputPin*>(this), out);
  return CBasePin::NonDelegatingQueryInterface(iid, out);
}

HRESULT STDMETHODCALLTYPE CBaseInputPin::GetAllocator(IMemAllocator** allocator) {
  if (!allocator) return E_POINTER;
  CAutoLock lock(lock_);
  if (!allocator_) {
    HRESULT hr = ::CoCreateInstance(CLSID_MemoryAllocator, nullptr, CLSCTX_INPROC_SERVER,
                                    IID_IMemAllocator, allocator_.ReceiveVoid());
    if (FAILED(hr)) {
      *allocator = nullptr;
      return hr;
    }
  }
  allocator_.CopyTo(allocator);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE CBaseInputPin::NotifyAllocator(IMemAllocator* allocator, BOOL readOnly) {
  if (!allocator) return E_POINTER;
  CAutoLock lock(lock_);
  allocator_ = ComPtr<IMemAllocator>(allocator);
  readOnly_ = readOnly != FALSE;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE CBaseInputPin::GetAllocatorRequirements(ALLOCATOR_PROPERTIES*) {
  return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE CBaseInputPin::Receive(IMediaSample* sample) {
  if (!sample) return E_POINTER;
  if (filter_->IsStopped()) return VFW_E_WRONG_STATE;
  if (flushing_) return S_FALSE;
  lastStreamId_ = AM_STREAM_MEDIA;
  if (ComPtr<IMediaSample2> sample2;
      SUCCEEDED(sample->QueryInterface(IID_IMediaSample2, sample2.ReceiveVoid()))) {
    AM_SAMPLE2_PROPERTIES props = {};
    if (SUCCEEDED(sample2->GetProperties(sizeof(props), reinterpret_cast<BYTE*>(&props))))
      lastStreamId_ = props.dwStreamId;
  }
  if (lastStreamId_ != AM_STREAM_MEDIA) return S_OK;
  AM_MEDIA_TYPE* changed = nullptr;
  if (sample->GetMediaType(&changed) == S_OK && changed) {
    CMediaType type(*changed);
    DeleteMediaType(changed);
    if (CheckMediaType(type) != S_OK) return VFW_E_INVALIDMEDIATYPE;
    SetMediaType(type);
  }
  return S_OK;
}

HRESULT STDMETHODCALLTYPE CBaseInputPin::ReceiveMultiple(IMediaSample** samples, long count, long* processed) {
  if (!samples || !processed) return E_POINTER;
  *processed = 0;
  HRESULT hr = S_OK;
  while (*processed < count) {
    hr = Receive(samples[*processed]);
    if (hr != S_OK) break;
    ++*processed;
  }
  return hr;
}

HRESULT STDMETHODCALLTYPE CBaseInputPin::ReceiveCanBlock() { return S_OK; }

HRESULT STDMETHODCALLTYPE CBaseInputPin::BeginFlush() {
  flushing_ = true;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE CBaseInputPin::EndFlush() {
  flushing_ = false;
  return S_OK;
}

HRESULT CBaseInputPin::BreakConnect() {
  if (allocator_) {
    allocator_->Decommit();
    allocator_.Reset();
  }
  return S_OK;
}

HRESULT CBaseInputPin::Inactive() {
  flushing_ = false;
  // Unblocks an upstream thread waiting for one of our buffers.
  if (allocator_) allocator_->Decommit();
  return S_OK;
}

// --- CBaseOutputPin --------------------------------------------------------------

CBaseOutputPin::CBaseOutputPin(CBaseFilter* filter, CCritSec* lock, const wchar_t* name)
    : CBasePin(filter, lock, name, PINDIR_OUTPUT) {}

HRESULT CBaseOutputPin::CheckConnect(IPin* pin) {
  HRESULT hr = CBasePin::CheckConnect(pin);
  if (FAILED(hr)) return hr;
  hr = pin->QueryInterface(IID_IMemInputPin, peerInput_.ReceiveVoid());
  return FAILED(hr) ? VFW_E_NO_TRANSPORT : S_OK;
}

HRESULT CBaseOutputPin::CompleteConnect(IPin*) {
  ComPtr<IMemAllocator> allocator;
  HRESULT hr = DecideAllocator(peerInput_.Get(), allocator.Receive());
  if (FAILED(hr)) return hr;
  allocator_ = std::move(allocator);
  return S_OK;
}

HRESULT CBaseOutputPin::BreakConnect() {
  if (allocator_) {
    allocator_->Decommit();
    allocator_.Reset();
  }
  peerInput_.Reset();
  return S_OK;
}

HRESULT CBaseOutputPin::Active() { return allocator_ ? allocator_->Commit() : VFW_E_NO_ALLOCATOR; }

HRESULT CBaseOutputPin::Inactive() { return allocator_ ? allocator_->Decommit() : S_OK; }

HRESULT CBaseOutputPin::DecideAllocator(IMemInputPin* peer, IMemAllocator** allocator) {
  *allocator = nullptr;
  ALLOCATOR_PROPERTIES request = {};
  peer->GetAllocatorRequirements(&request);
  if (request.cbAlign == 0) request.cbAlign = 1;

  // The downstream pin's own allocator first, then a memory allocator of ours.
  ComPtr<IMemAllocator> candidate;
  HRESULT hr = peer->GetAllocator(candidate.Receive());
  if (SUCCEEDED(hr) && candidate) {
    hr = DecideBufferSize(candidate.Get(), &request);
    if (SUCCEEDED(hr)) hr = peer->NotifyAllocator(candidate.Get(), FALSE);
    if (SUCCEEDED(hr)) {
      *allocator = candidate.Detach();
      return S_OK;
    }
  }
  hr = ::CoCreateInstance(CLSID_MemoryAllocator, nullptr, CLSCTX_INPROC_SERVER, IID_IMemAllocator,
                          candidate.ReceiveVoid());
  if (FAILED(hr)) return hr;
  hr = DecideBufferSize(candidate.Get(), &request);
  if (SUCCEEDED(hr)) hr = peer->NotifyAllocator(candidate.Get(), FALSE);
  if (FAILED(hr)) return hr;
  *allocator = candidate.Detach();
  return S_OK;
}

HRESULT CBaseOutputPin::GetDeliveryBuffer(IMediaSample** sample, REFERENCE_TIME* start,
                                          REFERENCE_TIME* stop, DWORD flags) {
  if (!allocator_) return VFW_E_NO_ALLOCATOR;
  return allocator_->GetBuffer(sample, start, stop, flags);
}

HRESULT CBaseOutputPin::Deliver(IMediaSample* sample) {
  IMemInputPin* peer = peerInput_.Get();
  if (!peer) return VFW_E_NOT_CONNECTED;
  return peer->Receive(sample);
}

HRESULT CBaseOutputPin::DeliverEndOfStream() {
  return connected_ ? connected_->EndOfStream() : VFW_E_NOT_CONNECTED;
}

HRESULT CBaseOutputPin::DeliverBeginFlush() {
  return connected_ ? connected_->BeginFlush() : VFW_E_NOT_CONNECTED;
}

HRESULT CBaseOutputPin::DeliverEndFlush() {
  return connected_ ? connected_->EndFlush() : VFW_E_NOT_CONNECTED;
}

HRESULT CBaseOutputPin::DeliverNewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) {
  return connected_ ? connected_->NewSegment(start, stop, rate) : VFW_E_NOT_CONNECTED;
}

// --- CEnumMediaTypes -------------------------------------------------------------

CEnumMediaTypes::CEnumMediaTypes(CBasePin* pin) : CEnumMediaTypes(pin, 0) {}

CEnumMediaTypes::CEnumMediaTypes(CBasePin* pin, int position) : pin_(pin), position_(position) {
  CModule::ObjectCreated();
}

CEnumMediaTypes::~CEnumMediaTypes() { CModule::ObjectDestroyed(); }

HRESULT STDMETHODCALLTYPE CEnumMediaTypes::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  if (iid == IID_IUnknown || iid == IID_IEnumMediaTypes) return GetInterface(this, out);
  *out = nullptr;
  return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE CEnumMediaTypes::AddRef() { return ::InterlockedIncrement(&refs_); }

ULONG STDMETHODCALLTYPE CEnumMediaTypes::Release() {
  LONG refs = ::InterlockedDecrement(&refs_);
  if (refs == 0) delete this;
  return refs;
}

HRESULT STDMETHODCALLTYPE CEnumMediaTypes::Next(ULONG count, AM_MEDIA_TYPE** types, ULONG* fetched) {
  if (!types) return E_POINTER;
  if (count > 1 && !fetched) return E_INVALIDARG;
  ULONG n = 0;
  while (n < count) {
    CMediaType type;
    if (pin_->GetMediaType(position_, &type) != S_OK) break;
    ++position_;
    types[n] = CreateMediaType(&type);
    if (!types[n]) break;
    ++n;
  }
  if (fetched) *fetched = n;
  return n == count ? S_OK : S_FALSE;
}

HRESULT STDMETHODCALLTYPE CEnumMediaTypes::Skip(ULONG count) {
  position_ += static_cast<int>(count);
  CMediaType type;
  return pin_->GetMediaType(position_ - 1, &type) == S_OK ? S_OK : S_FALSE;
}

HRESULT STDMETHODCALLTYPE CEnumMediaTypes::Reset() {
  position_ = 0;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE CEnumMediaTypes::Clone(IEnumMediaTypes** out) {
  if (!out) return E_POINTER;
  *out = new (std::nothrow) CEnumMediaTypes(pin_.Get(), position_);
  return *out ? S_OK : E_OUTOFMEMORY;
}

}  // namespace velk::dshow
