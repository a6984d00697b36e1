// The "Skin" page: the skin pictures of the main window and the video window,
// and the four colours of the main window's displays.
#pragma once

#include <string>

#include "player/options/OptionPage.h"

namespace velk::options {

class CSkinOptionsPage : public COptionPage {
 public:
  explicit CSkinOptionsPage(IOptionChoosers& choosers);

  const std::string& MainSkinPath() const { return mainSkin_; }
  const std::string& VideoSkinPath() const { return videoSkin_; }

  bool DoDataExchange(bool saving) override;

  VELK_DECLARE_MESSAGE_TABLE()

 private:
  bool OnChangeMainSkin(fw::MsgArgs& m);
  bool OnBaseMainSkin(fw::MsgArgs& m);
  bool OnChangeVideoSkin(fw::MsgArgs& m);
  bool OnBaseVideoSkin(fw::MsgArgs& m);
  // Asks for a picture file; on confirmation stores it for the window.
  void ChooseSkin(std::string& path, const settings::TextSetting& setting);
  void SetSkin(std::string& path, const settings::TextSetting& setting, const std::string& value);

  std::string mainSkin_;
  std::string videoSkin_;
};

}  // namespace velk::options
