// The choosers the main window's playlist commands open: the media-file and
// playlist file dialogs, the background picture dialog, the folder browser and
// the "Add location" dialog. The window reaches them through this seam so that
// a test can answer in their place; the program uses the system's own.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace velk {

namespace fw {
class CWnd;
}

class IPlayerChoosers {
 public:
  virtual ~IPlayerChoosers() = default;
  // Several existing media or playlist files, full paths in the dialog's order.
  virtual bool ChooseMediaFiles(HWND owner, std::vector<std::string>& files) = 0;
  virtual bool ChoosePlayListToOpen(HWND owner, std::string& path) = 0;
  // The name to save the playlist as; an existing file is replaced.
  virtual bool ChoosePlayListToSave(HWND owner, std::string& path) = 0;
  virtual bool ChooseBackgroundImage(HWND owner, std::string& path) = 0;
  // A file-system folder, without a trailing backslash.
  virtual bool ChooseFolder(HWND owner, std::string& folder) = 0;
  // The text typed (or picked) in the "Add location" dialog, on "&Add".
  virtual bool AskLocation(fw::CWnd* owner, std::string& typed) = 0;
};

// GetOpenFileName, GetSaveFileName, SHBrowseForFolder and the location dialog.
class CSystemPlayerChoosers : public IPlayerChoosers {
 public:
  bool ChooseMediaFiles(HWND owner, std::vector<std::string>& files) override;
  bool ChoosePlayListToOpen(HWND owner, std::string& path) override;
  bool ChoosePlayListToSave(HWND owner, std::string& path) override;
  bool ChooseBackgroundImage(HWND owner, std::string& path) override;
  bool ChooseFolder(HWND owner, std::string& folder) override;
  bool AskLocation(fw::CWnd* owner, std::string& typed) override;
};

IPlayerChoosers& SystemPlayerChoosers();

}  // namespace velk
