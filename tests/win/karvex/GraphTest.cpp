// Karvex in real graphs under Wine: registered from the built module, added
// before the video is rendered, connected on both pins, seeking through it,
// and captions seen in the frames it hands on (a sample grabber after it).
#include <gtest/gtest.h>

#include <qedit.h>

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

#include "KarvexTestUtil.h"
#include "shared/CaptionOverlay.h"
#include "tests/support/MediaGen.h"

// In the system's strmiids library; the header leaves it out.
EXTERN_C const CLSID CLSID_SampleGrabber;
EXTERN_C const CLSID CLSID_NullRenderer;

using karvextest::CKarvexModule;
using velk::ComPtr;

namespace {

constexpr REFERENCE_TIME kSecond = 10000000;

// Keeps a copy of the latest frame that passed the grabber.
class CFrameCatcher : public ISampleGrabberCB {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (iid == IID_IUnknown || iid == IID_ISampleGrabberCB) {
      *out = static_cast<ISampleGrabberCB*>(this);
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE SampleCB(double, IMediaSample* sample) override {
    BYTE* data = nullptr;
    if (FAILED(sample->GetPointer(&data))) return S_OK;
    std::lock_guard<std::mutex> lock(mutex_);
    latest_.assign(data, data + sample->GetActualDataLength());
    ++count_;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE BufferCB(double, BYTE*, long) override { return E_NOTIMPL; }

  int Count() const { return count_; }
  std::vector<uint8_t> Latest() {
    std::lock_guard<std::mutex> lock(mutex_);
    return latest_;
  }
  // Waits until `more` frames arrived after `since`; false after 5 s.
  bool WaitFor(int since, int more) {
    for (int i = 0; i < 500; ++i) {
      if (count_ >= since + more) return true;
      ::Sleep(10);
    }
    return false;
  }

 private:
  std::mutex mutex_;
  std::vector<uint8_t> latest_;
  std::atomic<int> count_{0};
};

ComPtr<IPin> FindPin(IBaseFilter* filter, const wchar_t* id) {
  ComPtr<IPin> pin;
  filter->FindPin(id, pin.Receive());
  return pin;
}

ComPtr<IPin> FirstPin(IBaseFilter* filter, PIN_DIRECTION want) {
  ComPtr<IEnumPins> pins;
  filter->EnumPins(pins.Receive());
  ComPtr<IPin> pin;
  while (pins && pins->Next(1, pin.Receive(), nullptr) == S_OK) {
    PIN_DIRECTION dir;
    pin->QueryDirection(&dir);
    if (dir == want) return pin;
  }
  return ComPtr<IPin>();
}

// Pixels of the bottom band that are white, for the frame formats the
// renderer takes; `height` is the header's, negative for a top-down frame
// (Wine 10 hands uncompressed RGB over top-down).
int WhiteInBand(const GUID& subtype, int w, int height, const std::vector<uint8_t>& frame) {
  const int h = height < 0 ? -height : height;
  int count = 0;
  if (subtype == MEDIASUBTYPE_YV12 || subtype == MEDIASUBTYPE_NV12 || subtype == MEDIASUBTYPE_IYUV) {
    for (int y = h - 48; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        size_t i = static_cast<size_t>(y) * w + x;
        if (i < frame.size() && frame[i] >= 230) ++count;
      }
    return count;
  }
  if (subtype == MEDIASUBTYPE_YUY2 || subtype == MEDIASUBTYPE_UYVY) {
    int off = subtype == MEDIASUBTYPE_YUY2 ? 0 : 1;
    for (int y = h - 48; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        size_t i = static_cast<size_t>(y) * w * 2 + x * 2 + off;
        if (i < frame.size() && frame[i] >= 230) ++count;
      }
    return count;
  }
  int bpp = subtype == MEDIASUBTYPE_RGB24 ? 3 : 4;
  int stride = (w * bpp + 3) & ~3;
  // Bottom-up, the picture's bottom rows come first; top-down, last.
  for (int y = height < 0 ? h - 48 : 0; y < (height < 0 ? h : 48); ++y)
    for (int x = 0; x < w; ++x) {
      size_t i = static_cast<size_t>(y) * stride + x * bpp;
      if (i + 2 < frame.size() && frame[i] >= 0xF0 && frame[i + 1] >= 0xF0 && frame[i + 2] >= 0xF0) ++count;
    }
  return count;
}

class KarvexGraph : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(module_.Loaded());
    ASSERT_EQ(S_OK, module_.Register());
    char dir[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, dir);
    path_ = std::string(dir) + "karvex_graph_test.avi";
    velk::testmedia::VideoSpec clip;  // 320 x 240, 10 fps, 3 s
    ASSERT_TRUE(velk::testmedia::WriteFile(path_, velk::testmedia::MakeAvi(clip)));
    ASSERT_EQ(S_OK, ::CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                                       graph_.ReceiveVoid()));
    ASSERT_EQ(S_OK, ::CoCreateInstance(CLSID_Karvex, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                                       karvex_.ReceiveVoid()));
    ASSERT_EQ(S_OK, graph_->AddFilter(karvex_.Get(), KARVEX_FILTER_NAME));
    ASSERT_EQ(S_OK, karvex_.As(IID_ICaptionOverlay, overlay_));
  }

