#include <gtest/gtest.h>

#include <string>

#include "player/engine/CaptionFiles.h"
#include "player/engine/CaptionLanguages.h"

namespace velk::engine {
namespace {

TEST(CaptionPath, BesideTheMediaWithTheSameBaseName) {
  struct Row {
    const char* media;
    const char* caption;
  } rows[] = {
      {"D:\\clips\\talk.avi", "D:\\clips\\talk.smi"},
      {"D:\\clips\\talk.AVI", "D:\\clips\\talk.smi"},
      {"D:\\clips\\archive.part1.mpg", "D:\\clips\\archive.part1.smi"},
      {"D:\\my.clips\\talk", "D:\\my.clips\\talk.smi"},  // a dot in a folder is no extension
      {"talk.wav", "talk.smi"},
      {"C:talk.wav", "C:talk.smi"},
      {"\\\\server\\share\\a.b\\c.mp3", "\\\\server\\share\\a.b\\c.smi"},
      {"http://host/media/clip.asf", "http://host/media/clip.smi"},
      {"", ""},
  };
  for (const auto& r : rows) EXPECT_EQ(CaptionPathFor(r.media), r.caption) << r.media;
}

TEST(CaptionPath, LongPathsAreKeptWhole) {
  std::string folder = "C:\\" + std::string(400, 'f');
  EXPECT_EQ(CaptionPathFor(folder + "\\clip.avi"), folder + "\\clip.smi");
}

TEST(CaptionPath, SamiFirstThenSubRipThenWebVtt) {
  const auto files = CaptionFilesFor("D:\\clips\\film.avi");
  ASSERT_EQ(files.size(), 3u);
  EXPECT_EQ(files[0].path, "D:\\clips\\film.smi");
  EXPECT_EQ(files[1].path, "D:\\clips\\film.srt");
  EXPECT_EQ(files[2].path, "D:\\clips\\film.vtt");
  EXPECT_EQ(files[2].kind, CaptionFileKind::WebVtt);
  EXPECT_TRUE(CaptionFilesFor("").empty());
}

TEST(CaptionTimeline, TextsShowFromTheirTimeMovedByTheShift) {
  CCaptionTimeline timeline;
  timeline.Load({{4000, "<P>two"}, {1000, "<P>one"}, {2500, ""}});
  struct Row {
    int64_t position, shift;
    int32_t index;
  } rows[] = {
      {0, 0, -1},    {999, 0, -1},     {1000, 0, 0},   {2499, 0, 0},   {2500, 0, 1}, {9000, 0, 2},
      {500, -500, 0},                  // half a second earlier
      {1400, 500, -1}, {1500, 500, 0},  // half a second later
      {4000, -600000, 2},
  };
  for (const Row& r : rows) EXPECT_EQ(timeline.IndexAt(r.position, r.shift), r.index) << r.position << " " << r.shift;
  EXPECT_EQ(timeline.TextOf(0), "<P>one");
  EXPECT_EQ(timeline.TextOf(-1), "");
  EXPECT_EQ(timeline.TextOf(3), "");

  int32_t shift = 0;
  for (int step : {-500, -500, -500}) shift = NextCaptionShift(shift, step);
  EXPECT_EQ(CaptionShiftNote(shift), "Captions 1.5 s earlier");
  EXPECT_EQ(CaptionShiftNote(NextCaptionShift(shift, 0)), "Captions in time");
  EXPECT_EQ(CaptionShiftNote(2000), "Captions 2 s later");
  EXPECT_EQ(NextCaptionShift(kCaptionShiftMostMs, 500), kCaptionShiftMostMs);
}

TEST(CaptionTimeline, OneLanguageOfASamiDocument) {
  const char doc[] =
      "<SAMI><HEAD><STYLE><!-- .KRCC { lang:ko-KR; } .ENCC { lang:en-US; } --></STYLE></HEAD><BODY>"
      "<SYNC Start=2000><P Class=KRCC>b<P Class=ENCC>B<SYNC Start=1000><P Class=KRCC>a<P Class=ENCC>A</BODY></SAMI>";
  const SamiDocument sami = ParseSami(reinterpret_cast<const uint8_t*>(doc), sizeof(doc) - 1);
  CCaptionTimeline english;
  english.Load(SamiTimeline(sami, 1));
  EXPECT_NE(english.TextOf(english.IndexAt(1500, 0)).find('A'), std::string::npos);
  EXPECT_NE(english.TextOf(english.IndexAt(2000, 0)).find('B'), std::string::npos);
  EXPECT_EQ(SamiTimeline(sami, 7).size(), SamiTimeline(sami, 0).size());  // no such language: the first
}

// A double-byte code page in miniature: ASCII takes one byte, anything else two;
// a surrogate pair takes two as well, a lone half one substitute byte.
size_t DoubleByteSize(const std::u16string& text, size_t n) {
  size_t bytes = 0;
  for (size_t i = 0; i < n; ++i) {
    char16_t c = text[i];
    if (IsHighSurrogate(c)) {
      if (i + 1 < n) {
        ++i;
        bytes += 2;
      } else {
        bytes += 1;
      }
      continue;
    }
    bytes += c < 0x80 ? 1 : 2;
  }
  return bytes;
}

TEST(CaptionFit, CutsToTheLongestWholePrefix) {
  const std::u16string pair = u"\U0001F600";  // two code units
  struct Row {
    std::u16string text;
    size_t limit;
    size_t units;
  } rows[] = {
      {u"short", 1255, 5},
      {std::u16string(1255, u'a'), 1255, 1255},  // exactly full
      {std::u16string(1300, u'a'), 1255, 1255},
      {std::u16string(700, u'\u4E2D'), 1255, 627},  // no half of a double-byte character
      {std::u16string(1254, u'a') + pair + u"b", 1255, 1254},  // never half a pair
      {std::u16string(1253, u'a') + pair + u"b", 1255, 1255},  // the pair fits whole
      {u"\u4E2D", 1, 0},
      {u"", 0, 0},
  };
  for (const auto& r : rows) {
    auto size = [&](size_t n) { return DoubleByteSize(r.text, n); };
    const size_t got = FittingPrefix(r.text.data(), r.text.size(), r.limit, size);
    EXPECT_EQ(got, r.units) << r.text.size() << " units, limit " << r.limit;
    EXPECT_LE(size(got), r.limit);
    if (got > 0) {
      EXPECT_FALSE(IsHighSurrogate(r.text[got - 1]) && got < r.text.size());
    }
  }
}

}  // namespace
// A remembered language code picks the language with that code, else one of
// the same primary language, else none.
TEST(RememberedLanguage, PicksTheCodeThenThePrimaryLanguage) {
  const std::vector<CaptionLanguage> file = {
      {"Korean", "ko-KR", true}, {"English", "en-US", false}, {"British", "en-GB", false}, {"Notes", "", false}};
  const struct {
    const char* remembered;
    int index;
  } rows[] = {{"en-GB", 2}, {"EN-us", 1}, {"en", 1}, {"en-AU", 1}, {"ko", 0},
              {"fr-FR", -1}, {"", -1}, {"Notes", -1}};
  for (const auto& r : rows) EXPECT_EQ(RememberedLanguageIndex(file, r.remembered), r.index) << r.remembered;
  EXPECT_EQ(RememberedLanguageIndex({}, "ko-KR"), -1);
}

TEST(CaptionLanguages, MenuTextsShowAmpersandsAndStayShort) {
  EXPECT_EQ(CaptionMenuText("Tom & Jerry"), "Tom && Jerry");
  EXPECT_EQ(CaptionMenuText("Q&E"), "Q&&E");
  const std::string hangul = "\xED\x95\x9C";  // one character, three bytes
  std::string long_;
  for (size_t i = 0; i < kCaptionMenuNameMost + 5; ++i) long_ += hangul;
  const std::string shown = CaptionMenuText(long_);
  EXPECT_EQ(shown.size(), kCaptionMenuNameMost * hangul.size() + 3);
  EXPECT_EQ(shown.substr(shown.size() - 3), "\xE2\x80\xA6");
  EXPECT_EQ(CaptionMenuText(std::string(kCaptionMenuNameMost, 'a')), std::string(kCaptionMenuNameMost, 'a'));
}

}  // namespace velk::engine
