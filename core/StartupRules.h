// Start-up decisions that need no window system: the program's name and the
// folder recorded as "AppPath".
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "core/Paths.h"

namespace velk {


// The folder to record as "AppPath", or nothing when the stored one still holds
// the program. A stored folder that is empty or no longer holds
// <folder>\<programName>.exe is replaced by the running program's own folder,
// so paths derived from it never fall back to the root of a drive.
std::optional<std::string> AppPathToRecord(
    const std::string& stored, const std::string& programName, const std::string& moduleFolder,
    const std::function<bool(const std::string& file)>& fileExists);

}  // namespace velk
