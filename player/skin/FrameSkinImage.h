// A skin picture that also paints a window frame of any size from its
// thirteen frame pieces.
#pragma once

#include "player/skin/SkinImage.h"

namespace velk {

class CFrameSkinImage : public CSkinImage {
 public:
  // Registers the frame pieces under their ids, replacing earlier ones.
  void OnImageChanged() override;
  // Paints the frame over the window's client rectangle; true when any piece drew.
  virtual bool DrawFrame(HDC dc, const RECT& rect, bool active);

  // Null changes nothing; otherwise the table is copied and its pieces registered.
  bool SetFrameTable(const FramePieceTable* table);
  const FramePieceTable& GetFrameTable() const { return table_; }

  bool DrawHorizontalBar(HDC dc, const RECT& rect, uint32_t leftId, uint32_t rightId, uint32_t fillId,
                         uint32_t centreId);
  bool DrawVerticalEdges(HDC dc, const RECT& rect, uint32_t leftId, uint32_t rightId);

 private:
  FramePieceTable table_{};
};

}  // namespace velk
