// samiparse.ax: a SAMI source filter and a text renderer, for systems whose
// DirectShow has no SAMI parser (Wine). RenderFile of a .smi file builds
// source -> renderer; the renderer raises EC_OLE_EVENT ("Text", caption) at
// each caption's time and follows pause, seek and stop like a renderer. The
// source offers the document's languages through IAMStreamSelect, as the
// system's own parser does.
//
// The source is found by byte patterns under the stream media type (see the
// registration); the renderer through the filter mapper (text input).
#pragma once

#include <windows.h>
#include <dshow.h>

#include <string>
#include <vector>

#include "platform/dshow/Pins.h"
#include "platform/dshow/Server.h"
#include "platform/framework/Handles.h"

namespace velk {

// {8C3B2A10-5E0F-4C1B-9A7E-3D2F6B1C4A01}
EXTERN_C const GUID DECLSPEC_SELECTANY CLSID_SamiSource = {
    0x8c3b2a10, 0x5e0f, 0x4c1b, {0x9a, 0x7e, 0x3d, 0x2f, 0x6b, 0x1c, 0x4a, 0x01}};
// {8C3B2A11-5E0F-4C1B-9A7E-3D2F6B1C4A01}
EXTERN_C const GUID DECLSPEC_SELECTANY CLSID_SamiTextRenderer = {
    0x8c3b2a11, 0x5e0f, 0x4c1b, {0x9a, 0x7e, 0x3d, 0x2f, 0x6b, 0x1c, 0x4a, 0x01}};

// One caption as the source sends it: wide text, start in 100 ns units.
struct TimedCaption {
  REFERENCE_TIME start;
  std::wstring text;
};

// IMediaSeeking in media time for a filter whose stream has no length of its
// own: the duration is 0, so the graph's duration stays the media's. A seek
// goes to OnSeek.
class CCaptionSeeking : public IMediaSeeking {
 public:
  HRESULT STDMETHODCALLTYPE GetCapabilities(DWORD* caps) override;
  HRESULT STDMETHODCALLTYPE CheckCapabilities(DWORD* caps) override;
  HRESULT STDMETHODCALLTYPE IsFormatSupported(const GUID* format) override;
  HRESULT STDMETHODCALLTYPE QueryPreferredFormat(GUID* format) override;
  HRESULT STDMETHODCALLTYPE GetTimeFormat(GUID* format) override;
  HRESULT STDMETHODCALLTYPE IsUsingTimeFormat(const GUID* format) override;
  HRESULT STDMETHODCALLTYPE SetTimeFormat(const GUID* format) override;
  HRESULT STDMETHODCALLTYPE GetDuration(LONGLONG* duration) override;
  HRESULT STDMETHODCALLTYPE GetStopPosition(LONGLONG* stop) override;
  HRESULT STDMETHODCALLTYPE GetCurrentPosition(LONGLONG* current) override;
  HRESULT STDMETHODCALLTYPE ConvertTimeFormat(LONGLONG* target, const GUID* targetFormat, LONGLONG source,
                                              const GUID* sourceFormat) override;
  HRESULT STDMETHODCALLTYPE SetPositions(LONGLONG* current, DWORD currentFlags, LONGLONG* stop,
                                         DWORD stopFlags) override;
  HRESULT STDMETHODCALLTYPE GetPositions(LONGLONG* current, LONGLONG* stop) override;
  HRESULT STDMETHODCALLTYPE GetAvailable(LONGLONG* earliest, LONGLONG* latest) override;
  HRESULT STDMETHODCALLTYPE SetRate(double rate) override;
  HRESULT STDMETHODCALLTYPE GetRate(double* rate) override;
  HRESULT STDMETHODCALLTYPE GetPreroll(LONGLONG* preroll) override;

 protected:
  virtual ~CCaptionSeeking() = default;
  virtual void OnSeek(REFERENCE_TIME position) = 0;
  REFERENCE_TIME position_ = 0;
};

class CSamiSource;

// The source's output pin: a streaming thread delivers one text sample per
// caption of one timeline, stamped with its start relative to the segment
// (the seek position).
class CSamiOutputPin : public dshow::CBaseOutputPin {
 public:
  CSamiOutputPin(CSamiSource* source, dshow::CCritSec* lock);
  ~CSamiOutputPin() override;

  HRESULT CheckMediaType(const dshow::CMediaType& type) override;
  HRESULT GetMediaType(int position, dshow::CMediaType* type) override;
  HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) override;
  HRESULT Active() override;
  HRESULT Inactive() override;

  // Both with the filter lock held. Restarts delivery (flushing what is
  // under way) at a new segment starting at `position`, with the caption in
  // effect there first.
  void Seek(REFERENCE_TIME position, size_t timeline);
  // Goes on in the same segment with another timeline: its captions from
  // `streamTime` on (its caption in effect at the segment's start when
  // streamTime is 0). The caption on screen stays until the next one.
  void SwitchTimeline(size_t timeline, REFERENCE_TIME streamTime);

 private:
  static DWORD WINAPI ThreadMain(void* self);
  void Stream();
  void StartThread();
  void StopThread();
  void Restart(REFERENCE_TIME segment, REFERENCE_TIME streamTime, size_t timeline);

  CSamiSource* source_;
  fw::CHandle thread_;
  volatile LONG stop_ = 0;
  // What the next streaming thread delivers; set while no thread runs.
  REFERENCE_TIME from_ = 0;      // the segment's start in media time
  REFERENCE_TIME resumeAt_ = 0;  // stream time to go on from
  size_t timeline_ = 0;          // which of the source's timelines
};

