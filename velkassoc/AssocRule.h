// The rule by which velkassoc hands a file type back: an extension whose
// default value names the player's class gets back the value saved when the
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
// Handled in this order.
inline constexpr const char* kExtensions[] = {".mp3", ".avi", ".asf", ".mpg", ".m3u"};

struct RegValue {
  uint32_t type = 0;
  std::vector<uint8_t> data;
};

// True when a default value names the player's class: the text up to its first
// zero byte equals "Velk.File" exactly, case included.
bool NamesPlayerClass(const RegValue& value);

// What to write as the extension's default value, or nothing. A missing backup
// means the player never took the type over; a missing default is not the player's.
std::optional<RegValue> ValueToRestore(const std::optional<RegValue>& currentDefault,
                                       const std::optional<RegValue>& backup);

// A command line split into the program and the rest, for starting it through
// the shell: a quoted program name loses its quotes; blanks around the
// arguments go.
struct ProgramAndArguments {
  std::string program;
  std::string arguments;
};
ProgramAndArguments SplitCommandLine(const std::string& commandLine);

}  // namespace velk::assoc
