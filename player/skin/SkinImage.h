// A skin picture: one bitmap holding the pieces of a window side by side, and
// the table of numbered rectangles saying where each piece lies in it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <map>
#include <string>

#include "platform/framework/Gdi.h"
#include "player/skin/SkinGeometry.h"

namespace velk {

class CSkinImage {
 public:
  CSkinImage() = default;
  virtual ~CSkinImage();
  CSkinImage(const CSkinImage&) = delete;
  CSkinImage& operator=(const CSkinImage&) = delete;

  // Called after a new bitmap was loaded (and, for frames, a new table set),
  // so that a subclass can register its pieces again.
  virtual void OnImageChanged() {}

  // A picture file through the image loader. On failure the previous picture
  // and the pieces stay as they were.
  // A picture smaller than `minimum` is refused like a broken one.
  bool LoadFromFile(const std::string& path, HDC dc, SkinSize minimum = {0, 0});
  // A bitmap resource of the program; on failure the image has no bitmap.
  bool LoadFromResource(uint16_t resourceId);

  void SetRect(uint32_t id, const SkinRect& rc);
  void RemoveRect(uint32_t id);
  bool HasRect(uint32_t id) const { return pieces_.count(id) != 0; }
  // (0, 0) for an id without a rectangle.
  SkinSize GetImageSize(uint32_t id) const;
  PieceSizeFn SizeFunction() const;

  // Copies the piece to (x, y); a width or height of −1 is the piece's own,
  // anything else copies that much from its top-left corner.
  bool DrawImage(uint32_t id, HDC dc, int x, int y, int width = -1, int height = -1) const;
  // A plain source copy of an area of the bitmap.
  bool BlitArea(HDC dc, int x, int y, int width, int height, int sourceX, int sourceY) const;
  // Carries out a plan of piece blits; true when any of them drew.
  bool DrawPlan(HDC dc, const std::vector<PieceDraw>& plan) const;

  HBITMAP GetBitmap() const { return bitmap_.Get(); }

 private:
  void ReplaceBitmap(HBITMAP bitmap);

  fw::CGdiObject<HBITMAP> bitmap_;
  std::map<uint32_t, SkinRect> pieces_;
};

}  // namespace velk
