// Reading a SAMI caption document into its timed captions, without the
// platform. The SAMI source filter of samiparse.ax turns each caption into a
// text sample at its start time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace velk {

enum class SamiEncoding : uint8_t {
  CodePage,  // no byte-order mark: the system code page (bytes as in the file)
  Utf8,      // EF BB BF
  Utf16Le,   // FF FE
  Utf16Be,   // FE FF
};

struct SamiCaption {
  int64_t startMs = 0;  // the SYNC block's Start value
  std::string text;     // the paragraph as written, markup included
};

struct SamiDocument {
  SamiEncoding encoding = SamiEncoding::CodePage;
  // Caption texts are UTF-8 when the document has a byte-order mark (UTF-16
  // is converted; unpaired surrogates become U+FFFD), and otherwise the
  // document's own bytes in the system code page: convert with CP_UTF8 or
  // CP_ACP accordingly.
  bool TextIsUtf8() const { return encoding != SamiEncoding::CodePage; }
  std::vector<SamiCaption> captions;  // in file order (not sorted by time)
};

// Reads the SYNC blocks of a SAMI document:
//  - blocks are read from the BODY element on (from the start of the
//    document when there is none); "<!-- -->" comments are skipped anywhere;
//  - a block runs from its <SYNC ...> tag to the next SYNC tag, "</SYNC>",
//    "</BODY>", "</SAMI>" or the end of the input; a block without a
//    readable Start value (decimal digits, quoted or not) is skipped;
//  - its caption is its first paragraph of the document's language: the
//    text from "<P" up to the next paragraph, "</P>" or the end of the block,
//    markup as written ("<P Class=ENCC>Hello<br>World", "<P Class=ENCC>&nbsp;"),
//    without comments, white space trimmed at both ends. The language is the
//    Class of the first paragraph in the document; a paragraph with another
//    Class is skipped, one without a Class belongs to every language;
//  - a block without such a paragraph gives its loose text (before any
//    paragraph) when there is some, and otherwise no caption.
// Tag and attribute names compare without regard to case; attribute values
// may be quoted with " or ' or not at all. Safe on any bytes, truncated
// documents included; linear in the input's size.
// Pure: no shared state, callable from any thread.
SamiDocument ParseSami(const uint8_t* data, size_t size);

}  // namespace velk
