// The skinned window base on real windows: the region messages that mouse
// sequences post, placement and skin persistence, and the skin catalogue.
#include <gtest/gtest.h>

#include "player/app/SettingsTable.h"
#include "player/skin/SkinCatalog.h"
#include "player/skin/SkinLayout.h"
#include "shared/PlayerMessages.h"
#include "tests/win/skin/SkinTestSupport.h"

namespace velk::skintest {
namespace {

const char kSection[] = "SkinTest";
using Received = std::vector<std::pair<UINT, WPARAM>>;

class SkinWndTest : public ::testing::Test {
 protected:
  void OpenWindow() {
    ASSERT_TRUE(wnd.Create(kSection, "", &kMainFrameTable, nullptr));
    for (const SkinButton& b : MainWindowButtons()) wnd.AddButton(b);
    PumpMessages();
    wnd.received.clear();
  }
  void TearDown() override {
    if (wnd.IsWindow()) wnd.DestroyWindow();
    PumpMessages();
  }
  // Client points of the 300 × 300 window.
  static constexpr int kListX = 300 - 44 + 5, kListY = 300 - 30 + 5;
  static constexpr int kAddX = 12 + 5, kAddY = 300 - 30 + 5;
  static constexpr int kSubX = 43 + 5;

  CTestSettings testSettings;
  CProbeWnd wnd;
};

TEST_F(SkinWndTest, PressAndReleaseOnOneButtonPostsOnlyItsRelease) {
  OpenWindow();
  Press(wnd, kListX, kListY);
  PumpMessages();
  SkinButton b{};
  ASSERT_TRUE(wnd.GetButton(ID_BTN_OPENLIST, &b));
  EXPECT_TRUE(b.state & SKB_DOWN);  // shown pressed
  Release(wnd, kListX + 2, kListY + 2);
  PumpMessages();
  EXPECT_EQ(wnd.received, (Received{{ID_BTN_OPENLIST, SKIN_MOUSE_UP}}));
  ASSERT_TRUE(wnd.GetButton(ID_BTN_OPENLIST, &b));
  EXPECT_FALSE(b.state & SKB_DOWN);
}

TEST_F(SkinWndTest, ReleaseOffTheButtonPostsNothingAndShowsItReleased) {
  OpenWindow();
  Press(wnd, kListX, kListY);
  Drag(wnd, 150, 150);
  SkinButton b{};
  ASSERT_TRUE(wnd.GetButton(ID_BTN_OPENLIST, &b));
  EXPECT_FALSE(b.state & SKB_DOWN);
  Release(wnd, 150, 150);
  PumpMessages();
  EXPECT_EQ(wnd.received, Received{});
}

TEST_F(SkinWndTest, ReleaseOnAnotherButtonPostsTheOther) {
  OpenWindow();
  Press(wnd, kAddX, kAddY);
  Drag(wnd, kSubX, kAddY);  // the held press follows the pointer
  SkinButton sub{};
  ASSERT_TRUE(wnd.GetButton(ID_BTN_REMOVE, &sub));
  EXPECT_TRUE(sub.state & SKB_DOWN);
  Release(wnd, kSubX, kAddY);
  PumpMessages();
  EXPECT_EQ(wnd.received, (Received{{ID_BTN_REMOVE, SKIN_MOUSE_UP}}));
}

TEST_F(SkinWndTest, DoubleClickReportsTheSecondReleaseOnly) {
  OpenWindow();
  Press(wnd, kListX, kListY);
  Release(wnd, kListX, kListY);
  wnd.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(kListX, kListY));
  SkinButton b{};
  ASSERT_TRUE(wnd.GetButton(ID_BTN_OPENLIST, &b));
  EXPECT_FALSE(b.state & SKB_DOWN);  // not shown pressed for the double click
  Release(wnd, kListX, kListY);
  PumpMessages();
  EXPECT_EQ(wnd.received, (Received{{ID_BTN_OPENLIST, SKIN_MOUSE_UP}, {ID_BTN_OPENLIST, SKIN_MOUSE_UP}}));
}

TEST_F(SkinWndTest, TitleStripPressStartsAMoveButATitleButtonDoesNot) {
  OpenWindow();
  Press(wnd, 300 - 12 + 3, 5);  // the close dot
  PumpMessages();
  EXPECT_EQ(wnd.received, Received{});
  EXPECT_FALSE(wnd.IsMoving());
  Release(wnd, 150, 150);
  PumpMessages();

  Press(wnd, 100, 10);
  PumpMessages();
  EXPECT_EQ(wnd.received, (Received{{WM_SKIN_MOVEDRAG, SKIN_MOUSE_DOWN}}));
  EXPECT_TRUE(wnd.IsMoving());
  EXPECT_EQ(::GetCapture(), wnd.m_hWnd);
  // While moving, buttons are not hit-tested: a release over LIST ends the move only.
  Release(wnd, kListX, kListY);
  PumpMessages();
  EXPECT_EQ(wnd.received.back(), (std::pair<UINT, WPARAM>{WM_SKIN_MOVEDRAG, SKIN_MOUSE_UP}));
  EXPECT_FALSE(wnd.IsMoving());
  EXPECT_EQ(::GetCapture(), nullptr);
}

TEST_F(SkinWndTest, GripPressStartsAResize) {
  OpenWindow();
  Press(wnd, 295, 295);
  PumpMessages();
  EXPECT_EQ(wnd.received, (Received{{WM_SKIN_RESIZEDRAG, SKIN_MOUSE_DOWN}}));
  EXPECT_TRUE(wnd.IsResizing());
  Release(wnd, 295, 295);
  PumpMessages();
  EXPECT_FALSE(wnd.IsResizing());
}

TEST_F(SkinWndTest, FirstStartOpensAtTheOriginWithDefaultSizeAndFrameInsets) {
  OpenWindow();
  const RECT rc = wnd.GetWindowRect();
  EXPECT_EQ(rc.left, 0);
  EXPECT_EQ(rc.top, 0);
  EXPECT_EQ(rc.right - rc.left, 300);
  EXPECT_EQ(rc.bottom - rc.top, 300);
  const RECT inner = wnd.GetInnerRect();
  EXPECT_EQ(inner.left, 12);
  EXPECT_EQ(inner.top, 20);
  EXPECT_EQ(inner.right, 288);
  EXPECT_EQ(inner.bottom, 262);
  MINMAXINFO info{};
  wnd.SendMessage(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(info.ptMinTrackSize.x, 200);
  EXPECT_EQ(info.ptMinTrackSize.y, 58);
  EXPECT_EQ(wnd.HitTest(300 - 20, 300 - 20, wnd.GetClientRect()), WM_SKIN_RESIZEDRAG);
}

TEST_F(SkinWndTest, PlacementIsCorrectedWhenReadAndStoredWhenDestroyed) {
  ISettingsStore& store = testSettings.Store();
  // Closed on a monitor that is gone, left of this one: back on the screen,
  // with its size.
  store.WriteInt(kSection, "left", -1000);
  store.WriteInt(kSection, "top", 40);
  store.WriteInt(kSection, "right", -700);
  store.WriteInt(kSection, "bottom", 240);
  OpenWindow();
  RECT rc = wnd.GetWindowRect();
  EXPECT_EQ(rc.left, 0);
  EXPECT_EQ(rc.top, 40);
  EXPECT_EQ(rc.right, 300);
  EXPECT_EQ(rc.bottom, 240);

  ::MoveWindow(wnd.m_hWnd, 30, 60, 320, 210, TRUE);
  wnd.DestroyWindow();
  EXPECT_EQ(store.GetInt(kSection, "LEFT", -1), 30);  // names compare without case
  EXPECT_EQ(store.GetInt(kSection, "top", -1), 60);
  EXPECT_EQ(store.GetInt(kSection, "right", -1), 350);
  EXPECT_EQ(store.GetInt(kSection, "bottom", -1), 270);
  EXPECT_EQ(store.GetString(kSection, "SkinPathName", "unset"), "");
}

TEST_F(SkinWndTest, WindowWiderThanTheScreenKeepsThePreviousLeftAndRight) {
  ISettingsStore& store = testSettings.Store();
  store.WriteInt(kSection, "left", 10);
  store.WriteInt(kSection, "right", 310);
  OpenWindow();
  const int screen = ::GetSystemMetrics(SM_CXSCREEN);
  ::MoveWindow(wnd.m_hWnd, 5, 7, screen + 100, 200, TRUE);
  wnd.DestroyWindow();
  EXPECT_EQ(store.GetInt(kSection, "left", -1), 10);
  EXPECT_EQ(store.GetInt(kSection, "right", -1), 310);
  EXPECT_EQ(store.GetInt(kSection, "top", -1), 7);
}

TEST_F(SkinWndTest, MinimisedWindowStoresTheRectangleItRestoresTo) {
  OpenWindow();
  ::MoveWindow(wnd.m_hWnd, 40, 50, 260, 180, TRUE);
  ::ShowWindow(wnd.m_hWnd, SW_MINIMIZE);
  PumpMessages();
  wnd.DestroyWindow();
  ISettingsStore& store = testSettings.Store();
  EXPECT_EQ(store.GetInt(kSection, "left", -1), 40);
  EXPECT_EQ(store.GetInt(kSection, "top", -1), 50);
  EXPECT_EQ(store.GetInt(kSection, "right", -1), 300);
  EXPECT_EQ(store.GetInt(kSection, "bottom", -1), 230);
}

TEST_F(SkinWndTest, UnloadableSkinFallsBackToTheBaseSkinAndStoresAnEmptyPath) {
  CScratchDir dir;
  ASSERT_TRUE(WriteBytes(dir.File("corrupt.bmp"), std::vector<uint8_t>(500, 0x42)));
  ASSERT_TRUE(WriteBytes(dir.File("frost.bmp"), skinart::EncodeBmp8(skinart::PaintSkin(skinart::Theme::Frost))));
  ISettingsStore& store = testSettings.Store();
  store.WriteString(kSection, "SkinPathName", dir.File("missing.bmp"));
  OpenWindow();
  EXPECT_EQ(wnd.GetSkinPath(), "");
  EXPECT_EQ(store.GetString(kSection, "SkinPathName", "unset"), "");
  EXPECT_NE(wnd.GetFrameImage()->GetBitmap(), nullptr);

  EXPECT_TRUE(wnd.LoadSkin(dir.File("frost.bmp")));
  EXPECT_EQ(wnd.GetSkinPath(), dir.File("frost.bmp"));
  EXPECT_EQ(store.GetString(kSection, "SkinPathName", ""), dir.File("frost.bmp"));
  EXPECT_FALSE(wnd.LoadSkin(dir.File("corrupt.bmp")));
  EXPECT_EQ(wnd.GetSkinPath(), "");
  EXPECT_EQ(store.GetString(kSection, "SkinPathName", "unset"), "");

  // A picture too small for the layout would leave no title bar or controls.
  skinart::Picture tiny = skinart::PaintSkin(skinart::Theme::Frost);
  tiny.width = tiny.height = 1;
  tiny.pixels.resize(1);
  ASSERT_TRUE(WriteBytes(dir.File("tiny.bmp"), skinart::EncodeBmp8(tiny)));
  EXPECT_FALSE(wnd.LoadSkin(dir.File("tiny.bmp")));
  EXPECT_EQ(wnd.GetSkinPath(), "");
  EXPECT_NE(wnd.GetFrameImage()->GetBitmap(), nullptr);
}

class SkinCatalogTest : public SkinWndTest {
 protected:
  void SetUp() override {
    settings::Write(testSettings.Store(), settings::AppPath, app.Path());
    skins = app.File("Skins");
    ::CreateDirectoryA(skins.c_str(), nullptr);
    const auto frost = skinart::EncodeBmp8(skinart::PaintSkin(skinart::Theme::Frost));
    for (const char* name : {"a.bmp", "b.jpg", "c.bmp", "d.jpeg", "e.gif"}) {
      ASSERT_TRUE(WriteBytes(skins + "\\" + name, frost));
    }
    ::CreateDirectoryA((skins + "\\folder.bmp").c_str(), nullptr);
  }
  struct Item {
    UINT id;
    std::string text;
    bool checked;
    bool operator==(const Item& o) const { return id == o.id && text == o.text && checked == o.checked; }
  };
  std::vector<Item> MenuItems() {
    HMENU menu = ::CreatePopupMenu();
    ::AppendMenuA(menu, MF_STRING, ID_SKIN_BASE, "<Base Skin>");
    wnd.BuildSkinMenu(menu);
    std::vector<Item> items;
    for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
      char text[256] = {};
      ::GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof(text), MF_BYPOSITION);
      const UINT state = ::GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION);
      items.push_back({::GetMenuItemID(menu, i), text, (state & MF_CHECKED) != 0});
    }
    ::DestroyMenu(menu);
    return items;
  }
  CScratchDir app;
  std::string skins;
};

