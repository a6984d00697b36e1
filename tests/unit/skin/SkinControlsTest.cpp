// Hot regions, hit testing, button faces and the mouse rules of a skinned window.
#include <gtest/gtest.h>

#include "player/skin/SkinControls.h"
#include "player/skin/SkinLayout.h"
#include "player/skin/SkinMouse.h"
#include "shared/PlayerMessages.h"

namespace velk {
namespace {

const SkinRect kClient{0, 0, 300, 200};

TEST(SkinRegions, OriginsFromEachAnchor) {
  CSkinControls c;
  c.SetHotRegion({1, ANCHOR_TOP_LEFT, 5, 6, 10, 10});
  c.SetHotRegion({2, ANCHOR_TOP_RIGHT, -12, 2, 10, 10});
  c.SetHotRegion({3, ANCHOR_BOTTOM_LEFT, 12, -30, 10, 10});
  c.SetHotRegion({4, ANCHOR_BOTTOM_RIGHT, -20, -20, 20, 20});
  c.SetHotRegion({5, 0x7777, 9, 8, 1, 1});  // unknown anchor: from (0, 0)
  const SkinRect client{10, 20, 310, 220};
  EXPECT_EQ(c.GetRegionOrigin(1, client), (SkinPoint{15, 26}));
  EXPECT_EQ(c.GetRegionOrigin(2, client), (SkinPoint{298, 22}));
  EXPECT_EQ(c.GetRegionOrigin(3, client), (SkinPoint{22, 190}));
  EXPECT_EQ(c.GetRegionOrigin(4, client), (SkinPoint{290, 200}));
  EXPECT_EQ(c.GetRegionOrigin(5, client), (SkinPoint{9, 8}));
  EXPECT_EQ(c.GetRegionOrigin(99, client), (SkinPoint{0, 0}));
}

TEST(SkinRegions, HitTestIncludesLeftTopAndExcludesRightBottom) {
  CSkinControls c;
  c.SetHotRegion(ResizeGripRegion());  // (280,180)–(300,200)
  struct Row {
    int x, y;
    uint32_t want;
  } rows[] = {
      {280, 180, WM_SKIN_RESIZEDRAG}, {299, 199, WM_SKIN_RESIZEDRAG}, {300, 190, kNoRegion},
      {290, 200, kNoRegion},          {279, 190, kNoRegion},          {290, 179, kNoRegion},
  };
  for (const Row& r : rows) EXPECT_EQ(c.HitTest(r.x, r.y, kClient), r.want) << r.x << "," << r.y;
  c.RemoveHotRegion(WM_SKIN_RESIZEDRAG);
  EXPECT_EQ(c.HitTest(290, 190, kClient), kNoRegion);
}

TEST(SkinRegions, ButtonsFollowTheirAnchorWhenTheWindowResizes) {
  CSkinControls c;
  for (const SkinButton& b : MainWindowButtons()) c.AddButton(b);
  // LIST sits 44 left of and 30 above the bottom-right corner, 20 × 17.
  EXPECT_EQ(c.HitTest(300 - 44, 200 - 30, kClient), ID_BTN_OPENLIST);
  EXPECT_EQ(c.HitTest(400 - 44 + 19, 250 - 30 + 16, {0, 0, 400, 250}), ID_BTN_OPENLIST);
  EXPECT_EQ(c.HitTest(300 - 12, 2, kClient), ID_SKIN_CLOSE);
  EXPECT_EQ(c.HitTest(300 - 22, 2, kClient), ID_SKIN_MINIMIZE);
  EXPECT_EQ(c.GetNotifyMask(ID_BTN_PLAY), SKB_NOTIFY_UP);
  EXPECT_EQ(c.GetNotifyMask(0x9999), 0xFFFFFFFFu);
  c.RemoveButton(ID_BTN_OPENLIST);
  EXPECT_FALSE(c.IsButton(ID_BTN_OPENLIST));
  EXPECT_EQ(c.HitTest(300 - 44, 200 - 30, kClient), kNoRegion);
}

TEST(SkinButtons, PressedFaceHiddenAndLatchingButtons) {
  CSkinControls c;
  c.AddButton({1, 100, 101, {0, 0, 10, 10}, {10, 0, 20, 10}, ANCHOR_TOP_LEFT, 0, 0, 0, SKB_NOTIFY_UP});
  c.AddButton({2, 200, 201, {0, 0, 10, 10}, {10, 0, 20, 10}, ANCHOR_TOP_LEFT, 20, 0, SKB_HIDDEN, 0});
  c.AddButton({3, 300, 301, {0, 0, 10, 10}, {10, 0, 20, 10}, ANCHOR_TOP_LEFT, 40, 0,
               SKB_LATCHING | SKB_DOWN, 0});

  auto forced = c.PlanButtons(kNoRegion, true, kClient);
  EXPECT_EQ(forced, (std::vector<PieceDraw>{{100, 0, 0, -1}, {301, 40, 0, -1}}));
  auto pressed = c.PlanButtons(1, false, kClient);  // latching ones wait for a full repaint
  EXPECT_EQ(pressed, (std::vector<PieceDraw>{{101, 0, 0, -1}}));
  EXPECT_TRUE(c.FindButton(1)->state & SKB_DOWN);
  c.PlanButtons(kNoRegion, false, kClient);
  EXPECT_FALSE(c.FindButton(1)->state & SKB_DOWN);
  c.SetButtonState(3, SKB_LATCHING);
  EXPECT_EQ(c.PlanButtons(3, true, kClient).back(), (PieceDraw{300, 40, 0, -1}));
}

class SkinMouseRules : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const SkinButton& b : MainWindowButtons()) controls.AddButton(b);
    controls.SetHotRegion(ResizeGripRegion());
    controls.SetHotRegion({0x500, ANCHOR_TOP_LEFT, 50, 50, 10, 10});  // a plain region
    controls.AddButton({0x501, 1, 2, {0, 0, 10, 10}, {0, 0, 10, 10}, ANCHOR_TOP_LEFT, 70, 50, 0,
                        SKB_NOTIFY_DOWN | SKB_NOTIFY_HOVER | SKB_NOTIFY_DRAG});
  }
  SkinMouseAction Do(SkinMouseEvent ev, int x, int y, bool held = false, bool resizing = false,
                     bool moving = false) {
    SkinMouseInput in;
    in.event = ev;
    in.held = held;
    in.point = {x, y};
    in.client = kClient;
    in.titleStrip = {0, 0, 300, 20};
    in.resizing = resizing;
    in.moving = moving;
    return DecideSkinMouse(in, controls);
  }
  CSkinControls controls;
};

