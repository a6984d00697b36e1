// Caption text cleaning, shared by the overlay filter and the video window's
// caption strip so that one caption looks the same in both displays.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace velk {

// The longest cleaned caption in bytes, without the terminating zero (the
// filter keeps its text in a 2048-byte buffer).
constexpr size_t kCaptionTextMax = 2047;

// Turns a caption as a SAMI caption event delivers it (ANSI, markup included)
// into the text to draw:
//  - the opening paragraph tag goes: when the text holds a "<", everything up
//    to and including the first ">" after that "<" is dropped. A "<" with no
//    ">" after it is kept: the text is shown from that "<" on;
//  - "<br>" and "</br>" (exactly, case-sensitive) become a line break CR LF;
//    any other tag stays as written;
//  - bytes below 0x1B (CR, LF, tab, NUL, ...) are dropped; every other byte,
//    0x80 and above included, is kept;
//  - "&nbsp" anywhere in the walked text makes the whole caption empty (the
//    SAMI way of clearing the caption);
//  - the result is cut to kCaptionTextMax bytes, never inside a CR LF pair.
// Pure; safe on any bytes.
std::string CleanCaptionText(std::string_view text);

}  // namespace velk
