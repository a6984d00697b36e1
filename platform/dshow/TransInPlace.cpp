#include "platform/dshow/TransInPlace.h"

#include <cstring>
#include <new>

namespace velk::dshow {

bool SameFrameFormat(const AM_MEDIA_TYPE& a, const AM_MEDIA_TYPE& b) {
  if (a.majortype != b.majortype || a.subtype != b.subtype || a.formattype != b.formattype)
    return false;
  if (a.formattype == FORMAT_VideoInfo && a.cbFormat >= sizeof(VIDEOINFOHEADER) &&
      b.cbFormat >= sizeof(VIDEOINFOHEADER) && a.pbFormat && b.pbFormat) {
    const auto& ha = reinterpret_cast<const VIDEOINFOHEADER*>(a.pbFormat)->bmiHeader;
    const auto& hb = reinterpret_cast<const VIDEOINFOHEADER*>(b.pbFormat)->bmiHeader;
    return ha.biWidth == hb.biWidth && ha.biHeight == hb.biHeight &&
           ha.biBitCount == hb.biBitCount && ha.biCompression == hb.biCompression;
  }
  return a.cbFormat == b.cbFormat &&
         (a.cbFormat == 0 || std::memcmp(a.pbFormat, b.pbFormat, a.cbFormat) == 0);
}

// --- Input pin -------------------------------------------------------------------

CTransInPlaceInputPin::CTransInPlaceInputPin(CTransInPlaceFilter* filter, const wchar_t* name)
    : CBaseInputPin(filter, filter->FilterLock(), name), transform_(filter) {
  id_ = L"In";
}

HRESULT CTransInPlaceInputPin::CheckMediaType(const CMediaType& type) {
  HRESULT hr = transform_->CheckInputType(type);
  if (hr != S_OK) return hr;
  CTransInPlaceOutputPin* output = transform_->OutputPin();
  if (output && output->IsConnected()) return output->GetConnected()->QueryAccept(&type);
  return S_OK;
}

HRESULT CTransInPlaceInputPin::SetMediaType(const CMediaType& type) {
  HRESULT hr = CBaseInputPin::SetMediaType(type);
  if (FAILED(hr)) return hr;
  return transform_->SetMediaType(PINDIR_INPUT, type);
}

HRESULT CTransInPlaceInputPin::CompleteConnect(IPin* receivePin) {
  return CBaseInputPin::CompleteConnect(receivePin);
}

HRESULT CTransInPlaceInputPin::BreakConnect() { return CBaseInputPin::BreakConnect(); }

HRESULT STDMETHODCALLTYPE CTransInPlaceInputPin::EnumMediaTypes(IEnumMediaTypes** types) {
  if (!types) return E_POINTER;
  // What the downstream pin prefers is what we can pass on.
  CTransInPlaceOutputPin* output = transform_->OutputPin();
  if (output && output->IsConnected()) return output->GetConnected()->EnumMediaTypes(types);
  return CBaseInputPin::EnumMediaTypes(types);
}

HRESULT STDMETHODCALLTYPE CTransInPlaceInputPin::GetAllocator(IMemAllocator** allocator) {
  if (!allocator) return E_POINTER;
  CAutoLock lock(lock_);
  if (allocator_) {
    allocator_.CopyTo(allocator);
    return S_OK;
  }
  // Offer the downstream allocator, so the sample can travel on unchanged.
  CTransInPlaceOutputPin* output = transform_->OutputPin();
  if (output && output->PeerInput()) {
    HRESULT hr = output->PeerInput()->GetAllocator(allocator);
    if (SUCCEEDED(hr)) return hr;
  }
  return CBaseInputPin::GetAllocator(allocator);
}

HRESULT STDMETHODCALLTYPE CTransInPlaceInputPin::NotifyAllocator(IMemAllocator* allocator, BOOL readOnly) {
  if (!allocator) return E_POINTER;
  CAutoLock lock(lock_);
  HRESULT hr = CBaseInputPin::NotifyAllocator(allocator, readOnly);
  if (FAILED(hr)) return hr;
  // Share it downstream when the output is connected and the buffers may be
  // written; otherwise the output keeps its own allocator and samples are copied.
  CTransInPlaceOutputPin* output = transform_->OutputPin();
  if (!readOnly && output && output->PeerInput() && output->Allocator() != allocator) {
    if (SUCCEEDED(output->PeerInput()->NotifyAllocator(allocator, FALSE)))
      output->UseAllocator(allocator);
  }
  return S_OK;
}

HRESULT STDMETHODCALLTYPE CTransInPlaceInputPin::GetAllocatorRequirements(ALLOCATOR_PROPERTIES* props) {
  if (!props) return E_POINTER;
  CTransInPlaceOutputPin* output = transform_->OutputPin();
  if (output && output->PeerInput()) return output->PeerInput()->GetAllocatorRequirements(props);
  return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE CTransInPlaceInputPin::Receive(IMediaSample* sample) {
  CAutoLock lock(transform_->ReceiveLock());
  HRESULT hr = CBaseInputPin::Receive(sample);
  if (hr != S_OK) return hr;
  return transform_->Receive(sample);
}

HRESULT STDMETHODCALLTYPE CTransInPlaceInputPin::EndOfStream() {
  CAutoLock lock(transform_->ReceiveLock());
  if (flushing_) return S_FALSE;
  if (transform_->IsStopped()) return VFW_E_WRONG_STATE;
  CTransInPlaceOutputPin* output = transform_->OutputPin();
  return output ? output->DeliverEndOfStream() : S_OK;
}

HRESULT STDMETHODCALLTYPE CTransInPlaceInputPin::BeginFlush() {
  CAutoLock lock(lock_);
  CBaseInputPin::BeginFlush();
  CTransInPlaceOutputPin* output = transform_->OutputPin();
  return output && output->IsConnected() ? output->DeliverBeginFlush() : S_OK;
}

HRESULT STDMETHODCALLTYPE CTransInPlaceInputPin::EndFlush() {
  CAutoLock lock(lock_);
  CTransInPlaceOutputPin* output = transform_->OutputPin();
  HRESULT hr = output && output->IsConnected() ? output->DeliverEndFlush() : S_OK;
  CBaseInputPin::EndFlush();
  return hr;
}

HRESULT STDMETHODCALLTYPE CTransInPlaceInputPin::NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop,
                                                            double rate) {
  CBaseInputPin::NewSegment(start, stop, rate);
  CTransInPlaceOutputPin* output = transform_->OutputPin();
  return output && output->IsConnected() ? output->DeliverNewSegment(start, stop, rate) : S_OK;
}

// --- Output pin ------------------------------------------------------------------

CTransInPlaceOutputPin::CTransInPlaceOutputPin(CTransInPlaceFilter* filter, const wchar_t* name)
    : CBaseOutputPin(filter, filter->FilterLock(), name), transform_(filter) {
  id_ = L"Out";
}

void CTransInPlaceOutputPin::EnsureSeeking() {
  CAutoLock lock(&seekingLock_);
  if (seeking_ || !transform_->InputPin()) return;
  // Aggregated with this pin as its outer object: its interfaces share the
  // pin's identity and reference count.
  ComPtr<IUnknown> inner;
  HRESULT hr = ::CoCreateInstance(CLSID_SeekingPassThru, static_cast<IPin*>(this),
                                  CLSCTX_INPROC_SERVER, IID_IUnknown, inner.ReceiveVoid());
  if (FAILED(hr) || !inner) return;
  {
    // Its references go to the outer object: letting go balances the query.
    ComPtr<ISeekingPassThru> init;
    hr = inner->QueryInterface(IID_ISeekingPassThru, init.ReceiveVoid());
    if (FAILED(hr) || !init) return;
    hr = init->Init(FALSE, static_cast<IPin*>(transform_->InputPin()));
  }
  if (FAILED(hr)) return;
  seeking_ = std::move(inner);
}

HRESULT STDMETHODCALLTYPE CTransInPlaceOutputPin::NonDelegatingQueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  if (iid == IID_IMediaSeeking || iid == IID_IMediaPosition) {
    EnsureSeeking();
    if (seeking_) return seeking_->QueryInterface(iid, out);
    *out = nullptr;
    return E_NOINTERFACE;
  }
  return CBaseOutputPin::NonDelegatingQueryInterface(iid, out);
}

