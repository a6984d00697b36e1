#include "player/options/OptionChoosers.h"

#include <commdlg.h>

#include <vector>

namespace velk::options {

bool CSystemChoosers::ChooseColour(HWND owner, COLORREF& colour) {
  CHOOSECOLORA cc = {};
  cc.lStructSize = sizeof(cc);
  cc.hwndOwner = owner;
  cc.lpCustColors = custom_;
  cc.Flags = 0;  // nothing preselected
  if (!::ChooseColorA(&cc)) return false;
  colour = cc.rgbResult;
  return true;
}

bool CSystemChoosers::ChooseFile(HWND owner, const FileRequest& request, std::string& path) {
  // Room for a long path whatever the initial name; a longer initial name is
  // cut rather than overrunning the buffer.
  std::vector<char> file(32768, '\0');
  request.initialName.copy(file.data(), file.size() - 1);
  const std::string filter = ChooserFilter(request.filter);
  OPENFILENAMEA ofn = {};
  ofn.lStructSize = sizeof(ofn);
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = filter.c_str();
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  ofn.lpstrDefExt = request.defaultExt.empty() ? nullptr : request.defaultExt.c_str();
  ofn.Flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_EXPLORER;
  if (!::GetOpenFileNameA(&ofn)) return false;
  path = file.data();
  return !path.empty();
}

IOptionChoosers& SystemChoosers() {
  static CSystemChoosers choosers;
  return choosers;
}

}  // namespace velk::options
