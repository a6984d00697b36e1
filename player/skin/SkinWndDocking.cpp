// CSkinWnd: move and resize drags, snapping to partners and carrying them along.

#include <algorithm>

#include "platform/framework/Gdi.h"
#include "player/skin/SkinDocking.h"
#include "player/skin/SkinRectWin.h"
#include "player/skin/SkinWnd.h"

namespace velk {
namespace {


void MoveTo(HWND hwnd, const SkinRect& rc) {
  ::MoveWindow(hwnd, rc.left, rc.top, rc.Width(), rc.Height(), TRUE);
}

SkinPoint PointOf(LPARAM lParam) {
  return {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

}  // namespace

void CSkinWnd::AddDockPartner(CSkinWnd* partner) {
  if (!partner || partner == this) return;
  if (std::find(partners_.begin(), partners_.end(), partner) == partners_.end()) {
    partners_.push_back(partner);
  }
}

void CSkinWnd::RemoveDockPartner(CSkinWnd* partner) {
  partners_.erase(std::remove(partners_.begin(), partners_.end(), partner), partners_.end());
}

std::vector<DockPartner> CSkinWnd::PartnerRects() const {
  const HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
  std::vector<DockPartner> out;
  for (const CSkinWnd* p : partners_) {
    DockPartner d;
    d.hasWindow = p->IsWindow();
    if (d.hasWindow) d.rect = ToSkin(p->GetWindowRect());
    d.isOwner = d.hasWindow && p->m_hWnd == owner;
    out.push_back(d);
  }
  return out;
}

void CSkinWnd::SnapMove(const RECT& rect) {
  MoveTo(m_hWnd, SnapRect(ToSkin(rect), PartnerRects()));
}

bool CSkinWnd::OnResizeDrag(fw::MsgArgs& m) {
  const SkinPoint point = PointOf(m.lParam);
  switch (m.wParam) {
    case SKIN_MOUSE_DOWN:
      resizing_ = true;
      ::SetCapture(m_hWnd);
      fw::SetStandardCursor(IDC_SIZENWSE);
      resizeAnchor_ = point;
      break;
    case SKIN_MOUSE_UP:
      resizing_ = false;
      ::ReleaseCapture();
      fw::SetStandardCursor(IDC_ARROW);
      break;
    case SKIN_MOUSE_MOVE | 1: {
      if (!resizing_ || !frame_) break;
      const SkinRect old = ToSkin(GetWindowRect());
      const SkinSize min = MinimumTrackSize(frame_->SizeFunction());
      const int32_t width = std::max(min.width, old.Width() + point.x - resizeAnchor_.x);
      const int32_t height = std::max(min.height, old.Height() + point.y - resizeAnchor_.y);
      MoveTo(m_hWnd, {old.left, old.top, old.left + width, old.top + height});
      const std::vector<DockPartner> rects = PartnerRects();
      for (size_t i = 0; i < partners_.size(); ++i) {
        const SkinPoint push = PushOffset(old, rects[i], width - old.Width(), height - old.Height());
        if (push.x != 0 || push.y != 0) MoveTo(partners_[i]->m_hWnd, rects[i].rect.Offset(push.x, push.y));
      }
      resizeAnchor_ = point;
      break;
    }
    default:
      break;
  }
  return true;
}

bool CSkinWnd::OnMoveDrag(fw::MsgArgs& m) {
  const SkinPoint point = PointOf(m.lParam);
  switch (m.wParam) {
    case SKIN_MOUSE_DOWN:
      moving_ = true;
      ::SetCapture(m_hWnd);
      moveAnchor_ = point;
      break;
    case SKIN_MOUSE_UP:
      moving_ = false;
      ::ReleaseCapture();
      break;
    case SKIN_MOUSE_MOVE | 1: {
      if (!moving_) break;
      // The anchor stays: the window follows the pointer, which keeps its client position.
      const int32_t dx = point.x - moveAnchor_.x;
      const int32_t dy = point.y - moveAnchor_.y;
      const SkinRect s = ToSkin(GetWindowRect());
      const std::vector<DockPartner> rects = PartnerRects();
      for (size_t i = 0; i < partners_.size(); ++i) {
        if (IsCarried(s, rects[i])) MoveTo(partners_[i]->m_hWnd, rects[i].rect.Offset(dx, dy));
      }
      const SkinRect wanted = s.Offset(dx, dy);
      SnapMove({wanted.left, wanted.top, wanted.right, wanted.bottom});
      break;
    }
    default:
      break;
  }
  return true;
}

}  // namespace velk
