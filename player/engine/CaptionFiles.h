// Caption helpers of the engine that need no window system: where the caption
// file of a media item lies, the timeline of the captions the engine shows by
// the graph's clock, and how much of a caption fits the overlay's fixed text
// buffer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/CaptionCues.h"
#include "platform/sami/SamiParser.h"

namespace velk::engine {

// The SAMI caption file beside a media file: the same folder and base name with
// the extension ".smi" ("D:\clips\talk.avi" → "D:\clips\talk.smi"). Only the last
// extension of the file name is replaced; a name without one gets ".smi" added.
// Empty for an empty path.
std::string CaptionPathFor(std::string_view mediaPath);

// The caption files a media file may have beside it, in the order they are
// preferred: the same base name with ".smi", ".srt", then ".vtt".
enum class CaptionFileKind : uint8_t { Sami, SubRip, WebVtt };
struct CaptionFileCandidate {
  std::string path;
  CaptionFileKind kind;
};
std::vector<CaptionFileCandidate> CaptionFilesFor(std::string_view mediaPath);

// How far one step moves the captions in time, and how far they may go.
constexpr int32_t kCaptionShiftStepMs = 500;
constexpr int32_t kCaptionShiftMostMs = 600000;
// The shift after a step (negative: earlier), kept within the limits; a step
// of 0 puts the captions back in time.
int32_t NextCaptionShift(int32_t shiftMs, int32_t stepMs);
// "Captions 0.5 s earlier", "Captions 1 s later", "Captions in time".
std::string CaptionShiftNote(int32_t shiftMs);

// Captions the engine shows itself, by the position of the graph's clock:
// those of SubRip and WebVTT files, and a SAMI file's once moved in time.
// Each text shows from its time until the next one's.
class CCaptionTimeline {
 public:
  void Load(std::vector<TimedCaptionText> texts);
  void Clear() { texts_.clear(); }
  bool IsEmpty() const { return texts_.empty(); }
  // The text showing at positionMs when the captions are moved by shiftMs
  // (negative: earlier): its index, or -1 before the first.
  int32_t IndexAt(int64_t positionMs, int64_t shiftMs) const;
  const std::string& TextOf(int32_t index) const;

 private:
  std::vector<TimedCaptionText> texts_;  // by time
};

// One language of a SAMI document as a timeline: the language `index` of its
// classes, or its only timeline when it has none.
std::vector<TimedCaptionText> SamiTimeline(const SamiDocument& document, int32_t index);

inline bool IsHighSurrogate(unsigned unit) { return unit >= 0xD800 && unit <= 0xDBFF; }

// The longest prefix of a UTF-16 text (in code units) whose narrow form fits
// `limitBytes`. bytesFor(n) gives the narrow size of the first n units and must
// not shrink as n grows. Converting whole UTF-16 units never splits a double-byte
// character; the cut also never falls between the halves of a surrogate pair.
template <class Unit, class BytesFor>
size_t FittingPrefix(const Unit* text, size_t length, size_t limitBytes, BytesFor bytesFor) {
  if (bytesFor(length) <= limitBytes) return length;
  size_t lo = 0, hi = length;  // bytesFor(lo) fits (or lo is 0), bytesFor(hi) does not
  while (hi - lo > 1) {
    size_t mid = lo + (hi - lo) / 2;
    if (bytesFor(mid) <= limitBytes) {
      lo = mid;
    } else {
      hi = mid;
    }
  }
  if (lo > 0 && IsHighSurrogate(static_cast<unsigned>(text[lo - 1]))) --lo;
  return lo;
}

}  // namespace velk::engine
