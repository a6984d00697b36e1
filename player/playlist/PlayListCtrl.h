// The playlist view: a report-style list view, one column and no header,
// owner-drawn in the playlist colours with the playing row marked, on a plain
// colour or a picture background. The view holds the row texts and their
// selection itself and the list view only scrolls and asks for the rows it
// shows, so a list of 100,000 entries is filled, selected and painted as fast
// as a short one. Clicks and the arrow, page, home and end keys select as in
// any list; a double click sends NM_DBLCLK and LVN_ITEMACTIVATE to the parent
// as the platform list does. Rows can be dragged to a new place; key releases
// and right-button presses go on to the main window.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/framework/Gdi.h"
#include "platform/framework/Wnd.h"
#include "core/SettingsStore.h"
#include "player/app/SettingsTable.h"
#include "player/playlist/ListBackImage.h"
#include "player/playlist/PlayListView.h"
#include "player/playlist/RowSelection.h"

namespace velk {

class CPlayListCtrl : public fw::CWnd, public IPlayListView {
 public:
  static constexpr int kControlId = 100;
  // Where the view sits in the main window: right of the frame's left edge,
  // below its title bar.
  static constexpr POINT kPlaceInMainWindow{12, 20};

  // Reads the view's six settings.
  explicit CPlayListCtrl(ISettingsStore& settings);
  ~CPlayListCtrl() override;

  // The list view as a child of parent, with its column and background.
  bool Create(HWND parent, const RECT& rect, UINT id = kControlId);
  // The only column fills the view's width.
  void FitColumn();

  void SetBackgroundImage(const std::string& path) override;
  void SetBlankBackground();
  // Reads the six settings again and repaints.
  void ReloadSettings();

  void SelectRange(int32_t first, int32_t last);
  void SelectNone();
  void InvertSelection();
  // The insertion index for a drop at (x, y), y from the view's top.
  int32_t InsertIndexAt(int x, int y) const;
  // The view's context menu for a right-button press at mainClientPoint (main
  // window client coordinates); the chosen command goes to the main window;
  // repeatMode 1 checks "Repeat this".
  void ShowContextMenu(HWND mainWindow, POINT mainClientPoint, int32_t repeatMode);

  // The text drawn for a row `width` pixels wide in the dc's font: whole when
  // it fits with margin to spare, otherwise cut and ended with "...".
  static std::wstring FitText(HDC dc, const std::string& text, int width, int margin);

  // IPlayListView
  int32_t RowCount() const override { return static_cast<int32_t>(texts_.size()); }
  std::string RowText(int32_t row) const override;
  void SetRowText(int32_t row, const std::string& text) override;
  std::vector<int32_t> SelectedRows() const override;
  void SetSelectedRows(const std::vector<int32_t>& ascendingRows) override;
  void InsertRows(int32_t index, std::vector<std::string> texts) override;
  void RemoveRows(const std::vector<int32_t>& ascendingRows) override;
  void RemoveAllRows() override;
  void PermuteRowTexts(const std::vector<int32_t>& sources) override;
  int32_t PlayingIndex() const override { return playingIndex_; }
  void SetPlayingIndex(int32_t row) override;
  void RedrawRows(int32_t a, int32_t b) override;
  void RedrawAll() override;
  void ScrollIntoView(int32_t row) override;
  void SetTitle(const std::string& text) override;

  int32_t BkMode() const { return bkMode_; }
  const std::string& BkPath() const { return bkPath_; }
  bool HasBackgroundPicture() const { return picture_ != nullptr; }
  COLORREF TextNormalColour() const { return textNormalColour_; }
  COLORREF TextPlayingColour() const { return textPlayingColour_; }
  COLORREF BackNormalColour() const { return backNormalColour_; }
  COLORREF BackSelectedColour() const { return backSelectedColour_; }
  bool IsDragging() const { return dragging_; }
  // The tip a row shows while the pointer rests on it (empty: none), asked
  // again whenever the pointer moves onto another row.
  void SetRowTips(std::function<std::string(int32_t row)> tipOf) { tipOf_ = std::move(tipOf); }
  HWND ToolTip() const { return tip_; }
  // Ends a row drag in progress without telling the parent, giving back where
  // the dragged row went (from, to): the caller moves the entry itself before
  // it changes the entries, so rows and entries agree first. False when no
  // drag was under way.
  bool TakeDrag(int32_t& from, int32_t& to);

  VELK_DECLARE_MESSAGE_TABLE()

 protected:
  bool OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

 private:
  bool OnPaint(fw::MsgArgs& m);
  bool OnEraseBackground(fw::MsgArgs& m);
  bool OnSize(fw::MsgArgs& m);
  bool OnLButtonDown(fw::MsgArgs& m);
  bool OnLButtonDblClk(fw::MsgArgs& m);
  bool OnKeyDown(fw::MsgArgs& m);
  bool OnMouseMove(fw::MsgArgs& m);
  bool OnLButtonUp(fw::MsgArgs& m);
  bool OnCaptureChanged(fw::MsgArgs& m);
  bool OnRButtonDown(fw::MsgArgs& m);
  bool OnKeyUp(fw::MsgArgs& m);
  bool OnDestroy(fw::MsgArgs& m);

  void ReadSettings();
  void ApplyBackColour();
  void DrawItem(const DRAWITEMSTRUCT& item);
  void DrawRowBackground(int32_t row, HDC dc);
  void FillDisplayInfo(NMLVDISPINFOA& info) const;
  void BeginDrag(int32_t row);
  void UseSkinSizedFont();
  void SetListState(int32_t row, UINT state, UINT mask);
  void MirrorSelection();
  void ResyncMirror();
  void DragStep(int32_t from, int32_t to);
  // Tells the main window where the dragged entry went.
  void EndDrag();
  bool IsPictureShown() const { return bkMode_ == settings::kBackgroundPicture && picture_; }
  int32_t RowAt(POINT client) const;
  RECT RowBounds(int32_t row) const;
  // Repaints the rows first..last that are in sight.
  void RedrawRange(int32_t first, int32_t last);
  void SetListCount();
  // A message straight to the list view's own procedure.
  LRESULT List(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
  void NotifyParent(UINT code, int32_t row, POINT point);
  void ShowRowTip(int32_t row, const fw::MsgArgs& move);

  ISettingsStore& settings_;
  std::vector<std::string> texts_;
  CRowSelection selection_;
  std::unique_ptr<CListBackImage> picture_;
  fw::CGdiObject<HFONT> font_;
  // The selected states last copied to the list control, and its focus row.
  std::vector<uint8_t> mirrored_;
  int32_t mirroredFocus_ = -1;
  bool mirrorValid_ = false;  // the list's font at the skin's size, when the screen's differs
  int32_t playingIndex_ = 0;
  int32_t bkMode_ = settings::kBackgroundColour;
  std::string bkPath_;
  COLORREF textNormalColour_ = 0;
  COLORREF textPlayingColour_ = 0;
  COLORREF backNormalColour_ = 0;
  COLORREF backSelectedColour_ = 0;
  bool pressed_ = false;  // left button down on the view, a drag may follow
  POINT pressPoint_{};
  int32_t pressRow_ = -1;
  bool dragging_ = false;
  int32_t dragStart_ = -1;
  int32_t dragCurrent_ = -1;
  int32_t dragTarget_ = -1;
  std::function<std::string(int32_t row)> tipOf_;
  static constexpr UINT_PTR kRowTipTool = 1;
  HWND tip_ = nullptr;
  int32_t tipRow_ = -1;
};

}  // namespace velk
