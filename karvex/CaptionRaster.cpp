#include "karvex/CaptionRaster.h"

#include <algorithm>
#include <cstring>
#include <limits>

#if defined(__SSE2__) || defined(_M_X64) || defined(_M_AMD64)
#define VELK_CAPTION_SSE2 1
#include <emmintrin.h>
#endif
// The 32-byte path is compiled for x86-64 and chosen at run time, when the
// processor has AVX2.
#if defined(VELK_CAPTION_SSE2) && (defined(__x86_64__) || defined(_M_X64))
#define VELK_CAPTION_AVX2 1
#include <immintrin.h>
#if defined(__GNUC__) || defined(__clang__)
#define VELK_TARGET_AVX2 __attribute__((target("avx2")))
#else
#include <intrin.h>
#define VELK_TARGET_AVX2
#endif
#endif

namespace velk {

namespace {

constexpr uint8_t kLumaWhite = 235;
constexpr uint8_t kLumaBlack = 16;
constexpr uint8_t kChromaNeutral = 128;
// The value that marks a byte of a span that the merge leaves as the frame
// has it: 00 when none of the span's caption bytes is 00, else FF when none
// is FF (either saves the SSE2 blend a step), else 01, which no caption byte
// takes (they are 00, 10, 7F, 80, EB or FF).
constexpr uint8_t kKeepOther = 0x01;
// What the planner makes of each sample byte: left alone, a glyph's, an
// outline's, or neutral chroma, which is the same under either.
constexpr uint8_t kByteKept = 0;
constexpr uint8_t kByteGlyph = 1;
constexpr uint8_t kByteEdge = 2;
constexpr uint8_t kByteShared = 3;
// Pattern indices of a prepared caption.
constexpr uint8_t kGlyphPattern = 0;
constexpr uint8_t kEdgePattern = 1;
constexpr uint8_t kChromaPattern = 2;
// Text stretches closer than this many bytes share one span of the vector
// path: blending a short gap costs less than starting a new span.
constexpr int32_t kSpanGap = 64;

bool IsRgb(CaptionPixelFormat f) {
  return f == CaptionPixelFormat::Rgb555 || f == CaptionPixelFormat::Rgb565 ||
         f == CaptionPixelFormat::Rgb24 || f == CaptionPixelFormat::Rgb32;
}

int32_t RgbBytes(CaptionPixelFormat f) {
  switch (f) {
    case CaptionPixelFormat::Rgb555:
    case CaptionPixelFormat::Rgb565: return 2;
    case CaptionPixelFormat::Rgb24: return 3;
    case CaptionPixelFormat::Rgb32: return 4;
    default: return 0;
  }
}

bool IsPlanar420(CaptionPixelFormat f) {
  return f == CaptionPixelFormat::Yv12 || f == CaptionPixelFormat::I420;
}

bool IsPacked422(CaptionPixelFormat f) {
  return f == CaptionPixelFormat::Yuy2 || f == CaptionPixelFormat::Uyvy;
}

}  // namespace

void CaptionMask::Reset(int32_t w, int32_t h) {
  if (w <= 0 || h <= 0) {
    width = height = 0;
    coverage.clear();
    return;
  }
  width = w;
  height = h;
  coverage.assign(static_cast<size_t>(w) * static_cast<size_t>(h), 0);
}

bool CaptionMask::LoadFromPixels(const void* bits, int32_t w, int32_t h, int32_t strideBytes,
                                 int32_t bitsPerPixel) {
  Reset(0, 0);
  if (!bits || w <= 0 || h <= 0 || (bitsPerPixel != 16 && bitsPerPixel != 32)) return false;
  const int32_t bytes = bitsPerPixel / 8;
  if (strideBytes < 0 || static_cast<int64_t>(strideBytes) < static_cast<int64_t>(w) * bytes) {
    return false;
  }
  Reset(w, h);
  const uint8_t* src = static_cast<const uint8_t*>(bits);
  for (int32_t y = 0; y < h; ++y) {
    const uint8_t* p = src + static_cast<size_t>(y) * static_cast<size_t>(strideBytes);
    uint8_t* dst = Row(y);
    for (int32_t x = 0; x < w; ++x, p += bytes) {
      // The fourth byte of a 32-bit pixel is not colour: GDI leaves it as it likes.
      bool text = bytes == 2 ? (p[0] | p[1]) != 0 : (p[0] | p[1] | p[2]) != 0;
      dst[x] = text ? kCaptionGlyph : kCaptionBackground;
    }
  }
  return true;
}

bool OutlineCaption(CaptionMask* mask, int32_t radius) {
  if (radius < 0 || radius > kCaptionMaxOutline) return false;
  if (radius == 0 || mask->IsEmpty()) return true;
  const int32_t r = radius, w = mask->width, h = mask->height;
  if (mask->coverage.size() < static_cast<size_t>(w) * static_cast<size_t>(h) ||
      static_cast<int64_t>(w) + 2 * r > std::numeric_limits<int32_t>::max() ||
      static_cast<int64_t>(h) + 2 * r > std::numeric_limits<int32_t>::max()) {
    return false;
  }
  const int32_t W = w + 2 * r, H = h + 2 * r;
  auto isGlyph = [](uint8_t v) { return v != kCaptionBackground && v != kCaptionEdge; };

  // reach[d]: how far along a row the disc reaches d rows from its centre.
  uint8_t reach[kCaptionMaxOutline + 1];
  for (int32_t d = 0; d <= r; ++d) {
    int32_t t = r;
    while (t * t > r * r + r - d * d) --t;
    reach[d] = static_cast<uint8_t>(t);
  }
  // near: for each mask row, the distance along the row from each column of
  // the grown mask to the nearest glyph pixel, r + 1 for "farther".
  const uint8_t far = static_cast<uint8_t>(r + 1);
  std::vector<uint8_t> near(static_cast<size_t>(W) * h, far);
  std::vector<uint8_t> hasGlyph(static_cast<size_t>(h), 0);
  for (int32_t y = 0; y < h; ++y) {
    const uint8_t* src = mask->Row(y);
    uint8_t* n = &near[static_cast<size_t>(y) * W];
    uint8_t d = far;
    for (int32_t x = 0; x < w; ++x) {
      d = isGlyph(src[x]) ? 0 : static_cast<uint8_t>(std::min<int32_t>(d + 1, far));
      n[x + r] = d;
      hasGlyph[y] |= d == 0;
    }
    if (!hasGlyph[y]) continue;
    for (int32_t x = w + r; x < W; ++x) {
      d = static_cast<uint8_t>(std::min<int32_t>(d + 1, far));
      n[x] = d;
    }
    d = far;
    for (int32_t x = W - 1; x >= 0; --x) {
      d = n[x] == 0 ? 0 : static_cast<uint8_t>(std::min<int32_t>(d + 1, far));
      n[x] = std::min(n[x], d);
    }
  }
  // Each row of the grown mask: the mask rows within r of it mark the
  // columns their glyphs reach at that height.
  std::vector<uint8_t> out(static_cast<size_t>(W) * H, kCaptionBackground);
  std::vector<uint8_t> hit(static_cast<size_t>(W));
  for (int32_t Y = 0; Y < H; ++Y) {
    const int32_t y = Y - r;  // the mask row this row was
    std::fill(hit.begin(), hit.end(), 0);
    for (int32_t sy = std::max(0, y - r); sy <= std::min(h - 1, y + r); ++sy) {
      if (!hasGlyph[sy]) continue;
      const uint8_t t = reach[sy > y ? sy - y : y - sy];
      const uint8_t* n = &near[static_cast<size_t>(sy) * W];
      for (int32_t x = 0; x < W; ++x) hit[x] |= n[x] <= t;
    }
    uint8_t* o = &out[static_cast<size_t>(Y) * W];
    for (int32_t x = 0; x < W; ++x) {
      if (hit[x]) o[x] = kCaptionEdge;
    }
    if (y < 0 || y >= h) continue;
    const uint8_t* src = mask->Row(y);
    for (int32_t x = 0; x < w; ++x) {
      if (isGlyph(src[x])) {
        o[x + r] = kCaptionGlyph;
      } else if (src[x] == kCaptionEdge) {
        o[x + r] = kCaptionEdge;
      }
    }
  }
  mask->width = W;
  mask->height = H;
  mask->coverage.swap(out);
  return true;
}

CaptionPixelFormat CaptionFormatFromHeader(uint32_t compression, uint16_t bitCount, bool rgb565) {
  constexpr uint32_t kBiRgb = 0, kBiBitfields = 3;
  if (compression == kBiRgb || compression == kBiBitfields) {
    switch (bitCount) {
      case 16: return rgb565 ? CaptionPixelFormat::Rgb565 : CaptionPixelFormat::Rgb555;
      case 24: return compression == kBiRgb ? CaptionPixelFormat::Rgb24 : CaptionPixelFormat::None;
      case 32: return CaptionPixelFormat::Rgb32;
      default: return CaptionPixelFormat::None;
    }
  }
  if (compression == CaptionFourCC('Y', 'V', '1', '2')) return CaptionPixelFormat::Yv12;
  if (compression == CaptionFourCC('I', '4', '2', '0') ||
      compression == CaptionFourCC('I', 'Y', 'U', 'V')) {
    return CaptionPixelFormat::I420;
  }
  if (compression == CaptionFourCC('N', 'V', '1', '2')) return CaptionPixelFormat::Nv12;
  if (compression == CaptionFourCC('Y', 'U', 'Y', '2') ||
      compression == CaptionFourCC('Y', 'U', 'Y', 'V') ||
      compression == CaptionFourCC('Y', 'V', 'Y', 'U')) {
    return CaptionPixelFormat::Yuy2;
  }
  if (compression == CaptionFourCC('U', 'Y', 'V', 'Y')) return CaptionPixelFormat::Uyvy;
  return CaptionPixelFormat::None;
}

bool MakeCaptionFrameLayout(CaptionPixelFormat format, int32_t width, int32_t signedHeight,
                            int32_t stride, CaptionFrameLayout* layout) {
  *layout = CaptionFrameLayout();
  if (format == CaptionPixelFormat::None || width <= 0 || signedHeight == 0 ||
      signedHeight == std::numeric_limits<int32_t>::min() || stride < 0) {
    return false;
  }
  const int64_t w = width;
  const int64_t h = signedHeight < 0 ? -static_cast<int64_t>(signedHeight) : signedHeight;
  int64_t minRow = 0, defaultStride = 0;
  bool evenStride = false;
  if (IsRgb(format)) {
    minRow = w * RgbBytes(format);
    defaultStride = (minRow + 3) / 4 * 4;
    evenStride = RgbBytes(format) == 2;
  } else if (IsPlanar420(format)) {
    minRow = defaultStride = w;
  } else if (format == CaptionPixelFormat::Nv12) {
    minRow = defaultStride = (w + 1) / 2 * 2;  // the interleaved chroma row
  } else {
    minRow = defaultStride = (w + 1) / 2 * 4;
    evenStride = true;
  }
  const int64_t s = stride != 0 ? stride : defaultStride;
  if (s < minRow || (evenStride && s % 2 != 0)) return false;

  layout->format = format;
  layout->width = width;
  layout->height = static_cast<int32_t>(h);
  layout->bottomUp = IsRgb(format) && signedHeight > 0;
  int64_t end = s * h;
  layout->planeCount = 1;
  layout->planeStride[0] = static_cast<int32_t>(s);
  layout->planeRows[0] = static_cast<int32_t>(h);
  if (IsPlanar420(format)) {
    const int64_t cs = (s + 1) / 2, cr = (h + 1) / 2;
    layout->planeCount = 3;
    for (int i = 1; i < 3; ++i) {
      layout->planeOffset[i] = static_cast<size_t>(end);
      layout->planeStride[i] = static_cast<int32_t>(cs);
      layout->planeRows[i] = static_cast<int32_t>(cr);
      end += cs * cr;
    }
  } else if (format == CaptionPixelFormat::Nv12) {
    const int64_t cr = (h + 1) / 2;
    layout->planeCount = 2;
    layout->planeOffset[1] = static_cast<size_t>(end);
    layout->planeStride[1] = static_cast<int32_t>(s);
    layout->planeRows[1] = static_cast<int32_t>(cr);
    end += s * cr;
  }
  if (end > static_cast<int64_t>(std::numeric_limits<uint32_t>::max())) {
    *layout = CaptionFrameLayout();
    return false;
  }
  layout->imageSize = static_cast<size_t>(end);
  return true;
}

void CPreparedCaption::Clear() {
  layout_ = CaptionFrameLayout();
  runs_.clear();
  spans_.clear();
  values_.clear();
  extent_ = 0;
  textPixels_ = 0;
}

// Turns rows of byte kinds (kept, glyph, outline, shared) into the runs and
// spans of a prepared caption.
class CCaptionPlanner {
 public:
  explicit CCaptionPlanner(CPreparedCaption* caption) : c_(caption) {}

