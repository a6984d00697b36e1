#include "platform/sami/SamiFilters.h"

#include <algorithm>
#include <new>

#include "platform/framework/Text.h"
#include "platform/sami/SamiParser.h"

namespace velk {

using dshow::CAutoLock;
using dshow::CMediaType;

// --- Seeking without a length of its own ---------------------------------------------

HRESULT STDMETHODCALLTYPE CCaptionSeeking::GetCapabilities(DWORD* caps) {
  if (!caps) return E_POINTER;
  *caps = AM_SEEKING_CanSeekAbsolute | AM_SEEKING_CanSeekForwards | AM_SEEKING_CanSeekBackwards |
          AM_SEEKING_CanGetDuration;
  return S_OK;
}
HRESULT STDMETHODCALLTYPE CCaptionSeeking::CheckCapabilities(DWORD* caps) {
  if (!caps) return E_POINTER;
  DWORD mine = 0;
  GetCapabilities(&mine);
  DWORD asked = *caps;
  *caps &= mine;
  return *caps == asked ? S_OK : (*caps ? S_FALSE : E_FAIL);
}
HRESULT STDMETHODCALLTYPE CCaptionSeeking::IsFormatSupported(const GUID* format) {
  if (!format) return E_POINTER;
  return *format == TIME_FORMAT_MEDIA_TIME ? S_OK : S_FALSE;
}
HRESULT STDMETHODCALLTYPE CCaptionSeeking::QueryPreferredFormat(GUID* format) {
  return GetTimeFormat(format);
}
HRESULT STDMETHODCALLTYPE CCaptionSeeking::GetTimeFormat(GUID* format) {
  if (!format) return E_POINTER;
  *format = TIME_FORMAT_MEDIA_TIME;
  return S_OK;
}
HRESULT STDMETHODCALLTYPE CCaptionSeeking::IsUsingTimeFormat(const GUID* format) {
  return IsFormatSupported(format);
}
HRESULT STDMETHODCALLTYPE CCaptionSeeking::SetTimeFormat(const GUID* format) {
  if (!format) return E_POINTER;
  return *format == TIME_FORMAT_MEDIA_TIME ? S_OK : E_INVALIDARG;
}
// Captions never make the graph longer than the media they go with.
HRESULT STDMETHODCALLTYPE CCaptionSeeking::GetDuration(LONGLONG* duration) {
  if (!duration) return E_POINTER;
  *duration = 0;
  return S_OK;
}
HRESULT STDMETHODCALLTYPE CCaptionSeeking::GetStopPosition(LONGLONG* stop) { return GetDuration(stop); }
HRESULT STDMETHODCALLTYPE CCaptionSeeking::GetCurrentPosition(LONGLONG*) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE CCaptionSeeking::ConvertTimeFormat(LONGLONG* target, const GUID* targetFormat,
                                                             LONGLONG source, const GUID* sourceFormat) {
  if (!target) return E_POINTER;
  bool same = (!targetFormat || *targetFormat == TIME_FORMAT_MEDIA_TIME) &&
              (!sourceFormat || *sourceFormat == TIME_FORMAT_MEDIA_TIME);
  if (!same) return E_INVALIDARG;
  *target = source;
  return S_OK;
}
HRESULT STDMETHODCALLTYPE CCaptionSeeking::SetPositions(LONGLONG* current, DWORD currentFlags, LONGLONG*,
                                                        DWORD) {
  DWORD how = currentFlags & AM_SEEKING_PositioningBitsMask;
  if (how == AM_SEEKING_NoPositioning) return S_OK;
  if (!current) return E_POINTER;
  REFERENCE_TIME target = how == AM_SEEKING_RelativePositioning ? position_ + *current : *current;
  if (target < 0) target = 0;
  position_ = target;
  OnSeek(target);
  return S_OK;
}
HRESULT STDMETHODCALLTYPE CCaptionSeeking::GetPositions(LONGLONG* current, LONGLONG* stop) {
  if (current) *current = position_;
  if (stop) *stop = 0;
  return S_OK;
}
HRESULT STDMETHODCALLTYPE CCaptionSeeking::GetAvailable(LONGLONG* earliest, LONGLONG* latest) {
  if (earliest) *earliest = 0;
  if (latest) *latest = 0;
  return S_OK;
}
HRESULT STDMETHODCALLTYPE CCaptionSeeking::SetRate(double rate) { return rate == 1.0 ? S_OK : E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE CCaptionSeeking::GetRate(double* rate) {
  if (!rate) return E_POINTER;
  *rate = 1.0;
  return S_OK;
}
HRESULT STDMETHODCALLTYPE CCaptionSeeking::GetPreroll(LONGLONG* preroll) {
  if (!preroll) return E_POINTER;
  *preroll = 0;
  return S_OK;
}

// --- Source output pin ----------------------------------------------------------------

CSamiOutputPin::CSamiOutputPin(CSamiSource* source, dshow::CCritSec* lock)
    : CBaseOutputPin(source, lock, L"Output"), source_(source) {}

CSamiOutputPin::~CSamiOutputPin() { StopThread(); }

HRESULT CSamiOutputPin::CheckMediaType(const CMediaType& type) {
  return type.majortype == MEDIATYPE_Text ? S_OK : S_FALSE;
}

HRESULT CSamiOutputPin::GetMediaType(int position, CMediaType* type) {
  if (position < 0) return E_INVALIDARG;
  if (position > 0) return VFW_S_NO_MORE_ITEMS;
  type->Clear();
  type->majortype = MEDIATYPE_Text;
  type->formattype = FORMAT_None;
  type->bFixedSizeSamples = FALSE;
  type->lSampleSize = 0;
  return S_OK;
}

HRESULT CSamiOutputPin::DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) {
  // Room for the longest caption of any language: switching needs no new buffers.
  size_t longest = 1;
  for (size_t i = 0; i < source_->TimelineCount(); ++i) {
    for (const TimedCaption& c : source_->Timeline(i)) longest = std::max(longest, c.text.size());
  }
  ALLOCATOR_PROPERTIES want = *request;
  want.cBuffers = std::max<long>(want.cBuffers, 2);
  want.cbBuffer = std::max<long>(want.cbBuffer, static_cast<long>(longest * sizeof(wchar_t)));
  if (want.cbAlign < 1) want.cbAlign = 1;
  ALLOCATOR_PROPERTIES actual = {};
  HRESULT hr = allocator->SetProperties(&want, &actual);
  if (FAILED(hr)) return hr;
  return actual.cbBuffer < want.cbBuffer ? E_FAIL : S_OK;
}

HRESULT CSamiOutputPin::Active() {
  HRESULT hr = CBaseOutputPin::Active();
  if (FAILED(hr)) return hr;
  resumeAt_ = 0;  // a new run of the segment starts with its caption in effect
  StartThread();
  return S_OK;
}

HRESULT CSamiOutputPin::Inactive() {
  stop_ = 1;
  // Decommitting wakes a thread that waits for a buffer.
  HRESULT hr = CBaseOutputPin::Inactive();
  StopThread();
  return hr;
}

void CSamiOutputPin::StartThread() {
  if (thread_.Valid()) return;
  stop_ = 0;
  thread_ = fw::CHandle(::CreateThread(nullptr, 0, ThreadMain, this, 0, nullptr));
}

void CSamiOutputPin::StopThread() {
  if (!thread_.Valid()) return;
  stop_ = 1;
  ::WaitForSingleObject(thread_.Get(), INFINITE);
  thread_.Close();
}

void CSamiOutputPin::Seek(REFERENCE_TIME position, size_t timeline) { Restart(position, 0, timeline); }

void CSamiOutputPin::SwitchTimeline(size_t timeline, REFERENCE_TIME streamTime) {
  Restart(from_, streamTime, timeline);
}

void CSamiOutputPin::Restart(REFERENCE_TIME segment, REFERENCE_TIME streamTime, size_t timeline) {
  // A thread that has delivered everything still counts: the new timeline
  // may have more to say.
  bool running = thread_.Valid();
  if (running) {
    // Flush first: the renderer lets go of a sample it holds, the thread returns.
    stop_ = 1;
    DeliverBeginFlush();
    StopThread();
    DeliverEndFlush();
  }
  from_ = segment;
  resumeAt_ = streamTime;
  timeline_ = timeline;
  if (running) {
    allocator_->Commit();
    StartThread();
  }
}

DWORD WINAPI CSamiOutputPin::ThreadMain(void* self) {
  ::CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  static_cast<CSamiOutputPin*>(self)->Stream();
  ::CoUninitialize();
  return 0;
}

void CSamiOutputPin::Stream() {
  const REFERENCE_TIME from = from_;
  const REFERENCE_TIME resumeAt = resumeAt_;
  DeliverNewSegment(from, MAXLONGLONG, 1.0);
  const std::vector<TimedCaption>& captions = source_->Timeline(timeline_);
  size_t first = 0;
  if (resumeAt <= 0) {
    // The caption in effect at the seek position is shown at once.
    for (size_t i = 0; i < captions.size(); ++i)
      if (captions[i].start <= from) first = i;
  } else {
    // Going on mid-stream: the captions still to come.
    first = static_cast<size_t>(
        std::lower_bound(captions.begin(), captions.end(), from + resumeAt,
                         [](const TimedCaption& c, REFERENCE_TIME t) { return c.start < t; }) -
        captions.begin());
  }
  for (size_t i = first; i < captions.size() && !stop_; ++i) {
    ComPtr<IMediaSample> sample;
    REFERENCE_TIME start = std::max<REFERENCE_TIME>(captions[i].start - from, 0);
    REFERENCE_TIME stop = i + 1 < captions.size() ? std::max(captions[i + 1].start - from, start + 1) : start + 1;
    if (FAILED(GetDeliveryBuffer(sample.Receive(), nullptr, nullptr, 0)) || !sample) return;
    BYTE* data = nullptr;
    sample->GetPointer(&data);
    long bytes = static_cast<long>(captions[i].text.size() * sizeof(wchar_t));
    if (bytes > sample->GetSize()) bytes = sample->GetSize() & ~1L;
    memcpy(data, captions[i].text.data(), static_cast<size_t>(bytes));
    sample->SetActualDataLength(bytes);
    sample->SetTime(&start, &stop);
    sample->SetSyncPoint(TRUE);
    const HRESULT hr = Deliver(sample.Get());
    sample.Reset();
    if (hr != S_OK) return;  // flushing or stopped downstream
  }
  if (!stop_) DeliverEndOfStream();
}

// --- Source filter --------------------------------------------------------------------

dshow::CUnknown* CSamiSource::CreateInstance(IUnknown* outer, HRESULT* hr) {
  auto* source = new (std::nothrow) CSamiSource(outer);
  if (!source) *hr = E_OUTOFMEMORY;
  return source;
}

CSamiSource::CSamiSource(IUnknown* outer) : CBaseFilter(outer, &lock_, CLSID_SamiSource) {
  output_ = new (std::nothrow) CSamiOutputPin(this, &lock_);
}

CSamiSource::~CSamiSource() { delete output_; }

HRESULT STDMETHODCALLTYPE CSamiSource::NonDelegatingQueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  if (iid == IID_IFileSourceFilter) return dshow::GetInterface(static_cast<IFileSourceFilter*>(this), out);
  if (iid == IID_IAMStreamSelect) return dshow::GetInterface(static_cast<IAMStreamSelect*>(this), out);
  if (iid == IID_IMediaSeeking) return dshow::GetInterface(static_cast<IMediaSeeking*>(this), out);
  return CBaseFilter::NonDelegatingQueryInterface(iid, out);
}

