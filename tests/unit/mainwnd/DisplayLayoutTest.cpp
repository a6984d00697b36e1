#include <gtest/gtest.h>

#include "player/mainwnd/DisplayLayout.h"

namespace velk::display {
namespace {

TEST(DisplayLayout, RectanglesFollowTheWindowSize) {
  const SkinSize c{300, 200};
  EXPECT_EQ(TimeArea(c), (SkinRect{212, 185, 246, 191}));
  EXPECT_EQ(MinutesField(c), (SkinRect{212, 185, 232, 191}));
  EXPECT_EQ(SecondsField(c), (SkinRect{235, 185, 245, 191}));
  SkinMetrics m;
  m.leftEdgeWidth = 6;
  m.rightEdgeWidth = 7;
  m.bottomLeftHeight = 40;
  m.volumeImage = {90, 6};
  EXPECT_EQ(SeekTrack(c, m), (SkinRect{6, 162, 293, 167}));
  EXPECT_EQ(VolumeBar(c, m), (SkinRect{156, 172, 246, 178}));
}

TEST(DisplayLayout, TimeText) {
  struct Row {
    int32_t p;
    const char* min;
    const char* sec;
  } rows[] = {{65, "1", "5"}, {3600, "60", "0"}, {0, "0", "0"}, {59, "0", "59"}, {-1, "0", "-1"}};
  for (const auto& r : rows) {
    TimeText t = FormatTime(r.p);
    EXPECT_EQ(t.minutes, r.min) << r.p;
    EXPECT_EQ(t.seconds, r.sec) << r.p;
  }
}

TEST(DisplayLayout, SeekThumbRunsFromEndToEnd) {
  const SkinRect track{6, 162, 226, 167};  // 220 wide: the thumb's right edge moves over 200
  ThumbStrokes start = SeekThumb(track, 0, 100);
  ASSERT_TRUE(start.visible);
  EXPECT_EQ(start.strokes[0], (SkinRect{6, 162, 26, 163}));   // top bar
  EXPECT_EQ(start.strokes[1], (SkinRect{6, 163, 9, 165}));    // left post
  EXPECT_EQ(start.strokes[2], (SkinRect{23, 163, 26, 165}));  // right post
  EXPECT_EQ(start.strokes[3], (SkinRect{6, 165, 26, 166}));   // bottom bar
  EXPECT_EQ(SeekThumb(track, 100, 100).strokes[0].right, 226);
  EXPECT_EQ(SeekThumb(track, 50, 100).strokes[0].right, 126);
  EXPECT_EQ(SeekThumb(track, 1, 3).strokes[0].right, 26 + 200 * 333 / 1000);  // truncated permille
  EXPECT_EQ(SeekThumb(track, 130, 100).strokes[0].right, 226);  // past the end: at the end
  EXPECT_EQ(SeekThumb(track, -1, 100).strokes[0].right, 26);    // no position: at the start
  EXPECT_FALSE(SeekThumb(track, 5, 0).visible);   // no duration: no thumb
  EXPECT_FALSE(SeekThumb(track, 5, -1).visible);  // no position interface
}

TEST(DisplayLayout, VolumeFill) {
  const SkinRect bar{0, 0, 90, 6};
  EXPECT_EQ(VolumeFill(bar, 0xFFFF, 0), 45);
  EXPECT_EQ(VolumeFill(bar, 0xFFFF, 0xFFFF), 90);
  EXPECT_EQ(VolumeFill(bar, 0, 0), 0);
  EXPECT_EQ(VolumeFill(bar, 1, 0), 0);
}

}  // namespace
}  // namespace velk::display
