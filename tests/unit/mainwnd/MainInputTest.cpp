// The command-line item and the key table of the main window.
#include <gtest/gtest.h>

#include "player/mainwnd/MainInput.h"
#include "player/skin/KeyPresses.h"
#include "shared/PlayerMessages.h"

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

TEST(MapMainWindowKey, LettersAndKeysActAsTheirButtons) {
  const struct {
    uint32_t key;
    KeyAction action;
    uint32_t button;
  } cases[] = {
      {'Z', KeyAction::Button, ID_BTN_PREV},      {'X', KeyAction::Button, ID_BTN_PLAY},
      {0x0D, KeyAction::Button, ID_BTN_PLAY},     {'C', KeyAction::Button, ID_BTN_PAUSE},
      {0x20, KeyAction::Button, ID_BTN_PAUSE},    {'V', KeyAction::Button, ID_BTN_STOP},
      {0x1B, KeyAction::Button, ID_BTN_STOP},     {'B', KeyAction::Button, ID_BTN_NEXT},
      {0x2E, KeyAction::Button, ID_BTN_REMOVE},   {0x6D, KeyAction::Button, ID_BTN_REMOVE},
      {0x6B, KeyAction::Button, ID_BTN_ADD},      {0x27, KeyAction::Button, ID_BTN_VOLUP},
      {0x25, KeyAction::Button, ID_BTN_VOLDOWN},  {0x26, KeyAction::FocusPlaylist, 0},
      {0x28, KeyAction::FocusPlaylist, 0},        {'A', KeyAction::None, 0},
      {'z', KeyAction::None, 0},  // not a virtual-key code: letters arrive as capitals
  };
  for (const auto& c : cases) {
    const KeyMapping m = MapMainWindowKey(c.key);
    EXPECT_EQ(m.action, c.action) << c.key;
    EXPECT_EQ(m.button, c.button) << c.key;
  }
}

TEST(MapMainWindowKey, LettersAndSpaceDoNothingWithCtrlOrAlt) {
  for (uint32_t key : {uint32_t{'Z'}, uint32_t{'C'}, uint32_t{'V'}, uint32_t{0x20}}) {
    EXPECT_EQ(MapMainWindowKey(key, true).action, KeyAction::None) << key;
  }
  EXPECT_EQ(MapMainWindowKey(0x2E, true).button, ID_BTN_REMOVE);  // other keys keep their meaning
  EXPECT_EQ(MapMainWindowKey(0x0D, true).button, ID_BTN_PLAY);
}

TEST(MediaKeyButton, MediaKeysActAsTheTransportButtons) {
  const struct {
    uint32_t command;
    int state;
    uint32_t button;
  } cases[] = {
      {14, 0, ID_BTN_PLAY}, {14, 1, ID_BTN_PAUSE}, {14, 2, ID_BTN_PAUSE}, {46, 1, ID_BTN_PLAY},
      {47, 2, ID_BTN_PAUSE}, {47, 1, 0},          {47, 0, 0},           {13, 2, ID_BTN_STOP},
      {11, 0, ID_BTN_NEXT}, {12, 2, ID_BTN_PREV}, {10, 0, ID_BTN_VOLUP}, {9, 0, ID_BTN_VOLDOWN},
      {8, 2, 0},  // mute: the player has none
  };
  for (const auto& c : cases) EXPECT_EQ(MediaKeyButton(c.command, c.state), c.button) << c.command << "/" << c.state;
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
