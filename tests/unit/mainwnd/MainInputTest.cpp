// The command-line item, the chosen files and the key presses of the main window.
#include <gtest/gtest.h>

#include "player/mainwnd/MainInput.h"
#include "player/skin/KeyPresses.h"

#include <string>
#include <vector>

namespace velk {
namespace {

TEST(CommandLineItem, QuotesAroundTheWholeTextAreRemovedAndNothingElse) {
  const struct {
    const char* raw;
    const char* item;
  } cases[] = {
      {"", ""},
      {"   ", ""},
      {"C:\\Music\\a b.mp3", "C:\\Music\\a b.mp3"},
      {"\"C:\\Music\\a b.mp3\"", "C:\\Music\\a b.mp3"},
      {"  \"C:\\x.m3u\" ", "C:\\x.m3u"},
      {"\"\"", ""},
      {"\"", "\""},                            // one quote alone is not a pair
      {"\"a\" \"b\"", "\"a\" \"b\""},          // two quoted names: left as they are
      {"\"C:\\a.mp3", "\"C:\\a.mp3"},          // unbalanced
      {"http://host/x.asf", "http://host/x.asf"},
  };
  for (const auto& c : cases) EXPECT_EQ(CommandLineItem(c.raw), c.item) << c.raw;
}

TEST(KeyPresses, AReleaseActsOnlyAfterAPressHere) {
  CKeyPresses keys;
  EXPECT_FALSE(keys.Released(0x1B));  // Esc pressed in a dialog, released over the player
  keys.Pressed(0x1B);
  EXPECT_TRUE(keys.Released(0x1B));
  EXPECT_FALSE(keys.Released(0x1B));  // one release per press
  keys.Pressed(0x1000);               // out of range: ignored, never acts
  EXPECT_FALSE(keys.Released(0x1000));
}

TEST(ChosenFiles, OnePathOrAFolderWithNames) {
  const char one[] = "C:\\Music\\a.mp3\0\0";
  EXPECT_EQ(ChosenFiles(one, sizeof(one)), std::vector<std::string>{"C:\\Music\\a.mp3"});
  const char several[] = "C:\\Music\0b.mp3\0a list.m3u\0\0";
  EXPECT_EQ(ChosenFiles(several, sizeof(several)),
            (std::vector<std::string>{"C:\\Music\\b.mp3", "C:\\Music\\a list.m3u"}));
  const char root[] = "C:\\\0x.wav\0y.wav\0\0";  // a drive root already ends with its backslash
  EXPECT_EQ(ChosenFiles(root, sizeof(root)), (std::vector<std::string>{"C:\\x.wav", "C:\\y.wav"}));
  const char unterminated[] = {'C', ':', '\\', 'a'};  // nothing is read past the buffer
  EXPECT_EQ(ChosenFiles(unterminated, sizeof(unterminated)), std::vector<std::string>{"C:\\a"});
  EXPECT_TRUE(ChosenFiles("\0\0", 2).empty());
}

}  // namespace
}  // namespace velk
