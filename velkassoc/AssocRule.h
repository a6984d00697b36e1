// The rule by which velkassoc hands a file type back: an extension whose
// default value names the player's class gets back what it had before the
// player took it over. Registry values arrive as raw bytes with their type.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velk::assoc {

inline constexpr const char* kPlayerClass = "Velk.File";
inline constexpr const char* kBackupValue = "Velk_Back";
// The command line of a run that gives the types back and starts nothing.
inline constexpr const char* kTypesOnlySwitch = "/types";
// Handled in this order.
inline constexpr const char* kExtensions[] = {".mp3", ".avi", ".asf", ".mpg", ".m3u"};

struct RegValue {
  uint32_t type = 0;
  std::vector<uint8_t> data;
};

// True when a default value names the player's class: the text up to its first
// zero byte equals "Velk.File" exactly, case included.
bool NamesPlayerClass(const RegValue& value);

// The record the installer keeps for a type that had no default value: a
// value with no type and no data, so that none is written back.
inline constexpr uint32_t kNoDefaultType = 0;  // REG_NONE
bool RecordsNoDefault(const RegValue& backup);

// What becomes of an extension's default value when the player goes.
struct Restore {
  enum Kind { kLeave, kWrite, kRemove } kind = kLeave;
  RegValue value;  // for kWrite
};

// A default naming the player's class gets back the owner saved when the
// player took the type over, or loses its default where the record says there
// was none or where there is no record (the player's class goes away with it).
// Any other default belongs to someone else and is left alone.
Restore RestoreOf(const std::optional<RegValue>& currentDefault, const std::optional<RegValue>& backup);

// A command line split into the program and the rest, for starting it through
// the shell: a quoted program name loses its quotes; blanks around the
// arguments go.
struct ProgramAndArguments {
  std::string program;
  std::string arguments;
};
ProgramAndArguments SplitCommandLine(const std::string& commandLine);

}  // namespace velk::assoc
