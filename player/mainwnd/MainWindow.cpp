#include "player/mainwnd/MainWindow.h"

#include "platform/framework/Gdi.h"
#include "platform/framework/Menu.h"
#include "player/skin/SkinCatalog.h"
#include "player/skin/SkinLayout.h"
#include "shared/PlayerMessages.h"

namespace velk {

namespace {
// The content area until the playlist view fills it.
constexpr COLORREF kContentColour = RGB(0x10, 0x16, 0x1c);
}  // namespace

VELK_BEGIN_MESSAGE_TABLE(CMainWindow)
  VELK_ON_MESSAGE(WM_CREATE, CMainWindow, OnCreate),
  VELK_ON_MESSAGE(WM_SIZE, CMainWindow, OnSize),
  VELK_ON_MESSAGE(WM_RBUTTONDOWN, CMainWindow, OnRButtonDown),
  VELK_ON_MESSAGE(ID_SKIN_CLOSE, CMainWindow, OnCloseDot),
  VELK_ON_MESSAGE(ID_SKIN_MINIMIZE, CMainWindow, OnMinimizeDot),
VELK_END_MESSAGE_TABLE(CMainWindow, CSkinWnd);

bool CMainWindow::Create() { return CSkinWnd::Create(kWindowName, "", &kMainFrameTable, nullptr); }

void CMainWindow::DrawWindow(HDC dc) {
  fw::FillSolidRect(dc, GetInnerRect(), kContentColour);
  CSkinWnd::DrawWindow(dc);
}

bool CMainWindow::OnCreate(fw::MsgArgs& m) {
  CSkinWnd::OnCreate(m);
  if (m.result == -1) return true;
  for (const SkinButton& button : MainWindowButtons()) AddButton(button);
  AddSeekStrip();
  return true;
}

bool CMainWindow::OnSize(fw::MsgArgs& m) {
  CSkinWnd::OnSize(m);
  AddSeekStrip();
  return true;
}

// The seek strip spans the width between the side edges, so it follows every size change.
void CMainWindow::AddSeekStrip() {
  CFrameSkinImage* frame = GetFrameImage();
  if (!frame) return;
  RemoveButton(ID_AREA_SEEK);
  const RECT client = GetClientRect();
  AddButton(MainSeekStrip({client.left, client.top, client.right, client.bottom}, frame->SizeFunction()));
}

bool CMainWindow::OnRButtonDown(fw::MsgArgs& m) {
  ShowPopupMenu(m.Point());
  m.result = Default();
  return true;
}

void CMainWindow::ShowPopupMenu(POINT client) {
  fw::CMenu popup = fw::CMenu::CreatePopup();
  fw::CMenu skins = fw::CMenu::CreatePopup();
  if (!popup || !skins) return;
  skins.AppendItem(ID_SKIN_BASE, "<Base Skin>");
  BuildSkinMenu(skins.Handle());
  popup.AppendSubMenu(std::move(skins), "&Skin");
  POINT screen = client;
  ::ClientToScreen(m_hWnd, &screen);
  popup.Track(m_hWnd, screen);
}

bool CMainWindow::OnCloseDot(fw::MsgArgs&) {
  DestroyWindow();
  return true;
}

bool CMainWindow::OnMinimizeDot(fw::MsgArgs&) {
  ::ShowWindow(m_hWnd, SW_MINIMIZE);
  return true;
}

}  // namespace velk
