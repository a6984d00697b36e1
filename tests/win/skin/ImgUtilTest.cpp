// The image loader on files of every kind it reads, and on files it must refuse.
#include <wincodec.h>

#include <gtest/gtest.h>

#include "platform/framework/ComPtr.h"
#include "platform/imgutil/ImgUtil.h"
#include "tests/win/skin/SkinTestSupport.h"

namespace velk::skintest {
namespace {

// 24-bit BGR rows: left half red, right half blue, the bottom quarter green.
std::vector<uint8_t> TestPixels(int w, int h) {
  std::vector<uint8_t> px(static_cast<size_t>(w) * h * 3);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      uint8_t* p = &px[(static_cast<size_t>(y) * w + x) * 3];
      const uint32_t rgb = y >= h - h / 4 ? 0x00ff00 : (x < w / 2 ? 0xff0000 : 0x0000ff);
      p[0] = rgb & 0xff;
      p[1] = (rgb >> 8) & 0xff;
      p[2] = (rgb >> 16) & 0xff;
    }
  }
  return px;
}

bool EncodeWithWic(const std::string& path, const GUID& container, int w, int h) {
  ComPtr<IWICImagingFactory> factory;
  if (FAILED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IWICImagingFactory, factory.ReceiveVoid()))) {
    return false;
  }
  std::wstring wide(path.begin(), path.end());
  ComPtr<IWICStream> stream;
  ComPtr<IWICBitmapEncoder> encoder;
  ComPtr<IWICBitmapFrameEncode> frame;
  ComPtr<IPropertyBag2> props;
  if (FAILED(factory->CreateStream(stream.Receive())) ||
      FAILED(stream->InitializeFromFilename(wide.c_str(), GENERIC_WRITE)) ||
      FAILED(factory->CreateEncoder(container, nullptr, encoder.Receive())) ||
      FAILED(encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache)) ||
      FAILED(encoder->CreateNewFrame(frame.Receive(), props.Receive())) ||
      FAILED(frame->Initialize(props.Get())) ||
      FAILED(frame->SetSize(static_cast<UINT>(w), static_cast<UINT>(h)))) {
    return false;
  }
  WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
  if (FAILED(frame->SetPixelFormat(&format)) || format != GUID_WICPixelFormat24bppBGR) return false;
  std::vector<uint8_t> px = TestPixels(w, h);
  const UINT stride = static_cast<UINT>(w) * 3;
  return SUCCEEDED(frame->WritePixels(static_cast<UINT>(h), stride, static_cast<UINT>(px.size()), px.data())) &&
         SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
}

// An 8 × 4 GIF written by hand: codes stay 9 bits wide, one literal per pixel.
std::vector<uint8_t> MakeGif() {
  const int w = 8, h = 4;
  std::vector<uint8_t> g = {'G', 'I', 'F', '8', '9', 'a', w, 0, h, 0, 0xF7, 0, 0};
  for (int i = 0; i < 256; ++i) {  // index 0 red, 1 blue, 2 green
    const uint32_t rgb = i == 0 ? 0xff0000 : i == 1 ? 0x0000ff : i == 2 ? 0x00ff00 : 0;
    g.push_back((rgb >> 16) & 0xff);
    g.push_back((rgb >> 8) & 0xff);
    g.push_back(rgb & 0xff);
  }
  g.insert(g.end(), {0x2C, 0, 0, 0, 0, w, 0, h, 0, 0, 8});
  std::vector<uint16_t> codes = {256};
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) codes.push_back(y == h - 1 ? 2 : (x < w / 2 ? 0 : 1));
  codes.push_back(257);
  std::vector<uint8_t> data;
  uint32_t acc = 0;
  int bits = 0;
  for (uint16_t c : codes) {
    acc |= static_cast<uint32_t>(c) << bits;
    bits += 9;
    while (bits >= 8) {
      data.push_back(acc & 0xff);
      acc >>= 8;
      bits -= 8;
    }
  }
  if (bits > 0) data.push_back(acc & 0xff);
  g.push_back(static_cast<uint8_t>(data.size()));
  g.insert(g.end(), data.begin(), data.end());
  g.insert(g.end(), {0, 0x3B});
  return g;
}

std::vector<uint8_t> AsBmp24(int w, int h) {
  skinart::Picture p;
  p.width = w;
  p.height = h;
  std::vector<uint8_t> px = TestPixels(w, h);
  for (size_t i = 0; i < px.size(); i += 3) p.pixels.push_back(px[i] | (px[i + 1] << 8) | (px[i + 2] << 16));
  return skinart::EncodeBmp24(p);
}

struct Loaded {
  HBITMAP bitmap = nullptr;
  int width = -1, height = -1, bits = -1;
  ~Loaded() {
    if (bitmap) ::DeleteObject(bitmap);
  }
};

void Load(const std::string& path, Loaded& out) {
  HDC screen = ::GetDC(nullptr);
  out.bitmap = CImgUtil::LoadImageA(path, screen, &out.width, &out.height, &out.bits);
  ::ReleaseDC(nullptr, screen);
}

uint32_t BitmapPixel(HBITMAP bitmap, int x, int y) {
  HDC dc = ::CreateCompatibleDC(nullptr);
  HGDIOBJ old = ::SelectObject(dc, bitmap);
  const uint32_t c = PixelAt(dc, x, y);
  ::SelectObject(dc, old);
  ::DeleteDC(dc);
  return c;
}