  // The values of one colour: byte i of a row takes pattern[i & 3], as
  // 16-bit pixels start at even bytes of a row, 32-bit pixels and YUV pairs
  // at multiples of 4 (and 24-bit colours are the same in all three bytes).
  void SetPattern(uint8_t index, uint8_t b0, uint8_t b1, uint8_t b2, uint8_t b3) {
    const uint8_t bytes[4] = {b0, b1, b2, b3};
    std::memcpy(patterns_[index], bytes, 4);
  }

  // One buffer row: rowBytes kinds starting at sample offset rowOffset.
  // Glyph bytes take the values of pattern glyph, outline bytes those of
  // pattern edge; shared bytes are the same in both.
  void AddRow(size_t rowOffset, const uint8_t* kinds, int32_t rowBytes, uint8_t glyph,
              uint8_t edge) {
    int32_t spanStart = -1, spanEnd = -1;
    int32_t x = 0;
    while (x < rowBytes) {
      if (!kinds[x]) {
        ++x;
        continue;
      }
      int32_t start = x;
      while (x < rowBytes && kinds[x]) ++x;
      if (spanStart >= 0 && start - spanEnd > kSpanGap) {
        AddSpan(rowOffset, kinds, spanStart, spanEnd, glyph, edge);
        spanStart = -1;
      }
      if (spanStart < 0) spanStart = start;
      spanEnd = x;
    }
    if (spanStart >= 0) AddSpan(rowOffset, kinds, spanStart, spanEnd, glyph, edge);
  }

