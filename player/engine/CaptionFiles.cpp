#include "player/engine/CaptionFiles.h"

#include <algorithm>
#include <cstdlib>

#include "core/Paths.h"

namespace velk::engine {

std::string CaptionPathFor(std::string_view mediaPath) {
  if (mediaPath.empty()) return std::string();
  const size_t first = NameStart(mediaPath);
  const size_t dot = mediaPath.rfind('.');
  const size_t stem = (dot != std::string_view::npos && dot >= first) ? dot : mediaPath.size();
  std::string caption(mediaPath.substr(0, stem));
  caption += ".smi";
  return caption;
}

std::vector<CaptionFileCandidate> CaptionFilesFor(std::string_view mediaPath) {
  std::vector<CaptionFileCandidate> files;
  const std::string sami = CaptionPathFor(mediaPath);
  if (sami.empty()) return files;
  const std::string stem = sami.substr(0, sami.size() - 4);
  files.push_back({sami, CaptionFileKind::Sami});
  files.push_back({stem + ".srt", CaptionFileKind::SubRip});
  files.push_back({stem + ".vtt", CaptionFileKind::WebVtt});
  return files;
}

int32_t NextCaptionShift(int32_t shiftMs, int32_t stepMs) {
  if (stepMs == 0) return 0;
  const int64_t next = static_cast<int64_t>(shiftMs) + stepMs;
  return static_cast<int32_t>(std::clamp<int64_t>(next, -kCaptionShiftMostMs, kCaptionShiftMostMs));
}

std::string CaptionShiftNote(int32_t shiftMs) {
  if (shiftMs == 0) return "Captions in time";
  const int32_t ms = std::abs(shiftMs);
  std::string seconds = std::to_string(ms / 1000);
  if (ms % 1000 != 0) seconds += "." + std::to_string(ms % 1000 / 100);
  return "Captions " + seconds + " s " + (shiftMs < 0 ? "earlier" : "later");
}

void CCaptionTimeline::Load(std::vector<TimedCaptionText> texts) {
  std::stable_sort(texts.begin(), texts.end(),
                   [](const TimedCaptionText& a, const TimedCaptionText& b) { return a.timeMs < b.timeMs; });
  texts_ = std::move(texts);
}

int32_t CCaptionTimeline::IndexAt(int64_t positionMs, int64_t shiftMs) const {
  // Moved later by shiftMs, a text shows once the clock reaches its time plus
  // the shift.
  const int64_t at = positionMs - shiftMs;
  const auto after = std::upper_bound(texts_.begin(), texts_.end(), at,
                                      [](int64_t t, const TimedCaptionText& text) { return t < text.timeMs; });
  return static_cast<int32_t>(after - texts_.begin()) - 1;
}

const std::string& CCaptionTimeline::TextOf(int32_t index) const {
  static const std::string kNone;
  return index >= 0 && static_cast<size_t>(index) < texts_.size() ? texts_[static_cast<size_t>(index)].text
                                                                    : kNone;
}

std::vector<TimedCaptionText> SamiTimeline(const SamiDocument& document, int32_t index) {
  const std::vector<SamiCaption>* captions = &document.captions;
  if (!document.languages.empty()) {
    if (index < 0 || static_cast<size_t>(index) >= document.languages.size()) index = 0;
    captions = &document.languages[static_cast<size_t>(index)].captions;
  }
  std::vector<TimedCaptionText> texts;
  texts.reserve(captions->size());
  for (const SamiCaption& c : *captions) texts.push_back({c.startMs, c.text});
  return texts;
}

}  // namespace velk::engine
