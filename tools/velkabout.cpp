// velkabout: draws the two pictures of the about page, the logo (150 × 45)
// and the picture below the credits (143 × 80), as 24-bit BMP files in the
// player's colours: deep blue with a warm amber accent. Deterministic, so
// builds are reproducible.
//   velkabout LOGO.bmp PICTURE.bmp
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

struct Colour {
  double r, g, b;
};

Colour Mix(Colour a, Colour b, double t) {
  t = std::clamp(t, 0.0, 1.0);
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

const Colour kDeep{14, 20, 48};
const Colour kBlue{34, 52, 112};
const Colour kAmber{255, 176, 48};
const Colour kCream{255, 222, 150};

// Distance from p to the segment a–b.
double SegmentDistance(double px, double py, double ax, double ay, double bx, double by) {
  const double dx = bx - ax, dy = by - ay;
  const double len2 = dx * dx + dy * dy;
  const double t = len2 > 0 ? std::clamp(((px - ax) * dx + (py - ay) * dy) / len2, 0.0, 1.0) : 0.0;
  return std::hypot(px - (ax + t * dx), py - (ay + t * dy));
}

struct Stroke {
  double ax, ay, bx, by;
};

// The letters V, E, L, K as strokes in a unit box (x right, y down).
const std::vector<std::vector<Stroke>>& Letters() {
  static const std::vector<std::vector<Stroke>> letters = {
      {{0, 0, 0.5, 1}, {0.5, 1, 1, 0}},
      {{0, 0, 0, 1}, {0, 0, 0.9, 0}, {0, 0.5, 0.75, 0.5}, {0, 1, 0.9, 1}},
      {{0, 0, 0, 1}, {0, 1, 0.85, 1}},
      {{0, 0, 0, 1}, {0.9, 0, 0.05, 0.58}, {0.32, 0.4, 0.95, 1}},
  };
  return letters;
}

// Distance to the word "VELK" laid out from (x0, y0), letters w × h apart by gap.
double WordDistance(double px, double py, double x0, double y0, double w, double h, double gap) {
  double best = 1e9;
  double x = x0;
  for (const auto& letter : Letters()) {
    for (const Stroke& s : letter) {
      best = std::min(best, SegmentDistance(px, py, x + s.ax * w, y0 + s.ay * h, x + s.bx * w,
                                            y0 + s.by * h));
    }
    x += w + gap;
  }
  return best;
}

// Inside the play triangle pointing right, centred on (cx, cy) with half size r.
bool InTriangle(double px, double py, double cx, double cy, double r) {
  const double u = (px - (cx - 0.6 * r)) / (1.6 * r);  // 0 at the back, 1 at the tip
  return u >= 0 && u <= 1 && std::fabs(py - cy) <= r * (1 - u);
}

using Shader = std::function<Colour(double x, double y)>;

// Renders with 4 × 4 samples per pixel.
std::vector<Colour> Render(int w, int h, const Shader& shade) {
  std::vector<Colour> px(static_cast<size_t>(w) * h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      Colour sum{0, 0, 0};
      for (int sy = 0; sy < 4; ++sy) {
        for (int sx = 0; sx < 4; ++sx) {
          const Colour c = shade(x + (sx + 0.5) / 4, y + (sy + 0.5) / 4);
          sum.r += c.r, sum.g += c.g, sum.b += c.b;
        }
      }
      px[static_cast<size_t>(y) * w + x] = {sum.r / 16, sum.g / 16, sum.b / 16};
    }
  }
  return px;
}

Colour Logo(double x, double y) {
  const double w = 150, h = 45;
  Colour c = Mix(kBlue, kDeep, y / h);
  // Emblem: an amber disc with a dark play triangle.
  const double ex = 23, ey = 22.5, er = 17;
  const double d = std::hypot(x - ex, y - ey);
  if (d <= er) {
    c = Mix(kCream, kAmber, (y - (ey - er)) / (2 * er));
    if (InTriangle(x, y, ex + 1.5, ey, 9.5)) c = kDeep;
  } else if (d <= er + 2.5) {
    c = Mix(c, kAmber, 0.25);  // a soft halo
  }
  // The word, with a darker shadow one pixel down and right.
  const double word = WordDistance(x, y, 50, 9, 17, 22, 7);
  const double shadow = WordDistance(x - 1.2, y - 1.2, 50, 9, 17, 22, 7);
  if (shadow <= 2.0) c = Mix(c, kDeep, 0.7);
  if (word <= 2.0) c = Mix(kCream, kAmber, (y - 9) / 22);
  // A thin amber rule under the word, fading to the right.
  if (y >= 37 && y < 38.2 && x >= 50 && x <= w - 6) c = Mix(kAmber, c, (x - 50) / (w - 56));
  return c;
}

