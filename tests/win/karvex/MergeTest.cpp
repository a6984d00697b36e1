// The overlay on synthetic frames of every format it accepts, through the
// filter's own streaming calls and Transform on real samples: text pixels
// turn white inside the bottom band, every other byte stays, and the text
// is upright whatever the row order.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "KarvexTestUtil.h"
#include "karvex/CaptionOverlayFilter.h"
#include "karvex/CaptionPainter.h"

using karvextest::CTestSample;
using karvextest::VideoType;
using velk::CCaptionOverlayFilter;
using velk::dshow::CMediaType;

namespace {

enum class Kind { Rgb555, Rgb565, Rgb24, Rgb32, Yv12, I420, Nv12, Yuy2, Uyvy };

struct Format {
  const char* name;
  Kind kind;
  GUID subtype;
  DWORD compression;
  WORD bits;
};

const Format kFormats[] = {
    {"RGB555", Kind::Rgb555, MEDIASUBTYPE_RGB555, BI_RGB, 16},
    {"RGB565", Kind::Rgb565, MEDIASUBTYPE_RGB565, BI_BITFIELDS, 16},
    {"RGB24", Kind::Rgb24, MEDIASUBTYPE_RGB24, BI_RGB, 24},
    {"RGB32", Kind::Rgb32, MEDIASUBTYPE_RGB32, BI_RGB, 32},
    {"YV12", Kind::Yv12, MEDIASUBTYPE_YV12, MAKEFOURCC('Y', 'V', '1', '2'), 12},
    {"I420", Kind::I420, MEDIASUBTYPE_IYUV, MAKEFOURCC('I', '4', '2', '0'), 12},
    {"NV12", Kind::Nv12, MEDIASUBTYPE_NV12, MAKEFOURCC('N', 'V', '1', '2'), 12},
    {"YUY2", Kind::Yuy2, MEDIASUBTYPE_YUY2, MAKEFOURCC('Y', 'U', 'Y', '2'), 16},
    {"UYVY", Kind::Uyvy, MEDIASUBTYPE_UYVY, MAKEFOURCC('U', 'Y', 'V', 'Y'), 16},
};

bool IsRgb(Kind k) { return k == Kind::Rgb555 || k == Kind::Rgb565 || k == Kind::Rgb24 || k == Kind::Rgb32; }
bool IsPlanar(Kind k) { return k == Kind::Yv12 || k == Kind::I420 || k == Kind::Nv12; }

int RgbBytes(Kind k) { return k == Kind::Rgb24 ? 3 : k == Kind::Rgb32 ? 4 : 2; }

size_t FrameBytes(Kind k, int w, int h) {
  if (IsRgb(k)) return static_cast<size_t>((w * RgbBytes(k) + 3) & ~3) * h;
  if (IsPlanar(k)) return static_cast<size_t>(w) * h + 2 * static_cast<size_t>((w + 1) / 2) * ((h + 1) / 2);
  return static_cast<size_t>(w) * 2 * h;
}

// What the overlay did to one frame, in picture coordinates (row 0 at the top).
struct Outcome {
  std::vector<uint8_t> text;  // 1 where the pixel changed
  int changed = 0;
  int white = 0;              // of those, the glyphs' (the others are the outline)
  int firstRow = -1;
  int lastRow = -1;
  std::string fault;          // the first rule broken, empty when none
};

void Fault(Outcome& o, const std::string& what) {
  if (o.fault.empty()) o.fault = what;
}

// Compares a frame after the overlay with the frame before it.
Outcome Inspect(Kind kind, int w, int h, bool bottomUp, const uint8_t* before, const uint8_t* after) {
  Outcome o;
  o.text.assign(static_cast<size_t>(w) * h, 0);
  auto mark = [&](int x, int y) {
    o.text[static_cast<size_t>(y) * w + x] = 1;
    ++o.changed;
    if (o.firstRow < 0 || y < o.firstRow) o.firstRow = y;
    if (y > o.lastRow) o.lastRow = y;
  };
  if (IsRgb(kind)) {
    int bpp = RgbBytes(kind);
    int stride = (w * bpp + 3) & ~3;
    for (int y = 0; y < h; ++y) {
      int row = bottomUp ? h - 1 - y : y;
      const uint8_t* b = before + static_cast<size_t>(row) * stride;
      const uint8_t* a = after + static_cast<size_t>(row) * stride;
      for (int x = 0; x < w; ++x) {
        if (std::memcmp(b + x * bpp, a + x * bpp, bpp) == 0) continue;
        mark(x, y);
        const uint8_t* p = a + x * bpp;
        bool white = kind == Kind::Rgb555   ? (p[0] == 0xFF && p[1] == 0x7F)
                     : kind == Kind::Rgb565 ? (p[0] == 0xFF && p[1] == 0xFF)
                                            : (p[0] == 0xFF && p[1] == 0xFF && p[2] == 0xFF);
        bool dark = p[0] == 0 && p[1] == 0 && (bpp == 2 || p[2] == 0);  // the outline
        o.white += white;
        if (!white && !dark) Fault(o, "a changed pixel that is neither white nor the dark outline");
      }
      // Row padding is never touched.
      if (std::memcmp(b + w * bpp, a + w * bpp, stride - w * bpp) != 0) Fault(o, "row padding changed");
    }
    return o;
  }
  if (IsPlanar(kind)) {
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        size_t i = static_cast<size_t>(y) * w + x;
        if (before[i] == after[i]) continue;
        mark(x, y);
        if (after[i] != 235 && after[i] != 16) Fault(o, "a changed luma sample that is not 235 or 16");
        o.white += after[i] == 235;
      }
    // Chroma: neutral where it changed, and only over text.
    int cw = (w + 1) / 2, ch = (h + 1) / 2;
    size_t chroma = static_cast<size_t>(w) * h;
    size_t count = kind == Kind::Nv12 ? static_cast<size_t>(w) * ch : static_cast<size_t>(cw) * ch * 2;
    for (size_t i = 0; i < count; ++i) {
      if (before[chroma + i] == after[chroma + i]) continue;
      if (after[chroma + i] != 128) Fault(o, "a changed chroma sample that is not 128");
      int cx, cy;
      if (kind == Kind::Nv12) {
        cx = static_cast<int>(i % w) / 2;
        cy = static_cast<int>(i / w);
      } else {
        size_t plane = i % (static_cast<size_t>(cw) * ch);
        cx = static_cast<int>(plane % cw);
        cy = static_cast<int>(plane / cw);
      }
      bool covers = false;
      for (int dy = 0; dy < 2; ++dy)
        for (int dx = 0; dx < 2; ++dx) {
          int x = cx * 2 + dx, y = cy * 2 + dy;
          if (x < w && y < h && o.text[static_cast<size_t>(y) * w + x]) covers = true;
        }
      if (!covers) Fault(o, "chroma changed away from the text");
    }
    return o;
  }
  // Packed 4:2:2.
  int yOffset = kind == Kind::Yuy2 ? 0 : 1;
  int cOffset = kind == Kind::Yuy2 ? 1 : 0;
  for (int y = 0; y < h; ++y) {
    const uint8_t* b = before + static_cast<size_t>(y) * w * 2;
    const uint8_t* a = after + static_cast<size_t>(y) * w * 2;
    for (int x = 0; x < w; ++x) {
      int i = x * 2 + yOffset;
      if (b[i] == a[i]) continue;
      mark(x, y);
      if (a[i] != 235 && a[i] != 16) Fault(o, "a changed luma sample that is not 235 or 16");
      o.white += a[i] == 235;
    }
    for (int x = 0; x < w; ++x) {
      int i = x * 2 + cOffset;
      if (b[i] == a[i]) continue;
      if (a[i] != 128) Fault(o, "a changed chroma sample that is not 128");
      int pair = x / 2;
      bool covers = o.text[static_cast<size_t>(y) * w + pair * 2] ||
                    (pair * 2 + 1 < w && o.text[static_cast<size_t>(y) * w + pair * 2 + 1]);
      if (!covers) Fault(o, "chroma changed away from the text");
    }
  }
  return o;
}

class MergeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    HRESULT hr = S_OK;
    filter_ = static_cast<CCaptionOverlayFilter*>(CCaptionOverlayFilter::CreateInstance(nullptr, &hr));
    ASSERT_NE(nullptr, filter_);
    filter_->NonDelegatingAddRef();
  }
  void TearDown() override {
    if (filter_) {
      filter_->StopStreaming();
      filter_->NonDelegatingRelease();
    }
  }

  // Streams `format` frames of w x signedHeight from now on.
  void Stream(const Format& f, int w, int signedHeight) {
    filter_->StopStreaming();
    CMediaType type = VideoType(f.subtype, f.compression, f.bits, w, signedHeight);
    ASSERT_EQ(S_OK, filter_->CheckInputType(type)) << f.name;
    filter_->GetPin(0)->SetMediaType(type);
    ASSERT_EQ(S_OK, filter_->StartStreaming());
  }

  // One frame of random bytes through Transform; returns before and after.
  void RunFrame(size_t bytes, std::vector<uint8_t>* before, std::vector<uint8_t>* after,
                long actualLength = -1) {
    CTestSample sample(static_cast<long>(bytes));
    ASSERT_NE(nullptr, sample.Get());
    std::mt19937 random(7);
    before->resize(bytes);
    // No white, no outline black and no neutral chroma by chance.
    for (auto& b : *before) b = static_cast<uint8_t>(0x20 + random() % 0x60);
    std::memcpy(sample.Data(), before->data(), bytes);
    if (actualLength >= 0) sample.Get()->SetActualDataLength(actualLength);
    ASSERT_EQ(S_OK, filter_->Transform(sample.Get()));
    after->assign(sample.Data(), sample.Data() + bytes);
  }

  CCaptionOverlayFilter* filter_ = nullptr;
};

