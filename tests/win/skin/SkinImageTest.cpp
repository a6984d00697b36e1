// Skin pictures drawn through their piece tables, compared pixel by pixel with
// the painted picture they were made from.
#include <gtest/gtest.h>

#include "player/skin/FrameSkinImage.h"
#include "player/skin/SkinLayout.h"
#include "player/skin/SkinWnd.h"
#include "tests/win/skin/SkinTestSupport.h"

namespace velk::skintest {
namespace {

constexpr uint32_t kUntouched = 0xff00ff;

// A 32-bit top-down surface to draw into.
class CSurface {
 public:
  CSurface(int w, int h) : w_(w), h_(h) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    dc_ = ::CreateCompatibleDC(nullptr);
    bitmap_ = ::CreateDIBSection(dc_, &bi, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
    old_ = ::SelectObject(dc_, bitmap_);
    for (int i = 0; i < w * h; ++i) bits_[i] = kUntouched;
  }
  ~CSurface() {
    ::SelectObject(dc_, old_);
    ::DeleteObject(bitmap_);
    ::DeleteDC(dc_);
  }
  HDC Dc() const { return dc_; }
  uint32_t At(int x, int y) const {
    ::GdiFlush();
    return bits_[y * w_ + x] & 0xffffff;
  }
  int Width() const { return w_; }
  int Height() const { return h_; }

 private:
  int w_, h_;
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ old_;
  uint32_t* bits_ = nullptr;
};

// What the plan must leave on a surface of the given size, drawn from the picture.
std::vector<uint32_t> Expected(const skinart::Picture& pic, const CFrameSkinImage& img,
                               const std::vector<PieceDraw>& plan, int w, int h) {
  std::vector<uint32_t> out(static_cast<size_t>(w) * h, kUntouched);
  for (const PieceDraw& d : plan) {
    SkinRect src{};
    bool found = false;
    for (size_t i = 0; i < kFramePieceCount; ++i) {
      if (kFramePieceIds[i] == d.id) {
        src = img.GetFrameTable()[i];
        found = true;
      }
    }
    if (!found) continue;
    const int pw = d.width == -1 ? src.Width() : d.width;
    for (int y = 0; y < src.Height(); ++y) {
      for (int x = 0; x < pw; ++x) {
        const int tx = d.x + x, ty = d.y + y;
        if (tx < 0 || ty < 0 || tx >= w || ty >= h) continue;
        out[static_cast<size_t>(ty) * w + tx] = pic.At(src.left + x, src.top + y);
      }
    }
  }
  return out;
}

int CountMismatches(const CSurface& s, const std::vector<uint32_t>& want) {
  int bad = 0;
  for (int y = 0; y < s.Height(); ++y)
    for (int x = 0; x < s.Width(); ++x) bad += s.At(x, y) != want[static_cast<size_t>(y) * s.Width() + x];
  return bad;
}

TEST(FrameSkinImage, BaseSkinFramesMatchThePaintedPictureAtEverySize) {
  const skinart::Picture pic = skinart::PaintSkin(skinart::Theme::Slate);
  CFrameSkinImage img;
  ASSERT_TRUE(img.SetFrameTable(&kMainFrameTable));
  ASSERT_TRUE(img.LoadFromResource(CSkinWnd::kBaseSkinResource));
  struct Row {
    int w, h;
    bool active;
  } rows[] = {{200, 58, true}, {333, 131, true}, {333, 131, false}, {250, 88, false}};
  for (const Row& r : rows) {
    SCOPED_TRACE(testing::Message() << r.w << "x" << r.h << (r.active ? " active" : " inactive"));
    CSurface s(r.w, r.h);
    const RECT rc{0, 0, r.w, r.h};
    EXPECT_TRUE(img.DrawFrame(s.Dc(), rc, r.active));
    auto want = Expected(pic, img, PlanFrame({0, 0, r.w, r.h}, r.active, img.SizeFunction()), r.w, r.h);
    EXPECT_EQ(CountMismatches(s, want), 0);
    // The inside of the frame is the window's own business.
    if (r.h > 60) EXPECT_EQ(s.At(r.w / 2, 20 + (r.h - 58) / 2), kUntouched);
  }
}

TEST(FrameSkinImage, FailedFileLoadKeepsThePreviousPicture) {
  CScratchDir dir;
  const skinart::Picture frost = skinart::PaintSkin(skinart::Theme::Frost);
  ASSERT_TRUE(WriteBytes(dir.File("frost.bmp"), skinart::EncodeBmp8(frost)));
  ASSERT_TRUE(WriteBytes(dir.File("broken.bmp"), {'B', 'M', 1, 2, 3}));
  CFrameSkinImage img;
  ASSERT_TRUE(img.SetFrameTable(&kMainFrameTable));
  HDC screen = ::GetDC(nullptr);
  EXPECT_TRUE(img.LoadFromFile(dir.File("frost.bmp"), screen));
  EXPECT_FALSE(img.LoadFromFile(dir.File("broken.bmp"), screen));
  EXPECT_FALSE(img.LoadFromFile(dir.File("missing.bmp"), screen));
  ::ReleaseDC(nullptr, screen);
  CSurface s(300, 100);
  img.DrawFrame(s.Dc(), {0, 0, 300, 100}, true);
  auto want = Expected(frost, img, PlanFrame({0, 0, 300, 100}, true, img.SizeFunction()), 300, 100);
  EXPECT_EQ(CountMismatches(s, want), 0);
}

TEST(SkinImage, PieceTableIsIndependentOfTheBitmap) {
  CFrameSkinImage img;
  EXPECT_FALSE(img.SetFrameTable(nullptr));
  EXPECT_EQ(img.GetImageSize(FP_TITLE_FILL), (SkinSize{0, 0}));
  ASSERT_TRUE(img.SetFrameTable(&kVideoFrameTable));
  // Registered before any bitmap, and kept over a reload.
  EXPECT_EQ(img.GetImageSize(FP_BOTTOM_FILL), (SkinSize{25, 8}));
  img.SetRect(500, {1, 2, 11, 7});
  ASSERT_TRUE(img.LoadFromResource(CSkinWnd::kBaseSkinResource));
  EXPECT_EQ(img.GetImageSize(500), (SkinSize{10, 5}));
  img.RemoveRect(500);
  img.RemoveRect(501);  // never registered: ignored
  EXPECT_EQ(img.GetImageSize(500), (SkinSize{0, 0}));
  CSurface s(20, 20);
  EXPECT_FALSE(img.DrawImage(500, s.Dc(), 0, 0));
  EXPECT_EQ(s.At(0, 0), kUntouched);
  // A partial tile copies the first columns of the piece only.
  ASSERT_TRUE(img.DrawImage(FP_TITLE_FILL, s.Dc(), 0, 0, 3));
  const skinart::Picture pic = skinart::PaintSkin(skinart::Theme::Slate);
  EXPECT_EQ(s.At(2, 5), pic.At(127 + 2, 5));
  EXPECT_EQ(s.At(3, 5), kUntouched);
}

TEST(SkinImage, MissingResourceLeavesNoBitmap) {
  CSkinImage img;
  EXPECT_TRUE(img.LoadFromResource(CSkinWnd::kBaseSkinResource));
  EXPECT_FALSE(img.LoadFromResource(4321));
  EXPECT_EQ(img.GetBitmap(), nullptr);
}

}  // namespace
}  // namespace velk::skintest
