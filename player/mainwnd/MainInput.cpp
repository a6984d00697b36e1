#include "player/mainwnd/MainInput.h"

#include "shared/PlayerMessages.h"

namespace velk {

std::string CommandLineItem(const std::string& raw) {
  const char* blanks = " \t\r\n";
  const size_t first = raw.find_first_not_of(blanks);
  if (first == std::string::npos) return {};
  const size_t last = raw.find_last_not_of(blanks);
  std::string item = raw.substr(first, last - first + 1);
  if (item.size() >= 2 && item.front() == '"' && item.back() == '"' &&
      item.find('"', 1) == item.size() - 1) {
    item = item.substr(1, item.size() - 2);
  }
  return item;
}

KeyMapping MapMainWindowKey(uint32_t key, bool ctrlOrAlt) {
  // Virtual-key codes, so that this file needs no system header.
  constexpr uint32_t kReturn = 0x0D, kEscape = 0x1B, kSpace = 0x20, kLeft = 0x25, kUp = 0x26,
                     kRight = 0x27, kDown = 0x28, kDelete = 0x2E, kAdd = 0x6B, kSubtract = 0x6D;
  auto button = [](uint32_t id) { return KeyMapping{KeyAction::Button, id}; };
  if (ctrlOrAlt && ((key >= 'A' && key <= 'Z') || key == kSpace)) return {};
  switch (key) {
    case 'Z': return button(ID_BTN_PREV);
    case 'X': case kReturn: return button(ID_BTN_PLAY);
    case 'C': case kSpace: return button(ID_BTN_PAUSE);
    case 'V': case kEscape: return button(ID_BTN_STOP);
    case 'B': return button(ID_BTN_NEXT);
    case kDelete: case kSubtract: return button(ID_BTN_REMOVE);
    case kAdd: return button(ID_BTN_ADD);
    case kRight: return button(ID_BTN_VOLUP);
    case kLeft: return button(ID_BTN_VOLDOWN);
    case kUp: case kDown: return KeyMapping{KeyAction::FocusPlaylist, 0};
    default: return {};
  }
}

uint32_t MediaKeyButton(uint32_t appCommand, int engineState) {
  // APPCOMMAND_* values, so that this file needs no system header.
  constexpr uint32_t kVolumeDown = 9, kVolumeUp = 10, kNext = 11, kPrevious = 12, kStop = 13,
                     kPlayPause = 14, kPlay = 46, kPause = 47;
  constexpr int kStopped = 0, kRunning = 2;
  switch (appCommand) {
    case kVolumeDown: return ID_BTN_VOLDOWN;
    case kVolumeUp: return ID_BTN_VOLUP;
    case kNext: return ID_BTN_NEXT;
    case kPrevious: return ID_BTN_PREV;
    case kStop: return ID_BTN_STOP;
    case kPlayPause: return engineState == kStopped ? ID_BTN_PLAY : ID_BTN_PAUSE;
    case kPlay: return ID_BTN_PLAY;
    case kPause: return engineState == kRunning ? ID_BTN_PAUSE : 0;
    default: return 0;
  }
}

std::vector<std::string> ChosenFiles(const char* buffer, size_t size) {
  std::vector<std::string> pieces;
  size_t at = 0;
  while (at < size && buffer[at] != '\0') {
    size_t end = at;
    while (end < size && buffer[end] != '\0') ++end;
    pieces.emplace_back(buffer + at, end - at);
    at = end + 1;
  }
  if (pieces.size() <= 1) return pieces;
  std::string folder = pieces.front();
  if (folder.back() != '\\') folder += '\\';
  std::vector<std::string> files;
  files.reserve(pieces.size() - 1);
  for (size_t i = 1; i < pieces.size(); ++i) files.push_back(folder + pieces[i]);
  return files;
}

}  // namespace velk
