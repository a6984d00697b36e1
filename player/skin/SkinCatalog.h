// The skin catalogue: skin pictures directly in the Skins folder beside the
// program, offered in each skinned window's "&Skin" submenu.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "player/res/ResourceIds.h"  // ID_SKIN_BASE ("<Base Skin>"), ID_SKIN_FIRST, ID_SKIN_LAST

namespace velk {

constexpr size_t kMaxSkinItems = ID_SKIN_LAST - ID_SKIN_FIRST + 1;

// The program folder + "\Skins\".
std::string SkinsDir(const std::string& appPath);

// The position in the skin list that a skin command chooses, or −1 for the
// base skin (the base item, or an id beyond the list).
int32_t SkinIndexOfCommand(uint32_t id, size_t listSize);

// The list position whose full path names the current skin (letter case
// ignored), or −1 when none does and the base item is checked.
int32_t CheckedSkinIndex(const std::vector<std::string>& names, const std::string& skinsDir,
                         const std::string& currentPath);

}  // namespace velk