HRESULT STDMETHODCALLTYPE CTransInPlaceOutputPin::Notify(IBaseFilter* sender, Quality q) {
  // Quality messages from downstream go to the pin that feeds us.
  CTransInPlaceInputPin* input = transform_->InputPin();
  IPin* upstream = input ? input->GetConnected() : nullptr;
  if (!upstream) return VFW_E_NOT_FOUND;
  ComPtr<IQualityControl> control;
  if (FAILED(upstream->QueryInterface(IID_IQualityControl, control.ReceiveVoid()))) return VFW_E_NOT_FOUND;
  (void)sender;
  return control->Notify(transform_, q);
}

HRESULT CTransInPlaceOutputPin::CheckMediaType(const CMediaType& type) {
  HRESULT hr = transform_->CheckInputType(type);
  if (hr != S_OK) return hr;
  CTransInPlaceInputPin* input = transform_->InputPin();
  if (input && input->IsConnected()) {
    // In place: the frames leave as they came in.
    if (!SameFrameFormat(input->CurrentMediaType(), type)) return VFW_E_TYPE_NOT_ACCEPTED;
    return transform_->CheckTransform(input->CurrentMediaType(), type);
  }
  return S_OK;
}

HRESULT CTransInPlaceOutputPin::GetMediaType(int position, CMediaType* type) {
  CTransInPlaceInputPin* input = transform_->InputPin();
  if (!input || !input->IsConnected()) return VFW_E_NOT_CONNECTED;
  if (position < 0) return E_INVALIDARG;
  if (position == 0) {
    *type = input->CurrentMediaType();
    return S_OK;
  }
  HRESULT hr = transform_->GetMediaType(position - 1, type);
  return hr == S_OK ? S_OK : VFW_S_NO_MORE_ITEMS;
}