 private:
  // The values of a span's bytes, and a run for each stretch of caption
  // bytes in it, whose values are those of the span.
  void AddSpan(size_t rowOffset, const uint8_t* kinds, int32_t start, int32_t end,
               uint8_t glyph, uint8_t edge) {
    const size_t offset = rowOffset + static_cast<size_t>(start);
    const size_t first = c_->values_.size();
    auto value = [&](int32_t i) { return patterns_[kinds[i] == kByteEdge ? edge : glyph][i & 3]; };
    bool has00 = false, hasFF = false;
    for (int32_t i = start; i < end; ++i) {
      if (!kinds[i]) continue;
      has00 |= value(i) == 0x00;
      hasFF |= value(i) == 0xFF;
    }
    const uint8_t keep = !has00 ? 0x00 : !hasFF ? 0xFF : kKeepOther;
    c_->spans_.push_back({static_cast<uint32_t>(offset), static_cast<uint32_t>(end - start),
                          static_cast<uint32_t>(first), keep});
    for (int32_t i = start; i < end; ++i) c_->values_.push_back(kinds[i] ? value(i) : keep);
    for (int32_t i = start; i < end;) {
      if (!kinds[i]) {
        ++i;
        continue;
      }
      const int32_t runStart = i;
      while (i < end && kinds[i]) ++i;
      c_->runs_.push_back({static_cast<uint32_t>(rowOffset + runStart),
                           static_cast<uint32_t>(i - runStart),
                           static_cast<uint32_t>(first + (runStart - start))});
    }
    c_->extent_ = std::max(c_->extent_, offset + static_cast<size_t>(end - start));
  }

