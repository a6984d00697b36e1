#include "player/engine/PlaybackEngine.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <vector>

#include "platform/framework/Handles.h"
#include "platform/framework/Text.h"
#include "platform/framework/Wnd.h"
#include "player/app/SettingsTable.h"
#include "player/engine/CaptionFiles.h"
#include "player/engine/GraphRelease.h"
#include "player/engine/PlaybackMath.h"
#include "player/playlist/WinFileSystem.h"
#include "player/video/VideoLayout.h"
#include "shared/PlayerMessages.h"

namespace velk {

namespace {

// How long a close waits for the graph to let go before the window goes on.
constexpr DWORD kGraphReleaseWaitMs = 1500;
// How far past its length a running item may go before it counts as ended.
constexpr double kOverrunGraceSeconds = 2.0;
// How long a seek click waits for a state change in progress.
constexpr uint32_t kSeekStateWaitMs = 3000;

// How often the caption clock looks at the position, and how long a note
// about the captions' shift stays.
constexpr UINT kCaptionTickMs = 40;
constexpr DWORD kCaptionNoteMs = 1500;
constexpr int32_t kNoneShown = -2;
constexpr wchar_t kTextEvent[] = L"Text";

// The first caption file beside the media (SAMI, then SubRip, then WebVTT)
// that exists and can be opened for reading with no sharing; otherwise one
// with an empty path. The probe handle is closed at once.
engine::CaptionFileCandidate ProbeCaptionFile(const std::string& mediaPath) {
  for (engine::CaptionFileCandidate& caption : engine::CaptionFilesFor(mediaPath)) {
    if (::GetFileAttributesA(caption.path.c_str()) == INVALID_FILE_ATTRIBUTES) continue;
    const fw::CHandle probe(::CreateFileA(caption.path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                         FILE_ATTRIBUTE_NORMAL, nullptr));
    if (probe.Valid()) return std::move(caption);
  }
  return {};
}

// A caption file's text as UTF-8: text in the user's legacy code page (a file
// without a mark that is not UTF-8) is converted.
std::string CaptionTextAsUtf8(std::string text, bool isUtf8) {
  if (isUtf8 || text.empty()) return text;
  return fw::Narrow(fw::Widen(text, fw::LegacyCodePage()), CP_UTF8);
}

// The caption in the ANSI code page, cut at a character boundary to what the
// overlay takes.
void CaptionToAnsi(const wchar_t* text, char (&out)[KARVEX_MAX_CAPTION_BYTES]) {
  out[0] = '\0';
  if (!text) return;
  const size_t length = wcslen(text);
  auto bytesFor = [text](size_t units) { return fw::Narrow(std::wstring_view(text, units)).size(); };
  const size_t units = engine::FittingPrefix(text, length, sizeof(out) - 1, bytesFor);
  const std::string narrow = fw::Narrow(std::wstring_view(text, units));
  const size_t written = std::min(narrow.size(), sizeof(out) - 1);
  std::memcpy(out, narrow.data(), written);
  out[written] = '\0';
}

// The graph keeps time by a system clock of the engine's making, not by the
// one its sound renderer offers. Wine's DirectSound renderer never lets go of
// that clock, and once the video renderer has waited on it the clock's thread
// runs on: every item with sound and picture would leave one behind. The
// system clock is the one the graph frees with itself. Without one to be had,
// the graph chooses as it would.
void KeepTimeBySystemClock(const ComPtr<IGraphBuilder>& graph) {
  ComPtr<IMediaFilter> filter;
  ComPtr<IReferenceClock> clock;
  if (FAILED(graph.As(IID_IMediaFilter, filter)) ||
      FAILED(::CoCreateInstance(CLSID_SystemClock, nullptr, CLSCTX_INPROC_SERVER, IID_IReferenceClock,
                                clock.ReceiveVoid()))) {
    return;
  }
  filter->SetSyncSource(clock.Get());
}

// The graph's file source: the filter that took the file's name.
ComPtr<IBaseFilter> FileSourceOf(const ComPtr<IGraphBuilder>& graph) {
  ComPtr<IEnumFilters> filters;
  if (FAILED(graph->EnumFilters(filters.Receive())) || !filters) return {};
  ComPtr<IBaseFilter> filter;
  while (filters->Next(1, filter.Receive(), nullptr) == S_OK) {
    ComPtr<IFileSourceFilter> source;
    if (SUCCEEDED(filter.As(IID_IFileSourceFilter, source))) return filter;
  }
  return {};
}

}  // namespace

CPlaybackEngine::CPlaybackEngine(fw::CWnd* owner, ISettingsStore& settings) : settings_(settings) {
  comInitialized_ = SUCCEEDED(::CoInitialize(nullptr));
  SetOwner(owner);
}

CPlaybackEngine::~CPlaybackEngine() {
  Close();
  if (comInitialized_) ::CoUninitialize();
}

HWND CPlaybackEngine::OwnerWindow() const { return owner_ ? owner_->GetSafeHwnd() : nullptr; }

bool CPlaybackEngine::SetOwner(fw::CWnd* owner) {
  owner_ = owner;
  if (clockWindow_) StartCaptionClock();
  if (events_) {
    events_->SetNotifyWindow(reinterpret_cast<OAHWND>(OwnerWindow()), WM_PLAYER_GRAPHEVENT,
                             reinterpret_cast<LONG_PTR>(events_.Get()));
  }
  return true;
}

bool CPlaybackEngine::Open(const std::string& path) {
  const engine::CaptionFileCandidate caption = ProbeCaptionFile(path);
  Close();
  lastFailure_ = S_OK;

  const std::wstring media = fw::Widen(path);
  const bool withCaptions = !caption.path.empty();
  bool whole = true;
  const HRESULT hr = RenderMedia(media, withCaptions, CLSID_NULL, &whole);
  if (FAILED(hr)) {
    lastFailure_ = hr;
    return false;
  }
  if (!whole) RebuildThroughWholeParser(media, withCaptions);
  if (withCaptions) {
    captionFile_ = caption;
    const bool shown = caption.kind == engine::CaptionFileKind::Sami ? RenderCaptionFile(caption.path)
                                                                      : LoadCaptionCues(caption);
    if (shown) {
      captionFlags_ |= kCaptionRendered;
    } else {
      captionFlags_ = 0;  // no captions, though the filter stays in the graph
    }
  }

  if (!control_ && FAILED(graph_.As(IID_IMediaControl, control_))) return false;
  KeepTimeBySystemClock(graph_);
  if (!events_) {
    if (FAILED(graph_.As(IID_IMediaEventEx, events_))) return false;
    if (owner_) {
      events_->SetNotifyWindow(reinterpret_cast<OAHWND>(OwnerWindow()), WM_PLAYER_GRAPHEVENT,
                               reinterpret_cast<LONG_PTR>(events_.Get()));
    }
  }
  if (!position_ && FAILED(graph_.As(IID_IMediaPosition, position_))) position_.Reset();
  if (!videoWindow_) AnnounceVideoWindow();
  if (clockDrives_) StartCaptionClock();
  return true;
}

bool CPlaybackEngine::LoadCaptionCues(const engine::CaptionFileCandidate& file) {
  std::string bytes;
  if (!CWinFileSystem().ReadAll(file.path, bytes)) return false;
  const CaptionCueDocument document = ReadCaptionCues(
      bytes, file.kind == engine::CaptionFileKind::SubRip ? CaptionCueFormat::SubRip : CaptionCueFormat::WebVtt);
  std::vector<TimedCaptionText> texts = CaptionEvents(document);
  for (TimedCaptionText& text : texts) text.text = CaptionTextAsUtf8(std::move(text.text), document.TextIsUtf8());
  timeline_.Load(std::move(texts));
  clockDrives_ = !timeline_.IsEmpty();
  return clockDrives_;
}

// The SAMI file's captions of one language, read as the parser reads them,
// for the clock to show.
bool CPlaybackEngine::LoadSamiTimeline(int32_t language) {
  std::string bytes;
  if (!CWinFileSystem().ReadAll(captionFile_.path, bytes)) return false;
  const SamiDocument document = ParseSami(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
  std::vector<TimedCaptionText> texts = engine::SamiTimeline(document, language);
  for (TimedCaptionText& text : texts) text.text = CaptionTextAsUtf8(std::move(text.text), document.TextIsUtf8());
  timeline_.Load(std::move(texts));
  shownCaption_ = kNoneShown;
  return !timeline_.IsEmpty();
}

bool CPlaybackEngine::ShiftCaptions(int32_t stepMs) {
  if (!(captionFlags_ & kCaptionRendered)) return false;
  if (!clockDrives_) {
    // A SAMI file's captions come from its parser at their own times: moved,
    // they come from its timeline by the clock instead, for the rest of the item.
    int32_t language = 0;
    const std::vector<CaptionLanguage> languages = CaptionLanguages();
    for (size_t i = 0; i < languages.size(); ++i) {
      if (languages[i].selected) language = static_cast<int32_t>(i);
    }
    if (!LoadSamiTimeline(language)) return false;
    clockDrives_ = true;
    StartCaptionClock();
  }
  captionShiftMs_ = engine::NextCaptionShift(captionShiftMs_, stepMs);
  note_ = engine::CaptionShiftNote(captionShiftMs_);
  noteUntil_ = ::GetTickCount() + kCaptionNoteMs;
  shownCaption_ = kNoneShown;
  ShowClockCaption();
  return true;
}

void CPlaybackEngine::StartCaptionClock() {
  StopCaptionClock();
  clockWindow_ = OwnerWindow();
  shownCaption_ = kNoneShown;
  // The timer carries the engine as its id; it dies with the clock's stop or
  // with the window.
  if (clockWindow_ && !::SetTimer(clockWindow_, reinterpret_cast<UINT_PTR>(this), kCaptionTickMs, &OnCaptionTick)) {
    clockWindow_ = nullptr;
  }
}

void CPlaybackEngine::StopCaptionClock() {
  if (clockWindow_) ::KillTimer(clockWindow_, reinterpret_cast<UINT_PTR>(this));
  clockWindow_ = nullptr;
}

void CALLBACK CPlaybackEngine::OnCaptionTick(HWND, UINT, UINT_PTR id, DWORD) {
  reinterpret_cast<CPlaybackEngine*>(id)->ShowClockCaption();
}

void CPlaybackEngine::ShowClockCaption() {
  if (!clockDrives_ || !position_) return;
  if (!note_.empty()) {
    if (static_cast<LONG>(noteUntil_ - ::GetTickCount()) > 0) {
      if (shownCaption_ == kNoneShown) {
        shownCaption_ = -1;
        RouteClockCaption("<P>" + note_);
      }
      return;
    }
    note_.clear();
    shownCaption_ = kNoneShown;
  }
  REFTIME seconds = 0;
  if (FAILED(position_->get_CurrentPosition(&seconds))) return;
  const int32_t index = timeline_.IndexAt(static_cast<int64_t>(seconds * 1000.0 + 0.5), captionShiftMs_);
  if (index == shownCaption_) return;
  shownCaption_ = index;
  RouteClockCaption(timeline_.TextOf(index));
}

void CPlaybackEngine::RouteClockCaption(const std::string& utf8) {
  const std::wstring text = fw::Widen(utf8, CP_UTF8);
  RouteCaption(reinterpret_cast<LONG_PTR>(kTextEvent), reinterpret_cast<LONG_PTR>(text.c_str()));
}

namespace {

constexpr int kMostFiltersToTheRenderer = 6;
constexpr int kMostFiltersToTheCaptionParser = 3;

std::vector<ComPtr<IPin>> OutputPins(IBaseFilter* filter) {
  std::vector<ComPtr<IPin>> outputs;
  ComPtr<IEnumPins> pins;
  if (FAILED(filter->EnumPins(pins.Receive())) || !pins) return outputs;
  ComPtr<IPin> pin;
  while (pins->Next(1, pin.Receive(), nullptr) == S_OK) {
    PIN_DIRECTION direction = PINDIR_INPUT;
    if (SUCCEEDED(pin->QueryDirection(&direction)) && direction == PINDIR_OUTPUT) outputs.push_back(pin);
  }
  return outputs;
}

// The input pins the filter's outputs are connected to.
std::vector<ComPtr<IPin>> DownstreamInputs(IBaseFilter* filter) {
  std::vector<ComPtr<IPin>> inputs;
  for (const ComPtr<IPin>& output : OutputPins(filter)) {
    ComPtr<IPin> peer;
    if (SUCCEEDED(output->ConnectedTo(peer.Receive())) && peer) inputs.push_back(peer);
  }
  return inputs;
}

ComPtr<IBaseFilter> FilterOf(IPin* pin) {
  PIN_INFO info = {};
  ComPtr<IBaseFilter> filter;
  if (SUCCEEDED(pin->QueryPinInfo(&info))) filter.Attach(info.pFilter);  // QueryPinInfo's reference
  return filter;
}

// The video renderer's input pin on the connected paths from the media's
// source: the first filter there that answers for a video window, as the
// system's renderers do.
ComPtr<IPin> VideoRendererInput(const ComPtr<IBaseFilter>& source) {
  std::vector<ComPtr<IBaseFilter>> step{source};
  for (int depth = 0; depth < kMostFiltersToTheRenderer && !step.empty(); ++depth) {
    std::vector<ComPtr<IBaseFilter>> next;
    for (const ComPtr<IBaseFilter>& filter : step) {
      for (const ComPtr<IPin>& input : DownstreamInputs(filter.Get())) {
        ComPtr<IBaseFilter> downstream = FilterOf(input.Get());
        ComPtr<IVideoWindow> window;
        if (!downstream) continue;
        if (SUCCEEDED(downstream.As(IID_IVideoWindow, window))) return input;
        next.push_back(downstream);
      }
    }
    step = std::move(next);
  }
  return {};
}

ComPtr<IPin> FirstInput(IBaseFilter* filter) {
  ComPtr<IEnumPins> pins;
  if (FAILED(filter->EnumPins(pins.Receive())) || !pins) return {};
  ComPtr<IPin> pin;
  while (pins->Next(1, pin.Receive(), nullptr) == S_OK) {
    PIN_DIRECTION direction = PINDIR_OUTPUT;
    if (SUCCEEDED(pin->QueryDirection(&direction)) && direction == PINDIR_INPUT) return pin;
  }
  return {};
}

void FreeType(AM_MEDIA_TYPE& type) {
  ::CoTaskMemFree(type.pbFormat);
  type.pbFormat = nullptr;
  type.cbFormat = 0;
  ComPtr<IUnknown> owner;
  owner.Attach(type.pUnk);  // released here
  type.pUnk = nullptr;
}

}  // namespace

// Rendering prefers the filters already in the graph, but a decoder whose
// first picture format the overlay takes and the renderer refuses ends up
// connected to the renderer directly (Wine's decoders for MPEG-1, ASF,
// MPEG-4, MJPEG and QuickTime do so). The overlay then goes in between, in
// the very format the renderer accepted; if either side refuses, the picture
// is connected back as it was and the item plays without the overlay.
void CPlaybackEngine::RouteVideoThroughOverlay(const ComPtr<IBaseFilter>& source) {
  ComPtr<IBaseFilter> overlay;
  if (!captionOverlay_ || FAILED(captionOverlay_.As(IID_IBaseFilter, overlay))) return;
  ComPtr<IPin> in, out, peer;
  if (FAILED(overlay->FindPin(L"In", in.Receive())) || FAILED(overlay->FindPin(L"Out", out.Receive()))) return;
  if (SUCCEEDED(in->ConnectedTo(peer.Receive())) && peer) return;  // already in the picture's path
  ComPtr<IPin> rendererIn = VideoRendererInput(source), upstream;
  if (!rendererIn || FAILED(rendererIn->ConnectedTo(upstream.Receive())) || !upstream) return;
  AM_MEDIA_TYPE type = {};
  if (FAILED(rendererIn->ConnectionMediaType(&type))) return;
  graph_->Disconnect(upstream.Get());
  graph_->Disconnect(rendererIn.Get());
  const bool through = SUCCEEDED(graph_->ConnectDirect(upstream.Get(), in.Get(), &type)) &&
                       SUCCEEDED(graph_->ConnectDirect(out.Get(), rendererIn.Get(), &type));
  if (!through) {
    for (IPin* pin : {upstream.Get(), in.Get(), out.Get(), rendererIn.Get()}) graph_->Disconnect(pin);
    graph_->ConnectDirect(upstream.Get(), rendererIn.Get(), &type);
  }
  FreeType(type);
}

void CPlaybackEngine::InsertCaptionFilter() {
  RegisterCaptionFilter(true);
  filterRegistered_ = true;  // unregistered by the close, whether or not the filter joins
  ComPtr<IBaseFilter> filter;
  if (FAILED(::CoCreateInstance(CLSID_Karvex, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                                filter.ReceiveVoid()))) {
    return;  // the item plays without the overlay
  }
  if (FAILED(graph_->AddFilter(filter.Get(), KARVEX_FILTER_NAME))) return;
  if (SUCCEEDED(filter.As(IID_ICaptionOverlay, captionOverlay_))) {
    captionFlags_ |= kOverlayInGraph;
  } else {
    captionOverlay_.Reset();
  }
  // The graph holds the filter from here on; our reference goes with `filter`.
}

// Pictures go to the system's GDI video renderer, put into the graph before
// the media is rendered, which prefers filters already there. It draws RGB
// frames through GDI, as the renderer of every Windows version does; Wine's
// default renderer instead sets up a Direct3D device for every graph, keeps
// about 360 KB of it and often fails to make one ("Failed to create device")
// item after item. Null when the system has none: rendering then chooses.
ComPtr<IBaseFilter> CPlaybackEngine::AddPictureRenderer() {
  ComPtr<IBaseFilter> renderer;
  if (FAILED(::CoCreateInstance(CLSID_VideoRenderer, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                                renderer.ReceiveVoid())) ||
      FAILED(graph_->AddFilter(renderer.Get(), L"Video Renderer"))) {
    return {};
  }
  return renderer;
}

// An item without pictures leaves the renderer unconnected: it goes, so the
// graph has no video window and no renderer waiting for an end.
void CPlaybackEngine::DropIfUnconnected(const ComPtr<IBaseFilter>& renderer) {
  if (!renderer) return;
  ComPtr<IEnumPins> pins;
  ComPtr<IPin> pin, peer;
  if (SUCCEEDED(renderer->EnumPins(pins.Receive())) && pins->Next(1, pin.Receive(), nullptr) == S_OK &&
      SUCCEEDED(pin->ConnectedTo(peer.Receive())) && peer) {
    return;
  }
  graph_->RemoveFilter(renderer.Get());
}

// As RenderFile does, keeping the source at hand: the file's source filter, named by the file, with each of its outputs
// rendered; null, and the source taken out again, when none could be.
ComPtr<IBaseFilter> CPlaybackEngine::RenderSource(const std::wstring& path, REFCLSID parser, bool* wholly) {
  ComPtr<IBaseFilter> source, reader;
  if (FAILED(graph_->AddSourceFilter(path.c_str(), path.c_str(), source.Receive())) || !source) return {};
  reader = source;
  if (parser != CLSID_NULL) {
    // The source's one output goes to the parser asked for, whose outputs are rendered.
    const std::vector<ComPtr<IPin>> outputs = OutputPins(source.Get());
    ComPtr<IPin> input;
    if (outputs.size() != 1 ||
        FAILED(::CoCreateInstance(parser, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, reader.ReceiveVoid())) ||
        FAILED(graph_->AddFilter(reader.Get(), L"Parser")) || !(input = FirstInput(reader.Get())) ||
        FAILED(graph_->ConnectDirect(outputs.front().Get(), input.Get(), nullptr))) {
      return {};
    }
  }
  bool rendered = false, whole = true;
  for (const ComPtr<IPin>& output : OutputPins(reader.Get())) {
    const HRESULT hr = graph_->Render(output.Get());
    if (SUCCEEDED(hr)) rendered = true;
    if (hr != S_OK) whole = false;
  }
  if (!rendered) {
    graph_->RemoveFilter(source.Get());
    return {};
  }
  if (wholly) *wholly = whole;
  return source;
}

// The parsers registered for the source's stream other than the one reading
// it, best first.
std::vector<CLSID> CPlaybackEngine::OtherParsers(const ComPtr<IBaseFilter>& source) {
  std::vector<CLSID> parsers;
  const std::vector<ComPtr<IPin>> outputs = source ? OutputPins(source.Get()) : std::vector<ComPtr<IPin>>();
  ComPtr<IPin> parserInput;
  AM_MEDIA_TYPE type = {};
  if (outputs.size() != 1 || FAILED(outputs.front()->ConnectedTo(parserInput.Receive())) || !parserInput ||
      FAILED(outputs.front()->ConnectionMediaType(&type))) {
    return parsers;
  }
  CLSID chosen = CLSID_NULL;
  if (ComPtr<IBaseFilter> parser = FilterOf(parserInput.Get())) parser->GetClassID(&chosen);
  // Every parser of the stream's major type: one that reads any file names no
  // subtype (Wine's GStreamer splitter), and the mapper matches it only to a
  // query without one. Connecting tells which parsers take this stream.
  const GUID stream[2] = {type.majortype, GUID_NULL};
  FreeType(type);
  ComPtr<IFilterMapper2> mapper;
  ComPtr<IEnumMoniker> found;
  if (FAILED(::CoCreateInstance(CLSID_FilterMapper2, nullptr, CLSCTX_INPROC_SERVER, IID_IFilterMapper2,
                                mapper.ReceiveVoid())) ||
      FAILED(mapper->EnumMatchingFilters(found.Receive(), 0, TRUE, MERIT_DO_NOT_USE + 1, TRUE, 1, stream, nullptr,
                                         nullptr, FALSE, TRUE, 0, nullptr, nullptr, nullptr)) ||
      !found) {
    return parsers;
  }
  ComPtr<IMoniker> moniker;
  while (found->Next(1, moniker.Receive(), nullptr) == S_OK) {
    ComPtr<IBaseFilter> parser;
    CLSID id = CLSID_NULL;
    if (SUCCEEDED(moniker->BindToObject(nullptr, nullptr, IID_IBaseFilter, parser.ReceiveVoid())) &&
        SUCCEEDED(parser->GetClassID(&id)) && id != chosen) {
      parsers.push_back(id);
    }
  }
  return parsers;
}

// The media's streams in a graph of their own: as RenderFile would, or read by
// the given parser; with captions, through the overlay, which goes in first so
// that rendering the media connects the picture through it.
HRESULT CPlaybackEngine::RenderMedia(const std::wstring& media, bool withCaptions, REFCLSID parser, bool* whole) {
  HRESULT hr = S_OK;
  if (!graph_ && FAILED(hr = ::CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER,
                                                IID_IGraphBuilder, graph_.ReceiveVoid()))) {
    return hr;
  }
  const ComPtr<IBaseFilter> pictures = AddPictureRenderer();
  if (!withCaptions && parser == CLSID_NULL) {
    hr = graph_->RenderFile(media.c_str(), nullptr);
    *whole = hr == S_OK;
    DropIfUnconnected(pictures);
    return hr;
  }
  if (withCaptions) {
    captionFlags_ = 0;
    if (!captionOverlay_) InsertCaptionFilter();
  }
  const ComPtr<IBaseFilter> source = RenderSource(media, parser, whole);
  DropIfUnconnected(pictures);
  if (!source) return VFW_E_CANNOT_RENDER;
  if (withCaptions) RouteVideoThroughOverlay(source);
  return S_OK;
}

// A file that renders only in part had a stream read by a parser whose
// output no decoder takes: Wine 10 reads AVI files with a splitter of its own
// that hands out MPEG-4 and Motion JPEG pictures still compressed, and has no
// decoder for them, so the sound plays without the picture. As a Windows
// player lets the user pick another splitter, the other parsers registered for
// the file's stream are tried, best first, each in a new graph (a graph that
// had its parser replaced never ends after a seek under Wine 10), and the
// first that renders every stream is kept; when none does, the graph's own
// choice is made again.
bool CPlaybackEngine::RebuildThroughWholeParser(const std::wstring& media, bool withCaptions) {
  std::vector<CLSID> parsers = OtherParsers(FileSourceOf(graph_));
  parsers.push_back(CLSID_NULL);
  for (const CLSID& parser : parsers) {
    captionOverlay_.Reset();
    captionFlags_ = 0;
    graph_.Reset();  // a graph that never ran lets go at once
    bool whole = false;
    if (SUCCEEDED(RenderMedia(media, withCaptions, parser, &whole)) && (whole || parser == CLSID_NULL)) {
      return whole;
    }
  }
  return false;
}

bool CPlaybackEngine::RenderCaptionFile(const std::string& captionPath) {
  const ComPtr<IBaseFilter> source = RenderSource(fw::Widen(captionPath), CLSID_NULL);
  if (!source) return false;
  FindCaptionLanguages(source);
  // The language chosen for an earlier file, when this one has it too.
  const int remembered =
      RememberedLanguageIndex(CaptionLanguages(), settings::Read(settings_, settings::CaptionLanguage));
  if (remembered >= 0) SelectCaptionLanguage(remembered);
  return true;
}

// The languages are offered by the source itself (samiparse.ax) or, where
// the system reads the file with a plain file reader, by the parser right
// behind it: the caption path is followed downstream, a few filters at most.
void CPlaybackEngine::FindCaptionLanguages(const ComPtr<IBaseFilter>& source) {
  ComPtr<IBaseFilter> filter = source;
  for (int i = 0; i < kMostFiltersToTheCaptionParser && filter; ++i) {
    if (SUCCEEDED(filter.As(IID_IAMStreamSelect, captionLanguages_))) return;
    const std::vector<ComPtr<IPin>> inputs = DownstreamInputs(filter.Get());
    filter = inputs.empty() ? ComPtr<IBaseFilter>() : FilterOf(inputs.front().Get());
  }
}

std::vector<CaptionLanguage> CPlaybackEngine::CaptionLanguages() const {
  std::vector<CaptionLanguage> languages;
  DWORD count = 0;
  if (!captionLanguages_ || FAILED(captionLanguages_->Count(&count))) return languages;
  for (DWORD i = 0; i < count; ++i) {
    // An entry for every stream, so that an index selects the same language.
    CaptionLanguage language;
    DWORD flags = 0;
    LCID lcid = 0;
    WCHAR* name = nullptr;
    if (SUCCEEDED(captionLanguages_->Info(static_cast<LONG>(i), nullptr, &flags, &lcid, nullptr, &name, nullptr,
                                          nullptr))) {
      language.name = fw::Narrow(name);
      language.selected = (flags & (AMSTREAMSELECTINFO_ENABLED | AMSTREAMSELECTINFO_EXCLUSIVE)) != 0;
      wchar_t code[LOCALE_NAME_MAX_LENGTH] = {};
      if (lcid != 0 && ::LCIDToLocaleName(lcid, code, LOCALE_NAME_MAX_LENGTH, 0) > 0) {
        language.lang = fw::Narrow(code);
      }
    }
    ::CoTaskMemFree(name);
    languages.push_back(std::move(language));
  }
  return languages;
}

bool CPlaybackEngine::SelectCaptionLanguage(int index) {
  const bool selected = captionLanguages_ && index >= 0 &&
                        SUCCEEDED(captionLanguages_->Enable(static_cast<LONG>(index), AMSTREAMSELECTENABLE_ENABLE));
  // Captions moved in time follow the language from its own timeline.
  if (selected && clockDrives_ && captionFile_.kind == engine::CaptionFileKind::Sami) LoadSamiTimeline(index);
  return selected;
}

void CPlaybackEngine::AnnounceVideoWindow() {
  if (FAILED(graph_.As(IID_IVideoWindow, videoWindow_))) {
    videoWindow_.Reset();
    return;  // an item without video
  }
  ComPtr<IBasicVideo> basic;
  if (SUCCEEDED(graph_.As(IID_IBasicVideo, basic))) {
    long width = 0, height = 0;
    if (SUCCEEDED(basic->GetVideoSize(&width, &height))) {
      basic.Reset();
      // A top-down picture reports its height negative (Wine 10 does for
      // uncompressed frames): the window takes its size all the same.
      videoWindow_->put_Width(width < 0 ? -width : width);
      videoWindow_->put_Height(height < 0 ? -height : height);
    }
  }
  // The graph answers for its video window even without a video stream; the
  // renderer's absence shows here.
  if (FAILED(videoWindow_->put_Visible(OAFALSE))) {
    videoWindow_.Reset();
    return;
  }
  if (HWND owner = OwnerWindow()) {
    ::SendMessageA(owner, WM_PLAYER_VIDEOWINDOW, reinterpret_cast<WPARAM>(videoWindow_.Get()), 1);
  }
}

bool CPlaybackEngine::Close() {
  StopCaptionClock();
  timeline_.Clear();
  clockDrives_ = false;
  captionShiftMs_ = 0;
  note_.clear();
  captionFile_ = {};
  if (captionOverlay_ || filterRegistered_) {
    captionOverlay_.Reset();
    RegisterCaptionFilter(false);
    filterRegistered_ = false;
    captionFlags_ = 0;
  }
  if (videoWindow_) {
    // The owner destroys its video window before the send returns, while the
    // pointer is still good.
    if (HWND owner = OwnerWindow()) {
      ::SendMessageA(owner, WM_PLAYER_VIDEOWINDOW, reinterpret_cast<WPARAM>(videoWindow_.Get()), 0);
    }
    if (videoWindow_) videoWindow_->put_Owner(0);
    videoWindow_.Reset();
  }
  // A dying graph posts nothing more to the window.
  if (events_) events_->SetNotifyWindow(0, 0, 0);
  // Releasing the graph ends playback. The last references go on a thread of
  // their own, so a graph that never stops cannot hold the window with it.
  std::vector<ComPtr<IUnknown>> references;
  auto handOver = [&references](auto& held) {
    if (!held) return;
    ComPtr<IUnknown> reference;
    reference.Attach(held.Detach());
    references.push_back(std::move(reference));
  };
  handOver(captionLanguages_);
  handOver(position_);
  handOver(events_);
  handOver(control_);
  handOver(graph_);
  if (!references.empty()) ReleaseAside(std::move(references), kGraphReleaseWaitMs);
  captionFlags_ = 0;
  return true;
}

void CPlaybackEngine::RegisterCaptionFilter(bool registerIt) {
  HMODULE module = ::LoadLibraryA(KARVEX_MODULE_NAME);
  if (!module) return;
  using Entry = HRESULT(STDAPICALLTYPE*)();
  FARPROC proc = ::GetProcAddress(module, registerIt ? "DllRegisterServer" : "DllUnregisterServer");
  if (proc) reinterpret_cast<Entry>(reinterpret_cast<void*>(proc))();
  ::FreeLibrary(module);
}

void CPlaybackEngine::HandleGraphEvents() {
  while (events_) {
    // Our own reference: a receiver of the messages below may close the engine.
    ComPtr<IMediaEventEx> events(events_);
    long code = 0;
    LONG_PTR param1 = 0, param2 = 0;
    if (FAILED(events->GetEvent(&code, &param1, &param2, 0))) return;
    if (code == EC_COMPLETE) {
      if (HWND owner = OwnerWindow()) ::PostMessageA(owner, WM_PLAYER_ENDOFMEDIA, 0, 0);
    } else if (code == EC_OLE_EVENT && param1 && !clockDrives_) {
      RouteCaption(param1, param2);
    }
    events->FreeEventParams(code, param1, param2);
  }
}

void CPlaybackEngine::RouteCaption(LONG_PTR kind, LONG_PTR text) {
  if (!videoWindow_) return;
  // Read at every caption: the video window writes the mode when it changes.
  const int32_t mode = settings::Read(settings_, settings::CaptionMode);
  if (captionOverlay_) {
    if (mode == video::kCaptionOverlay) {
      char ansi[KARVEX_MAX_CAPTION_BYTES];
      CaptionToAnsi(reinterpret_cast<const wchar_t*>(text), ansi);
      captionOverlay_->SetCaptionText(ansi);
    } else {
      captionOverlay_->SetCaptionText("");
    }
  }
  OAHWND window = 0;
  if (SUCCEEDED(videoWindow_->get_Owner(&window)) && window) {
    ::SendMessageA(reinterpret_cast<HWND>(window), WM_PLAYER_CAPTIONTEXT, static_cast<WPARAM>(kind),
                   text);
  }
}

bool CPlaybackEngine::Play(const std::string& path) {
  if (!control_ && !Open(path)) return false;
  // Where the item stands is read before stopping: a stop may report the
  // position of the last seek or pause instead (Wine does), which would send a
  // running item back there and hide that it had reached its end.
  REFTIME duration = 0, current = 0;
  if (position_) {
    position_->get_Duration(&duration);
    position_->get_CurrentPosition(&current);
  }
  control_->Stop();
  if (position_) position_->put_CurrentPosition(current < duration ? current : 0);
  const HRESULT hr = control_->Run();
  lastFailure_ = FAILED(hr) ? hr : S_OK;
  return SUCCEEDED(hr);
}

std::string CPlaybackEngine::FailureText(HRESULT failure) {
  // The usual ways a file fails, in the words a user needs.
  switch (failure) {
    case VFW_E_CANNOT_RENDER: return "no decoder for its format";
    case VFW_E_UNSUPPORTED_STREAM: return "its format is not supported";
    case VFW_E_UNKNOWN_FILE_TYPE: return "not a media file";
    case VFW_E_INVALID_FILE_FORMAT: return "the file is damaged";
    default: break;
  }
  wchar_t text[256] = {};
  // The system's texts (a missing file), else DirectShow's (no decoder).
  if (::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, static_cast<DWORD>(failure),
                       0, text, 256, nullptr) == 0) {
    text[0] = L'\0';
    ::AMGetErrorTextW(failure, text, 256);
  }
  std::string said = fw::Narrow(text);
  while (!said.empty() && (said.back() == '\n' || said.back() == '\r' || said.back() == ' ' || said.back() == '.')) {
    said.pop_back();
  }
  if (said.empty()) {
    char code[16];
    std::snprintf(code, sizeof(code), "0x%08lX", static_cast<unsigned long>(failure));
    said = code;
  }
  return said;
}