HRESULT CTransInPlaceOutputPin::SetMediaType(const CMediaType& type) {
  HRESULT hr = CBaseOutputPin::SetMediaType(type);
  if (FAILED(hr)) return hr;
  return transform_->SetMediaType(PINDIR_OUTPUT, type);
}

void CTransInPlaceOutputPin::UseAllocator(IMemAllocator* allocator) {
  allocator_ = ComPtr<IMemAllocator>(allocator);
}

HRESULT CTransInPlaceOutputPin::DecideAllocator(IMemInputPin* peer, IMemAllocator** allocator) {
  *allocator = nullptr;
  // The input's allocator, when the downstream pin takes it, avoids a copy.
  CTransInPlaceInputPin* input = transform_->InputPin();
  IMemAllocator* shared = input ? input->Allocator() : nullptr;
  if (shared && !input->IsReadOnly() && SUCCEEDED(peer->NotifyAllocator(shared, FALSE))) {
    shared->AddRef();
    *allocator = shared;
    return S_OK;
  }
  return CBaseOutputPin::DecideAllocator(peer, allocator);
}

HRESULT CTransInPlaceOutputPin::DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) {
  ALLOCATOR_PROPERTIES want = *request;
  CTransInPlaceInputPin* input = transform_->InputPin();
  if (input && input->Allocator()) {
    ALLOCATOR_PROPERTIES in = {};
    if (SUCCEEDED(input->Allocator()->GetProperties(&in))) {
      if (in.cBuffers > want.cBuffers) want.cBuffers = in.cBuffers;
      if (in.cbBuffer > want.cbBuffer) want.cbBuffer = in.cbBuffer;
      if (in.cbAlign > want.cbAlign) want.cbAlign = in.cbAlign;
      if (in.cbPrefix > want.cbPrefix) want.cbPrefix = in.cbPrefix;
    }
  }
  const CMediaType& mt = input && input->IsConnected() ? input->CurrentMediaType() : mt_;
  if (static_cast<long>(mt.lSampleSize) > want.cbBuffer) want.cbBuffer = static_cast<long>(mt.lSampleSize);
  if (mt.formattype == FORMAT_VideoInfo && mt.cbFormat >= sizeof(VIDEOINFOHEADER)) {
    long image = static_cast<long>(reinterpret_cast<const VIDEOINFOHEADER*>(mt.pbFormat)->bmiHeader.biSizeImage);
    if (image > want.cbBuffer) want.cbBuffer = image;
  }
  if (want.cBuffers < 1) want.cBuffers = 1;
  if (want.cbBuffer < 1) want.cbBuffer = 1;
  if (want.cbAlign < 1) want.cbAlign = 1;
  ALLOCATOR_PROPERTIES actual = {};
  HRESULT hr = allocator->SetProperties(&want, &actual);
  if (FAILED(hr)) return hr;
  return actual.cbBuffer < want.cbBuffer ? E_FAIL : S_OK;
}

// --- Filter ----------------------------------------------------------------------

CTransInPlaceFilter::CTransInPlaceFilter(IUnknown* outer, REFCLSID clsid)
    : CBaseFilter(outer, &filterLock_, clsid) {}

CTransInPlaceFilter::~CTransInPlaceFilter() {
  delete output_;
  delete input_;
}

bool CTransInPlaceFilter::CreatePins() {
  if (!input_) input_ = new (std::nothrow) CTransInPlaceInputPin(this, L"Input");
  if (!input_) return false;
  if (!output_) output_ = new (std::nothrow) CTransInPlaceOutputPin(this, L"Output");
  if (!output_) {
    delete input_;
    input_ = nullptr;
    return false;
  }
  return true;
}

