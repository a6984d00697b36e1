// The engine against real Wine graphs: generated media, a hidden owner window,
// the real output device. No caption filter module lies beside this program.
#include <gtest/gtest.h>

#include "player/engine/OutputVolume.h"
#include "player/engine/PlaybackMath.h"
#include "shared/PlayerMessages.h"
#include "tests/win/engine/EngineTestSupport.h"

namespace velk::enginetest {
namespace {

class EngineTest : public ::testing::Test {
 protected:
  void SetUp() override { owner_.Serve(&engine_); }
  void TearDown() override { engine_.Close(); }

  bool WaitForEnd(size_t ends = 1) {
    return PumpUntil([&] { return owner_.Count(WM_PLAYER_ENDOFMEDIA) >= ends; });
  }
  std::vector<LPARAM> VideoWindowFlags() const {
    std::vector<LPARAM> flags;
    for (const auto& r : owner_.Of(WM_PLAYER_VIDEOWINDOW)) flags.push_back(r.lParam);
    return flags;
  }

  CScratchFolder media_;
  CRecordingWnd owner_;
  CPlaybackEngine engine_{&owner_};
};

TEST_F(EngineTest, AudioItemPlaysToItsEndWithoutAVideoWindow) {
  const std::string wav = media_.Wav("tone.wav", 3500);
  ASSERT_TRUE(engine_.Open(wav));
  EXPECT_TRUE(engine_.IsOpen());
  EXPECT_FALSE(engine_.HasVideoWindow());
  EXPECT_EQ(engine_.GetDuration(), 3);

  ASSERT_TRUE(engine_.SetPosition(2));  // only the last stretch needs playing
  ASSERT_TRUE(engine_.Play(""));
  EXPECT_EQ(engine_.GetState(3000), EngineState::Running);
  ASSERT_TRUE(WaitForEnd());
  // The graph's notification came first; the engine turned it into the end.
  const int graphEvent = owner_.IndexOf(WM_PLAYER_GRAPHEVENT);
  ASSERT_GE(graphEvent, 0);
  EXPECT_LT(graphEvent, owner_.IndexOf(WM_PLAYER_ENDOFMEDIA));
  const Received end = owner_.Of(WM_PLAYER_ENDOFMEDIA).front();
  EXPECT_EQ(end.wParam, 0u);
  EXPECT_EQ(end.lParam, 0);

  EXPECT_FALSE(engine_.Stop());  // stopping closes
  EXPECT_FALSE(engine_.IsOpen());
  EXPECT_EQ(owner_.Count(WM_PLAYER_VIDEOWINDOW), 0u);
}

TEST_F(EngineTest, NotificationsFollowANewOwner) {
  CRecordingWnd other;
  other.Serve(&engine_);
  struct GiveBack {  // the engine outlives `other`
    CPlaybackEngine& engine;
    CRecordingWnd& owner;
    ~GiveBack() { engine.SetOwner(&owner); }
  } giveBack{engine_, owner_};
  ASSERT_TRUE(engine_.Open(media_.Wav("tone.wav", 1500)));
  ASSERT_TRUE(engine_.SetOwner(&other));  // while open: the graph is told too
  ASSERT_TRUE(engine_.SetPosition(1));
  ASSERT_TRUE(engine_.Play(""));
  ASSERT_TRUE(PumpUntil([&] { return other.Count(WM_PLAYER_ENDOFMEDIA) > 0; }));
  EXPECT_EQ(owner_.Count(WM_PLAYER_GRAPHEVENT), 0u);
  EXPECT_EQ(owner_.Count(WM_PLAYER_ENDOFMEDIA), 0u);
  const Received note = other.Of(WM_PLAYER_GRAPHEVENT).front();
  EXPECT_NE(note.lParam, 0);  // the events interface rides along
}

TEST_F(EngineTest, VideoWindowComesAtNativeSizeAndGoesBeforeRelease) {
  ASSERT_TRUE(engine_.Open(media_.Avi("clip.avi", 176, 144, 35)));
  ASSERT_TRUE(engine_.HasVideoWindow());
  auto announced = owner_.Of(WM_PLAYER_VIDEOWINDOW);
  ASSERT_EQ(announced.size(), 1u);
  EXPECT_EQ(announced[0].lParam, 1);
  ASSERT_NE(announced[0].wParam, 0u);
  ASSERT_HRESULT_SUCCEEDED(announced[0].sizeRead);
  EXPECT_EQ(announced[0].width, 176);
  EXPECT_EQ(announced[0].height, 144);

  engine_.Close();
  auto all = owner_.Of(WM_PLAYER_VIDEOWINDOW);
  ASSERT_EQ(all.size(), 2u);
  EXPECT_EQ(all[1].lParam, 0);
  EXPECT_EQ(all[1].wParam, announced[0].wParam);
  // The window still answered while the owner let go of it.
  EXPECT_HRESULT_SUCCEEDED(all[1].sizeRead);
  EXPECT_FALSE(engine_.HasVideoWindow());
  engine_.Close();  // closing again sends nothing
  EXPECT_EQ(owner_.Count(WM_PLAYER_VIDEOWINDOW), 2u);
}

TEST_F(EngineTest, SecondItemRetiresTheFirstVideoWindowFirst) {
  ASSERT_TRUE(engine_.Open(media_.Avi("one.avi", 160, 120, 10)));
  ASSERT_TRUE(engine_.Open(media_.Avi("two.avi", 320, 240, 10)));
  EXPECT_EQ(VideoWindowFlags(), (std::vector<LPARAM>{1, 0, 1}));
  auto all = owner_.Of(WM_PLAYER_VIDEOWINDOW);
  EXPECT_EQ(all[1].wParam, all[0].wParam);  // the old window goes, not the new one
  EXPECT_EQ(all[2].width, 320);

  // An audio item after a video item: the window goes and none comes.
  ASSERT_TRUE(engine_.Open(media_.Wav("tone.wav", 1000)));
  EXPECT_EQ(VideoWindowFlags(), (std::vector<LPARAM>{1, 0, 1, 0}));
}

TEST_F(EngineTest, ItemsThatCannotBeBuiltFailToOpen) {
  const std::string paths[] = {
      "",
      media_.File("missing.avi"),
      media_.Garbage("garbage.avi"),
      media_.Garbage("garbage.wav"),
  };
  for (const auto& path : paths) {
    EXPECT_FALSE(engine_.Open(path)) << path;
    EXPECT_FALSE(engine_.IsOpen()) << path;
    EXPECT_FALSE(engine_.Play(path)) << path;
    EXPECT_EQ(engine_.GetState(1000), EngineState::Stopped) << path;
    EXPECT_TRUE(engine_.Close());
  }
  EXPECT_EQ(owner_.Count(WM_PLAYER_VIDEOWINDOW), 0u);
  // A failed open leaves nothing that keeps the next item from opening.
  EXPECT_TRUE(engine_.Open(media_.Wav("tone.wav", 1000)));
}

TEST_F(EngineTest, ClosedEngineReportsNothingAvailable) {
  EXPECT_EQ(engine_.GetState(0), EngineState::Stopped);
  EXPECT_EQ(engine_.GetPosition(), -1);
  EXPECT_EQ(engine_.GetDuration(), -1);
  EXPECT_FALSE(engine_.SetPosition(1));
  EXPECT_FALSE(engine_.Pause());
  EXPECT_FALSE(engine_.Stop());
  EXPECT_FALSE(engine_.SeekAtClick(RECT{0, 0, 100, 5}, 50));
  EXPECT_TRUE(engine_.Close());
}

TEST_F(EngineTest, PositionAndDurationInWholeSeconds) {
  ASSERT_TRUE(engine_.Open(media_.Avi("clip.avi", 176, 144, 35)));  // 3.5 s
  EXPECT_EQ(engine_.GetDuration(), 3);
  EXPECT_EQ(engine_.GetPosition(), 0);
  for (int32_t s : {2, 3, 1, 0}) {
    ASSERT_TRUE(engine_.SetPosition(s));
    EXPECT_EQ(engine_.GetPosition(), s);
  }
}

TEST_F(EngineTest, PlayAfterPauseResumesWhereItStood) {
  ASSERT_TRUE(engine_.Open(media_.Wav("tone.wav", 8000)));
  ASSERT_TRUE(engine_.SetPosition(2));
  ASSERT_TRUE(engine_.Play(""));
  // Let it play past the point it started from: resuming must not go back there.
  ASSERT_TRUE(PumpUntil([&] { return engine_.GetPosition() >= 3; }));
  ASSERT_TRUE(engine_.Pause());
  ASSERT_EQ(engine_.GetState(3000), EngineState::Paused);
  const int32_t paused = engine_.GetPosition();
  ASSERT_GE(paused, 3);

  ASSERT_TRUE(engine_.Play("ignored while open"));
  EXPECT_EQ(engine_.GetState(3000), EngineState::Running);
  EXPECT_GE(engine_.GetPosition(), paused);
}

TEST_F(EngineTest, PlayAtTheEndStartsAgainFromTheBeginning) {
  ASSERT_TRUE(engine_.Open(media_.Wav("tone.wav", 4500)));
  ASSERT_TRUE(engine_.SetPosition(4));
  ASSERT_TRUE(engine_.Play(""));
  ASSERT_TRUE(WaitForEnd());
  // Still open at its end (the main window would stop it): Play restarts it.
  ASSERT_TRUE(engine_.Play(""));
  EXPECT_EQ(engine_.GetState(3000), EngineState::Running);
  EXPECT_LT(engine_.GetPosition(), 3);
}

TEST_F(EngineTest, SeekClicksCountOnlyWhileRunning) {
  ASSERT_TRUE(engine_.Open(media_.Wav("tone.wav", 8000)));
  const RECT track{10, 0, 110, 5};
  ASSERT_TRUE(engine_.Pause());
  ASSERT_EQ(engine_.GetState(3000), EngineState::Paused);
  EXPECT_FALSE(engine_.SeekAtClick(track, 60));
  EXPECT_EQ(engine_.GetPosition(), 0);

  ASSERT_TRUE(engine_.Play(""));
  ASSERT_EQ(engine_.GetState(3000), EngineState::Running);
  EXPECT_FALSE(engine_.SeekAtClick(RECT{50, 0, 50, 5}, 50));  // no width: ignored
  ASSERT_TRUE(engine_.SeekAtClick(track, 60));                // half of 8 s
  EXPECT_GE(engine_.GetPosition(), 4);
  EXPECT_LT(engine_.GetPosition(), 7);
}

bool KarvexClassRegistered() {
  HKEY key = nullptr;
  if (::RegOpenKeyExA(HKEY_CLASSES_ROOT, "CLSID\\{1D972EE0-1C22-11D4-9594-525405E0A5F9}", 0, KEY_READ,
                      &key) != ERROR_SUCCESS) {
    return false;
  }
  ::RegCloseKey(key);
  return true;
}

TEST_F(EngineTest, CaptionedItemPlaysWithoutTheFilterModule) {
  const std::string avi = media_.Avi("talk.avi", 176, 144, 20);
  media_.Sami("talk.smi");
  const bool registeredBefore = KarvexClassRegistered();
  ASSERT_TRUE(engine_.Open(avi));
  ASSERT_TRUE(engine_.Play(""));
  EXPECT_EQ(engine_.GetState(3000), EngineState::Running);
  EXPECT_TRUE(engine_.HasVideoWindow());
  EXPECT_TRUE(engine_.Close());
  EXPECT_EQ(KarvexClassRegistered(), registeredBefore);
}

TEST(OutputVolume, RoundTripsThroughTheSystem) {
  ASSERT_TRUE(COutputVolume::IsAvailable());  // the launcher provides a device
  COutputVolume volume;
  uint32_t original = 0;
  ASSERT_TRUE(volume.Get(original));

  const uint32_t uneven = engine::PackVolume(0x2000, 0x4000);
  ASSERT_TRUE(volume.Set(uneven));
  uint32_t got = 0;
  ASSERT_TRUE(volume.Get(got));
  EXPECT_EQ(got, uneven);

  ASSERT_TRUE(volume.Set(engine::PackVolume(63744, 2049)));
  ASSERT_TRUE(volume.Up());
  ASSERT_TRUE(volume.Get(got));
  EXPECT_EQ(got, engine::PackVolume(65535, 4097));
  ASSERT_TRUE(volume.Set(engine::PackVolume(2048, 2049)));
  ASSERT_TRUE(volume.Down());
  ASSERT_TRUE(volume.Get(got));
  EXPECT_EQ(got, engine::PackVolume(0, 1));

  const RECT bar{100, 0, 190, 6};
  ASSERT_TRUE(volume.Click(bar, 145));
  ASSERT_TRUE(volume.Get(got));
  EXPECT_EQ(got, engine::PackVolume(32767, 32767));
  EXPECT_FALSE(volume.Click(RECT{100, 0, 100, 6}, 100));
  ASSERT_TRUE(volume.Get(got));
  EXPECT_EQ(got, engine::PackVolume(32767, 32767));

  volume.Set(original);
}

}  // namespace
}  // namespace velk::enginetest
