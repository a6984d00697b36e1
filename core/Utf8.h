// UTF-8, the encoding of the player's narrow strings where the system allows
// it, and the rule for reading text that older programs wrote: bytes that are
// valid UTF-8 are UTF-8; anything else is in the user's legacy code page.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
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

// How a caption file's bytes were read: by its byte-order mark, else by
// whether they are valid UTF-8.
enum class TextEncoding : uint8_t {
  CodePage,      // the system code page (bytes as in the file)
  Utf8,          // EF BB BF
  Utf16Le,       // FF FE
  Utf16Be,       // FE FF
  Utf8Unmarked,  // no byte-order mark, but valid UTF-8 with bytes above 0x7F
};

// Appends the UTF-8 bytes of a code point (below U+110000, no surrogate).
void AppendUtf8(std::string& out, char32_t codePoint);

// The text of a file's bytes by the rule above: after a UTF-8 mark the bytes
// that follow it; after a UTF-16 mark (either order) the text converted to
// UTF-8 into *converted (unpaired surrogates become U+FFFD, an odd last byte
// is no character); otherwise the bytes as they are. ASCII alone counts as
// the code page: it reads the same in both.
std::string_view DecodeTextFile(std::string_view bytes, std::string* converted, TextEncoding* encoding);

}  // namespace velk
