#include "core/StartupRules.h"

namespace velk {

std::optional<std::string> AppPathToRecord(
    const std::string& stored, const std::string& programName, const std::string& moduleFolder,
    const std::function<bool(const std::string& file)>& fileExists) {
  if (!stored.empty() && fileExists(stored + "\\" + programName + ".exe")) return std::nullopt;
  if (moduleFolder.empty() || moduleFolder == stored) return std::nullopt;
  return moduleFolder;
}

}  // namespace velk
