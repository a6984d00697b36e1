// Pins: the common IPin connection logic, the input pin with IMemInputPin and
// the output pin with allocator negotiation and delivery.
//
// A pin is part of its filter: its reference count is the filter's. The
// connection calls run under the filter lock on the graph's thread; Receive,
// EndOfStream and NewSegment run on the upstream filter's streaming thread;
// BeginFlush/EndFlush on the graph's thread while streaming may go on.
#pragma once

#include <windows.h>
#include <dshow.h>

#include <string>

#include "platform/dshow/BaseFilter.h"
#include "platform/dshow/MediaType.h"
#include "platform/framework/ComPtr.h"

namespace velk::dshow {

class CBasePin : public CUnknown, public IPin, public IQualityControl {
 public:
  CBasePin(CBaseFilter* filter, CCritSec* lock, const wchar_t* name, PIN_DIRECTION direction);

  // IUnknown: interfaces answered by the pin, references counted by the filter.
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE NonDelegatingQueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE NonDelegatingAddRef() override;
  ULONG STDMETHODCALLTYPE NonDelegatingRelease() override;

  // IPin
  HRESULT STDMETHODCALLTYPE Connect(IPin* receivePin, const AM_MEDIA_TYPE* type) override;
  HRESULT STDMETHODCALLTYPE ReceiveConnection(IPin* connector, const AM_MEDIA_TYPE* type) override;
  HRESULT STDMETHODCALLTYPE Disconnect() override;
  HRESULT STDMETHODCALLTYPE ConnectedTo(IPin** pin) override;
  HRESULT STDMETHODCALLTYPE ConnectionMediaType(AM_MEDIA_TYPE* type) override;
  HRESULT STDMETHODCALLTYPE QueryPinInfo(PIN_INFO* info) override;
  HRESULT STDMETHODCALLTYPE QueryDirection(PIN_DIRECTION* direction) override;
  HRESULT STDMETHODCALLTYPE QueryId(LPWSTR* id) override;
  HRESULT STDMETHODCALLTYPE QueryAccept(const AM_MEDIA_TYPE* type) override;
  HRESULT STDMETHODCALLTYPE EnumMediaTypes(IEnumMediaTypes** types) override;
  HRESULT STDMETHODCALLTYPE QueryInternalConnections(IPin** pins, ULONG* count) override;
  HRESULT STDMETHODCALLTYPE EndOfStream() override;
  HRESULT STDMETHODCALLTYPE BeginFlush() override = 0;
  HRESULT STDMETHODCALLTYPE EndFlush() override = 0;
  HRESULT STDMETHODCALLTYPE NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) override;
  // IQualityControl: passes nothing on by default.
  HRESULT STDMETHODCALLTYPE Notify(IBaseFilter* sender, Quality q) override;
  HRESULT STDMETHODCALLTYPE SetSink(IQualityControl* sink) override;

  // What derived pins decide. CheckMediaType: S_OK to accept.
  virtual HRESULT CheckMediaType(const CMediaType& type) = 0;
  // The n-th preferred type; VFW_S_NO_MORE_ITEMS past the end.
  virtual HRESULT GetMediaType(int position, CMediaType* type);
  virtual HRESULT SetMediaType(const CMediaType& type);
  virtual HRESULT CheckConnect(IPin* pin);
  virtual HRESULT CompleteConnect(IPin* receivePin);
  virtual HRESULT BreakConnect();
  // State changes of the filter, for connected pins.
  virtual HRESULT Active() { return S_OK; }
  virtual HRESULT Inactive() { return S_OK; }
  virtual HRESULT Run(REFERENCE_TIME) { return S_OK; }

  bool IsConnected() const { return static_cast<bool>(connected_); }
  IPin* GetConnected() const { return connected_.Get(); }  // borrowed
  const CMediaType& CurrentMediaType() const { return mt_; }
  const std::wstring& Name() const { return name_; }
  bool IsFlushing() const { return flushing_; }
  CBaseFilter* Filter() const { return filter_; }
  REFERENCE_TIME SegmentStart() const { return segmentStart_; }

 protected:
  // Tries one complete type with the peer.
  HRESULT AttemptConnection(IPin* receivePin, const CMediaType& type);
  // Tries every type from `types` that fits the partial type `filter`.
  HRESULT TryMediaTypes(IPin* receivePin, const CMediaType& filter, IEnumMediaTypes* types);

  CBaseFilter* filter_;
  CCritSec* lock_;
  std::wstring name_;
  std::wstring id_;
  PIN_DIRECTION direction_;
  ComPtr<IPin> connected_;
  CMediaType mt_;
  volatile bool flushing_ = false;
  REFERENCE_TIME segmentStart_ = 0;
  REFERENCE_TIME segmentStop_ = 0;
  double segmentRate_ = 1.0;
};