using Posts = std::vector<SkinPost>;

TEST_F(SkinMouseRules, PressAndReleaseOnAnUpButtonPostsOnlyTheRelease) {
  auto down = Do(SkinMouseEvent::Down, 300 - 44, 200 - 30);
  EXPECT_EQ(down.posts, Posts{});
  EXPECT_TRUE(down.drawButtons);
  EXPECT_EQ(down.pressedId, ID_BTN_OPENLIST);
  auto up = Do(SkinMouseEvent::Up, 300 - 40, 200 - 25);
  EXPECT_EQ(up.posts, (Posts{{ID_BTN_OPENLIST, SKIN_MOUSE_UP}}));
  EXPECT_EQ(up.pressedId, kNoRegion);
}

TEST_F(SkinMouseRules, ReleaseOnEmptySkinPostsNothingOnAnotherButtonPostsThatOne) {
  auto off = Do(SkinMouseEvent::Move, 150, 100, true);
  EXPECT_EQ(off.posts, Posts{});
  EXPECT_TRUE(off.drawButtons);
  EXPECT_EQ(off.pressedId, kNoRegion);  // shown released again
  EXPECT_EQ(Do(SkinMouseEvent::Up, 150, 100).posts, Posts{});
  EXPECT_EQ(Do(SkinMouseEvent::Up, 12, 200 - 30).posts, (Posts{{ID_BTN_ADD, SKIN_MOUSE_UP}}));
}

TEST_F(SkinMouseRules, TitleStripStartsAMoveUnlessAButtonIsHit) {
  EXPECT_EQ(Do(SkinMouseEvent::Down, 100, 5).posts, (Posts{{WM_SKIN_MOVEDRAG, SKIN_MOUSE_DOWN}}));
  EXPECT_EQ(Do(SkinMouseEvent::Down, 100, 20).posts, Posts{});  // below the strip
  auto dot = Do(SkinMouseEvent::Down, 300 - 12, 5);
  EXPECT_EQ(dot.posts, Posts{});
  EXPECT_EQ(dot.pressedId, ID_SKIN_CLOSE);
}

