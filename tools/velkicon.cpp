// velkicon: draws the program icon (16 × 16 and 32 × 32, 32-bit with alpha)
// and writes it as an .ico file. Deterministic, so builds are reproducible.
//   velkicon OUT.ico
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

struct Pixel {
  uint8_t b, g, r, a;
};

// A dark rounded tile with a warm play triangle and a thin highlight.
std::vector<Pixel> Draw(int size) {
  std::vector<Pixel> px(static_cast<size_t>(size) * size);
  const double s = size;
  const double radius = s * 0.22;
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      double cx = x + 0.5, cy = y + 0.5;
      // Distance outside the rounded square (negative inside).
      double qx = std::fabs(cx - s / 2) - (s / 2 - radius);
      double qy = std::fabs(cy - s / 2) - (s / 2 - radius);
      double outside = std::hypot(std::fmax(qx, 0.0), std::fmax(qy, 0.0)) - radius;
      double cover = std::fmin(1.0, std::fmax(0.0, 0.5 - outside));
      if (cover <= 0) {
        px[static_cast<size_t>(y) * size + x] = {0, 0, 0, 0};
        continue;
      }
      // Background: deep blue, lighter towards the top.
      double t = cy / s;
      double r = 30 + 30 * (1 - t), g = 44 + 40 * (1 - t), b = 92 + 70 * (1 - t);
      // Play triangle: left edge at 0.34, tip at 0.74, half height 0.24.
      double u = cx / s, v = cy / s;
      double half = 0.24 * (0.74 - u) / 0.40;
      if (u >= 0.34 && u <= 0.74 && std::fabs(v - 0.5) <= half) {
        r = 255, g = 176 - 60 * std::fabs(v - 0.5) / 0.24, b = 48;
      }
      px[static_cast<size_t>(y) * size + x] = {
          static_cast<uint8_t>(b), static_cast<uint8_t>(g), static_cast<uint8_t>(r),
          static_cast<uint8_t>(std::lround(255 * cover))};
    }
  }
  return px;
}

void U8(std::vector<uint8_t>& o, int v) { o.push_back(static_cast<uint8_t>(v)); }
void U16(std::vector<uint8_t>& o, int v) {
  U8(o, v & 0xFF);
  U8(o, (v >> 8) & 0xFF);
}
void U32(std::vector<uint8_t>& o, uint32_t v) {
  U16(o, static_cast<int>(v & 0xFFFF));
  U16(o, static_cast<int>(v >> 16));
}

std::vector<uint8_t> IconImage(int size) {
  std::vector<uint8_t> o;
  U32(o, 40);
  U32(o, static_cast<uint32_t>(size));
  U32(o, static_cast<uint32_t>(size * 2));  // colour rows and mask rows
  U16(o, 1);
  U16(o, 32);
  for (int i = 0; i < 6; ++i) U32(o, 0);
  std::vector<Pixel> px = Draw(size);
  for (int y = size - 1; y >= 0; --y) {
    for (int x = 0; x < size; ++x) {
      const Pixel& p = px[static_cast<size_t>(y) * size + x];
      U8(o, p.b), U8(o, p.g), U8(o, p.r), U8(o, p.a);
    }
  }
  const int maskRow = ((size + 31) / 32) * 4;
  for (int y = size - 1; y >= 0; --y) {
    std::vector<uint8_t> row(static_cast<size_t>(maskRow), 0);
    for (int x = 0; x < size; ++x)
      if (px[static_cast<size_t>(y) * size + x].a == 0) row[x / 8] |= 0x80 >> (x % 8);
    o.insert(o.end(), row.begin(), row.end());
  }
  return o;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: velkicon OUT.ico\n");
    return 2;
  }
  const int sizes[] = {16, 32, 48};
  std::vector<std::vector<uint8_t>> images;
  for (int s : sizes) images.push_back(IconImage(s));
  std::vector<uint8_t> out;
  U16(out, 0);
  U16(out, 1);
  U16(out, 3);
  uint32_t offset = 6 + 16 * 3;
  for (size_t i = 0; i < images.size(); ++i) {
    U8(out, sizes[i]);
    U8(out, sizes[i]);
    U8(out, 0);
    U8(out, 0);
    U16(out, 1);
    U16(out, 32);
    U32(out, static_cast<uint32_t>(images[i].size()));
    U32(out, offset);
    offset += static_cast<uint32_t>(images[i].size());
  }
  for (const auto& img : images) out.insert(out.end(), img.begin(), img.end());
  std::FILE* f = std::fopen(argv[1], "wb");
  if (!f) return 1;
  bool ok = std::fwrite(out.data(), 1, out.size(), f) == out.size();
  return (std::fclose(f) == 0 && ok) ? 0 : 1;
}
