#include "core/StartupRules.h"

namespace velk {

namespace {
size_t LastSeparator(const std::string& path) { return path.find_last_of("\\/"); }
}  // namespace

std::string FolderOfPath(const std::string& path) {
  size_t sep = LastSeparator(path);
  return sep == std::string::npos ? std::string() : path.substr(0, sep);
}

std::string BaseNameWithoutExtension(const std::string& path) {
  size_t sep = LastSeparator(path);
  std::string name = sep == std::string::npos ? path : path.substr(sep + 1);
  size_t dot = name.find_last_of('.');
  return dot == std::string::npos ? name : name.substr(0, dot);
}

std::optional<std::string> AppPathToRecord(
    const std::string& stored, const std::string& programName, const std::string& moduleFolder,
    const std::function<bool(const std::string& file)>& fileExists) {
  if (!stored.empty() && fileExists(stored + "\\" + programName + ".exe")) return std::nullopt;
  if (moduleFolder.empty() || moduleFolder == stored) return std::nullopt;
  return moduleFolder;
}

}  // namespace velk
