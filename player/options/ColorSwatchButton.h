// A colour swatch: an owner-drawn push button that shows one colour with the
// word "Change" on it. The page that holds it passes on the draw requests.
#pragma once

#include <windows.h>

namespace velk::options {

class CColorSwatchButton {
 public:
  virtual ~CColorSwatchButton() = default;

  // Binds the swatch to its button control.
  void Attach(HWND button) { m_hWnd = button; }
  HWND GetSafeHwnd() const { return m_hWnd; }

  COLORREF Colour() const { return colour_; }
  // Sets the colour and repaints the button.
  void SetColour(COLORREF colour);

  // The owner-draw routine: the same look in every button state.
  virtual void DrawItem(HDC dc, const RECT& rc) const;

 private:
  HWND m_hWnd = nullptr;
  COLORREF colour_ = RGB(255, 255, 255);
};

}  // namespace velk::options
