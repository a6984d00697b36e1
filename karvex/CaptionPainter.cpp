#include "karvex/CaptionPainter.h"

#include <windows.h>

#include "platform/framework/Gdi.h"
#include "platform/framework/Text.h"

namespace velk {


int32_t CaptionLineHeight(int32_t pictureHeight) {
  return pictureHeight / 18 > kCaptionLeastLineHeight ? pictureHeight / 18 : kCaptionLeastLineHeight;
}

int32_t CaptionOutlineWidth(int32_t lineHeight) { return lineHeight / 12 > 2 ? lineHeight / 12 : 2; }

bool PaintCaption(const char* text, int32_t width, int32_t pictureHeight, CaptionMask* mask, int32_t* height) {
  mask->Reset(0, 0);
  *height = 0;
  if (!text || !*text || width <= 0) return false;
  // The outline grows the caption on every side: the text wraps inside it.
  const int32_t lineHeight = CaptionLineHeight(pictureHeight);
  const int32_t outline = CaptionOutlineWidth(lineHeight);
  width -= 2 * outline;
  if (width <= 0) return false;
  fw::CClientDC screen(nullptr);
  if (!screen) return false;

  // Drawn in UTF-16: the player's text is in the process code page, which a
  // font's own code page must not reinterpret.
  const std::wstring wide = fw::Widen(text);
  // The text face, which has the letters of every script the system has a
  // font for (the screen's default face shows boxes outside its code page).
  fw::CGdiObject<HFONT> font(fw::CreateTextFont(lineHeight));
  RECT measure = {0, 0, width, 0};
  {
    fw::CSelection measuring(screen, font.Get());
    ::DrawTextW(screen, wide.c_str(), static_cast<int>(wide.size()), &measure,
                DT_CALCRECT | DT_WORDBREAK | DT_CENTER | DT_NOPREFIX);
  }
  int32_t h = measure.bottom;
  if (h <= 0) return false;

  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -h;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 16;
  info.bmiHeader.biCompression = BI_RGB;
  info.bmiHeader.biSizeImage = static_cast<DWORD>(h) * static_cast<DWORD>(width) * 2;

  fw::CMemoryDC memory(screen);
  if (!memory) return false;
  void* bits = nullptr;
  fw::CGdiObject<HBITMAP> section(::CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  bool ok = false;
  if (section && bits) {
    fw::CSelection drawing(memory, section.Get());
    fw::CSelection lettering(memory, font.Get());
    ::SetTextColor(memory, RGB(255, 255, 255));
    ::SetBkColor(memory, RGB(0, 0, 0));
    RECT draw = {0, 0, width, h};
    ::DrawTextW(memory, wide.c_str(), static_cast<int>(wide.size()), &draw, DT_WORDBREAK | DT_CENTER | DT_NOPREFIX);
    ::GdiFlush();
    int32_t stride = (width * 2 + 3) & ~3;
    ok = mask->LoadFromPixels(bits, width, h, stride, 16);
  }
  if (ok) {
    OutlineCaption(mask, outline);
    h = mask->height;
    *height = h;
  }
  return ok;
}

}  // namespace velk
