#include <gtest/gtest.h>

#include <string>

#include "core/CaptionCues.h"
#include "core/CaptionText.h"

namespace velk {
namespace {

std::string Dump(const CaptionCueDocument& doc) {
  std::string s;
  for (const auto& c : doc.cues) {
    s += std::to_string(c.startMs) + "-" + std::to_string(c.endMs) + ":" + c.text + "|";
  }
  return s;
}

struct CueCase {
  const char* name;
  CaptionCueFormat format;
  std::string file;
  std::string cues;
};

constexpr auto kSrt = CaptionCueFormat::SubRip;
constexpr auto kVtt = CaptionCueFormat::WebVtt;

TEST(CaptionCues, Reading) {
  const CueCase cases[] = {
      {"times", kSrt,
       "1\n00:00:01,000 --> 00:00:02,500\nHi\n\n2\n1:02:03,004 --> 1:02:04,000\nLater\n",
       "1000-2500:Hi|3723004-3724000:Later|"},
      {"long hours, dot, spaces, position", kSrt, "100:00:00.001  -->100:00:00,002 X1:40 X2:600\nx",
       "360000001-360000002:x|"},
      {"three digits of milliseconds, minutes and seconds below 60", kSrt,
       "0:00:01,5 --> 0:00:02,000\na\n\n0:00:01,5000 --> 0:00:02,000\nb\n\n0:60:00,000 --> 1:00:00,000\nc\n\n"
       "0:00:61,000 --> 0:01:02,000\nd\n\n0:00:03,000 --> 0:00:04,000x\ne",
       ""},
      {"lines joined, CR LF", kSrt, "1\r\n00:00:01,000 --> 00:00:02,000\r\nOne\r\nTwo\r\n\r\n",
       "1000-2000:One<br>Two|"},
      {"CR only", kSrt, "1\r00:00:01,000 --> 00:00:02,000\rA\rB\r\r2\r00:00:03,000 --> 00:00:04,000\rC",
       "1000-2000:A<br>B|3000-4000:C|"},
      {"SubRip tags go, other < stays", kSrt,
       "0:00:01,000 --> 0:00:02,000\n<i>It</i> <B>is</B> <u>so</u> <FONT color=\"#f00\">red</font>\n"
       "a < b > c <br> <i.x> <bold>\n<i></i>",
       "1000-2000:It is so red<br>a < b > c <br> <i.x> <bold>|"},
      {"garbage, counters and a missing blank line", kSrt,
       "junk\n\n0:00:01,000 --> 0:00:02,000\na\n7\n0:00:03,000 --> 0:00:04,000\nb\n\nmore\njunk\n9\n"
       "0:00:05,000 --> 0:00:06,000\nc\n \t\nnot text",
       "1000-2000:a|3000-4000:b|5000-6000:c|"},
      {"empty, backwards and absurd cues", kSrt,
       "0:00:02,000 --> 0:00:02,000\nsame\n\n0:00:03,000 --> 0:00:01,000\nback\n\n"
       "0:00:05,000 --> 0:00:06,000\n\n"
       "99999999999999999999:00:00,000 --> 99999999999999999999:00:01,000\nfar\n\n"
       "0:00:01,000 --> 999999:00:00,000\nlong",
       "1000-2147483647:long|"},
      {"sorted by start, overlaps kept, ties in file order", kSrt,
       "0:00:05,000 --> 0:00:06,000\nlate\n\n0:00:01,000 --> 0:00:09,000\nlong\n\n"
       "0:00:01,000 --> 0:00:02,000\ntie",
       "1000-9000:long|1000-2000:tie|5000-6000:late|"},
      {"only garbage", kSrt, "hello\n-->\n1\n\n", ""},
      {"WebVTT blocks, identifiers, settings, tags", kVtt,
       "WEBVTT - Title\nKind: captions\n\nNOTE a note\n0:00:01,000\n\n"
       "STYLE\n::cue { color: red }\n\nREGION\nid:r\n\n"
       "intro\n00:01.000 --> 00:02.500 align:start position:10%\n<v Anna>Hi</v>\n\n"
       "00:00:03.000 --> 00:00:04.000\n"
       "<c.loud>big</c> <lang en>word</lang> <ruby>\xe6\xbc\xa2<rt>kan</rt></ruby> "
       "a<00:00:03.500>b\n",
       "1000-2500:Hi|3000-4000:big word \xe6\xbc\xa2kan ab|"},
      {"WebVTT entities are no tags", kVtt,
       "WEBVTT\n\n00:01.000 --> 00:02.000\n&lt;i&gt; &amp; <b>x</b>< unended",
       "1000-2000:&lt;i&gt; &amp; x|"},
      {"a long cue is cut in front of a character", kSrt,
       "0:00:01,000 --> 0:00:02,000\n" + std::string(1023, 'x') + "\xc3\xa9\nmore",
       "1000-2000:" + std::string(1023, 'x') + "|"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Dump(ReadCaptionCues(c.file, c.format)), c.cues) << c.name;
  }
}

TEST(CaptionCues, Encodings) {
  const std::string cue = "1\n00:00:01,000 --> 00:00:02,000\n";
  std::string utf16 = "\xFF\xFE";
  for (char16_t u : std::u16string(u"1\n00:00:01,000 --> 00:00:02,000\n\uC548\uB155")) {
    utf16 += static_cast<char>(u & 0xFF);
    utf16 += static_cast<char>(u >> 8);
  }
  const struct {
    const char* name;
    std::string file;
    TextEncoding encoding;
    std::string text;
  } rows[] = {
      {"UTF-8 mark", "\xEF\xBB\xBF" + cue + "Caf\xc3\xa9", TextEncoding::Utf8, "Caf\xc3\xa9"},
      {"UTF-16 LE", utf16, TextEncoding::Utf16Le, "\xec\x95\x88\xeb\x85\x95"},
      {"unmarked UTF-8", cue + "\xec\x95\x88", TextEncoding::Utf8Unmarked, "\xec\x95\x88"},
      {"CP949 stays as written", cue + "\xBE\xC8\xB3\xE7", TextEncoding::CodePage, "\xBE\xC8\xB3\xE7"},
  };
  for (const auto& r : rows) {
    CaptionCueDocument doc = ReadCaptionCues(r.file, kSrt);
    EXPECT_EQ(doc.encoding, r.encoding) << r.name;
    EXPECT_EQ(Dump(doc), "1000-2000:" + r.text + "|") << r.name;
  }
}

TEST(CaptionCues, Events) {
  const struct {
    const char* name;
    std::string file;  // cues "start end text" in seconds, one a line
    std::string events;
  } rows[] = {
      {"start shows, end clears", "1 2 A\n3 4 B", "1000:<P>A|2000:|3000:<P>B|4000:|"},
      {"back to back without a clear", "1 2 A\n2 3 B", "1000:<P>A|2000:<P>B|3000:|"},
      {"the same text twice shows once", "1 2 A\n2 3 A", "1000:<P>A|3000:|"},
      {"inside another", "1 4 A\n2 3 B", "1000:<P>A|2000:<P>A<br>B|3000:<P>A|4000:|"},
      {"crossing", "1 3 A\n2 4 B", "1000:<P>A|2000:<P>A<br>B|3000:<P>B|4000:|"},
      {"two at most, the latest", "1 9 A\n2 9 B\n3 9 C", "1000:<P>A|2000:<P>A<br>B|3000:<P>B<br>C|9000:|"},
      {"none", "", ""},
  };
  for (const auto& r : rows) {
    std::string srt;
    for (size_t p = 0; p < r.file.size(); p += 6) {
      srt += "0:00:0" + r.file.substr(p, 1) + ",000 --> 0:00:0" + r.file.substr(p + 2, 1) + ",000\n" +
             r.file.substr(p + 4, 1) + "\n\n";
    }
    std::string dump;
    for (const auto& e : CaptionEvents(ReadCaptionCues(srt, kSrt))) {
      dump += std::to_string(e.timeMs) + ":" + e.text + "|";
    }
    EXPECT_EQ(dump, r.events) << r.name;
  }
  // The cleaner drops the paragraph tag only, not a "<" of the text.
  auto events = CaptionEvents(ReadCaptionCues("0:00:01,000 --> 0:00:02,000\na < b\nx &amp; y", kSrt));
  ASSERT_FALSE(events.empty());
  EXPECT_EQ(CleanCaptionText(events[0].text), "a < b\r\nx & y");
}

}  // namespace
}  // namespace velk
