#include "tests/support/FakePlayListView.h"

#include <algorithm>

namespace velk::testing {

std::vector<int32_t> CFakePlayListView::SelectedRows() const {
  std::vector<int32_t> selected;
  for (size_t i = 0; i < rows.size(); ++i) {
    if (rows[i].selected) selected.push_back(static_cast<int32_t>(i));
  }
  return selected;
}

void CFakePlayListView::InsertRows(int32_t index, std::vector<std::string> texts) {
  auto at = rows.insert(rows.begin() + index, texts.size(), Row());
  for (std::string& t : texts) (at++)->text = std::move(t);
}

void CFakePlayListView::RemoveRows(const std::vector<int32_t>& ascendingRows) {
  size_t out = 0;
  size_t next = 0;
  for (size_t i = 0; i < rows.size(); ++i) {
    if (next < ascendingRows.size() && static_cast<size_t>(ascendingRows[next]) == i) {
      ++next;
      continue;
    }
    if (out != i) rows[out] = std::move(rows[i]);
    ++out;
  }
  rows.resize(out);
}

void CFakePlayListView::PermuteRowTexts(const std::vector<int32_t>& sources) {
  // Texts move along the cycles of the permutation; selected states stay put.
  std::vector<bool> placed(rows.size(), false);
  for (size_t start = 0; start < rows.size(); ++start) {
    if (placed[start]) continue;
    std::string held = std::move(rows[start].text);
    size_t pos = start;
    for (;;) {
      placed[pos] = true;
      auto from = static_cast<size_t>(sources.at(pos));
      if (from == start) {
        rows[pos].text = std::move(held);
        break;
      }
      rows[pos].text = std::move(rows.at(from).text);
      pos = from;
    }
  }
}

void CFakePlayListView::RedrawRows(int32_t a, int32_t b) {
  for (int32_t r : {a, b}) {
    if (r >= 0 && r < RowCount()) redrawn.push_back(r);
  }
}

void CFakePlayListView::Select(std::initializer_list<int32_t> selected) {
  for (Row& r : rows) r.selected = false;
  for (int32_t i : selected) rows.at(static_cast<size_t>(i)).selected = true;
}

void CFakePlayListView::SelectWhere(const std::vector<bool>& selected) {
  for (size_t i = 0; i < rows.size() && i < selected.size(); ++i) rows[i].selected = selected[i];
}

std::vector<std::string> CFakePlayListView::Texts() const {
  std::vector<std::string> texts;
  for (const Row& r : rows) texts.push_back(r.text);
  return texts;
}

void CFakePlayListView::DragRow(int32_t from, int32_t to) {
  if (from == playingIndex) {
    playingIndex = to;
  } else if (to <= playingIndex && playingIndex < from) {
    ++playingIndex;
  } else if (from < playingIndex && playingIndex <= to) {
    --playingIndex;
  }
  std::string text = rows.at(static_cast<size_t>(from)).text;
  if (from < to) {
    for (int32_t i = from; i < to; ++i) rows[static_cast<size_t>(i)].text = rows[static_cast<size_t>(i) + 1].text;
  } else {
    for (int32_t i = from; i > to; --i) rows[static_cast<size_t>(i)].text = rows[static_cast<size_t>(i) - 1].text;
  }
  rows.at(static_cast<size_t>(to)).text = text;
}

}  // namespace velk::testing
