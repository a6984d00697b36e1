// The caption picture of the overlay filter, from the rendered text to the
// pixels of each frame, without the platform:
//
//   1. The filter draws the caption text once (GDI: white text on black,
//      centred lines, wrapped at the frame width) and fills a CaptionMask
//      with it: one coverage byte per pixel, top row first, every drawn
//      pixel a glyph pixel.
//   2. OutlineCaption, once per caption, grows the mask on every side and
//      marks the pixels around the glyphs as outline, so that the letters
//      read on a light picture as well as on a dark one.
//   3. PrepareCaption turns the mask, once per caption and frame format, into
//      a CPreparedCaption: for every buffer row of every plane the bytes that
//      carry the caption, with the values that make them white or dark.
//   4. MergeCaption writes those bytes into each frame. It never allocates,
//      draws or reads past the sample, and touches only rows and columns
//      that hold caption pixels: the cost follows the text, not the picture.
//
// Placement: the caption lies in a band at the bottom of the picture that is
// at least kCaptionBandRows high. A caption of h rows (its outline included)
// starts at picture row H - max(h, 48) (counted from the top of the
// picture), so a low caption sits at the top of the 48-row band and the rows
// below it are left alone. The text is upright for top-down and bottom-up
// frames alike. A caption taller than the picture keeps its bottom rows (what
// lies above the picture is cut); in a picture lower than 48 rows a caption
// that fits starts at the top.
// Horizontally the mask is centred on the picture and cut at its edges.
//
// Glyph pixels become white: 0x7FFF in RGB555, 0xFFFF in RGB565, FF FF FF
// (FF) in RGB24/32, and Y = 235 with U = V = 128 in the YUV formats. Outline
// pixels become black: 0x0000 in RGB555 and RGB565, 00 00 00 (FF) in
// RGB24/32 (the fourth byte opaque, as for white), and Y = 16 with U = V =
// 128 in the YUV formats. In the 4:2:0 and 4:2:2 formats a chroma sample is
// made neutral when any pixel it covers is a glyph or outline pixel, so
// neither is tinted; chroma samples that cover no caption pixel, and every
// byte of a background pixel, are left as they were.
//
// Threads: none of this locks. The filter holds its own lock around
// preparing, merging and freeing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace velk {

constexpr int32_t kCaptionBandRows = 48;

// Coverage values of a caption mask. Any value other than these three is a
// glyph pixel too.
constexpr uint8_t kCaptionBackground = 0;  // left as the picture has it
constexpr uint8_t kCaptionGlyph = 1;       // a pixel of a letter: white
constexpr uint8_t kCaptionEdge = 2;        // a pixel of the outline: dark

// The widest outline OutlineCaption draws, in pixels.
constexpr int32_t kCaptionMaxOutline = 64;

// The caption as drawn by the platform: width x height coverage bytes, top
// row first, rows packed (stride = width), each one of the values above.
struct CaptionMask {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint8_t> coverage;

  // Width x height background bytes. A negative size gives an empty mask.
  void Reset(int32_t w, int32_t h);
  uint8_t* Row(int32_t y) { return coverage.data() + static_cast<size_t>(y) * width; }
  const uint8_t* Row(int32_t y) const { return coverage.data() + static_cast<size_t>(y) * width; }
  bool IsEmpty() const { return width <= 0 || height <= 0; }

  // Fills the mask from a top-down bitmap of 16 or 32 bits per pixel (a DIB
  // section's bits, rows strideBytes apart): a pixel that is not zero is a
  // glyph pixel, every other one background. False (and an empty mask) for
  // other depths or a stride shorter than a row.
  bool LoadFromPixels(const void* bits, int32_t w, int32_t h, int32_t strideBytes,
                      int32_t bitsPerPixel);
};

// Gives the glyphs of the mask a dark outline `radius` pixels wide: the mask
// grows by radius on every side (its glyphs keep their places relative to one
// another, so a centred caption stays centred), and every background pixel
// within radius of a glyph pixel becomes kCaptionEdge. Within radius means
// dx * dx + dy * dy <= radius * radius + radius (a disc of radius + 1/2), so
// the outline is radius pixels thick straight up, down, left and right of a
// glyph and about as thick every other way. Glyph pixels become
// kCaptionGlyph; outline pixels already in the mask stay outline. Allocates
// and takes time in proportion to the mask's pixels times radius: call it
// once per caption, never per frame. A radius of 0 or an empty mask leaves
// the mask as it is; false, and the mask as it was, for a radius below 0 or
// above kCaptionMaxOutline or a mask whose coverage is shorter than its size.
bool OutlineCaption(CaptionMask* mask, int32_t radius);

enum class CaptionPixelFormat : uint8_t {
  None,    // not one the overlay draws into: frames pass untouched
  Rgb555,  // 16-bit, 5-5-5
  Rgb565,  // 16-bit, 5-6-5
  Rgb24,
  Rgb32,   // also ARGB32: the fourth byte of a caption pixel becomes FF
  Yv12,    // planar 4:2:0: Y, then V, then U
  I420,    // planar 4:2:0: Y, then U, then V (also IYUV)
  Nv12,    // Y, then interleaved U/V at half height
  Yuy2,    // packed 4:2:2: Y0 U Y1 V (also YUYV, and YVYU, which merges alike)
  Uyvy,    // packed 4:2:2: U Y0 V Y1
};

