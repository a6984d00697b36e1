// The SAMI reader on any bytes: no crash, no overread (AddressSanitizer),
// captions only from SYNC blocks, texts trimmed, every language's timeline
// alike.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "platform/sami/SamiParser.h"

namespace {

void CheckTimeline(const std::vector<velk::SamiCaption>& captions, size_t size) {
  for (const auto& c : captions) {
    if (c.startMs < 0) std::abort();
    if (!c.text.empty() && (c.text.front() == ' ' || c.text.back() == ' ')) std::abort();
  }
  // A SAMI document of n bytes holds at most one caption per 7 bytes ("<SYNC ").
  if (captions.size() > size / 6 + 1) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  velk::SamiDocument doc = velk::ParseSami(data, size);
  CheckTimeline(doc.captions, size);
  if (doc.languages.size() > velk::kSamiMaxLanguages) std::abort();
  for (const auto& language : doc.languages) {
    if (language.selector.empty()) std::abort();
    CheckTimeline(language.captions, size);
  }
  return 0;
}
