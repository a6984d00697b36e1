// Caption cleaning on any bytes: never longer than the input or the caption
// buffer, no control bytes left but the CR LF of line breaks, and a caption
// without tags that holds "&nbsp" is empty.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "karvex/CaptionText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view in(reinterpret_cast<const char*>(data), size);
  std::string out = velk::CleanCaptionText(in);
  if (out.size() > velk::kCaptionTextMax || out.size() > in.size()) std::abort();
  for (size_t i = 0; i < out.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(out[i]);
    // Only the CR LF of a line break is below 0x1B.
    if (c < 0x1B && !(c == '\r' && i + 1 < out.size() && out[i + 1] == '\n') &&
        !(c == '\n' && i > 0 && out[i - 1] == '\r')) {
      std::abort();
    }
  }
  if (in.find('<') == std::string_view::npos && in.find("&nbsp") != std::string_view::npos &&
      !out.empty()) {
    std::abort();
  }
  return 0;
}
