// Frame plans and the sizes derived from the frame pieces.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "player/skin/SkinGeometry.h"
#include "player/skin/SkinLayout.h"

namespace velk {
namespace {

PieceSizeFn SizesOf(const FramePieceTable& table) {
  std::map<uint32_t, SkinSize> sizes;
  for (size_t i = 0; i < kFramePieceCount; ++i) {
    sizes[kFramePieceIds[i]] = {table[i].Width(), table[i].Height()};
  }
  return [sizes](uint32_t id) {
    auto it = sizes.find(id);
    return it == sizes.end() ? SkinSize{} : it->second;
  };
}

std::vector<PieceDraw> Bar(const SkinRect& rc, bool centre = true) {
  std::vector<PieceDraw> out;
  PlanHorizontalBar(out, rc, FP_TITLE_LEFT, FP_TITLE_RIGHT, FP_TITLE_FILL,
                    centre ? FP_TITLE_CENTER : kNoPiece, SizesOf(kMainFrameTable));
  return out;
}

TEST(FramePlan, SmallestTitleBarHasWholeTilesCentreAndRightEnd) {
  // 25 + 25 + 100 + 2 * 25: the narrowest window; the 150 pixels between the
  // ends are exactly six tiles, with the centre piece painted over them.
  auto plan = Bar({0, 0, 200, 20});
  std::vector<PieceDraw> want = {{FP_TITLE_LEFT, 0, 0, -1}};
  for (int i = 0; i < 6; ++i) want.push_back({FP_TITLE_FILL, 25 + 25 * i, 0, -1});
  want.push_back({FP_TITLE_CENTER, 50, 0, -1});
  want.push_back({FP_TITLE_RIGHT, 175, 0, -1});
  EXPECT_EQ(plan, want);
}

TEST(FramePlan, RemainderShowsTheFirstColumnsOfTheFill) {
  for (int k : {1, 7, 24}) {
    SCOPED_TRACE(k);
    auto plan = Bar({10, 5, 210 + k, 25}, false);
    ASSERT_EQ(plan.size(), 9u);  // left, 6 tiles, cut tile, right
    EXPECT_EQ(plan[7], (PieceDraw{FP_TITLE_FILL, 10 + 25 + 6 * 25, 5, k}));
    EXPECT_EQ(plan[8], (PieceDraw{FP_TITLE_RIGHT, 210 + k - 25, 5, -1}));
  }
}

TEST(FramePlan, BarNarrowerThanItsEndsDrawsNoTile) {
  // (40 − 50) / 25 truncates to 0 and the negative remainder draws nothing.
  auto plan = Bar({0, 0, 40, 20}, false);
  EXPECT_EQ(plan, (std::vector<PieceDraw>{{FP_TITLE_LEFT, 0, 0, -1}, {FP_TITLE_RIGHT, 15, 0, -1}}));
}

TEST(FramePlan, CentrePositionTruncatesTowardsZero) {
  auto plan = Bar({-101, 0, 100, 20});  // (−101 − 100 + 100) / 2 = −50 (not −51)
  auto it = std::find_if(plan.begin(), plan.end(), [](auto& d) { return d.id == FP_TITLE_CENTER; });
  ASSERT_NE(it, plan.end());
  EXPECT_EQ(it->x, -50);
}

TEST(FramePlan, EdgeRowsCoverTheAreaAndTheBottomBarComesLast) {
  // Client 300 wide, 20 + 30 + 38 high: a 30-pixel edge area with 29-pixel edges.
  auto plan = PlanFrame({0, 0, 300, 88}, true, SizesOf(kMainFrameTable));
  std::vector<PieceDraw> edges;
  size_t lastEdge = 0, firstBottom = plan.size();
  for (size_t i = 0; i < plan.size(); ++i) {
    if (plan[i].id == FP_EDGE_LEFT || plan[i].id == FP_EDGE_RIGHT) {
      edges.push_back(plan[i]);
      lastEdge = i;
    }
    if (plan[i].id == FP_BOTTOM_LEFT && firstBottom == plan.size()) firstBottom = i;
  }
  EXPECT_EQ(edges, (std::vector<PieceDraw>{{FP_EDGE_LEFT, 0, 20, -1},
                                           {FP_EDGE_RIGHT, 288, 20, -1},
                                           {FP_EDGE_LEFT, 0, 49, -1},
                                           {FP_EDGE_RIGHT, 288, 49, -1}}));
  EXPECT_LT(lastEdge, firstBottom);
  EXPECT_EQ(plan[firstBottom].y, 50);
}

TEST(FramePlan, InactiveWindowUsesInactiveTitlePiecesAtTheActiveHeight) {
  auto sizes = SizesOf(kMainFrameTable);
  auto plan = PlanFrame({0, 0, 300, 100}, false, sizes);
  for (const auto& d : plan) {
    EXPECT_TRUE(d.id != FP_TITLE_LEFT && d.id != FP_TITLE_FILL && d.id != FP_TITLE_CENTER &&
                d.id != FP_TITLE_RIGHT);
  }
  EXPECT_EQ(plan.front(), (PieceDraw{FP_TITLE_LEFT_INACTIVE, 0, 0, -1}));
}

TEST(FramePlan, MissingPiecesDrawNoRows) {
  auto none = [](uint32_t) { return SkinSize{}; };
  std::vector<PieceDraw> out;
  PlanVerticalEdges(out, {0, 0, 100, 100}, FP_EDGE_LEFT, FP_EDGE_RIGHT, none);
  EXPECT_TRUE(out.empty());
  PlanHorizontalBar(out, {0, 0, 100, 20}, FP_BOTTOM_LEFT, FP_BOTTOM_RIGHT, FP_BOTTOM_FILL, kNoPiece,
                    none);
  EXPECT_EQ(out.size(), 3u);  // ends and one cut tile of nothing: no endless tiling
}

TEST(FrameSizes, MinimumTrackSizeAndInnerRectOfBothWindows) {
  auto main = SizesOf(kMainFrameTable);
  auto video = SizesOf(kVideoFrameTable);
  EXPECT_EQ(MinimumTrackSize(main), (SkinSize{200, 58}));
  EXPECT_EQ(MinimumTrackSize(video), (SkinSize{200, 28}));
  EXPECT_EQ(InnerRect({0, 0, 300, 300}, main), (SkinRect{12, 20, 288, 262}));
  EXPECT_EQ(InnerRect({0, 0, 300, 300}, video), (SkinRect{12, 20, 288, 292}));
  EXPECT_EQ(TitleStrip({0, 0, 300, 300}, main), (SkinRect{0, 0, 300, 20}));
}

}  // namespace
}  // namespace velk
