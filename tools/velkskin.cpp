// velkskin: paints the player's skin pictures for the build.
//   velkskin BASE_BMP SKINS_DIR
// BASE_BMP is the built-in skin (8 bits per pixel with a palette, linked into
// Velk.exe); SKINS_DIR receives the other looks as user skins.
#include <cstdio>
#include <string>

#include "tools/art/SkinArt.h"

using namespace velk::skinart;

static bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  if (bytes.empty()) return false;
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: velkskin BASE_BMP SKINS_DIR\n");
    return 2;
  }
  const std::string dir = argv[2];
  for (const ThemeInfo& t : Themes()) {
    const Picture picture = PaintSkin(t.theme);
    const bool base = t.theme == Theme::Slate;
    // One user skin in true colour, so both kinds of BMP are in use.
    const auto bytes = t.theme == Theme::Ember ? EncodeBmp24(picture) : EncodeBmp8(picture);
    const std::string path = base ? std::string(argv[1]) : dir + "/" + t.fileName;
    if (!WriteFile(path, bytes)) {
      std::fprintf(stderr, "velkskin: cannot write %s\n", path.c_str());
      return 1;
    }
  }
  return 0;
}