bool CPlaybackEngine::Stop() {
  Close();
  return false;
}

bool CPlaybackEngine::Pause() { return control_ && SUCCEEDED(control_->Pause()); }

EngineState CPlaybackEngine::GetState(uint32_t timeoutMs) const {
  if (!control_) return EngineState::Stopped;
  OAFilterState state = State_Stopped;
  // VFW_S_STATE_INTERMEDIATE is a success: the state the graph reports counts.
  if (FAILED(control_->GetState(static_cast<LONG>(timeoutMs), &state))) return EngineState::Stopped;
  switch (state) {
    case State_Paused:
      return EngineState::Paused;
    case State_Running:
      return EngineState::Running;
    default:
      return EngineState::Stopped;
  }
}

int32_t CPlaybackEngine::GetPosition() const {
  REFTIME seconds = 0;
  if (!position_ || FAILED(position_->get_CurrentPosition(&seconds))) return -1;
  return engine::WholeSeconds(seconds);
}

bool CPlaybackEngine::SetPosition(int32_t seconds) {
  if (!position_) return false;
  // A seek of a running or paused graph that carries both sound and picture
  // leaves Wine's parser unable to finish or stop the item; a stopped graph
  // seeks cleanly. So the graph is stopped around the seek and put back in
  // the state it was in, which any graph accepts.
  OAFilterState state = State_Stopped;
  if (control_ && FAILED(control_->GetState(0, &state))) state = State_Stopped;
  if (state != State_Stopped) control_->Stop();
  const bool moved = SUCCEEDED(position_->put_CurrentPosition(static_cast<REFTIME>(seconds)));
  if (state == State_Running) {
    control_->Run();
  } else if (state == State_Paused) {
    control_->Pause();
  }
  return moved;
}

bool CPlaybackEngine::HasRunPastItsEnd() const {
  if (!position_ || GetState(0) != EngineState::Running) return false;
  REFTIME duration = 0, current = 0;
  if (FAILED(position_->get_Duration(&duration)) || FAILED(position_->get_CurrentPosition(&current))) {
    return false;
  }
  return engine::HasRunPastEnd(current, duration, kOverrunGraceSeconds);
}

int32_t CPlaybackEngine::GetDuration() const {
  REFTIME seconds = 0;
  if (!position_ || FAILED(position_->get_Duration(&seconds))) return -1;
  return engine::WholeSeconds(seconds);
}

bool CPlaybackEngine::SeekAtClick(const RECT& track, int x) {
  if (GetState(kSeekStateWaitMs) != EngineState::Running) return false;
  const auto target = engine::SeekTargetAtClick(track.left, track.right, x, GetDuration());
  if (!target) return false;
  SetPosition(*target);
  return true;
}

}  // namespace velk