dshow::CBasePin* CSamiSource::GetPin(int n) { return n == 0 ? output_ : nullptr; }

HRESULT STDMETHODCALLTYPE CSamiSource::Load(LPCOLESTR fileName, const AM_MEDIA_TYPE*) {
  if (!fileName) return E_POINTER;
  CAutoLock lock(&lock_);
  if (!fileName_.empty()) return E_UNEXPECTED;
  const fw::CHandle file(::CreateFileW(fileName, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!file.Valid()) return HRESULT_FROM_WIN32(::GetLastError());
  LARGE_INTEGER size = {};
  std::vector<uint8_t> bytes;
  bool ok = ::GetFileSizeEx(file.Get(), &size) && size.QuadPart < (64 << 20);
  if (ok) {
    bytes.resize(static_cast<size_t>(size.QuadPart));
    DWORD read = 0;
    ok = bytes.empty() || (::ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) &&
                           read == bytes.size());
  }
  if (!ok) return E_FAIL;
  try {
    SamiDocument doc = ParseSami(bytes.data(), bytes.size());
    const UINT codePage = doc.TextIsUtf8() ? CP_UTF8 : fw::LegacyCodePage();
    auto timed = [codePage](const std::vector<SamiCaption>& captions) {
      std::vector<TimedCaption> out;
      out.reserve(captions.size());
      for (const SamiCaption& c : captions) out.push_back({c.startMs * 10000, fw::Widen(c.text, codePage)});
      std::stable_sort(out.begin(), out.end(),
                       [](const TimedCaption& a, const TimedCaption& b) { return a.start < b.start; });
      return out;
    };
    std::vector<std::vector<TimedCaption>> timelines;
    std::vector<Language> languages;
    for (const SamiLanguage& l : doc.languages) {
      Language language;
      language.name = fw::Widen(l.name.empty() ? l.selector : l.name, codePage);
      const std::wstring lang = fw::Widen(l.lang, codePage);
      language.lcid = lang.empty() ? 0 : ::LocaleNameToLCID(lang.c_str(), 0);
      languages.push_back(std::move(language));
      timelines.push_back(timed(l.captions));
    }
    if (timelines.empty()) timelines.push_back(timed(doc.captions));
    timelines_ = std::move(timelines);
    languages_ = std::move(languages);
    selected_ = 0;
    fileName_ = fileName;
  } catch (...) {
    return E_OUTOFMEMORY;
  }
  return S_OK;
}

