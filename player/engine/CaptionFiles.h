// Caption helpers of the engine that need no window system: where the caption
// file of a media item lies, and how much of a caption fits the overlay's
// fixed text buffer.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace velk::engine {

// The SAMI caption file beside a media file: the same folder and base name with
// the extension ".smi" ("D:\clips\talk.avi" → "D:\clips\talk.smi"). Only the last
// extension of the file name is replaced; a name without one gets ".smi" added.
// Empty for an empty path.
std::string CaptionPathFor(std::string_view mediaPath);

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
