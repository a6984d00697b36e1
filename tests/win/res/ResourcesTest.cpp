// The resources of Velk.exe that code finds by position or id: the popups of
// the menus, the filter strings, the icon.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "player/res/ResourceIds.h"
#include "tests/win/res/PlayerModule.h"

namespace {

class Resources : public velk::restest::PlayerModuleTest {};

std::string ItemText(HMENU menu, int pos) {
  char buf[256] = {};
  ::GetMenuStringA(menu, static_cast<UINT>(pos), buf, sizeof(buf), MF_BYPOSITION);
  return buf;
}

TEST_F(Resources, MainMenuPopupsSitWhereTheCodeLooks) {
  ASSERT_NE(module_, nullptr);
  HMENU menu = ::LoadMenuA(module_, MAKEINTRESOURCEA(IDR_MAIN_MENU));
  ASSERT_NE(menu, nullptr);
  ASSERT_EQ(::GetMenuItemCount(menu), 6);
  EXPECT_EQ(ItemText(menu, MAIN_MENU_POPUP), "popup");
  EXPECT_EQ(ItemText(menu, MAIN_MENU_ADD_FILE), "add file");
  EXPECT_EQ(ItemText(menu, MAIN_MENU_REMOVE_FILE), "rem file");
  EXPECT_EQ(ItemText(menu, MAIN_MENU_SELECT), "sel");
  EXPECT_EQ(::GetMenuItemID(menu, 4), static_cast<UINT>(ID_UNUSED_OPTIONS));
  EXPECT_EQ(ItemText(menu, MAIN_MENU_LOAD_LIST), "loadlist");

  HMENU popup = ::GetSubMenu(menu, MAIN_MENU_POPUP);
  EXPECT_EQ(::GetMenuItemID(popup, 0), static_cast<UINT>(ID_HOME_PAGE));
  HMENU repeat = ::GetSubMenu(popup, MAIN_POPUP_REPEAT);
  ASSERT_NE(repeat, nullptr);
  EXPECT_EQ(::GetMenuItemID(repeat, 0), static_cast<UINT>(ID_REPEAT_NONE));
  EXPECT_EQ(::GetMenuItemID(repeat, 2), static_cast<UINT>(ID_REPEAT_ALL));
  EXPECT_EQ(::GetMenuItemID(popup, 4), static_cast<UINT>(ID_SHUFFLE));
  HMENU skin = ::GetSubMenu(popup, MAIN_POPUP_SKIN);
  ASSERT_NE(skin, nullptr);
  EXPECT_EQ(::GetMenuItemID(skin, 0), static_cast<UINT>(ID_SKIN_BASE));
  EXPECT_EQ(::GetMenuItemID(popup, 8), static_cast<UINT>(ID_APP_EXIT));
  EXPECT_EQ(::GetMenuItemID(::GetSubMenu(menu, MAIN_MENU_LOAD_LIST), 2),
            static_cast<UINT>(ID_NEW_PLAYLIST));
  ::DestroyMenu(menu);
}

TEST_F(Resources, VideoAndPlaylistMenus) {
  ASSERT_NE(module_, nullptr);
  HMENU video = ::LoadMenuA(module_, MAKEINTRESOURCEA(IDR_VIDEO_MENU));
  ASSERT_NE(video, nullptr);
  HMENU popup = ::GetSubMenu(video, 0);
  EXPECT_EQ(::GetMenuItemID(::GetSubMenu(popup, VIDEO_POPUP_SIZE), 3),
            static_cast<UINT>(ID_VIDEO_ENTER_FULL_SCREEN));
  EXPECT_EQ(::GetMenuItemID(::GetSubMenu(popup, VIDEO_POPUP_SIZE), 5),
            static_cast<UINT>(ID_VIDEO_KEEP_RATIO));
  EXPECT_EQ(::GetMenuItemID(::GetSubMenu(popup, VIDEO_POPUP_SKIN), 0), static_cast<UINT>(ID_SKIN_BASE));
  EXPECT_EQ(::GetMenuItemID(::GetSubMenu(popup, VIDEO_POPUP_PLAYBACK), 0),
            static_cast<UINT>(ID_VIDEO_PLAYBACK_PREV));
  EXPECT_EQ(::GetMenuItemID(::GetSubMenu(popup, VIDEO_POPUP_CAPTION), 2),
            static_cast<UINT>(ID_CAPTION_OVERLAY));
  ::DestroyMenu(video);

  HMENU list = ::LoadMenuA(module_, MAKEINTRESOURCEA(IDR_PLAYLIST_MENU));
  ASSERT_NE(list, nullptr);
  HMENU playlist = ::GetSubMenu(list, 0);
  EXPECT_EQ(::GetMenuItemCount(playlist), 6);
  EXPECT_EQ(::GetMenuItemID(playlist, 1), static_cast<UINT>(ID_PLAY_THIS));
  EXPECT_EQ(::GetMenuItemID(::GetSubMenu(playlist, 4), 0), static_cast<UINT>(ID_SORT_ASCENDING));
  EXPECT_EQ(::GetMenuItemID(::GetSubMenu(playlist, 5), 1), static_cast<UINT>(ID_BACKGROUND_IMAGE));
  ::DestroyMenu(list);
}

TEST_F(Resources, FilterStringsJoinIntoDialogFilters) {
  ASSERT_NE(module_, nullptr);
  std::string all;
  for (int id = IDS_FILTER_ALL_SUPPORTED; id <= IDS_FILTER_IMAGE; ++id) {
    char buf[512] = {};
    ASSERT_GT(::LoadStringA(module_, static_cast<UINT>(id), buf, sizeof(buf)), 0) << id;
    std::string s = buf;
    // description | patterns |
    ASSERT_EQ(s.back(), '|') << id;
    EXPECT_EQ(std::count(s.begin(), s.end(), '|'), 2) << id;
    all += s;
  }
  EXPECT_NE(all.find("M3U PlayList File(*.m3u;*.m3u8)|*.m3u;*.m3u8|"), std::string::npos);
  EXPECT_NE(all.find("Image File(*.bmp;*.jpg;*.gif)|*.bmp;*.jpg;*.gif|"), std::string::npos);
}

// Each program carries its manifest: the player no DPI awareness and common
// controls 6, the restorer a request to run as administrator.
TEST(Manifests, EachProgramCarriesItsOwn) {
  struct Row {
    std::string program;
    int id;
    std::vector<std::string> holds;
  } rows[] = {
      {VELK_EXE_UNIX, 1, {"Microsoft.Windows.Common-Controls", "<dpiAware", ">false<", "asInvoker", "supportedOS"}},
      {VELKASSOC_EXE_UNIX, 1, {"requireAdministrator", "supportedOS"}},
      {KARVEX_AX_UNIX, 2, {"Microsoft.Windows.Common-Controls"}},
  };
  for (const Row& r : rows) {
    HMODULE module = ::LoadLibraryExA(velk::restest::WindowsPath(r.program).c_str(), nullptr,
                                      LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(module, nullptr) << r.program;
    HRSRC found = ::FindResourceA(module, MAKEINTRESOURCEA(r.id), MAKEINTRESOURCEA(24));
    ASSERT_NE(found, nullptr) << r.program;
    const char* bytes = static_cast<const char*>(::LockResource(::LoadResource(module, found)));
    const std::string text(bytes, ::SizeofResource(module, found));
    for (const std::string& piece : r.holds) EXPECT_NE(text.find(piece), std::string::npos) << r.program << ": " << piece;
    ::FreeLibrary(module);
  }
}

TEST_F(Resources, ProgramIcon) {
  ASSERT_NE(module_, nullptr);
  HICON icon = static_cast<HICON>(
      ::LoadImageA(module_, MAKEINTRESOURCEA(IDI_VELK), IMAGE_ICON, 32, 32, LR_DEFAULTCOLOR));
  ASSERT_NE(icon, nullptr);
  ::DestroyIcon(icon);
}

}  // namespace