HRESULT STDMETHODCALLTYPE CSamiSource::GetCurFile(LPOLESTR* fileName, AM_MEDIA_TYPE* type) {
  if (!fileName) return E_POINTER;
  CAutoLock lock(&lock_);
  *fileName = nullptr;
  if (fileName_.empty()) return E_FAIL;
  size_t bytes = (fileName_.size() + 1) * sizeof(wchar_t);
  *fileName = static_cast<LPOLESTR>(::CoTaskMemAlloc(bytes));
  if (!*fileName) return E_OUTOFMEMORY;
  memcpy(*fileName, fileName_.c_str(), bytes);
  if (type) {
    CMediaType mt;
    output_->GetMediaType(0, &mt);
    dshow::CopyMediaType(type, &mt);
  }
  return S_OK;
}

void CSamiSource::OnSeek(REFERENCE_TIME position) {
  CAutoLock lock(&lock_);
  pausedAt_ = 0;  // the stream starts afresh at the new position
  if (output_) output_->Seek(position, selected_);
}

HRESULT STDMETHODCALLTYPE CSamiSource::Pause() {
  CAutoLock lock(&lock_);
  if (state_ == State_Running) {
    pausedAt_ = StreamTime();
  } else if (state_ == State_Stopped) {
    pausedAt_ = 0;
  }
  return CBaseFilter::Pause();
}

