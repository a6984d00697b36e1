// Draws a cleaned caption the way the overlay shows it: the screen's default
// font, lines centred and wrapped at the frame width, white on black in a
// 16-bit DIB section; the drawn pixels fill the caption mask.
#pragma once

#include "karvex/CaptionRaster.h"

namespace velk {

// False (and an empty mask) when nothing could be drawn: empty text, a width
// of 0 or less, or GDI failing. `height` receives the text's height in rows.
bool PaintCaption(const char* text, int32_t width, CaptionMask* mask, int32_t* height);

}  // namespace velk
