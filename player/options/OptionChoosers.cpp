#include "player/options/OptionChoosers.h"

#include <commdlg.h>

#include <vector>

#include "platform/framework/FileDialog.h"

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
  // cut rather than overrunning the buffer: it and its zero fit the dialog's
  // room, which leaves out the last two places.
  std::vector<char> file(fw::kOnePathRoom, '\0');
  request.initialName.copy(file.data(), file.size() - 3);
  const char* defaultExt = request.defaultExt.empty() ? nullptr : request.defaultExt.c_str();
  if (!fw::RunFileDialog(owner, ChooserFilter(request.filter), defaultExt, OFN_FILEMUSTEXIST, false, file)) {
    return false;
  }
  path = file.data();
  return !path.empty();
}

IOptionChoosers& SystemChoosers() {
  static CSystemChoosers choosers;
  return choosers;
}

}  // namespace velk::options
