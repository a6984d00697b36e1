// Reading a SubRip (.srt) or WebVTT (.vtt) caption file beside a film into
// timed cues, and the cues into a caption timeline the player shows as it
// shows a SAMI file's: a text at each time, an empty text to clear.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/Utf8.h"

namespace velk {

enum class CaptionCueFormat : uint8_t { SubRip, WebVtt };

// Times past this (about 24 days) are taken as this.
constexpr int64_t kCaptionCueTimeMax = (int64_t{1} << 31) - 1;

// The longest cue text in bytes: lines that would make it longer are left
// out, and a first line longer than this is cut (in UTF-8 text in front of a
// character). Half of what the caption strip shows, so that two cues fit it.
constexpr size_t kCaptionCueTextMax = 1024;

struct CaptionCue {
  int64_t startMs = 0;
  int64_t endMs = 0;  // after startMs
  std::string text;   // the lines joined with "<br>", tags dropped, entities as written
};

struct CaptionCueDocument {
  TextEncoding encoding = TextEncoding::CodePage;
  // Texts are UTF-8 when the file has a byte-order mark (UTF-16 is
  // converted) or is valid UTF-8 with non-ASCII bytes, and otherwise the
  // file's own bytes in the user's legacy code page: convert accordingly.
  bool TextIsUtf8() const { return encoding != TextEncoding::CodePage; }
  std::vector<CaptionCue> cues;  // by start time; cues that start together in file order
};

// Reads a whole caption file:
//  - lines end at CR LF, LF or CR; a line of nothing but spaces and tabs
//    counts as blank;
//  - a cue starts at every line that holds a timing, "START --> END" with
//    any spaces around the arrow, each time "H:MM:SS,mmm" (hours of any
//    number of digits, minutes and seconds of one or two, below 60) or, with
//    the hours left out, "MM:SS,mmm"; '.' may stand for ','; exactly three
//    digits of milliseconds. What follows the end time after a space (SubRip
//    positions "X1:...", WebVTT settings "align:start") is ignored;
//  - the cue's text is the lines after its timing up to a blank line or the
//    next timing; a line of digits just before a timing is that cue's
//    counter, not text. Other lines (counters, WebVTT's header, identifiers
//    and NOTE, STYLE and REGION blocks, garbage) are skipped; a WebVTT file
//    without its "WEBVTT" line is read all the same;
//  - tags go, their contents stay: SubRip's <i> <b> <u> <font ...> and their
//    ends (any case; any other "<" is text, as in "a < b"), and in WebVTT
//    every "<...>" (<c.loud>, <v Anna>, <lang en>, <ruby>, <rt>, <00:01.000>),
//    a tag without ">" running to the end of its line. Entities ("&lt;")
//    stay as written for the caption cleaner. A line left empty is dropped;
//  - cues without text and cues that end at or before their start are
//    dropped; overlapping cues are kept.
// Safe on any bytes; time linear in the input's size but for the sort of the
// cues. Pure: callable from any thread.
CaptionCueDocument ReadCaptionCues(std::string_view bytes, CaptionCueFormat format);

// One change of the caption shown.
struct TimedCaptionText {
  int64_t timeMs = 0;
  // A paragraph as a SAMI caption event delivers it ("<P>Line one<br>two"),
  // for CleanCaptionText; empty to clear the caption.
  std::string text;
};

// Overlapping cues share the screen rather than take it from each other, as
// two speakers or a sign and a line do. At most this many at once, so that
// a file of many small cues over one long one gives a timeline no more than a
// fixed multiple of its size.
constexpr size_t kCaptionCuesShownMax = 2;

// The timeline of a document's cues: at each time a cue starts or ends, the
// texts of the cues showing then, joined with "<br>" in the order of their
// starts (of more, the kCaptionCuesShownMax latest to start), or an empty
// text when none shows. A change that shows the same text as before is left
// out; the times rise strictly.
std::vector<TimedCaptionText> CaptionEvents(const CaptionCueDocument& document);

}  // namespace velk
