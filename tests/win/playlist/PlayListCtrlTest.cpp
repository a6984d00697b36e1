// The playlist view in a plain parent window: what it paints, how rows are
// dragged, what it passes on to its parent, its background picture and its
// selection as rows come and go, up to 100,000 rows.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/framework/Handles.h"
#include "core/SettingsStore.h"
#include "player/app/SettingsTable.h"
#include "player/playlist/PlayListCtrl.h"
#include "platform/framework/Text.h"
#include "player/res/ResourceIds.h"
#include "shared/PlayerMessages.h"
#include "tools/art/SkinArt.h"

namespace velk {
namespace {

constexpr COLORREF kPlainBack = 0x3C2814;
constexpr COLORREF kSelectedBack = 0x785028;
constexpr COLORREF kNormalText = 0xFFFFFF;
constexpr COLORREF kPlayingText = 0x7FFFFF;

struct Posted {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};

// A plain window without frame that keeps what the view posts to it.
class CParent : public fw::CWnd {
 public:
  std::vector<Posted> received;
  std::vector<int> doubleClicked;  // rows of NM_DBLCLK

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_PLAYER_MOVEENTRY || message == WM_KEYUP || message == WM_RBUTTONDOWN) {
      received.push_back({message, wParam, lParam});
    }
    if (message == WM_NOTIFY) {
      const auto* info = reinterpret_cast<const NMITEMACTIVATE*>(lParam);
      if (info->hdr.code == static_cast<UINT>(NM_DBLCLK)) doubleClicked.push_back(info->iItem);
    }
    return fw::CWnd::WindowProc(message, wParam, lParam);
  }
};

void Pump() {
  MSG msg;
  while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
}

std::string TempFolder() {
  char base[MAX_PATH] = {};
  ::GetTempPathA(MAX_PATH, base);
  std::string folder = std::string(base) + "velk-listctrl-" + std::to_string(::GetCurrentProcessId());
  ::CreateDirectoryA(folder.c_str(), nullptr);
  return folder;
}

// 50 x 100, every pixel telling where it lies: red = row, green = column.
skinart::Picture Gauge() {
  skinart::Picture p;
  p.width = 50;
  p.height = 100;
  for (int y = 0; y < p.height; ++y)
    for (int x = 0; x < p.width; ++x) p.pixels.push_back((uint32_t(y * 2) << 16) | (uint32_t(x * 4) << 8) | 0x40);
  return p;
}
COLORREF GaugeAt(int x, int y) { return RGB((y % 100) * 2, (x % 50) * 4, 0x40); }

class PlayListCtrlTest : public ::testing::Test {
 protected:
  static constexpr RECT kViewRect{12, 20, 312, 260};

