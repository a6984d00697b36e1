// Docking arithmetic of skinned windows: nearness, snapping a dragged window
// to its partners, and which partners a move carries or a resize pushes.
#pragma once

#include <cstdint>
#include <vector>

#include "player/skin/SkinGeometry.h"

namespace velk {

constexpr int32_t kSnapDistance = 10;

// A partner window as the drag sees it.
struct DockPartner {
  SkinRect rect;
  bool hasWindow = true;
  bool isOwner = false;  // the dragged window's owner is never carried
};

// The partner's rectangle meets `rect` enlarged by 10 pixels on every side.
bool IsNear(const SkinRect& partner, const SkinRect& rect);

// Where a window asked to go to `wanted` ends up: the first partner (in list
// order) that pulls one of its edges onto a partner edge decides; edges that
// already touch do not snap again.
SkinRect SnapRect(const SkinRect& wanted, const std::vector<DockPartner>& partners);

// Whether a move of the window `rect` carries the partner along: it is near
// and shares one of the docking edges.
bool IsCarried(const SkinRect& rect, const DockPartner& partner);

// How far a resize of `oldRect` by (dw, dh) pushes the partner: along an axis
// only when it touches the right (bottom) edge.
SkinPoint PushOffset(const SkinRect& oldRect, const DockPartner& partner, int32_t dw, int32_t dh);

}  // namespace velk
