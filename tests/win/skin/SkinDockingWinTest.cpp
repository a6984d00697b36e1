// Move and resize drags on real windows: following the pointer, the minimum
// size, snapping, carrying and pushing partners, and the owner left in place.
#include <gtest/gtest.h>

#include "player/skin/SkinLayout.h"
#include "shared/PlayerMessages.h"
#include "tests/win/skin/SkinTestSupport.h"

namespace velk::skintest {
namespace {

void Place(ISettingsStore& store, const char* section, RECT rc) {
  store.WriteInt(section, "left", rc.left);
  store.WriteInt(section, "top", rc.top);
  store.WriteInt(section, "right", rc.right);
  store.WriteInt(section, "bottom", rc.bottom);
}

bool Equal(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

::testing::AssertionResult IsAt(const CSkinWnd& w, RECT want) {
  const RECT rc = w.GetWindowRect();
  if (Equal(rc, want)) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << w.GetSectionName() << " at (" << rc.left << "," << rc.top << ")–("
                                       << rc.right << "," << rc.bottom << "), wanted (" << want.left << ","
                                       << want.top << ")–(" << want.right << "," << want.bottom << ")";
}

LPARAM At(int x, int y) { return MAKELPARAM(x, y); }

class SkinDockingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Place(testSettings.Store(), "Main", {100, 100, 400, 300});
    Place(testSettings.Store(), "Right", {400, 100, 600, 300});
    Place(testSettings.Store(), "Left", {-100, 150, 100, 250});  // its minimum width, partly off the screen
    ASSERT_TRUE(main.Create("Main", "", &kMainFrameTable, nullptr));
    ASSERT_TRUE(right.Create("Right", "", &kVideoFrameTable, nullptr));
    ASSERT_TRUE(left.Create("Left", "", &kVideoFrameTable, nullptr));
    main.AddDockPartner(&right);
    main.AddDockPartner(&left);
    main.AddDockPartner(&right);  // once only
  }
  void TearDown() override {
    for (CSkinWnd* w : {&main, &right, &left}) {
      if (w->IsWindow()) w->DestroyWindow();
    }
    PumpMessages();
  }
  CTestSettings testSettings;
  CSkinWnd main, right, left;
};

TEST_F(SkinDockingTest, MoveFollowsThePointerAndCarriesTouchingPartners) {
  main.SendMessage(WM_SKIN_MOVEDRAG, SKIN_MOUSE_DOWN, At(50, 10));
  main.SendMessage(WM_SKIN_MOVEDRAG, SKIN_MOUSE_MOVE | 1, At(80, 40));
  EXPECT_TRUE(IsAt(main, {130, 130, 430, 330}));
  EXPECT_TRUE(IsAt(right, {430, 130, 630, 330}));
  EXPECT_TRUE(IsAt(left, {-70, 180, 130, 280}));
  // Without the button held, or after the release, the pointer moves nothing.
  main.SendMessage(WM_SKIN_MOVEDRAG, SKIN_MOUSE_MOVE, At(90, 40));
  main.SendMessage(WM_SKIN_MOVEDRAG, SKIN_MOUSE_UP, At(50, 10));
  main.SendMessage(WM_SKIN_MOVEDRAG, SKIN_MOUSE_MOVE | 1, At(90, 40));
  EXPECT_TRUE(IsAt(main, {130, 130, 430, 330}));
  EXPECT_FALSE(main.IsMoving());
}

TEST_F(SkinDockingTest, ResizePushesThePartnerOnTheRightNotTheOneOnTheLeft) {
  main.SendMessage(WM_SKIN_RESIZEDRAG, SKIN_MOUSE_DOWN, At(290, 190));
  main.SendMessage(WM_SKIN_RESIZEDRAG, SKIN_MOUSE_MOVE | 1, At(330, 200));
  EXPECT_TRUE(IsAt(main, {100, 100, 440, 310}));
  EXPECT_TRUE(IsAt(right, {440, 100, 640, 300}));
  EXPECT_TRUE(IsAt(left, {-100, 150, 100, 250}));
  // The anchor follows the pointer: the next step resizes by the new difference only.
  main.SendMessage(WM_SKIN_RESIZEDRAG, SKIN_MOUSE_MOVE | 1, At(320, 200));
  EXPECT_TRUE(IsAt(main, {100, 100, 430, 310}));
  EXPECT_TRUE(IsAt(right, {430, 100, 630, 300}));
  main.SendMessage(WM_SKIN_RESIZEDRAG, SKIN_MOUSE_UP, At(320, 200));
  EXPECT_FALSE(main.IsResizing());
}

TEST_F(SkinDockingTest, ResizeStopsAtTheMinimumTrackingSize) {
  main.SendMessage(WM_SKIN_RESIZEDRAG, SKIN_MOUSE_DOWN, At(290, 190));
  main.SendMessage(WM_SKIN_RESIZEDRAG, SKIN_MOUSE_MOVE | 1, At(-500, -500));
  EXPECT_TRUE(IsAt(main, {100, 100, 300, 158}));
  main.SendMessage(WM_SKIN_RESIZEDRAG, SKIN_MOUSE_UP, At(-500, -500));
}

TEST_F(SkinDockingTest, SnapsWithinNinePixelsNotAtTen) {
  main.RemoveDockPartner(&left);
  right.DestroyWindow();  // a partner without a window is skipped
  Place(testSettings.Store(), "Far", {800, 100, 900, 200});
  CSkinWnd distant;
  ASSERT_TRUE(distant.Create("Far", "", &kVideoFrameTable, nullptr));
  main.AddDockPartner(&distant);
  main.SnapMove({509, 150, 809, 350});  // right edge 9 past far's left edge
  EXPECT_TRUE(IsAt(main, {500, 150, 800, 350}));
  main.SnapMove({490, 150, 790, 350});  // 10 short of it: stays
  EXPECT_TRUE(IsAt(main, {490, 150, 790, 350}));
  main.SnapMove({500, 150, 800, 350});  // touching: stays
  EXPECT_TRUE(IsAt(main, {500, 150, 800, 350}));
  distant.DestroyWindow();
}

TEST(SkinDockingOwner, OwnedWindowSnapsToItsOwnerButNeverCarriesIt) {
  CTestSettings testSettings;
  Place(testSettings.Store(), "Main", {100, 100, 400, 300});
  Place(testSettings.Store(), "Video", {400, 100, 600, 250});
  CSkinWnd main, video;
  ASSERT_TRUE(main.Create("Main", "", &kMainFrameTable, nullptr));
  ASSERT_TRUE(video.Create("Video", "", &kVideoFrameTable, &main));
  EXPECT_EQ(::GetWindow(video.m_hWnd, GW_OWNER), main.m_hWnd);
  main.AddDockPartner(&video);

  video.SendMessage(WM_SKIN_MOVEDRAG, SKIN_MOUSE_DOWN, At(20, 10));
  video.SendMessage(WM_SKIN_MOVEDRAG, SKIN_MOUSE_MOVE | 1, At(27, 25));  // 7 off the owner's right edge
  EXPECT_TRUE(IsAt(main, {100, 100, 400, 300}));
  EXPECT_TRUE(IsAt(video, {400, 115, 600, 265}));
  video.SendMessage(WM_SKIN_MOVEDRAG, SKIN_MOUSE_UP, At(27, 25));

  // Moving the owner carries the video window along.
  main.SendMessage(WM_SKIN_MOVEDRAG, SKIN_MOUSE_DOWN, At(20, 10));
  main.SendMessage(WM_SKIN_MOVEDRAG, SKIN_MOUSE_MOVE | 1, At(120, 60));
  main.SendMessage(WM_SKIN_MOVEDRAG, SKIN_MOUSE_UP, At(120, 60));
  EXPECT_TRUE(IsAt(main, {200, 150, 500, 350}));
  EXPECT_TRUE(IsAt(video, {500, 165, 700, 315}));
  video.DestroyWindow();
  main.DestroyWindow();
  PumpMessages();
}

}  // namespace
}  // namespace velk::skintest
