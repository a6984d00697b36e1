#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/CaptionText.h"
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

// Two languages declared in the head, one declared but never used, one used
// without a declaration and one used before its declaration; paragraphs of
// one class in one block become the lines of one caption.
TEST(SamiParser, LanguagesAndTheirTimelines) {
  const std::string text =
      "<SAMI><HEAD><STYLE TYPE=\"text/css\"><!--\r\n"
      "P { margin-left: 8pt; font-size: 14pt; }\r\n"
      "/* .XXCC { Name: commented out; } */\r\n"
      ".KRCC { Name:Korean; lang:ko-KR; SAMIType:CC; }\r\n"
      "P.FRCC, #Source { Name: French; lang: fr-FR; }\r\n"
      ".ENCC { Name: \"English Captions\" ; lang: 'en-US'; SAMIType: CC; }\r\n"
      "--></STYLE></HEAD>\r\n<BODY>\r\n"
      "<SYNC Start=500><P Class = \"JPCC\">Konnichiwa\r\n"
      "<SYNC Start=1000><P Class=KRCC>Annyeong\r\n"
      "<SYNC Start=1200><P Class='ENCC' ID=Source>Narrator<P Class=ENCC>\r\n Great reason to visit Seattle</P>\r\n"
      "<SYNC Start=2000><P>&nbsp;\r\n"
      "<SYNC Start=2500><P Class=DECC>Hallo<P class=encc >Bye<p CLASS=KrCc>Annyeong<br>again\r\n"
      "<STYLE>.DECC { Name: German; lang: de-DE }</STYLE>\r\n"
      "<SYNC Start=3000>loose<P Class=DECC>Tschuess\r\n"
      "</BODY></SAMI>\r\n";
  SamiDocument doc = Parse(text);

  std::string table;
  for (const SamiLanguage& l : doc.languages) table += l.selector + "/" + l.name + "/" + l.lang + "|";
  EXPECT_EQ(table, "KRCC/Korean/ko-KR|ENCC/English Captions/en-US|JPCC//|DECC/German/de-DE|");
  ASSERT_EQ(doc.languages.size(), 4u);

  EXPECT_EQ(Dump(doc.languages[0].captions),
            "1000:<P Class=KRCC>Annyeong|2000:<P>&nbsp;|2500:<p CLASS=KrCc>Annyeong<br>again|3000:loose|");
  EXPECT_EQ(Dump(doc.languages[1].captions),
            "1200:<P Class='ENCC' ID=Source>Narrator<br>Great reason to visit Seattle|2000:<P>&nbsp;|"
            "2500:<P class=encc >Bye|3000:loose|");
  EXPECT_EQ(Dump(doc.languages[2].captions), "500:<P Class = \"JPCC\">Konnichiwa|2000:<P>&nbsp;|3000:loose|");
  EXPECT_EQ(Dump(doc.languages[3].captions),
            "2000:<P>&nbsp;|2500:<P Class=DECC>Hallo|3000:<P Class=DECC>Tschuess|");
  EXPECT_EQ(Dump(doc.captions), Dump(doc.languages[0].captions));

  // The joined paragraphs are two lines on the screen.
  EXPECT_EQ(CleanCaptionText(doc.languages[1].captions[0].text), "Narrator\r\nGreat reason to visit Seattle");
}

