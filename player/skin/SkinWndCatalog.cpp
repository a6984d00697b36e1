// CSkinWnd: the skin catalogue of the window's "&Skin" submenu.
#include "platform/framework/Handles.h"
#include "platform/framework/Menu.h"
#include "core/SettingsStore.h"
#include "player/app/SettingsTable.h"
#include "player/skin/SkinCatalog.h"
#include "player/skin/SkinWnd.h"

namespace velk {
namespace {

void AppendMatches(const std::string& pattern, std::vector<std::string>& names) {
  fw::CFindFile find(pattern.c_str());
  if (!find.Valid()) return;
  do {
    const WIN32_FIND_DATAA& found = find.Data();
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.emplace_back(found.cFileName);
  } while (find.Next());
}

}  // namespace

std::string CSkinWnd::GetSkinsDir() const { return SkinsDir(settings::ProgramFolder(settings_)); }

void CSkinWnd::EnumerateSkins() {
  skinList_.clear();
  const std::string dir = GetSkinsDir();
  AppendMatches(dir + "*.bmp", skinList_);
  AppendMatches(dir + "*.jpg", skinList_);
}

void CSkinWnd::BuildSkinMenu(HMENU submenu) {
  EnumerateSkins();
  fw::CMenuHandle menu(submenu);
  const int32_t checked = CheckedSkinIndex(skinList_, GetSkinsDir(), skinPath_);
  // Only the first files have command ids of their own.
  for (size_t i = 0; i < skinList_.size() && i < kMaxSkinItems; ++i) {
    const bool isChecked = static_cast<int32_t>(i) == checked;
    menu.AppendItem(static_cast<UINT>(ID_SKIN_FIRST + i), skinList_[i].c_str(), isChecked);
  }
  if (checked < 0) menu.CheckItemAt(0, true);  // "<Base Skin>", first in the resource
}

}  // namespace velk
