#include "player/skin/SkinPlacement.h"

#include <algorithm>

namespace velk {

namespace {

constexpr int32_t kDefaultSide = 300;
// How much of the title strip must lie on a monitor for the user to grab it.
constexpr int32_t kGrabWidth = 40;

int64_t Overlap(const SkinRect& a, const SkinRect& b) {
  const int64_t w = int64_t{std::min(a.right, b.right)} - std::max(a.left, b.left);
  const int64_t h = int64_t{std::min(a.bottom, b.bottom)} - std::max(a.top, b.top);
  return w > 0 && h > 0 ? w * h : 0;
}

int32_t Clamp(int32_t v, int32_t low, int32_t high) { return high < low ? low : std::min(std::max(v, low), high); }

}  // namespace

SkinRect CorrectPlacement(const SkinRect& stored, const std::vector<SkinRect>& monitors, SkinSize minimum,
                          int32_t titleHeight) {
  if (monitors.empty()) return stored;
  int64_t width = int64_t{stored.right} - stored.left, height = int64_t{stored.bottom} - stored.top;
  if (width <= 0 || height <= 0 || width < minimum.width || height < minimum.height) {
    width = height = kDefaultSide;
  }
  SkinRect r{stored.left, stored.top, static_cast<int32_t>(stored.left + width),
             static_cast<int32_t>(stored.top + height)};
  // The monitor the window is mostly on, else the primary one.
  const SkinRect* home = &monitors.front();
  int64_t best = 0;
  for (const SkinRect& m : monitors) {
    if (Overlap(r, m) > best) best = Overlap(r, m), home = &m;
  }
  // Larger than its monitor: the default size, from the same corner.
  if (width > home->Width()) r.right = r.left + kDefaultSide;
  if (height > home->Height()) r.bottom = r.top + kDefaultSide;
  // Kept where the whole height of the title strip, and enough of its width to
  // grab, lies on a monitor; otherwise brought back onto its monitor whole.
  const int32_t grab = std::min(kGrabWidth, r.Width());
  for (const SkinRect& m : monitors) {
    const int64_t shown = int64_t{std::min(r.right, m.right)} - std::max(r.left, m.left);
    if (shown >= grab && r.top >= m.top && int64_t{r.top} + titleHeight <= m.bottom) return r;
  }
  const int32_t left = Clamp(r.left, home->left, home->right - r.Width());
  const int32_t top = Clamp(r.top, home->top, home->bottom - r.Height());
  return r.Offset(left - r.left, top - r.top);
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

PlacementParts PlacementToSave(const SkinRect& window, const SkinRect& screen) {
  PlacementParts p;
  p.horizontal = window.Width() < screen.Width() && window.left < screen.right && window.right > screen.left;
  p.vertical = window.Height() < screen.Height() && window.top < screen.bottom && window.bottom > screen.top;
  return p;
}

}  // namespace velk
