#include <gtest/gtest.h>

#include <string>

#include "karvex/CaptionText.h"

namespace velk {
namespace {

struct CleanCase {
  const char* name;
  std::string in;
  std::string out;
};

TEST(CaptionText, CleaningRules) {
  const CleanCase cases[] = {
      {"paragraph tag goes", "<P Class=ENCC>Hello", "Hello"},
      {"plain text stays", "Hello", "Hello"},
      {"empty", "", ""},
      {"br breaks the line", "<P Class=ENCC>Hello<br>World", "Hello\r\nWorld"},
      {"closing br too", "<P>Hello</br>World", "Hello\r\nWorld"},
      {"BR in capitals stays", "<P>Hello<BR>World", "Hello<BR>World"},
      {"Br mixed case stays", "<P>a<Br>b</BR>c", "a<Br>b</BR>c"},
      {"only the first tag goes", "<P>a<i>b</i>", "a<i>b</i>"},
      {"text before the first tag goes with it", "x<P>y", "y"},
      {"control bytes dropped", "<P>\tHel\rlo\n Wo\x01rld\x1a", "Hello World"},
      {"escape byte kept", "<P>a\x1b" "b", "a\x1b" "b"},
      {"high bytes kept", "<P>Caf\xe9 \xb0\xa1\xff", "Caf\xe9 \xb0\xa1\xff"},
      {"nbsp empties", "<P Class=ENCC>&nbsp;", ""},
      {"nbsp anywhere empties", "<P>Hello &nbsp;World", ""},
      {"nbsp without semicolon empties", "<P>a&nbspb", ""},
      {"NBSP in capitals is text", "<P>a&NBSP;b", "a&NBSP;b"},
      {"other entities stay", "<P>a&amp;b&", "a&amp;b&"},
      {"nbsp inside the first tag does not count", "<P title=&nbsp>Hi", "Hi"},
      {"lt without gt shows from the lt on", "Hello <world", "<world"},
      {"lone lt", "<", "<"},
      {"gt without lt stays", "a>b", "a>b"},
      {"gt before the first lt is not the tag's end", "a>b<P>c", "c"},
      {"tag ending the text", "<P>", ""},
      {"split tag is not a break", "<P>a<b\nr>b", "a<br>b"},
      {"NUL bytes dropped", std::string("<P>a\0b", 6), "ab"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CleanCaptionText(c.in), c.out) << c.name;
  }
}

TEST(CaptionText, CutToTheBufferWithoutSplittingALineBreak) {
  std::string longText = "<P>" + std::string(3000, 'x');
  EXPECT_EQ(CleanCaptionText(longText), std::string(kCaptionTextMax, 'x'));

  // A break that would end one byte past the limit is left out whole.
  std::string text = "<P>" + std::string(kCaptionTextMax - 1, 'y') + "<br>z";
  std::string cleaned = CleanCaptionText(text);
  EXPECT_EQ(cleaned, std::string(kCaptionTextMax - 1, 'y'));

  // Dropped bytes do not count against the limit.
  std::string padded = "<P>" + std::string(5000, '\n') + "abc";
  EXPECT_EQ(CleanCaptionText(padded), "abc");

  // "&nbsp" past the cut still clears the caption.
  EXPECT_EQ(CleanCaptionText("<P>" + std::string(4000, 'x') + "&nbsp;"), "");
}

}  // namespace
}  // namespace velk
