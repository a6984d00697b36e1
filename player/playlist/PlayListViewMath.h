// The arithmetic of the playlist view, apart from its window: shortening a row
// text to its width, the insertion point of a drop, how the background picture
// is laid under the rows, and where the playing mark goes while a row is
// dragged. The view measures and draws; these decide.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "player/skin/SkinGeometry.h"

namespace velk {

// Width in pixels of the first n units (bytes, UTF-16 units) of the text
// being fitted; whether the text may be cut in front of unit n without
// splitting a character.
using PrefixWidthFn = std::function<int(size_t n)>;
using CutAllowedFn = std::function<bool(size_t n)>;

// How a row `width` pixels wide shows a text of `length` units: whole when it
// fits with `margin` to spare, otherwise its first `kept` units followed by
// "..." (ellipsisWidth wide), cut only between characters and keeping at least
// one character in front of the dots.
struct FittedText {
  size_t kept = 0;
  bool dots = false;
};
FittedText FitText(size_t length, int width, int margin, const PrefixWidthFn& prefixWidth, int ellipsisWidth,
                   const CutAllowedFn& cutAllowed);

// Where rows dropped at y (from the view's top) go: the row under y (in front
// of it), count below the rows, 0 above them or in an empty list. Rows are
// rowHeight high, row 0's top at firstTop (negative once scrolled).
int32_t InsertIndexAt(int32_t count, int32_t firstTop, int32_t rowHeight, int32_t y);

// One copy of a part of the picture: the top-left part of the source rectangle
// that fits is copied to the target's top-left corner.
struct PictureCopy {
  SkinRect target;
  SkinRect source;
};

// The picture repeated over target from its top-left corner: whole tiles of the
// source's size, shorter and narrower ones at the bottom and right edges.
// Nothing for an empty source or target.
std::vector<PictureCopy> TilePicture(const SkinRect& target, const SkinRect& source);

// The background picture behind one row, so that the picture, repeated every
// picture height, starts at the top of row `row` (rows being rowHeight high)
// and scrolls with the rows. target is the row's rectangle; the picture rows
// it needs are cut where the picture repeats, and each part is tiled across.
std::vector<PictureCopy> RowPicture(int32_t row, int32_t rowHeight, const SkinRect& target,
                                    int32_t pictureWidth, int32_t pictureHeight);

// The playing row after the row at `from` was moved to `to` (the rows between
// shifting one place toward from); -1 stays -1.
int32_t PlayingAfterMove(int32_t playing, int32_t from, int32_t to);

}  // namespace velk
