// The playlist view's arithmetic: fitting texts, drop points, the background
// picture under the rows and the playing mark during a drag.
#include <gtest/gtest.h>

#include <array>
#include <tuple>

#include "player/playlist/PlayListViewMath.h"

namespace velk {
namespace {

TEST(PlayListViewMath, FitTextKeepsWhatFitsAndCutsTheRestBetweenCharacters) {
  // Every unit 10 pixels wide, "..." 30; "~" continues the character before
  // it, as a UTF-8 trail byte or a low surrogate does.
  struct Case {
    std::string text;
    int width;
    const char* shown;
  };
  const Case cases[] = {
      {"", 0, ""},
      {"abcd", 41, "abcd"},               // 40 + margin 1 fits exactly
      {"abcd", 40, "a..."},               // nothing fits beside "...": one character stays
      {"abcdefghij", 72, "abcd..."},      // 40 + 30 + 1 <= 72
      {"abcdefghij", 99, "abcdef..."},
      {"a", 5, "a..."},
      {"a~~b~~c~~", 72, "a~~..."},        // four units fit, the cut goes back to a character's end
      {"a~~b~~c~~d", 100, "a~~b~~..."},
      {"a~~b~~c~~", 20, "a~~..."},        // the first character stays whole
  };
  for (const Case& c : cases) {
    const auto tenEach = [](size_t n) { return static_cast<int>(n) * 10; };
    const auto between = [&c](size_t n) { return n >= c.text.size() || c.text[n] != '~'; };
    const FittedText fit = FitText(c.text.size(), c.width, 1, tenEach, 30, between);
    EXPECT_EQ(c.text.substr(0, fit.kept) + (fit.dots ? "..." : ""), c.shown) << c.text << " in " << c.width;
  }
}

TEST(PlayListViewMath, InsertIndexIsTheRowUnderThePointOrTheEnd) {
  // count, top of row 0, row height, y -> index
  const std::tuple<int32_t, int32_t, int32_t, int32_t, int32_t> cases[] = {
      {0, 0, 16, 50, 0},   {10, 0, 16, -5, 0},  {10, 0, 16, 0, 0},    {10, 0, 16, 15, 0},
      {10, 0, 16, 16, 1},  {10, 0, 16, 159, 9}, {10, 0, 16, 160, 10}, {10, 0, 16, 900, 10},
      {10, -32, 16, 0, 2},  // scrolled down two rows
      {100000, -1599984, 16, 10, 99999}, {100000, -1599984, 16, 16, 100000},
  };
  for (const auto& [count, top, height, y, index] : cases) {
    EXPECT_EQ(InsertIndexAt(count, top, height, y), index) << count << " rows, y " << y;
  }
}

std::vector<std::array<int32_t, 8>> Flat(const std::vector<PictureCopy>& copies) {
  std::vector<std::array<int32_t, 8>> out;
  for (const PictureCopy& c : copies) {
    out.push_back({c.target.left, c.target.top, c.target.right, c.target.bottom, c.source.left, c.source.top,
                   c.source.right, c.source.bottom});
  }
  return out;
}

TEST(PlayListViewMath, PictureRowsFollowTheRowsAndSplitWhereThePictureRepeats) {
  // A picture 50 x 100 under rows 16 high in a view 120 wide.
  using Copies = std::vector<std::array<int32_t, 8>>;
  // Row 7 needs picture rows 12..27 (7 x 16 = 112 -> 12): one band, tiled across.
  EXPECT_EQ(Flat(RowPicture(7, 16, {0, 112, 120, 128}, 50, 100)),
            (Copies{{0, 112, 50, 128, 0, 12, 50, 28},
                    {50, 112, 100, 128, 0, 12, 50, 28},
                    {100, 112, 120, 128, 0, 12, 20, 28}}));
  // Row 6 starts at picture row 96: its last 4 rows, then rows 0..11.
  EXPECT_EQ(Flat(RowPicture(6, 16, {0, 96, 50, 112}, 50, 100)),
            (Copies{{0, 96, 50, 100, 0, 96, 50, 100}, {0, 100, 50, 112, 0, 0, 50, 12}}));
  // Below the last of 10 rows (160 -> 60), down to 250: 40 rows, then the
  // whole picture again, then its top 10 rows.
  EXPECT_EQ(Flat(RowPicture(10, 16, {0, 160, 50, 410}, 50, 100)),
            (Copies{{0, 160, 50, 200, 0, 60, 50, 100},
                    {0, 200, 50, 300, 0, 0, 50, 100},
                    {0, 300, 50, 400, 0, 0, 50, 100},
                    {0, 400, 50, 410, 0, 0, 50, 10}}));
  EXPECT_TRUE(RowPicture(3, 16, {0, 48, 50, 64}, 50, 0).empty());
  EXPECT_TRUE(TilePicture({0, 0, 100, 100}, {0, 0, 0, 10}).empty());
}

TEST(PlayListViewMath, PlayingMarkFollowsADraggedRow) {
  // playing, from, to -> playing afterwards
  const std::tuple<int32_t, int32_t, int32_t, int32_t> cases[] = {
      {3, 5, 2, 4},  {5, 5, 2, 2}, {2, 5, 2, 3}, {1, 5, 2, 1}, {6, 5, 2, 6},
      {3, 2, 5, 2},  {2, 2, 5, 5}, {5, 2, 5, 4}, {4, 4, 4, 4}, {-1, 5, 2, -1},
  };
  for (const auto& [playing, from, to, after] : cases) {
    EXPECT_EQ(PlayingAfterMove(playing, from, to), after) << playing << ": " << from << " -> " << to;
  }
  // Step by step or in one jump, the mark lands on the same row.
  int32_t stepwise = 3;
  for (int32_t at = 5; at > 2; --at) stepwise = PlayingAfterMove(stepwise, at, at - 1);
  EXPECT_EQ(stepwise, PlayingAfterMove(3, 5, 2));
}

}  // namespace
}  // namespace velk
