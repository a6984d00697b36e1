#include "player/skin/SkinMouse.h"

#include "shared/PlayerMessages.h"

namespace velk {
namespace {

// While a drag runs the pointer feeds the drag only; no button is hit-tested.
bool FeedDrag(const SkinMouseInput& in, uint32_t wParam, SkinMouseAction& out) {
  if (in.resizing) {
    out.posts.push_back({WM_SKIN_RESIZEDRAG, wParam});
    return true;
  }
  if (in.moving) {
    out.posts.push_back({WM_SKIN_MOVEDRAG, wParam});
    return true;
  }
  return false;
}

void OnDown(const SkinMouseInput& in, const CSkinControls& controls, SkinMouseAction& out) {
  if (in.resizing || in.moving) return;  // the drag owns the mouse until its release
  const uint32_t hit = controls.HitTest(in.point.x, in.point.y, in.client);
  if (const SkinButton* b = controls.FindButton(hit)) {
    out.drawButtons = true;
    out.pressedId = hit;
    if (b->notify & SKB_NOTIFY_DOWN) out.posts.push_back({hit, SKIN_MOUSE_DOWN});
  } else if (hit != kNoRegion) {
    out.posts.push_back({hit, SKIN_MOUSE_DOWN});
  } else if (in.titleStrip.Contains(in.point.x, in.point.y)) {
    out.posts.push_back({WM_SKIN_MOVEDRAG, SKIN_MOUSE_DOWN});
  }
}

void OnUp(const SkinMouseInput& in, const CSkinControls& controls, SkinMouseAction& out) {
  if (FeedDrag(in, SKIN_MOUSE_UP, out)) return;
  const uint32_t hit = controls.HitTest(in.point.x, in.point.y, in.client);
  out.drawButtons = true;
  out.pressedId = kNoRegion;
  if (const SkinButton* b = controls.FindButton(hit)) {
    if (b->notify & SKB_NOTIFY_UP) out.posts.push_back({hit, SKIN_MOUSE_UP});
  } else if (hit != kNoRegion) {
    out.posts.push_back({hit, SKIN_MOUSE_UP});
  }
}

void OnMove(const SkinMouseInput& in, const CSkinControls& controls, SkinMouseAction& out) {
  const uint32_t wParam = SKIN_MOUSE_MOVE | (in.held ? 1u : 0u);
  if (FeedDrag(in, wParam, out)) return;
  const uint32_t hit = controls.HitTest(in.point.x, in.point.y, in.client);
  out.cursor = hit == WM_SKIN_RESIZEDRAG ? SkinCursor::SizeNWSE : SkinCursor::Arrow;
  const SkinButton* b = controls.FindButton(hit);
  if (in.held) {
    // A held press follows the pointer from button to button.
    out.drawButtons = true;
    out.pressedId = b ? hit : kNoRegion;
  }
  if (b) {
    const uint32_t wanted = in.held ? SKB_NOTIFY_DRAG : SKB_NOTIFY_HOVER;
    if (b->notify & wanted) out.posts.push_back({hit, wParam});
  } else if (hit != kNoRegion) {
    out.posts.push_back({hit, wParam});
  }
}

}  // namespace

SkinMouseAction DecideSkinMouse(const SkinMouseInput& in, const CSkinControls& controls) {
  SkinMouseAction out;
  switch (in.event) {
    case SkinMouseEvent::Down: OnDown(in, controls, out); break;
    case SkinMouseEvent::Up: OnUp(in, controls, out); break;
    case SkinMouseEvent::Move: OnMove(in, controls, out); break;
  }
  return out;
}

}  // namespace velk