TEST_F(SkinMouseRules, RegionsAndNotifyMasks) {
  EXPECT_EQ(Do(SkinMouseEvent::Down, 290, 190).posts, (Posts{{WM_SKIN_RESIZEDRAG, SKIN_MOUSE_DOWN}}));
  EXPECT_EQ(Do(SkinMouseEvent::Down, 55, 55).posts, (Posts{{0x500, SKIN_MOUSE_DOWN}}));
  EXPECT_EQ(Do(SkinMouseEvent::Down, 75, 55).posts, (Posts{{0x501, SKIN_MOUSE_DOWN}}));
  EXPECT_EQ(Do(SkinMouseEvent::Up, 75, 55).posts, Posts{});  // no SKB_NOTIFY_UP
  EXPECT_EQ(Do(SkinMouseEvent::Move, 75, 55).posts, (Posts{{0x501, SKIN_MOUSE_MOVE}}));
  EXPECT_EQ(Do(SkinMouseEvent::Move, 75, 55, true).posts, (Posts{{0x501, SKIN_MOUSE_MOVE | 1}}));
  EXPECT_EQ(Do(SkinMouseEvent::Move, 55, 55, true).posts, (Posts{{0x500, SKIN_MOUSE_MOVE | 1}}));
  EXPECT_EQ(Do(SkinMouseEvent::Move, 300 - 44, 200 - 30).posts, Posts{});  // UP only: no hover
  EXPECT_EQ(Do(SkinMouseEvent::Move, 290, 190).cursor, SkinCursor::SizeNWSE);
  EXPECT_EQ(Do(SkinMouseEvent::Move, 150, 100).cursor, SkinCursor::Arrow);
}

TEST_F(SkinMouseRules, DragsTakeEveryMouseMessage) {
  auto m = Do(SkinMouseEvent::Move, 300 - 44, 200 - 30, true, true);
  EXPECT_EQ(m.posts, (Posts{{WM_SKIN_RESIZEDRAG, SKIN_MOUSE_MOVE | 1}}));
  EXPECT_FALSE(m.drawButtons);
  EXPECT_EQ(Do(SkinMouseEvent::Up, 75, 55, false, true).posts,
            (Posts{{WM_SKIN_RESIZEDRAG, SKIN_MOUSE_UP}}));
  EXPECT_EQ(Do(SkinMouseEvent::Move, 75, 55, false, false, true).posts,
            (Posts{{WM_SKIN_MOVEDRAG, SKIN_MOUSE_MOVE}}));
  EXPECT_EQ(Do(SkinMouseEvent::Up, 75, 55, false, false, true).posts,
            (Posts{{WM_SKIN_MOVEDRAG, SKIN_MOUSE_UP}}));
}

TEST(SkinLayoutTables, SeekStripSpansTheWidthBetweenTheEdges) {
  auto sizes = [](uint32_t id) {
    switch (id) {
      case FP_EDGE_LEFT: case FP_EDGE_RIGHT: return SkinSize{12, 29};
      case FP_BOTTOM_LEFT: return SkinSize{124, 38};
      default: return SkinSize{};
    }
  };
  SkinButton seek = MainSeekStrip({0, 0, 300, 200}, sizes);
  EXPECT_EQ(seek.normal, (SkinRect{0, 0, 276, 5}));
  EXPECT_EQ(seek.anchor, ANCHOR_BOTTOM_LEFT);
  EXPECT_EQ(seek.x, 12);
  EXPECT_EQ(seek.y, -36);
  EXPECT_TRUE(seek.state & SKB_HIDDEN);
  // Every face of the layout lies inside the skin picture.
  for (const auto* list : {&MainWindowButtons(), &VideoWindowButtons()}) {
    for (const SkinButton& b : *list) {
      for (const SkinRect& r : {b.normal, b.pressed}) {
        EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= kSkinPictureWidth &&
                    r.bottom <= kSkinPictureHeight && !r.IsEmpty())
            << std::hex << b.id;
      }
    }
  }
}

}  // namespace
}  // namespace velk
