// The video window: a skinned window that adopts the graph's video renderer
// window, scales the picture (50 %, 100 %, 200 %, full screen, keep ratio),
// shows captions in a strip below the picture in caption mode Window, and
// hands its playback commands to the main window. It lives while an item with
// video is open; the main window creates and destroys it.
#pragma once

#include <windows.h>
#include <dshow.h>

#include <string>

#include "player/app/PlayerActions.h"
#include "player/engine/CaptionLanguages.h"
#include "player/skin/KeyPresses.h"
#include "player/skin/SkinWnd.h"
#include "player/video/VideoLayout.h"

namespace velk {

class CVideoFrameWindow : public CSkinWnd {
 public:
  static constexpr const char* kWindowName = "VideoWindow";

  // The renderer is borrowed: the engine holds it and releases it after this
  // window is gone.
  explicit CVideoFrameWindow(IVideoWindow* renderer, ISettingsStore& settings = AppSettings());
  ~CVideoFrameWindow() override;

  // Creates the window owned by, and docked to, `owner` (the main window).
  bool Create(CSkinWnd* owner);
  void DrawWindow(HDC dc) override;

  bool IsFullScreen() const { return fullScreen_; }
  bool KeepsAspect() const { return keepAspect_; }
  video::CaptionMode CaptionMode() const { return captionMode_; }
  const std::string& CaptionLine() const { return captionLine_; }
  SkinSize VideoSize() const { return videoSize_; }
  // Whether its context menu is open: the window is then inside its own
  // handler, and must outlive the menu loop.
  bool IsMenuOpen() const { return menuOpen_; }
  // Lets go of the renderer at once (the engine is about to release it) and
  // closes the menu; the window itself is destroyed afterwards by its owner.
  void Retire();
  // Where the caption strip is drawn, client coordinates; empty outside mode Window.
  RECT CaptionStrip() const;
  // The picture's window as it lies now, client coordinates.
  RECT PictureRect() const;

  // The size commands: 50, 100 or 200 percent of the native size.
  void ScaleTo(int percent);
  void EnterFullScreen();
  void LeaveFullScreen();
  void SetCaptionMode(video::CaptionMode mode);
  // Where the Caption menu's languages come from (the engine); may be null.
  void SetCaptionLanguages(ICaptionLanguages* languages) { languages_ = languages; }
  // Its menu as it is shown: marks, the skin list, the item's caption languages.
  void PrepareMenu(HMENU popup);
  // Shows the captions of a language of the playing item and remembers its code.
  void ChooseCaptionLanguage(int index);
  // The window's own actions (sizes, full screen, keep ratio, caption modes);
  // any other goes to the main window.
  void Perform(Action action);

  VELK_DECLARE_MESSAGE_TABLE()

 private:
  bool OnCreate(fw::MsgArgs& m);
  bool OnDestroy(fw::MsgArgs& m);
  bool OnSize(fw::MsgArgs& m);
  bool OnKeyDown(fw::MsgArgs& m);
  bool OnKeyUp(fw::MsgArgs& m);
  bool OnAppCommand(fw::MsgArgs& m);
  bool OnRButtonDown(fw::MsgArgs& m);
  bool OnActionCommand(fw::MsgArgs& m);
  bool OnActionMessage(fw::MsgArgs& m);
  bool OnResizeDrag(fw::MsgArgs& m);
  bool OnMoveDrag(fw::MsgArgs& m);
  bool OnOptionsChanged(fw::MsgArgs& m);
  bool OnCaptionText(fw::MsgArgs& m);
  bool OnCaptionLanguage(fw::MsgArgs& m);

  std::string TipFor(uint32_t region) const override { return TipOf(region, true); }
  // The area the picture and the strip share: the whole screen in full
  // screen, otherwise the inner area.
  RECT LayoutArea() const;
  void PlacePicture();
  void AdoptRenderer();
  void ReleaseRenderer();
  void DrawCaptionStrip(HDC dc);
  void AddCaptionLanguages(HMENU captionMenu);
  void ToggleKeepAspect();
  void PostToOwner(UINT message);
  // Moves the window so that its client area's bottom edge moves by `delta`.
  void GrowClientBottom(int32_t delta);

  IVideoWindow* renderer_;
  bool fullScreen_ = false;
  // The monitor covered in full screen, screen coordinates.
  RECT fullScreenRect_{};
  // A scale made smaller to fit its monitor keeps its entry checked while
  // the picture stays at the size it got.
  int limitedEntry_ = -1;
  SkinSize limitedPicture_{};
  bool menuOpen_ = false;
  RECT savedRect_{};
  SkinSize videoSize_{};
  bool keepAspect_ = false;
  video::CaptionMode captionMode_ = video::kCaptionNone;
  std::string captionLine_;
  CKeyPresses keyPresses_;
  ICaptionLanguages* languages_ = nullptr;
};

}  // namespace velk
