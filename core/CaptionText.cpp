#include "core/CaptionText.h"

#include <algorithm>
#include <cstdint>

#include "core/Utf8.h"

namespace velk {

namespace {

// The names of U+00A0 to U+00FF in order, as HTML spells them.
constexpr std::string_view kLatin1Names[] = {
    "nbsp",   "iexcl",  "cent",   "pound",  "curren", "yen",    "brvbar", "sect",   "uml",    "copy",
    "ordf",   "laquo",  "not",    "shy",    "reg",    "macr",   "deg",    "plusmn", "sup2",   "sup3",
    "acute",  "micro",  "para",   "middot", "cedil",  "sup1",   "ordm",   "raquo",  "frac14", "frac12",
    "frac34", "iquest", "Agrave", "Aacute", "Acirc",  "Atilde", "Auml",   "Aring",  "AElig",  "Ccedil",
    "Egrave", "Eacute", "Ecirc",  "Euml",   "Igrave", "Iacute", "Icirc",  "Iuml",   "ETH",    "Ntilde",
    "Ograve", "Oacute", "Ocirc",  "Otilde", "Ouml",   "times",  "Oslash", "Ugrave", "Uacute", "Ucirc",
    "Uuml",   "Yacute", "THORN",  "szlig",  "agrave", "aacute", "acirc",  "atilde", "auml",   "aring",
    "aelig",  "ccedil", "egrave", "eacute", "ecirc",  "euml",   "igrave", "iacute", "icirc",  "iuml",
    "eth",    "ntilde", "ograve", "oacute", "ocirc",  "otilde", "ouml",   "divide", "oslash", "ugrave",
    "uacute", "ucirc",  "uuml",   "yacute", "thorn",  "yuml",
};
static_assert(sizeof(kLatin1Names) / sizeof(kLatin1Names[0]) == 0x100 - 0xA0, "one name per character");

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsAlnum(char c) { return IsDigit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

int HexValue(char c) {
  if (IsDigit(c)) return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

char32_t NamedCharacter(std::string_view name) {
  if (name == "nbsp") return U' ';  // drawn as a plain space
  if (name == "amp") return U'&';
  if (name == "lt") return U'<';
  if (name == "gt") return U'>';
  if (name == "quot") return U'"';
  if (name == "apos") return U'\'';
  for (size_t i = 0; i < sizeof(kLatin1Names) / sizeof(kLatin1Names[0]); ++i) {
    if (kLatin1Names[i] == name) return static_cast<char32_t>(0xA0 + i);
  }
  return 0;
}

// The length of the entity that `text` starts with ("&...;"), and its
// character; 0 when it is none the player knows.
size_t ReadEntity(std::string_view text, char32_t* character) {
  size_t p = 1;
  if (p < text.size() && text[p] == '#') {
    ++p;
    const bool hex = p < text.size() && (text[p] == 'x' || text[p] == 'X');
    if (hex) ++p;
    const size_t digits = p;
    uint32_t value = 0;
    for (; p < text.size(); ++p) {
      const int d = hex ? HexValue(text[p]) : IsDigit(text[p]) ? text[p] - '0' : -1;
      if (d < 0) break;
      // Past U+10FFFF it stays past, without overflowing.
      value = std::min<uint32_t>(value * (hex ? 16 : 10) + d, 0x110000);
    }
    if (p == digits || p >= text.size() || text[p] != ';') return 0;
    if (value == 0 || value > 0x10FFFF || (value >= 0xD800 && value < 0xE000)) return 0;
    *character = value;
    return p + 1;
  }
  // The longest name is six letters; a longer run is no name.
  while (p < text.size() && p <= 7 && IsAlnum(text[p])) ++p;
  if (p >= text.size() || text[p] != ';') return 0;
  *character = NamedCharacter(text.substr(1, p - 1));
  return *character ? p + 1 : 0;
}

bool StartsNbsp(std::string_view text, size_t at) { return text.compare(at, 5, "&nbsp") == 0; }

// Whether the text shows nothing but "&nbsp": at least one, and besides them
// only spaces, dropped bytes and complete tags.
bool ShowsOnlyNbsp(std::string_view text) {
  bool nbsp = false;
  size_t p = 0;
  while (p < text.size()) {
    const unsigned char c = static_cast<unsigned char>(text[p]);
    if (c < 0x1B || c == ' ') {
      ++p;
    } else if (c == '<') {
      const size_t gt = text.find('>', p);
      if (gt == std::string_view::npos) return false;  // a lone "<" is shown
      p = gt + 1;
    } else if (StartsNbsp(text, p)) {
      nbsp = true;
      p += 5;
      if (p < text.size() && text[p] == ';') ++p;
    } else {
      return false;
    }
  }
  return nbsp;
}

}  // namespace

std::string CaptionUtf8(char32_t character) {
  std::string bytes;
  AppendUtf8(bytes, character);
  return bytes;
}

std::string CleanCaptionText(std::string_view text, CaptionCharEncoder encode) {
  if (!encode) encode = CaptionUtf8;
  // The opening paragraph tag of a SAMI caption ends at the first ">" after
  // the first "<". Without such a ">" the text is kept from the "<" on.
  size_t pos = 0;
  size_t lt = text.find('<');
  if (lt != std::string_view::npos) {
    size_t gt = text.find('>', lt);
    pos = gt != std::string_view::npos ? gt + 1 : lt;
  }
  if (ShowsOnlyNbsp(text.substr(pos))) return std::string();

  std::string out;
  out.reserve(std::min(text.size() - pos, kCaptionTextMax));
  std::string decoded;
  while (pos < text.size()) {
    const unsigned char c = static_cast<unsigned char>(text[pos]);
    if (c < 0x1B) {
      ++pos;
      continue;
    }
    std::string_view rest = text.substr(pos);
    std::string_view piece = rest.substr(0, 1);  // what goes out, whole or not at all
    size_t used = 1;
    if (c == '<') {
      const size_t tag = rest.substr(0, 4) == "<br>" ? 4 : rest.substr(0, 5) == "</br>" ? 5 : 0;
      if (tag != 0) {
        piece = "\r\n";
        used = tag;
      }
    } else if (c == '&') {
      char32_t character = 0;
      const size_t length = ReadEntity(rest, &character);
      if (length != 0) decoded = encode(character);
      // Never longer than the entity, so the result never outgrows the text.
      if (length != 0 && !decoded.empty() && decoded.size() <= length) {
        decoded.erase(std::remove_if(decoded.begin(), decoded.end(),
                                     [](char b) { return static_cast<unsigned char>(b) < 0x1B; }),
                      decoded.end());
        piece = decoded;
        used = length;
      }
    }
    if (out.size() + piece.size() > kCaptionTextMax) {
      // A cut in front of a continuation byte of UTF-8 text leaves out the
      // whole character. Text in a code page is cut where it is full.
      if (used == 1 && !StartsUtf8Character(text, pos) && IsUtf8(text)) {
        while (!out.empty() && !StartsUtf8Character(out, out.size() - 1)) out.pop_back();
        if (!out.empty()) out.pop_back();
      }
      break;
    }
    out += piece;
    pos += used;
  }
  return out;
}

}  // namespace velk