TEST_F(SkinCatalogTest, ListsBmpThenJpgFilesWithTheirCommandIds) {
  OpenWindow();
  auto items = MenuItems();
  ASSERT_EQ(items.size(), 4u);
  EXPECT_EQ(items[0], (Item{ID_SKIN_BASE, "<Base Skin>", true}));
  // Within one extension the file system's order; the two groups in this order.
  std::vector<std::string> bmps = {items[1].text, items[2].text};
  std::sort(bmps.begin(), bmps.end());
  EXPECT_EQ(bmps, (std::vector<std::string>{"a.bmp", "c.bmp"}));
  EXPECT_EQ(items[3], (Item{6003, "b.jpg", false}));
  EXPECT_EQ(items[1].id, 6001u);
  EXPECT_EQ(items[2].id, 6002u);
  EXPECT_EQ(wnd.GetSkinList().size(), 3u);
}

TEST_F(SkinCatalogTest, ChecksTheCurrentSkinRegardlessOfCase) {
  OpenWindow();
  ASSERT_TRUE(wnd.LoadSkin(wnd.GetSkinsDir() + "C.BMP"));
  auto items = MenuItems();
  ASSERT_EQ(items.size(), 4u);
  EXPECT_FALSE(items[0].checked);
  for (size_t i = 1; i < items.size(); ++i) EXPECT_EQ(items[i].checked, items[i].text == "c.bmp");
  // A skin from another folder matches no item: the base item is checked.
  CScratchDir other;
  ASSERT_TRUE(WriteBytes(other.File("c.bmp"), ReadBytes(skins + "\\c.bmp")));
  ASSERT_TRUE(wnd.LoadSkin(other.File("c.bmp")));
  items = MenuItems();
  EXPECT_TRUE(items[0].checked);
}