REFERENCE_TIME CSamiSource::StreamTime() const {
  if (state_ == State_Paused) return pausedAt_;
  if (state_ != State_Running || !Clock()) return 0;
  REFERENCE_TIME now = 0;
  if (FAILED(Clock()->GetTime(&now))) return 0;
  return std::max<REFERENCE_TIME>(now - start_, 0);
}

HRESULT STDMETHODCALLTYPE CSamiSource::Count(DWORD* count) {
  if (!count) return E_POINTER;
  CAutoLock lock(&lock_);
  *count = static_cast<DWORD>(languages_.size());
  return S_OK;
}

HRESULT STDMETHODCALLTYPE CSamiSource::Info(LONG index, AM_MEDIA_TYPE** type, DWORD* flags, LCID* lcid,
                                            DWORD* group, WCHAR** name, IUnknown** object, IUnknown** unk) {
  CAutoLock lock(&lock_);
  if (index < 0 || static_cast<size_t>(index) >= languages_.size()) return E_INVALIDARG;
  const Language& language = languages_[static_cast<size_t>(index)];
  const bool selected = static_cast<size_t>(index) == selected_;
  if (name) {
    const size_t bytes = (language.name.size() + 1) * sizeof(wchar_t);
    *name = static_cast<WCHAR*>(::CoTaskMemAlloc(bytes));
    if (!*name) return E_OUTOFMEMORY;
    memcpy(*name, language.name.c_str(), bytes);
  }
  if (type) {
    CMediaType mt;
    if (output_) output_->GetMediaType(0, &mt);
    *type = dshow::CreateMediaType(&mt);
    if (!*type) {
      if (name) {
        ::CoTaskMemFree(*name);
        *name = nullptr;
      }
      return E_OUTOFMEMORY;
    }
  }
  if (flags) *flags = selected ? AMSTREAMSELECTINFO_ENABLED | AMSTREAMSELECTINFO_EXCLUSIVE : 0;
  if (lcid) *lcid = language.lcid;
  if (group) *group = 0;
  // The selected language's captions leave through the output pin.
  if (object) {
    *object = nullptr;
    if (selected && output_) output_->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(object));
  }
  if (unk) *unk = nullptr;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE CSamiSource::Enable(LONG index, DWORD flags) {
  CAutoLock lock(&lock_);
  if (index < 0 || static_cast<size_t>(index) >= languages_.size()) return E_INVALIDARG;
  // One language at a time: there is no showing all, or none, of them.
  if (flags != AMSTREAMSELECTENABLE_ENABLE) return E_NOTIMPL;
  if (static_cast<size_t>(index) == selected_) return S_OK;
  selected_ = static_cast<size_t>(index);
  if (output_) output_->SwitchTimeline(selected_, StreamTime());
  return S_OK;
}

