#include "player/playlist/PlayListCtrl.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <iterator>

#include "platform/framework/Gdi.h"
#include "platform/framework/Text.h"
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

// The list's font: the text face (names in every script show) at the list's
// own size on a 96-dpi screen: the rows sit on the skin, which does not grow
// with the screen's DPI.
void CPlayListCtrl::UseSkinSizedFont() {
  HFONT current = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
  LOGFONTA face{};
  if (!::GetObjectA(current ? static_cast<HGDIOBJ>(current) : ::GetStockObject(DEFAULT_GUI_FONT), sizeof(face),
                    &face)) {
    return;
  }
  fw::CClientDC screen(nullptr);
  const int dpi = screen ? ::GetDeviceCaps(screen, LOGPIXELSY) : kSkinPixelsPerInch;
  if (dpi != kSkinPixelsPerInch && dpi > 0) face.lfHeight = ::MulDiv(face.lfHeight, kSkinPixelsPerInch, dpi);
  font_.Reset(fw::CreateTextFont(face.lfHeight));
  if (font_) SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
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

std::wstring CPlayListCtrl::FitText(HDC dc, const std::string& text, int width, int margin) {
  // Measured and drawn in UTF-16, whatever the code page: a font's own code
  // page never garbles a name, and a cut never splits a character.
  std::wstring wide = fw::Widen(text);
  if (wide.empty()) return wide;
  // One measuring call gives the width of every beginning of the text.
  std::vector<int> extents(wide.size());
  SIZE whole{};
  if (!::GetTextExtentExPointW(dc, wide.data(), static_cast<int>(wide.size()), 0, nullptr, extents.data(),
                               &whole)) {
    return wide;
  }
  SIZE dots{};
  ::GetTextExtentPoint32W(dc, L"...", 3, &dots);
  const FittedText fit = velk::FitText(
      wide.size(), width, margin, [&extents](size_t n) { return n == 0 ? 0 : extents[n - 1]; }, dots.cx,
      [&wide](size_t n) { return n >= wide.size() || !IS_LOW_SURROGATE(wide[n]); });
  if (fit.dots) wide.replace(fit.kept, std::wstring::npos, L"...");
  return wide;
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
  const std::wstring shown = FitText(dc, texts_[static_cast<size_t>(row)], rc.right - rc.left, kTextMargin);
  RECT textRect = rc;
  ::DrawTextW(dc, shown.c_str(), static_cast<int>(shown.size()), &textRect,
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
  if (tip_) ::DestroyWindow(tip_);
  tip_ = nullptr;
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

void CPlayListCtrl::SetSelectedRows(const std::vector<int32_t>& ascendingRows) {
  selection_.SelectNone();
  for (int32_t row : ascendingRows) selection_.Set(row, true);
  RedrawAll();
}

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

}  // namespace velk
