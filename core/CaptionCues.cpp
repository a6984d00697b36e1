#include "core/CaptionCues.h"

#include <algorithm>
#include <numeric>
#include <set>

namespace velk {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool IsBlankLine(std::string_view line) {
  return std::all_of(line.begin(), line.end(), IsBlank);
}

bool IsCounter(std::string_view line) {
  return !line.empty() && std::all_of(line.begin(), line.end(), IsDigit);
}

size_t SkipBlanks(std::string_view s, size_t p) {
  while (p < s.size() && IsBlank(s[p])) ++p;
  return p;
}

// Reads a decimal number of minDigits to maxDigits digits (0: any number) at
// *p. The value stops growing past a billion: no time is that long.
bool ReadNumber(std::string_view s, size_t* p, size_t minDigits, size_t maxDigits, int64_t* value) {
  const size_t start = *p;
  int64_t v = 0;
  while (*p < s.size() && IsDigit(s[*p])) {
    v = std::min<int64_t>(v * 10 + (s[*p] - '0'), 1000000000);
    ++*p;
  }
  const size_t digits = *p - start;
  *value = v;
  return digits >= minDigits && (maxDigits == 0 || digits <= maxDigits);
}

// "H:MM:SS,mmm" or "MM:SS.mmm" at *p, in milliseconds up to kCaptionCueTimeMax.
bool ReadTime(std::string_view s, size_t* p, int64_t* ms) {
  int64_t hours = 0, minutes = 0, seconds = 0, millis = 0;
  if (!ReadNumber(s, p, 1, 0, &minutes) || *p >= s.size() || s[(*p)++] != ':' ||
      !ReadNumber(s, p, 1, 2, &seconds)) {
    return false;
  }
  if (*p < s.size() && s[*p] == ':') {
    ++*p;
    hours = minutes;
    minutes = seconds;
    if (!ReadNumber(s, p, 1, 2, &seconds)) return false;
  }
  if (minutes >= 60 || seconds >= 60) return false;
  if (*p >= s.size() || (s[*p] != ',' && s[*p] != '.')) return false;
  ++*p;
  if (!ReadNumber(s, p, 3, 3, &millis)) return false;
  *ms = std::min(((hours * 60 + minutes) * 60 + seconds) * 1000 + millis, kCaptionCueTimeMax);
  return true;
}

bool ReadTiming(std::string_view line, int64_t* start, int64_t* end) {
  size_t p = SkipBlanks(line, 0);
  if (!ReadTime(line, &p, start)) return false;
  p = SkipBlanks(line, p);
  if (line.compare(p, 3, "-->") != 0) return false;
  p = SkipBlanks(line, p + 3);
  if (!ReadTime(line, &p, end)) return false;
  return p == line.size() || IsBlank(line[p]);
}

// Whether the "<" at `at` opens one of SubRip's tags: <i> <b> <u> <font ...>
// or their ends, in any case, closed by the ">" at `gt`.
bool IsSubRipTag(std::string_view line, size_t at, size_t gt) {
  if (gt == std::string_view::npos) return false;
  size_t p = at + 1;
  if (p < gt && line[p] == '/') ++p;
  size_t end = p;
  while (end < gt && Lower(line[end]) >= 'a' && Lower(line[end]) <= 'z') ++end;
  std::string name;
  for (size_t i = p; i < end && name.size() < 5; ++i) name += Lower(line[i]);
  if (name != "i" && name != "b" && name != "u" && name != "font") return false;
  return end == gt || IsBlank(line[end]);
}

// A line of cue text without its tags.
std::string DropTags(std::string_view line, CaptionCueFormat format) {
  std::string out;
  size_t gt = line.find('>');  // the first ">" at or after the walk; kept current for linear time
  for (size_t p = 0; p < line.size();) {
    if (line[p] != '<') {
      out += line[p++];
      continue;
    }
    if (gt != std::string_view::npos && gt < p) gt = line.find('>', p);
    if (format == CaptionCueFormat::WebVtt) {
      // No "<" in WebVTT text is a letter: a tag without ">" ends the line.
      p = gt == std::string_view::npos ? line.size() : gt + 1;
    } else if (IsSubRipTag(line, p, gt)) {
      p = gt + 1;
    } else {
      out += line[p++];
    }
  }
  return out;
}

// Line by line, at CR LF, LF or CR.
class CLines {
 public:
  explicit CLines(std::string_view text) : text_(text) {}
  bool Next(std::string_view* line) {
    if (pos_ >= text_.size()) return false;
    size_t end = text_.find_first_of("\r\n", pos_);
    if (end == std::string_view::npos) end = text_.size();
    *line = text_.substr(pos_, end - pos_);
    pos_ = end + (text_.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    return true;
  }

 private:
  std::string_view text_;
  size_t pos_ = 0;
};

// The cue being read, up to its blank line or the next timing.
class CCueText {
 public:
  void Begin(int64_t startMs, int64_t endMs) {
    cue_ = CaptionCue{startMs, endMs, std::string()};
    open_ = true;
    lastWasCounter_ = false;
  }
  bool IsOpen() const { return open_; }