  CPreparedCaption* c_;
  uint8_t patterns_[3][4] = {};
};

namespace {

bool SameLayout(const CaptionFrameLayout& a, const CaptionFrameLayout& b) {
  if (a.format != b.format || a.width != b.width || a.height != b.height ||
      a.bottomUp != b.bottomUp || a.planeCount != b.planeCount || a.imageSize != b.imageSize) {
    return false;
  }
  for (int i = 0; i < 3; ++i) {
    if (a.planeOffset[i] != b.planeOffset[i] || a.planeStride[i] != b.planeStride[i] ||
        a.planeRows[i] != b.planeRows[i]) {
      return false;
    }
  }
  return true;
}

}  // namespace

bool PrepareCaption(const CaptionMask& mask, const CaptionFrameLayout& layout,
                    CPreparedCaption* caption) {
  caption->Clear();
  // Only layouts as MakeCaptionFrameLayout builds them: that keeps every
  // plane inside imageSize and 16-bit pixels and YUV pairs at even offsets.
  CaptionFrameLayout check;
  if (!MakeCaptionFrameLayout(layout.format, layout.width,
                              layout.bottomUp ? layout.height : -layout.height,
                              layout.planeStride[0], &check) ||
      !SameLayout(check, layout)) {
    return false;
  }
  caption->layout_ = layout;
  if (mask.IsEmpty() ||
      mask.coverage.size() < static_cast<size_t>(mask.width) * static_cast<size_t>(mask.height)) {
    return true;
  }

  const CaptionPixelFormat format = layout.format;
  const int32_t W = layout.width, H = layout.height;
  // The first picture row of the caption: the 48-row band at the bottom.
  int32_t top = H - std::max(mask.height, kCaptionBandRows);
  if (top < 0) top = std::min(0, H - mask.height);
  const int32_t left = (W - mask.width) / 2;
  const int32_t firstRow = std::max(0, top);
  const int32_t endRow = std::min(H, top + mask.height);
  const int32_t firstCol = std::max(0, left);
  const int32_t endCol = std::min(W, left + mask.width);
  if (firstRow >= endRow || firstCol >= endCol) return true;

  // cov: the kind of each pixel of one picture row (kept, glyph, outline).
  std::vector<uint8_t> cov(static_cast<size_t>(W));
  auto pictureRow = [&](int32_t py) {
    std::fill(cov.begin(), cov.end(), kByteKept);
    const uint8_t* m = mask.Row(py - top);
    for (int32_t px = firstCol; px < endCol; ++px) {
      const uint8_t v = m[px - left];
      cov[px] = v == kCaptionBackground ? kByteKept : v == kCaptionEdge ? kByteEdge : kByteGlyph;
    }
  };
  auto rowOffset = [&](int plane, int32_t row) {
    const int32_t r = layout.bottomUp ? layout.planeRows[plane] - 1 - row : row;
    return layout.planeOffset[plane] +
           static_cast<size_t>(r) * static_cast<size_t>(layout.planeStride[plane]);
  };
  auto countText = [&]() {
    caption->textPixels_ += static_cast<size_t>(std::count(cov.begin(), cov.end(), kByteGlyph));
  };

  CCaptionPlanner planner(caption);
  std::vector<uint8_t> flags;
  if (IsRgb(format)) {
    const int32_t bytes = RgbBytes(format);
    if (format == CaptionPixelFormat::Rgb555) {
      planner.SetPattern(kGlyphPattern, 0xFF, 0x7F, 0xFF, 0x7F);
    } else {
      planner.SetPattern(kGlyphPattern, 0xFF, 0xFF, 0xFF, 0xFF);
    }
    // Black; the fourth byte of a 32-bit pixel opaque.
    const uint8_t alpha = format == CaptionPixelFormat::Rgb32 ? 0xFF : 0x00;
    planner.SetPattern(kEdgePattern, 0x00, 0x00, 0x00, alpha);
    flags.resize(static_cast<size_t>(W) * bytes);
    for (int32_t py = firstRow; py < endRow; ++py) {
      pictureRow(py);
      countText();
      for (int32_t px = 0; px < W; ++px) {
        std::fill_n(flags.begin() + static_cast<size_t>(px) * bytes, bytes, cov[px]);
      }
      planner.AddRow(rowOffset(0, py), flags.data(), W * bytes, kGlyphPattern, kEdgePattern);
    }
  } else if (IsPacked422(format)) {
    const bool yuy2 = format == CaptionPixelFormat::Yuy2;
    if (yuy2) {
      planner.SetPattern(kGlyphPattern, kLumaWhite, kChromaNeutral, kLumaWhite, kChromaNeutral);
      planner.SetPattern(kEdgePattern, kLumaBlack, kChromaNeutral, kLumaBlack, kChromaNeutral);
    } else {
      planner.SetPattern(kGlyphPattern, kChromaNeutral, kLumaWhite, kChromaNeutral, kLumaWhite);
      planner.SetPattern(kEdgePattern, kChromaNeutral, kLumaBlack, kChromaNeutral, kLumaBlack);
    }
    const int32_t lumaAt = yuy2 ? 0 : 1, chromaAt = yuy2 ? 1 : 0;
    const int32_t rowBytes = (W + 1) / 2 * 4;
    flags.resize(static_cast<size_t>(rowBytes));
    for (int32_t py = firstRow; py < endRow; ++py) {
      pictureRow(py);
      countText();
      std::fill(flags.begin(), flags.end(), 0);
      for (int32_t px = firstCol; px < endCol; ++px) {
        if (!cov[px]) continue;
        flags[2 * px + lumaAt] = cov[px];
        flags[px / 2 * 4 + chromaAt] = kByteShared;
        flags[px / 2 * 4 + chromaAt + 2] = kByteShared;
      }
      planner.AddRow(rowOffset(0, py), flags.data(), rowBytes, kGlyphPattern, kEdgePattern);
    }
  } else {
    planner.SetPattern(kGlyphPattern, kLumaWhite, kLumaWhite, kLumaWhite, kLumaWhite);
    planner.SetPattern(kEdgePattern, kLumaBlack, kLumaBlack, kLumaBlack, kLumaBlack);
    planner.SetPattern(kChromaPattern, kChromaNeutral, kChromaNeutral, kChromaNeutral,
                       kChromaNeutral);
    for (int32_t py = firstRow; py < endRow; ++py) {
      pictureRow(py);
      countText();
      planner.AddRow(rowOffset(0, py), cov.data(), W, kGlyphPattern, kEdgePattern);
    }
    // A chroma sample covers 2 x 2 pixels; it turns neutral when any of them
    // is a glyph or outline pixel.
    const int32_t chromaWidth = (W + 1) / 2;
    const int32_t firstChroma = firstRow / 2, endChroma = (endRow - 1) / 2 + 1;
    std::vector<uint8_t> chroma(static_cast<size_t>(endChroma - firstChroma) * chromaWidth);
    for (int32_t py = firstRow; py < endRow; ++py) {
      pictureRow(py);
      uint8_t* c = &chroma[static_cast<size_t>(py / 2 - firstChroma) * chromaWidth];
      for (int32_t px = firstCol; px < endCol; ++px) {
        if (cov[px]) c[px / 2] = kByteShared;
      }
    }
    const bool nv12 = format == CaptionPixelFormat::Nv12;
    if (nv12) flags.resize(static_cast<size_t>(chromaWidth) * 2);
    for (int plane = 1; plane < layout.planeCount; ++plane) {
      for (int32_t cy = firstChroma; cy < endChroma; ++cy) {
        const uint8_t* c = &chroma[static_cast<size_t>(cy - firstChroma) * chromaWidth];
        if (!nv12) {
          planner.AddRow(rowOffset(plane, cy), c, chromaWidth, kChromaPattern, kChromaPattern);
          continue;
        }
        for (int32_t cx = 0; cx < chromaWidth; ++cx) flags[2 * cx] = flags[2 * cx + 1] = c[cx];
        planner.AddRow(rowOffset(plane, cy), flags.data(), chromaWidth * 2, kChromaPattern,
                       kChromaPattern);
      }
    }
  }
  return true;
}

namespace {

bool ProcessorHasAvx2() {
#if !defined(VELK_CAPTION_AVX2)
  return false;
#elif defined(__GNUC__) || defined(__clang__)
  static const bool has = [] {
    __builtin_cpu_init();  // harmless when the runtime has done it already
    return __builtin_cpu_supports("avx2") != 0;
  }();
  return has;
#else
  int info[4];
  __cpuid(info, 1);
  const bool osSaves = (info[2] & (1 << 27)) != 0 && (info[2] & (1 << 28)) != 0 &&
                       (_xgetbv(0) & 6) == 6;
  __cpuidex(info, 7, 0);
  return osSaves && (info[1] & (1 << 5)) != 0;
#endif
}

CaptionMergePath Resolve(CaptionMergePath path) {
  if (path == CaptionMergePath::Simd) path = CaptionMergePath::Avx2;
  if (path == CaptionMergePath::Avx2 && !ProcessorHasAvx2()) path = CaptionMergePath::Sse2;
#ifndef VELK_CAPTION_SSE2
  if (path == CaptionMergePath::Sse2) path = CaptionMergePath::Scalar;
#endif
  return path;
}

#ifdef VELK_CAPTION_SSE2
// How a span's values go in, by its keep value: 00 (an OR), FF (an AND) or
// another (a select, one step more).
enum class Blend { Or, And, Select };

// Where a value byte is not the keep value the frame byte becomes the value
// byte.
template <Blend kHow>
inline void Blend16(uint8_t* d, const uint8_t* v, __m128i keepValue) {
  const __m128i frame = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d));
  __m128i values = _mm_loadu_si128(reinterpret_cast<const __m128i*>(v));
#if defined(__GNUC__) || defined(__clang__)
  // One load: the compiler would load the values again rather than copy them.
  __asm__("" : "+x"(values));
#endif
  const __m128i keep = _mm_cmpeq_epi8(values, keepValue);
  __m128i merged;
  if (kHow == Blend::Or) {
    merged = _mm_or_si128(_mm_and_si128(keep, frame), values);
  } else if (kHow == Blend::And) {
    merged = _mm_andnot_si128(_mm_andnot_si128(frame, keep), values);  // (frame | ~keep) & values
  } else {
    merged = _mm_xor_si128(values, _mm_and_si128(_mm_xor_si128(values, frame), keep));
  }
  _mm_storeu_si128(reinterpret_cast<__m128i*>(d), merged);
}
#endif