  void TearDown() override {
    ComPtr<IMediaControl> control;
    if (graph_ && SUCCEEDED(graph_.As(IID_IMediaControl, control))) control->Stop();
    overlay_.Reset();
    karvex_.Reset();
    grabber_.Reset();
    graph_.Reset();
    ::DeleteFileA(path_.c_str());
    EXPECT_EQ(S_OK, module_.Unregister());
  }

  // Renders the video with Karvex in front of the renderer; the pre-added
  // filter takes the decoded stream.
  void Render() {
    std::wstring wide(path_.begin(), path_.end());
    ASSERT_EQ(S_OK, graph_->RenderFile(wide.c_str(), nullptr));
  }

  // Replaces the video renderer behind Karvex with a sample grabber and a
  // null renderer (Wine's video renderer cannot be connected a second time).
  void InsertGrabber(CFrameCatcher* catcher) {
    ComPtr<IPin> out = FindPin(karvex_.Get(), L"Out");
    ComPtr<IPin> videoIn;
    ASSERT_EQ(S_OK, out->ConnectedTo(videoIn.Receive()));
    PIN_INFO video = {};
    ASSERT_EQ(S_OK, videoIn->QueryPinInfo(&video));
    ComPtr<IBaseFilter> videoRenderer;
    videoRenderer.Attach(video.pFilter);
    ASSERT_EQ(S_OK, graph_->RemoveFilter(videoRenderer.Get()));
    ComPtr<IBaseFilter> nullRenderer;
    ASSERT_EQ(S_OK, ::CoCreateInstance(CLSID_NullRenderer, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                                       nullRenderer.ReceiveVoid()));
    ASSERT_EQ(S_OK, graph_->AddFilter(nullRenderer.Get(), L"Null Renderer"));
    ComPtr<IPin> rendererIn = FirstPin(nullRenderer.Get(), PINDIR_INPUT);

    ComPtr<IBaseFilter> grabberFilter;
    ASSERT_EQ(S_OK, ::CoCreateInstance(CLSID_SampleGrabber, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                                       grabberFilter.ReceiveVoid()));
    ASSERT_EQ(S_OK, graph_->AddFilter(grabberFilter.Get(), L"Grabber"));
    ASSERT_EQ(S_OK, grabberFilter.As(IID_ISampleGrabber, grabber_));
    AM_MEDIA_TYPE want = {};
    want.majortype = MEDIATYPE_Video;
    grabber_->SetMediaType(&want);
    grabber_->SetBufferSamples(FALSE);
    grabber_->SetOneShot(FALSE);
    grabber_->SetCallback(catcher, 0);
    ASSERT_EQ(S_OK, graph_->ConnectDirect(out.Get(), FirstPin(grabberFilter.Get(), PINDIR_INPUT).Get(), nullptr));
    ASSERT_EQ(S_OK, graph_->ConnectDirect(FirstPin(grabberFilter.Get(), PINDIR_OUTPUT).Get(), rendererIn.Get(),
                                          nullptr));
  }

  CFrameCatcher catcher_;  // outlives the grabber that calls it
  CKarvexModule module_;
  std::string path_;
  ComPtr<IGraphBuilder> graph_;
  ComPtr<IBaseFilter> karvex_;
  ComPtr<ICaptionOverlay> overlay_;
  ComPtr<ISampleGrabber> grabber_;
};

