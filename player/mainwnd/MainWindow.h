// The player's main window.
#pragma once

#include "platform/framework/Wnd.h"

namespace velk {

class CMainWindow : public fw::CWnd {
 public:
  static constexpr const char* kWindowName = "Qorn mediaplayer";
  static constexpr const char* kClassName = "VelkMainWindow";

  bool Create();

  VELK_DECLARE_MESSAGE_TABLE()

 private:
  bool OnPaint(fw::MsgArgs& m);
};

}  // namespace velk
