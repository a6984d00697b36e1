// The caption merge on arbitrary geometry: any format, size, orientation,
// stride, caption size, mix of glyph, outline and other coverage values, an
// outline of any radius up to 6, and a sample that may be shorter than the
// frame. The outline keeps every glyph and grows the mask by its radius all
// round. The sample is a heap block of exactly its size, so AddressSanitizer
// reports any byte written past it; every merge path must give the same
// frame.
#include <cstdint>
#include <cstdlib>
#include <algorithm>
#include <cstring>
#include <vector>

#include "karvex/CaptionRaster.h"

namespace {

struct Reader {
  const uint8_t* p;
  size_t n;
  uint32_t Next(uint32_t range) {
    uint32_t v = 0;
    for (int i = 0; i < 2; ++i) {
      v = v << 8 | (n ? (--n, *p++) : 0);
    }
    return range ? v % range : 0;
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace velk;
  Reader in{data, size};
  const auto format = static_cast<CaptionPixelFormat>(1 + in.Next(9));
  const int32_t width = 1 + static_cast<int32_t>(in.Next(200));
  const int32_t height = (1 + static_cast<int32_t>(in.Next(160))) * (in.Next(2) ? 1 : -1);
  const int32_t extraStride = static_cast<int32_t>(in.Next(9));
  const int32_t maskWidth = 1 + static_cast<int32_t>(in.Next(260));
  const int32_t maskHeight = 1 + static_cast<int32_t>(in.Next(200));
  const uint32_t cutPermille = in.Next(1200);
  const int32_t radius = static_cast<int32_t>(in.Next(7));

  CaptionFrameLayout layout;
  if (!MakeCaptionFrameLayout(format, width, height, 0, &layout)) return 0;
  if (extraStride && !MakeCaptionFrameLayout(format, width, height,
                                             layout.planeStride[0] + extraStride, &layout)) {
    return 0;
  }
  static const uint8_t kValues[4] = {kCaptionBackground, kCaptionGlyph, kCaptionEdge, 0xFF};
  CaptionMask mask;
  mask.Reset(maskWidth, maskHeight);
  for (size_t i = 0; i < mask.coverage.size(); ++i) {
    mask.coverage[i] = kValues[in.n ? (in.p[i % in.n] >> (i % 7)) & 3 : (i % 3 == 0)];
  }
  auto glyphs = [](const CaptionMask& m) {
    return m.coverage.size() - static_cast<size_t>(std::count(m.coverage.begin(), m.coverage.end(),
                                                              kCaptionBackground)) -
           static_cast<size_t>(std::count(m.coverage.begin(), m.coverage.end(), kCaptionEdge));
  };
  const size_t glyphCount = glyphs(mask);
  if (!OutlineCaption(&mask, radius) || mask.width != maskWidth + 2 * radius ||
      mask.height != maskHeight + 2 * radius || glyphs(mask) != glyphCount) {
    std::abort();
  }
  CPreparedCaption caption;
  if (!PrepareCaption(mask, layout, &caption)) std::abort();
  if (caption.Extent() > layout.imageSize) std::abort();

  const size_t sampleSize = cutPermille >= 1000 ? layout.imageSize
                                                : layout.imageSize * cutPermille / 1000;
  std::vector<uint8_t> reference;
  for (CaptionMergePath path : {CaptionMergePath::Scalar, CaptionMergePath::Sse2,
                                CaptionMergePath::Avx2}) {
    uint8_t* sample = static_cast<uint8_t*>(std::malloc(sampleSize ? sampleSize : 1));
    for (size_t i = 0; i < sampleSize; ++i) sample[i] = static_cast<uint8_t>(i * 7);
    MergeCaption(caption, sample, sampleSize, path);
    if (reference.empty()) {
      reference.assign(sample, sample + sampleSize);
    } else if (sampleSize && std::memcmp(reference.data(), sample, sampleSize) != 0) {
      std::abort();
    }
    std::free(sample);
  }
  return 0;
}
