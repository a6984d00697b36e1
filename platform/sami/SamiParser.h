// Reading a SAMI caption document into its languages and their timed
// captions, without the platform. The SAMI source filter of samiparse.ax
// turns the captions of the chosen language into text samples at their start
// times.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/Utf8.h"

namespace velk {

// A SAMI file's bytes are read as every caption file's (core/Utf8.h).
using SamiEncoding = TextEncoding;

struct SamiCaption {
  int64_t startMs = 0;  // the SYNC block's Start value
  std::string text;     // the paragraph as written, markup included
};

// One language of a document: a paragraph class and its own timeline.
struct SamiLanguage {
  std::string selector;  // the class as the STYLE block (else its first paragraph) spells it: "KRCC"
  std::string name;      // its Name property ("Korean"); empty when not declared
  std::string lang;      // its lang property ("ko-KR"); empty when not declared
  std::vector<SamiCaption> captions;  // in file order (not sorted by time)
};

// More classes than this in one document are not languages anyone reads;
// their paragraphs are skipped (and the work stays linear in the input).
constexpr size_t kSamiMaxLanguages = 16;

struct SamiDocument {
  SamiEncoding encoding = SamiEncoding::CodePage;
  // Texts (captions, names) are UTF-8 when the document has a byte-order mark
  // (UTF-16 is converted; unpaired surrogates become U+FFFD) or is valid UTF-8
  // with non-ASCII bytes, and otherwise the document's own bytes in the user's
  // legacy code page (as older tools wrote them): convert accordingly.
  bool TextIsUtf8() const { return encoding != SamiEncoding::CodePage; }
  // The paragraph classes: those declared in the STYLE block in its order,
  // then those only used, in the order of first use. A declared class that no
  // paragraph uses is not listed.
  std::vector<SamiLanguage> languages;
  // The first language's timeline; the document's only one when no paragraph
  // names a class.
  std::vector<SamiCaption> captions;
};

// Reads a SAMI document:
//  - the STYLE elements before BODY declare the classes: rules ".KRCC { Name:
//    Korean; lang: ko-KR; }" (also "P.KRCC", several selectors split by ","),
//    properties quoted or not; "<!-- -->" and "/* */" around them are ignored;
//  - SYNC blocks are read from the BODY element on (from the start of the
//    document when there is none); "<!-- -->" comments are skipped anywhere;
//  - a block runs from its <SYNC ...> tag to the next SYNC tag, "</SYNC>",
//    "</BODY>", "</SAMI>" or the end of the input; a block without a
//    readable Start value (decimal digits, quoted or not) is skipped;
//  - a paragraph is the text from "<P" up to the next paragraph, "</P>" or the
//    end of the block, markup as written ("<P Class=ENCC>Hello<br>World"),
//    without comments, white space trimmed at both ends;
//  - a block's caption in a language is its paragraphs of that class, one
//    line each: the first as written, each further one's text after its
//    opening tag joined with "<br>" (the caption line break). A block with
//    no paragraph of the class gives its first paragraph without a Class
//    (such a paragraph belongs to every language), else its loose text
//    (before any paragraph), else no caption.
// Tag and attribute names and classes compare without regard to case;
// attribute values may be quoted with " or ' or not at all. Safe on any bytes,
// truncated documents included; linear in the input's size.
// Pure: no shared state, callable from any thread.
SamiDocument ParseSami(const uint8_t* data, size_t size);

}  // namespace velk
