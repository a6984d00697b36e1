#include "tools/art/SkinArt.h"

#include <algorithm>
#include <cstring>

namespace velk::skinart {
namespace {

struct Colours {
  uint32_t body, bodyLight, bodyDark, edgeMid;
  uint32_t titleTop, titleBottom, titleText;
  uint32_t idleTop, idleBottom, idleText;
  uint32_t panel, glyph, lcd;
  uint32_t key, keyLight, keyDark, keyText;
  uint32_t down, downDark, downText;
  uint32_t groove, grooveLight, accent;
  uint32_t closeDot, minDot;
};

Colours ColoursOf(Theme theme) {
  switch (theme) {
    case Theme::Ember:
      return {0x3a2a22, 0x6a4a38, 0x1c1410, 0x503a2e,
              0xd8742a, 0x8a3a14, 0xfff2e0,
              0x5a4a42, 0x3e322c, 0xa89888,
              0x140c08, 0xffc070, 0x2a1408,
              0x5e4434, 0x8c6a52, 0x24180f, 0xffe0b8,
              0xd8742a, 0x7a3410, 0x1c0c04,
              0x1a120e, 0x6a4a38, 0xffa040,
              0xe04a3a, 0xe8c040};
    case Theme::Frost:
      return {0xd6dde6, 0xf6f9fc, 0x8a96a6, 0xb8c2ce,
              0x6aa8e0, 0x2c64a8, 0xffffff,
              0xc4ccd6, 0xa4aebb, 0x5a6472,
              0x26303c, 0xdff1ff, 0x101820,
              0xeef2f6, 0xffffff, 0x8290a2, 0x24303e,
              0x2c64a8, 0x183c6a, 0xffffff,
              0x9aa6b4, 0xf6f9fc, 0x2c64a8,
              0xd84848, 0x48a860};
    case Theme::Slate:
    default:
      return {0x2b3440, 0x4a5868, 0x141a22, 0x36424f,
              0x3f86c8, 0x1d4a7e, 0xf2f7fc,
              0x444c56, 0x30363e, 0x9aa4ae,
              0x0e1318, 0xbfe9ff, 0x06140e,
              0x3c4a5a, 0x62768a, 0x181e26, 0xe6eef6,
              0x5ad1e6, 0x2a8aa0, 0x0a1a20,
              0x10161c, 0x4a5868, 0x5ad1e6,
              0xe25b4f, 0xf0c24a};
  }
}

// A 3 × 5 font for the labels and the wordmark.
const char* Glyph3x5(char c) {
  switch (c) {
    case 'A': return ".#." "#.#" "###" "#.#" "#.#";
    case 'B': return "##." "#.#" "##." "#.#" "##.";
    case 'C': return ".##" "#.." "#.." "#.." ".##";
    case 'D': return "##." "#.#" "#.#" "#.#" "##.";
    case 'E': return "###" "#.." "##." "#.." "###";
    case 'I': return ".#." ".#." ".#." ".#." ".#.";
    case 'K': return "#.#" "#.#" "##." "#.#" "#.#";
    case 'L': return "#.." "#.." "#.." "#.." "###";
    case 'M': return "#.#" "###" "###" "#.#" "#.#";
    case 'S': return ".##" "#.." ".#." "..#" "##.";
    case 'T': return "###" ".#." ".#." ".#." ".#.";
    case 'U': return "#.#" "#.#" "#.#" "#.#" "###";
    case 'V': return "#.#" "#.#" "#.#" "#.#" ".#.";
    default: return "..." "..." "..." "..." "...";
  }
}

class Canvas {
 public:
  explicit Canvas(Picture& p) : p_(p) {}

