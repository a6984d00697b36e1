#include "player/playlist/RecentLocations.h"

#include <algorithm>
#include <cstdio>

#include "player/app/SettingsTable.h"

namespace velk {

namespace {

std::string RecentKey(int k) {
  char key[32];
  std::snprintf(key, sizeof key, settings::kRecentUrlKeyFormat, k);
  return key;
}

}  // namespace

std::vector<std::string> LoadRecentLocations(const ISettingsStore& settings) {
  std::vector<std::string> items;
  for (int k = 0;; ++k) {
    std::string value = settings.GetString(settings::kRecentUrlSection, RecentKey(k), "");
    if (value.empty()) break;
    items.push_back(std::move(value));
  }
  return items;
}

void SaveRecentLocations(ISettingsStore& settings, std::vector<std::string>& items, const std::string& typed) {
  int limit = std::min(static_cast<int>(items.size()) + 1, kMaxRecentLocations);
  auto same = std::find_if(items.begin(), items.end(),
                           [&](const std::string& item) { return EqualNoCase(item, typed); });
  if (same != items.end()) {
    items.erase(same);
    --limit;
  }
  for (int k = 0; k < limit;) {
    const std::string& value = k == 0 ? typed : items[static_cast<size_t>(k - 1)];
    if (value.empty()) {
      --limit;
      continue;
    }
    settings.WriteString(settings::kRecentUrlSection, RecentKey(k), value);
    ++k;
  }
}

}  // namespace velk
