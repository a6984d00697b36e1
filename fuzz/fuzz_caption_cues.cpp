// The SubRip and WebVTT reader on any bytes, read as both formats: no crash,
// no overread (AddressSanitizer), every cue ends after it starts within the
// time limit and holds text within its limit, cues by start time, and a
// timeline whose times rise strictly, never clearing twice in a row.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/CaptionCues.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view in(reinterpret_cast<const char*>(data), size);
  for (auto format : {velk::CaptionCueFormat::SubRip, velk::CaptionCueFormat::WebVtt}) {
    velk::CaptionCueDocument doc = velk::ReadCaptionCues(in, format);
    for (size_t i = 0; i < doc.cues.size(); ++i) {
      const velk::CaptionCue& cue = doc.cues[i];
      if (cue.startMs < 0 || cue.endMs <= cue.startMs || cue.endMs > velk::kCaptionCueTimeMax) std::abort();
      if (cue.text.empty() || cue.text.size() > velk::kCaptionCueTextMax) std::abort();
      if (i > 0 && doc.cues[i - 1].startMs > cue.startMs) std::abort();
    }
    auto events = velk::CaptionEvents(doc);
    for (size_t i = 0; i < events.size(); ++i) {
      if (i > 0 && events[i - 1].timeMs >= events[i].timeMs) std::abort();
      if (i > 0 && events[i - 1].text == events[i].text) std::abort();
    }
    if (!events.empty() && (events.front().text.empty() || !events.back().text.empty())) std::abort();
  }
  return 0;
}
