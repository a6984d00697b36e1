#include "player/playlist/RowSelection.h"

#include <algorithm>

namespace velk {

bool CRowSelection::IsSelected(int32_t row) const {
  return row >= 0 && row < Count() && selected_[static_cast<size_t>(row)] != 0;
}

std::vector<int32_t> CRowSelection::SelectedRows() const {
  std::vector<int32_t> rows;
  for (size_t i = 0; i < selected_.size(); ++i) {
    if (selected_[i]) rows.push_back(static_cast<int32_t>(i));
  }
  return rows;
}

void CRowSelection::Insert(int32_t index, int32_t count) {
  if (count <= 0) return;
  index = std::clamp(index, 0, Count());
  selected_.insert(selected_.begin() + index, static_cast<size_t>(count), 0);
  if (focus_ >= index) focus_ += count;
  if (anchor_ >= index) anchor_ += count;
}

void CRowSelection::Remove(const std::vector<int32_t>& ascendingRows) {
  // Each row moves up by the number of rows removed in front of it; a removed
  // focus or anchor goes to the row that takes its place.
  auto shifted = [&ascendingRows](int32_t row) {
    const auto before = std::lower_bound(ascendingRows.begin(), ascendingRows.end(), row);
    return row - static_cast<int32_t>(before - ascendingRows.begin());
  };
  const int32_t newFocus = focus_ >= 0 ? shifted(focus_) : -1;
  const int32_t newAnchor = anchor_ >= 0 ? shifted(anchor_) : -1;
  size_t out = 0, next = 0;
  for (size_t i = 0; i < selected_.size(); ++i) {
    if (next < ascendingRows.size() && static_cast<size_t>(ascendingRows[next]) == i) {
      ++next;
      continue;
    }
    selected_[out++] = selected_[i];
  }
  selected_.resize(out);
  focus_ = std::min(newFocus, Count() - 1);
  anchor_ = std::min(newAnchor, Count() - 1);
}

void CRowSelection::Clear() {
  selected_.clear();
  focus_ = anchor_ = -1;
}

void CRowSelection::Set(int32_t row, bool selected) {
  if (row >= 0 && row < Count()) selected_[static_cast<size_t>(row)] = selected ? 1 : 0;
}

void CRowSelection::SelectRange(int32_t first, int32_t last) {
  const int32_t low = std::max(std::min(first, last), 0);
  const int32_t high = std::min(std::max(first, last), Count() - 1);
  if (low > high) return;
  std::fill(selected_.begin() + low, selected_.begin() + high + 1, 1);
}

void CRowSelection::SelectNone() { std::fill(selected_.begin(), selected_.end(), 0); }

void CRowSelection::Invert() {
  for (uint8_t& s : selected_) s = s ? 0 : 1;
}

void CRowSelection::ExtendTo(int32_t row) {
  if (anchor_ < 0 || anchor_ >= Count()) anchor_ = row;
  SelectNone();
  SelectRange(anchor_, row);
}

void CRowSelection::Click(int32_t row, bool ctrl, bool shift) {
  if (row < 0 || row >= Count()) {
    if (!ctrl && !shift) SelectNone();
    return;
  }
  if (shift && ctrl) {
    if (anchor_ < 0 || anchor_ >= Count()) anchor_ = row;
    SelectRange(anchor_, row);
  } else if (shift) {
    ExtendTo(row);
  } else if (ctrl) {
    Set(row, !IsSelected(row));
    anchor_ = row;
  } else {
    SelectNone();
    Set(row, true);
    anchor_ = row;
  }
  focus_ = row;
}

void CRowSelection::ToggleFocus() {
  if (focus_ < 0 || focus_ >= Count()) return;
  Set(focus_, !IsSelected(focus_));
  anchor_ = focus_;
}

void CRowSelection::Move(int32_t from, int32_t to) {
  if (from < 0 || from >= Count() || to < 0 || to >= Count() || from == to) return;
  const auto f = selected_.begin() + from, t = selected_.begin() + to;
  if (from < to) {
    std::rotate(f, f + 1, t + 1);
  } else {
    std::rotate(t, f, f + 1);
  }
  auto follow = [from, to](int32_t row) {
    if (row == from) return to;
    if (from < to && row > from && row <= to) return row - 1;
    if (to < from && row >= to && row < from) return row + 1;
    return row;
  };
  focus_ = focus_ >= 0 ? follow(focus_) : focus_;
  anchor_ = anchor_ >= 0 ? follow(anchor_) : anchor_;
}

int32_t CRowSelection::Key(RowKey key, bool ctrl, bool shift, int32_t pageRows) {
  if (selected_.empty()) return -1;
  const int32_t from = std::clamp(focus_, 0, Count() - 1);
  const int32_t page = std::max(pageRows - 1, 1);
  int32_t to = from;
  switch (key) {
    case RowKey::Up: to = from - 1; break;
    case RowKey::Down: to = focus_ < 0 ? 0 : from + 1; break;
    case RowKey::PageUp: to = from - page; break;
    case RowKey::PageDown: to = from + page; break;
    case RowKey::Home: to = 0; break;
    case RowKey::End: to = Count() - 1; break;
  }
  to = std::clamp(to, 0, Count() - 1);
  if (shift) {
    ExtendTo(to);
  } else if (!ctrl) {
    SelectNone();
    Set(to, true);
    anchor_ = to;
  }
  focus_ = to;
  return to;
}

}  // namespace velk
