// Placement correction, snapping, carrying and pushing, and the skin commands.
#include <gtest/gtest.h>

#include "player/skin/SkinCatalog.h"
#include "player/skin/SkinDocking.h"
#include "player/skin/SkinPlacement.h"

namespace velk {
namespace {

TEST(SkinPlacement, AStoredPlaceComesBackUsableAndOnAMonitor) {
  const std::vector<SkinRect> one{{0, 0, 1280, 1024}};
  const std::vector<SkinRect> two{{0, 0, 1280, 1024}, {-1280, 0, 0, 1024}};  // a monitor on the left
  struct Row {
    SkinRect stored;
    const std::vector<SkinRect>* monitors;
    SkinRect want;
  } rows[] = {
      {{0, 0, 300, 300}, &one, {0, 0, 300, 300}},              // first start defaults
      {{-1000, 10, -700, 310}, &one, {0, 10, 300, 310}},       // closed on a monitor now gone
      {{-1000, 10, -700, 310}, &two, {-1000, 10, -700, 310}},  // that monitor is there: kept
      {{-290, 100, 10, 400}, &one, {0, 100, 300, 400}},        // dragged by its title's right end
      {{100, 0, 1500, 300}, &one, {100, 0, 400, 300}},         // wider than the screen
      {{1280, 0, 1580, 300}, &one, {980, 0, 1280, 300}},       // starts exactly at the screen's width
      {{50, 50, 50, 350}, &one, {50, 50, 350, 350}},           // left = right
      {{400, 50, 100, 350}, &one, {400, 50, 700, 350}},        // inverted
      {{0, 0, 0, 0}, &one, {0, 0, 300, 300}},                  // what a lost window used to store
      {{10, 10, 100, 20}, &one, {10, 10, 310, 310}},           // below the minimum
      {{10, -15, 310, 285}, &one, {10, 0, 310, 300}},          // title above the screen
      {{10, 1010, 310, 1310}, &one, {10, 724, 310, 1024}},     // title cut at the bottom
      {{1250, 500, 1550, 800}, &one, {980, 500, 1280, 800}},   // 30 px of title: too little to grab
  };
  for (const Row& r : rows) {
    EXPECT_EQ(CorrectPlacement(r.stored, *r.monitors, {200, 28}, 20), r.want)
        << r.stored.left << "," << r.stored.top << "," << r.stored.right << "," << r.stored.bottom;
  }
}

TEST(SkinPlacement, OnlyPartsThatFitTheScreenAreWritten) {
  const SkinRect one{0, 0, 1280, 1024}, two{0, 0, 2560, 1024};
  auto p = PlacementToSave({10, 10, 310, 310}, one);
  EXPECT_TRUE(p.horizontal && p.vertical);
  p = PlacementToSave({0, 10, 1300, 310}, one);  // wider than the screen
  EXPECT_FALSE(p.horizontal);
  EXPECT_TRUE(p.vertical);
  p = PlacementToSave({1290, 1030, 1400, 1100}, one);  // off the screen
  EXPECT_FALSE(p.horizontal || p.vertical);
  p = PlacementToSave({1400, 10, 1700, 310}, two);  // on a second monitor right of the first
  EXPECT_TRUE(p.horizontal && p.vertical);
  p = PlacementToSave({-400, 10, -100, 310}, {-1280, 0, 1280, 1024});  // on one left of the primary
  EXPECT_TRUE(p.horizontal);
}

TEST(SkinPlacement, AWindowBesideItsPartnerNeverCoversThePartnersTitle) {
  const SkinRect screen{0, 0, 1280, 1024};
  const SkinRect main{100, 100, 400, 400}, title{100, 100, 400, 120};
  struct Row {
    SkinRect window;
    bool stored;
    SkinRect partner, partnerTitle, want;
  } rows[] = {
      {{0, 0, 300, 300}, false, main, title, {400, 100, 700, 400}},        // first start: right of it
      {{0, 0, 300, 300}, true, main, title, {400, 100, 700, 400}},         // stored over the title bar
      {{500, 500, 800, 800}, true, main, title, {500, 500, 800, 800}},     // a place of the user's own
      {{150, 200, 450, 500}, true, main, title, {150, 200, 450, 500}},     // over the body only: kept
      {{0, 0, 400, 300}, false, {900, 100, 1200, 400}, {900, 100, 1200, 120},
       {500, 100, 900, 400}},                                               // too wide below: left
      {{0, 0, 300, 300}, false, {900, 100, 1200, 400}, {900, 100, 1200, 120},
       {900, 400, 1200, 700}},                                              // no room right: below
      {{0, 0, 300, 300}, false, {900, 800, 1200, 1000}, {900, 800, 1200, 820},
       {900, 500, 1200, 800}},                                              // nor below or left: above
      {{0, 0, 1300, 1100}, false, main, title, {0, 0, 1300, 1100}},        // fits nowhere: pushed on
  };
  for (const Row& r : rows) {
    const SkinRect got = PlaceBesidePartner(r.window, r.stored, r.partner, r.partnerTitle, screen);
    EXPECT_EQ(got, r.want) << r.window.left << "," << r.window.top;
    EXPECT_EQ(got.Width(), r.window.Width());
    EXPECT_FALSE(got.Intersects(r.partnerTitle) && got.Width() <= screen.Width());
  }
}

DockPartner P(SkinRect r, bool owner = false) { return {r, true, owner}; }

TEST(SkinDocking, NearnessIsTenPixelsOnEverySide) {
  const SkinRect s{100, 100, 200, 200};
  EXPECT_TRUE(IsNear({209, 100, 300, 200}, s));
  EXPECT_FALSE(IsNear({210, 100, 300, 200}, s));
  EXPECT_TRUE(IsNear({0, 0, 91, 91}, s));
  EXPECT_FALSE(IsNear({0, 0, 90, 300}, s));
}

TEST(SkinDocking, SnapWithinNinePixelsNotAtTen) {
  const std::vector<DockPartner> partner = {P({0, 0, 300, 200})};
  struct Row {
    SkinRect wanted, want;
  } rows[] = {
      {{309, 50, 409, 150}, {300, 50, 400, 150}},   // left onto the partner's right, 9 away
      {{310, 50, 410, 150}, {310, 50, 410, 150}},   // 10 away: nothing
      {{291, 50, 391, 150}, {300, 50, 400, 150}},   // overlapping by 9
      {{-105, 50, -5, 150}, {-100, 50, 0, 150}},    // right onto the partner's left
      {{5, 206, 105, 306}, {0, 200, 100, 300}},     // both axes: left onto left, top onto bottom
      {{300, 50, 400, 150}, {300, 50, 400, 150}},   // already touching: no further snap
      {{300, 195, 400, 295}, {300, 200, 400, 300}}, // touching horizontally, top still pulls
  };
  for (const Row& r : rows) EXPECT_EQ(SnapRect(r.wanted, partner), r.want) << r.wanted.left;
}

TEST(SkinDocking, FirstPartnerThatSnapsWinsAndWindowlessOnesAreSkipped) {
  const SkinRect wanted{305, 0, 405, 100};
  std::vector<DockPartner> partners = {P({0, 0, 300, 100}), P({0, 0, 310, 100})};
  EXPECT_EQ(SnapRect(wanted, partners).left, 300);
  partners[0].hasWindow = false;
  EXPECT_EQ(SnapRect(wanted, partners).left, 310);
  // A far partner first does not stop a near one from snapping.
  partners = {P({900, 900, 1000, 1000}), P({0, 0, 310, 100})};
  EXPECT_EQ(SnapRect(wanted, partners).left, 310);
}

TEST(SkinDocking, MoveCarriesTouchingPartnersButNeverTheOwner) {
  const SkinRect s{0, 0, 300, 200};
  EXPECT_TRUE(IsCarried(s, P({300, 0, 500, 100})));    // on the right edge
  EXPECT_TRUE(IsCarried(s, P({0, 200, 300, 400})));    // below
  EXPECT_TRUE(IsCarried(s, P({-200, 0, 0, 100})));     // on the left edge
  EXPECT_FALSE(IsCarried(s, P({305, 50, 500, 100})));  // near but not touching
  EXPECT_FALSE(IsCarried(s, P({300, 0, 500, 100}, true)));
  EXPECT_FALSE(IsCarried(s, P({0, 900, 300, 1000})));  // shares a left edge but far away
  DockPartner gone = P({300, 0, 500, 100});
  gone.hasWindow = false;
  EXPECT_FALSE(IsCarried(s, gone));
}

TEST(SkinDocking, ResizePushesOnlyPartnersOnTheRightAndBottomEdges) {
  const SkinRect s{0, 0, 300, 200};
  EXPECT_EQ(PushOffset(s, P({300, 0, 500, 100}), 40, 10), (SkinPoint{40, 0}));
  EXPECT_EQ(PushOffset(s, P({0, 200, 300, 300}), 40, 10), (SkinPoint{0, 10}));
  EXPECT_EQ(PushOffset(s, P({300, 200, 400, 300}), 40, 10), (SkinPoint{40, 10}));
  EXPECT_EQ(PushOffset(s, P({-200, 0, 0, 100}), 40, 10), (SkinPoint{0, 0}));  // left edge only
  EXPECT_EQ(PushOffset(s, P({300, 0, 500, 100}, true), -5, 0), (SkinPoint{-5, 0}));  // owner too
}

TEST(SkinCatalog, CommandsChooseListPositionsOrTheBaseSkin) {
  struct Row {
    uint32_t id;
    size_t count;
    int32_t want;
  } rows[] = {
      {6000, 3, -1}, {6001, 3, 0}, {6003, 3, 2}, {6004, 3, -1},
      {6001, 0, -1},  // an empty list: never an index
      {7000, 5000, 999}, {7001, 5000, -1}, {5999, 3, -1},
  };
  for (const Row& r : rows) EXPECT_EQ(SkinIndexOfCommand(r.id, r.count), r.want) << r.id;
}

TEST(SkinCatalog, CurrentSkinIsCheckedRegardlessOfCase) {
  const std::string dir = SkinsDir("C:\\Velk");
  EXPECT_EQ(dir, "C:\\Velk\\Skins\\");
  const std::vector<std::string> names = {"a.bmp", "c.bmp", "b.jpg"};
  EXPECT_EQ(CheckedSkinIndex(names, dir, "c:\\velk\\skins\\C.BMP"), 1);
  EXPECT_EQ(CheckedSkinIndex(names, dir, "C:\\Other\\a.bmp"), -1);
  EXPECT_EQ(CheckedSkinIndex(names, dir, ""), -1);
}

TEST(SkinCatalog, OnlyFilesWithACommandIdCanBeChecked) {
  const std::string dir = SkinsDir("C:\\Velk");
  std::vector<std::string> names;
  for (int i = 0; i < 1002; ++i) names.push_back("s" + std::to_string(i) + ".bmp");
  EXPECT_EQ(CheckedSkinIndex(names, dir, dir + "s999.bmp"), 999);   // id 7000
  EXPECT_EQ(CheckedSkinIndex(names, dir, dir + "s1000.bmp"), -1);   // would be 7001
}

}  // namespace
}  // namespace velk
