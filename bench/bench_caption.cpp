// The per-frame caption merge against memcpy of the same band bytes, measured
// in the same run: a two-line caption of the system font into 720 x 576 and
// 1920 x 1080 frames of RGB555, RGB32 and YV12, and two lines of 36-pixel
// letters, plain and with a 3-pixel outline, into 1280 x 720 frames of every
// format. Prints merge time / memcpy time for each; below 1 means the merge
// is cheaper than copying the band. Ratios use processor time, which other
// work on a shared machine disturbs less than wall time.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "karvex/CaptionRaster.h"

namespace velk {
namespace {

// A stand-in for the system font: lines `line` pixels high in cells of 7/16
// of that, strokes `stroke` pixels thick; each letter has one or two upright
// strokes and up to three bars, as drawn glyphs do.
void DrawLine(CaptionMask& mask, const std::string& text, int32_t top, int32_t line,
              int32_t stroke) {
  const int32_t cell = 7 * line / 16;
  const int32_t x0 = (mask.width - static_cast<int32_t>(text.size()) * cell) / 2;
  auto at = [line](int32_t v) { return v * line / 16; };
  auto fill = [&](int32_t x, int32_t y, int32_t w, int32_t h) {
    for (int32_t r = y; r < y + h; ++r) {
      for (int32_t c = std::max(0, x); c < std::min(mask.width, x + w); ++c) mask.Row(r)[c] = 1;
    }
  };
  for (size_t i = 0; i < text.size(); ++i) {
    const unsigned c = static_cast<unsigned char>(text[i]);
    if (c == ' ') continue;
    const int32_t x = x0 + static_cast<int32_t>(i) * cell;
    const int32_t ascent = at((c & 1) ? 2 : 5), base = at(13);
    fill(x, top + ascent, stroke, base - ascent);
    if (c & 2) fill(x + at(4), top + ascent, stroke, base - ascent);
    else if (c & 4) fill(x + at(1), top + ascent, stroke, base - ascent);
    for (int32_t bar : {5, 8, 12}) {
      if ((c >> (bar % 5)) & 1) fill(x + at(1), top + at(bar), at(5) - at(1), stroke);
    }
  }
}

// Two lines of the given height, the caption's whole width.
CaptionMask TwoLineCaption(int32_t width, int32_t line, int32_t stroke) {
  CaptionMask mask;
  mask.Reset(width, 2 * line);
  DrawLine(mask, "I never thought we would see the harbour again,", 0, line, stroke);
  DrawLine(mask, "not after what happened to the lighthouse.", line, line, stroke);
  return mask;
}

struct Case {
  std::string name;
  CaptionPixelFormat format;
  int32_t width, height;
  int32_t line = 16, stroke = 1;  // the letters' line height and stroke
  int32_t outline = 0;            // the outline's radius, 0 for none
};

const char* FormatName(CaptionPixelFormat f) {
  switch (f) {
    case CaptionPixelFormat::Rgb555: return "RGB555";
    case CaptionPixelFormat::Rgb565: return "RGB565";
    case CaptionPixelFormat::Rgb24: return "RGB24";
    case CaptionPixelFormat::Rgb32: return "RGB32";
    case CaptionPixelFormat::Yv12: return "YV12";
    case CaptionPixelFormat::I420: return "I420";
    case CaptionPixelFormat::Nv12: return "NV12";
    case CaptionPixelFormat::Yuy2: return "YUY2";
    case CaptionPixelFormat::Uyvy: return "UYVY";
    default: return "none";
  }
}

// Two lines of the system font at 720 x 576 and 1920 x 1080 in three
// formats, and two lines of 36-pixel letters at 1280 x 720 in every format,
// plain and outlined.
std::vector<Case> Cases() {
  using F = CaptionPixelFormat;
  std::vector<Case> cases;
  for (F f : {F::Rgb555, F::Rgb32, F::Yv12}) {
    for (int32_t w : {720, 1920}) {
      const int32_t h = w == 720 ? 576 : 1080;
      cases.push_back({std::string(FormatName(f)) + " " + std::to_string(w) + "x" +
                           std::to_string(h),
                       f, w, h});
    }
  }
  for (F f : {F::Rgb555, F::Rgb565, F::Rgb24, F::Rgb32, F::Yv12, F::I420, F::Nv12, F::Yuy2,
              F::Uyvy}) {
    cases.push_back({std::string(FormatName(f)) + " 1280x720 36px", f, 1280, 720, 36, 3});
    cases.push_back(
        {std::string(FormatName(f)) + " 1280x720 36px outlined", f, 1280, 720, 36, 3, 3});
  }
  return cases;
}

CaptionMask CaseCaption(const Case& c) {
  CaptionMask mask = TwoLineCaption(c.width, c.line, c.stroke);
  OutlineCaption(&mask, c.outline);
  return mask;
}

// The bytes of the caption's band (its rows, at least kCaptionBandRows) in
// every plane.
size_t BandBytes(const CaptionFrameLayout& l, int32_t captionRows) {
  const int32_t rows = std::max(captionRows, kCaptionBandRows);
  size_t bytes = static_cast<size_t>(l.planeStride[0]) * rows;
  for (int p = 1; p < l.planeCount; ++p) {
    bytes += static_cast<size_t>(l.planeStride[p]) * ((rows + 1) / 2);
  }
  return bytes;
}

void BenchMerge(benchmark::State& state, const Case& c, CaptionMergePath path) {
  CaptionFrameLayout layout;
  MakeCaptionFrameLayout(c.format, c.width, -c.height, 0, &layout);
  CPreparedCaption caption;
  PrepareCaption(CaseCaption(c), layout, &caption);
  std::vector<uint8_t> frame(layout.imageSize, 0x40);
  for (auto _ : state) {
    MergeCaption(caption, frame.data(), frame.size(), path);
    benchmark::ClobberMemory();
  }
  state.counters["text pixels"] = static_cast<double>(caption.TextPixels());
}

void BenchCopy(benchmark::State& state, const Case& c) {
  CaptionFrameLayout layout;
  MakeCaptionFrameLayout(c.format, c.width, -c.height, 0, &layout);
  const size_t bytes = BandBytes(layout, CaseCaption(c).height);
  std::vector<uint8_t> from(bytes, 0x40), to(bytes, 0);
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), bytes);
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes));
}

