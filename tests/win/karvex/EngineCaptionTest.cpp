// A captioned video opened by the playback engine with the real Karvex.ax
// and samiparse.ax: the overlay filter sits in the video path, the caption
// file renders, and the captions reach the video window in order while the
// item plays.
#include <gtest/gtest.h>

#include <string>

#include "player/app/SettingsTable.h"
#include "shared/PlayerMessages.h"
#include "tests/win/ServerModule.h"
#include "tests/win/engine/EngineTestSupport.h"
#include "tests/win/engine/RealMedia.h"

namespace velk::enginetest {
namespace {

class EngineCaptions : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(wintest::RegisterServerModule(SAMIPARSE_MODULE_PATH));  // as the launcher does
    SelectSettingsStore(&settings_);
    settings::Write(settings_, settings::CaptionMode, 2);  // overlay
    owner_.Serve(&engine_);
    owner_.AdoptVideoInto(videoHost_.GetSafeHwnd());
  }
  void TearDown() override {
    engine_.Close();
    SelectSettingsStore(nullptr);
  }

  CMemorySettings settings_;
  CScratchFolder media_;
  CRecordingWnd owner_;
  CRecordingWnd videoHost_;  // stands for the player's video window
  CPlaybackEngine engine_{&owner_, settings_};
};

ComPtr<IPin> KarvexPin(IFilterGraph* graph, const wchar_t* id) {
  ComPtr<IBaseFilter> karvex;
  ComPtr<IPin> pin;
  if (SUCCEEDED(graph->FindFilterByName(KARVEX_FILTER_NAME, karvex.Receive()))) karvex->FindPin(id, pin.Receive());
  return pin;
}

TEST_F(EngineCaptions, CaptionedVideoGoesThroughTheOverlayAndCaptionsArriveInOrder) {
  const std::string avi = media_.Avi("talk.avi", 320, 240, 30);  // 3 s
  media_.Sami("talk.smi");
  ASSERT_TRUE(engine_.Open(avi));
  EXPECT_EQ(3u, engine_.CaptionFlags());
  auto announced = owner_.Of(WM_PLAYER_VIDEOWINDOW);
  ASSERT_FALSE(announced.empty());
  ComPtr<IFilterGraph> graph = GraphOf(reinterpret_cast<IUnknown*>(announced.back().wParam));
  ASSERT_TRUE(graph);

  // Both pins connected: a renderer refusing the output would leave Karvex unused.
  ComPtr<IPin> in = KarvexPin(graph.Get(), L"In"), out = KarvexPin(graph.Get(), L"Out");
  ASSERT_TRUE(in && out);
  ComPtr<IPin> peer;
  EXPECT_EQ(S_OK, in->ConnectedTo(peer.Receive()));
  EXPECT_EQ(S_OK, out->ConnectedTo(peer.Receive()));
  EXPECT_EQ(3, engine_.GetDuration()) << "the captions do not stretch the item";

  DWORD started = ::GetTickCount();
  ASSERT_TRUE(engine_.Play(avi));
  ASSERT_TRUE(PumpUntil([&] { return videoHost_.Count(WM_PLAYER_CAPTIONTEXT) >= 3; }, 10000));
  DWORD took = ::GetTickCount() - started;
  auto captions = videoHost_.Of(WM_PLAYER_CAPTIONTEXT);
  ASSERT_GE(captions.size(), 3u);
  EXPECT_EQ(L"Text", captions[0].kind);
  EXPECT_EQ(L"<P Class=ENCC>First caption", captions[0].text);
  EXPECT_EQ(L"<P Class=ENCC>Second line<br>with a break", captions[1].text);
  EXPECT_EQ(L"<P Class=ENCC>&nbsp;", captions[2].text);
  EXPECT_GE(took + 200, 2000u) << "the last caption comes at its time, not at once";
  ASSERT_TRUE(PumpUntil([&] { return owner_.Count(WM_PLAYER_ENDOFMEDIA) >= 1; }, 10000));
}

// Every video from another encoder goes through the overlay when it has a
// caption file: the filter sits between the decoded picture and the renderer.
TEST_F(EngineCaptions, RealVideosGoThroughTheOverlay) {
  const std::vector<Medium> media = ReadMedia();
  ASSERT_FALSE(media.empty()) << "no media table in " << MediaFolder();
  for (const Medium& m : media) {
    if (m.width == 0) continue;  // sound only
    const std::string copy = media_.File(m.file);
    ASSERT_TRUE(::CopyFileA((MediaFolder() + "\\" + m.file).c_str(), copy.c_str(), FALSE)) << m.file;
    media_.Sami(m.file.substr(0, m.file.rfind('.')) + ".smi");
    ASSERT_TRUE(engine_.Open(copy)) << m.file;
    auto announced = owner_.Of(WM_PLAYER_VIDEOWINDOW);
    ASSERT_FALSE(announced.empty()) << m.file;
    ComPtr<IFilterGraph> graph = GraphOf(reinterpret_cast<IUnknown*>(announced.back().wParam));
    ASSERT_TRUE(graph) << m.file;
    ComPtr<IPin> in = KarvexPin(graph.Get(), L"In"), out = KarvexPin(graph.Get(), L"Out"), peer;
    ASSERT_TRUE(in && out) << m.file;
    AM_MEDIA_TYPE type{};
    const bool connected = SUCCEEDED(in->ConnectedTo(peer.Receive())) && SUCCEEDED(in->ConnectionMediaType(&type));
    EXPECT_TRUE(connected) << m.file << ": the overlay is left out of the picture's path";
    if (connected) {
      EXPECT_EQ(S_OK, out->ConnectedTo(peer.Receive())) << m.file;
      ::CoTaskMemFree(type.pbFormat);
      if (type.pUnk) type.pUnk->Release();
    }
    engine_.Close();
  }
}

}  // namespace
}  // namespace velk::enginetest