#ifdef VELK_CAPTION_AVX2
// lddqu: loaded once, not folded into both the compare and the blend.
VELK_TARGET_AVX2 inline void Blend32(uint8_t* d, const uint8_t* v, __m256i keepValue) {
  const __m256i frame = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(d));
  const __m256i values = _mm256_lddqu_si256(reinterpret_cast<const __m256i*>(v));
  const __m256i keep = _mm256_cmpeq_epi8(values, keepValue);
  _mm256_storeu_si256(reinterpret_cast<__m256i*>(d), _mm256_blendv_epi8(values, frame, keep));
}
#endif

}  // namespace

// The merge loops, one per path; all write the same bytes.
struct CCaptionMerger {
  using Span = CPreparedCaption::Span;

  static void Runs(const CPreparedCaption& c, uint8_t* data, size_t size) {
    for (const auto& run : c.runs_) {
      if (run.offset >= size) continue;
      const size_t length = std::min<size_t>(run.length, size - run.offset);
      uint8_t* d = data + run.offset;
      const uint8_t* v = c.values_.data() + run.values;
      // Short runs in two copies of a fixed size that overlap in the middle.
      if (length > 64) {
        std::memcpy(d, v, length);
      } else if (length >= 16) {
        for (size_t k = 0; k + 16 < length; k += 16) std::memcpy(d + k, v + k, 16);
        std::memcpy(d + length - 16, v + length - 16, 16);
      } else if (length >= 8) {
        std::memcpy(d, v, 8);
        std::memcpy(d + length - 8, v + length - 8, 8);
      } else if (length >= 4) {
        std::memcpy(d, v, 4);
        std::memcpy(d + length - 4, v + length - 4, 4);
      } else {
        for (size_t k = 0; k < length; ++k) d[k] = v[k];
      }
    }
  }

