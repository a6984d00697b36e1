#include "karvex/CaptionOverlayFilter.h"

#include <cstring>
#include <new>

#if defined(_MSC_VER)
#include <intrin.h>
#else
#include <cpuid.h>
#endif

#include "karvex/CaptionPainter.h"
#include "core/CaptionText.h"

namespace velk {

using dshow::CAutoLock;
using dshow::CBasePin;
using dshow::CMediaType;

namespace {

// CPUID function 1, EDX bit 23.
BOOL DetectMmx() {
#if defined(_MSC_VER)
  int regs[4] = {};
  __cpuid(regs, 0);
  if (regs[0] < 1) return FALSE;
  __cpuid(regs, 1);
  return (regs[3] & 0x800000) != 0;
#else
  unsigned a = 0, b = 0, c = 0, d = 0;
  if (!__get_cpuid(1, &a, &b, &c, &d)) return FALSE;
  return (d & 0x800000) != 0;
#endif
}

const VIDEOINFOHEADER* VideoInfo(const AM_MEDIA_TYPE& type) {
  if (type.formattype != FORMAT_VideoInfo || !type.pbFormat || type.cbFormat < sizeof(VIDEOINFOHEADER))
    return nullptr;
  return reinterpret_cast<const VIDEOINFOHEADER*>(type.pbFormat);
}

bool IsRgb565(const AM_MEDIA_TYPE& type, const BITMAPINFOHEADER& header) {
  if (type.subtype == MEDIASUBTYPE_RGB565) return true;
  if (header.biCompression == BI_BITFIELDS && type.cbFormat >= sizeof(VIDEOINFOHEADER) + 3 * sizeof(DWORD)) {
    const auto* masks = reinterpret_cast<const DWORD*>(type.pbFormat + sizeof(VIDEOINFOHEADER));
    return masks[1] == 0x07E0;
  }
  return false;
}

// The hidden pin: takes text types only, keeps its type to itself and drops
// every sample after the usual checks.
class CCaptionTextPin : public dshow::CTransInPlaceInputPin {
 public:
  explicit CCaptionTextPin(dshow::CTransInPlaceFilter* filter)
      : CTransInPlaceInputPin(filter, L"CC Input") {}

  HRESULT CheckMediaType(const CMediaType& type) override {
    return type.majortype == MEDIATYPE_Text ? S_OK : E_INVALIDARG;
  }
  HRESULT SetMediaType(const CMediaType& type) override { return CBasePin::SetMediaType(type); }
  HRESULT STDMETHODCALLTYPE Receive(IMediaSample* sample) override {
    return CBaseInputPin::Receive(sample);
  }
};

}  // namespace

dshow::CUnknown* CCaptionOverlayFilter::CreateInstance(IUnknown* outer, HRESULT* hr) {
  auto* filter = new (std::nothrow) CCaptionOverlayFilter(outer);
  if (!filter) *hr = E_OUTOFMEMORY;
  return filter;
}

CCaptionOverlayFilter::CCaptionOverlayFilter(IUnknown* outer)
    : CTransInPlaceFilter(outer, CLSID_Karvex), hasMmx_(DetectMmx()) {}

CCaptionOverlayFilter::~CCaptionOverlayFilter() { delete ccInput_; }

HRESULT STDMETHODCALLTYPE CCaptionOverlayFilter::NonDelegatingQueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  if (iid == IID_ICaptionOverlay) return dshow::GetInterface(static_cast<ICaptionOverlay*>(this), out);
  if (iid == IID_ISpecifyPropertyPages)
    return dshow::GetInterface(static_cast<ISpecifyPropertyPages*>(this), out);
  return CTransInPlaceFilter::NonDelegatingQueryInterface(iid, out);
}

HRESULT STDMETHODCALLTYPE CCaptionOverlayFilter::Reserved1(DWORD) { return S_OK; }
HRESULT STDMETHODCALLTYPE CCaptionOverlayFilter::Reserved2(DWORD) { return S_OK; }

HRESULT STDMETHODCALLTYPE CCaptionOverlayFilter::SetCaptionText(const char* text) {
  try {
    std::string cleaned = CleanCaptionText(text ? text : "");
    CAutoLock lock(&captionLock_);
    size_t n = cleaned.size() < sizeof(captionText_) - 1 ? cleaned.size() : sizeof(captionText_) - 1;
    std::memcpy(captionText_, cleaned.data(), n);
    captionText_[n] = '\0';
    // An empty caption keeps the old picture, which is then not merged.
    if (captionText_[0]) RenderCaption();
  } catch (...) {
    CAutoLock lock(&captionLock_);
    captionText_[0] = '\0';
  }
  return S_OK;
}

HRESULT STDMETHODCALLTYPE CCaptionOverlayFilter::GetPages(CAUUID* pages) {
  if (!pages) return E_POINTER;
  pages->cElems = 1;
  pages->pElems = static_cast<GUID*>(::CoTaskMemAlloc(sizeof(GUID)));
  if (!pages->pElems) return E_OUTOFMEMORY;
  pages->pElems[0] = CLSID_CaptionInfoPage;
  return S_OK;
}