TEST(SamiParser, JoiningParagraphsOfOneClass) {
  const SamiCase cases[] = {
      {"empty first paragraph", "<SYNC Start=1><P Class=A></P><P Class=A>x<P Class=A>y",
       "1:<P Class=A>x<br>y|"},
      {"empty later paragraph", "<SYNC Start=1><P Class=A>x<P Class=A> </P><P Class=A>y",
       "1:<P Class=A>x<br>y|"},
      {"other class between", "<SYNC Start=1><P Class=A>x<P Class=B>z<P Class=A>y", "1:<P Class=A>x<br>y|"},
      {"comment between", "<SYNC Start=1><P Class=A>x<!-- <P Class=A>no --><P Class=A><!--c-->y",
       "1:<P Class=A>x<br>y|"},
      {"paragraph without class stands in", "<SYNC Start=1><P Class=B>z<SYNC Start=2><P>x<P Class=C>w<P>y",
       "1:<P Class=B>z|2:<P>x|"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Dump(Parse("<SAMI><BODY>" + c.body).captions), c.captions) << c.name;
  }
  // A document with very many classes keeps the first few as languages.
  std::string many = "<SAMI><BODY><SYNC Start=1>";
  for (int i = 0; i < 40; ++i) many += "<P Class=C" + std::to_string(i) + ">t";
  SamiDocument doc = Parse(many);
  ASSERT_EQ(doc.languages.size(), kSamiMaxLanguages);
  EXPECT_EQ(doc.languages.back().selector, "C" + std::to_string(kSamiMaxLanguages - 1));
}

// A document without a byte-order mark is UTF-8 only when every byte above
// 0x7F sits in a well-formed UTF-8 sequence.
TEST(SamiParser, UnmarkedUtf8) {
  struct Row {
    const char* name;
    std::string bytes;
    SamiEncoding encoding;
  } rows[] = {
      {"ASCII only", "Hello", SamiEncoding::CodePage},
      {"Korean in UTF-8", "\xEC\x95\x88\xEB\x85\x95\xED\x95\x98\xEC\x84\xB8\xEC\x9A\x94",
       SamiEncoding::Utf8Unmarked},
      {"Korean in CP949", "\xBE\xC8\xB3\xE7\xC7\xCF\xBC\xBC\xBF\xE4", SamiEncoding::CodePage},
      {"CP949 with a two-byte UTF-8 lead", "\xC7\xD1\xB1\xDB", SamiEncoding::CodePage},
      {"four-byte character", "\xF0\x9F\x98\x80", SamiEncoding::Utf8Unmarked},
      {"Latin-1 e acute before a blank", "caf\xE9 au lait", SamiEncoding::CodePage},
      {"Latin-1 e acute at the end", "caf\xE9", SamiEncoding::CodePage},
      {"Latin-1 A circumflex before a blank", "\xC2 x", SamiEncoding::CodePage},
      {"Latin-1 guillemets", "\xAB\xC7" "a\xBB", SamiEncoding::CodePage},
      {"UTF-8 cut short at the end", "ok \xEC\x95", SamiEncoding::CodePage},
      {"overlong slash", "\xC0\xAF", SamiEncoding::CodePage},
      {"overlong three-byte form", "\xE0\x80\xAF", SamiEncoding::CodePage},
      {"surrogate half", "\xED\xA0\x80", SamiEncoding::CodePage},
      {"beyond U+10FFFF", "\xF4\x90\x80\x80", SamiEncoding::CodePage},
      {"no such lead byte", "\xF8\x88\x80\x80\x80", SamiEncoding::CodePage},
      {"last code point", "\xF4\x8F\xBF\xBF", SamiEncoding::Utf8Unmarked},
  };
  for (const auto& r : rows) {
    const std::string text = "<SAMI><BODY><SYNC Start=1><P>" + r.bytes;
    SamiDocument doc = Parse(text);
    EXPECT_EQ(doc.encoding, r.encoding) << r.name;
    EXPECT_EQ(doc.TextIsUtf8(), r.encoding != SamiEncoding::CodePage) << r.name;
    EXPECT_EQ(Dump(doc.captions), "1:<P>" + r.bytes + "|") << r.name << ": bytes as they are";
  }
  // The mark still decides when there is one.
  EXPECT_EQ(Parse("\xEF\xBB\xBF<P>\xEC\x95\x88").encoding, SamiEncoding::Utf8);
}

TEST(SamiParser, NullInput) {
  EXPECT_TRUE(ParseSami(nullptr, 10).captions.empty());
}

}  // namespace
}  // namespace velk
