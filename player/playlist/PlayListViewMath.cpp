#include "player/playlist/PlayListViewMath.h"

#include <algorithm>

namespace velk {

FittedText FitText(size_t length, int width, int margin, const PrefixWidthFn& prefixWidth, int ellipsisWidth,
                   const CutAllowedFn& cutAllowed) {
  if (length == 0 || prefixWidth(length) + margin <= width) return {length, false};
  // The end of the first character: the least that stays.
  size_t least = 1;
  while (least < length && !cutAllowed(least)) ++least;
  size_t keep = length > least ? length - 1 : least;
  while (keep > least && (!cutAllowed(keep) || prefixWidth(keep) + ellipsisWidth + margin > width)) --keep;
  return {keep, true};
}

int32_t InsertIndexAt(int32_t count, int32_t firstTop, int32_t rowHeight, int32_t y) {
  if (count <= 0) return 0;
  if (rowHeight <= 0) return y < firstTop ? 0 : count;
  if (y < firstTop) return 0;
  // Rows are equally high, so the first row whose top lies below y follows
  // the row that holds y.
  const int64_t under = (static_cast<int64_t>(y) - firstTop) / rowHeight;
  if (under < count) return static_cast<int32_t>(under);
  const int64_t bottom = static_cast<int64_t>(firstTop) + static_cast<int64_t>(count) * rowHeight;
  return y >= bottom ? count : count - 1;
}

std::vector<PictureCopy> TilePicture(const SkinRect& target, const SkinRect& source) {
  std::vector<PictureCopy> tiles;
  const int32_t sw = source.Width(), sh = source.Height();
  if (sw <= 0 || sh <= 0 || target.Width() <= 0 || target.Height() <= 0) return tiles;
  for (int32_t y = target.top; y < target.bottom; y += sh) {
    const int32_t h = std::min(sh, target.bottom - y);
    for (int32_t x = target.left; x < target.right; x += sw) {
      const int32_t w = std::min(sw, target.right - x);
      tiles.push_back({{x, y, x + w, y + h}, {source.left, source.top, source.left + w, source.top + h}});
    }
  }
  return tiles;
}

std::vector<PictureCopy> RowPicture(int32_t row, int32_t rowHeight, const SkinRect& target,
                                    int32_t pictureWidth, int32_t pictureHeight) {
  if (pictureWidth <= 0 || pictureHeight <= 0) return {};
  const auto start = static_cast<int32_t>((static_cast<int64_t>(row) * rowHeight) % pictureHeight);
  const int32_t offset = start < 0 ? start + pictureHeight : start;
  if (offset + target.Height() <= pictureHeight) {
    return TilePicture(target, {0, offset, pictureWidth, offset + target.Height()});
  }
  // The picture repeats inside this row: its lower end first, then the
  // picture again from its top.
  const int32_t split = target.top + (pictureHeight - offset);
  std::vector<PictureCopy> copies =
      TilePicture({target.left, target.top, target.right, split}, {0, offset, pictureWidth, pictureHeight});
  std::vector<PictureCopy> rest =
      TilePicture({target.left, split, target.right, target.bottom}, {0, 0, pictureWidth, pictureHeight});
  copies.insert(copies.end(), rest.begin(), rest.end());
  return copies;
}

int32_t PlayingAfterMove(int32_t playing, int32_t from, int32_t to) {
  if (from == playing) return to;
  if (to <= playing && playing < from) return playing + 1;
  if (from < playing && playing <= to) return playing - 1;
  return playing;
}

}  // namespace velk