TEST_F(MergeTest, EveryFormatBothRowOrdersWhiteUprightTextInTheBottomBand) {
  const int w = 160, h = 120;
  for (const Format& f : kFormats) {
    std::vector<uint8_t> reference;  // the text mask of the first orientation
    for (int sign : {-1, 1}) {
      SCOPED_TRACE(std::string(f.name) + (sign < 0 ? " top-down" : " positive height"));
      Stream(f, w, sign * h);
      ASSERT_EQ(S_OK, filter_->SetCaptionText("<P Class=ENCC>Hello"));
      RECT rect = filter_->CaptionRect();
      ASSERT_GT(rect.bottom, 4);
      ASSERT_LT(rect.bottom, 48) << "one line";
      EXPECT_EQ(w, rect.right);

      std::vector<uint8_t> before, after;
      RunFrame(FrameBytes(f.kind, w, h), &before, &after);
      Outcome o = Inspect(f.kind, w, h, IsRgb(f.kind) && sign > 0, before.data(), after.data());
      EXPECT_EQ("", o.fault);
      EXPECT_GT(o.changed, 30) << "the word shows";
      EXPECT_EQ(static_cast<int>(filter_->PreparedTextPixels()), o.white);
      // A line lower than the band starts at the top of the band.
      EXPECT_GE(o.firstRow, h - 48);
      EXPECT_LT(o.lastRow, h - 48 + rect.bottom);
      if (reference.empty()) reference = o.text;
      else EXPECT_TRUE(reference == o.text) << "the same upright picture for both row orders";
    }
  }
}

TEST_F(MergeTest, EmptyAndNbspCaptionsLeaveFramesAlone) {
  const int w = 64, h = 64;
  for (const Format& f : kFormats) {
    SCOPED_TRACE(f.name);
    Stream(f, w, h);
    for (const char* text : {"", "<P Class=ENCC>&nbsp;", "<P> &nbsp;<br>&nbsp </P>", "<p>\r\n\t"}) {
      filter_->SetCaptionText("<P>shown before");
      ASSERT_EQ(S_OK, filter_->SetCaptionText(text));
      std::vector<uint8_t> before, after;
      RunFrame(FrameBytes(f.kind, w, h), &before, &after);
      EXPECT_TRUE(before == after) << "text \"" << text << "\"";
    }
  }
}

