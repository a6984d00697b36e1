// The engine on media that another encoder made (ffmpeg, at test time): every
// container the player takes over opens with its own length and picture size,
// plays, survives a seek while it plays or is paused, and reaches its end.
#include <gtest/gtest.h>

#include "shared/PlayerMessages.h"
#include "tests/win/engine/RealMedia.h"

namespace velk::enginetest {
namespace {

TEST_F(RealMediaTest, EveryFormatPlaysWithItsLengthAndPictureAndEndsAfterASeekWhilePlaying) {
  size_t ends = 0, windows = 0;
  for (const Medium& m : media_) {
    SCOPED_TRACE(m.file);
    ASSERT_TRUE(engine_.Open(PathOf(m)));
    const int32_t seconds = m.millis / 1000;
    EXPECT_NEAR(engine_.GetDuration(), seconds, 1);
    EXPECT_EQ(engine_.HasVideoWindow(), m.width > 0);
    if (m.width > 0) {
      std::vector<Received> announced;
      for (const Received& r : owner_.Of(WM_PLAYER_VIDEOWINDOW)) {
        if (r.lParam == 1) announced.push_back(r);
      }
      ASSERT_EQ(announced.size(), ++windows);
      EXPECT_EQ(announced.back().width, m.width);
      EXPECT_EQ(announced.back().height, m.height);
    }
    ASSERT_TRUE(engine_.Play(""));
    PumpFor(500);
    // The user clicks near the end of the seek strip while it plays.
    EXPECT_TRUE(engine_.SetPosition(seconds - 2));
    EXPECT_EQ(engine_.GetState(3000), EngineState::Running);
    ASSERT_TRUE(WaitForEnds(++ends, 15000)) << "no end after a seek while playing";
    EXPECT_FALSE(engine_.HasRunPastItsEnd());
    engine_.Stop();
    EXPECT_FALSE(engine_.IsOpen());
    if (m.width > 0) EXPECT_EQ(owner_.Of(WM_PLAYER_VIDEOWINDOW).back().lParam, 0);
  }
}

TEST_F(RealMediaTest, ASeekWhilePausedStaysPausedThereAndThenPlaysToTheEnd) {
  const Medium& m = Named("xvid.avi");
  ASSERT_TRUE(engine_.Play(PathOf(m)));
  PumpFor(500);
  ASSERT_TRUE(engine_.Pause());
  ASSERT_TRUE(engine_.SetPosition(m.millis / 1000 - 2));
  EXPECT_EQ(engine_.GetState(3000), EngineState::Paused);
  EXPECT_EQ(engine_.GetPosition(), m.millis / 1000 - 2);
  ASSERT_TRUE(engine_.Play(""));
  EXPECT_TRUE(WaitForEnds(1, 15000));
}


}  // namespace
}  // namespace velk::enginetest