  // A span shorter than a vector, byte by byte.
  static void Short(const CPreparedCaption& c, const Span& span, uint8_t* d, size_t length) {
    const uint8_t* v = c.values_.data() + span.values;
    for (size_t k = 0; k < length; ++k) {
      if (v[k] != span.keep) d[k] = v[k];
    }
  }

#ifdef VELK_CAPTION_SSE2
  // 16 bytes at a time; the last 16 again, overlapping, when the length is not
  // a multiple (blending is idempotent).
  template <Blend kHow>
  static void Sse2Blend(const CPreparedCaption& c, const Span& span, uint8_t* d, size_t length) {
    const uint8_t* v = c.values_.data() + span.values;
    const __m128i keep = _mm_set1_epi8(static_cast<char>(span.keep));
    size_t k = 0;
    for (; k + 32 <= length; k += 32) {
      Blend16<kHow>(d + k, v + k, keep);
      Blend16<kHow>(d + k + 16, v + k + 16, keep);
    }
    if (k + 16 <= length) {
      Blend16<kHow>(d + k, v + k, keep);
      k += 16;
    }
    if (k < length) Blend16<kHow>(d + length - 16, v + length - 16, keep);
  }

  // A span of 16 bytes or more.
  static void Sse2Span(const CPreparedCaption& c, const Span& span, uint8_t* d, size_t length) {
    switch (span.keep) {
      case 0x00: Sse2Blend<Blend::Or>(c, span, d, length); return;
      case 0xFF: Sse2Blend<Blend::And>(c, span, d, length); return;
      default: Sse2Blend<Blend::Select>(c, span, d, length); return;
    }
  }

