// A graph that never stops cannot hold the player. Seeking the raw graph while
// it plays is what leaves Wine's parser stuck (the player itself seeks a
// stopped graph): the clock runs past the length and the graph neither ends
// nor stops. The engine notices, its close returns, and the next item plays.
#include <gtest/gtest.h>

#include "shared/PlayerMessages.h"
#include "tests/win/engine/RealMedia.h"

namespace velk::enginetest {
namespace {

TEST_F(RealMediaTest, AGraphStuckPastItsEndIsNoticedAndItsCloseReturns) {
  const Medium& m = Named("xvid.avi");
  ASSERT_TRUE(engine_.Play(PathOf(m)));
  PumpFor(500);
  ComPtr<IMediaPosition> raw;
  ASSERT_TRUE(SUCCEEDED(ComPtr<IGraphBuilder>(engine_.Graph()).As(IID_IMediaPosition, raw)));
  raw->put_CurrentPosition(m.millis / 1000.0 - 1.0);
  raw.Reset();
  ASSERT_TRUE(PumpUntil([&] { return engine_.HasRunPastItsEnd() || owner_.Count(WM_PLAYER_ENDOFMEDIA) > 0; },
                        20000));
  if (owner_.Count(WM_PLAYER_ENDOFMEDIA) == 0) {
    EXPECT_GT(engine_.GetPosition(), engine_.GetDuration());
  }
  engine_.Stop();  // would wait for good with the graph's own stop
  EXPECT_FALSE(engine_.IsOpen());

  const Medium& next = Named("mpeg1.mpg");
  ASSERT_TRUE(engine_.Play(PathOf(next)));
  ASSERT_TRUE(engine_.SetPosition(next.millis / 1000 - 1));
  EXPECT_TRUE(WaitForEnds(owner_.Count(WM_PLAYER_ENDOFMEDIA) + 1, 15000));
}

}  // namespace
}  // namespace velk::enginetest
