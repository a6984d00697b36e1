#include "player/skin/FrameSkinImage.h"

#include "player/skin/SkinRectWin.h"

namespace velk {

void CFrameSkinImage::OnImageChanged() {
  for (size_t i = 0; i < kFramePieceCount; ++i) SetRect(kFramePieceIds[i], table_[i]);
}

bool CFrameSkinImage::SetFrameTable(const FramePieceTable* table) {
  if (!table) return false;
  table_ = *table;
  OnImageChanged();
  return true;
}

bool CFrameSkinImage::DrawHorizontalBar(HDC dc, const RECT& rect, uint32_t leftId, uint32_t rightId,
                                        uint32_t fillId, uint32_t centreId) {
  std::vector<PieceDraw> plan;
  PlanHorizontalBar(plan, ToSkin(rect), leftId, rightId, fillId, centreId, SizeFunction());
  return DrawPlan(dc, plan);
}

bool CFrameSkinImage::DrawVerticalEdges(HDC dc, const RECT& rect, uint32_t leftId, uint32_t rightId) {
  std::vector<PieceDraw> plan;
  PlanVerticalEdges(plan, ToSkin(rect), leftId, rightId, SizeFunction());
  return DrawPlan(dc, plan);
}

bool CFrameSkinImage::DrawFrame(HDC dc, const RECT& rect, bool active) {
  return DrawPlan(dc, PlanFrame(ToSkin(rect), active, SizeFunction()));
}

}  // namespace velk
