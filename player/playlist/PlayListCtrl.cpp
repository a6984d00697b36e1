#include "player/playlist/PlayListCtrl.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <iterator>

#include "platform/framework/Gdi.h"
#include "platform/framework/Menu.h"
#include "player/app/PlayerActions.h"
#include "player/app/SettingsTable.h"
#include "player/playlist/PlayListViewMath.h"
#include "player/res/ResourceIds.h"
#include "player/skin/SkinLayout.h"
#include "player/skin/SkinRectWin.h"
#include "shared/PlayerMessages.h"

namespace velk {

namespace {

constexpr int kTextMargin = 1;


}  // namespace

VELK_BEGIN_MESSAGE_TABLE(CPlayListCtrl)
  VELK_ON_MESSAGE(WM_PAINT, CPlayListCtrl, OnPaint),
  VELK_ON_MESSAGE(WM_ERASEBKGND, CPlayListCtrl, OnEraseBackground),
  VELK_ON_MESSAGE(WM_SIZE, CPlayListCtrl, OnSize),
  VELK_ON_MESSAGE(WM_LBUTTONDOWN, CPlayListCtrl, OnLButtonDown),
  VELK_ON_MESSAGE(WM_LBUTTONDBLCLK, CPlayListCtrl, OnLButtonDblClk),
  VELK_ON_MESSAGE(WM_KEYDOWN, CPlayListCtrl, OnKeyDown),
  VELK_ON_MESSAGE(WM_MOUSEMOVE, CPlayListCtrl, OnMouseMove),
  VELK_ON_MESSAGE(WM_LBUTTONUP, CPlayListCtrl, OnLButtonUp),
  VELK_ON_MESSAGE(WM_CAPTURECHANGED, CPlayListCtrl, OnCaptureChanged),
  VELK_ON_MESSAGE(WM_RBUTTONDOWN, CPlayListCtrl, OnRButtonDown),
  VELK_ON_MESSAGE(WM_KEYUP, CPlayListCtrl, OnKeyUp),
  VELK_ON_MESSAGE(WM_DESTROY, CPlayListCtrl, OnDestroy),
VELK_END_MESSAGE_TABLE(CPlayListCtrl, fw::CWnd);

CPlayListCtrl::CPlayListCtrl(ISettingsStore& settings) : settings_(settings) { ReadSettings(); }

CPlayListCtrl::~CPlayListCtrl() = default;

void CPlayListCtrl::ReadSettings() {
  bkMode_ = settings::Read(settings_, settings::BackgroundMode);
  textNormalColour_ = static_cast<COLORREF>(settings::Read(settings_, settings::TextNormalColor));
  textPlayingColour_ = static_cast<COLORREF>(settings::Read(settings_, settings::TextPlayingColor));
  backNormalColour_ = static_cast<COLORREF>(settings::Read(settings_, settings::BackNormalColor));
  backSelectedColour_ = static_cast<COLORREF>(settings::Read(settings_, settings::BackSelectedColor));
  bkPath_ = settings::ReadBackgroundPath(settings_);
}

bool CPlayListCtrl::Create(HWND parent, const RECT& rect, UINT id) {
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_LISTVIEW_CLASSES};
  ::InitCommonControlsEx(&icc);
  // The texts and their selection stay here (owner data): the list view keeps
  // only the count, scrolls, and has the rows it shows drawn.
  const DWORD style = WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SHOWSELALWAYS | LVS_OWNERDRAWFIXED |
                      LVS_NOCOLUMNHEADER | LVS_OWNERDATA;
  HWND hwnd = ::CreateWindowExA(0, WC_LISTVIEWA, "", style, rect.left, rect.top, rect.right - rect.left,
                                rect.bottom - rect.top, parent, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)),
                                ::GetModuleHandleA(nullptr), nullptr);
  if (!hwnd) return false;
  if (!SubclassControl(hwnd)) {
    ::DestroyWindow(hwnd);
    return false;
  }
  SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
  UseSkinSizedFont();
  // A new control has no selected rows: the copy starts out true.
  mirrored_.assign(texts_.size(), 0);
  mirroredFocus_ = -1;
  mirrorValid_ = true;
  LVCOLUMNA column{};
  column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT;
  column.fmt = LVCFMT_LEFT;
  column.cx = GetClientRect().right;
  column.pszText = const_cast<char*>("File Name");
  SendMessage(LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
  SetListCount();
  ApplyBackColour();
  if (bkMode_ == settings::kBackgroundPicture) SetBackgroundImage(bkPath_);
  return true;
}