class CSamiSource : public dshow::CBaseFilter,
                    public IFileSourceFilter,
                    public IAMStreamSelect,
                    public CCaptionSeeking {
 public:
  static dshow::CUnknown* CreateInstance(IUnknown* outer, HRESULT* hr);
  explicit CSamiSource(IUnknown* outer);
  ~CSamiSource() override;

  VELK_DECLARE_IUNKNOWN
  HRESULT STDMETHODCALLTYPE NonDelegatingQueryInterface(REFIID iid, void** out) override;

  int GetPinCount() override { return 1; }
  dshow::CBasePin* GetPin(int n) override;

  HRESULT STDMETHODCALLTYPE Pause() override;

  // IFileSourceFilter
  HRESULT STDMETHODCALLTYPE Load(LPCOLESTR fileName, const AM_MEDIA_TYPE* type) override;
  HRESULT STDMETHODCALLTYPE GetCurFile(LPOLESTR* fileName, AM_MEDIA_TYPE* type) override;

  // IAMStreamSelect: one stream per language of the document, all in group 0,
  // one of them enabled (the first at the start). A document whose
  // paragraphs name no class has none. Enable takes AMSTREAMSELECTENABLE_ENABLE
  // only, at any time: from then on the captions are the new language's.
  HRESULT STDMETHODCALLTYPE Count(DWORD* count) override;
  HRESULT STDMETHODCALLTYPE Info(LONG index, AM_MEDIA_TYPE** type, DWORD* flags, LCID* lcid, DWORD* group,
                                 WCHAR** name, IUnknown** object, IUnknown** unk) override;
  HRESULT STDMETHODCALLTYPE Enable(LONG index, DWORD flags) override;

  // The captions of a language, sorted by start; fixed once loaded, so the
  // streaming thread reads them without a lock.
  const std::vector<TimedCaption>& Timeline(size_t i) const { return timelines_[i]; }
  size_t TimelineCount() const { return timelines_.size(); }

 protected:
  void OnSeek(REFERENCE_TIME position) override;

 private:
  struct Language {
    std::wstring name;
    LCID lcid = 0;
  };
  // Where the stream stands: the time since the segment began on the running
  // clock, as it was at the pause, or 0. Filter lock held.
  REFERENCE_TIME StreamTime() const;

  dshow::CCritSec lock_;
  CSamiOutputPin* output_ = nullptr;
  std::wstring fileName_;
  std::vector<Language> languages_;
  // One per language; a single one when the document has no language.
  std::vector<std::vector<TimedCaption>> timelines_ = std::vector<std::vector<TimedCaption>>(1);
  size_t selected_ = 0;
  REFERENCE_TIME pausedAt_ = 0;  // stream time at the last pause from running
};

class CTextRenderer;

class CTextInputPin : public dshow::CBaseInputPin {
 public:
  CTextInputPin(CTextRenderer* renderer, dshow::CCritSec* lock);
  HRESULT CheckMediaType(const dshow::CMediaType& type) override;
  HRESULT STDMETHODCALLTYPE Receive(IMediaSample* sample) override;
  HRESULT STDMETHODCALLTYPE EndOfStream() override;
  HRESULT STDMETHODCALLTYPE BeginFlush() override;
  HRESULT STDMETHODCALLTYPE EndFlush() override;

 private:
  CTextRenderer* renderer_;
};

// Raises each caption at its time on the graph's clock; holds samples while
// paused; reports the end of the stream once per run.
class CTextRenderer : public dshow::CBaseFilter, public IAMFilterMiscFlags, public CCaptionSeeking {
 public:
  static dshow::CUnknown* CreateInstance(IUnknown* outer, HRESULT* hr);
  explicit CTextRenderer(IUnknown* outer);
  ~CTextRenderer() override;

  VELK_DECLARE_IUNKNOWN
  HRESULT STDMETHODCALLTYPE NonDelegatingQueryInterface(REFIID iid, void** out) override;

  int GetPinCount() override { return 1; }
  dshow::CBasePin* GetPin(int n) override;

  HRESULT STDMETHODCALLTYPE Stop() override;
  HRESULT STDMETHODCALLTYPE Pause() override;
  HRESULT STDMETHODCALLTYPE Run(REFERENCE_TIME start) override;
  ULONG STDMETHODCALLTYPE GetMiscFlags() override { return AM_FILTER_MISC_FLAGS_IS_RENDERER; }

  // Streaming thread.
  HRESULT Render(IMediaSample* sample);
  HRESULT EndOfStream();
  // Graph thread.
  void BeginFlush();
  void EndFlush();

 protected:
  void OnSeek(REFERENCE_TIME) override {}

 private:
  // Waits until the sample's time on the running clock; false when stopped,
  // flushed or otherwise told to give up.
  bool WaitForTime(REFERENCE_TIME start);
  void SendCompleteIfDue();  // lock held

  dshow::CCritSec lock_;
  CTextInputPin* input_ = nullptr;
  fw::CHandle wake_{::CreateEventW(nullptr, FALSE, FALSE, nullptr)};   // auto-reset: state changed, re-check
  fw::CHandle timer_{::CreateEventW(nullptr, FALSE, FALSE, nullptr)};  // auto-reset: clock advise
  bool flushing_ = false;
  bool endOfStream_ = false;
  bool completeSent_ = false;
};

const dshow::ClassTable& SamiClasses();
HRESULT SamiRegister(HMODULE module, bool doRegister, dshow::CClassKeyStore& store);

}  // namespace velk
