#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/sami/SamiParser.h"
#include "tests/support/MediaGen.h"

namespace velk {
namespace {

SamiDocument Parse(const std::string& text) {
  return ParseSami(reinterpret_cast<const uint8_t*>(text.data()), text.size());
}

std::string Dump(const std::vector<SamiCaption>& captions) {
  std::string s;
  for (const auto& c : captions) s += std::to_string(c.startMs) + ":" + c.text + "|";
  return s;
}

TEST(SamiParser, GeneratedDocument) {
  SamiDocument doc = Parse(testmedia::MakeSami(testmedia::DefaultCaptions()));
  EXPECT_EQ(doc.encoding, SamiEncoding::CodePage);
  EXPECT_FALSE(doc.TextIsUtf8());
  EXPECT_EQ(Dump(doc.captions),
            "0:<P Class=ENCC>First caption|"
            "1000:<P Class=ENCC>Second line<br>with a break|"
            "2000:<P Class=ENCC>&nbsp;|");
}

struct SamiCase {
  const char* name;
  std::string body;  // placed inside <SAMI><BODY>...</BODY></SAMI> unless it starts with '!'
  std::string captions;
};

TEST(SamiParser, BlocksAndParagraphs) {
  const SamiCase cases[] = {
      {"odd case and quotes", "<sync start=\"10\"><p class='EN'>a<SyNc StArT = '20'><P CLASS=EN>b",
       "10:<p class='EN'>a|20:<P CLASS=EN>b|"},
      {"other attributes first", "<SYNC id=x Start=5 end=9><P id=1 Class=EN style=\"c\">a",
       "5:<P id=1 Class=EN style=\"c\">a|"},
      {"missing closing quote", "<SYNC Start=\"70><P>a", "70:<P>a|"},
      {"end tags end things", "<SYNC Start=1><P>a</P>junk</SYNC>between<SYNC Start=2><P>b</p>",
       "1:<P>a|2:<P>b|"},
      {"second language skipped", "<SYNC Start=1><P Class=EN>a<P Class=KR>b<SYNC Start=2><P Class=KR>c",
       "1:<P Class=EN>a|"},
      {"language chosen without regard to case",
       "<SYNC Start=1><P Class=EN>a<SYNC Start=2><P class=en>b", "1:<P Class=EN>a|2:<P class=en>b|"},
      {"paragraph without class belongs to every language",
       "<SYNC Start=1><P Class=EN>a<SYNC Start=2><P>b", "1:<P Class=EN>a|2:<P>b|"},
      {"only the first paragraph", "<SYNC Start=1><P>a<P>b", "1:<P>a|"},
      {"comments vanish", "<SYNC Start=1><!-- <SYNC Start=9><P>x --><P>a<!--c-->b",
       "1:<P>ab|"},
      {"markup kept", "<SYNC Start=3><P Class=EN><font color=red>Hi</font><br>there",
       "3:<P Class=EN><font color=red>Hi</font><br>there|"},
      {"white space trimmed", "<SYNC Start=3>\r\n  <P>  a b \r\n\t", "3:<P>  a b|"},
      {"loose text", "<SYNC Start=4>&nbsp;<SYNC Start=5>\r\n", "4:&nbsp;|"},
      {"paragraph wins over loose text", "<SYNC Start=4>x<P>a", "4:<P>a|"},
      {"no start, no caption", "<SYNC><P>a<SYNC Start=abc><P>b<SYNC Start=-5><P>c<SYNC Start=6><P>d",
       "6:<P>d|"},
      {"digits then junk", "<SYNC Start=\" 12ms\"><P>a", "12:<P>a|"},
      {"file order kept", "<SYNC Start=500><P>a<SYNC Start=100><P>b", "500:<P>a|100:<P>b|"},
      {"huge start saturates", "<SYNC Start=99999999999999999999999><P>a",
       "9007199254740992:<P>a|"},
      {"!no body element", "<SYNC Start=1><P>a", "1:<P>a|"},
      {"!head is not read", "<HEAD><SYNC Start=1><P>x</HEAD><BODY><SYNC Start=2><P>a", "2:<P>a|"},
      {"!truncated in a tag", "<BODY><SYNC Start=1><P>a<SYNC Sta", "1:<P>a|"},
      {"!truncated in a comment", "<BODY><SYNC Start=1><P>a<!-- b", "1:<P>a|"},
      {"!truncated in a paragraph tag", "<BODY><SYNC Start=1><P Class=E", "1:<P Class=E|"},
      {"!empty", "", ""},
      {"!no tags", "just text", ""},
  };
  for (const auto& c : cases) {
    std::string text = c.body[0] == '!' ? c.body.substr(1)
                                        : "<SAMI><HEAD></HEAD><BODY>" + c.body + "</BODY></SAMI>";
    if (c.name[0] == '!') text = c.body;
    EXPECT_EQ(Dump(Parse(text).captions), c.captions) << c.name;
  }
}

TEST(SamiParser, ByteOrderMarks) {
  const std::string body = "<SAMI><BODY><SYNC Start=7><P>Caf\xc3\xa9 \xf0\x9f\x98\x80</SAMI>";
  const std::string expected = "7:<P>Caf\xc3\xa9 \xf0\x9f\x98\x80|";

  SamiDocument utf8 = Parse("\xEF\xBB\xBF" + body);
  EXPECT_EQ(utf8.encoding, SamiEncoding::Utf8);
  EXPECT_TRUE(utf8.TextIsUtf8());
  EXPECT_EQ(Dump(utf8.captions), expected);

  // The same text in UTF-16, both byte orders; U+1F600 as a surrogate pair.
  const std::u16string wide = u"<SAMI><BODY><SYNC Start=7><P>Caf\u00e9 \U0001F600</SAMI>";
  for (bool bigEndian : {false, true}) {
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (char16_t u : wide) {
      const char hi = static_cast<char>(u >> 8), lo = static_cast<char>(u & 0xFF);
      bytes += bigEndian ? std::string{hi, lo} : std::string{lo, hi};
    }
    bytes += 'x';  // an odd last byte is no character
    SamiDocument doc = Parse(bytes);
    EXPECT_EQ(doc.encoding, bigEndian ? SamiEncoding::Utf16Be : SamiEncoding::Utf16Le);
    EXPECT_EQ(Dump(doc.captions), expected);
  }

  // An unpaired surrogate becomes U+FFFD.
  std::string lone = "\xFF\xFE";
  for (char16_t u : std::u16string(u"<SYNC Start=1><P>a") + char16_t(0xD800) + u"b") {
    lone += static_cast<char>(u & 0xFF);
    lone += static_cast<char>(u >> 8);
  }
  EXPECT_EQ(Dump(Parse(lone).captions), "1:<P>a\xef\xbf\xbd" "b|");

  // Code-page bytes pass as they are.
  EXPECT_EQ(Dump(Parse("<SYNC Start=1><P>\xb0\xa1\xe9").captions), "1:<P>\xb0\xa1\xe9|");
}

TEST(SamiParser, NullInput) {
  EXPECT_TRUE(ParseSami(nullptr, 10).captions.empty());
}

}  // namespace
}  // namespace velk
