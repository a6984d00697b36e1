#include <gtest/gtest.h>

#include "player/video/VideoLayout.h"

namespace velk::video {
namespace {

TEST(VideoLayout, PicturePlaceTable) {
  const SkinSize qvga{320, 240};
  struct Row {
    SkinRect area;
    SkinSize video;
    bool keep;
    CaptionMode mode;
    PicturePlace expected;
  } rows[] = {
      // Keeping the ratio in a square: the width limits, centred vertically.
      {{0, 0, 400, 400}, qvga, true, kCaptionNone, {0, 50, 400, 300}},
      // With the strip the block of picture and strip is centred: 5 above.
      {{0, 0, 400, 400}, qvga, true, kCaptionWindow, {0, 5, 400, 300}},
      // A wide area: the height limits, centred horizontally.
      {{0, 0, 800, 300}, qvga, true, kCaptionNone, {200, 0, 400, 300}},
      {{10, 20, 810, 320}, qvga, true, kCaptionOverlay, {210, 20, 400, 300}},
      // Not keeping the ratio: everything but the strip.
      {{4, 16, 404, 416}, qvga, false, kCaptionWindow, {4, 16, 400, 310}},
      {{4, 16, 404, 416}, qvga, false, kCaptionNone, {4, 16, 400, 400}},
      // No native size: no ratio to keep, no division by zero.
      {{0, 0, 400, 400}, {0, 240}, true, kCaptionNone, {0, 0, 400, 400}},
      {{0, 0, 400, 400}, {320, 0}, true, kCaptionWindow, {0, 0, 400, 310}},
  };
  for (const auto& r : rows) {
    EXPECT_EQ(LayoutPicture(r.area, r.video, r.keep, r.mode), r.expected)
        << r.area.Width() << "x" << r.area.Height() << " keep " << r.keep << " mode " << r.mode;
  }
}

TEST(VideoLayout, KeptRatioNeverLeavesTheArea) {
  for (int w = 1; w < 60; w += 7)
    for (int h = 91; h < 300; h += 13)
      for (SkinSize v : {SkinSize{320, 240}, SkinSize{321, 241}, SkinSize{1, 1000}, SkinSize{1000, 1}})
        for (CaptionMode m : {kCaptionNone, kCaptionWindow}) {
          PicturePlace p = LayoutPicture({0, 0, w, h}, v, true, m);
          EXPECT_GE(p.x, 0);
          EXPECT_GE(p.y, 0);
          EXPECT_LE(p.x + p.width, w);
          EXPECT_LE(p.y + p.height + StripReserve(m), h);
        }
}

TEST(VideoLayout, ScalesAndWindowSizes) {
  EXPECT_EQ(ScaledPicture({321, 241}, 50), (SkinSize{160, 120}));
  EXPECT_EQ(ScaledPicture({321, 241}, 100), (SkinSize{321, 241}));
  EXPECT_EQ(ScaledPicture({321, 241}, 200), (SkinSize{642, 482}));
  // A frame of 12 + 12 by 26 + 10 pixels around the inner area.
  EXPECT_EQ(WindowSizeForPicture({300, 300}, {276, 264}, {160, 120}, kCaptionNone),
            (SkinSize{184, 156}));
  EXPECT_EQ(WindowSizeForPicture({300, 300}, {276, 264}, {160, 120}, kCaptionWindow),
            (SkinSize{184, 246}));
}

TEST(VideoLayout, AScaleLargerThanItsMonitorKeepsItsRatioInside) {
  const SkinSize frame{24, 36}, room{1280, 994};  // a 1280 x 1024 monitor less a 30-pixel task bar
  EXPECT_EQ(FitScaledPicture({640, 360}, frame, room), (SkinSize{640, 360}));       // fits: as it is
  EXPECT_EQ(FitScaledPicture({1280, 720}, frame, room), (SkinSize{1256, 706}));     // 100 % of 720p: the width
  EXPECT_EQ(FitScaledPicture({2560, 1440}, frame, room), (SkinSize{1256, 706}));    // 200 %
  EXPECT_EQ(FitScaledPicture({640, 1440}, frame, room), (SkinSize{640 * 958 / 1440, 958}));
  EXPECT_EQ(FitScaledPicture({2560, 1440}, frame, {10, 10}), (SkinSize{1, 1}));     // no room at all
  EXPECT_EQ(FitScaledPicture({0, 480}, frame, room), (SkinSize{0, 480}));
}

TEST(VideoLayout, CheckedSizeEntry) {
  const SkinSize v{320, 240};
  EXPECT_EQ(CheckedSizeEntry(v, {160, 120}, false), 0);
  EXPECT_EQ(CheckedSizeEntry(v, {320, 240}, false), 1);
  EXPECT_EQ(CheckedSizeEntry(v, {640, 480}, false), 2);
  EXPECT_EQ(CheckedSizeEntry(v, {333, 240}, false), -1);  // resized by hand
  // The width decides the scale; the height only has to agree within 1 %.
  EXPECT_EQ(CheckedSizeEntry(v, {320, 241}, false), 1);
  EXPECT_EQ(CheckedSizeEntry(v, {320, 244}, false), -1);
  EXPECT_EQ(CheckedSizeEntry(v, {321, 241}, false), -1);  // ratios agree, scale not exact
  EXPECT_EQ(CheckedSizeEntry(v, {123, 45}, true), 3);
  EXPECT_EQ(CheckedSizeEntry({0, 240}, {320, 240}, true), -1);
}

TEST(VideoLayout, CaptionModesAndStrip) {
  EXPECT_EQ(NormalizeCaptionMode(1), kCaptionWindow);
  EXPECT_EQ(NormalizeCaptionMode(2), kCaptionOverlay);
  EXPECT_EQ(NormalizeCaptionMode(3), kCaptionNone);
  EXPECT_EQ(NormalizeCaptionMode(-1), kCaptionNone);

  const SkinRect inner{6, 20, 406, 420};
  EXPECT_EQ(CaptionStripRect(inner, 325, kCaptionWindow), (SkinRect{6, 325, 406, 415}));
  EXPECT_TRUE(CaptionStripRect(inner, 325, kCaptionOverlay).IsEmpty());
  EXPECT_TRUE(CaptionStripRect(inner, 325, kCaptionNone).IsEmpty());

  struct Row {
    CaptionMode from, to;
    int32_t overflow, clientHeight;
    bool changed;
    int32_t delta;
  } rows[] = {
      {kCaptionNone, kCaptionWindow, 90, 300, true, 90},     // grows by the strip
      {kCaptionNone, kCaptionWindow, -20, 300, true, 0},     // already fits below the picture
      {kCaptionWindow, kCaptionNone, 0, 300, true, -90},
      {kCaptionWindow, kCaptionOverlay, 0, 300, true, -90},
      {kCaptionWindow, kCaptionNone, 0, 50, true, -50},      // never below zero
      {kCaptionOverlay, kCaptionNone, 0, 300, true, 0},
      {kCaptionNone, kCaptionOverlay, 0, 300, true, 0},
      {kCaptionWindow, kCaptionWindow, 90, 300, false, 0},   // the active mode: nothing
      {kCaptionNone, kCaptionNone, 0, 300, false, 0},
  };
  for (const auto& r : rows) {
    ModeChange c = ChangeCaptionMode(r.from, r.to, r.overflow, r.clientHeight);
    EXPECT_EQ(c.changed, r.changed) << r.from << "->" << r.to;
    EXPECT_EQ(c.heightDelta, r.delta) << r.from << "->" << r.to;
  }
}

}  // namespace
}  // namespace velk::video
