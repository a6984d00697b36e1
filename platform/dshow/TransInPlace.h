// The in-place transform: a filter with one input and one output pin that
// changes each sample in its own buffer and hands it on. When both pins share
// one allocator (the usual case) the sample itself travels on; when they do
// not, the sample is first copied into a buffer of the output's allocator.
// Samples that carry no media data (stream ids other than AM_STREAM_MEDIA)
// pass untouched.
//
// The output pin offers exactly the input's connection type and answers
// IMediaSeeking/IMediaPosition by passing them upstream (an aggregated
// seeking pass-through on the input pin): renderers seek through the pin they
// are connected to, so without it a graph with this filter could not seek.
//
// Locks: the filter lock for connections and state changes; the receive lock
// is held by Receive and EndOfStream (streaming thread) and taken by Stop
// before StopStreaming, so StopStreaming never overlaps a Transform.
#pragma once

#include "platform/dshow/BaseFilter.h"
#include "platform/dshow/Pins.h"

namespace velk::dshow {

class CTransInPlaceFilter;

class CTransInPlaceInputPin : public CBaseInputPin {
 public:
  CTransInPlaceInputPin(CTransInPlaceFilter* filter, const wchar_t* name);

  HRESULT CheckMediaType(const CMediaType& type) override;
  HRESULT SetMediaType(const CMediaType& type) override;
  HRESULT CompleteConnect(IPin* receivePin) override;
  HRESULT BreakConnect() override;

  HRESULT STDMETHODCALLTYPE EnumMediaTypes(IEnumMediaTypes** types) override;
  HRESULT STDMETHODCALLTYPE GetAllocator(IMemAllocator** allocator) override;
  HRESULT STDMETHODCALLTYPE NotifyAllocator(IMemAllocator* allocator, BOOL readOnly) override;
  HRESULT STDMETHODCALLTYPE GetAllocatorRequirements(ALLOCATOR_PROPERTIES* props) override;
  HRESULT STDMETHODCALLTYPE Receive(IMediaSample* sample) override;
  HRESULT STDMETHODCALLTYPE EndOfStream() override;
  HRESULT STDMETHODCALLTYPE BeginFlush() override;
  HRESULT STDMETHODCALLTYPE EndFlush() override;
  HRESULT STDMETHODCALLTYPE NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) override;

 protected:
  CTransInPlaceFilter* transform_;
};

class CTransInPlaceOutputPin : public CBaseOutputPin {
 public:
  CTransInPlaceOutputPin(CTransInPlaceFilter* filter, const wchar_t* name);

  HRESULT STDMETHODCALLTYPE NonDelegatingQueryInterface(REFIID iid, void** out) override;
  HRESULT STDMETHODCALLTYPE Notify(IBaseFilter* sender, Quality q) override;

  HRESULT CheckMediaType(const CMediaType& type) override;
  HRESULT GetMediaType(int position, CMediaType* type) override;
  HRESULT SetMediaType(const CMediaType& type) override;
  HRESULT DecideAllocator(IMemInputPin* peer, IMemAllocator** allocator) override;
  HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) override;

  // Makes `allocator` this pin's own (the input shares it downstream).
  void UseAllocator(IMemAllocator* allocator);
  // Creates the seeking pass-through when it does not exist yet.
  void EnsureSeeking();

 private:
  CTransInPlaceFilter* transform_;
  CCritSec seekingLock_;
  ComPtr<IUnknown> seeking_;  // the aggregated pass-through's own unknown
};

class CTransInPlaceFilter : public CBaseFilter {
 public:
  CTransInPlaceFilter(IUnknown* outer, REFCLSID clsid);
  ~CTransInPlaceFilter() override;

  // Two pins, made on first use: 0 input, 1 output.
  int GetPinCount() override { return 2; }
  CBasePin* GetPin(int n) override;

  HRESULT STDMETHODCALLTYPE Stop() override;
  HRESULT STDMETHODCALLTYPE Pause() override;

  // --- What a transform decides -------------------------------------------------
  // S_OK when the input (and therefore the output) may carry `type`.
  virtual HRESULT CheckInputType(const CMediaType& type) = 0;
  // S_OK when `out` may follow `in`; the output type always equals the input's.
  virtual HRESULT CheckTransform(const CMediaType& in, const CMediaType& out);
  // Preferred output types beyond the input's own; none by default.
  virtual HRESULT GetMediaType(int position, CMediaType* type);
  // A pin's connection type was set.
  virtual HRESULT SetMediaType(PIN_DIRECTION direction, const CMediaType& type);
  // Changes one sample in place; S_FALSE drops it. Streaming thread, receive lock held.
  virtual HRESULT Transform(IMediaSample* sample) = 0;
  // Around streaming: at the first pause from stopped (input connected), and
  // at stop (receive lock held).
  virtual HRESULT StartStreaming() { return S_OK; }
  virtual HRESULT StopStreaming() { return S_OK; }

  // Creates the pin objects that do not exist yet; false when one failed.
  virtual bool CreatePins();
  // Called by the input pin for each sample that passed its checks.
  virtual HRESULT Receive(IMediaSample* sample);

  CTransInPlaceInputPin* InputPin() const { return input_; }
  CTransInPlaceOutputPin* OutputPin() const { return output_; }
  CCritSec* ReceiveLock() { return &receiveLock_; }
  bool UsingDifferentAllocators() const;

 protected:
  // Copies a sample into a buffer of the output's allocator; empty on failure.
  ComPtr<IMediaSample> Copy(IMediaSample* source);

  CCritSec filterLock_;
  CCritSec receiveLock_;
  CTransInPlaceInputPin* input_ = nullptr;
  CTransInPlaceOutputPin* output_ = nullptr;
  bool streaming_ = false;
};

// Same frame format: subtype and, for video types, the bitmap header. Other
// format fields (frame rate, source rectangle) may differ.
bool SameFrameFormat(const AM_MEDIA_TYPE& a, const AM_MEDIA_TYPE& b);

}  // namespace velk::dshow