  void SetUp() override {
    fw::CWnd::RegisterClass("VelkListTestParent", 0, ::LoadCursorA(nullptr, IDC_ARROW),
                            static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    ASSERT_TRUE(parent_.CreateEx(0, "VelkListTestParent", "list test", WS_POPUP | WS_VISIBLE, 0, 0, 330, 280,
                                 nullptr, nullptr));
    folder_ = TempFolder();
    settings_.WriteString(settings::kProgramSection, "AppPath", folder_);
    picture_ = folder_ + "\\gauge.bmp";
    const std::vector<uint8_t> bmp = skinart::EncodeBmp24(Gauge());
    fw::CHandle f(::CreateFileA(picture_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    ::WriteFile(f.Get(), bmp.data(), static_cast<DWORD>(bmp.size()), &written, nullptr);
  }
  void TearDown() override {
    view_.reset();
    parent_.DestroyWindow();
    ::DeleteFileA(picture_.c_str());
    ::RemoveDirectoryA(folder_.c_str());
  }

  void Open() {
    view_ = std::make_unique<CPlayListCtrl>(settings_);
    ASSERT_TRUE(view_->Create(parent_.m_hWnd, kViewRect));
    Pump();
  }
  void Fill(int count, const std::string& prefix = "row ") {
    std::vector<std::string> texts;
    for (int i = 0; i < count; ++i) texts.push_back(prefix + std::to_string(i));
    view_->InsertRows(view_->RowCount(), std::move(texts));
  }
  RECT Row(int i) const {
    RECT rc{};
    rc.left = LVIR_BOUNDS;
    view_->SendMessage(LVM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&rc));
    return rc;
  }
  POINT Middle(int row) const {
    const RECT rc = Row(row);
    return {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
  }
  // What is on screen in the view, after it painted everything it owes.
  std::vector<COLORREF> Pixels(const RECT& area) {
    ::UpdateWindow(view_->m_hWnd);
    std::vector<COLORREF> out;
    HDC dc = ::GetDC(view_->m_hWnd);
    for (int y = area.top; y < area.bottom; ++y)
      for (int x = area.left; x < area.right; ++x) out.push_back(::GetPixel(dc, x, y));
    ::ReleaseDC(view_->m_hWnd, dc);
    return out;
  }
  COLORREF PixelAt(int x, int y) { return Pixels({x, y, x + 1, y + 1})[0]; }
  int Count(const RECT& area, COLORREF colour) {
    int n = 0;
    for (COLORREF c : Pixels(area)) n += c == colour;
    return n;
  }
  // Pixels of the area that differ from the gauge picture laid from (0, firstRowTop).
  int PictureMismatches(const RECT& area, int pictureTop) {
    const std::vector<COLORREF> got = Pixels(area);
    int bad = 0;
    size_t k = 0;
    for (int y = area.top; y < area.bottom; ++y)
      for (int x = area.left; x < area.right; ++x) {
        bad += got[k++] != GaugeAt(x, y - pictureTop);
      }
    return bad;
  }

  CMemorySettings settings_;
  CParent parent_;
  std::unique_ptr<CPlayListCtrl> view_;
  std::string folder_;
  std::string picture_;
};

TEST_F(PlayListCtrlTest, DefaultColoursOnScreen) {
  Open();
  EXPECT_EQ(view_->BkPath(), folder_ + "\\list.bmp");
  Fill(4);
  view_->SetPlayingIndex(1);
  view_->SelectRange(2, 2);
  const RECT width = view_->GetClientRect();
  auto rowArea = [&](int i) { return RECT{0, Row(i).top, width.right, Row(i).bottom}; };
  EXPECT_EQ(PixelAt(width.right - 5, Middle(0).y), kPlainBack);
  EXPECT_EQ(PixelAt(width.right - 5, Middle(1).y), kPlainBack);
  EXPECT_EQ(PixelAt(width.right - 5, Middle(2).y), kSelectedBack);
  EXPECT_EQ(PixelAt(width.right - 5, Row(3).bottom + 10), kPlainBack);  // below the rows
  EXPECT_GT(Count(rowArea(0), kNormalText), 0);
  EXPECT_EQ(Count(rowArea(0), kPlayingText), 0);
  EXPECT_GT(Count(rowArea(1), kPlayingText), 0);
  EXPECT_EQ(Count(rowArea(1), kNormalText), 0);
  EXPECT_GT(Count(rowArea(2), kNormalText), 0);
}

TEST_F(PlayListCtrlTest, LongTextsEndInDotsWithTextInFront) {
  Open();
  HDC dc = ::GetDC(view_->m_hWnd);
  HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(view_->SendMessage(WM_GETFONT)));
  {
    const std::wstring text = L"The quick brown fox jumps \xE0 \xE9t\xE9 over the lazy dog";
    SIZE whole{};
    ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &whole);
    const std::string narrow = fw::Narrow(text);
    EXPECT_EQ(CPlayListCtrl::FitText(dc, narrow, whole.cx + 1, 1), text);  // fits exactly
    for (int width : {int(whole.cx), int(whole.cx / 2), 12, 1}) {
      const std::wstring shown = CPlayListCtrl::FitText(dc, narrow, width, 1);
      ASSERT_GE(shown.size(), 4u) << width;
      EXPECT_EQ(shown.substr(shown.size() - 3), L"...") << width;
      EXPECT_EQ(text.compare(0, shown.size() - 3, shown, 0, shown.size() - 3), 0);
      SIZE drawn{};
      ::GetTextExtentPoint32W(dc, shown.c_str(), static_cast<int>(shown.size()), &drawn);
      if (shown.size() > 5) {
        EXPECT_LE(drawn.cx + 1, width);
      }
    }
  }
  ::SelectObject(dc, old);
  ::ReleaseDC(view_->m_hWnd, dc);
}

TEST_F(PlayListCtrlTest, PictureRunsUnderTheRowsAndTilesAnEmptyList) {
  Open();
  view_->SetBackgroundImage(picture_);
  ASSERT_EQ(view_->BkMode(), 11);
  EXPECT_EQ(settings_.GetInt("playlist", "bkmode", 0), 11);
  EXPECT_EQ(settings_.GetString("playlist", "bkpath", ""), picture_);
  const RECT client = view_->GetClientRect();
  // Empty: the picture tiled from the top-left corner.
  view_->RedrawAll();
  EXPECT_EQ(PictureMismatches(client, 0), 0);

  view_->InsertRows(0, std::vector<std::string>(10));  // empty texts leave the picture bare
  view_->SetPlayingIndex(-1);
  view_->RedrawAll();
  const int h = Row(0).bottom - Row(0).top;
  ASSERT_GT(h, 0);
  // Some row meets the picture's end and is drawn in two parts.
  bool split = false;
  for (int i = 0; i < 10; ++i) split |= (i * h) % 100 + h > 100;
  EXPECT_TRUE(split) << "row height " << h;
  EXPECT_EQ(PictureMismatches({0, 0, client.right, Row(9).bottom}, 0), 0);
  // Below the last row the picture goes on.
  EXPECT_EQ(PictureMismatches({0, Row(9).bottom, client.right, client.bottom}, 0), 0);

  // Scrolled down, the picture moves with the rows.
  view_->InsertRows(10, std::vector<std::string>(40));
  view_->SendMessage(LVM_SCROLL, 0, 3 * h);
  view_->RedrawAll();
  ASSERT_LT(Row(0).top, 0);
  const RECT narrower = view_->GetClientRect();  // beside the scroll bar
  EXPECT_EQ(PictureMismatches({0, 0, narrower.right, narrower.bottom}, Row(0).top), 0);

  // A picture that cannot be loaded falls back to the plain background.
  view_->SetBackgroundImage(folder_ + "\\missing.bmp");
  EXPECT_EQ(view_->BkMode(), 10);
  EXPECT_FALSE(view_->HasBackgroundPicture());
  EXPECT_EQ(settings_.GetInt("playlist", "bkmode", 0), 10);
  EXPECT_EQ(settings_.GetString("playlist", "bkpath", ""), picture_);
  view_->RemoveAllRows();
  view_->RedrawAll();
  EXPECT_EQ(PixelAt(client.right / 2, client.bottom / 2), kPlainBack);
}

// The selection lives beside the texts, and the list control gets a copy of
// it, so screen readers and LVM_GETSELECTEDCOUNT see what the user sees.
TEST_F(PlayListCtrlTest, TheListControlSeesTheSelectionAndTheFocus) {
  Open();
  Fill(10);
  auto selectedInList = [&] { return static_cast<int>(view_->SendMessage(LVM_GETSELECTEDCOUNT, 0, 0)); };
  auto focusInList = [&] {
    return static_cast<int>(view_->SendMessage(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
  };
  auto click = [&](int row, WPARAM keys) {
    const POINT p = Middle(row);
    view_->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON | keys, MAKELPARAM(p.x, p.y));
    view_->SendMessage(WM_LBUTTONUP, keys, MAKELPARAM(p.x, p.y));
  };
  view_->SelectRange(0, 9);
  EXPECT_EQ(selectedInList(), 10);
  click(3, 0);
  EXPECT_EQ(selectedInList(), 1);
  EXPECT_EQ(focusInList(), 3);

  BYTE keys[256] = {};
  ::GetKeyboardState(keys);
  keys[VK_CONTROL] = 0x80;
  ::SetKeyboardState(keys);
  view_->SendMessage(WM_KEYDOWN, VK_SPACE, 0);  // Ctrl+Space toggles the focus row
  EXPECT_EQ(view_->SelectedRows(), std::vector<int32_t>{});
  view_->SendMessage(WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_EQ(view_->SelectedRows(), std::vector<int32_t>{3});
  keys[VK_CONTROL] = 0;
  ::SetKeyboardState(keys);

  click(1, 0);
  click(6, MK_CONTROL);
  click(8, MK_CONTROL | MK_SHIFT);  // adds 6..8 to what is selected
  EXPECT_EQ(view_->SelectedRows(), (std::vector<int32_t>{1, 6, 7, 8}));
  EXPECT_EQ(selectedInList(), 4);
  view_->RemoveRows({0, 1});
  EXPECT_EQ(view_->SelectedRows(), (std::vector<int32_t>{4, 5, 6}));
  EXPECT_EQ(selectedInList(), 3);
  for (int row : {4, 5, 6}) {
    EXPECT_EQ(view_->SendMessage(LVM_GETITEMSTATE, row, LVIS_SELECTED), LVIS_SELECTED) << row;
  }
}

TEST_F(PlayListCtrlTest, DraggedRowTakesThePlayingMarkAlongAndTellsTheParent) {
  Open();
  Fill(8);
  view_->SetPlayingIndex(3);
  // Press on row 5, leave the press area (the list starts the drag), then jump to row 2.
  const POINT from = Middle(5), to = Middle(2);
  view_->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(from.x, from.y));
  view_->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(from.x + 20, from.y));
  ASSERT_TRUE(view_->IsDragging());
  view_->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(to.x, to.y));
  view_->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(to.x, to.y));
  Pump();
  EXPECT_FALSE(view_->IsDragging());
  EXPECT_EQ(view_->PlayingIndex(), 4);
  const std::vector<std::string> order{"row 0", "row 1", "row 5", "row 2", "row 3", "row 4", "row 6", "row 7"};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(view_->RowText(i), order[static_cast<size_t>(i)]);
  EXPECT_EQ(view_->SelectedRows(), std::vector<int32_t>{2});
  ASSERT_EQ(parent_.received.size(), 1u);
  EXPECT_EQ(parent_.received[0].message, WM_PLAYER_MOVEENTRY);
  EXPECT_EQ(parent_.received[0].wParam, 5u);
  EXPECT_EQ(parent_.received[0].lParam, 2);

  // A drag released where it began reports equal places and moves nothing.
  parent_.received.clear();
  NMLISTVIEW begin{};
  begin.hdr = {view_->m_hWnd, CPlayListCtrl::kControlId, static_cast<UINT>(LVN_BEGINDRAG)};
  begin.iItem = 6;
  parent_.SendMessage(WM_NOTIFY, CPlayListCtrl::kControlId, reinterpret_cast<LPARAM>(&begin));
  ASSERT_TRUE(view_->IsDragging());
  view_->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(Middle(6).x, Middle(6).y));
  Pump();
  ASSERT_EQ(parent_.received.size(), 1u);
  EXPECT_EQ(parent_.received[0].wParam, 6u);
  EXPECT_EQ(parent_.received[0].lParam, 6);
  EXPECT_EQ(view_->RowText(6), "row 6");
  EXPECT_EQ(view_->PlayingIndex(), 4);

  // A drag cut short when another window takes the mouse still reports where
  // the row went, so the entries follow the rows.
  parent_.received.clear();
  view_->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(Middle(0).x, Middle(0).y));
  view_->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(Middle(1).x, Middle(1).y));
  ASSERT_TRUE(view_->IsDragging());
  ::SetCapture(parent_.m_hWnd);
  Pump();
  ::ReleaseCapture();
  EXPECT_FALSE(view_->IsDragging());
  ASSERT_EQ(parent_.received.size(), 1u);
  EXPECT_EQ(parent_.received[0].wParam, 0u);
  EXPECT_EQ(parent_.received[0].lParam, 1);
  EXPECT_EQ(view_->RowText(1), "row 0");
}

