#include "player/skin/SkinGeometry.h"

namespace velk {

const std::array<uint32_t, kFramePieceCount> kFramePieceIds = {
    FP_TITLE_LEFT,          FP_TITLE_RIGHT,           FP_TITLE_FILL,   FP_TITLE_CENTER,
    FP_TITLE_LEFT_INACTIVE, FP_TITLE_RIGHT_INACTIVE,  FP_TITLE_FILL_INACTIVE,
    FP_TITLE_CENTER_INACTIVE, FP_BOTTOM_LEFT,         FP_BOTTOM_RIGHT, FP_BOTTOM_FILL,
    FP_EDGE_LEFT,           FP_EDGE_RIGHT,
};

void PlanHorizontalBar(std::vector<PieceDraw>& out, const SkinRect& rc, uint32_t leftId,
                       uint32_t rightId, uint32_t fillId, uint32_t centreId, const PieceSizeFn& size) {
  const int32_t w = rc.Width();
  const int32_t l = size(leftId).width;
  const int32_t r = size(rightId).width;
  const int32_t m = size(fillId).width;
  const int32_t cw = centreId == kNoPiece ? 0 : size(centreId).width;
  // C++ division truncates towards zero, as the tiling wants for too narrow bars.
  const int32_t n = m != 0 ? (w - l - r) / m : 0;

  out.push_back({leftId, rc.left, rc.top, -1});
  for (int32_t i = 0; i < n; ++i) out.push_back({fillId, rc.left + l + i * m, rc.top, -1});
  const int32_t rest = w - l - r - n * m;
  if (rest > 0) out.push_back({fillId, rc.left + l + n * m, rc.top, rest});
  if (cw != 0) out.push_back({centreId, (rc.left - cw + rc.right) / 2, rc.top, -1});
  out.push_back({rightId, rc.right - r, rc.top, -1});
}

void PlanVerticalEdges(std::vector<PieceDraw>& out, const SkinRect& rc, uint32_t leftId,
                       uint32_t rightId, const PieceSizeFn& size) {
  const int32_t h = rc.Height();
  const int32_t e = size(leftId).height;
  const int32_t rw = size(rightId).width;
  if (e <= 0 || h < 0) return;
  for (int32_t i = 0; i <= h / e; ++i) {
    out.push_back({leftId, rc.left, rc.top + i * e, -1});
    out.push_back({rightId, rc.right - rw, rc.top + i * e, -1});
  }
}

std::vector<PieceDraw> PlanFrame(const SkinRect& client, bool active, const PieceSizeFn& size) {
  std::vector<PieceDraw> out;
  // The active fill's height is the title height in both states.
  const int32_t t = size(FP_TITLE_FILL).height;
  const int32_t b = size(FP_BOTTOM_FILL).height;
  const SkinRect title{client.left, client.top, client.right, client.top + t};
  if (active) {
    PlanHorizontalBar(out, title, FP_TITLE_LEFT, FP_TITLE_RIGHT, FP_TITLE_FILL, FP_TITLE_CENTER, size);
  } else {
    PlanHorizontalBar(out, title, FP_TITLE_LEFT_INACTIVE, FP_TITLE_RIGHT_INACTIVE,
                      FP_TITLE_FILL_INACTIVE, FP_TITLE_CENTER_INACTIVE, size);
  }
  PlanVerticalEdges(out, {client.left, client.top + t, client.right, client.bottom - b},
                    FP_EDGE_LEFT, FP_EDGE_RIGHT, size);
  // Last, so it covers the edge row that hangs below the edge area.
  PlanHorizontalBar(out, {client.left, client.bottom - b, client.right, client.bottom},
                    FP_BOTTOM_LEFT, FP_BOTTOM_RIGHT, FP_BOTTOM_FILL, kNoPiece, size);
  return out;
}

SkinSize MinimumTrackSize(const PieceSizeFn& size) {
  return {2 * size(FP_TITLE_FILL).width + size(FP_TITLE_CENTER).width + size(FP_TITLE_LEFT).width +
              size(FP_TITLE_RIGHT).width,
          size(FP_BOTTOM_FILL).height + size(FP_TITLE_FILL).height};
}

SkinRect InnerRect(const SkinRect& client, const PieceSizeFn& size) {
  return {client.left + size(FP_EDGE_LEFT).width, client.top + size(FP_TITLE_FILL).height,
          client.right - size(FP_EDGE_RIGHT).width, client.bottom - size(FP_BOTTOM_FILL).height};
}

SkinRect TitleStrip(const SkinRect& client, const PieceSizeFn& size) {
  return {client.left, client.top, client.right, client.top + size(FP_TITLE_FILL).height};
}

}  // namespace velk