// --- Text renderer --------------------------------------------------------------------

CTextInputPin::CTextInputPin(CTextRenderer* renderer, dshow::CCritSec* lock)
    : CBaseInputPin(renderer, lock, L"In"), renderer_(renderer) {}

HRESULT CTextInputPin::CheckMediaType(const CMediaType& type) {
  return type.majortype == MEDIATYPE_Text ? S_OK : S_FALSE;
}

HRESULT STDMETHODCALLTYPE CTextInputPin::Receive(IMediaSample* sample) {
  HRESULT hr = CBaseInputPin::Receive(sample);
  if (hr != S_OK) return hr;
  return renderer_->Render(sample);
}

HRESULT STDMETHODCALLTYPE CTextInputPin::EndOfStream() {
  if (flushing_) return S_FALSE;
  return renderer_->EndOfStream();
}

HRESULT STDMETHODCALLTYPE CTextInputPin::BeginFlush() {
  CBaseInputPin::BeginFlush();
  renderer_->BeginFlush();
  return S_OK;
}

HRESULT STDMETHODCALLTYPE CTextInputPin::EndFlush() {
  renderer_->EndFlush();
  return CBaseInputPin::EndFlush();
}

dshow::CUnknown* CTextRenderer::CreateInstance(IUnknown* outer, HRESULT* hr) {
  auto* renderer = new (std::nothrow) CTextRenderer(outer);
  if (!renderer) *hr = E_OUTOFMEMORY;
  return renderer;
}

CTextRenderer::CTextRenderer(IUnknown* outer) : CBaseFilter(outer, &lock_, CLSID_SamiTextRenderer) {
  input_ = new (std::nothrow) CTextInputPin(this, &lock_);
}

CTextRenderer::~CTextRenderer() {
  delete input_;
}

HRESULT STDMETHODCALLTYPE CTextRenderer::NonDelegatingQueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  if (iid == IID_IMediaSeeking) return dshow::GetInterface(static_cast<IMediaSeeking*>(this), out);
  if (iid == IID_IAMFilterMiscFlags) return dshow::GetInterface(static_cast<IAMFilterMiscFlags*>(this), out);
  return CBaseFilter::NonDelegatingQueryInterface(iid, out);
}