// Keeps each run's time per iteration for the ratios printed at the end.
class CRatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const auto& run : runs) {
      if (run.run_type == Run::RT_Iteration) times_[run.benchmark_name()] = run.GetAdjustedCPUTime();
    }
    ConsoleReporter::ReportRuns(runs);
  }
  double Time(const std::string& name) const {
    auto it = times_.find(name);
    return it == times_.end() ? 0 : it->second;
  }

 private:
  std::map<std::string, double> times_;
};

}  // namespace
}  // namespace velk

int main(int argc, char** argv) {
  using namespace velk;
  const std::vector<Case> cases = Cases();
  for (const Case& c : cases) {
    benchmark::RegisterBenchmark((std::string("memcpy band/") + c.name).c_str(),
                                 [&c](benchmark::State& s) { BenchCopy(s, c); });
    benchmark::RegisterBenchmark((std::string("merge/") + c.name).c_str(),
                                 [&c](benchmark::State& s) { BenchMerge(s, c, CaptionMergePath::Simd); });
    benchmark::RegisterBenchmark((std::string("merge SSE2/") + c.name).c_str(),
                                 [&c](benchmark::State& s) { BenchMerge(s, c, CaptionMergePath::Sse2); });
    benchmark::RegisterBenchmark((std::string("merge scalar/") + c.name).c_str(),
                                 [&c](benchmark::State& s) { BenchMerge(s, c, CaptionMergePath::Scalar); });
  }
  benchmark::Initialize(&argc, argv);
  CRatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);

  const char* widest = CaptionMergePathAvailable(CaptionMergePath::Avx2)   ? "AVX2"
                       : CaptionMergePathAvailable(CaptionMergePath::Sse2) ? "SSE2"
                                                                           : "scalar";
  std::printf("\ncaption merge / memcpy of the band (%s path; SSE2 and scalar beside it)\n",
              widest);
  for (const Case& c : cases) {
    const double copy = reporter.Time(std::string("memcpy band/") + c.name);
    const double merge = reporter.Time(std::string("merge/") + c.name);
    const double sse2 = reporter.Time(std::string("merge SSE2/") + c.name);
    const double scalar = reporter.Time(std::string("merge scalar/") + c.name);
    if (copy <= 0) continue;
    std::printf("  %-30s %5.2f   (SSE2 %5.2f, scalar %5.2f)\n", c.name.c_str(), merge / copy, sse2 / copy,
                scalar / copy);
  }
  benchmark::Shutdown();
  return 0;
}
