// What the main window makes of its start-up text and of key releases,
// without any window: the item named on the command line, and the button
// each key stands for.
#pragma once

#include <cstdint>
#include <cstddef>
#include <string>
#include <vector>

namespace velk {

// The item named by the raw command line: surrounding blanks dropped, and one
// pair of double quotes around the whole text removed (a shell association or
// a drag onto the program quotes the path; a file name never holds a quote).
// Empty when nothing was named.
std::string CommandLineItem(const std::string& raw);

// Key releases that act like a button: the button id, or 0 for the up and down
// arrows, which only move the keyboard focus to the playlist, and for any key
// that does nothing here. Letters count whatever the shift state; letters and
// Space do nothing while Ctrl or Alt is held (Ctrl+C is not a pause).
enum class KeyAction : uint8_t { None, Button, FocusPlaylist };
struct KeyMapping {
  KeyAction action = KeyAction::None;
  uint32_t button = 0;
};
KeyMapping MapMainWindowKey(uint32_t virtualKey, bool ctrlOrAlt = false);

// The button a media key stands for (the command of WM_APPCOMMAND), or 0.
// Play/pause pauses or resumes an open item and starts one otherwise; pause
// acts only on a running item. engineState: 0 stopped, 1 paused, 2 running.
uint32_t MediaKeyButton(uint32_t appCommand, int engineState);

// The full paths a several-files chooser returned in buffer: either one path,
// or the folder followed by each chosen name, every piece ending with a zero
// and the list with a second one. Nothing past size is read.
std::vector<std::string> ChosenFiles(const char* buffer, size_t size);

}  // namespace velk