CBasePin* CTransInPlaceFilter::GetPin(int n) {
  CreatePins();
  if (n == 0) return input_;
  if (n == 1) return output_;
  return nullptr;
}

HRESULT CTransInPlaceFilter::CheckTransform(const CMediaType&, const CMediaType&) { return S_OK; }

HRESULT CTransInPlaceFilter::GetMediaType(int, CMediaType*) { return VFW_S_NO_MORE_ITEMS; }

HRESULT CTransInPlaceFilter::SetMediaType(PIN_DIRECTION, const CMediaType&) { return S_OK; }

bool CTransInPlaceFilter::UsingDifferentAllocators() const {
  return input_ && output_ && input_->Allocator() != output_->Allocator();
}

HRESULT STDMETHODCALLTYPE CTransInPlaceFilter::Pause() {
  CAutoLock lock(&filterLock_);
  if (state_ == State_Stopped && input_ && input_->IsConnected() && !streaming_) {
    HRESULT hr = StartStreaming();
    if (FAILED(hr)) return hr;
    streaming_ = true;
  }
  if (output_ && output_->IsConnected() && !(input_ && input_->IsConnected()) &&
      state_ == State_Stopped) {
    // Nothing will ever arrive: let downstream know at once.
    output_->DeliverEndOfStream();
  }
  return CBaseFilter::Pause();
}

HRESULT STDMETHODCALLTYPE CTransInPlaceFilter::Stop() {
  CAutoLock lock(&filterLock_);
  if (state_ == State_Stopped) return S_OK;
  // Decommit the input first: an upstream thread blocked on a buffer returns,
  // so the receive lock below can be taken.
  if (input_ && input_->IsConnected()) input_->Inactive();
  CAutoLock receive(&receiveLock_);
  if (output_ && output_->IsConnected()) output_->Inactive();
  HRESULT hr = S_OK;
  if (streaming_) {
    hr = StopStreaming();
    streaming_ = false;
  }
  state_ = State_Stopped;
  return hr;
}

ComPtr<IMediaSample> CTransInPlaceFilter::Copy(IMediaSample* source) {
  REFERENCE_TIME start = 0, stop = 0;
  bool timed = source->GetTime(&start, &stop) != VFW_E_SAMPLE_TIME_NOT_SET;
  ComPtr<IMediaSample> dest;
  const HRESULT hr =
      output_->GetDeliveryBuffer(dest.Receive(), timed ? &start : nullptr, timed ? &stop : nullptr, 0);
  if (FAILED(hr) || !dest) return nullptr;
  BYTE* from = nullptr;
  BYTE* to = nullptr;
  long length = source->GetActualDataLength();
  if (FAILED(source->GetPointer(&from)) || FAILED(dest->GetPointer(&to)) || length > dest->GetSize() ||
      length < 0) {
    return nullptr;
  }
  std::memcpy(to, from, static_cast<size_t>(length));
  dest->SetActualDataLength(length);
  if (timed) dest->SetTime(&start, &stop);
  LONGLONG mediaStart = 0, mediaStop = 0;
  if (source->GetMediaTime(&mediaStart, &mediaStop) == S_OK) dest->SetMediaTime(&mediaStart, &mediaStop);
  dest->SetSyncPoint(source->IsSyncPoint() == S_OK);
  dest->SetDiscontinuity(source->IsDiscontinuity() == S_OK);
  dest->SetPreroll(source->IsPreroll() == S_OK);
  AM_MEDIA_TYPE* type = nullptr;
  if (source->GetMediaType(&type) == S_OK && type) {
    dest->SetMediaType(type);
    DeleteMediaType(type);
  }
  return dest;
}

HRESULT CTransInPlaceFilter::Receive(IMediaSample* sample) {
  if (!output_ || !output_->IsConnected()) return S_OK;
  if (input_->LastStreamId() != AM_STREAM_MEDIA) return output_->Deliver(sample);
  if (UsingDifferentAllocators()) {
    const ComPtr<IMediaSample> copy = Copy(sample);
    if (!copy) return S_OK;  // no buffer (stopping): drop the frame
    HRESULT hr = Transform(copy.Get());
    if (hr == S_OK) hr = output_->Deliver(copy.Get());
    else if (hr == S_FALSE) hr = S_OK;
    return hr;
  }
  HRESULT hr = Transform(sample);
  if (hr == S_OK) return output_->Deliver(sample);
  return hr == S_FALSE ? S_OK : hr;
}

}  // namespace velk::dshow
