// The swatch's own drawing: a bordered block of its colour with a transparent
// "Change" label, into a memory bitmap.
#include <windows.h>

#include <gtest/gtest.h>

#include "player/options/ColorSwatchButton.h"

namespace velk::options {
namespace {

TEST(ColorSwatch, DrawsBorderFillAndATransparentLabel) {
  const int w = 80, h = 40;
  BITMAPINFO bi = {};
  bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = -h;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HDC dc = ::CreateCompatibleDC(nullptr);
  HBITMAP bmp = ::CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  ASSERT_NE(bmp, nullptr);
  HGDIOBJ old = ::SelectObject(dc, bmp);
  auto* px = static_cast<uint32_t*>(bits);
  for (int i = 0; i < w * h; ++i) px[i] = 0x00FF00;  // green underneath
  // Opaque mode with a loud background, to show the label does not use it.
  ::SetBkMode(dc, OPAQUE);
  ::SetBkColor(dc, RGB(255, 0, 255));
  ::SetTextColor(dc, RGB(0, 0, 0));

  CColorSwatchButton swatch;
  EXPECT_EQ(swatch.Colour(), RGB(255, 255, 255));  // white when made
  swatch.SetColour(RGB(0x33, 0x66, 0xCC));          // no window yet: just the field
  const RECT rc = {0, 0, w, h};
  swatch.DrawItem(dc, rc);
  ::GdiFlush();

  auto at = [&](int x, int y) { return px[y * w + x] & 0xFFFFFF; };
  const uint32_t fillDib = 0x3366CC;  // DIB pixels read as 0x00RRGGBB
  // The one-pixel border in the default (black) pen.
  for (int x = 0; x < w; ++x) EXPECT_EQ(at(x, 0), 0u) << x;
  for (int y = 0; y < h; ++y) EXPECT_EQ(at(w - 1, y), 0u) << y;
  // The first rows inside are the colour from border to border.
  for (int x = 1; x < w - 1; ++x) EXPECT_EQ(at(x, 1), fillDib) << x;
  // The label drew something near the middle, and nowhere the opaque background.
  int ink = 0, magenta = 0;
  for (int y = 1; y < h - 1; ++y)
    for (int x = 1; x < w - 1; ++x) {
      if (at(x, y) != fillDib) ++ink;
      if (at(x, y) == 0xFF00FF) ++magenta;
    }
  EXPECT_GT(ink, 10);
  EXPECT_EQ(magenta, 0);
  EXPECT_EQ(::GetBkMode(dc), OPAQUE);  // the context's mode is given back

  ::SelectObject(dc, old);
  ::DeleteObject(bmp);
  ::DeleteDC(dc);
}

}  // namespace
}  // namespace velk::options
