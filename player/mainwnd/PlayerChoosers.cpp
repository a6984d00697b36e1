#include "player/mainwnd/PlayerChoosers.h"

#include <commdlg.h>
#include <shlobj.h>

#include "platform/framework/Wnd.h"
#include "player/mainwnd/MainInput.h"
#include "player/options/OptionChoosers.h"
#include "player/options/OptionsRules.h"
#include "player/playlist/AddLocationDlg.h"
#include "player/res/ResourceIds.h"

namespace velk {

namespace {

// Room the Add files dialog gives a selection of many files.
constexpr DWORD kLargeSelection = 65535;
// The room a single chosen path needs, with some to spare for long names.
constexpr DWORD kOnePath = 32768;

std::string Filter(std::initializer_list<UINT> strings) {
  std::string text;
  for (UINT id : strings) text += options::LoadResourceString(id);
  return options::ChooserFilter(text);
}

std::string MediaFilter() {
  return Filter({IDS_FILTER_ALL_SUPPORTED, IDS_FILTER_AVI, IDS_FILTER_QUICKTIME, IDS_FILTER_MPEG,
                 IDS_FILTER_AUDIO, IDS_FILTER_PLAYLIST, IDS_FILTER_ALL_FILES});
}

bool OpenOne(HWND owner, UINT filterId, const char* defaultExt, std::string& path) {
  std::vector<char> file(kOnePath, '\0');
  const std::string filter = Filter({filterId});
  OPENFILENAMEA ofn = {};
  ofn.lStructSize = sizeof(ofn);
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = filter.c_str();
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  ofn.lpstrDefExt = defaultExt;
  ofn.Flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_EXPLORER;
  if (!::GetOpenFileNameA(&ofn)) return false;
  path = file.data();
  return !path.empty();
}

}  // namespace

// Add files and Open files alike: room for a long selection of many files.
bool CSystemPlayerChoosers::ChooseMediaFiles(HWND owner, std::vector<std::string>& files) {
  const std::string filter = MediaFilter();
  std::vector<char> buffer(kLargeSelection + 2, '\0');
  OPENFILENAMEA ofn = {};
  ofn.lStructSize = sizeof(ofn);
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = filter.c_str();
  ofn.lpstrFile = buffer.data();
  ofn.nMaxFile = kLargeSelection;
  ofn.lpstrDefExt = "m3u";
  ofn.Flags = OFN_ALLOWMULTISELECT | OFN_HIDEREADONLY | OFN_FILEMUSTEXIST | OFN_EXPLORER;
  if (!::GetOpenFileNameA(&ofn)) return false;
  files = ChosenFiles(buffer.data(), buffer.size());
  return !files.empty();
}

bool CSystemPlayerChoosers::ChoosePlayListToOpen(HWND owner, std::string& path) {
  return OpenOne(owner, IDS_FILTER_PLAYLIST, "m3u", path);
}

bool CSystemPlayerChoosers::ChoosePlayListToSave(HWND owner, std::string& path) {
  std::vector<char> file(kOnePath, '\0');
  const std::string filter = Filter({IDS_FILTER_PLAYLIST});
  OPENFILENAMEA ofn = {};
  ofn.lStructSize = sizeof(ofn);
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = filter.c_str();
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  ofn.lpstrDefExt = "m3u";
  ofn.Flags = OFN_HIDEREADONLY | OFN_EXPLORER;
  if (!::GetSaveFileNameA(&ofn)) return false;
  path = file.data();
  return !path.empty();
}

bool CSystemPlayerChoosers::ChooseBackgroundImage(HWND owner, std::string& path) {
  return OpenOne(owner, IDS_FILTER_IMAGE, "bmp", path);
}

bool CSystemPlayerChoosers::ChooseFolder(HWND owner, std::string& folder) {
  char display[MAX_PATH] = {};
  BROWSEINFOA info = {};
  info.hwndOwner = owner;
  info.pszDisplayName = display;
  info.lpszTitle = "Please select a folder to be added.";
  info.ulFlags = BIF_RETURNONLYFSDIRS;
  PIDLIST_ABSOLUTE item = ::SHBrowseForFolderA(&info);
  if (!item) return false;
  char path[MAX_PATH] = {};
  const bool ok = ::SHGetPathFromIDListA(item, path) != FALSE;
  ::CoTaskMemFree(item);
  if (!ok || !path[0]) return false;
  folder = path;
  return true;
}

bool CSystemPlayerChoosers::AskLocation(fw::CWnd* owner, std::string& typed) {
  CAddLocationDlg dialog(owner);
  if (dialog.DoModal() != IDOK) return false;
  typed = dialog.Location();
  return true;
}

IPlayerChoosers& SystemPlayerChoosers() {
  static CSystemPlayerChoosers choosers;
  return choosers;
}

}  // namespace velk
