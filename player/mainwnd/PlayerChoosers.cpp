#include "player/mainwnd/PlayerChoosers.h"

#include <commdlg.h>
#include <shlobj.h>

#include "platform/framework/FileDialog.h"
#include "platform/framework/Resources.h"
#include "platform/framework/Text.h"
#include "platform/framework/Wnd.h"
#include "player/mainwnd/MainInput.h"
#include "player/options/OptionsRules.h"
#include "player/playlist/AddLocationDlg.h"
#include "player/res/ResourceIds.h"

namespace velk {

namespace {

// Room the Add files dialog gives a selection of many files.
constexpr DWORD kLargeSelection = 65535;

std::string Filter(std::initializer_list<UINT> strings) {
  std::string text;
  for (UINT id : strings) text += fw::LoadResourceString(id);
  return options::ChooserFilter(text);
}

std::string MediaFilter() {
  return Filter({IDS_FILTER_ALL_SUPPORTED, IDS_FILTER_AVI, IDS_FILTER_QUICKTIME, IDS_FILTER_MPEG,
                 IDS_FILTER_AUDIO, IDS_FILTER_PLAYLIST, IDS_FILTER_ALL_FILES});
}

// One file, in an open dialog (it must exist) or a save dialog.
bool OneFile(HWND owner, UINT filterId, const char* defaultExt, bool save, std::string& path) {
  std::vector<char> file(fw::kOnePathRoom, '\0');
  if (!fw::RunFileDialog(owner, Filter({filterId}), defaultExt, save ? 0 : OFN_FILEMUSTEXIST, save, file)) {
    return false;
  }
  path = file.data();
  return !path.empty();
}

}  // namespace

// Add files and Open files alike: room for a long selection of many files.
bool CSystemPlayerChoosers::ChooseMediaFiles(HWND owner, std::vector<std::string>& files) {
  std::vector<char> buffer(kLargeSelection + 2, '\0');
  const DWORD flags = OFN_ALLOWMULTISELECT | OFN_FILEMUSTEXIST;
  if (!fw::RunFileDialog(owner, MediaFilter(), "m3u", flags, false, buffer)) {
    return false;
  }
  files = ChosenFiles(buffer.data(), buffer.size());
  return !files.empty();
}

bool CSystemPlayerChoosers::ChoosePlayListToOpen(HWND owner, std::string& path) {
  return OneFile(owner, IDS_FILTER_PLAYLIST, "m3u", false, path);
}

bool CSystemPlayerChoosers::ChoosePlayListToSave(HWND owner, std::string& path) {
  return OneFile(owner, IDS_FILTER_PLAYLIST, "m3u", true, path);
}

bool CSystemPlayerChoosers::ChooseBackgroundImage(HWND owner, std::string& path) {
  return OneFile(owner, IDS_FILTER_IMAGE, "bmp", false, path);
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
  // In UTF-16: a name of MAX_PATH characters may take three times as many
  // bytes in the player's UTF-8.
  wchar_t path[MAX_PATH] = {};
  const bool ok = ::SHGetPathFromIDListW(item, path) != FALSE;
  ::CoTaskMemFree(item);
  if (!ok || !path[0]) return false;
  folder = fw::Narrow(path);
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