// The list's own font, at the size it has on a 96-dpi screen: the rows sit on
// the skin, which does not grow with the screen's DPI.
void CPlayListCtrl::UseSkinSizedFont() {
  HFONT current = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
  LOGFONTA face{};
  if (!::GetObjectA(current ? static_cast<HGDIOBJ>(current) : ::GetStockObject(DEFAULT_GUI_FONT), sizeof(face),
                    &face)) {
    return;
  }
  HDC screen = ::GetDC(nullptr);
  const int dpi = screen ? ::GetDeviceCaps(screen, LOGPIXELSY) : kSkinPixelsPerInch;
  if (screen) ::ReleaseDC(nullptr, screen);
  if (dpi == kSkinPixelsPerInch || dpi <= 0) return;  // already the skin's size
  face.lfHeight = ::MulDiv(face.lfHeight, kSkinPixelsPerInch, dpi);
  face.lfWidth = 0;
  font_.reset(::CreateFontIndirectA(&face));
  if (font_) SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
}

void CPlayListCtrl::FitColumn() {
  List(LVM_SETCOLUMNWIDTH, 0, GetClientRect().right);
}

void CPlayListCtrl::ApplyBackColour() {
  List(LVM_SETBKCOLOR, 0, static_cast<LPARAM>(backNormalColour_));
}

// Background ------------------------------------------------------------------

void CPlayListCtrl::SetBackgroundImage(const std::string& path) {
  if (!picture_) picture_ = std::make_unique<CListBackImage>();
  bool loaded = false;
  if (m_hWnd) {
    fw::CClientDC dc(m_hWnd);
    loaded = picture_->LoadFromFile(path, dc);
  }
  if (loaded) {
    bkMode_ = settings::kBackgroundPicture;
    bkPath_ = path;
    settings_.WriteString(settings::kPlaylistSection, settings::kBackgroundPathKey, path);
  } else {
    bkMode_ = settings::kBackgroundColour;
    picture_.reset();
    ApplyBackColour();
  }
  settings::Write(settings_, settings::BackgroundMode, bkMode_);
}

void CPlayListCtrl::SetBlankBackground() {
  picture_.reset();
  bkMode_ = settings::kBackgroundColour;
  settings::Write(settings_, settings::BackgroundMode, bkMode_);
  ApplyBackColour();
  RedrawAll();
}

void CPlayListCtrl::ReloadSettings() {
  ReadSettings();
  ApplyBackColour();
  if (bkMode_ == settings::kBackgroundPicture) SetBackgroundImage(bkPath_);
  RedrawAll();
}

// Drawing -----------------------------------------------------------------------

std::string CPlayListCtrl::FitText(HDC dc, const std::string& text, int width, int margin) {
  if (text.empty()) return text;
  // One measuring call gives the width of every beginning of the text.
  std::vector<int> extents(text.size());
  SIZE whole{};
  if (!::GetTextExtentExPointA(dc, text.data(), static_cast<int>(text.size()), 0, nullptr,
                               extents.data(), &whole)) {
    return text;
  }
  SIZE dots{};
  ::GetTextExtentPoint32A(dc, "...", 3, &dots);
  return velk::FitText(text, width, margin,
                       [&extents](size_t n) { return n == 0 ? 0 : extents[n - 1]; }, dots.cx);
}

bool CPlayListCtrl::OnChildNotify(UINT message, WPARAM, LPARAM lParam, LRESULT* result) {
  if (message == WM_DRAWITEM) {
    DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    *result = TRUE;
    return true;
  }
  if (message != WM_NOTIFY) return false;
  const auto* header = reinterpret_cast<const NMHDR*>(lParam);
  switch (header->code) {
    case LVN_GETDISPINFOA:
      FillDisplayInfo(*reinterpret_cast<NMLVDISPINFOA*>(lParam));
      *result = 0;
      return true;
    case LVN_ODFINDITEMA:
    case LVN_ODFINDITEMW:
      // Typing in the view is for the main window's keys, not a search.
      *result = -1;
      return true;
    case LVN_BEGINDRAG:
      BeginDrag(reinterpret_cast<const NMLISTVIEW*>(lParam)->iItem);
      *result = 0;
      return true;
    default:
      return false;
  }
}

void CPlayListCtrl::FillDisplayInfo(NMLVDISPINFOA& info) const {
  LVITEMA& item = info.item;
  if (!(item.mask & LVIF_TEXT) || !item.pszText || item.cchTextMax <= 0) return;
  const std::string text = RowText(item.iItem);
  const size_t n = std::min(text.size(), static_cast<size_t>(item.cchTextMax - 1));
  std::copy_n(text.data(), n, item.pszText);
  item.pszText[n] = '\0';
}