  static void Sse2(const CPreparedCaption& c, uint8_t* data, size_t size) {
    for (const auto& span : c.spans_) {
      if (span.offset >= size) continue;
      const size_t length = std::min<size_t>(span.length, size - span.offset);
      if (length < 16) {
        Short(c, span, data + span.offset, length);
      } else {
        Sse2Span(c, span, data + span.offset, length);
      }
    }
  }
#endif

#ifdef VELK_CAPTION_AVX2
  VELK_TARGET_AVX2 static void Avx2(const CPreparedCaption& c, uint8_t* data, size_t size) {
    for (const auto& span : c.spans_) {
      if (span.offset >= size) continue;
      const size_t length = std::min<size_t>(span.length, size - span.offset);
      uint8_t* d = data + span.offset;
      if (length < 32) {
        if (length < 16) {
          Short(c, span, d, length);
        } else {
          Sse2Span(c, span, d, length);
        }
        continue;
      }
      const uint8_t* v = c.values_.data() + span.values;
      const __m256i keep = _mm256_set1_epi8(static_cast<char>(span.keep));
      size_t k = 0;
      for (; k + 32 <= length; k += 32) Blend32(d + k, v + k, keep);
      if (k < length) Blend32(d + length - 32, v + length - 32, keep);
    }
  }
#endif
};

bool CaptionSimdAvailable() {
#ifdef VELK_CAPTION_SSE2
  return true;
#else
  return false;
#endif
}

bool CaptionMergePathAvailable(CaptionMergePath path) {
  if (path == CaptionMergePath::Simd) return CaptionSimdAvailable();
  return Resolve(path) == path;
}

void MergeCaption(const CPreparedCaption& caption, uint8_t* data, size_t size,
                  CaptionMergePath path) {
  if (!data || caption.IsEmpty()) return;
  switch (Resolve(path)) {
#ifdef VELK_CAPTION_AVX2
    case CaptionMergePath::Avx2:
      CCaptionMerger::Avx2(caption, data, size);
      return;
#endif
#ifdef VELK_CAPTION_SSE2
    case CaptionMergePath::Sse2:
      CCaptionMerger::Sse2(caption, data, size);
      return;
#endif
    default:
      CCaptionMerger::Runs(caption, data, size);
      return;
  }
}

}  // namespace velk
