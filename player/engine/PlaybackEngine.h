// The playback engine: owns the DirectShow filter graph of the item being
// played, puts the caption overlay filter into it when a SAMI file lies beside
// the media, and turns graph events into messages for its owner window. It
// never creates a window; it only sends and posts messages.
//
// Everything runs on the user-interface thread. The graph's own threads reach
// the engine only through WM_PLAYER_GRAPHEVENT, which the graph posts to the
// owner and the owner answers with HandleGraphEvents.
#pragma once

#include <windows.h>
#include <dshow.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/framework/ComPtr.h"
#include "core/SettingsStore.h"
#include "player/engine/CaptionFiles.h"
#include "player/engine/CaptionLanguages.h"
#include "core/EngineState.h"
#include "shared/CaptionOverlay.h"

namespace velk {

namespace fw {
class CWnd;
}

class CPlaybackEngine : public ICaptionLanguages {
 public:
  // Captions: bit 0, the caption file was rendered; bit 1, the overlay filter
  // is in the graph.
  static constexpr uint32_t kCaptionRendered = 1;
  static constexpr uint32_t kOverlayInGraph = 2;

  // Initialises COM for the calling thread; the owner may be null. settings:
  // the caption mode and the remembered caption language are read there.
  explicit CPlaybackEngine(fw::CWnd* owner, ISettingsStore& settings = AppSettings());
  virtual ~CPlaybackEngine();
  CPlaybackEngine(const CPlaybackEngine&) = delete;
  CPlaybackEngine& operator=(const CPlaybackEngine&) = delete;

  // Builds the graph of a file path or network location (passed unchanged),
  // closing what was open. The owner gets WM_PLAYER_VIDEOWINDOW (1) when the
  // item has video. A failed open leaves its partial graph for the next Open
  // or Close to release.
  bool Open(const std::string& path);
  // Releases the graph in a fixed order; the owner gets WM_PLAYER_VIDEOWINDOW
  // (0) first when there was video. The graph's last references are let go
  // off this thread, waiting a short while for them, so a graph that never
  // stops cannot freeze the caller. Always true, also when already closed.
  bool Close();
  // Redirects the graph's notifications to the new owner (or to none).
  bool SetOwner(fw::CWnd* owner);
  // Drains the graph's event queue; the owner calls it for WM_PLAYER_GRAPHEVENT.
  void HandleGraphEvents();
  // Loads "Karvex.ax" by name and calls its DllRegisterServer (true) or
  // DllUnregisterServer (false). A missing module or export is ignored.
  void RegisterCaptionFilter(bool registerIt);

  // Opens `path` when nothing is open, otherwise restarts or resumes the open
  // item from where it stands (from the start once it reached its end).
  bool Play(const std::string& path);
  // Stopping closes the graph; always false.
  bool Stop();
  bool Pause();
  // Stopped (also: closed, or the query failed), Paused or Running; waits up to timeoutMs for a change in progress.
  EngineState GetState(uint32_t timeoutMs) const;
  // Whole seconds, -1 when not available.
  int32_t GetPosition() const;
  bool SetPosition(int32_t seconds);
  int32_t GetDuration() const;
  // True while the item runs on well past its length without the graph
  // reporting its end (a stuck decoder): the owner then ends it itself.
  bool HasRunPastItsEnd() const;

  // A click at x on the seek track (client coordinates): seeks in proportion
  // while the graph runs. True when a position was set, so the caller redraws
  // the track; a click while paused or stopped, or on a track without width,
  // does nothing.
  bool SeekAtClick(const RECT& track, int x);

  // The languages of the open item's captions in the caption file's order,
  // asked of the caption parser each time; empty without captions or when
  // the file has no language classes.
  std::vector<CaptionLanguage> CaptionLanguages() const override;
  // Shows the captions of language `index` (of CaptionLanguages) from now on,
  // also while playing: the caption on screen stays until the language's
  // next one. False when there is no such language.
  bool SelectCaptionLanguage(int index) override;