dshow::CBasePin* CTextRenderer::GetPin(int n) { return n == 0 ? input_ : nullptr; }

HRESULT STDMETHODCALLTYPE CTextRenderer::Stop() {
  CAutoLock lock(&lock_);
  HRESULT hr = CBaseFilter::Stop();
  endOfStream_ = false;
  ::SetEvent(wake_.Get());
  return hr;
}

HRESULT STDMETHODCALLTYPE CTextRenderer::Pause() {
  CAutoLock lock(&lock_);
  if (state_ == State_Stopped) {
    endOfStream_ = false;
    completeSent_ = false;
  }
  HRESULT hr = CBaseFilter::Pause();
  ::SetEvent(wake_.Get());
  return hr;
}

HRESULT STDMETHODCALLTYPE CTextRenderer::Run(REFERENCE_TIME start) {
  CAutoLock lock(&lock_);
  HRESULT hr = CBaseFilter::Run(start);
  // The graph counts completions afresh at every run.
  completeSent_ = false;
  SendCompleteIfDue();
  ::SetEvent(wake_.Get());
  return hr;
}

void CTextRenderer::SendCompleteIfDue() {
  if (endOfStream_ && !completeSent_ && state_ == State_Running) {
    completeSent_ = true;
    NotifyEvent(EC_COMPLETE, S_OK, reinterpret_cast<LONG_PTR>(static_cast<IBaseFilter*>(this)));
  }
}

bool CTextRenderer::WaitForTime(REFERENCE_TIME start) {
  for (;;) {
    DWORD_PTR cookie = 0;
    {
      CAutoLock lock(&lock_);
      if (flushing_ || state_ == State_Stopped) return false;
      if (state_ == State_Running) {
        IReferenceClock* clock = Clock();
        if (!clock) return true;
        REFERENCE_TIME now = 0;
        clock->GetTime(&now);
        if (now >= start_ + start) return true;
        ::ResetEvent(timer_.Get());
        if (FAILED(clock->AdviseTime(start_, start, reinterpret_cast<HEVENT>(timer_.Get()), &cookie))) return true;
      }
    }
    HANDLE handles[2] = {wake_.Get(), timer_.Get()};
    DWORD which = ::WaitForMultipleObjects(cookie ? 2 : 1, handles, FALSE, INFINITE);
    if (cookie) {
      CAutoLock lock(&lock_);
      if (IReferenceClock* clock = Clock()) clock->Unadvise(cookie);
    }
    if (which == WAIT_OBJECT_0 + 1) return true;
  }
}

HRESULT CTextRenderer::Render(IMediaSample* sample) {
  REFERENCE_TIME start = 0, stop = 0;
  if (FAILED(sample->GetTime(&start, &stop))) start = 0;
  if (!WaitForTime(start)) return S_FALSE;
  BYTE* data = nullptr;
  if (FAILED(sample->GetPointer(&data))) return S_OK;
  UINT chars = static_cast<UINT>(sample->GetActualDataLength() / sizeof(wchar_t));
  // The receiver frees the strings (FreeEventParams).
  BSTR kind = ::SysAllocString(L"Text");
  BSTR text = ::SysAllocStringLen(reinterpret_cast<const OLECHAR*>(data), chars);
  if (!kind || !text || FAILED(NotifyEvent(EC_OLE_EVENT, reinterpret_cast<LONG_PTR>(kind),
                                           reinterpret_cast<LONG_PTR>(text)))) {
    ::SysFreeString(kind);
    ::SysFreeString(text);
  }
  return S_OK;
}

HRESULT CTextRenderer::EndOfStream() {
  CAutoLock lock(&lock_);
  if (state_ == State_Stopped) return VFW_E_WRONG_STATE;
  endOfStream_ = true;
  SendCompleteIfDue();
  return S_OK;
}

void CTextRenderer::BeginFlush() {
  CAutoLock lock(&lock_);
  flushing_ = true;
  endOfStream_ = false;
  ::SetEvent(wake_.Get());
}

void CTextRenderer::EndFlush() {
  CAutoLock lock(&lock_);
  flushing_ = false;
}

}  // namespace velk
