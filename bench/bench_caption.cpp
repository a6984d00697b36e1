// The per-frame caption merge against memcpy of the same band bytes, measured
// in the same run: a two-line caption into 720 x 576 and 1920 x 1080 frames of
// RGB555, RGB32 and YV12. Prints merge time / memcpy time for each; below 1
// means the merge is cheaper than copying the band. Ratios use processor
// time, which other work on a shared machine disturbs less than wall time.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "karvex/CaptionRaster.h"

namespace velk {
namespace {

// A stand-in for the system font (16-pixel lines, 7-pixel cells): each letter
// has one or two upright strokes and up to three bars, as drawn glyphs do.
void DrawLine(CaptionMask& mask, const std::string& text, int32_t top) {
  const int32_t cell = 7;
  const int32_t x0 = (mask.width - static_cast<int32_t>(text.size()) * cell) / 2;
  for (size_t i = 0; i < text.size(); ++i) {
    const unsigned c = static_cast<unsigned char>(text[i]);
    if (c == ' ') continue;
    const int32_t x = x0 + static_cast<int32_t>(i) * cell;
    auto set = [&](int32_t dx, int32_t dy) {
      if (x + dx >= 0 && x + dx < mask.width) mask.Row(top + dy)[x + dx] = 1;
    };
    const int32_t ascent = (c & 1) ? 2 : 5;
    for (int32_t y = ascent; y < 13; ++y) {
      set(0, y);
      if (c & 2) set(4, y);
      else if (c & 4) set(1, y);
    }
    for (int32_t bar : {5, 8, 12}) {
      if ((c >> (bar % 5)) & 1) {
        for (int32_t dx = 1; dx < 5; ++dx) set(dx, bar);
      }
    }
  }
}

CaptionMask TwoLineCaption(int32_t width) {
  CaptionMask mask;
  mask.Reset(width, 32);
  DrawLine(mask, "I never thought we would see the harbour again,", 0);
  DrawLine(mask, "not after what happened to the lighthouse.", 16);
  return mask;
}

struct Case {
  const char* name;
  CaptionPixelFormat format;
  int32_t width, height;
};

const Case kCases[] = {
    {"RGB555 720x576", CaptionPixelFormat::Rgb555, 720, 576},
    {"RGB555 1920x1080", CaptionPixelFormat::Rgb555, 1920, 1080},
    {"RGB32 720x576", CaptionPixelFormat::Rgb32, 720, 576},
    {"RGB32 1920x1080", CaptionPixelFormat::Rgb32, 1920, 1080},
    {"YV12 720x576", CaptionPixelFormat::Yv12, 720, 576},
    {"YV12 1920x1080", CaptionPixelFormat::Yv12, 1920, 1080},
};

// The bytes of the 48-row band in every plane.
size_t BandBytes(const CaptionFrameLayout& l) {
  size_t bytes = static_cast<size_t>(l.planeStride[0]) * kCaptionBandRows;
  for (int p = 1; p < l.planeCount; ++p) {
    bytes += static_cast<size_t>(l.planeStride[p]) * (kCaptionBandRows / 2);
  }
  return bytes;
}

void BenchMerge(benchmark::State& state, const Case& c, CaptionMergePath path) {
  CaptionFrameLayout layout;
  MakeCaptionFrameLayout(c.format, c.width, -c.height, 0, &layout);
  CPreparedCaption caption;
  PrepareCaption(TwoLineCaption(c.width), layout, &caption);
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
  const size_t bytes = BandBytes(layout);
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
  for (const Case& c : kCases) {
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
  for (const Case& c : kCases) {
    const double copy = reporter.Time(std::string("memcpy band/") + c.name);
    const double merge = reporter.Time(std::string("merge/") + c.name);
    const double sse2 = reporter.Time(std::string("merge SSE2/") + c.name);
    const double scalar = reporter.Time(std::string("merge scalar/") + c.name);
    if (copy <= 0) continue;
    std::printf("  %-18s %5.2f   (SSE2 %5.2f, scalar %5.2f)\n", c.name, merge / copy, sse2 / copy,
                scalar / copy);
  }
  benchmark::Shutdown();
  return 0;
}
