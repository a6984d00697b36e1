// The player's fixed numbers and texts, each beside the value it must have,
// written out by hand: window messages and skin control ids, menu commands and
// resource ids, the tray icon and the timer, the caption overlay identifiers,
// the integer settings with their defaults, and the texts that Velk.exe carries
// in its string table and menus. The code's names are never used as the
// expected side, so a wrong value in a shared header fails here.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "player/app/SettingsTable.h"
#include "player/mainwnd/MainWindow.h"
#include "player/playlist/PlayListCtrl.h"
#include "player/res/ResourceIds.h"
#include "tests/win/res/PlayerModule.h"
#include "shared/CaptionOverlay.h"
#include "shared/PlayerMessages.h"

namespace {

struct Number {
  const char* name;
  uint64_t actual;
  uint64_t expected;
};

template <size_t N>
void ExpectAll(const Number (&rows)[N]) {
  for (const Number& r : rows)
    EXPECT_EQ(r.actual, r.expected) << r.name << " is 0x" << std::hex << r.actual << ", must be 0x"
                                    << r.expected;
}

#define ROW(name, literal) {#name, static_cast<uint64_t>(name), static_cast<uint64_t>(literal)}

TEST(PlayerFixedNumbers, WindowMessagesAndSkinControlIds) {
  using namespace velk;
  const Number rows[] = {
      // Skinned window base.
      ROW(WM_SKIN_RESIZEDRAG, 0x0400),
      ROW(WM_SKIN_MOVEDRAG, 0x0401),
      // Main window: its own messages.
      ROW(WM_PLAYER_TRAYNOTIFY, 0x0413),
      ROW(WM_PLAYER_PLAYSELECTED, 0x0489),
      ROW(WM_PLAYER_TOGGLEREPEATTHIS, 0x048A),
      ROW(WM_PLAYER_MOVEENTRY, 0x048E),
      ROW(WM_PLAYER_OPTIONSCHANGED, 0x04C0),
      // Main window: skin buttons and hot regions post their id.
      ROW(ID_SKIN_CLOSE, 0x0414),
      ROW(ID_SKIN_MINIMIZE, 0x0415),
      ROW(ID_BTN_PREV, 0x046E),
      ROW(ID_BTN_PLAY, 0x046F),
      ROW(ID_BTN_STOP, 0x0470),
      ROW(ID_BTN_NEXT, 0x0471),
      ROW(ID_BTN_OPEN, 0x0472),
      ROW(ID_BTN_PAUSE, 0x0473),
      ROW(ID_BTN_OPENLIST, 0x0474),
      ROW(ID_BTN_ADD, 0x0475),
      ROW(ID_BTN_REMOVE, 0x0476),
      ROW(ID_AREA_SEEK, 0x0477),
      ROW(ID_BTN_SELECT, 0x0478),
      ROW(ID_BTN_OPTIONS, 0x0479),
      ROW(ID_BTN_VOLUP, 0x047A),
      ROW(ID_BTN_VOLDOWN, 0x047B),
      ROW(ID_AREA_VOLUME, 0x047C),
      // Video window title-bar dots.
      ROW(ID_VIDEO_STOP, 0x04D2),
      ROW(ID_VIDEO_FULLSCREEN, 0x04D3),
      // Playback engine.
      ROW(WM_PLAYER_GRAPHEVENT, 0x1400),
      ROW(WM_PLAYER_ENDOFMEDIA, 0x1401),
      ROW(WM_PLAYER_VIDEOWINDOW, 0x1410),
      ROW(WM_PLAYER_CAPTIONTEXT, 0x1411),
  };
  ExpectAll(rows);
}

TEST(PlayerFixedNumbers, MenuCommandsAndResourceIds) {
  const Number rows[] = {
      // Main popup, repeat and skin submenus, exit.
      ROW(ID_HOME_PAGE, 32780),
      ROW(ID_PREV, 32799),
      ROW(ID_PLAY, 32798),
      ROW(ID_PAUSE, 32802),
      ROW(ID_STOP, 32800),
      ROW(ID_NEXT, 32801),
      ROW(ID_REPEAT_NONE, 5000),
      ROW(ID_REPEAT_THIS, 5001),
      ROW(ID_REPEAT_ALL, 5002),
      ROW(ID_SHUFFLE, 32804),
      ROW(ID_SKIN_BASE, 6000),
      ROW(ID_SKIN_FIRST, 6001),
      ROW(ID_SKIN_LAST, 7000),
      ROW(ID_APP_EXIT, 61536),
      ROW(ID_UNUSED_OPTIONS, 65535),
      // "add file", "rem file", "sel", "loadlist".
      ROW(ID_ADD_FILES, 32778),
      ROW(ID_ADD_DIRECTORY, 32779),
      ROW(ID_ADD_LOCATION, 32781),
      ROW(ID_REMOVE_SELECTED, 32782),
      ROW(ID_CROP_SELECTED, 32783),
      ROW(ID_CLEAR_PLAYLIST, 32784),
      ROW(ID_SELECT_ALL, 32785),
      ROW(ID_SELECT_NONE, 32786),
      ROW(ID_INVERT_SELECTION, 32787),
      ROW(ID_OPEN_PLAYLIST, 32788),
      ROW(ID_SAVE_PLAYLIST, 32789),
      ROW(ID_NEW_PLAYLIST, 32790),
      // Playlist view's context menu.
      ROW(ID_REPEAT_THIS_TOGGLE, 32807),
      ROW(ID_PLAY_THIS, 32813),
      ROW(ID_DELETE_THIS, 32816),
      ROW(ID_SORT_ASCENDING, 32815),
      ROW(ID_SORT_DESCENDING, 32814),
      ROW(ID_BACKGROUND_BLANK, 32809),
      ROW(ID_BACKGROUND_IMAGE, 32810),
      // Video window's context menu.
      ROW(ID_VIDEO_SIZE_50, 32774),
      ROW(ID_VIDEO_SIZE_100, 32775),
      ROW(ID_VIDEO_SIZE_200, 32776),
      ROW(ID_VIDEO_ENTER_FULL_SCREEN, 32777),
      ROW(ID_VIDEO_KEEP_RATIO, 32811),
      ROW(ID_VIDEO_PLAYBACK_PREV, 32796),
      ROW(ID_VIDEO_PLAYBACK_PLAY, 32793),
      ROW(ID_VIDEO_PLAYBACK_PAUSE, 32794),
      ROW(ID_VIDEO_PLAYBACK_STOP, 32795),
      ROW(ID_VIDEO_PLAYBACK_NEXT, 32797),
      ROW(ID_CAPTION_NONE, 32818),
      ROW(ID_CAPTION_WINDOW, 32817),
      ROW(ID_CAPTION_OVERLAY, 32819),
      // Positions by which the code finds popups.
      ROW(MAIN_MENU_POPUP, 0),
      ROW(MAIN_MENU_ADD_FILE, 1),
      ROW(MAIN_MENU_REMOVE_FILE, 2),
      ROW(MAIN_MENU_SELECT, 3),
      ROW(MAIN_MENU_LOAD_LIST, 5),
      ROW(MAIN_POPUP_REPEAT, 3),
      ROW(MAIN_POPUP_SKIN, 6),
      ROW(VIDEO_POPUP_SIZE, 0),
      ROW(VIDEO_POPUP_SKIN, 1),
      ROW(VIDEO_POPUP_PLAYBACK, 3),
      ROW(VIDEO_POPUP_CAPTION, 4),
      // Resources.
      ROW(IDI_VELK, 128),
      ROW(IDB_BASE_SKIN, 129),
      ROW(IDR_MAIN_MENU, 130),
      ROW(IDR_VIDEO_MENU, 131),
      ROW(IDR_PLAYLIST_MENU, 139),
      ROW(IDD_ADD_LOCATION, 102),
      ROW(IDD_PLAYLIST_PAGE, 145),
      ROW(IDD_SKIN_PAGE, 146),
      ROW(IDD_OPTIONS, 149),
      ROW(IDD_ABOUT_PAGE, 155),
      ROW(IDB_ABOUT_LOGO, 156),
      ROW(IDB_ABOUT_PICTURE, 159),
      ROW(velk::CPlayListCtrl::kControlId, 100),
  };
  ExpectAll(rows);
}

TEST(PlayerFixedNumbers, TrayIconAndTimer) {
  using velk::CMainWindow;
  const Number rows[] = {
      ROW(CMainWindow::kTrayIconId, 10000),
      {"tray callback message", velk::WM_PLAYER_TRAYNOTIFY, 0x0413},
      ROW(CMainWindow::kTimerId, 1),
      ROW(CMainWindow::kTimerPeriodMs, 1000),
  };
  ExpectAll(rows);
  EXPECT_STREQ(CMainWindow::kTrayTip, "Qorn media player");
  EXPECT_LE(std::string(CMainWindow::kTrayTip).size(), 63u);  // the tray tip's room
  EXPECT_STREQ(CMainWindow::kWindowName, "Qorn mediaplayer");
}

#undef ROW

std::string GuidText(const GUID& g) {
  wchar_t w[64] = {};
  ::StringFromGUID2(g, w, 64);
  return std::string(w, w + wcslen(w));
}

TEST(PlayerFixedNumbers, CaptionOverlayIdentifiers) {
  struct Row {
    const char* name;
    const GUID& actual;
    const wchar_t* expected;
  } rows[] = {
      {"CLSID_Karvex", CLSID_Karvex, L"{1D972EE0-1C22-11D4-9594-525405E0A5F9}"},
      {"CLSID_CaptionInfoPage", CLSID_CaptionInfoPage, L"{1D972EE2-1C22-11D4-9594-525405E0A5F9}"},
      {"IID_ICaptionOverlay", IID_ICaptionOverlay, L"{1D972EE3-1C22-11D4-9594-525405E0A5F9}"},
  };
  for (const Row& r : rows) {
    GUID expected = {};
    ASSERT_EQ(::CLSIDFromString(const_cast<wchar_t*>(r.expected), &expected), S_OK) << r.name;
    EXPECT_TRUE(::IsEqualGUID(r.actual, expected))
        << r.name << " is " << GuidText(r.actual) << ", must be " << GuidText(expected);
  }
#ifdef __CRT_UUID_DECL
  // __uuidof, as the player queries the filter, must agree with the named identifier.
  EXPECT_TRUE(::IsEqualGUID(__uuidof(ICaptionOverlay), IID_ICaptionOverlay));
#endif
}

// Section and key names are compared without regard to case by the settings
// store, so they are compared that way here too.
TEST(PlayerFixedNumbers, IntegerSettingsAndTheirDefaults) {
  namespace s = velk::settings;
  struct Row {
    const char* name;
    const s::IntSetting& actual;
    const char* section;
    const char* key;
    int32_t def;
  } rows[] = {
      // Main window displays.
      {"SliderColor", s::SliderColor, "Qorn mediaplayer", "slider", 0x808040},
      {"TimeColor", s::TimeColor, "Qorn mediaplayer", "time", 0xFFFF00},
      {"TimeBackColor", s::TimeBackColor, "Qorn mediaplayer", "Bktime", 0x400040},
      {"VolumeColor", s::VolumeColor, "Qorn mediaplayer", "volume", 0x4080},
      // Playlist view.
      {"TextNormalColor", s::TextNormalColor, "playlist", "Textnorcolor", 0xFFFFFF},
      {"TextPlayingColor", s::TextPlayingColor, "playlist", "Textplaycolor", 0x7FFFFF},
      {"BackNormalColor", s::BackNormalColor, "playlist", "Bknorcolor", 0x3C2814},
      {"BackSelectedColor", s::BackSelectedColor, "playlist", "Bkselcolor", 0x785028},
      {"BackgroundMode", s::BackgroundMode, "playlist", "bkmode", 10},
      // Navigation state.
      {"CurrentTrack", s::CurrentTrack, "playlist", "curtrack", 0},
      {"RepeatMode", s::RepeatMode, "playlist", "repeatmode", 0},
      {"Shuffle", s::Shuffle, "playlist", "random", 0},
      // Video window.
      {"CaptionMode", s::CaptionMode, "VideoWindow", "Caption", 0},
      {"KeepAspectRatio", s::KeepAspectRatio, "VideoWindow", "KeepAR", 1},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(_stricmp(r.actual.section, r.section), 0) << r.name << " section " << r.actual.section;
    EXPECT_EQ(_stricmp(r.actual.key, r.key), 0) << r.name << " key " << r.actual.key;
    EXPECT_EQ(r.actual.def, r.def) << r.name << " default 0x" << std::hex << r.actual.def << ", must be 0x"
                                   << r.def;
  }
  struct Placement {
    const s::WindowIntKey& actual;
    const char* key;
    int32_t def;
  } placement[] = {
      {s::PlacementLeft, "left", 0},
      {s::PlacementTop, "top", 0},
      {s::PlacementRight, "right", 300},
      {s::PlacementBottom, "bottom", 300},
  };
  for (const Placement& p : placement) {
    EXPECT_EQ(_stricmp(p.actual.key, p.key), 0) << p.actual.key;
    EXPECT_EQ(p.actual.def, p.def) << p.key;
  }
}

// The texts that Velk.exe carries: its string table and its menus, loaded from
// the built program the way the code loads them.
class PlayerFixedTexts : public velk::restest::PlayerModuleTest {};

TEST_F(PlayerFixedTexts, FileDialogFilterStrings) {
  ASSERT_NE(module_, nullptr);
  struct Row {
    int id;
    int expectedId;
    const char* text;
  } rows[] = {
      {IDS_FILTER_ALL_SUPPORTED, 1,
       "All supporedt types |*.avi;*.mov;*.qt;*.mpe;*.m1v;*.m2v;*.mpg;*.mp2;*.dat;*.mpeg;*.vob;*.mps;"
       "*.mp3;*.wav;*.mid;*.asf|"},
      {IDS_FILTER_AVI, 2, "AVI Video (*.avi)|*.avi|"},
      {IDS_FILTER_QUICKTIME, 3, "QuickTime Video (*.mov;*.qt)|*.mov;*.qt|"},
      {IDS_FILTER_MPEG, 4,
       "MPEG Video (*.asf;*.mpe;*.m1v;*.m2v;*.mpg;*.dat;*.mpeg;*.vob;*.mps)|"
       "*.asf;*.mpe;*.m1v;*.m2v;*.mpg;*.mpeg;*.dat;*.vob;*.mps|"},
      {IDS_FILTER_AUDIO, 5, "Audio (*.mp3;*.wav;*.mid)|*.mp3;*.wav;*.mid|"},
      {IDS_FILTER_PLAYLIST, 6, "M3U PlayList File(*.m3u;*.m3u8)|*.m3u;*.m3u8|"},
      {IDS_FILTER_ALL_FILES, 7, "All Files (*.*)|*.*|"},
      {IDS_FILTER_IMAGE, 8, "Image File(*.bmp;*.jpg;*.gif)|*.bmp;*.jpg;*.gif|"},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(r.id, r.expectedId);
    char buf[512] = {};
    const int n = ::LoadStringA(module_, static_cast<UINT>(r.expectedId), buf, sizeof(buf));
    EXPECT_EQ(std::string(buf, n > 0 ? n : 0), r.text) << "string " << r.expectedId;
  }
}

// Each command id found in its menu resource (submenus searched too) with the
// text the user sees.
TEST_F(PlayerFixedTexts, MenuItemTexts) {
  ASSERT_NE(module_, nullptr);
  struct Row {
    int menu;
    int command;
    const char* text;
  } rows[] = {
      {130, 32780, "Qorn Media Player"},
      {130, 32799, "Pre&v"},
      {130, 32798, "&Play"},
      {130, 32802, "P&ause"},
      {130, 32800, "S&top"},
      {130, 32801, "&Next"},
      {130, 5000, "&None"},
      {130, 5001, "&This"},
      {130, 5002, "&All"},
      {130, 32804, "Shu&ffle"},
      {130, 6000, "<Base Skin>"},
      {130, 61536, "&Exit"},
      {130, 65535, "opt"},
      {130, 32778, "Add file(s)"},
      {130, 32779, "Add directory"},
      {130, 32781, "Add location"},
      {130, 32782, "Remove selected"},
      {130, 32783, "Crop selected"},
      {130, 32784, "Clear playlist"},
      {130, 32785, "Select all"},
      {130, 32786, "Select none"},
      {130, 32787, "Invert selection"},
      {130, 32788, "Open playlist"},
      {130, 32789, "Save playlist"},
      {130, 32790, "New playlist (clear)"},
      {139, 32807, "Repeat this"},
      {139, 32813, "Play this"},
      {139, 32816, "Delete This"},
      {139, 32815, "Ascending"},
      {139, 32814, "Descending"},
      {139, 32809, "<Blank>"},
      {139, 32810, "Image..."},
      {131, 32774, "50% Size"},
      {131, 32775, "100% Size"},
      {131, 32776, "200% Size"},
      {131, 32777, "Full Screen"},
      {131, 32811, "Keep Ratio"},
      {131, 6000, "<Base Skin>"},
      {131, 32796, "Pre&v"},
      {131, 32793, "&Play"},
      {131, 32794, "P&ause"},
      {131, 32795, "S&top"},
      {131, 32797, "&Next"},
      {131, 32818, "&None"},
      {131, 32817, "&Window"},
      {131, 32819, "&Overlay"},
  };
  for (const Row& r : rows) {
    HMENU menu = ::LoadMenuA(module_, MAKEINTRESOURCEA(r.menu));
    ASSERT_NE(menu, nullptr) << "menu " << r.menu;
    char buf[256] = {};
    const int n = ::GetMenuStringA(menu, static_cast<UINT>(r.command), buf, sizeof(buf), MF_BYCOMMAND);
    EXPECT_EQ(std::string(buf, n > 0 ? n : 0), r.text) << "menu " << r.menu << ", command " << r.command;
    ::DestroyMenu(menu);
  }
}

}  // namespace