TEST_F(PlayListCtrlTest, ClicksSelectAndADoubleClickTellsTheParent) {
  Open();
  Fill(5);
  auto click = [&](int row, WPARAM keys) {
    view_->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON | keys, MAKELPARAM(Middle(row).x, Middle(row).y));
    view_->SendMessage(WM_LBUTTONUP, keys, MAKELPARAM(Middle(row).x, Middle(row).y));
  };
  click(1, 0);
  click(3, MK_SHIFT);
  EXPECT_EQ(view_->SelectedRows(), (std::vector<int32_t>{1, 2, 3}));
  EXPECT_EQ(PixelAt(view_->GetClientRect().right - 3, Middle(2).y), kSelectedBack);
  view_->SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(Middle(4).x, Middle(4).y));
  EXPECT_EQ(parent_.doubleClicked, std::vector<int>{4});
  EXPECT_EQ(view_->SelectedRows(), std::vector<int32_t>{4});
  EXPECT_TRUE(parent_.received.empty());  // no drag without a move
}

TEST_F(PlayListCtrlTest, KeyReleasesAndRightPressesReachTheParent) {
  Open();
  Fill(3);
  view_->SendMessage(WM_KEYUP, VK_DELETE, 0xC0530001);
  view_->SendMessage(WM_RBUTTONDOWN, MK_RBUTTON | MK_SHIFT, MAKELPARAM(30, 7));
  Pump();
  ASSERT_EQ(parent_.received.size(), 2u);
  EXPECT_EQ(parent_.received[0].message, static_cast<UINT>(WM_KEYUP));
  EXPECT_EQ(parent_.received[0].wParam, static_cast<WPARAM>(VK_DELETE));
  EXPECT_EQ(static_cast<DWORD>(parent_.received[0].lParam), 0xC0530001u);
  EXPECT_EQ(parent_.received[1].message, static_cast<UINT>(WM_RBUTTONDOWN));
  EXPECT_EQ(parent_.received[1].wParam, static_cast<WPARAM>(MK_RBUTTON | MK_SHIFT));
  EXPECT_EQ(parent_.received[1].lParam, MAKELPARAM(42, 27));
  EXPECT_TRUE(view_->SelectedRows().empty());  // no right-button handling of its own
}

