#include "player/options/OptionsRules.h"

#include "player/skin/SkinCatalog.h"

namespace velk::options {

OptionPage PageForTreeText(std::string_view text) {
  if (text == kSkinText) return OptionPage::Skin;
  if (text == kPlaylistText) return OptionPage::Playlist;
  if (text == kRootText) return OptionPage::About;
  return OptionPage::None;
}

PageBox PagePlacement(int32_t /*left*/, int32_t top, int32_t right, int32_t bottom) {
  const int32_t half = right / 2;
  return PageBox{half - 25, top + 9, right - half + 20, bottom - top - 17};
}

TextOrigin SwatchTextOrigin(int32_t right, int32_t bottom, int32_t textWidth, int32_t textHeight) {
  return TextOrigin{(right - textWidth) / 2, (bottom - textHeight) / 2};
}

bool BitmapModeChecked(int32_t bkmode) { return bkmode != settings::kBackgroundColour; }

FileRequest SkinFileRequest(const std::string& appPath, const std::string& filter) {
  return FileRequest{"bmp", SkinsDir(appPath) + "*.*", filter};
}

FileRequest BackgroundFileRequest(const std::string& filter) { return FileRequest{"bmp", "", filter}; }

std::string ChooserFilter(std::string_view resourceText) {
  std::string out(resourceText);
  for (char& c : out)
    if (c == '|') c = '\0';
  // Pairs end with one terminator, the list with two; a text without its
  // final bar still gets both.
  if (out.empty() || out.back() != '\0') out.push_back('\0');
  out.push_back('\0');
  return out;
}

}  // namespace velk::options
