// The playlist view's selection as clicks, keys and changing rows move it.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "player/playlist/RowSelection.h"

namespace velk {
namespace {

using Rows = std::vector<int32_t>;

TEST(RowSelection, ClicksKeysAndChangingRows) {
  CRowSelection s;
  s.Insert(0, 10);
  struct Step {
    const char* what;
    std::function<void()> act;
    Rows selected;
    int32_t focus;
  };
  const Step steps[] = {
      {"click", [&] { s.Click(3, false, false); }, {3}, 3},
      {"shift-click extends from the anchor", [&] { s.Click(6, false, true); }, {3, 4, 5, 6}, 6},
      {"ctrl-click adds and moves the anchor", [&] { s.Click(1, true, false); }, {1, 3, 4, 5, 6}, 1},
      {"shift-click from the new anchor", [&] { s.Click(2, false, true); }, {1, 2}, 2},
      {"shift-down", [&] { s.Key(RowKey::Down, false, true, 4); }, {1, 2, 3}, 3},
      {"end", [&] { s.Key(RowKey::End, false, false, 4); }, {9}, 9},
      {"page up by a page less one", [&] { s.Key(RowKey::PageUp, false, false, 4); }, {6}, 6},
      {"ctrl-up moves only the focus", [&] { s.Key(RowKey::Up, true, false, 4); }, {6}, 5},
      {"up stops at the top", [&] { s.Key(RowKey::Home, false, false, 4), s.Key(RowKey::Up, false, false, 4); }, {0}, 0},
      {"rows inserted in front", [&] { s.Click(6, false, false), s.Insert(2, 3); }, {9}, 9},
      {"rows inserted behind", [&] { s.Insert(10, 2); }, {9}, 9},
      {"rows removed in front and the row itself", [&] { s.Set(12, true), s.Remove({0, 9, 11}); }, {9}, 8},
      {"click below the rows", [&] { s.Click(-1, false, false); }, {}, 8},
      {"range clipped to the rows", [&] { s.SelectRange(-5, 1), s.SelectRange(11, 50); }, {0, 1, 11}, 8},
      {"invert", [&] { s.Invert(); }, {2, 3, 4, 5, 6, 7, 8, 9, 10}, 8},
      {"focus removed at the end", [&] { s.Click(11, false, false), s.Remove({10, 11}); }, {}, 9},
      {"ctrl+space toggles the focus row", [&] { s.ToggleFocus(); }, {9}, 9},
      {"ctrl+space again", [&] { s.ToggleFocus(); }, {}, 9},
      {"ctrl+shift-click adds anchor..row to what is selected",
       [&] { s.Click(2, false, false), s.Click(7, true, false), s.Click(5, true, true); }, {2, 5, 6, 7}, 5},
      {"a dragged row takes its state and the focus along", [&] { s.Move(5, 0); }, {0, 3, 6, 7}, 0},
      {"and the anchor", [&] { s.Click(4, false, false), s.Move(4, 8), s.Click(9, false, true); }, {8, 9}, 9},
  };
  for (const Step& step : steps) {
    step.act();
    EXPECT_EQ(s.SelectedRows(), step.selected) << step.what;
    EXPECT_EQ(s.Focus(), step.focus) << step.what;
  }
  EXPECT_EQ(s.Count(), 10);
  s.Clear();
  EXPECT_EQ(s.Key(RowKey::Down, false, false, 4), -1);
}

}  // namespace
}  // namespace velk
