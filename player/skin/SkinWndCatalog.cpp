// CSkinWnd: the skin catalogue of the window's "&Skin" submenu.
#include "player/app/SettingsStore.h"
#include "player/app/SettingsTable.h"
#include "player/skin/SkinCatalog.h"
#include "player/skin/SkinWnd.h"

namespace velk {
namespace {

void AppendMatches(const std::string& pattern, std::vector<std::string>& names) {
  WIN32_FIND_DATAA found{};
  HANDLE find = ::FindFirstFileA(pattern.c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.emplace_back(found.cFileName);
  } while (::FindNextFileA(find, &found));
  ::FindClose(find);
}

}  // namespace

std::string CSkinWnd::GetSkinsDir() const { return SkinsDir(settings::GetAppPath(settings_)); }

void CSkinWnd::EnumerateSkins() {
  skinList_.clear();
  const std::string dir = GetSkinsDir();
  AppendMatches(dir + "*.bmp", skinList_);
  AppendMatches(dir + "*.jpg", skinList_);
}

void CSkinWnd::BuildSkinMenu(HMENU submenu) {
  EnumerateSkins();
  const int32_t checked = CheckedSkinIndex(skinList_, GetSkinsDir(), skinPath_);
  // Only the first files have command ids of their own.
  for (size_t i = 0; i < skinList_.size() && i < kMaxSkinItems; ++i) {
    const UINT flags = MF_STRING | (static_cast<int32_t>(i) == checked ? MF_CHECKED : MF_UNCHECKED);
    ::AppendMenuA(submenu, flags, ID_SKIN_FIRST + i, skinList_[i].c_str());
  }
  if (checked < 0) ::CheckMenuItem(submenu, 0, MF_BYPOSITION | MF_CHECKED);
}

}  // namespace velk