TEST_F(MergeTest, LineBreakTagsMakeTwoLinesOnlyWhenWrittenExactly) {
  Stream(kFormats[0], 320, 240);
  filter_->SetCaptionText("<P>Hello");
  // A line, with the outline above and below the text once.
  const LONG edges = 2 * velk::CaptionOutlineWidth(velk::CaptionLineHeight(240));
  LONG one = filter_->CaptionRect().bottom;
  EXPECT_EQ(one, velk::CaptionLineHeight(240) + edges);
  filter_->SetCaptionText("<P>Hello<br>World");
  EXPECT_EQ(2 * one - edges, filter_->CaptionRect().bottom);
  EXPECT_EQ("Hello\r\nWorld", filter_->CaptionText());
  filter_->SetCaptionText("<P>Hello</br>World");
  EXPECT_EQ(2 * one - edges, filter_->CaptionRect().bottom);
  filter_->SetCaptionText("<P>Hello<BR>World");
  EXPECT_EQ(one, filter_->CaptionRect().bottom);
  EXPECT_EQ("Hello<BR>World", filter_->CaptionText());
}

TEST_F(MergeTest, CallersBufferMayChangeRightAfterTheCall) {
  const Format& f = kFormats[3];
  Stream(f, 160, 120);
  char buffer[64] = "<P>Hello";
  filter_->SetCaptionText(buffer);
  std::memcpy(buffer, "&nbsp", 6);
  std::memset(buffer + 5, 'X', sizeof(buffer) - 6);
  std::vector<uint8_t> before, after;
  RunFrame(FrameBytes(f.kind, 160, 120), &before, &after);
  EXPECT_EQ("Hello", filter_->CaptionText());
  EXPECT_GT(Inspect(f.kind, 160, 120, true, before.data(), after.data()).changed, 30);
}

TEST_F(MergeTest, TextKeptOverARestartIsDrawnAgain) {
  const Format& f = kFormats[4];
  Stream(f, 160, 120);
  filter_->SetCaptionText("<P>Hello");
  size_t drawn = filter_->PreparedTextPixels();
  ASSERT_GT(drawn, 0u);
  Stream(f, 160, 120);  // stop, then start again
  EXPECT_EQ("Hello", filter_->CaptionText());
  EXPECT_EQ(drawn, filter_->PreparedTextPixels());
  // Text given while stopped waits for streaming.
  filter_->StopStreaming();
  filter_->SetCaptionText("<P>World");
  EXPECT_EQ(0u, filter_->PreparedTextPixels());
  ASSERT_EQ(S_OK, filter_->StartStreaming());
  EXPECT_GT(filter_->PreparedTextPixels(), 0u);
}

TEST_F(MergeTest, NeverWritesPastTheSampleData) {
  // A caption taller than a small frame, and a sample shorter than a frame.
  const Format& f = kFormats[0];
  Stream(f, 40, -20);
  filter_->SetCaptionText("<P>one two three four five six seven eight nine ten");
  ASSERT_GT(filter_->CaptionRect().bottom, 20);
  size_t bytes = FrameBytes(f.kind, 40, 20);
  std::vector<uint8_t> before, after;
  RunFrame(bytes, &before, &after);
  Outcome o = Inspect(f.kind, 40, 20, false, before.data(), after.data());
  EXPECT_EQ("", o.fault);
  EXPECT_GT(o.changed, 0) << "the bottom of the caption shows";

  Stream(f, 160, -120);
  filter_->SetCaptionText("<P>Hello<br>World");
  ASSERT_GT(120 - 48 + filter_->CaptionRect().bottom, 90) << "the caption reaches the cut-off rows";
  bytes = FrameBytes(f.kind, 160, 120);
  long half = static_cast<long>(bytes - 160 * 2 * 30);  // the last 30 rows are not in the sample
  RunFrame(bytes, &before, &after, half);
  EXPECT_TRUE(std::equal(before.begin() + half, before.end(), after.begin() + half));
  EXPECT_FALSE(std::equal(before.begin(), before.begin() + half, after.begin())) << "the part that fits";
}

TEST_F(MergeTest, ProcessorWithMmxIsDetected) {
  // Every x86-64 processor has MMX.
  EXPECT_TRUE(filter_->HasMmx());
}

}  // namespace
