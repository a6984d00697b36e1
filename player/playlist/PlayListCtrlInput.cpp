// The playlist view's selection, mouse, keys, row drags and menu: what the
// user does to the rows, kept in step with the list control's own states.
#include "player/playlist/PlayListCtrl.h"

#include <commctrl.h>

#include <algorithm>

#include "platform/framework/Menu.h"
#include "platform/framework/Text.h"
#include "platform/framework/ToolTip.h"
#include "player/app/PlayerActions.h"
#include "player/playlist/PlayListViewMath.h"
#include "player/res/ResourceIds.h"
#include "shared/PlayerMessages.h"

namespace velk {

void CPlayListCtrl::SelectRange(int32_t first, int32_t last) {
  selection_.SelectRange(first, last);
  MirrorSelection();
  RedrawRange(first, last);
  if (m_hWnd) ::SetFocus(m_hWnd);
}

void CPlayListCtrl::SelectNone() {
  selection_.SelectNone();
  MirrorSelection();
  if (m_hWnd) Invalidate(false);
}

void CPlayListCtrl::InvertSelection() {
  selection_.Invert();
  MirrorSelection();
  if (m_hWnd) Invalidate(false);
}

int32_t CPlayListCtrl::RowAt(POINT client) const {
  LVHITTESTINFO hit{};
  hit.pt = client;
  const auto row = static_cast<int32_t>(List(LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
  return row >= 0 && row < RowCount() && (hit.flags & LVHT_ONITEM) ? row : -1;
}

int32_t CPlayListCtrl::InsertIndexAt(int /*x*/, int y) const {
  if (texts_.empty() || !m_hWnd) return 0;
  const RECT first = RowBounds(0);
  return velk::InsertIndexAt(RowCount(), first.top, first.bottom - first.top, y);
}

// The list control's own item states ----------------------------------------------
//
// The selection lives here, beside the texts; the control gets a copy of its
// selected and focused states, so screen readers and LVM_GETSELECTEDCOUNT see
// them. Only what changed since the last copy is sent: selecting or clearing
// every row is one message whatever the count.

void CPlayListCtrl::SetListState(int32_t row, UINT state, UINT mask) {
  LVITEMA item{};
  item.stateMask = mask;
  item.state = state;
  List(LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

// Rows came or went. The control keeps an owner-data list's states by row
// number, dropping those past its new count: the copy is taken to be that,
// and only the rows whose state now differs are sent.
void CPlayListCtrl::ResyncMirror() {
  mirrored_.resize(static_cast<size_t>(RowCount()), 0);
  if (mirroredFocus_ >= RowCount()) mirroredFocus_ = -1;
  MirrorSelection();
}

namespace {
// Up to this many state changes go to the control with its drawing on.
constexpr size_t kQuietChanges = 64;
}  // namespace

void CPlayListCtrl::MirrorSelection() {
  if (!m_hWnd) return;
  const std::vector<uint8_t>& now = selection_.Bits();
  if (!mirrorValid_) {
    List(WM_SETREDRAW, FALSE);
    SetListState(-1, 0, LVIS_SELECTED);
    List(WM_SETREDRAW, TRUE);
    mirrored_.assign(now.size(), 0);
    mirroredFocus_ = -1;
    mirrorValid_ = true;
  }
  size_t selected = 0, changed = 0;
  for (size_t i = 0; i < now.size(); ++i) {
    selected += now[i] != 0;
    changed += (now[i] != 0) != (mirrored_[i] != 0);
  }
  // The control repaints every row it changes: it is told nothing of many
  // changes until they are all made (the view paints its rows itself).
  const bool many = changed > kQuietChanges;
  if (many) List(WM_SETREDRAW, FALSE);
  if (changed > 1 && (selected == now.size() || selected == 0)) {
    SetListState(-1, selected ? LVIS_SELECTED : 0, LVIS_SELECTED);  // all at once
    mirrored_ = now;
  } else if (changed > 0) {
    for (size_t i = 0; i < now.size(); ++i) {
      if ((now[i] != 0) == (mirrored_[i] != 0)) continue;
      SetListState(static_cast<int32_t>(i), now[i] ? LVIS_SELECTED : 0, LVIS_SELECTED);
      mirrored_[i] = now[i];
    }
  }
  if (many) List(WM_SETREDRAW, TRUE);
  const int32_t focus = selection_.Focus();
  if (focus != mirroredFocus_ && focus >= 0 && focus < RowCount()) {
    SetListState(focus, LVIS_FOCUSED, LVIS_FOCUSED);
    mirroredFocus_ = focus;
  }
}

// Mouse and keys ----------------------------------------------------------------

bool CPlayListCtrl::OnLButtonDown(fw::MsgArgs& m) {
  ::SetFocus(m_hWnd);
  const POINT pt = m.Point();
  const int32_t row = RowAt(pt);
  selection_.Click(row, (m.wParam & MK_CONTROL) != 0, (m.wParam & MK_SHIFT) != 0);
  MirrorSelection();
  Invalidate(false);
  pressed_ = row >= 0;
  pressPoint_ = pt;
  pressRow_ = row;
  if (pressed_) ::SetCapture(m_hWnd);
  return true;
}

void CPlayListCtrl::NotifyParent(UINT code, int32_t row, POINT point) {
  HWND parent = ::GetParent(m_hWnd);
  if (!parent) return;
  NMITEMACTIVATE info{};
  info.hdr.hwndFrom = m_hWnd;
  info.hdr.idFrom = static_cast<UINT_PTR>(::GetDlgCtrlID(m_hWnd));
  info.hdr.code = code;
  info.iItem = row;
  info.ptAction = point;
  ::SendMessageA(parent, WM_NOTIFY, info.hdr.idFrom, reinterpret_cast<LPARAM>(&info));
}

bool CPlayListCtrl::OnLButtonDblClk(fw::MsgArgs& m) {
  const POINT pt = m.Point();
  const int32_t row = RowAt(pt);
  selection_.Click(row, (m.wParam & MK_CONTROL) != 0, (m.wParam & MK_SHIFT) != 0);
  MirrorSelection();
  Invalidate(false);
  NotifyParent(NM_DBLCLK, row, pt);
  if (row >= 0) NotifyParent(LVN_ITEMACTIVATE, row, pt);
  return true;
}

bool CPlayListCtrl::OnKeyDown(fw::MsgArgs& m) {
  // The main window acts on the release of a key only after its press; sent,
  // so that it reads Ctrl and Alt as they are for this press.
  if (HWND parent = ::GetParent(m_hWnd)) ::SendMessageA(parent, WM_KEYDOWN, m.wParam, m.lParam);
  const bool ctrl = ::GetKeyState(VK_CONTROL) < 0, shift = ::GetKeyState(VK_SHIFT) < 0;
  if (m.Key() == VK_SPACE) {
    // Ctrl+Space toggles the focus row, as in any list; the list's own Space
    // handling would select behind the player's back.
    if (ctrl) {
      selection_.ToggleFocus();
      MirrorSelection();
      RedrawRows(selection_.Focus(), selection_.Focus());
    }
    return true;
  }
  RowKey key;
  switch (m.Key()) {
    case VK_UP: key = RowKey::Up; break;
    case VK_DOWN: key = RowKey::Down; break;
    case VK_PRIOR: key = RowKey::PageUp; break;
    case VK_NEXT: key = RowKey::PageDown; break;
    case VK_HOME: key = RowKey::Home; break;
    case VK_END: key = RowKey::End; break;
    default: return false;
  }
  const int32_t row = selection_.Key(key, ctrl, shift, static_cast<int32_t>(List(LVM_GETCOUNTPERPAGE)));
  MirrorSelection();
  ScrollIntoView(row);
  Invalidate(false);
  return true;
}

// Dragging rows -----------------------------------------------------------------

void CPlayListCtrl::BeginDrag(int32_t row) {
  pressed_ = false;
  if (row < 0 || row >= RowCount()) return;
  dragStart_ = dragCurrent_ = dragTarget_ = row;
  ::SetCapture(m_hWnd);
  dragging_ = true;
}

void CPlayListCtrl::DragStep(int32_t from, int32_t to) {
  playingIndex_ = PlayingAfterMove(playingIndex_, from, to);
  const auto f = texts_.begin() + from;
  const auto t = texts_.begin() + to;
  if (from < to) {
    std::rotate(f, f + 1, t + 1);
  } else {
    std::rotate(t, f, f + 1);
  }
  dragCurrent_ = to;
}

bool CPlayListCtrl::OnMouseMove(fw::MsgArgs& m) {
  const POINT pt = m.Point();
  if (pressed_ && !dragging_ && (m.wParam & MK_LBUTTON)) {
    // The press becomes a drag once the mouse leaves the system's drag box;
    // this move already takes the row along.
    if (std::abs(pt.x - pressPoint_.x) <= ::GetSystemMetrics(SM_CXDRAG) &&
        std::abs(pt.y - pressPoint_.y) <= ::GetSystemMetrics(SM_CYDRAG)) {
      return false;
    }
    BeginDrag(pressRow_);
  }
  if (!dragging_) {
    ShowRowTip(RowAt(pt), m);
    return false;
  }
  const int32_t row = RowAt(pt);
  if (row < 0) return false;
  dragTarget_ = row;
  if (dragTarget_ != dragCurrent_) {
    const int32_t old = dragCurrent_;
    DragStep(old, dragTarget_);
    selection_.Move(old, dragTarget_);  // the row's state, the focus and the anchor go along
    MirrorSelection();
    RedrawRange(old, dragTarget_);
  }
  return false;
}

// A row with something to say (why its entry could not be played) says it
// in a tip while the pointer rests on it; the tool covers that row only, so
// moving onto another row is entering a new tool.
void CPlayListCtrl::ShowRowTip(int32_t row, const fw::MsgArgs& move) {
  if (row == tipRow_ || !tipOf_) return;
  if (!tip_ && !(tip_ = fw::CreateFollowingTip(m_hWnd, kRowTipTool, 500))) return;
  tipRow_ = row;
  fw::PointFollowingTip(tip_, m_hWnd, kRowTipTool, row >= 0 ? RowBounds(row) : RECT{},
                        row >= 0 ? tipOf_(row) : std::string(),
                        MSG{m_hWnd, move.message, move.wParam, move.lParam, 0, move.Point()});
}

void CPlayListCtrl::EndDrag() {
  if (!dragging_) return;
  dragging_ = false;
  HWND parent = ::GetParent(m_hWnd);
  if (parent) ::PostMessageA(parent, WM_PLAYER_MOVEENTRY, static_cast<WPARAM>(dragStart_), dragTarget_);
  if (::GetCapture() == m_hWnd) ::ReleaseCapture();
}

bool CPlayListCtrl::TakeDrag(int32_t& from, int32_t& to) {
  if (!dragging_) return false;
  dragging_ = pressed_ = false;
  from = dragStart_;
  to = dragTarget_;
  if (::GetCapture() == m_hWnd) ::ReleaseCapture();  // its capture change finds no drag
  return true;
}

bool CPlayListCtrl::OnLButtonUp(fw::MsgArgs&) {
  pressed_ = false;
  EndDrag();
  if (::GetCapture() == m_hWnd) ::ReleaseCapture();
  return true;
}

bool CPlayListCtrl::OnCaptureChanged(fw::MsgArgs& m) {
  // A drag cut short (another window took the mouse) still ends with the
  // entries moved as the rows were, so rows and entries keep agreeing.
  if (reinterpret_cast<HWND>(m.lParam) != m_hWnd) {
    pressed_ = false;
    EndDrag();
  }
  return false;
}

// Forwarding and the context menu ------------------------------------------------

bool CPlayListCtrl::OnRButtonDown(fw::MsgArgs& m) {
  HWND target = ::GetWindow(m_hWnd, GW_OWNER);
  if (!target) target = ::GetParent(m_hWnd);
  if (!target) return true;
  // Into the receiver's client coordinates: the view's place in the main window.
  POINT pt = m.Point();
  ::MapWindowPoints(m_hWnd, target, &pt, 1);
  ::PostMessageA(target, WM_RBUTTONDOWN, m.wParam, MAKELPARAM(pt.x, pt.y));
  return true;
}

bool CPlayListCtrl::OnKeyUp(fw::MsgArgs& m) {
  HWND parent = ::GetParent(m_hWnd);
  if (parent) ::PostMessageA(parent, WM_KEYUP, m.wParam, m.lParam);
  return false;
}

void CPlayListCtrl::ShowContextMenu(HWND mainWindow, POINT mainClientPoint, int32_t repeatMode) {
  if (!m_hWnd) return;
  POINT inView = mainClientPoint;
  ::MapWindowPoints(mainWindow, m_hWnd, &inView, 1);
  const int32_t row = RowAt(inView);
  if (row >= 0) {
    SelectNone();
    SelectRange(row, row);
  }
  fw::CMenu menu = fw::CMenu::LoadResource(IDR_PLAYLIST_MENU);
  HMENU popup = menu ? menu.SubMenu(0) : nullptr;
  if (!popup) return;
  PlayerSnapshot player;
  player.onRow = row >= 0;
  player.repeatMode = repeatMode;
  fw::MarkMenu(popup, [&](UINT id) { return CommandStateOf(id, player); });
  POINT screen = mainClientPoint;
  ::ClientToScreen(mainWindow, &screen);
  fw::TrackMenu(popup, mainWindow, screen);
  if (row < 0) Invalidate(false);
}

}  // namespace velk
