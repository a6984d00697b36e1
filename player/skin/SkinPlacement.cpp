#include "player/skin/SkinPlacement.h"

namespace velk {

SkinRect CorrectPlacement(const SkinRect& stored, int32_t screenWidth, int32_t screenHeight) {
  SkinRect r = stored;
  if (r.left > screenWidth || r.left < 0) r.left = 0;
  if (int64_t{r.right} - r.left > screenWidth) r.right = r.left + 300;
  if (r.top > screenHeight || r.top < 0) r.top = 0;
  if (int64_t{r.bottom} - r.top > screenHeight) r.bottom = r.top + 300;
  return r;
}

PlacementParts PlacementToSave(const SkinRect& window, int32_t screenWidth, int32_t screenHeight) {
  PlacementParts p;
  p.horizontal = window.Width() < screenWidth && window.left < screenWidth;
  p.vertical = window.Height() < screenHeight && window.top < screenHeight;
  return p;
}

}  // namespace velk
