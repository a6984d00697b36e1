// The SAMI reader on any bytes: no crash, no overread (AddressSanitizer),
// captions only from SYNC blocks, texts trimmed.
#include <cstdint>
#include <cstdlib>

#include "platform/sami/SamiParser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  velk::SamiDocument doc = velk::ParseSami(data, size);
  for (const auto& c : doc.captions) {
    if (c.startMs < 0) std::abort();
    if (!c.text.empty() && (c.text.front() == ' ' || c.text.back() == ' ')) std::abort();
  }
  // A SAMI document of n bytes holds at most one caption per 7 bytes ("<SYNC ").
  if (doc.captions.size() > size / 6 + 1) std::abort();
  return 0;
}
