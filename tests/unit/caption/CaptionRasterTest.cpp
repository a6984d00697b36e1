#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include "karvex/CaptionRaster.h"
#include "core/CaptionText.h"

namespace velk {
namespace {

using Fmt = CaptionPixelFormat;

const Fmt kAllFormats[] = {Fmt::Rgb555, Fmt::Rgb565, Fmt::Rgb24, Fmt::Rgb32, Fmt::Yv12,
                           Fmt::I420,   Fmt::Nv12,   Fmt::Yuy2,  Fmt::Uyvy};

const char* Name(Fmt f) {
  switch (f) {
    case Fmt::Rgb555: return "RGB555";
    case Fmt::Rgb565: return "RGB565";
    case Fmt::Rgb24: return "RGB24";
    case Fmt::Rgb32: return "RGB32";
    case Fmt::Yv12: return "YV12";
    case Fmt::I420: return "I420";
    case Fmt::Nv12: return "NV12";
    case Fmt::Yuy2: return "YUY2";
    case Fmt::Uyvy: return "UYVY";
    default: return "none";
  }
}

// Every merge path this processor runs; each must give the same frame.
std::vector<CaptionMergePath> Paths() {
  std::vector<CaptionMergePath> paths;
  for (CaptionMergePath p : {CaptionMergePath::Scalar, CaptionMergePath::Sse2,
                             CaptionMergePath::Avx2, CaptionMergePath::Simd}) {
    if (CaptionMergePathAvailable(p)) paths.push_back(p);
  }
  return paths;
}

const char* Name(CaptionMergePath p) {
  switch (p) {
    case CaptionMergePath::Scalar: return "scalar";
    case CaptionMergePath::Sse2: return "SSE2";
    case CaptionMergePath::Avx2: return "AVX2";
    default: return "SIMD";
  }
}

bool IsRgb(Fmt f) {
  return f == Fmt::Rgb555 || f == Fmt::Rgb565 || f == Fmt::Rgb24 || f == Fmt::Rgb32;
}

uint32_t Lcg(uint32_t& seed) {
  seed = seed * 1664525u + 1013904223u;
  return seed >> 8;
}

// Text-like coverage: short strokes, a few long ones, and an underline so
// that both short and long stretches of caption bytes occur; glyph and
// outline pixels side by side in any order, and 0xFF, which is a glyph's.
CaptionMask MakeMask(int32_t w, int32_t h, uint32_t seed) {
  CaptionMask mask;
  mask.Reset(w, h);
  for (int32_t y = 0; y < h; ++y) {
    uint8_t* row = mask.Row(y);
    for (int32_t x = 0; x < w; ++x) {
      const uint32_t v = Lcg(seed) % 100;
      row[x] = v < 8 ? kCaptionEdge : v < 25 ? kCaptionGlyph : kCaptionBackground;
    }
    if (y % 7 == 3) std::fill(row + w / 4, row + w / 4 + w / 2, 0xFF);
  }
  for (int32_t x = 0; x < w; ++x) mask.Row(h - 1)[x] = kCaptionGlyph;
  return mask;
}

// Where the bytes of picture pixel (px, py) lie, written out per format.
struct PixelBytes {
  std::vector<size_t> main;    // RGB bytes or the luma byte
  std::vector<size_t> chroma;  // chroma bytes shared with neighbours
};

PixelBytes Locate(const CaptionFrameLayout& l, int32_t px, int32_t py) {
  PixelBytes b;
  const size_t S = l.planeStride[0], H = l.height;
  switch (l.format) {
    case Fmt::Rgb555:
    case Fmt::Rgb565:
    case Fmt::Rgb24:
    case Fmt::Rgb32: {
      const size_t bytes = l.format == Fmt::Rgb24 ? 3 : l.format == Fmt::Rgb32 ? 4 : 2;
      const size_t row = l.bottomUp ? H - 1 - py : py;
      for (size_t i = 0; i < bytes; ++i) b.main.push_back(row * S + px * bytes + i);
      break;
    }
    case Fmt::Yv12:
    case Fmt::I420: {
      const size_t cs = (S + 1) / 2, cr = (H + 1) / 2;
      b.main.push_back(py * S + px);
      b.chroma.push_back(S * H + (py / 2) * cs + px / 2);
      b.chroma.push_back(S * H + cs * cr + (py / 2) * cs + px / 2);
      break;
    }
    case Fmt::Nv12:
      b.main.push_back(py * S + px);
      b.chroma.push_back(S * H + (py / 2) * S + (px / 2) * 2);
      b.chroma.push_back(S * H + (py / 2) * S + (px / 2) * 2 + 1);
      break;
    case Fmt::Yuy2:
    case Fmt::Uyvy: {
      const size_t pair = py * S + (px / 2) * 4;
      const size_t lumaAt = l.format == Fmt::Yuy2 ? 0 : 1;
      b.main.push_back(pair + lumaAt + (px % 2) * 2);
      b.chroma.push_back(pair + 1 - lumaAt);
      b.chroma.push_back(pair + 3 - lumaAt);
      break;
    }
    default: break;
  }
  return b;
}

// The bytes of a white and of a black pixel (RGB bytes in memory order, or
// the luma byte).
struct Colours {
  Fmt format;
  uint8_t white[4], black[4];
} const kColours[] = {
    {Fmt::Rgb555, {0xFF, 0x7F}, {0x00, 0x00}},
    {Fmt::Rgb565, {0xFF, 0xFF}, {0x00, 0x00}},
    {Fmt::Rgb24, {0xFF, 0xFF, 0xFF}, {0x00, 0x00, 0x00}},
    {Fmt::Rgb32, {0xFF, 0xFF, 0xFF, 0xFF}, {0x00, 0x00, 0x00, 0xFF}},  // opaque
    {Fmt::Yv12, {235}, {16}}, {Fmt::I420, {235}, {16}}, {Fmt::Nv12, {235}, {16}},
    {Fmt::Yuy2, {235}, {16}}, {Fmt::Uyvy, {235}, {16}},
};

uint8_t CaptionByte(Fmt f, size_t indexInPixel, bool edge) {
  for (const Colours& c : kColours) {
    if (c.format == f) return edge ? c.black[indexInPixel] : c.white[indexInPixel];
  }
  return 0;
}

// The frame the merge must produce: glyph pixels white, outline pixels
// black, chroma of either neutral, every other byte as it was.
std::vector<uint8_t> Expected(const std::vector<uint8_t>& frame, const CaptionFrameLayout& l,
                              const CaptionMask& mask, int32_t top, int32_t left) {
  std::vector<uint8_t> out = frame;
  for (int32_t py = 0; py < l.height; ++py) {
    for (int32_t px = 0; px < l.width; ++px) {
      const int32_t my = py - top, mx = px - left;
      if (my < 0 || my >= mask.height || mx < 0 || mx >= mask.width || !mask.Row(my)[mx]) continue;
      const bool edge = mask.Row(my)[mx] == kCaptionEdge;
      PixelBytes b = Locate(l, px, py);
      for (size_t i = 0; i < b.main.size(); ++i) out[b.main[i]] = CaptionByte(l.format, i, edge);
      for (size_t c : b.chroma) out[c] = 128;
    }
  }
  return out;
}

int32_t ExpectedTop(int32_t H, int32_t h) {
  int32_t top = H - std::max(h, 48);
  return top < 0 ? std::min(0, H - h) : top;
}

std::vector<uint8_t> NoiseFrame(size_t size, uint32_t seed) {
  std::vector<uint8_t> frame(size);
  // Values away from the text values, so a stray write shows.
  for (auto& b : frame) b = static_cast<uint8_t>(16 + Lcg(seed) % 96);
  return frame;
}

struct Geometry {
  int32_t width, height, maskWidth, maskHeight, extraStride, outline;
};

TEST(CaptionRaster, MergeMakesGlyphsWhiteOutlinesBlackAndLeavesEverythingElse) {
  const Geometry geometries[] = {
      {64, 100, 64, 16, 0, 0},   // one line in the 48-row band
      {37, 61, 37, 30, 0, 0},    // odd width and height
      {64, 100, 64, 60, 8, 0},   // taller than the band; padded rows
      {40, 30, 40, 12, 0, 0},    // picture lower than the band
      {32, 20, 32, 50, 4, 0},    // caption taller than the picture
      {50, 64, 30, 20, 0, 0},    // narrower caption: centred
      {20, 64, 33, 20, 0, 0},    // wider caption: cut at both edges
      {64, 100, 64, 16, 0, 2},   // outlined: the outline cut at the picture's sides
      {37, 61, 31, 40, 2, 3},    // outlined: taller than the band, odd sizes
      {40, 30, 40, 12, 0, 3},    // outlined: picture lower than the band
      {50, 64, 30, 20, 0, 5},    // outlined: narrower caption
  };
  for (Fmt f : kAllFormats) {
    for (const Geometry& g : geometries) {
      for (int sign : {-1, 1}) {
        SCOPED_TRACE(std::string(Name(f)) + " " + std::to_string(g.width) + "x" +
                     std::to_string(g.height) + " caption " + std::to_string(g.maskWidth) + "x" +
                     std::to_string(g.maskHeight) + " outline " + std::to_string(g.outline) +
                     (sign > 0 ? " +height" : " -height"));
        CaptionFrameLayout probe;
        ASSERT_TRUE(MakeCaptionFrameLayout(f, g.width, sign * g.height, 0, &probe));
        CaptionFrameLayout layout;
        ASSERT_TRUE(MakeCaptionFrameLayout(f, g.width, sign * g.height,
                                           probe.planeStride[0] + g.extraStride, &layout));
        EXPECT_EQ(layout.bottomUp, IsRgb(f) && sign > 0);
        CaptionMask mask = MakeMask(g.maskWidth, g.maskHeight, g.width * 31 + g.maskHeight);
        ASSERT_TRUE(OutlineCaption(&mask, g.outline));
        CPreparedCaption caption;
        ASSERT_TRUE(PrepareCaption(mask, layout, &caption));
        EXPECT_LE(caption.Extent(), layout.imageSize);

        const std::vector<uint8_t> frame = NoiseFrame(layout.imageSize, 7);
        const std::vector<uint8_t> expected =
            Expected(frame, layout, mask, ExpectedTop(g.height, mask.height),
                     (g.width - mask.width) / 2);
        for (CaptionMergePath path : Paths()) {
          std::vector<uint8_t> merged = frame;
          MergeCaption(caption, merged.data(), merged.size(), path);
          EXPECT_TRUE(merged == expected) << Name(path);
        }
      }
    }
  }
}

TEST(CaptionRaster, OutlineSurroundsEveryGlyphEvenAtTheMaskEdges) {
  struct Case {
    const char* what;
    CaptionMask mask;
    int32_t radius;
  };
  CaptionMask dot, corners, bottomStroke;
  dot.Reset(1, 1);
  dot.coverage[0] = kCaptionGlyph;
  corners.Reset(6, 4);
  for (int32_t i : {0, 5, 18, 23}) corners.coverage[i] = 0xFF;
  bottomStroke.Reset(9, 4);
  std::fill(bottomStroke.Row(3), bottomStroke.Row(3) + 9, kCaptionGlyph);
  bottomStroke.Row(0)[8] = kCaptionEdge;  // far from the glyphs: stays outline
  const Case cases[] = {
      {"a lone pixel", dot, 2},         {"the four corners", corners, 3},
      {"a stroke along the bottom", bottomStroke, 2}, {"text", MakeMask(30, 12, 4), 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CaptionMask mask = c.mask;
    ASSERT_TRUE(OutlineCaption(&mask, c.radius));
    const int32_t r = c.radius;
    ASSERT_EQ(mask.width, c.mask.width + 2 * r);
    ASSERT_EQ(mask.height, c.mask.height + 2 * r);
    auto was = [&](int32_t x, int32_t y) {  // the value the pixel had, background outside
      x -= r, y -= r;
      const bool in = x >= 0 && y >= 0 && x < c.mask.width && y < c.mask.height;
      return in ? c.mask.Row(y)[x] : kCaptionBackground;
    };
    for (int32_t y = 0; y < mask.height; ++y) {
      for (int32_t x = 0; x < mask.width; ++x) {
        int32_t nearest = INT32_MAX;  // dx * dx + dy * dy to the nearest glyph
        for (int32_t gy = 0; gy < mask.height; ++gy) {
          for (int32_t gx = 0; gx < mask.width; ++gx) {
            const uint8_t v = was(gx, gy);
            if (v == kCaptionBackground || v == kCaptionEdge) continue;
            nearest = std::min(nearest, (gx - x) * (gx - x) + (gy - y) * (gy - y));
          }
        }
        const uint8_t v = mask.Row(y)[x];
        SCOPED_TRACE(std::to_string(x) + "," + std::to_string(y));
        if (nearest == 0) {
          EXPECT_EQ(v, kCaptionGlyph);
        } else if (nearest <= r * r || was(x, y) == kCaptionEdge) {
          EXPECT_EQ(v, kCaptionEdge);
        } else if (nearest > (r + 1) * (r + 1)) {
          EXPECT_EQ(v, kCaptionBackground);
        }
      }
    }
  }
  // No outline, and refused radii, leave the mask alone.
  const CaptionMask text = MakeMask(8, 5, 6);
  CaptionMask mask = text;
  EXPECT_TRUE(OutlineCaption(&mask, 0));
  EXPECT_FALSE(OutlineCaption(&mask, -1));
  EXPECT_FALSE(OutlineCaption(&mask, kCaptionMaxOutline + 1));
  EXPECT_EQ(mask.coverage, text.coverage);
}

TEST(CaptionRaster, OneLineStartsFortyEightRowsBeforeTheEndAndIsUpright) {
  const int32_t W = 16, H = 100;
  CaptionMask mask;
  mask.Reset(W, 20);
  std::fill(mask.Row(0), mask.Row(0) + W, 1);  // the caption's top row only
  for (int sign : {-1, 1}) {
    CaptionFrameLayout layout;
    ASSERT_TRUE(MakeCaptionFrameLayout(Fmt::Rgb32, W, sign * H, 0, &layout));
    CPreparedCaption caption;
    ASSERT_TRUE(PrepareCaption(mask, layout, &caption));
    std::vector<uint8_t> frame(layout.imageSize, 0);
    MergeCaption(caption, frame.data(), frame.size(), CaptionMergePath::Scalar);
    // Top-down: picture row 52 is buffer row 52; bottom-up: buffer row 47.
    const size_t whiteRow = sign < 0 ? H - 48 : 47;
    for (size_t row = 0; row < static_cast<size_t>(H); ++row) {
      const uint8_t* p = frame.data() + row * W * 4;
      const bool white = std::all_of(p, p + W * 4, [](uint8_t b) { return b == 0xFF; });
      const bool black = std::all_of(p, p + W * 4, [](uint8_t b) { return b == 0; });
      EXPECT_TRUE(row == whiteRow ? white : black) << "buffer row " << row << " sign " << sign;
    }
  }
}

TEST(CaptionRaster, TallCaptionStartsItsOwnHeightBeforeTheEnd) {
  CaptionMask mask;
  mask.Reset(8, 60);
  std::fill(mask.Row(0), mask.Row(0) + 8, 1);
  CaptionFrameLayout layout;
  ASSERT_TRUE(MakeCaptionFrameLayout(Fmt::Yv12, 8, 100, 0, &layout));
  CPreparedCaption caption;
  ASSERT_TRUE(PrepareCaption(mask, layout, &caption));
  std::vector<uint8_t> frame(layout.imageSize, 0);
  MergeCaption(caption, frame.data(), frame.size(), CaptionMergePath::Simd);
  for (int32_t row = 0; row < 100; ++row) {
    EXPECT_EQ(frame[row * 8], row == 40 ? 235 : 0) << row;
  }
  EXPECT_EQ(caption.TextPixels(), 8u);
}

TEST(CaptionRaster, NeverWritesPastAShortSample) {
  for (Fmt f : kAllFormats) {
    for (int sign : {-1, 1}) {
      SCOPED_TRACE(std::string(Name(f)) + (sign > 0 ? " +height" : " -height"));
      CaptionFrameLayout layout;
      ASSERT_TRUE(MakeCaptionFrameLayout(f, 48, sign * 64, 0, &layout));
      CaptionMask mask = MakeMask(44, 36, 99);
      ASSERT_TRUE(OutlineCaption(&mask, 2));
      CPreparedCaption caption;
      ASSERT_TRUE(PrepareCaption(mask, layout, &caption));
      const std::vector<uint8_t> frame = NoiseFrame(layout.imageSize, 3);
      std::vector<uint8_t> full = frame;
      MergeCaption(caption, full.data(), full.size(), CaptionMergePath::Scalar);
      for (size_t cut : {size_t{0}, size_t{1}, layout.imageSize / 3, caption.Extent() - 17,
                         caption.Extent() - 1}) {
        for (CaptionMergePath path : Paths()) {
          SCOPED_TRACE(Name(path));
          // The bytes past the sample's size stay as they were; those before
          // it get what a whole frame gets.
          std::vector<uint8_t> merged = frame;
          MergeCaption(caption, merged.data(), cut, path);
          EXPECT_TRUE(std::equal(merged.begin() + cut, merged.end(), frame.begin() + cut))
              << "cut " << cut;
          EXPECT_TRUE(std::equal(merged.begin(), merged.begin() + cut, full.begin()))
              << "cut " << cut;
        }
      }
    }
  }
}

// A stand-in for the platform's text drawing: 6 x 10 blocks per character,
// lines split at CR LF, centred.
CaptionMask DrawText(const std::string& text, int32_t width) {
  CaptionMask mask;
  if (text.empty()) return mask;
  std::vector<std::string> lines(1);
  for (size_t i = 0; i < text.size(); ++i) {
    if (text.compare(i, 2, "\r\n") == 0) {
      lines.emplace_back();
      ++i;
    } else {
      lines.back() += text[i];
    }
  }
  mask.Reset(width, static_cast<int32_t>(lines.size()) * 12);
  for (size_t l = 0; l < lines.size(); ++l) {
    const int32_t x0 = (width - static_cast<int32_t>(lines[l].size()) * 6) / 2;
    for (size_t c = 0; c < lines[l].size(); ++c) {
      if (lines[l][c] == ' ') continue;
      for (int32_t y = 1; y < 11; ++y) {
        for (int32_t x = 0; x < 5; ++x) {
          const int32_t px = x0 + static_cast<int32_t>(c) * 6 + x;
          if (px >= 0 && px < width) mask.Row(static_cast<int32_t>(l) * 12 + y)[px] = 1;
        }
      }
    }
  }
  return mask;
}

TEST(CaptionRaster, EmptyAndNbspCaptionsLeaveFramesUnchanged) {
  for (const char* text : {"", "<P Class=ENCC>&nbsp;", "<P Class=ENCC>\r\n", "<P>"}) {
    for (Fmt f : kAllFormats) {
      CaptionFrameLayout layout;
      ASSERT_TRUE(MakeCaptionFrameLayout(f, 64, 64, 0, &layout));
      CPreparedCaption caption;
      ASSERT_TRUE(PrepareCaption(DrawText(CleanCaptionText(text), 64), layout, &caption));
      EXPECT_TRUE(caption.IsEmpty());
      const std::vector<uint8_t> frame = NoiseFrame(layout.imageSize, 5);
      std::vector<uint8_t> merged = frame;
      for (CaptionMergePath path : Paths()) MergeCaption(caption, merged.data(), merged.size(), path);
      EXPECT_TRUE(merged == frame) << text << " " << Name(f);
    }
  }
}

TEST(CaptionRaster, TwoLineCaptionFromItsText) {
  CaptionMask mask = DrawText(CleanCaptionText("<P Class=ENCC>Hello<br>World"), 64);
  ASSERT_EQ(mask.height, 24);
  CaptionFrameLayout layout;
  ASSERT_TRUE(MakeCaptionFrameLayout(Fmt::I420, 64, 96, 0, &layout));
  CPreparedCaption caption;
  ASSERT_TRUE(PrepareCaption(mask, layout, &caption));
  EXPECT_EQ(caption.TextPixels(), 2u * 5u * 5u * 10u);  // 2 lines, 5 letters of 5 x 10
  std::vector<uint8_t> frame(layout.imageSize, 16);
  MergeCaption(caption, frame.data(), frame.size(), CaptionMergePath::Simd);
  // "Hello" in picture rows 49..58, "World" in 61..70, both centred at 17..45.
  auto luma = [&](int32_t x, int32_t y) { return frame[static_cast<size_t>(y) * 64 + x]; };
  EXPECT_EQ(luma(17, 49), 235);
  EXPECT_EQ(luma(45, 58), 235);
  EXPECT_EQ(luma(46, 58), 16);
  EXPECT_EQ(luma(17, 61), 235);
  EXPECT_EQ(luma(16, 49), 16);
  EXPECT_EQ(luma(17, 48), 16);
  EXPECT_EQ(luma(17, 59), 16);
  EXPECT_EQ(luma(17, 71), 16);
}

TEST(CaptionRaster, OutlinedTwoLineCaptionFromItsText) {
  CaptionMask mask = DrawText(CleanCaptionText("<P Class=ENCC>Hello<br>World"), 64);
  ASSERT_TRUE(OutlineCaption(&mask, 2));
  ASSERT_EQ(mask.height, 28);
  CaptionFrameLayout layout;
  ASSERT_TRUE(MakeCaptionFrameLayout(Fmt::I420, 64, 96, 0, &layout));
  CPreparedCaption caption;
  ASSERT_TRUE(PrepareCaption(mask, layout, &caption));
  EXPECT_EQ(caption.TextPixels(), 2u * 5u * 5u * 10u);
  std::vector<uint8_t> frame(layout.imageSize, 100);
  MergeCaption(caption, frame.data(), frame.size(), CaptionMergePath::Simd);
  // The letters keep their columns, 17..45, and start two rows lower: "Hello"
  // in picture rows 51..60, "World" in 63..72; the outline is 2 pixels wide.
  const struct {
    int32_t x, y;
    uint8_t luma;
  } points[] = {
      {17, 51, 235}, {45, 60, 235}, {17, 63, 235},  // letters
      {16, 51, 16},  {15, 51, 16},  {14, 51, 100},  // left of "H"
      {46, 60, 16},  {47, 60, 16},  {48, 60, 100},  // right of "o"
      {17, 49, 16},  {17, 48, 100}, {22, 55, 16},   // above "H"; between letters
      {17, 61, 16},  {17, 62, 16},  {17, 74, 16},   // between the lines; below "W"
      {17, 75, 100}, {15, 49, 100},                 // past the outline; its round corner
  };
  for (const auto& p : points) {
    EXPECT_EQ(frame[static_cast<size_t>(p.y) * 64 + p.x], p.luma) << p.x << "," << p.y;
  }
  // The U sample of (16..17, 48..49), outline only, turns neutral; that of
  // (12..13, 50..51), outside it, stays.
  const size_t u = 64 * 96;
  EXPECT_EQ(frame[u + 24 * 32 + 8], 128);
  EXPECT_EQ(frame[u + 25 * 32 + 6], 100);
}

TEST(CaptionRaster, PreparedCaptionFollowsItsLayout) {
  CaptionMask mask = MakeMask(32, 10, 1);
  CaptionFrameLayout layout;
  ASSERT_TRUE(MakeCaptionFrameLayout(Fmt::Rgb24, 32, 64, 0, &layout));
  CPreparedCaption caption;
  ASSERT_TRUE(PrepareCaption(mask, layout, &caption));
  EXPECT_FALSE(caption.IsEmpty());
  EXPECT_EQ(caption.Layout().format, Fmt::Rgb24);
  // A layout not made by MakeCaptionFrameLayout is refused.
  CaptionFrameLayout bad = layout;
  bad.planeStride[0] = 1;
  EXPECT_FALSE(PrepareCaption(mask, bad, &caption));
  EXPECT_TRUE(caption.IsEmpty());
  bad = layout;
  bad.imageSize = 10;
  EXPECT_FALSE(PrepareCaption(mask, bad, &caption));
  // An empty caption leaves a null frame alone too.
  MergeCaption(caption, nullptr, 100, CaptionMergePath::Scalar);
}

TEST(CaptionRaster, FrameLayouts) {
  CaptionFrameLayout l;
  ASSERT_TRUE(MakeCaptionFrameLayout(Fmt::Yv12, 320, 240, 0, &l));
  EXPECT_FALSE(l.bottomUp);
  EXPECT_EQ(l.planeCount, 3);
  EXPECT_EQ(l.planeOffset[1], 76800u);
  EXPECT_EQ(l.planeOffset[2], 96000u);
  EXPECT_EQ(l.planeStride[1], 160);
  EXPECT_EQ(l.imageSize, 115200u);

  ASSERT_TRUE(MakeCaptionFrameLayout(Fmt::Nv12, 320, -240, 0, &l));
  EXPECT_EQ(l.planeCount, 2);
  EXPECT_EQ(l.planeStride[1], 320);
  EXPECT_EQ(l.imageSize, 115200u);

  ASSERT_TRUE(MakeCaptionFrameLayout(Fmt::Rgb24, 3, 2, 0, &l));
  EXPECT_TRUE(l.bottomUp);
  EXPECT_EQ(l.planeStride[0], 12);  // rows padded to 4 bytes
  EXPECT_EQ(l.imageSize, 24u);

  ASSERT_TRUE(MakeCaptionFrameLayout(Fmt::Yuy2, 5, -2, 0, &l));
  EXPECT_EQ(l.planeStride[0], 12);  // whole pairs
  EXPECT_FALSE(l.bottomUp);

  EXPECT_FALSE(MakeCaptionFrameLayout(Fmt::None, 4, 4, 0, &l));
  EXPECT_FALSE(MakeCaptionFrameLayout(Fmt::Rgb32, 0, 4, 0, &l));
  EXPECT_FALSE(MakeCaptionFrameLayout(Fmt::Rgb32, 4, 0, 0, &l));
  EXPECT_FALSE(MakeCaptionFrameLayout(Fmt::Rgb32, 4, 4, 15, &l));   // shorter than a row
  EXPECT_FALSE(MakeCaptionFrameLayout(Fmt::Rgb555, 4, 4, 9, &l));   // odd stride
  EXPECT_FALSE(MakeCaptionFrameLayout(Fmt::Uyvy, 4, 4, 9, &l));
  EXPECT_FALSE(MakeCaptionFrameLayout(Fmt::Rgb32, 40000, 40000, 0, &l));  // 4 GB or more
  EXPECT_FALSE(MakeCaptionFrameLayout(Fmt::Rgb32, 4, INT32_MIN, 0, &l));
  EXPECT_EQ(l.format, Fmt::None);
}

TEST(CaptionRaster, FormatFromHeader) {
  struct Case {
    uint32_t compression;
    uint16_t bits;
    bool rgb565;
    Fmt format;
  } cases[] = {
      {0, 16, false, Fmt::Rgb555},
      {3, 16, true, Fmt::Rgb565},
      {3, 16, false, Fmt::Rgb555},
      {0, 24, false, Fmt::Rgb24},
      {3, 24, false, Fmt::None},
      {0, 32, false, Fmt::Rgb32},
      {3, 32, false, Fmt::Rgb32},
      {0, 8, false, Fmt::None},
      {CaptionFourCC('Y', 'V', '1', '2'), 12, false, Fmt::Yv12},
      {CaptionFourCC('I', '4', '2', '0'), 12, false, Fmt::I420},
      {CaptionFourCC('I', 'Y', 'U', 'V'), 12, false, Fmt::I420},
      {CaptionFourCC('N', 'V', '1', '2'), 12, false, Fmt::Nv12},
      {CaptionFourCC('Y', 'U', 'Y', '2'), 16, false, Fmt::Yuy2},
      {CaptionFourCC('Y', 'V', 'Y', 'U'), 16, false, Fmt::Yuy2},
      {CaptionFourCC('U', 'Y', 'V', 'Y'), 16, false, Fmt::Uyvy},
      {CaptionFourCC('A', 'Y', 'U', 'V'), 32, false, Fmt::None},
      {CaptionFourCC('M', 'P', '4', '2'), 12, false, Fmt::None},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CaptionFormatFromHeader(c.compression, c.bits, c.rgb565), c.format)
        << std::hex << c.compression << " " << c.bits;
  }
}

TEST(CaptionRaster, MaskFromDibPixels) {
  // 16-bit rows padded to 8 bytes: 3 pixels, then padding that must not count.
  const uint16_t dib16[] = {0x0000, 0x7FFF, 0x0001, 0xFFFF,
                            0x0400, 0x0000, 0x0000, 0xFFFF};
  CaptionMask mask;
  ASSERT_TRUE(mask.LoadFromPixels(dib16, 3, 2, 8, 16));
  EXPECT_EQ(mask.coverage, (std::vector<uint8_t>{0, 1, 1, 1, 0, 0}));
  // 32-bit: the fourth byte is not colour.
  const uint32_t dib32[] = {0xFF000000u, 0x00FFFFFFu, 0x00000100u};
  ASSERT_TRUE(mask.LoadFromPixels(dib32, 3, 1, 12, 32));
  EXPECT_EQ(mask.coverage, (std::vector<uint8_t>{0, 1, 1}));
  EXPECT_FALSE(mask.LoadFromPixels(dib32, 3, 1, 8, 32));
  EXPECT_FALSE(mask.LoadFromPixels(dib32, 3, 1, 12, 24));
  EXPECT_TRUE(mask.IsEmpty());
}

}  // namespace
}  // namespace velk
