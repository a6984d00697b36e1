// The skinned window base of the player's top-level windows: a borderless
// pop-up that paints its frame from a skin picture, turns rectangles of its
// client area into buttons and hot regions that post their id to the window
// itself, moves by its title strip, resizes by its grip, snaps to and carries
// its dock partners, and keeps its skin and placement in its own settings section.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/framework/Wnd.h"
#include "core/SettingsStore.h"
#include "player/res/ResourceIds.h"
#include "player/skin/FrameSkinImage.h"
#include "player/skin/SkinControls.h"

namespace velk {

class CSkinWnd : public fw::CWnd {
 public:
  static constexpr uint16_t kBaseSkinResource = IDB_BASE_SKIN;
  static constexpr const char* kClassName = "VelkSkinWnd";

  // settings: the store that keeps the window's skin and place (the
  // program's own unless a caller gives another).
  explicit CSkinWnd(ISettingsStore& settings = AppSettings());
  ~CSkinWnd() override;

  // name: title and settings section. A non-empty skinPath replaces the
  // stored one. A dock partner becomes a partner and the window's owner.
  bool Create(const std::string& name, const std::string& skinPath, const FramePieceTable* frameTable,
              CSkinWnd* dockPartner);

  // The paint entry: frame, then every button. Windows with content override it.
  virtual void DrawWindow(HDC dc);
  // The frame over the whole client area, active when this is the active window.
  virtual void DrawFrame(HDC dc);

  // Loads the skin file, or the base skin when the file cannot be loaded (or
  // the window does not exist yet), and stores the path in use as
  // "SkinPathName". The result is the file's. Callers repaint.
  bool LoadSkin(const std::string& path);
  const std::string& GetSkinPath() const { return skinPath_; }
  CFrameSkinImage* GetFrameImage() const { return frame_.get(); }
  const std::string& GetSectionName() const { return section_; }
  // The client rectangle less the frame.
  RECT GetInnerRect() const;

  void AddButton(const SkinButton& button);
  void RemoveButton(uint32_t id);
  bool IsButton(uint32_t id) const { return controls_.IsButton(id); }
  bool GetButton(uint32_t id, SkinButton* button) const;
  uint32_t GetNotifyMask(uint32_t id) const { return controls_.GetNotifyMask(id); }
  void SetButtonState(uint32_t id, uint32_t state) { controls_.SetButtonState(id, state); }
  void SetHotRegion(const HotRegion& region) { controls_.SetHotRegion(region); }
  void RemoveHotRegion(uint32_t id) { controls_.RemoveHotRegion(id); }
  POINT GetRegionOrigin(uint32_t id, const RECT& client) const;
  uint32_t HitTest(int x, int y, const RECT& client) const;
  void DrawButtons(HDC dc, uint32_t pressedId, bool force);
  // The tooltip control: one tool that follows the button or region under the
  // pointer, with the text TipFor gives it.
  HWND ToolTip() const { return tip_; }

  // The stored placement, corrected to the screen; also reads the skin path.
  RECT LoadPlacement();
  void SavePlacement();
  // Whether the window's section holds a place yet (not on a first start).
  bool HasStoredPlacement() const;
  // The title strip in screen coordinates; empty before the skin is loaded.
  RECT GetTitleStripOnScreen() const;

  void AddDockPartner(CSkinWnd* partner);
  void RemoveDockPartner(CSkinWnd* partner);
  // Moves the window to the rectangle, snapped to the first partner that pulls it.
  void SnapMove(const RECT& rect);
  bool IsResizing() const { return resizing_; }
  bool IsMoving() const { return moving_; }

  // The skin catalogue: the skin pictures of the Skins folder beside the program.
  std::string GetSkinsDir() const;
  void EnumerateSkins();
  const std::vector<std::string>& GetSkinList() const { return skinList_; }
  // Rebuilds the list and appends one item per file, checking the current skin.
  void BuildSkinMenu(HMENU submenu);

  VELK_DECLARE_MESSAGE_TABLE()

 protected:
  bool OnCreate(fw::MsgArgs& m);
  bool OnDestroy(fw::MsgArgs& m);
  bool OnPaint(fw::MsgArgs& m);
  bool OnSize(fw::MsgArgs& m);
  bool OnActivate(fw::MsgArgs& m);
  bool OnGetMinMaxInfo(fw::MsgArgs& m);
  bool OnLButtonDown(fw::MsgArgs& m);
  bool OnLButtonUp(fw::MsgArgs& m);
  bool OnMouseMove(fw::MsgArgs& m);
  bool OnResizeDrag(fw::MsgArgs& m);
  bool OnMoveDrag(fw::MsgArgs& m);
  bool OnSkinCommand(fw::MsgArgs& m);

 protected:
  ISettingsStore& Settings() const { return settings_; }
  // The tooltip of a button or hot region; empty: none.
  virtual std::string TipFor(uint32_t /*region*/) const { return {}; }

 private:
  void HandleMouse(int event, fw::MsgArgs& m);
  RECT PlaceBeside(const CSkinWnd& partner, const RECT& placement) const;
  std::vector<struct DockPartner> PartnerRects() const;
  void WriteSkinPath();
  void CreateToolTip();
  void ShowTipFor(uint32_t region, const fw::MsgArgs& move);

  std::string section_;
  std::unique_ptr<CFrameSkinImage> frame_;
  std::string skinPath_;
  CSkinControls controls_;
  std::vector<CSkinWnd*> partners_;
  std::vector<std::string> skinList_;
  bool resizing_ = false;
  bool moving_ = false;
  // Where the pointer was at the last step of a resize or move drag.
  SkinPoint resizeAnchor_;
  SkinPoint moveAnchor_;
  ISettingsStore& settings_;
  HWND tip_ = nullptr;
  uint32_t tipRegion_ = kNoRegion;
};

}  // namespace velk
