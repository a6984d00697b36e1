#include "platform/framework/FileDialog.h"

#include <commdlg.h>

namespace velk::fw {

bool RunFileDialog(HWND owner, const std::string& filter, const char* defaultExt, DWORD flags, bool save,
                   std::vector<char>& buffer) {
  if (buffer.size() < 3) return false;
  OPENFILENAMEA ofn = {};
  ofn.lStructSize = sizeof(ofn);
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = filter.c_str();
  ofn.lpstrFile = buffer.data();
  ofn.nMaxFile = static_cast<DWORD>(buffer.size() - 2);
  ofn.lpstrDefExt = defaultExt;
  ofn.Flags = OFN_HIDEREADONLY | OFN_EXPLORER | flags;
  return save ? ::GetSaveFileNameA(&ofn) != FALSE : ::GetOpenFileNameA(&ofn) != FALSE;
}

}  // namespace velk::fw