Colour Picture(double x, double y) {
  const double w = 143, h = 80, horizon = 54;
  // Night sky, lighter at the horizon.
  Colour c = Mix(kDeep, Colour{52, 60, 120}, y / horizon);
  // A setting sun cut by bands that widen towards the horizon.
  const double sx = 96, sy = 46, sr = 27;
  if (y < horizon && std::hypot(x - sx, y - sy) <= sr) {
    const double t = (y - (sy - sr)) / (sr + horizon - sy);
    bool cut = false;
    for (int i = 0; i < 4; ++i) {
      const double band = 34 + i * 5.0, thick = 0.8 + i * 0.7;
      if (y >= band && y < band + thick) cut = true;
    }
    if (!cut) c = Mix(kCream, Colour{240, 110, 40}, t);
  }
  // Sound bars on the left, their heights a fixed pattern.
  static const double heights[] = {10, 18, 26, 15, 31, 22, 12, 20, 8};
  for (int i = 0; i < 9; ++i) {
    const double bx = 8 + i * 7.0;
    if (x >= bx && x < bx + 4.5 && y < horizon && y >= horizon - heights[i])
      c = Mix(kAmber, kCream, (horizon - y) / 32);
  }
  if (y >= horizon) {
    // The ground: dark, with a perspective grid in dim amber.
    const double depth = (y - horizon) / (h - horizon);
    c = Mix(Colour{20, 26, 60}, kDeep, depth);
    const double row = std::log(1 + 9 * depth) * 4;
    const bool line = std::fabs(row - std::round(row)) < 0.08 + 0.05 * depth;
    const double spread = (x - w / 2) / (0.25 + depth);
    const bool ray = std::fabs(std::fmod(std::fabs(spread) + 6, 12.0) - 6) < 0.5 + depth;
    if (line || ray) c = Mix(c, kAmber, 0.25 + 0.35 * depth);
    // The sun's reflection.
    if (std::fabs(x - sx) < sr * (1 - depth) * 0.8 && std::fmod(y, 3.0) < 1.2)
      c = Mix(c, kAmber, 0.45 * (1 - depth));
  }
  return c;
}

void U16(std::vector<uint8_t>& o, uint32_t v) {
  o.push_back(static_cast<uint8_t>(v & 0xFF));
  o.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
}
void U32(std::vector<uint8_t>& o, uint32_t v) {
  U16(o, v & 0xFFFF);
  U16(o, v >> 16);
}

bool WriteBmp(const char* path, int w, int h, const std::vector<Colour>& px) {
  const uint32_t row = static_cast<uint32_t>((w * 3 + 3) & ~3);
  const uint32_t size = row * static_cast<uint32_t>(h);
  std::vector<uint8_t> o;
  o.push_back('B'), o.push_back('M');
  U32(o, 54 + size);
  U32(o, 0);
  U32(o, 54);
  U32(o, 40);
  U32(o, static_cast<uint32_t>(w));
  U32(o, static_cast<uint32_t>(h));
  U16(o, 1);
  U16(o, 24);
  U32(o, 0);
  U32(o, size);
  U32(o, 2835), U32(o, 2835), U32(o, 0), U32(o, 0);
  auto byte = [](double v) { return static_cast<uint8_t>(std::lround(std::clamp(v, 0.0, 255.0))); };
  for (int y = h - 1; y >= 0; --y) {  // bottom-up rows
    const size_t start = o.size();
    for (int x = 0; x < w; ++x) {
      const Colour& c = px[static_cast<size_t>(y) * w + x];
      o.push_back(byte(c.b)), o.push_back(byte(c.g)), o.push_back(byte(c.r));
    }
    while (o.size() - start < row) o.push_back(0);
  }
  std::FILE* f = std::fopen(path, "wb");
  if (!f) return false;
  const bool ok = std::fwrite(o.data(), 1, o.size(), f) == o.size();
  return std::fclose(f) == 0 && ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: velkabout LOGO.bmp PICTURE.bmp\n");
    return 2;
  }
  const bool ok = WriteBmp(argv[1], 150, 45, Render(150, 45, Logo)) &&
                  WriteBmp(argv[2], 143, 80, Render(143, 80, Picture));
  return ok ? 0 : 1;
}
