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

// The bytes of one character in the caption's own encoding, or an empty
// string when that encoding has no such character.
using CaptionCharEncoder = std::string (*)(char32_t character);

// The UTF-8 bytes of a character: the player's text where the system code
// page is UTF-8.
std::string CaptionUtf8(char32_t character);

// Turns a caption as a SAMI caption event delivers it (markup included) into
// the text to draw:
//  - the opening paragraph tag goes: when the text holds a "<", everything up
//    to and including the first ">" after that "<" is dropped. A "<" with no
//    ">" after it is kept: the text is shown from that "<" on;
//  - "<br>" and "</br>" (exactly, case-sensitive) become a line break CR LF;
//    any other tag stays as written;
//  - bytes below 0x1B (CR, LF, tab, NUL, ...) are dropped; every other byte,
//    0x80 and above included, is kept;
//  - entities are decoded: &amp; &lt; &gt; &quot; &apos;, the named
//    characters of Latin-1 (&eacute; &Uuml; &copy; ..., names case-sensitive),
//    &nbsp; as a plain space, and numbers &#233; &#xE9; &#XE9; of any code
//    point but 0, the surrogates and those past U+10FFFF. `encode` gives the
//    character's bytes; one it lacks, one whose bytes would be longer than
//    the entity, an unknown name, a missing ";" or a bad number leaves the
//    entity as written. A decoded character is text only: "&lt;br&gt;" shows
//    "<br>", a decoded control character is dropped like a written one;
//  - a caption that shows nothing but "&nbsp" (with or without ";", exact
//    case) is empty, the SAMI way of clearing the caption: after the opening
//    tag the text holds at least one "&nbsp" and otherwise only spaces, bytes
//    below 0x1B and complete tags ("<P>&nbsp;</P>", " &nbsp; ", "&nbsp<br>&nbsp").
//    The whole text counts, also past the length it is cut to;
//  - the result is cut to kCaptionTextMax bytes, never inside a CR LF pair
//    or a decoded character, nor inside a character of a text that is UTF-8.
// The result is never longer than the text. Pure; safe on any bytes.
std::string CleanCaptionText(std::string_view text, CaptionCharEncoder encode = CaptionUtf8);

}  // namespace velk