// Input pin: takes samples through IMemInputPin, with the allocator chosen by
// the upstream output pin.
class CBaseInputPin : public CBasePin, public IMemInputPin {
 public:
  CBaseInputPin(CBaseFilter* filter, CCritSec* lock, const wchar_t* name);

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    return CBasePin::QueryInterface(iid, out);
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return CBasePin::AddRef(); }
  ULONG STDMETHODCALLTYPE Release() override { return CBasePin::Release(); }
  HRESULT STDMETHODCALLTYPE NonDelegatingQueryInterface(REFIID iid, void** out) override;

  // IMemInputPin
  HRESULT STDMETHODCALLTYPE GetAllocator(IMemAllocator** allocator) override;
  HRESULT STDMETHODCALLTYPE NotifyAllocator(IMemAllocator* allocator, BOOL readOnly) override;
  HRESULT STDMETHODCALLTYPE GetAllocatorRequirements(ALLOCATOR_PROPERTIES* props) override;
  // The base checks a sample: the filter streams, the pin is not flushing,
  // a type change is acceptable. Derived pins call it first and then do
  // their work; S_FALSE and errors mean "drop it".
  HRESULT STDMETHODCALLTYPE Receive(IMediaSample* sample) override;
  HRESULT STDMETHODCALLTYPE ReceiveMultiple(IMediaSample** samples, long count, long* processed) override;
  HRESULT STDMETHODCALLTYPE ReceiveCanBlock() override;

  HRESULT STDMETHODCALLTYPE BeginFlush() override;
  HRESULT STDMETHODCALLTYPE EndFlush() override;

  HRESULT BreakConnect() override;
  HRESULT Inactive() override;

  IMemAllocator* Allocator() const { return allocator_.Get(); }  // borrowed
  bool IsReadOnly() const { return readOnly_; }
  // Stream id of the sample last checked by Receive (AM_STREAM_MEDIA for data).
  DWORD LastStreamId() const { return lastStreamId_; }

 protected:
  ComPtr<IMemAllocator> allocator_;
  bool readOnly_ = false;
  DWORD lastStreamId_ = AM_STREAM_MEDIA;
};

// Output pin: decides the allocator with the downstream input pin and
// delivers samples to it.
class CBaseOutputPin : public CBasePin {
 public:
  CBaseOutputPin(CBaseFilter* filter, CCritSec* lock, const wchar_t* name);

  HRESULT CheckConnect(IPin* pin) override;
  HRESULT CompleteConnect(IPin* receivePin) override;
  HRESULT BreakConnect() override;
  HRESULT Active() override;
  HRESULT Inactive() override;

  // Negotiates the allocator with `peer` and tells it the choice.
  virtual HRESULT DecideAllocator(IMemInputPin* peer, IMemAllocator** allocator);
  // Sets buffer count and size on the chosen allocator.
  virtual HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) = 0;

  HRESULT GetDeliveryBuffer(IMediaSample** sample, REFERENCE_TIME* start, REFERENCE_TIME* stop, DWORD flags);
  HRESULT Deliver(IMediaSample* sample);
  HRESULT DeliverEndOfStream();
  HRESULT DeliverBeginFlush();
  HRESULT DeliverEndFlush();
  HRESULT DeliverNewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate);

  // An output pin is never sent these.
  HRESULT STDMETHODCALLTYPE EndOfStream() override { return E_UNEXPECTED; }
  HRESULT STDMETHODCALLTYPE BeginFlush() override { return E_UNEXPECTED; }
  HRESULT STDMETHODCALLTYPE EndFlush() override { return E_UNEXPECTED; }

  IMemAllocator* Allocator() const { return allocator_.Get(); }  // borrowed
  IMemInputPin* PeerInput() const { return peerInput_.Get(); }  // borrowed

 protected:
  ComPtr<IMemInputPin> peerInput_;
  ComPtr<IMemAllocator> allocator_;  // let go of before the peer
};

// Enumerates the types a pin prefers (its GetMediaType), as of its creation.
class CEnumMediaTypes final : public IEnumMediaTypes {
 public:
  explicit CEnumMediaTypes(CBasePin* pin);
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE Next(ULONG count, AM_MEDIA_TYPE** types, ULONG* fetched) override;
  HRESULT STDMETHODCALLTYPE Skip(ULONG count) override;
  HRESULT STDMETHODCALLTYPE Reset() override;
  HRESULT STDMETHODCALLTYPE Clone(IEnumMediaTypes** out) override;

 private:
  CEnumMediaTypes(CBasePin* pin, int position);
  ~CEnumMediaTypes();
  volatile LONG refs_ = 1;
  ComPtr<CBasePin> pin_;
  int position_ = 0;
};

}  // namespace velk::dshow