constexpr uint32_t CaptionFourCC(char a, char b, char c, char d) {
  return static_cast<uint32_t>(static_cast<uint8_t>(a)) |
         static_cast<uint32_t>(static_cast<uint8_t>(b)) << 8 |
         static_cast<uint32_t>(static_cast<uint8_t>(c)) << 16 |
         static_cast<uint32_t>(static_cast<uint8_t>(d)) << 24;
}

// The format of a video type's bitmap header: compression BI_RGB (0) or
// BI_BITFIELDS (3) with 16, 24 or 32 bits, or one of the four-character codes
// above. rgb565 says whether a 16-bit RGB type is 5-6-5 (subtype
// MEDIASUBTYPE_RGB565, or bit fields with a six-bit green mask 0x07E0).
CaptionPixelFormat CaptionFormatFromHeader(uint32_t compression, uint16_t bitCount, bool rgb565);

// Where the planes of one frame lie in the sample. Offsets and strides in
// bytes from the start of the sample data.
struct CaptionFrameLayout {
  CaptionPixelFormat format = CaptionPixelFormat::None;
  int32_t width = 0;       // picture width in pixels
  int32_t height = 0;      // picture height in rows (positive)
  bool bottomUp = false;   // the first row in the buffer is the bottom of the picture
  int32_t planeCount = 0;  // 1 (RGB, packed YUV), 2 (NV12) or 3 (YV12, I420)
  size_t planeOffset[3] = {0, 0, 0};
  int32_t planeStride[3] = {0, 0, 0};
  int32_t planeRows[3] = {0, 0, 0};
  size_t imageSize = 0;    // bytes one frame needs: the end of the last plane
};

// The layout of a frame as DirectShow describes it: width and the header's
// signed height; a positive height means bottom-up for RGB (YUV frames are
// top-down either way). stride is the byte distance of the rows of the first
// plane, 0 for the usual one: RGB rows padded to 4 bytes, packed YUV 2 bytes
// per pixel (whole pairs), planar and NV12 luma rows of exactly the width.
// 4:2:0 chroma rows are half the luma stride (rounded up) for YV12/I420 and
// the luma stride for NV12; there are (height + 1) / 2 of them.
// False for an unknown format, a zero or negative size, a stride shorter than
// a row, an odd stride where 16-bit pixels or YUV pairs need an even one, or a
// frame of 4 GB or more.
bool MakeCaptionFrameLayout(CaptionPixelFormat format, int32_t width, int32_t signedHeight,
                            int32_t stride, CaptionFrameLayout* layout);

enum class CaptionMergePath {
  Scalar,  // byte runs: writes the caption bytes and nothing else
  Sse2,    // blend over the caption's stretches, 16 bytes a step; bytes
           // between caption pixels are read and written back unchanged
  Avx2,    // the same, 32 bytes a step (x86-64 processors with AVX2)
  Simd,    // the widest vector path the processor runs
};

// A caption made ready for one frame layout. Reused from caption to caption:
// preparing again keeps the memory it already has.
class CPreparedCaption {
 public:
  bool IsEmpty() const { return runs_.empty(); }
  const CaptionFrameLayout& Layout() const { return layout_; }
  // One past the last sample byte the merge writes (0 when empty).
  size_t Extent() const { return extent_; }
  // Number of glyph pixels of the picture that the merge makes white.
  size_t TextPixels() const { return textPixels_; }
  void Clear();

 private:
  friend bool PrepareCaption(const CaptionMask&, const CaptionFrameLayout&, CPreparedCaption*);
  friend class CCaptionPlanner;
  friend struct CCaptionMerger;

  // Consecutive caption bytes of one buffer row, for the byte-wise path.
  struct Run {
    uint32_t offset;
    uint32_t length;
    uint32_t values;  // index of its first byte's value in values_
  };
  // The runs of a row joined across gaps of a few vectors at most, for the
  // vector path.
  struct Span {
    uint32_t offset;
    uint32_t length;
    uint32_t values;
    uint8_t keep;     // the value of the bytes between runs
  };

  CaptionFrameLayout layout_;
  std::vector<Run> runs_;
  std::vector<Span> spans_;
  // The values of the spans' bytes, span after span, which hold those of the
  // runs too. A byte between runs holds its span's keep value, one that no
  // caption byte of the span takes, and the merge leaves it as it is.
  std::vector<uint8_t> values_;
  size_t extent_ = 0;
  size_t textPixels_ = 0;
};

// Builds the caption for frames of the given layout from the mask. False
// (and an empty caption) only for a layout MakeCaptionFrameLayout would
// refuse; an empty mask gives an empty caption and true. Allocates; call it
// when the caption or the connected format changes, never per frame.
bool PrepareCaption(const CaptionMask& mask, const CaptionFrameLayout& layout,
                    CPreparedCaption* caption);

// True when a vector path is compiled in (SSE2 on x86).
bool CaptionSimdAvailable();
// Whether a path runs here. A path that does not falls back to the next
// narrower one (Avx2 to Sse2 to Scalar).
bool CaptionMergePathAvailable(CaptionMergePath path);

// Merges the caption into one frame of its layout. data and size are the
// sample's own buffer and byte size: bytes at or past size are never read or
// written, so a short sample gets the part of the caption that fits. All
// paths give the same frame. No allocation; nothing to do for an empty
// caption or null data.
void MergeCaption(const CPreparedCaption& caption, uint8_t* data, size_t size,
                  CaptionMergePath path);

}  // namespace velk
