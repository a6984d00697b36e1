// The locations typed into "Add location" before, newest first, kept in the
// "RecentUrlList" section as "URL0", "URL1", ...
#pragma once

#include <string>
#include <vector>

#include "core/SettingsStore.h"

namespace velk {

inline constexpr int kMaxRecentLocations = 25;

// Values in key order up to the first missing or empty one; no upper bound.
std::vector<std::string> LoadRecentLocations(const ISettingsStore& settings);

// On OK: typed becomes URL0 and the listed ones follow in their order without
// the one it replaces (found ignoring case); at most 25 values are written,
// empty ones never. Keys past the new length keep their old values. items is
// the dialog's list and loses the replaced location.
void SaveRecentLocations(ISettingsStore& settings, std::vector<std::string>& items, const std::string& typed);

}  // namespace velk
