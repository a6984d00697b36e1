#include "player/skin/SkinDocking.h"

#include <cstdlib>

namespace velk {
namespace {

bool Pulls(int32_t edge, int32_t target) { return edge != target && std::abs(edge - target) < kSnapDistance; }

}  // namespace

bool IsNear(const SkinRect& partner, const SkinRect& rect) {
  return partner.Intersects(rect.Inflated(kSnapDistance));
}

SkinRect SnapRect(const SkinRect& wanted, const std::vector<DockPartner>& partners) {
  for (const DockPartner& p : partners) {
    if (!p.hasWindow || !IsNear(p.rect, wanted)) continue;
    const SkinRect& o = p.rect;
    SkinRect r = wanted;
    if (Pulls(r.left, o.right)) {
      r = r.Offset(o.right - r.left, 0);
    } else if (Pulls(r.left, o.left)) {
      r = r.Offset(o.left - r.left, 0);
    } else if (Pulls(r.right, o.left)) {
      r = r.Offset(o.left - r.right, 0);
    }
    if (Pulls(r.top, o.bottom)) {
      r = r.Offset(0, o.bottom - r.top);
    } else if (Pulls(r.top, o.top)) {
      r = r.Offset(0, o.top - r.top);
    } else if (Pulls(r.bottom, o.top)) {
      r = r.Offset(0, o.top - r.bottom);
    }
    if (r != wanted) return r;
  }
  return wanted;
}

bool IsCarried(const SkinRect& s, const DockPartner& p) {
  if (!p.hasWindow || p.isOwner) return false;
  const SkinRect& o = p.rect;
  if (!IsNear(o, s)) return false;
  return s.left == o.right || s.left == o.left || s.right == o.left || s.top == o.bottom ||
         s.top == o.top || s.bottom == o.top;
}

SkinPoint PushOffset(const SkinRect& s, const DockPartner& p, int32_t dw, int32_t dh) {
  if (!p.hasWindow || !IsNear(p.rect, s)) return {0, 0};
  return {s.right == p.rect.left ? dw : 0, s.bottom == p.rect.top ? dh : 0};
}

}  // namespace velk
