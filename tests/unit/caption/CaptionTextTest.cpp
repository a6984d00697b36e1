#include <gtest/gtest.h>

#include <string>

#include "core/CaptionText.h"

namespace velk {
namespace {

// A legacy code page that has Latin-1 only.
std::string Latin1(char32_t c) { return c < 0x100 ? std::string(1, static_cast<char>(c)) : std::string(); }

struct CleanCase {
  const char* name;
  std::string in;
  std::string out;
  CaptionCharEncoder encode = CaptionUtf8;
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
      {"nbsp between tags empties", "<P Class=KRCC>&nbsp;</P>", ""},
      {"nbsp among spaces and breaks empties", " &nbsp; <br>\r\n&nbsp", ""},
      {"nbsp in text is a space", "<P>A&nbsp;B", "A B"},
      {"nbsp beside a word is text", "<P>&nbsp;x", " x"},
      {"nbsp without semicolon in text stays", "<P>a&nbspb", "a&nbspb"},
      {"NBSP in capitals is text", "<P>a&NBSP;b", "a&NBSP;b"},
      {"nbsp after a lone lt is text", "<P>&nbsp;<", " <"},
      {"nbsp inside the first tag does not count", "<P title=&nbsp>Hi", "Hi"},
      {"French line", "<P Class=FRCC>Deux personnes ne venant la r&eacute;gion",
       "Deux personnes ne venant la r\xc3\xa9gion"},
      {"markup characters", "<P>Tom &amp; Jerry &lt;b&gt;&quot;&apos;", "Tom & Jerry <b>\"'"},
      {"decoded tags are text", "<P>&lt;br&gt;&amp;lt;", "<br>&lt;"},
      {"Latin-1 names, first to last", "<P>&iexcl;&Uuml;&szlig;&copy;&yuml;",
       "\xc2\xa1\xc3\x9c\xc3\x9f\xc2\xa9\xc3\xbf"},
      {"names are case-sensitive", "<P>&Eacute;&EACUTE;&Amp;", "\xc3\x89&EACUTE;&Amp;"},
      {"numbers", "<P>&#233;&#xE9;&#XE9;&#x4E2D;&#0065;&#x1F600;",
       "\xc3\xa9\xc3\xa9\xc3\xa9\xe4\xb8\xad" "A\xf0\x9f\x98\x80"},
      {"bad numbers stay", "<P>&#0;&#xD800;&#x110000;&#99999999999;&#;&#x;&#12a;&#x41",
       "&#0;&#xD800;&#x110000;&#99999999999;&#;&#x;&#12a;&#x41"},
      {"unknown or unended entities stay", "<P>&foo; &amp &eacutex; &", "&foo; &amp &eacutex; &"},
      {"decoded control character dropped", "<P>a&#10;b&#x1B;", "ab\x1b"},
      {"a code page without the character", "<P>&eacute;&#x4E2D;&amp;", "\xe9&#x4E2D;&", Latin1},
      {"lt without gt shows from the lt on", "Hello <world", "<world"},
      {"lone lt", "<", "<"},
      {"gt without lt stays", "a>b", "a>b"},
      {"gt before the first lt is not the tag's end", "a>b<P>c", "c"},
      {"tag ending the text", "<P>", ""},
      {"split tag is not a break", "<P>a<b\nr>b", "a<br>b"},
      {"NUL bytes dropped", std::string("<P>a\0b", 6), "ab"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CleanCaptionText(c.in, c.encode), c.out) << c.name;
  }
}

TEST(CaptionText, CutToTheBufferWithoutSplittingACharacter) {
  const std::string full(kCaptionTextMax, 'x'), short1(kCaptionTextMax - 1, 'x');
  const CleanCase cases[] = {
      {"cut where full", "<P>" + std::string(3000, 'x'), full},
      {"a break one byte past the limit is left out whole", "<P>" + short1 + "<br>z", short1},
      {"a decoded character is left out whole", "<P>" + short1 + "&eacute;", short1},
      {"a UTF-8 character is left out whole", "<P>" + short1 + "\xe4\xb8\xad", short1},
      {"code page bytes are cut where full", "<P>" + short1 + "\xb0\xa1\xff", short1 + "\xb0"},
      {"dropped bytes do not count", "<P>" + std::string(5000, '\n') + "abc", "abc"},
      {"nbsp past the limit still clears", "<P>" + std::string(4000, ' ') + "&nbsp;", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CleanCaptionText(c.in), c.out) << c.name;
  }
}

}  // namespace
}  // namespace velk
