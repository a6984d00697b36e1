// Draws a cleaned caption the way the overlay shows it: in letters of the
// text face (every script the system has a font for) whose lines are about a
// 18th of the picture's height and never lower than kCaptionLeastLineHeight,
// drawn literally (an "&" is an "&"), centred and wrapped at the frame width,
// white on black in a 16-bit DIB section; the drawn pixels fill the caption
// mask as glyphs, which then get a dark outline a twelfth of the line height
// wide (at least 2 pixels), within the frame width.
#pragma once

#include "karvex/CaptionRaster.h"

namespace velk {

// False (and an empty mask) when nothing could be drawn: empty text, a width
// of 0 or less, or GDI failing. `height` receives the text's height in rows.
constexpr int32_t kCaptionLeastLineHeight = 20;
int32_t CaptionLineHeight(int32_t pictureHeight);
int32_t CaptionOutlineWidth(int32_t lineHeight);
bool PaintCaption(const char* text, int32_t width, int32_t pictureHeight, CaptionMask* mask, int32_t* height);

}  // namespace velk