void CPlayListCtrl::DrawItem(const DRAWITEMSTRUCT& item) {
  const auto row = static_cast<int32_t>(item.itemID);
  if (row < 0 || row >= RowCount()) return;
  HDC dc = item.hDC;
  const RECT rc = item.rcItem;
  // The view keeps the rows' states itself (nothing drop-highlights a row of
  // its own list).
  const bool highlighted = selection_.IsSelected(row);

  const int oldMode = ::GetBkMode(dc);
  if (highlighted || !IsPictureShown()) {
    const COLORREF back = highlighted ? backSelectedColour_ : backNormalColour_;
    fw::FillSolidRect(dc, rc, back);
    ::SetBkColor(dc, back);
    ::SetBkMode(dc, OPAQUE);
  } else {
    DrawRowBackground(row, dc);
    ::SetBkMode(dc, TRANSPARENT);
  }
  const COLORREF oldText =
      ::SetTextColor(dc, row == playingIndex_ ? textPlayingColour_ : textNormalColour_);
  HGDIOBJ font = reinterpret_cast<HGDIOBJ>(List(WM_GETFONT));
  HGDIOBJ oldFont = font ? ::SelectObject(dc, font) : nullptr;
  const std::string shown = FitText(dc, texts_[static_cast<size_t>(row)], rc.right - rc.left, kTextMargin);
  RECT textRect = rc;
  ::DrawTextA(dc, shown.c_str(), static_cast<int>(shown.size()), &textRect,
              DT_SINGLELINE | DT_LEFT | DT_VCENTER | DT_NOPREFIX | DT_NOCLIP);
  if (oldFont) ::SelectObject(dc, oldFont);
  ::SetTextColor(dc, oldText);
  ::SetBkMode(dc, oldMode);

  // The picture goes on below the last row.
  if (IsPictureShown() && row == RowCount() - 1) DrawRowBackground(RowCount(), dc);
}

RECT CPlayListCtrl::RowBounds(int32_t row) const {
  RECT rc{};
  rc.left = LVIR_BOUNDS;
  List(LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&rc));
  return rc;
}

void CPlayListCtrl::DrawRowBackground(int32_t row, HDC dc) {
  if (!picture_ || texts_.empty()) return;
  // The whole window in client coordinates; what lies outside the client area
  // is clipped away.
  RECT area = GetWindowRect();
  ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&area), 2);
  RECT target;
  int32_t rowHeight;
  if (row < RowCount()) {
    target = RowBounds(row);
    rowHeight = target.bottom - target.top;
  } else {
    const RECT last = RowBounds(RowCount() - 1);
    rowHeight = last.bottom - last.top;
    target = {last.left, last.bottom, last.right, area.bottom};
    if (target.bottom <= target.top) return;
  }
  if (target.right - target.left != area.right - area.left) target.right = area.right;
  const SkinSize size = picture_->GetSize();
  for (const PictureCopy& c : RowPicture(row, rowHeight, ToSkin(target), size.width, size.height)) {
    picture_->BlitArea(dc, c.target.left, c.target.top, c.target.Width(), c.target.Height(),
                       c.source.left, c.source.top);
  }
}

bool CPlayListCtrl::OnPaint(fw::MsgArgs&) {
  if (!texts_.empty() || !IsPictureShown()) return false;
  // An empty list shows the picture tiled from the top-left corner.
  fw::CPaintDC dc(m_hWnd);
  const SkinSize size = picture_->GetSize();
  picture_->DrawTiled(dc, ToSkin(GetClientRect()), {0, 0, size.width, size.height});
  return true;
}

bool CPlayListCtrl::OnEraseBackground(fw::MsgArgs& m) {
  if (!texts_.empty() || !IsPictureShown()) return false;
  m.result = TRUE;  // the paint covers everything
  return true;
}

bool CPlayListCtrl::OnSize(fw::MsgArgs&) {
  Default();
  // The picture below the last row depends on the view's height.
  if (IsPictureShown()) Invalidate(false);
  return true;
}

bool CPlayListCtrl::OnDestroy(fw::MsgArgs&) {
  picture_.reset();
  dragging_ = false;
  return false;
}

// Rows --------------------------------------------------------------------------

LRESULT CPlayListCtrl::List(UINT message, WPARAM wParam, LPARAM lParam) const {
  // Past this object's own table: the view's calls to its list need none of it.
  if (!m_hWnd) return 0;
  return const_cast<CPlayListCtrl*>(this)->DefWindowProc(message, wParam, lParam);
}