bool CCaptionOverlayFilter::CreatePins() {
  if (!input_) input_ = new (std::nothrow) dshow::CTransInPlaceInputPin(this, L"Input");
  if (!ccInput_) ccInput_ = new (std::nothrow) CCaptionTextPin(this);
  if (input_ && !output_) {
    output_ = new (std::nothrow) dshow::CTransInPlaceOutputPin(this, L"Output");
    if (!output_) {
      delete input_;
      input_ = nullptr;
    }
  }
  return input_ && output_ && ccInput_;
}

CBasePin* CCaptionOverlayFilter::GetPin(int n) {
  CreatePins();
  switch (n) {
    case 0: return input_;
    case 1: return output_;
    case 2: return ccInput_;
    default: return nullptr;
  }
}

HRESULT CCaptionOverlayFilter::CheckInputType(const CMediaType& type) {
  if (type.formattype != FORMAT_VideoInfo) return E_INVALIDARG;
  const VIDEOINFOHEADER* info = VideoInfo(type);
  if (!info) return E_INVALIDARG;  // a format block too short to hold the header
  BITMAPINFOHEADER header = info->bmiHeader;
  {
    CAutoLock lock(&captionLock_);
    videoHeader_ = header;
  }
  // The MPEG-4 family ("MP42", "MP43", "MPG4", ...).
  if ((header.biCompression & 0xFFFF) == 0x504D) return E_INVALIDARG;
  // Only frames the caption can be merged into: compressed frames would be
  // corrupted, so a decoder must come first.
  if (CaptionFormatFromHeader(header.biCompression, header.biBitCount, IsRgb565(type, header)) ==
      CaptionPixelFormat::None)
    return E_INVALIDARG;
  return S_OK;
}

HRESULT CCaptionOverlayFilter::CheckTransform(const CMediaType&, const CMediaType&) { return S_OK; }

HRESULT CCaptionOverlayFilter::GetMediaType(int, CMediaType*) { return E_UNEXPECTED; }

bool CCaptionOverlayFilter::UpdateLayout(const CMediaType& type) {
  layoutValid_ = false;
  const VIDEOINFOHEADER* info = VideoInfo(type);
  if (!info) return false;
  const BITMAPINFOHEADER& h = info->bmiHeader;
  CaptionPixelFormat format = CaptionFormatFromHeader(h.biCompression, h.biBitCount, IsRgb565(type, h));
  layoutValid_ = MakeCaptionFrameLayout(format, h.biWidth, h.biHeight, 0, &layout_);
  return layoutValid_;
}

void CCaptionOverlayFilter::RenderCaption() {
  // Nothing to draw into before streaming starts: the text waits.
  if (!streaming_ || !layoutValid_ || !captionText_[0]) {
    caption_.Clear();
    return;
  }
  int32_t h = 0;
  PaintCaption(captionText_, layout_.width, layout_.height, &mask_, &h);
  captionRect_ = RECT{0, 0, layout_.width, h};
  PrepareCaption(mask_, layout_, &caption_);
}

HRESULT CCaptionOverlayFilter::SetMediaType(PIN_DIRECTION direction, const CMediaType& type) {
  if (direction != PINDIR_INPUT) return S_OK;
  CAutoLock lock(&captionLock_);
  // A format change while streaming (a sample carrying a new type).
  if (streaming_) {
    try {
      UpdateLayout(type);
      RenderCaption();
    } catch (...) {
      caption_.Clear();
    }
  }
  return S_OK;
}

HRESULT CCaptionOverlayFilter::StartStreaming() {
  CAutoLock lock(&captionLock_);
  streaming_ = true;
  try {
    UpdateLayout(input_->CurrentMediaType());
    // A restart with the text kept draws it again.
    RenderCaption();
  } catch (...) {
    caption_.Clear();
  }
  return S_OK;
}

HRESULT CCaptionOverlayFilter::StopStreaming() {
  CAutoLock lock(&captionLock_);
  streaming_ = false;
  caption_ = CPreparedCaption();
  mask_ = CaptionMask();
  return S_OK;
}

HRESULT CCaptionOverlayFilter::Transform(IMediaSample* sample) {
  CAutoLock lock(&captionLock_);
  if (!captionText_[0] || caption_.IsEmpty()) return S_OK;
  BYTE* data = nullptr;
  if (FAILED(sample->GetPointer(&data)) || !data) return S_OK;
  long length = sample->GetActualDataLength();
  long size = sample->GetSize();
  if (length <= 0 || length > size) length = size;
  if (length <= 0) return S_OK;
  MergeCaption(caption_, data, static_cast<size_t>(length),
               hasMmx_ && CaptionSimdAvailable() ? CaptionMergePath::Simd : CaptionMergePath::Scalar);
  return S_OK;
}

BITMAPINFOHEADER CCaptionOverlayFilter::VideoHeader() {
  CAutoLock lock(&captionLock_);
  return videoHeader_;
}

std::string CCaptionOverlayFilter::CaptionText() {
  CAutoLock lock(&captionLock_);
  return captionText_;
}

RECT CCaptionOverlayFilter::CaptionRect() {
  CAutoLock lock(&captionLock_);
  return captionRect_;
}

size_t CCaptionOverlayFilter::PreparedTextPixels() {
  CAutoLock lock(&captionLock_);
  return captionText_[0] ? caption_.TextPixels() : 0;
}

}  // namespace velk
