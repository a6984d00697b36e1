#include "player/options/ColorSwatchButton.h"

#include "platform/framework/Gdi.h"
#include "player/options/OptionsRules.h"

namespace velk::options {

void CColorSwatchButton::SetColour(COLORREF colour) {
  colour_ = colour;
  if (m_hWnd) ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

void CColorSwatchButton::DrawItem(HDC dc, const RECT& rc) const {
  const fw::CGdiObject<HBRUSH> brush(::CreateSolidBrush(colour_));
  const fw::CSelection filling(dc, brush.Get());
  // The current pen gives the one-pixel border, the brush the colour.
  ::Rectangle(dc, rc.left, rc.top, rc.right, rc.bottom);
  const int oldMode = ::SetBkMode(dc, TRANSPARENT);
  static const char kText[] = "Change";
  SIZE size = {};
  ::GetTextExtentPoint32A(dc, kText, 6, &size);
  const TextOrigin at = SwatchTextOrigin(rc.right, rc.bottom, size.cx, size.cy);
  ::TextOutA(dc, at.x, at.y, kText, 6);
  ::SetBkMode(dc, oldMode);
}

}  // namespace velk::options
