// The standard choosers the option pages open: the colour chooser and the
// open-file chooser. Pages reach them through this seam so that a test can
// answer in their place; the program uses the system's own.
#pragma once

#include <windows.h>

#include <string>

#include "player/options/OptionsRules.h"

namespace velk::options {

class IOptionChoosers {
 public:
  virtual ~IOptionChoosers() = default;
  // True and the colour (0x00BBGGRR) when the user confirms.
  virtual bool ChooseColour(HWND owner, COLORREF& colour) = 0;
  // True and the chosen full path when the user confirms. The file must exist.
  virtual bool ChooseFile(HWND owner, const FileRequest& request, std::string& path) = 0;
};

// ChooseColor and GetOpenFileName.
class CSystemChoosers : public IOptionChoosers {
 public:
  bool ChooseColour(HWND owner, COLORREF& colour) override;
  bool ChooseFile(HWND owner, const FileRequest& request, std::string& path) override;

 private:
  COLORREF custom_[16] = {};  // the chooser's custom colours, kept between runs
};

// The system choosers of the program.
IOptionChoosers& SystemChoosers();

}  // namespace velk::options
