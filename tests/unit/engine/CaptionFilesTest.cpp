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

}  // namespace velk::engine
