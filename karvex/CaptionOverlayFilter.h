// The caption overlay: an in-place video transform that draws the current
// caption as white text into a band at the bottom of every frame. The player
// hands it each caption through ICaptionOverlay::SetCaptionText; the filter
// cleans the text, draws it once into a caption picture made ready for the
// connected frame format, and per frame only merges that picture.
//
// Pins: "Input" and "Output" (the two the filter shows and registers), and a
// hidden "CC Input" that takes only text types and drops what it receives.
//
// Threads: SetCaptionText runs on the player's thread, Transform on the
// streaming thread, StartStreaming/StopStreaming on the graph's thread. The
// caption lock guards the text, the caption picture and its memory across all
// of them.
#pragma once

#include <windows.h>
#include <dshow.h>

#include "karvex/CaptionRaster.h"
#include "platform/dshow/TransInPlace.h"
#include "shared/CaptionOverlay.h"

namespace velk {

class CCaptionOverlayFilter : public dshow::CTransInPlaceFilter,
                              public ICaptionOverlay,
                              public ISpecifyPropertyPages {
 public:
  static dshow::CUnknown* CreateInstance(IUnknown* outer, HRESULT* hr);
  explicit CCaptionOverlayFilter(IUnknown* outer);
  ~CCaptionOverlayFilter() override;

  VELK_DECLARE_IUNKNOWN
  HRESULT STDMETHODCALLTYPE NonDelegatingQueryInterface(REFIID iid, void** out) override;

  // ICaptionOverlay
  HRESULT STDMETHODCALLTYPE Reserved1(DWORD value) override;
  HRESULT STDMETHODCALLTYPE Reserved2(DWORD value) override;
  HRESULT STDMETHODCALLTYPE SetCaptionText(const char* text) override;
  // ISpecifyPropertyPages
  HRESULT STDMETHODCALLTYPE GetPages(CAUUID* pages) override;

  // Two visible pins; GetPin(2) is the hidden "CC Input".
  int GetPinCount() override { return 2; }
  dshow::CBasePin* GetPin(int n) override;
  bool CreatePins() override;

  HRESULT CheckInputType(const dshow::CMediaType& type) override;
  HRESULT CheckTransform(const dshow::CMediaType& in, const dshow::CMediaType& out) override;
  HRESULT GetMediaType(int position, dshow::CMediaType* type) override;
  HRESULT SetMediaType(PIN_DIRECTION direction, const dshow::CMediaType& type) override;
  HRESULT StartStreaming() override;
  HRESULT StopStreaming() override;
  HRESULT Transform(IMediaSample* sample) override;

  // What the filter holds, for its tests.
  BITMAPINFOHEADER VideoHeader();
  std::string CaptionText();
  RECT CaptionRect();
  bool HasMmx() const { return hasMmx_ != FALSE; }
  // Text pixels of the caption ready for merging (0 when none).
  size_t PreparedTextPixels();

 private:
  // Frame layout of the input's connection type; false for one we cannot draw into.
  bool UpdateLayout(const dshow::CMediaType& type);
  // Draws the kept text for the current layout. Caption lock held.
  void RenderCaption();

  dshow::CTransInPlaceInputPin* ccInput_ = nullptr;
  dshow::CCritSec captionLock_;
  char captionText_[2048] = {};
  RECT captionRect_ = {};
  BITMAPINFOHEADER videoHeader_ = {};
  BOOL hasMmx_ = FALSE;
  bool streaming_ = false;
  bool layoutValid_ = false;
  CaptionFrameLayout layout_;
  CaptionMask mask_;
  CPreparedCaption caption_;
};

}  // namespace velk
