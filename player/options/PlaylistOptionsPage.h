// The "Playlist" page: the four colours of the playlist view, its background
// mode and its background picture.
#pragma once

#include <string>

#include "player/options/OptionPage.h"

namespace velk::options {

class CPlaylistOptionsPage : public COptionPage {
 public:
  explicit CPlaylistOptionsPage(IOptionChoosers& choosers);

  const std::string& BackgroundPath() const { return bkPath_; }

  bool DoDataExchange(bool saving) override;

  VELK_DECLARE_MESSAGE_TABLE()

 protected:
  bool OnInitDialog() override;

 private:
  bool OnChangeBackground(fw::MsgArgs& m);
  bool OnColourMode(fw::MsgArgs& m);
  bool OnBitmapMode(fw::MsgArgs& m);
  void WriteMode(int32_t mode);

  std::string bkPath_;
};

}  // namespace velk::options