std::string CPlayListCtrl::RowText(int32_t row) const {
  if (row < 0 || row >= RowCount()) return std::string();
  return texts_[static_cast<size_t>(row)];
}

void CPlayListCtrl::SetRowText(int32_t row, const std::string& text) {
  if (row < 0 || row >= RowCount()) return;
  texts_[static_cast<size_t>(row)] = text;
  RedrawRows(row, row);
}

void CPlayListCtrl::SetListCount() {
  List(LVM_SETITEMCOUNT, texts_.size(), LVSICF_NOSCROLL);
}

std::vector<int32_t> CPlayListCtrl::SelectedRows() const { return selection_.SelectedRows(); }

void CPlayListCtrl::InsertRows(int32_t index, std::vector<std::string> texts) {
  if (texts.empty()) return;
  index = std::clamp(index, 0, RowCount());
  const auto count = static_cast<int32_t>(texts.size());
  texts_.insert(texts_.begin() + index, std::make_move_iterator(texts.begin()),
                std::make_move_iterator(texts.end()));
  selection_.Insert(index, count);
  SetListCount();
  ResyncMirror();
}

void CPlayListCtrl::RemoveRows(const std::vector<int32_t>& ascendingRows) {
  std::vector<int32_t> removed;
  removed.reserve(ascendingRows.size());
  for (int32_t row : ascendingRows) {
    if (row >= 0 && row < RowCount() && (removed.empty() || row > removed.back())) removed.push_back(row);
  }
  if (removed.empty()) return;
  size_t out = 0, next = 0;
  for (size_t i = 0; i < texts_.size(); ++i) {
    if (next < removed.size() && static_cast<size_t>(removed[next]) == i) {
      ++next;
      continue;
    }
    if (out != i) texts_[out] = std::move(texts_[i]);
    ++out;
  }
  texts_.resize(out);
  selection_.Remove(removed);
  SetListCount();
  ResyncMirror();
}

void CPlayListCtrl::RemoveAllRows() {
  texts_.clear();
  selection_.Clear();
  SetListCount();
  ResyncMirror();
}

void CPlayListCtrl::PermuteRowTexts(const std::vector<int32_t>& sources) {
  if (sources.size() != texts_.size()) return;
  std::vector<bool> used(texts_.size(), false);
  for (int32_t from : sources) {
    if (from < 0 || from >= RowCount() || used[static_cast<size_t>(from)]) return;
    used[static_cast<size_t>(from)] = true;
  }
  std::vector<std::string> permuted;
  permuted.reserve(texts_.size());
  for (int32_t from : sources) permuted.push_back(std::move(texts_[static_cast<size_t>(from)]));
  texts_ = std::move(permuted);
  if (m_hWnd) Invalidate(false);
}

void CPlayListCtrl::SetPlayingIndex(int32_t row) {
  const int32_t old = playingIndex_;
  playingIndex_ = row;
  RedrawRows(old, row);
}

void CPlayListCtrl::RedrawRange(int32_t first, int32_t last) {
  if (!m_hWnd || texts_.empty()) return;
  // Only what is in sight: invalidating 100,000 rows one by one would take
  // longer than drawing the few that show.
  const auto top = static_cast<int32_t>(List(LVM_GETTOPINDEX));
  const auto page = static_cast<int32_t>(List(LVM_GETCOUNTPERPAGE));
  const int32_t low = std::max({std::min(first, last), top, 0});
  const int32_t high = std::min({std::max(first, last), top + page, RowCount() - 1});
  if (low > high) return;
  RECT rc = RowBounds(low);
  rc.bottom = RowBounds(high).bottom;
  rc.left = 0;
  rc.right = GetClientRect().right;
  InvalidateRect(rc, false);
}

void CPlayListCtrl::RedrawRows(int32_t a, int32_t b) {
  for (int32_t row : {a, b}) {
    if (row >= 0 && row < RowCount()) RedrawRange(row, row);
  }
}

void CPlayListCtrl::RedrawAll() {
  if (m_hWnd) Invalidate(true);
}

void CPlayListCtrl::ScrollIntoView(int32_t row) {
  if (row >= 0 && row < RowCount()) List(LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
}

void CPlayListCtrl::SetTitle(const std::string& text) {
  HWND parent = m_hWnd ? ::GetParent(m_hWnd) : nullptr;
  if (parent) ::SetWindowTextA(parent, text.c_str());
}

// Selection ---------------------------------------------------------------------

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
  if (!dragging_) return false;
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
