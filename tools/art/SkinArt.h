// The skin pictures of the player, painted from scratch: the built-in base
// skin and two more looks with the same layout. Deterministic, so the build
// and the tests that compare screen pixels get the same picture.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace velk::skinart {

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;  // 0x00RRGGBB, rows top-down

  uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

enum class Theme { Slate, Ember, Frost };

struct ThemeInfo {
  Theme theme;
  const char* fileName;  // the Skins folder name; the base skin is built in
};
// Slate is the base skin; the others go into the Skins folder.
const std::vector<ThemeInfo>& Themes();

Picture PaintSkin(Theme theme);

// A bottom-up 8 bits-per-pixel BMP with a palette of the picture's colours
// (sorted, so the file is deterministic). Empty when there are more than 256.
std::vector<uint8_t> EncodeBmp8(const Picture& picture);
// A bottom-up 24 bits-per-pixel BMP.
std::vector<uint8_t> EncodeBmp24(const Picture& picture);

}  // namespace velk::skinart
