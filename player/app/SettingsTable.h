// Every setting of the player: where it lives, its type and its default.
// Settings are read where they are used and written when the user changes them;
// this table is the one place that names them.
#pragma once

#include <cstdint>
#include <string>

#include "core/SettingsStore.h"

namespace velk::settings {

// Sections. "" is the program key itself.
inline constexpr const char* kProgramSection = "";
inline constexpr const char* kMainSection = "Qorn mediaplayer";  // also the main window's name
inline constexpr const char* kVideoSection = "VideoWindow";      // also the video window's name
inline constexpr const char* kPlaylistSection = "playlist";
inline constexpr const char* kRecentUrlSection = "RecentUrlList";

struct IntSetting {
  const char* section;
  const char* key;
  int32_t def;
};
struct TextSetting {
  const char* section;
  const char* key;
  const char* def;
};
// Keys that every skinned window keeps in its own section.
struct WindowIntKey {
  const char* key;
  int32_t def;
};

// Program.
inline constexpr TextSetting AppPath{kProgramSection, "AppPath", ""};

// Main window displays (colours are 0x00BBGGRR).
inline constexpr IntSetting SliderColor{kMainSection, "slider", 0x808040};
inline constexpr IntSetting TimeColor{kMainSection, "time", 0xFFFF00};
inline constexpr IntSetting TimeBackColor{kMainSection, "Bktime", 0x400040};
inline constexpr IntSetting VolumeColor{kMainSection, "volume", 0x4080};
inline constexpr TextSetting MainSkinPath{kMainSection, "SkinPathName", ""};

// Placement and skin of any skinned window, in the window's own section.
inline constexpr WindowIntKey PlacementLeft{"left", 0};
inline constexpr WindowIntKey PlacementTop{"top", 0};
inline constexpr WindowIntKey PlacementRight{"right", 300};
inline constexpr WindowIntKey PlacementBottom{"bottom", 300};
inline constexpr const char* kSkinPathKey = "SkinPathName";

// Video window.
inline constexpr IntSetting CaptionMode{kVideoSection, "Caption", 0};  // 0 none, 1 window, 2 overlay
inline constexpr IntSetting KeepAspectRatio{kVideoSection, "KeepAR", 1};
inline constexpr TextSetting VideoSkinPath{kVideoSection, "SkinPathName", ""};
// The language code of the captions last chosen in the Caption menu ("ko-KR").
inline constexpr TextSetting CaptionLanguage{kVideoSection, "CaptionLanguage", ""};

// Playlist and its view.
inline constexpr IntSetting CurrentTrack{kPlaylistSection, "curtrack", 0};
inline constexpr IntSetting RepeatMode{kPlaylistSection, "repeatmode", 0};  // 0 none, 1 this, 2 all
inline constexpr IntSetting Shuffle{kPlaylistSection, "random", 0};
inline constexpr IntSetting BackgroundMode{kPlaylistSection, "bkmode", 10};  // kBackgroundColour
inline constexpr const char* kBackgroundPathKey = "bkpath";  // default: see DefaultBackgroundPath
inline constexpr IntSetting TextNormalColor{kPlaylistSection, "Textnorcolor", 0xFFFFFF};
inline constexpr IntSetting TextPlayingColor{kPlaylistSection, "Textplaycolor", 0x7FFFFF};
inline constexpr IntSetting BackNormalColor{kPlaylistSection, "Bknorcolor", 0x3C2814};
inline constexpr IntSetting BackSelectedColor{kPlaylistSection, "Bkselcolor", 0x785028};

// Recent network locations: "URL0", "URL1", ... in their own section.
inline constexpr const char* kRecentUrlKeyFormat = "URL%d";

// The playlist's background modes, as BackgroundMode stores them. (Caption
// modes, as CaptionMode stores them, are video::CaptionMode.)
inline constexpr int32_t kBackgroundColour = 10;
inline constexpr int32_t kBackgroundPicture = 11;

int32_t Read(const ISettingsStore& store, const IntSetting& s);
std::string Read(const ISettingsStore& store, const TextSetting& s);
bool Write(ISettingsStore& store, const IntSetting& s, int32_t value);
bool Write(ISettingsStore& store, const TextSetting& s, const std::string& value);
int32_t Read(const ISettingsStore& store, const char* section, const WindowIntKey& k);
bool Write(ISettingsStore& store, const char* section, const WindowIntKey& k, int32_t value);

// The folder of the program's own files (the automatic playlist, Skins,
// list.bmp), no trailing backslash: the running program's folder once it has
// named it, so a copy run beside an installed one keeps to its own files;
// before that (tools, tests) the recorded "AppPath", empty until recorded.
std::string ProgramFolder(const ISettingsStore& store);
void SetRunningProgramFolder(std::string folder);
// ProgramFolder + "\list.bmp": the playlist background picture by default.
std::string DefaultBackgroundPath(const ISettingsStore& store);
std::string ReadBackgroundPath(const ISettingsStore& store);

}  // namespace velk::settings