  void Set(int x, int y, uint32_t c) {
    if (x >= 0 && y >= 0 && x < p_.width && y < p_.height) p_.pixels[static_cast<size_t>(y) * p_.width + x] = c;
  }
  void Fill(int l, int t, int r, int b, uint32_t c) {
    for (int y = t; y < b; ++y)
      for (int x = l; x < r; ++x) Set(x, y, c);
  }
  // Rows blend from top to bottom colour.
  void VGradient(int l, int t, int r, int b, uint32_t top, uint32_t bottom) {
    const int h = std::max(1, b - t - 1);
    for (int y = t; y < b; ++y) Fill(l, y, r, y + 1, Mix(top, bottom, y - t, h));
  }
  void Bevel(int l, int t, int r, int b, uint32_t light, uint32_t dark) {
    Fill(l, t, r, t + 1, light);
    Fill(l, t, l + 1, b, light);
    Fill(l, b - 1, r, b, dark);
    Fill(r - 1, t, r, b, dark);
  }
  void Pattern(int x, int y, int w, int h, const char* bits, uint32_t c) {
    for (int j = 0; j < h; ++j)
      for (int i = 0; i < w; ++i)
        if (bits[j * w + i] == '#') Set(x + i, y + j, c);
  }
  // The narrow letter I takes one column; every other letter three.
  static int Columns(char c) { return c == 'I' ? 1 : 3; }
  void Text(int x, int y, const char* text, uint32_t c, int scale = 1) {
    for (; *text; ++text) {
      const char* g = Glyph3x5(*text);
      const int first = *text == 'I' ? 1 : 0;
      for (int j = 0; j < 5; ++j)
        for (int i = 0; i < Columns(*text); ++i)
          if (g[j * 3 + first + i] == '#')
            Fill(x + i * scale, y + j * scale, x + (i + 1) * scale, y + (j + 1) * scale, c);
      x += (Columns(*text) + 1) * scale;
    }
  }
  static int TextWidth(const char* text, int scale = 1) {
    int w = 0;
    for (; *text; ++text) w += (Columns(*text) + 1) * scale;
    return w - scale;
  }
  void Disc(int l, int t, int size, uint32_t c, uint32_t rim, uint32_t shine) {
    const double r = size / 2.0;
    for (int j = 0; j < size; ++j) {
      for (int i = 0; i < size; ++i) {
        const double dx = i + 0.5 - r, dy = j + 0.5 - r;
        const double d2 = dx * dx + dy * dy;
        if (d2 <= r * r) Set(l + i, t + j, d2 >= (r - 1) * (r - 1) ? rim : c);
      }
    }
    Set(l + size / 2 - 2, t + 2, shine);
    Set(l + size / 2 - 1, t + 2, shine);
    Set(l + size / 2 - 2, t + 3, shine);
  }
  static uint32_t Mix(uint32_t a, uint32_t b, int num, int den) {
    uint32_t out = 0;
    for (int s = 0; s < 24; s += 8) {
      const int ca = (a >> s) & 0xff, cb = (b >> s) & 0xff;
      out |= static_cast<uint32_t>(ca + (cb - ca) * num / den) << s;
    }
    return out;
  }

