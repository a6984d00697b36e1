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

namespace {
bool Inside(const SkinRect& r, const SkinRect& screen) {
  return r.left >= screen.left && r.top >= screen.top && r.right <= screen.right && r.bottom <= screen.bottom;
}
}  // namespace

SkinRect PlaceBesidePartner(const SkinRect& window, bool stored, const SkinRect& partner,
                            const SkinRect& partnerTitle, const SkinRect& screen) {
  if (stored && !window.Intersects(partnerTitle)) return window;
  const int32_t w = window.Width(), h = window.Height();
  const SkinRect beside[] = {
      {partner.right, partner.top, partner.right + w, partner.top + h},     // right
      {partner.left, partner.bottom, partner.left + w, partner.bottom + h},  // below
      {partner.left - w, partner.top, partner.left, partner.top + h},       // left
      {partner.left, partner.top - h, partner.left + w, partner.top},       // above
  };
  for (const SkinRect& r : beside) {
    if (Inside(r, screen)) return r;
  }
  SkinRect r = beside[0];
  const int32_t dx = r.right > screen.right ? screen.right - r.right : 0;
  const int32_t dy = r.bottom > screen.bottom ? screen.bottom - r.bottom : 0;
  r = r.Offset(dx, dy);
  return r.Offset(r.left < screen.left ? screen.left - r.left : 0, r.top < screen.top ? screen.top - r.top : 0);
}

PlacementParts PlacementToSave(const SkinRect& window, int32_t screenWidth, int32_t screenHeight) {
  PlacementParts p;
  p.horizontal = window.Width() < screenWidth && window.left < screenWidth;
  p.vertical = window.Height() < screenHeight && window.top < screenHeight;
  return p;
}

}  // namespace velk
