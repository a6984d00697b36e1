#include "player/mainwnd/MainInput.h"


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
