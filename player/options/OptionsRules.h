// The options dialog's decisions, apart from its windows: which page a tree
// item shows, where a page sits, what each colour swatch stands for, and the
// requests made to the file chooser.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "player/app/SettingsTable.h"

namespace velk::options {

enum class OptionPage { None, About, Skin, Playlist };

// Tree item texts, compared exactly and with case.
inline constexpr const char* kRootText = "Velk";
inline constexpr const char* kSkinText = "Skin";
inline constexpr const char* kPlaylistText = "Playlist";

OptionPage PageForTreeText(std::string_view text);

struct PageBox {
  int32_t x, y, width, height;
  bool operator==(const PageBox& o) const {
    return x == o.x && y == o.y && width == o.width && height == o.height;
  }
};
// The page's place in the dialog, from the dialog's client rectangle.
PageBox PagePlacement(int32_t left, int32_t top, int32_t right, int32_t bottom);

// Top-left corner of the swatch's centred "Change" label.
struct TextOrigin {
  int32_t x, y;
};
TextOrigin SwatchTextOrigin(int32_t right, int32_t bottom, int32_t textWidth, int32_t textHeight);

// A swatch button: its control and the setting it shows and writes.
struct SwatchBinding {
  int controlId;
  settings::IntSetting setting;
};

// The skin page writes its colours in the section spelled "qorn mediaplayer";
// the store folds case, so it meets the main window's "Qorn mediaplayer".
inline constexpr const char* kSkinPageSection = "qorn mediaplayer";
inline constexpr SwatchBinding kSkinSwatches[] = {
    {1014, {kSkinPageSection, "slider", 0x808040}},
    {1015, {kSkinPageSection, "time", 0xFFFF00}},
    {1016, {kSkinPageSection, "Bktime", 0x400040}},
    {1023, {kSkinPageSection, "volume", 0x004080}},
};
inline constexpr SwatchBinding kPlaylistSwatches[] = {
    {1008, settings::TextNormalColor},
    {1010, settings::TextPlayingColor},
    {1011, settings::BackNormalColor},
    {1012, settings::BackSelectedColor},
};

// Background modes of the playlist view.
// "Bitmap" is checked for any stored mode but the colour one.
bool BitmapModeChecked(int32_t bkmode);

// The two windows whose skin the skin page sets.
inline constexpr settings::TextSetting kMainSkinSetting{kSkinPageSection, "SkinPathName", ""};
inline constexpr settings::TextSetting kVideoSkinSetting{settings::kVideoSection, "SkinPathName", ""};
// The playlist background picture as the page shows it: empty when none is stored.
inline constexpr settings::TextSetting kBackgroundPathSetting{settings::kPlaylistSection, "bkpath", ""};

// What the page asks of the open-file chooser.
struct FileRequest {
  std::string defaultExt;   // without the dot
  std::string initialName;  // empty: none
  std::string filter;       // resource form: "Description|patterns|..."
};
// The skin chooser starts in the skin folder with every file shown.
FileRequest SkinFileRequest(const std::string& appPath, const std::string& filter);
FileRequest BackgroundFileRequest(const std::string& filter);

// "A|b|C|d|" → "A\0b\0C\0d\0\0", the form the file chooser takes.
std::string ChooserFilter(std::string_view resourceText);

}  // namespace velk::options
