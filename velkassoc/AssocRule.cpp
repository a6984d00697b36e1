#include "velkassoc/AssocRule.h"

#include <algorithm>
#include <cstring>

namespace velk::assoc {

bool NamesPlayerClass(const RegValue& value) {
  const auto* begin = reinterpret_cast<const char*>(value.data.data());
  const auto* end = begin + value.data.size();
  const char* zero = std::find(begin, end, '\0');
  return std::string_view(begin, static_cast<size_t>(zero - begin)) == kPlayerClass;
}

bool RecordsNoDefault(const RegValue& backup) {
  return backup.type == kNoDefaultType && backup.data.empty();
}

Restore RestoreOf(const std::optional<RegValue>& currentDefault, const std::optional<RegValue>& backup) {
  if (!currentDefault || !NamesPlayerClass(*currentDefault)) return {};
  if (!backup || RecordsNoDefault(*backup)) return {Restore::kRemove, {}};
  return {Restore::kWrite, *backup};
}

ProgramAndArguments SplitCommandLine(const std::string& commandLine) {
  const char* blanks = " \t";
  const size_t start = commandLine.find_first_not_of(blanks);
  if (start == std::string::npos) return {};
  ProgramAndArguments parts;
  size_t rest;
  if (commandLine[start] == '"') {
    const size_t close = commandLine.find('"', start + 1);
    parts.program = commandLine.substr(start + 1, close == std::string::npos ? std::string::npos : close - start - 1);
    rest = close == std::string::npos ? commandLine.size() : close + 1;
  } else {
    const size_t end = commandLine.find_first_of(blanks, start);
    parts.program = commandLine.substr(start, end == std::string::npos ? std::string::npos : end - start);
    rest = end == std::string::npos ? commandLine.size() : end;
  }
  const size_t first = commandLine.find_first_not_of(blanks, rest);
  if (first != std::string::npos) {
    parts.arguments = commandLine.substr(first, commandLine.find_last_not_of(blanks) - first + 1);
  }
  return parts;
}

}  // namespace velk::assoc