  // Moves the open item's captions in time by stepMs (negative: earlier; 0
  // puts them back in time) until the item closes. The new shift shows for a
  // moment in place of the caption, in the strip or the picture. False
  // without captions.
  bool ShiftCaptions(int32_t stepMs);
  int32_t CaptionShiftMs() const { return captionShiftMs_; }

  // Why the last Open or Play failed (S_OK when it did not), and that in words.
  HRESULT LastFailure() const { return lastFailure_; }
  static std::string FailureText(HRESULT failure);

  bool IsOpen() const { return static_cast<bool>(control_); }
  uint32_t CaptionFlags() const { return captionFlags_; }
  bool HasVideoWindow() const { return static_cast<bool>(videoWindow_); }
  bool HasCaptionOverlay() const { return static_cast<bool>(captionOverlay_); }
  // The open graph itself, for diagnostics; null while closed.
  IGraphBuilder* Graph() const { return graph_.Get(); }

 private:
  HWND OwnerWindow() const;
  void InsertCaptionFilter();
  HRESULT RenderMedia(const std::wstring& media, bool withCaptions, REFCLSID parser, bool* whole);
  bool RebuildThroughWholeParser(const std::wstring& media, bool withCaptions);
  // The file's source with its streams rendered, read by `parser` unless it
  // is CLSID_NULL; `wholly` tells whether every stream was rendered.
  ComPtr<IBaseFilter> RenderSource(const std::wstring& path, REFCLSID parser, bool* wholly = nullptr);
  static std::vector<CLSID> OtherParsers(const ComPtr<IBaseFilter>& source);
  ComPtr<IBaseFilter> AddPictureRenderer();
  void DropIfUnconnected(const ComPtr<IBaseFilter>& renderer);
  void RouteVideoThroughOverlay(const ComPtr<IBaseFilter>& source);
  bool RenderCaptionFile(const std::string& captionPath);
  void FindCaptionLanguages(const ComPtr<IBaseFilter>& source);
  void AnnounceVideoWindow();
  void RouteCaption(LONG_PTR kind, LONG_PTR text);
  // Captions by the graph's clock: SubRip and WebVTT files always, a SAMI
  // file once its captions are moved in time.
  bool LoadCaptionCues(const engine::CaptionFileCandidate& file);
  bool LoadSamiTimeline(int32_t language);
  void StartCaptionClock();
  void StopCaptionClock();
  static void CALLBACK OnCaptionTick(HWND window, UINT message, UINT_PTR id, DWORD time);
  void ShowClockCaption();
  void RouteClockCaption(const std::string& utf8);

  ISettingsStore& settings_;
  fw::CWnd* owner_ = nullptr;
  ComPtr<IGraphBuilder> graph_;
  ComPtr<IMediaControl> control_;  // the engine is open exactly while this is held
  ComPtr<IMediaEventEx> events_;
  ComPtr<IMediaPosition> position_;
  ComPtr<IVideoWindow> videoWindow_;
  ComPtr<ICaptionOverlay> captionOverlay_;
  // The caption parser's languages, on the caption path only: never another
  // filter's streams (the media's own splitter may offer some).
  ComPtr<IAMStreamSelect> captionLanguages_;
  uint32_t captionFlags_ = 0;
  HRESULT lastFailure_ = S_OK;
  engine::CaptionFileCandidate captionFile_{};
  engine::CCaptionTimeline timeline_;
  bool clockDrives_ = false;   // the timeline shows the captions, not the graph's events
  HWND clockWindow_ = nullptr;  // where the clock's timer runs, while it does
  int32_t shownCaption_ = -1;  // the timeline's index on screen; kNoneShown to show anew
  int32_t captionShiftMs_ = 0;
  std::string note_;           // shown in place of the caption until noteUntil_
  DWORD noteUntil_ = 0;
  // The filter module was registered for the open item (even if the filter
  // could not join the graph): the close unregisters it.
  bool filterRegistered_ = false;
  // CoUninitialize only balances a CoInitialize that succeeded.
  bool comInitialized_ = false;
};

}  // namespace velk
