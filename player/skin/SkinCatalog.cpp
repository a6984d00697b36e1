#include "player/skin/SkinCatalog.h"

#include "core/SettingsStore.h"

namespace velk {

std::string SkinsDir(const std::string& appPath) { return appPath + "\\Skins\\"; }

int32_t SkinIndexOfCommand(uint32_t id, size_t listSize) {
  // Compared as an index below the size, so an empty list never wraps round.
  if (id < ID_SKIN_FIRST || id > ID_SKIN_LAST) return -1;
  const size_t index = id - ID_SKIN_FIRST;
  return index < listSize ? static_cast<int32_t>(index) : -1;
}

int32_t CheckedSkinIndex(const std::vector<std::string>& names, const std::string& skinsDir,
                         const std::string& currentPath) {
  if (currentPath.empty()) return -1;
  for (size_t i = 0; i < names.size() && i < kMaxSkinItems; ++i) {
    if (EqualNoCase(skinsDir + names[i], currentPath)) return static_cast<int32_t>(i);
  }
  return -1;
}

}  // namespace velk
