// The selected rows of the playlist view with its focus row and the anchor of
// shift-selection, kept beside the row texts so that a selection follows its
// rows when others come and go, and selecting all of 100,000 rows is one fill.
#pragma once

#include <cstdint>
#include <vector>

namespace velk {

enum class RowKey { Up, Down, PageUp, PageDown, Home, End };

class CRowSelection {
 public:
  int32_t Count() const { return static_cast<int32_t>(selected_.size()); }
  bool IsSelected(int32_t row) const;
  std::vector<int32_t> SelectedRows() const;
  int32_t Focus() const { return focus_; }

  // Rows inserted in front of `index` (not selected) or taken out.
  void Insert(int32_t index, int32_t count);
  void Remove(const std::vector<int32_t>& ascendingRows);
  void Clear();

  void Set(int32_t row, bool selected);
  // Rows first..last (either order, clipped to the rows) become selected.
  void SelectRange(int32_t first, int32_t last);
  void SelectNone();
  void Invert();

  // A left-button press on row (-1: below the rows), with the keys held:
  // Ctrl toggles the row, Shift selects anchor..row alone, both add that range.
  void Click(int32_t row, bool ctrl, bool shift);
  // Ctrl+Space: toggles the focus row, which becomes the anchor.
  void ToggleFocus();
  // A row dragged from `from` to `to` (the rows between close up): its state
  // goes along, and so do the focus and the anchor.
  void Move(int32_t from, int32_t to);
  // One byte a row, non-zero when selected.
  const std::vector<uint8_t>& Bits() const { return selected_; }
  // A navigation key; pageRows is how many rows the view shows. Returns the
  // new focus row, -1 in an empty list.
  int32_t Key(RowKey key, bool ctrl, bool shift, int32_t pageRows);

 private:
  void ExtendTo(int32_t row);  // anchor..row alone

  std::vector<uint8_t> selected_;
  int32_t focus_ = -1;
  int32_t anchor_ = -1;
};

}  // namespace velk
