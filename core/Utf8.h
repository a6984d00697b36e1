// UTF-8, the encoding of the player's narrow strings where the system allows
// it, and the rule for reading text that older programs wrote: bytes that are
// valid UTF-8 are UTF-8; anything else is in the user's legacy code page.
#pragma once

#include <cstddef>
#include <string_view>

namespace velk {

// Strict UTF-8: no overlong forms, no surrogates, nothing past U+10FFFF, no
// sequence cut short. Plain ASCII is valid.
bool IsUtf8(std::string_view bytes);

// Only bytes below 0x80: the same text in UTF-8 and every ANSI code page.
bool IsAscii(std::string_view bytes);

// Whether a UTF-8 text may be cut in front of the byte at `at` without
// splitting a character (true at the end and at every byte that is no
// continuation byte).
inline bool StartsUtf8Character(std::string_view text, size_t at) {
  return at >= text.size() || (static_cast<unsigned char>(text[at]) & 0xC0) != 0x80;
}

}  // namespace velk
