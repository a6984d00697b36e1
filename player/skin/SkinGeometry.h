// Skin geometry: which frame piece goes where for a window of any size, and
// the sizes derived from the pieces. Plain integers; the Windows layer only
// executes the plans made here.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

namespace velk {

struct SkinPoint {
  int32_t x = 0;
  int32_t y = 0;
  bool operator==(const SkinPoint& o) const { return x == o.x && y == o.y; }
};

struct SkinSize {
  int32_t width = 0;
  int32_t height = 0;
  bool operator==(const SkinSize& o) const { return width == o.width && height == o.height; }
};

// Right and bottom are exclusive.
struct SkinRect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;

  int32_t Width() const { return right - left; }
  int32_t Height() const { return bottom - top; }
  bool Contains(int32_t x, int32_t y) const { return x >= left && x < right && y >= top && y < bottom; }
  bool Intersects(const SkinRect& o) const {
    return left < o.right && o.left < right && top < o.bottom && o.top < bottom && !IsEmpty() &&
           !o.IsEmpty();
  }
  bool IsEmpty() const { return right <= left || bottom <= top; }
  SkinRect Offset(int32_t dx, int32_t dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }
  SkinRect Inflated(int32_t n) const { return {left - n, top - n, right + n, bottom + n}; }
  bool operator==(const SkinRect& o) const {
    return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
  }
  bool operator!=(const SkinRect& o) const { return !(*this == o); }
};

// Ids of the frame pieces in a frame image; windows use other ids for their buttons.
enum : uint32_t {
  FP_TITLE_LEFT = 10,
  FP_TITLE_RIGHT = 11,
  FP_TITLE_FILL = 12,
  FP_TITLE_CENTER = 13,
  FP_TITLE_LEFT_INACTIVE = 20,
  FP_TITLE_RIGHT_INACTIVE = 21,
  FP_TITLE_FILL_INACTIVE = 22,
  FP_TITLE_CENTER_INACTIVE = 23,
  FP_BOTTOM_LEFT = 24,
  FP_BOTTOM_RIGHT = 25,
  FP_BOTTOM_FILL = 26,
  FP_EDGE_LEFT = 27,
  FP_EDGE_RIGHT = 28,
};

constexpr size_t kFramePieceCount = 13;
// The thirteen rectangles of a frame, in the order of kFramePieceIds.
using FramePieceTable = std::array<SkinRect, kFramePieceCount>;
extern const std::array<uint32_t, kFramePieceCount> kFramePieceIds;

constexpr uint32_t kNoPiece = 0xFFFFFFFFu;

// One blit of a plan: piece `id` with its top-left corner at (x, y); width −1
// is the piece's own width, anything else copies that many columns.
struct PieceDraw {
  uint32_t id = kNoPiece;
  int32_t x = 0;
  int32_t y = 0;
  int32_t width = -1;
  bool operator==(const PieceDraw& o) const {
    return id == o.id && x == o.x && y == o.y && width == o.width;
  }
};

// Size of a registered piece; (0, 0) for an id without one.
using PieceSizeFn = std::function<SkinSize(uint32_t id)>;

// Left end, whole fill tiles, the cut last tile, centre piece, right end.
void PlanHorizontalBar(std::vector<PieceDraw>& out, const SkinRect& rc, uint32_t leftId,
                       uint32_t rightId, uint32_t fillId, uint32_t centreId, const PieceSizeFn& size);
// Rows of both side edges stepping by the left edge's height; the last row
// may hang below the rectangle (the bottom bar covers it).
void PlanVerticalEdges(std::vector<PieceDraw>& out, const SkinRect& rc, uint32_t leftId,
                       uint32_t rightId, const PieceSizeFn& size);
// The whole frame over the client rectangle: title bar, edges, bottom bar.
std::vector<PieceDraw> PlanFrame(const SkinRect& client, bool active, const PieceSizeFn& size);

// The smallest client size that still shows every title piece once.
SkinSize MinimumTrackSize(const PieceSizeFn& size);
// The client rectangle less the frame: where a window puts its content.
SkinRect InnerRect(const SkinRect& client, const PieceSizeFn& size);
// The strip along the top that starts a move drag.
SkinRect TitleStrip(const SkinRect& client, const PieceSizeFn& size);

}  // namespace velk
