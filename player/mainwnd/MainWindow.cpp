#include "player/mainwnd/MainWindow.h"

namespace velk {

VELK_BEGIN_MESSAGE_TABLE(CMainWindow)
  VELK_ON_MESSAGE(WM_PAINT, CMainWindow, OnPaint),
VELK_END_MESSAGE_TABLE(CMainWindow, fw::CWnd);

bool CMainWindow::Create() {
  if (!RegisterClass(kClassName, CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW),
                     reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1))) {
    return false;
  }
  return CreateEx(0, kClassName, kWindowName, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 300,
                  300, nullptr, nullptr);
}

bool CMainWindow::OnPaint(fw::MsgArgs&) {
  PAINTSTRUCT ps;
  ::BeginPaint(m_hWnd, &ps);
  ::EndPaint(m_hWnd, &ps);
  return true;
}

}  // namespace velk