TEST_F(KarvexGraph, BothPinsConnectAndTheGraphSeeksThroughTheFilter) {
  ASSERT_NO_FATAL_FAILURE(Render());
  ComPtr<IPin> in = FindPin(karvex_.Get(), L"In");
  ComPtr<IPin> out = FindPin(karvex_.Get(), L"Out");
  ComPtr<IPin> upstream, downstream;
  ASSERT_EQ(S_OK, in->ConnectedTo(upstream.Receive())) << "the decoded video goes through Karvex";
  ASSERT_EQ(S_OK, out->ConnectedTo(downstream.Receive())) << "the renderer took Karvex's output";
  AM_MEDIA_TYPE inType = {}, outType = {};
  ASSERT_EQ(S_OK, in->ConnectionMediaType(&inType));
  ASSERT_EQ(S_OK, out->ConnectionMediaType(&outType));
  EXPECT_TRUE(inType.subtype == outType.subtype) << "frames leave as they came";
  velk::dshow::FreeMediaType(inType);
  velk::dshow::FreeMediaType(outType);

  ComPtr<IMediaSeeking> seeking;
  ASSERT_EQ(S_OK, graph_.As(IID_IMediaSeeking, seeking));
  LONGLONG duration = 0;
  ASSERT_EQ(S_OK, seeking->GetDuration(&duration));
  EXPECT_NEAR(3 * kSecond, duration, kSecond / 10);

  ComPtr<IMediaControl> control;
  ASSERT_EQ(S_OK, graph_.As(IID_IMediaControl, control));
  control->Pause();
  OAFilterState state;
  control->GetState(5000, &state);
  LONGLONG target = kSecond;
  ASSERT_EQ(S_OK, seeking->SetPositions(&target, AM_SEEKING_AbsolutePositioning, nullptr,
                                        AM_SEEKING_NoPositioning));
  LONGLONG now = 0;
  ASSERT_EQ(S_OK, seeking->GetCurrentPosition(&now));
  EXPECT_NEAR(kSecond, now, kSecond / 10);

  // The output pin answers seeking itself, for the renderer behind it.
  ComPtr<IMediaSeeking> pinSeeking;
  ASSERT_EQ(S_OK, out.As(IID_IMediaSeeking, pinSeeking));
  LONGLONG pinDuration = 0;
  EXPECT_EQ(S_OK, pinSeeking->GetDuration(&pinDuration));
  EXPECT_EQ(duration, pinDuration);
  control->Stop();
}

TEST_F(KarvexGraph, FramesAfterTheFilterCarryTheCaptionUntilItIsCleared) {
  ASSERT_NO_FATAL_FAILURE(Render());
  CFrameCatcher& catcher = catcher_;
  ASSERT_NO_FATAL_FAILURE(InsertGrabber(&catcher));
  AM_MEDIA_TYPE type = {};
  ASSERT_EQ(S_OK, grabber_->GetConnectedMediaType(&type));
  ASSERT_TRUE(type.formattype == FORMAT_VideoInfo);
  const auto* info = reinterpret_cast<const VIDEOINFOHEADER*>(type.pbFormat);
  const int w = info->bmiHeader.biWidth;
  const int h = info->bmiHeader.biHeight;
  const GUID subtype = type.subtype;
  velk::dshow::FreeMediaType(type);

  ComPtr<IMediaControl> control;
  ASSERT_EQ(S_OK, graph_.As(IID_IMediaControl, control));
  ASSERT_EQ(S_OK, overlay_->SetCaptionText("<P Class=ENCC>Hello<br>World"));
  control->Run();
  ASSERT_TRUE(catcher.WaitFor(0, 3));
  EXPECT_GT(WhiteInBand(subtype, w, h, catcher.Latest()), 50) << "caption text in the bottom band";

  overlay_->SetCaptionText("<P Class=ENCC>&nbsp;");
  int since = catcher.Count();
  ASSERT_TRUE(catcher.WaitFor(since, 2));
  EXPECT_EQ(0, WhiteInBand(subtype, w, h, catcher.Latest())) << "no caption after the empty one";

  overlay_->SetCaptionText("<P>Again");
  since = catcher.Count();
  ASSERT_TRUE(catcher.WaitFor(since, 2));
  EXPECT_GT(WhiteInBand(subtype, w, h, catcher.Latest()), 20);
  control->Stop();
  // Stopped and run again from the start: the kept text is drawn again.
  ComPtr<IMediaSeeking> seeking;
  ASSERT_EQ(S_OK, graph_.As(IID_IMediaSeeking, seeking));
  LONGLONG zero = 0;
  seeking->SetPositions(&zero, AM_SEEKING_AbsolutePositioning, nullptr, AM_SEEKING_NoPositioning);
  since = catcher.Count();
  control->Run();
  ASSERT_TRUE(catcher.WaitFor(since, 2));
  EXPECT_GT(WhiteInBand(subtype, w, h, catcher.Latest()), 20);
  control->Stop();
}

}  // namespace