bool Near(uint32_t a, uint32_t b, int tolerance) {
  for (int s = 0; s < 24; s += 8) {
    if (std::abs(static_cast<int>((a >> s) & 0xff) - static_cast<int>((b >> s) & 0xff)) > tolerance) return false;
  }
  return true;
}

TEST(ImgUtil, ReadsBmpPngJpegAndGif) {
  CScratchDir dir;
  const int w = 32, h = 32;
  ASSERT_TRUE(WriteBytes(dir.File("t24.bmp"), AsBmp24(w, h)));
  ASSERT_TRUE(EncodeWithWic(dir.File("t.png"), GUID_ContainerFormatPng, w, h));
  ASSERT_TRUE(EncodeWithWic(dir.File("t.jpg"), GUID_ContainerFormatJpeg, w, h));
  ASSERT_TRUE(WriteBytes(dir.File("t.gif"), MakeGif()));
  struct Row {
    const char* file;
    int w, h;
    int tolerance;  // JPEG is lossy
  } rows[] = {{"t24.bmp", w, h, 0}, {"t.png", w, h, 0}, {"t.jpg", w, h, 40}, {"t.gif", 8, 4, 0}};
  // Points well inside the red, blue and green areas (JPEG blurs their borders).
  for (const Row& r : rows) {
    SCOPED_TRACE(r.file);
    Loaded img;
    Load(dir.File(r.file), img);
    ASSERT_NE(img.bitmap, nullptr);
    EXPECT_EQ(img.width, r.w);
    EXPECT_EQ(img.height, r.h);
    EXPECT_GT(img.bits, 0);
    EXPECT_PRED3(Near, BitmapPixel(img.bitmap, r.w / 8, 0), 0xff0000u, r.tolerance);
    EXPECT_PRED3(Near, BitmapPixel(img.bitmap, r.w - 1 - r.w / 8, 0), 0x0000ffu, r.tolerance);
    EXPECT_PRED3(Near, BitmapPixel(img.bitmap, r.w / 8, r.h - 1), 0x00ff00u, r.tolerance);
  }
}

TEST(ImgUtil, PalettedSkinPictureKeepsItsColours) {
  CScratchDir dir;
  const skinart::Picture p = skinart::PaintSkin(skinart::Theme::Frost);
  ASSERT_TRUE(WriteBytes(dir.File("frost.bmp"), skinart::EncodeBmp8(p)));
  Loaded img;
  Load(dir.File("frost.bmp"), img);
  ASSERT_NE(img.bitmap, nullptr);
  EXPECT_EQ(img.width, 280);
  EXPECT_EQ(img.height, 186);
  for (auto [x, y] : {std::pair{0, 0}, {160, 6}, {240, 88}, {30, 155}, {279, 185}}) {
    EXPECT_EQ(BitmapPixel(img.bitmap, x, y), p.At(x, y)) << x << "," << y;
  }
}

TEST(ImgUtil, MissingTruncatedAndCorruptFilesFailCleanly) {
  CScratchDir dir;
  const std::vector<uint8_t> bmp = AsBmp24(64, 64);
  ASSERT_TRUE(EncodeWithWic(dir.File("whole.png"), GUID_ContainerFormatPng, 64, 64));
  ASSERT_TRUE(EncodeWithWic(dir.File("whole.jpg"), GUID_ContainerFormatJpeg, 64, 64));
  const std::vector<uint8_t> png = ReadBytes(dir.File("whole.png"));
  const std::vector<uint8_t> jpg = ReadBytes(dir.File("whole.jpg"));
  const std::vector<uint8_t> gif = MakeGif();
  ASSERT_GT(png.size(), 100u);
  ASSERT_GT(jpg.size(), 100u);
  std::vector<uint8_t> bigHeader(bmp.begin(), bmp.begin() + 54);
  bigHeader[18] = 0xff;  // width and height of a picture far beyond any memory
  bigHeader[19] = 0xff;
  bigHeader[20] = 0xff;
  bigHeader[22] = 0xff;
  bigHeader[23] = 0xff;
  bigHeader[24] = 0xff;
  struct Row {
    const char* name;
    std::vector<uint8_t> bytes;
  } rows[] = {
      {"empty.bmp", {}},
      {"half.bmp", {bmp.begin(), bmp.begin() + bmp.size() / 2}},
      {"header.bmp", {bmp.begin(), bmp.begin() + 30}},
      {"huge.bmp", bigHeader},
      {"head.png", {png.begin(), png.begin() + 40}},
      {"head.jpg", {jpg.begin(), jpg.begin() + 20}},
      {"head.gif", {gif.begin(), gif.begin() + 20}},
      {"text.jpg", {'n', 'o', 't', ' ', 'a', ' ', 'p', 'i', 'c', 't', 'u', 'r', 'e'}},
      {"noise.png", std::vector<uint8_t>(300, 0x5a)},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    ASSERT_TRUE(WriteBytes(dir.File(r.name), r.bytes));
    Loaded img;
    Load(dir.File(r.name), img);
    EXPECT_EQ(img.bitmap, nullptr);
    EXPECT_EQ(img.width, -1);  // untouched on failure
  }
  Loaded missing;
  Load(dir.File("missing.bmp"), missing);
  EXPECT_EQ(missing.bitmap, nullptr);
  Loaded none;
  Load("", none);
  EXPECT_EQ(none.bitmap, nullptr);
}

}  // namespace
}  // namespace velk::skintest
