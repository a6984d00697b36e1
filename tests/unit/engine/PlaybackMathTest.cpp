#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "player/engine/PlaybackMath.h"

namespace velk::engine {
namespace {

TEST(VolumeSteps, EachChannelMovesAlone) {
  struct Row {
    uint32_t left, right;
    uint32_t upLeft, upRight;
    uint32_t downLeft, downRight;
  } rows[] = {
      {0, 0, 2048, 2048, 0, 0},
      {63487, 63488, 65535, 65535, 61439, 61440},  // the sum 65535 is already full
      {63486, 63744, 65534, 65535, 61438, 61696},
      {65535, 1, 65535, 2049, 63487, 0},
      {2048, 2049, 4096, 4097, 0, 1},
      {2047, 30000, 4095, 32048, 0, 27952},
  };
  for (const auto& r : rows) {
    const uint32_t v = PackVolume(r.left, r.right);
    EXPECT_EQ(VolumeUp(v), PackVolume(r.upLeft, r.upRight)) << r.left << "/" << r.right;
    EXPECT_EQ(VolumeDown(v), PackVolume(r.downLeft, r.downRight)) << r.left << "/" << r.right;
  }
}

TEST(VolumeSteps, RepeatedStepsSettleAtTheEnds) {
  uint32_t v = PackVolume(100, 40000);
  for (int i = 0; i < 40; ++i) v = VolumeUp(v);
  EXPECT_EQ(v, 0xFFFFFFFFu);
  for (int i = 0; i < 40; ++i) v = VolumeDown(v);
  EXPECT_EQ(v, 0u);
}

TEST(VolumeClick, LevelAcrossTheBar) {
  struct Row {
    int32_t left, right, x;
    uint32_t level;
  } rows[] = {
      {156, 246, 156, 0},       // left end: silence
      {156, 246, 201, 32767},   // middle of the 90-pixel built-in bar
      {156, 246, 245, 64806},   // last pixel
      {156, 246, 246, 65535},   // the right edge itself
      {0, 1, 0, 0},
      {10, 11, 12, 65534},      // past the edge: 131070 kept to its low 16 bits
  };
  for (const auto& r : rows) {
    auto v = VolumeAtClick(r.left, r.right, r.x);
    ASSERT_TRUE(v.has_value()) << r.x;
    EXPECT_EQ(*v, PackVolume(r.level, r.level)) << r.x;
  }
}

TEST(SeekClick, TargetAcrossTheTrack) {
  struct Row {
    int32_t left, right, x, duration, target;
  } rows[] = {
      {9, 291, 9, 200, 0},           // left end
      {9, 291, 290, 200, 199},       // last pixel: just under the duration
      {9, 291, 150, 200, 100},       // 141 * 200 / 282 = 100
      {9, 291, 150, 0, 0},
      {0, 100, 99, 3, 2},            // truncation
      {0, 1000, 999, 36000 * 24, 863136},  // a day-long item does not overflow
  };
  for (const auto& r : rows) {
    auto t = SeekTargetAtClick(r.left, r.right, r.x, r.duration);
    ASSERT_TRUE(t.has_value()) << r.x << " of " << r.duration;
    EXPECT_EQ(*t, r.target) << r.x << " of " << r.duration;
  }
}

TEST(Clicks, StripsWithoutWidthAndUnknownLengthsAreIgnored) {
  EXPECT_FALSE(SeekTargetAtClick(30, 30, 30, 100).has_value());
  EXPECT_FALSE(SeekTargetAtClick(40, 30, 35, 100).has_value());
  EXPECT_FALSE(SeekTargetAtClick(0, 100, 50, -1).has_value());
  EXPECT_FALSE(VolumeAtClick(200, 200, 200).has_value());
  EXPECT_FALSE(VolumeAtClick(210, 200, 205).has_value());
}

TEST(WholeSeconds, TruncatesTowardZeroAndStaysInRange) {
  struct Row {
    double seconds;
    int32_t whole;
  } rows[] = {
      {0.0, 0},       {2.999, 2},     {3.0, 3},
      {-0.5, 0},      {-1.7, -1},     {1e12, std::numeric_limits<int32_t>::max()},
      {-1e12, std::numeric_limits<int32_t>::min()},
      {std::numeric_limits<double>::infinity(), std::numeric_limits<int32_t>::max()},
      {std::nan(""), -1},
  };
  for (const auto& r : rows) EXPECT_EQ(WholeSeconds(r.seconds), r.whole) << r.seconds;
}

TEST(HasRunPastEnd, OnlyWellBeyondAKnownLength) {
  struct Row {
    double position, duration;
    bool past;
  } rows[] = {
      {4.0, 4.0, false},  {6.0, 4.0, false},  {6.01, 4.0, true},  {112.0, 75.0, true},
      {5.0, 0.0, false},  {5.0, -1.0, false}, {std::nan(""), 4.0, false},
      {9.0, std::nan(""), false},
  };
  for (const auto& r : rows) EXPECT_EQ(HasRunPastEnd(r.position, r.duration, 2.0), r.past) << r.position;
}

}  // namespace
}  // namespace velk::engine
