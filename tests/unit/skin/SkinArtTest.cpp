// The painted skin pictures: every look fits a palette, and the faces a user
// must tell apart differ.
#include <gtest/gtest.h>

#include "player/skin/SkinLayout.h"
#include "shared/PlayerMessages.h"
#include "tools/art/SkinArt.h"

namespace velk::skinart {
namespace {

int DifferingPixels(const Picture& p, const SkinRect& a, const SkinRect& b) {
  int n = 0;
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x) n += p.At(a.left + x, a.top + y) != p.At(b.left + x, b.top + y);
  return n;
}

TEST(SkinArt, EveryLookIsDeterministicAndFitsAnEightBitPalette) {
  for (const ThemeInfo& t : Themes()) {
    SCOPED_TRACE(t.fileName);
    const Picture p = PaintSkin(t.theme);
    ASSERT_EQ(p.width, kSkinPictureWidth);
    ASSERT_EQ(p.height, kSkinPictureHeight);
    const auto bmp = EncodeBmp8(p);
    ASSERT_FALSE(bmp.empty());
    EXPECT_EQ(bmp, EncodeBmp8(PaintSkin(t.theme)));
    EXPECT_EQ(bmp[0], 'B');
    EXPECT_EQ(bmp[28], 8);  // bits per pixel
    EXPECT_EQ(EncodeBmp24(p).size(), 54u + 280u * 3u * 186u);
  }
}

TEST(SkinArt, PressedFacesAndTitleStatesDiffer) {
  for (const ThemeInfo& t : Themes()) {
    SCOPED_TRACE(t.fileName);
    const Picture p = PaintSkin(t.theme);
    for (const SkinButton& b : MainWindowButtons()) {
      if (b.normal != b.pressed) EXPECT_GT(DifferingPixels(p, b.normal, b.pressed), 60) << b.id;
    }
    for (size_t i = 0; i < 4; ++i) {  // active title pieces against inactive ones
      EXPECT_GT(DifferingPixels(p, kMainFrameTable[i], kMainFrameTable[i + 4]),
                kMainFrameTable[i].Width() * kMainFrameTable[i].Height() / 2);
    }
  }
  // The looks differ from each other.
  const Picture a = PaintSkin(Theme::Slate), b = PaintSkin(Theme::Ember), c = PaintSkin(Theme::Frost);
  EXPECT_NE(a.pixels, b.pixels);
  EXPECT_NE(b.pixels, c.pixels);
}

TEST(SkinArt, TransportGlyphsAreDrawnOnTheirPanel) {
  const Picture p = PaintSkin(Theme::Slate);
  // Each symbol has ink of its own: the glyph colour differs from the panel behind it.
  for (const SkinButton& b : MainWindowButtons()) {
    if (b.id < ID_BTN_PREV || b.id > ID_BTN_PAUSE) continue;
    const uint32_t panel = p.At(b.normal.left, b.normal.top - 1);
    int ink = 0;
    for (int y = b.normal.top; y < b.normal.bottom; ++y)
      for (int x = b.normal.left; x < b.normal.right; ++x) ink += p.At(x, y) != panel;
    EXPECT_GT(ink, 8) << std::hex << b.id;
  }
}

}  // namespace
}  // namespace velk::skinart