  void Add(std::string_view line, CaptionCueFormat format, bool utf8) {
    lastWasCounter_ = IsCounter(line);
    beforeLast_ = cue_.text.size();
    std::string text = DropTags(line, format);
    if (IsBlankLine(text)) return;
    const size_t separator = cue_.text.empty() ? 0 : 4;
    if (cue_.text.size() + separator + text.size() > kCaptionCueTextMax) {
      if (separator != 0) return;
      size_t cut = kCaptionCueTextMax;
      while (utf8 && cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
      text.resize(cut);
    }
    if (separator != 0) cue_.text += "<br>";
    cue_.text += text;
  }

  // A counter line right before the next cue's timing is not this cue's text.
  void End(std::vector<CaptionCue>* cues, bool nextCueFollows) {
    if (!open_) return;
    open_ = false;
    if (nextCueFollows && lastWasCounter_) cue_.text.resize(beforeLast_);
    if (!cue_.text.empty() && cue_.endMs > cue_.startMs) cues->push_back(std::move(cue_));
  }

 private:
  CaptionCue cue_;
  bool open_ = false;
  bool lastWasCounter_ = false;
  size_t beforeLast_ = 0;
};

}  // namespace

CaptionCueDocument ReadCaptionCues(std::string_view bytes, CaptionCueFormat format) {
  CaptionCueDocument document;
  std::string converted;
  CLines lines(DecodeTextFile(bytes, &converted, &document.encoding));
  const bool utf8 = document.TextIsUtf8();
  CCueText cue;
  std::string_view line;
  while (lines.Next(&line)) {
    int64_t start = 0, end = 0;
    if (ReadTiming(line, &start, &end)) {
      cue.End(&document.cues, true);
      cue.Begin(start, end);
    } else if (IsBlankLine(line)) {
      cue.End(&document.cues, false);
    } else if (cue.IsOpen()) {
      cue.Add(line, format, utf8);
    }
  }
  cue.End(&document.cues, false);
  std::stable_sort(document.cues.begin(), document.cues.end(),
                   [](const CaptionCue& a, const CaptionCue& b) { return a.startMs < b.startMs; });
  return document;
}

std::vector<TimedCaptionText> CaptionEvents(const CaptionCueDocument& document) {
  const std::vector<CaptionCue>& cues = document.cues;
  std::vector<size_t> byEnd(cues.size());
  std::iota(byEnd.begin(), byEnd.end(), size_t{0});
  std::stable_sort(byEnd.begin(), byEnd.end(),
                   [&](size_t a, size_t b) { return cues[a].endMs < cues[b].endMs; });

  std::vector<TimedCaptionText> events;
  std::set<size_t> showing;  // by start, as the cues are
  std::string shown;
  size_t nextStart = 0, nextEnd = 0;
  while (nextEnd < cues.size()) {
    // A cue ends after it starts, so the next change is a start or an end.
    int64_t time = cues[byEnd[nextEnd]].endMs;
    if (nextStart < cues.size()) time = std::min(time, cues[nextStart].startMs);
    while (nextEnd < cues.size() && cues[byEnd[nextEnd]].endMs == time) showing.erase(byEnd[nextEnd++]);
    while (nextStart < cues.size() && cues[nextStart].startMs == time) showing.insert(nextStart++);

    std::string text;
    if (!showing.empty()) {
      auto first = showing.end();
      for (size_t n = 0; n < kCaptionCuesShownMax && first != showing.begin(); ++n) --first;
      text = "<P>";
      for (auto it = first; it != showing.end(); ++it) {
        if (it != first) text += "<br>";
        text += cues[*it].text;
      }
    }
    if (text != shown) {
      events.push_back({time, text});
      shown = std::move(text);
    }
  }
  return events;
}

}  // namespace velk
