#include "karvex/CaptionText.h"

#include <algorithm>

namespace velk {

std::string CleanCaptionText(std::string_view text) {
  // The opening paragraph tag of a SAMI caption ends at the first ">" after
  // the first "<". Without such a ">" the text is kept from the "<" on.
  size_t pos = 0;
  size_t lt = text.find('<');
  if (lt != std::string_view::npos) {
    size_t gt = text.find('>', lt);
    pos = gt != std::string_view::npos ? gt + 1 : lt;
  }
  // "&nbsp" clears the caption wherever it lies in the walked text, also
  // past the length the caption is cut to.
  if (text.find("&nbsp", pos) != std::string_view::npos) return std::string();

  std::string out;
  out.reserve(std::min(text.size() - pos, kCaptionTextMax));
  while (pos < text.size()) {
    unsigned char c = static_cast<unsigned char>(text[pos]);
    if (c < 0x1B) {
      ++pos;
      continue;
    }
    if (c == '<') {
      std::string_view rest = text.substr(pos);
      size_t tag = rest.substr(0, 4) == "<br>" ? 4 : rest.substr(0, 5) == "</br>" ? 5 : 0;
      if (tag != 0) {
        if (out.size() + 2 > kCaptionTextMax) break;
        out += "\r\n";
        pos += tag;
        continue;
      }
    }
    if (out.size() == kCaptionTextMax) break;
    out += static_cast<char>(c);
    ++pos;
  }
  return out;
}

}  // namespace velk
