// What the playlist operations need from the window side: the rows of the
// playlist view (one per entry, in entry order), its selection and playing
// mark, and the few things the main window shows for the playlist. The
// playlist view and the main window implement it; tests use a fake.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace velk {

class IPlayListView {
 public:
  virtual ~IPlayListView() = default;

  virtual int32_t RowCount() const = 0;
  virtual std::string RowText(int32_t row) const = 0;
  virtual void SetRowText(int32_t row, const std::string& text) = 0;
  // Selected rows, lowest index first.
  virtual std::vector<int32_t> SelectedRows() const = 0;
  // Exactly these rows selected (ascending).
  virtual void SetSelectedRows(const std::vector<int32_t>& ascendingRows) = 0;

  // New rows are not selected. Rows keep their selected state when others
  // come and go; the playing mark is never moved by these.
  virtual void InsertRows(int32_t index, std::vector<std::string> texts) = 0;
  virtual void RemoveRows(const std::vector<int32_t>& ascendingRows) = 0;
  virtual void RemoveAllRows() = 0;
  // Row i takes the text row sources[i] had; selected states stay with the
  // positions, as when texts are exchanged row by row.
  virtual void PermuteRowTexts(const std::vector<int32_t>& sources) = 0;

  // The row drawn in the playing colour, -1 for none.
  virtual int32_t PlayingIndex() const = 0;
  virtual void SetPlayingIndex(int32_t row) = 0;

  // Redraw rows a and b, each only when it exists.
  virtual void RedrawRows(int32_t a, int32_t b) = 0;
  // Invalidate the whole view, background included.
  virtual void RedrawAll() = 0;
  virtual void ScrollIntoView(int32_t row) = 0;

  // The main window's title shows the current entry's text.
  virtual void SetTitle(const std::string& text) = 0;
  // A dropped picture becomes the view's background.
  virtual void SetBackgroundImage(const std::string& path) = 0;
};

}  // namespace velk