 private:
  Picture& p_;
};

// Title bar pieces: the ends, the tiled fill, the centre with the wordmark.
void PaintTitleRow(Canvas& cv, const Colours& k, int top, bool active) {
  const uint32_t hi = active ? k.titleTop : k.idleTop;
  const uint32_t lo = active ? k.titleBottom : k.idleBottom;
  const uint32_t text = active ? k.titleText : k.idleText;
  const int b = top + 20;
  // Fill (127..152): gradient with a fine groove line, seamless when tiled.
  cv.VGradient(127, top, 152, b, hi, lo);
  cv.Fill(127, top, 152, top + 1, Canvas::Mix(hi, 0xffffff, 1, 3));
  cv.Fill(127, b - 1, 152, b, k.bodyDark);
  cv.Fill(127, top + 9, 152, top + 10, Canvas::Mix(lo, 0x000000, 1, 4));
  cv.Fill(127, top + 10, 152, top + 11, Canvas::Mix(hi, 0xffffff, 1, 5));
  // Left end (0..25): rounded cap with a small mark.
  cv.VGradient(0, top, 25, b, hi, lo);
  cv.Fill(0, top, 25, top + 1, Canvas::Mix(hi, 0xffffff, 1, 3));
  cv.Fill(0, top, 1, b, k.bodyLight);
  cv.Fill(0, b - 1, 25, b, k.bodyDark);
  cv.Fill(14, top + 9, 25, top + 10, Canvas::Mix(lo, 0x000000, 1, 4));
  cv.Fill(14, top + 10, 25, top + 11, Canvas::Mix(hi, 0xffffff, 1, 5));
  cv.Disc(4, top + 5, 9, active ? k.accent : k.idleText, Canvas::Mix(lo, 0, 1, 3), text);
  // Centre (26..126): plate with the wordmark.
  cv.VGradient(26, top, 126, b, hi, lo);
  cv.Fill(26, top, 126, top + 1, Canvas::Mix(hi, 0xffffff, 1, 3));
  cv.Fill(26, b - 1, 126, b, k.bodyDark);
  const int plateL = 40, plateR = 112;
  cv.Fill(26, top + 9, plateL, top + 10, Canvas::Mix(lo, 0x000000, 1, 4));
  cv.Fill(26, top + 10, plateL, top + 11, Canvas::Mix(hi, 0xffffff, 1, 5));
  cv.Fill(plateR, top + 9, 126, top + 10, Canvas::Mix(lo, 0x000000, 1, 4));
  cv.Fill(plateR, top + 10, 126, top + 11, Canvas::Mix(hi, 0xffffff, 1, 5));
  cv.Fill(plateL, top + 3, plateR, top + 17, Canvas::Mix(lo, 0x000000, 1, 3));
  cv.Bevel(plateL, top + 3, plateR, top + 17, Canvas::Mix(lo, 0x000000, 1, 2),
           Canvas::Mix(hi, 0xffffff, 1, 3));
  const char* word = "VELK";
  cv.Text((plateL + plateR - Canvas::TextWidth(word, 2)) / 2, top + 5, word, text, 2);
  // Right end (153..178): the minimise and close dots sit here.
  cv.VGradient(153, top, 178, b, hi, lo);
  cv.Fill(153, top, 178, top + 1, Canvas::Mix(hi, 0xffffff, 1, 3));
  cv.Fill(177, top, 178, b, k.bodyDark);
  cv.Fill(153, b - 1, 178, b, k.bodyDark);
  const uint32_t rim = Canvas::Mix(lo, 0, 1, 2);
  cv.Disc(156, top + 2, 10, active ? k.minDot : k.idleText, rim, 0xffffff);
  cv.Disc(166, top + 2, 10, active ? k.closeDot : k.idleText, rim, 0xffffff);
  if (active) {
    cv.Fill(158, top + 7, 164, top + 8, Canvas::Mix(k.minDot, 0, 1, 2));      // minimise bar
    for (int i = 0; i < 5; ++i) {                                              // close cross
      cv.Set(168 + i, top + 5 + i, Canvas::Mix(k.closeDot, 0, 1, 2));
      cv.Set(172 - i, top + 5 + i, Canvas::Mix(k.closeDot, 0, 1, 2));
    }
  }
}

// Side edges (12 × 29, tiled downwards): a bevelled rail.
void PaintEdges(Canvas& cv, const Colours& k) {
  for (int l : {0, 39}) {
    const bool left = l == 0;
    cv.Fill(l, 42, l + 12, 71, k.body);
    cv.Fill(l + (left ? 0 : 11), 42, l + (left ? 1 : 12), 71, left ? k.bodyLight : k.bodyDark);
    cv.Fill(l + 3, 42, l + 9, 71, k.edgeMid);
    cv.Fill(l + (left ? 10 : 1), 42, l + (left ? 11 : 2), 71, k.bodyDark);
    cv.Fill(l + (left ? 11 : 0), 42, l + (left ? 12 : 1), 71, k.bodyLight);
  }
}

// The body of a bottom-bar area: panel colour, seek groove on rows 2..7
// (in bar coordinates), bottom shading.
void PaintBottomBody(Canvas& cv, const Colours& k, int l, int t, int r, int grooveL, int grooveR) {
  cv.VGradient(l, t, r, t + 38, k.body, Canvas::Mix(k.body, k.bodyDark, 1, 2));
  cv.Fill(l, t + 36, r, t + 37, k.bodyDark);
  cv.Fill(l, t + 37, r, t + 38, k.bodyDark);
  cv.Fill(l, t, r, t + 1, k.bodyDark);
  cv.Fill(grooveL, t + 2, grooveR, t + 7, k.groove);
  cv.Fill(grooveL, t + 7, grooveR, t + 8, k.grooveLight);
  cv.Fill(grooveL, t + 4, grooveR, t + 5, Canvas::Mix(k.groove, k.accent, 1, 4));
}

// A labelled key: body up to two columns short of its face rectangle, so the
// face may be blitted a little left of where the bar shows it. Around the body
// the face shows the bar's own shading at the rows where the bar shows the key,
// so a face drawn over the bar leaves no seam, pressed or not.
void PaintKey(Canvas& cv, const Colours& k, int l, int t, int r, int b, const char* label, bool down) {
  const int br = r - 2, bb = b - 1;
  constexpr int kKeyRowInBar = 8;
  for (int y = t; y < b; ++y) {
    cv.Fill(l, y, r, y + 1,
            Canvas::Mix(k.body, Canvas::Mix(k.body, k.bodyDark, 1, 2), kKeyRowInBar + y - t, 37));
  }
  if (!down) {
    cv.VGradient(l, t, br, bb, k.keyLight, k.key);
    cv.Bevel(l, t, br, bb, Canvas::Mix(k.keyLight, 0xffffff, 1, 2), k.keyDark);
    cv.Fill(l + 1, bb, br, bb + 1, k.bodyDark);  // drop shadow below only: the face may shift sideways
    cv.Text(l + (br - l - Canvas::TextWidth(label)) / 2, t + 5, label, k.keyText);
  } else {
    cv.VGradient(l, t, br, bb, k.downDark, k.down);
    cv.Bevel(l, t, br, bb, k.bodyDark, Canvas::Mix(k.down, 0xffffff, 1, 3));
    cv.Text(l + (br - l - Canvas::TextWidth(label)) / 2 + 1, t + 6, label, k.downText);
  }
}

void PaintTransport(Canvas& cv, const Colours& k) {
  // Panel behind the glyphs and the time display.
  cv.Fill(130, 93, 224, 103, k.panel);
  cv.Bevel(130, 93, 224, 103, k.bodyDark, k.bodyLight);
  cv.Fill(188, 94, 223, 102, k.lcd);
  // The colon between the minutes and seconds fields: the 3-pixel gap at
  // x 208-210 shows this picture while the digits are drawn over the fields.
  cv.Fill(209, 96, 210, 97, k.glyph);
  cv.Fill(209, 99, 210, 100, k.glyph);
  cv.Pattern(132, 95, 10, 6,
             ".#..#..#.." ".#.##.##.." ".#######.." ".#######.." ".#.##.##.." ".#..#..#..", k.glyph);
  cv.Pattern(142, 95, 8, 6, "..#....." "..###..." "..#####." "..#####." "..###..." "..#.....",
             k.glyph);
  cv.Pattern(150, 95, 9, 6, "..##.##.." "..##.##.." "..##.##.." "..##.##.." "..##.##.." "..##.##..",
             k.glyph);
  cv.Pattern(159, 95, 9, 6, ".######.." ".######.." ".######.." ".######.." ".######.." ".######..",
             k.glyph);
  cv.Pattern(169, 95, 10, 6,
             "..#..#..#." "..##.##.#." "..#######." "..#######." "..##.##.#." "..#..#..#.", k.glyph);
  cv.Pattern(179, 95, 9, 6, "....#...." "...###..." "..#####.." ".#######." "........." ".#######.",
             k.glyph);
}

void PaintVolume(Canvas& cv, const Colours& k) {
  // Track of the volume bar (90 × 6) and the two arrows (8 × 5 each).
  cv.Fill(131, 81, 223, 89, k.bodyDark);
  cv.Fill(132, 82, 222, 88, k.groove);
  for (int x = 132; x < 222; x += 6) cv.Fill(x + 5, 82, x + 6, 88, k.bodyDark);
  cv.Fill(261, 73, 269, 84, k.body);
  cv.Pattern(261, 73, 8, 5, "...##..." "..####.." ".######." "########" "........", k.accent);
  cv.Pattern(261, 79, 8, 5, "........" "########" ".######." "..####.." "...##...", k.accent);
}

}  // namespace

const std::vector<ThemeInfo>& Themes() {
  static const std::vector<ThemeInfo> themes = {
      {Theme::Slate, "Slate.bmp"}, {Theme::Ember, "Ember.bmp"}, {Theme::Frost, "Frost.bmp"}};
  return themes;
}

Picture PaintSkin(Theme theme) {
  const Colours k = ColoursOf(theme);
  Picture p;
  p.width = 280;
  p.height = 186;
  p.pixels.assign(static_cast<size_t>(p.width) * p.height, k.bodyDark);
  Canvas cv(p);

  PaintTitleRow(cv, k, 0, true);
  PaintTitleRow(cv, k, 21, false);
  PaintEdges(cv, k);

  // Bottom bar: fill (179..204 × 0..38), left end, right end.
  PaintBottomBody(cv, k, 179, 0, 204, 179, 204);
  PaintBottomBody(cv, k, 0, 72, 124, 12, 124);
  PaintBottomBody(cv, k, 126, 72, 276, 126, 258);
  // The ends continue the side edges' outer rails.
  cv.Fill(0, 72, 1, 110, k.bodyLight);
  cv.Fill(275, 72, 276, 110, k.bodyDark);

  PaintKey(cv, k, 14, 80, 34, 97, "ADD", false);
  PaintKey(cv, k, 43, 80, 63, 97, "SUB", false);
  PaintKey(cv, k, 72, 80, 92, 97, "SEL", false);
  PaintKey(cv, k, 101, 80, 120, 97, "MISC", false);
  PaintKey(cv, k, 232, 80, 252, 97, "LIST", false);
  PaintKey(cv, k, 23, 149, 43, 166, "ADD", true);
  PaintKey(cv, k, 77, 149, 97, 166, "SUB", true);
  PaintKey(cv, k, 104, 149, 124, 166, "SEL", true);
  PaintKey(cv, k, 177, 149, 196, 166, "MISC", true);
  PaintKey(cv, k, 227, 149, 247, 166, "LIST", true);
  cv.Text(14, 101, "VELK", Canvas::Mix(k.body, k.keyText, 1, 3));

  PaintTransport(cv, k);
  PaintVolume(cv, k);
  return p;
}

namespace {

void Put16(std::vector<uint8_t>& b, uint32_t v) {
  b.push_back(v & 0xff);
  b.push_back((v >> 8) & 0xff);
}
void Put32(std::vector<uint8_t>& b, uint32_t v) {
  Put16(b, v & 0xffff);
  Put16(b, v >> 16);
}

std::vector<uint8_t> Headers(const Picture& p, int bits, uint32_t colours, uint32_t imageBytes) {
  std::vector<uint8_t> b;
  const uint32_t offset = 14 + 40 + colours * 4;
  b.push_back('B');
  b.push_back('M');
  Put32(b, offset + imageBytes);
  Put32(b, 0);
  Put32(b, offset);
  Put32(b, 40);
  Put32(b, static_cast<uint32_t>(p.width));
  Put32(b, static_cast<uint32_t>(p.height));  // positive: bottom-up
  Put16(b, 1);
  Put16(b, static_cast<uint32_t>(bits));
  Put32(b, 0);  // BI_RGB
  Put32(b, imageBytes);
  Put32(b, 2835);
  Put32(b, 2835);
  Put32(b, colours);
  Put32(b, 0);
  return b;
}

}  // namespace

std::vector<uint8_t> EncodeBmp8(const Picture& p) {
  std::vector<uint32_t> palette(p.pixels);
  std::sort(palette.begin(), palette.end());
  palette.erase(std::unique(palette.begin(), palette.end()), palette.end());
  if (palette.size() > 256) return {};
  const uint32_t stride = (static_cast<uint32_t>(p.width) + 3) & ~3u;
  std::vector<uint8_t> b = Headers(p, 8, static_cast<uint32_t>(palette.size()), stride * p.height);
  for (uint32_t c : palette) Put32(b, c);  // B, G, R, 0 in file order
  for (int y = p.height - 1; y >= 0; --y) {
    for (int x = 0; x < p.width; ++x) {
      auto it = std::lower_bound(palette.begin(), palette.end(), p.At(x, y));
      b.push_back(static_cast<uint8_t>(it - palette.begin()));
    }
    for (uint32_t x = p.width; x < stride; ++x) b.push_back(0);
  }
  return b;
}

std::vector<uint8_t> EncodeBmp24(const Picture& p) {
  const uint32_t stride = (static_cast<uint32_t>(p.width) * 3 + 3) & ~3u;
  std::vector<uint8_t> b = Headers(p, 24, 0, stride * p.height);
  for (int y = p.height - 1; y >= 0; --y) {
    for (int x = 0; x < p.width; ++x) {
      const uint32_t c = p.At(x, y);
      b.push_back(c & 0xff);
      b.push_back((c >> 8) & 0xff);
      b.push_back((c >> 16) & 0xff);
    }
    for (uint32_t x = p.width * 3; x < stride; ++x) b.push_back(0);
  }
  return b;
}

}  // namespace velk::skinart
