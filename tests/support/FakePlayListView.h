// A playlist view in memory: rows with their texts and selected state, the
// playing mark, the title and what was asked to be redrawn. Dragging a row moves
// texts and the playing mark the way the real view does while the mouse moves.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "player/playlist/PlayListView.h"

namespace velk::testing {

class CFakePlayListView : public IPlayListView {
 public:
  struct Row {
    std::string text;
    bool selected = false;
  };

  int32_t RowCount() const override { return static_cast<int32_t>(rows.size()); }
  std::string RowText(int32_t row) const override { return rows.at(static_cast<size_t>(row)).text; }
  void SetRowText(int32_t row, const std::string& text) override { rows.at(static_cast<size_t>(row)).text = text; }
  std::vector<int32_t> SelectedRows() const override;
  void SetSelectedRows(const std::vector<int32_t>& ascendingRows) override {
    for (Row& row : rows) row.selected = false;
    for (int32_t r : ascendingRows) rows.at(static_cast<size_t>(r)).selected = true;
  }
  void InsertRows(int32_t index, std::vector<std::string> texts) override;
  void RemoveRows(const std::vector<int32_t>& ascendingRows) override;
  void RemoveAllRows() override { rows.clear(); }
  void PermuteRowTexts(const std::vector<int32_t>& sources) override;
  int32_t PlayingIndex() const override { return playingIndex; }
  void SetPlayingIndex(int32_t row) override { playingIndex = row; }
  void RedrawRows(int32_t a, int32_t b) override;
  void RedrawAll() override { ++fullRedraws; }
  void ScrollIntoView(int32_t row) override { scrolledTo = row; }
  void SetTitle(const std::string& text) override {
    title = text;
    ++titleChanges;
  }
  void SetBackgroundImage(const std::string& path) override { background = path; }

  // Test helpers.
  void Select(std::initializer_list<int32_t> selected);
  void SelectWhere(const std::vector<bool>& selected);
  std::vector<std::string> Texts() const;
  // One whole drag from row `from` to row `to`, as the view does it.
  void DragRow(int32_t from, int32_t to);

  std::vector<Row> rows;
  int32_t playingIndex = 0;
  std::string title;
  int titleChanges = 0;
  int fullRedraws = 0;
  int32_t scrolledTo = -1;
  std::vector<int32_t> redrawn;
  std::string background;
};

}  // namespace velk::testing