TEST_F(SkinCatalogTest, SkinCommandsApplyListEntriesOrTheBaseSkin) {
  OpenWindow();
  MenuItems();
  const auto& list = wnd.GetSkinList();
  wnd.SendMessage(WM_COMMAND, 6003);
  EXPECT_EQ(wnd.GetSkinPath(), wnd.GetSkinsDir() + list[2]);
  EXPECT_EQ(testSettings.Store().GetString(kSection, "SkinPathName", ""), wnd.GetSkinsDir() + "b.jpg");
  wnd.SendMessage(WM_COMMAND, 6004);  // beyond the list: the base skin
  EXPECT_EQ(wnd.GetSkinPath(), "");
  wnd.SendMessage(WM_COMMAND, 6001);
  EXPECT_EQ(wnd.GetSkinPath(), wnd.GetSkinsDir() + list[0]);
  wnd.SendMessage(WM_COMMAND, ID_SKIN_BASE);
  EXPECT_EQ(wnd.GetSkinPath(), "");
}

TEST(SkinCatalogEmpty, MissingFolderGivesOnlyTheCheckedBaseItem) {
  CTestSettings testSettings;
  CScratchDir app;  // no Skins folder inside
  settings::Write(testSettings.Store(), settings::AppPath, app.Path());
  CProbeWnd wnd;
  ASSERT_TRUE(wnd.Create(kSection, "", &kMainFrameTable, nullptr));
  HMENU menu = ::CreatePopupMenu();
  ::AppendMenuA(menu, MF_STRING, ID_SKIN_BASE, "<Base Skin>");
  wnd.BuildSkinMenu(menu);
  EXPECT_EQ(::GetMenuItemCount(menu), 1);
  EXPECT_TRUE(::GetMenuState(menu, 0, MF_BYPOSITION) & MF_CHECKED);
  ::DestroyMenu(menu);
  wnd.SendMessage(WM_COMMAND, 6001);  // an empty list: the base skin, no crash
  EXPECT_EQ(wnd.GetSkinPath(), "");
  wnd.DestroyWindow();
}

}  // namespace
}  // namespace velk::skintest