// What the view's menu offered, read while it is up; then it is closed.
struct MenuSeen {
  bool shown = false;
  bool playGrey = false, deleteGrey = false, repeatChecked = false;
};
MenuSeen g_menu;

void CALLBACK ReadMenu(HWND, UINT, UINT_PTR id, DWORD) {
  HWND popup = ::FindWindowA("#32768", nullptr);
  if (!popup) return;
  ::KillTimer(nullptr, id);
  HMENU menu = reinterpret_cast<HMENU>(::SendMessageA(popup, MN_GETHMENU, 0, 0));
  g_menu.shown = menu != nullptr;
  g_menu.playGrey = (::GetMenuState(menu, ID_PLAY_THIS, MF_BYCOMMAND) & MF_GRAYED) != 0;
  g_menu.deleteGrey = (::GetMenuState(menu, ID_DELETE_THIS, MF_BYCOMMAND) & MF_GRAYED) != 0;
  g_menu.repeatChecked = (::GetMenuState(menu, ID_REPEAT_THIS_TOGGLE, MF_BYCOMMAND) & MF_CHECKED) != 0;
  ::EndMenu();
}

std::string WindowsPath(std::string p) {
  for (char& c : p)
    if (c == '/') c = '\\';
  return "Z:" + p;
}

TEST_F(PlayListCtrlTest, ContextMenuFollowsTheRowUnderThePoint) {
  HMODULE resources = ::LoadLibraryExA(WindowsPath(VELK_EXE_UNIX).c_str(), nullptr,
                                       LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  ASSERT_NE(resources, nullptr);
  fw::SetResourceInstance(resources);
  Open();
  Fill(3);
  view_->SelectRange(0, 1);
  auto show = [&](POINT inView, int32_t repeatMode) {
    g_menu = MenuSeen();
    ::SetTimer(nullptr, 0, 50, &ReadMenu);
    view_->ShowContextMenu(parent_.m_hWnd, {inView.x + kViewRect.left, inView.y + kViewRect.top}, repeatMode);
    EXPECT_TRUE(g_menu.shown);
  };
  // Below the rows: nothing to play or delete, the selection stays.
  show({40, Row(2).bottom + 30}, 1);
  EXPECT_TRUE(g_menu.playGrey);
  EXPECT_TRUE(g_menu.deleteGrey);
  EXPECT_TRUE(g_menu.repeatChecked);
  EXPECT_EQ(view_->SelectedRows(), (std::vector<int32_t>{0, 1}));
  // On a row: that row alone is selected.
  show(Middle(2), 2);
  EXPECT_FALSE(g_menu.playGrey);
  EXPECT_FALSE(g_menu.deleteGrey);
  EXPECT_FALSE(g_menu.repeatChecked);
  EXPECT_EQ(view_->SelectedRows(), std::vector<int32_t>{2});
  fw::SetResourceInstance(nullptr);
  ::FreeLibrary(resources);
}

TEST_F(PlayListCtrlTest, RowsKeepTheirSelectionWhileOthersComeAndGo) {
  Open();
  Fill(6);
  view_->SelectRange(1, 1);
  view_->SelectRange(4, 4);
  view_->InsertRows(2, {"x", "y"});
  EXPECT_EQ(view_->SelectedRows(), (std::vector<int32_t>{1, 6}));
  view_->RemoveRows({0, 2});
  EXPECT_EQ(view_->SelectedRows(), (std::vector<int32_t>{0, 4}));
  EXPECT_EQ(view_->RowText(0), "row 1");
  EXPECT_EQ(view_->RowText(4), "row 4");
  view_->RemoveRows({4});
  EXPECT_EQ(view_->SelectedRows(), (std::vector<int32_t>{0}));
  view_->InvertSelection();
  EXPECT_EQ(view_->SelectedRows(), (std::vector<int32_t>{1, 2, 3, 4}));
  view_->SelectNone();
  EXPECT_TRUE(view_->SelectedRows().empty());
}

TEST_F(PlayListCtrlTest, AHundredThousandRows) {
  Open();
  std::vector<std::string> texts;
  for (int i = 0; i < 100000; ++i) texts.push_back("entry " + std::to_string(i));
  view_->InsertRows(0, std::move(texts));
  EXPECT_EQ(view_->SendMessage(LVM_GETITEMCOUNT), 100000);
  view_->SelectRange(99990, 99990);
  view_->InsertRows(0, {"first"});
  EXPECT_EQ(view_->SelectedRows(), std::vector<int32_t>{99991});
  view_->ScrollIntoView(99991);
  // The list asks the view for the text of a row it shows.
  char buf[64] = {};
  LVITEMA item{};
  item.pszText = buf;
  item.cchTextMax = sizeof(buf);
  view_->SendMessage(LVM_GETITEMTEXTA, 99991, reinterpret_cast<LPARAM>(&item));
  EXPECT_STREQ(buf, "entry 99990");
  const RECT row = Row(99991);
  ASSERT_GE(row.top, 0);
  ASSERT_LE(row.bottom, view_->GetClientRect().bottom);
  EXPECT_EQ(PixelAt(view_->GetClientRect().right - 3, (row.top + row.bottom) / 2), kSelectedBack);
  EXPECT_GT(Count(RECT{0, row.top, 150, row.bottom}, kNormalText), 0);
  EXPECT_EQ(view_->InsertIndexAt(5, row.top + 1), 99991);
  // Everything selected, every other row removed: the rest stay selected.
  view_->SelectRange(0, view_->RowCount() - 1);
  std::vector<int32_t> odd;
  for (int32_t i = 1; i < view_->RowCount(); i += 2) odd.push_back(i);
  view_->RemoveRows(odd);
  EXPECT_EQ(view_->RowCount(), 50001);
  EXPECT_EQ(view_->SelectedRows().size(), 50001u);
  EXPECT_EQ(view_->RowText(50000), "entry 99999");
}

}  // namespace
}  // namespace velk
