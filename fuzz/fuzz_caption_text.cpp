// Caption cleaning on any bytes, with the UTF-8 encoder, a Latin-1 code page
// and an encoder whose bytes outgrow short entities: never longer than the
// input or the caption buffer, no control bytes left but the CR LF of line
// breaks; with UTF-8, UTF-8 stays valid, text without tags or entities only
// loses its control bytes, and a caption of nothing but "&nbsp;" and spaces
// is empty.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/Utf8.h"
#include "core/CaptionText.h"

namespace {

std::string Latin1(char32_t c) { return c < 0x100 ? std::string(1, static_cast<char>(c)) : std::string(); }
std::string Wide(char32_t) { return "\x01wider"; }

void CheckCommon(std::string_view in, const std::string& out) {
  if (out.size() > velk::kCaptionTextMax || out.size() > in.size()) std::abort();
  for (size_t i = 0; i < out.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(out[i]);
    // Only the CR LF of a line break is below 0x1B.
    if (c < 0x1B && !(c == '\r' && i + 1 < out.size() && out[i + 1] == '\n') &&
        !(c == '\n' && i > 0 && out[i - 1] == '\r')) {
      std::abort();
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view in(reinterpret_cast<const char*>(data), size);
  std::string out = velk::CleanCaptionText(in);
  CheckCommon(in, out);
  CheckCommon(in, velk::CleanCaptionText(in, Latin1));
  CheckCommon(in, velk::CleanCaptionText(in, Wide));
  if (velk::IsUtf8(in) && !velk::IsUtf8(out)) std::abort();

  if (in.find('<') != std::string_view::npos) return 0;
  std::string plain;  // the input without control bytes
  bool nbsp = false, shown = false, entity = false;
  for (size_t i = 0; i < in.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(in[i]);
    if (c >= 0x1B) plain += static_cast<char>(c);
    if (in.compare(i, 6, "&nbsp;") == 0) {
      nbsp = true;
      i += 5;
    } else {
      entity |= c == '&';
      shown |= c >= 0x1B && c != ' ';
    }
  }
  if (nbsp && !shown && !out.empty()) std::abort();
  if (!entity && !nbsp && plain.compare(0, out.size(), out) != 0) std::abort();
  return 0;
}
