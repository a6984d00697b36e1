// The player's main window: a skinned window with the transport and playlist
// buttons of its skin.
#pragma once

#include "player/skin/SkinWnd.h"

namespace velk {

class CMainWindow : public CSkinWnd {
 public:
  static constexpr const char* kWindowName = "Qorn mediaplayer";

  bool Create();
  void DrawWindow(HDC dc) override;

  VELK_DECLARE_MESSAGE_TABLE()

 private:
  bool OnCreate(fw::MsgArgs& m);
  bool OnSize(fw::MsgArgs& m);
  bool OnRButtonDown(fw::MsgArgs& m);
  bool OnCloseDot(fw::MsgArgs& m);
  bool OnMinimizeDot(fw::MsgArgs& m);

  void AddSeekStrip();
  void ShowPopupMenu(POINT client);
};

}  // namespace velk
