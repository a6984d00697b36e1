#include "player/mainwnd/MainWindow.h"

#include "player/options/OptionsDialog.h"

#include <shellapi.h>

#include <cstring>

#include "platform/framework/Gdi.h"
#include "platform/framework/Menu.h"
#include "player/app/SettingsStore.h"
#include "player/app/SettingsTable.h"
#include "player/mainwnd/DisplayLayout.h"
#include "player/mainwnd/MainInput.h"
#include "player/skin/SkinLayout.h"
#include "shared/PlayerMessages.h"

namespace velk {

namespace {
// The content area until the playlist view fills it.
constexpr COLORREF kContentColour = RGB(0x10, 0x16, 0x1c);
// A state query of the transport waits this long for a change in progress.
constexpr uint32_t kTransportWaitMs = 1000;
// The displays wait longer: they must not flicker while a graph starts.
constexpr uint32_t kDisplayWaitMs = 3000;

RECT ToRect(const SkinRect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }
}  // namespace

VELK_BEGIN_MESSAGE_TABLE(CMainWindow)
  VELK_ON_MESSAGE(WM_CREATE, CMainWindow, OnCreate),
  VELK_ON_MESSAGE(WM_DESTROY, CMainWindow, OnDestroy),
  VELK_ON_MESSAGE(WM_SIZE, CMainWindow, OnSize),
  VELK_ON_MESSAGE(WM_TIMER, CMainWindow, OnTimer),
  VELK_ON_MESSAGE(WM_RBUTTONDOWN, CMainWindow, OnRButtonDown),
  VELK_ON_MESSAGE(WM_KEYUP, CMainWindow, OnKeyUp),
  VELK_ON_MESSAGE(WM_SKIN_RESIZEDRAG, CMainWindow, OnResizeDrag),
  VELK_ON_MESSAGE(WM_PLAYER_TRAYNOTIFY, CMainWindow, OnTrayNotify),
  VELK_ON_MESSAGE(ID_SKIN_CLOSE, CMainWindow, OnCloseDot),
  VELK_ON_MESSAGE(ID_SKIN_MINIMIZE, CMainWindow, OnMinimizeDot),
  VELK_ON_MESSAGE_RANGE(ID_BTN_PLAY, ID_BTN_STOP, CMainWindow, OnTransportButton),
  VELK_ON_MESSAGE(ID_BTN_PAUSE, CMainWindow, OnTransportButton),
  VELK_ON_MESSAGE_RANGE(ID_BTN_VOLUP, ID_BTN_VOLDOWN, CMainWindow, OnVolumeButton),
  VELK_ON_MESSAGE(ID_BTN_OPTIONS, CMainWindow, OnOptionsButton),
  VELK_ON_MESSAGE(ID_AREA_SEEK, CMainWindow, OnSeekStrip),
  VELK_ON_MESSAGE(ID_AREA_VOLUME, CMainWindow, OnVolumeStrip),
  VELK_ON_COMMAND_RANGE(ID_PLAY, ID_PAUSE, CMainWindow, OnTransportCommand),
  VELK_ON_COMMAND(ID_APP_EXIT, CMainWindow, OnExitCommand),
  VELK_ON_COMMAND(ID_HOME_PAGE, CMainWindow, OnHomePageCommand),
  VELK_ON_MESSAGE(WM_PLAYER_GRAPHEVENT, CMainWindow, OnGraphEvent),
  VELK_ON_MESSAGE(WM_PLAYER_ENDOFMEDIA, CMainWindow, OnEndOfMedia),
  VELK_ON_MESSAGE(WM_PLAYER_VIDEOWINDOW, CMainWindow, OnVideoWindow),
  VELK_ON_MESSAGE(WM_PLAYER_OPTIONSCHANGED, CMainWindow, OnOptionsChanged),
VELK_END_MESSAGE_TABLE(CMainWindow, CSkinWnd);

CMainWindow::CMainWindow() {
  icon_ = ::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_VELK));
  LoadColours();
}

CMainWindow::~CMainWindow() {
  CloseVideoWindow();
  if (IsWindow()) DestroyWindow();
}

bool CMainWindow::Create(const std::string& commandLine) {
  commandLine_ = commandLine;
  return CSkinWnd::Create(kWindowName, "", &kMainFrameTable, nullptr);
}

// --- Creation and destruction -------------------------------------------------------

bool CMainWindow::OnCreate(fw::MsgArgs& m) {
  CSkinWnd::OnCreate(m);
  if (m.result == -1) return true;
  if (icon_) {
    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));
  }
  if (!engine_) engine_ = std::make_unique<CPlaybackEngine>(this);
  if (!volume_) volume_ = std::make_unique<COutputVolume>();

  currentItem_ = CommandLineItem(commandLine_);

  timerId_ = ::SetTimer(m_hWnd, kTimerId, kTimerPeriodMs, nullptr);
  LoadColours();
  for (const SkinButton& button : MainWindowButtons()) AddButton(button);
  AddSeekArea();
  AddTrayIcon();
  if (!currentItem_.empty()) Play();
  m.result = 0;
  return true;
}

bool CMainWindow::OnDestroy(fw::MsgArgs& m) {
  CloseVideoWindow();
  CSkinWnd::OnDestroy(m);
  engine_.reset();
  if (timerId_) ::KillTimer(m_hWnd, timerId_);
  timerId_ = 0;
  RemoveTrayIcon();
  return true;
}

void CMainWindow::LoadColours() {
  const ISettingsStore& store = AppSettings();
  sliderColour_ = static_cast<COLORREF>(settings::Read(store, settings::SliderColor));
  timeColour_ = static_cast<COLORREF>(settings::Read(store, settings::TimeColor));
  timeBackColour_ = static_cast<COLORREF>(settings::Read(store, settings::TimeBackColor));
  volumeColour_ = static_cast<COLORREF>(settings::Read(store, settings::VolumeColor));
}

// --- Size, timer, drawing -----------------------------------------------------------

bool CMainWindow::OnSize(fw::MsgArgs& m) {
  CSkinWnd::OnSize(m);
  AddSeekArea();
  InvalidateRect(VolumeBarRect());
  return true;
}

bool CMainWindow::OnResizeDrag(fw::MsgArgs& m) {
  CSkinWnd::OnResizeDrag(m);
  if (m.wParam == SKIN_MOUSE_UP) Invalidate();
  return true;
}

bool CMainWindow::OnTimer(fw::MsgArgs& m) {
  InvalidateRect(SeekTrackRect());
  InvalidateRect(TimeAreaRect());
  m.result = Default();
  return true;
}

// The seek strip spans the width between the side edges, so it follows every size change.
void CMainWindow::AddSeekArea() {
  CFrameSkinImage* frame = GetFrameImage();
  if (!frame) return;
  RemoveButton(ID_AREA_SEEK);
  const RECT client = GetClientRect();
  AddButton(MainSeekStrip({client.left, client.top, client.right, client.bottom}, frame->SizeFunction()));
  InvalidateRect(SeekTrackRect());
}

SkinSize CMainWindow::ClientSize() const {
  const RECT client = GetClientRect();
  return SkinSize{client.right - client.left, client.bottom - client.top};
}

RECT CMainWindow::TimeAreaRect() const { return ToRect(display::TimeArea(ClientSize())); }

namespace {
display::SkinMetrics MetricsOf(const CFrameSkinImage* frame) {
  display::SkinMetrics metrics;
  if (!frame) return metrics;
  metrics.leftEdgeWidth = frame->GetImageSize(FP_EDGE_LEFT).width;
  metrics.rightEdgeWidth = frame->GetImageSize(FP_EDGE_RIGHT).width;
  metrics.bottomLeftHeight = frame->GetImageSize(FP_BOTTOM_LEFT).height;
  metrics.volumeImage = frame->GetImageSize(383);
  return metrics;
}
}  // namespace

RECT CMainWindow::SeekTrackRect() const {
  return ToRect(display::SeekTrack(ClientSize(), MetricsOf(GetFrameImage())));
}

RECT CMainWindow::VolumeBarRect() const {
  return ToRect(display::VolumeBar(ClientSize(), MetricsOf(GetFrameImage())));
}

void CMainWindow::DrawWindow(HDC dc) {
  fw::FillSolidRect(dc, GetInnerRect(), kContentColour);
  CSkinWnd::DrawWindow(dc);
  DrawSeekThumb(dc);
  DrawPlayingTime(dc);
  DrawVolumeBar(dc);
}

void CMainWindow::DrawSeekThumb(HDC dc) {
  if (!engine_ || engine_->GetState(kDisplayWaitMs) != CPlaybackEngine::kRunning) return;
  const RECT track = SeekTrackRect();
  const display::ThumbStrokes thumb =
      display::SeekThumb({track.left, track.top, track.right, track.bottom}, engine_->GetPosition(),
                         engine_->GetDuration());
  if (!thumb.visible) return;
  for (const SkinRect& stroke : thumb.strokes) fw::FillSolidRect(dc, ToRect(stroke), sliderColour_);
}

void CMainWindow::DrawPlayingTime(HDC dc) {
  const SkinSize client = ClientSize();
  const int state = engine_ ? engine_->GetState(kDisplayWaitMs) : CPlaybackEngine::kStopped;
  if (state != CPlaybackEngine::kPaused && state != CPlaybackEngine::kRunning) {
    fw::FillSolidRect(dc, TimeAreaRect(), timeBackColour_);
    return;
  }
  const int height = -::MulDiv(6, ::GetDeviceCaps(dc, LOGPIXELSY), 72);
  HFONT font = ::CreateFontA(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                             DEFAULT_PITCH | FF_SWISS, "Arial");
  HGDIOBJ oldFont = font ? ::SelectObject(dc, font) : nullptr;
  const COLORREF oldBack = ::SetBkColor(dc, timeBackColour_);
  const COLORREF oldText = ::SetTextColor(dc, timeColour_);
  const display::TimeText text = display::FormatTime(engine_->GetPosition());
  auto field = [&](RECT rc, const std::string& digits) {
    fw::FillSolidRect(dc, rc, timeBackColour_);
    ::DrawTextA(dc, digits.c_str(), static_cast<int>(digits.size()), &rc,
                DT_RIGHT | DT_VCENTER | DT_SINGLELINE);
  };
  field(ToRect(display::MinutesField(client)), text.minutes);
  field(ToRect(display::SecondsField(client)), text.seconds);
  ::SetTextColor(dc, oldText);
  ::SetBkColor(dc, oldBack);
  if (oldFont) ::SelectObject(dc, oldFont);
  if (font) ::DeleteObject(font);
}

void CMainWindow::DrawVolumeBar(HDC dc) {
  uint32_t levels = 0;
  if (!volume_ || !volume_->Get(levels)) return;
  RECT bar = VolumeBarRect();
  const int32_t filled = display::VolumeFill({bar.left, bar.top, bar.right, bar.bottom},
                                             static_cast<uint16_t>(levels & 0xFFFF),
                                             static_cast<uint16_t>(levels >> 16));
  bar.right = bar.left + filled;
  if (filled > 0) fw::FillSolidRect(dc, bar, volumeColour_);
}

// --- Transport ------------------------------------------------------------------------

void CMainWindow::ActOnButton(UINT id) {
  switch (id) {
    case ID_BTN_PLAY: Play(); break;
    case ID_BTN_PAUSE: PauseResume(); break;
    case ID_BTN_STOP: Stop(); break;
    case ID_BTN_VOLUP:
      if (volume_ && volume_->Up()) InvalidateRect(VolumeBarRect());
      break;
    case ID_BTN_VOLDOWN:
      if (volume_ && volume_->Down()) InvalidateRect(VolumeBarRect());
      break;
    default: break;
  }
}

void CMainWindow::Play() {
  if (!engine_ || currentItem_.empty()) return;
  engine_->Stop();
  if (engine_->Play(currentItem_)) ::SetWindowTextA(m_hWnd, currentItem_.c_str());
  Invalidate();
}

void CMainWindow::PauseResume() {
  if (!engine_) return;
  switch (engine_->GetState(kTransportWaitMs)) {
    case CPlaybackEngine::kPaused: engine_->Play(currentItem_); break;
    case CPlaybackEngine::kRunning: engine_->Pause(); break;
    default: break;
  }
  InvalidateRect(SeekTrackRect());
  InvalidateRect(TimeAreaRect());
}

void CMainWindow::Stop() {
  if (!engine_) return;
  engine_->Stop();
  InvalidateRect(SeekTrackRect());
  InvalidateRect(TimeAreaRect());
}

bool CMainWindow::OnTransportButton(fw::MsgArgs& m) {
  ActOnButton(m.message);
  return true;
}

bool CMainWindow::OnOptionsButton(fw::MsgArgs&) {
  // The pages announce their changes to this window, which rereads them.
  options::COptionsDialog dialog(this);
  dialog.DoModal();
  return true;
}

bool CMainWindow::OnVolumeButton(fw::MsgArgs& m) {
  ActOnButton(m.message);
  return true;
}

bool CMainWindow::OnSeekStrip(fw::MsgArgs& m) {
  if (engine_ && engine_->SeekAtClick(SeekTrackRect(), m.X())) {
    InvalidateRect(SeekTrackRect());
    InvalidateRect(TimeAreaRect());
  }
  return true;
}

bool CMainWindow::OnVolumeStrip(fw::MsgArgs& m) {
  if (volume_ && volume_->Click(VolumeBarRect(), m.X())) InvalidateRect(VolumeBarRect());
  return true;
}

bool CMainWindow::OnTransportCommand(fw::MsgArgs& m) {
  switch (m.CommandId()) {
    case ID_PLAY: Play(); break;
    case ID_PAUSE: PauseResume(); break;
    case ID_STOP: Stop(); break;
    default: return false;
  }
  return true;
}

bool CMainWindow::OnKeyUp(fw::MsgArgs& m) {
  const KeyMapping key = MapMainWindowKey(m.Key());
  if (key.action == KeyAction::Button) ActOnButton(key.button);
  m.result = Default();
  return true;
}

// --- Engine messages ------------------------------------------------------------------

bool CMainWindow::OnGraphEvent(fw::MsgArgs&) {
  if (engine_) engine_->HandleGraphEvents();
  return true;
}

bool CMainWindow::OnEndOfMedia(fw::MsgArgs&) {
  if (engine_) engine_->Stop();
  InvalidateRect(SeekTrackRect());
  InvalidateRect(TimeAreaRect());
  return true;
}

// The engine announces its renderer (1) and takes it back (0) by a send: the
// video window adopts the picture, or is gone, before the send returns.
bool CMainWindow::OnVideoWindow(fw::MsgArgs& m) {
  if (m.lParam == 0) {
    CloseVideoWindow();
    return true;
  }
  if (!videoWindow_) {
    videoWindow_ = std::make_unique<CVideoFrameWindow>(reinterpret_cast<IVideoWindow*>(m.wParam));
  }
  if (!videoWindow_->IsWindow()) {
    if (!videoWindow_->Create(this)) {
      videoWindow_.reset();
      return true;
    }
    ::ShowWindow(videoWindow_->m_hWnd, SW_SHOW);
    ::UpdateWindow(videoWindow_->m_hWnd);
  }
  AddDockPartner(videoWindow_.get());
  return true;
}

void CMainWindow::CloseVideoWindow() {
  if (!videoWindow_) return;
  if (videoWindow_->IsWindow()) videoWindow_->DestroyWindow();
  RemoveDockPartner(videoWindow_.get());
  videoWindow_.reset();
}

bool CMainWindow::OnOptionsChanged(fw::MsgArgs&) {
  LoadColours();
  LoadSkin(settings::Read(AppSettings(), settings::MainSkinPath));
  AddSeekArea();
  Invalidate(true);
  if (videoWindow_ && videoWindow_->IsWindow()) videoWindow_->PostMessage(WM_PLAYER_OPTIONSCHANGED, 0, 0);
  return true;
}

// --- Window controls, menus, tray -----------------------------------------------------

bool CMainWindow::OnCloseDot(fw::MsgArgs&) {
  DestroyWindow();
  return true;
}

bool CMainWindow::OnExitCommand(fw::MsgArgs&) {
  DestroyWindow();
  return true;
}

bool CMainWindow::OnHomePageCommand(fw::MsgArgs&) {
  ::ShellExecuteA(m_hWnd, "open", kHomePage, nullptr, nullptr, SW_SHOWNORMAL);
  return true;
}

// Minimised with the current rectangle kept as the normal position.
bool CMainWindow::OnMinimizeDot(fw::MsgArgs&) {
  RECT rc{};
  ::GetWindowRect(m_hWnd, &rc);
  WINDOWPLACEMENT placement{};
  placement.length = sizeof(placement);
  placement.showCmd = SW_SHOWMINIMIZED;
  placement.ptMinPosition = POINT{rc.left, rc.top};
  placement.ptMaxPosition = POINT{rc.left, rc.top};
  placement.rcNormalPosition = rc;
  ::SetWindowPlacement(m_hWnd, &placement);
  return true;
}

bool CMainWindow::OnRButtonDown(fw::MsgArgs& m) {
  const POINT client = m.Point();
  const RECT rc = GetClientRect();
  int position = MAIN_MENU_POPUP;
  switch (HitTest(client.x, client.y, rc)) {
    case ID_BTN_OPENLIST: position = MAIN_MENU_LOAD_LIST; break;
    case ID_BTN_ADD: position = MAIN_MENU_ADD_FILE; break;
    case ID_BTN_REMOVE: position = MAIN_MENU_REMOVE_FILE; break;
    case ID_BTN_SELECT: position = MAIN_MENU_SELECT; break;
    default: break;
  }
  POINT screen = client;
  ::ClientToScreen(m_hWnd, &screen);
  ShowMenu(position, screen);
  m.result = Default();
  return true;
}

void CMainWindow::ShowMenu(int position, POINT screen) {
  fw::CMenu menu = fw::CMenu::LoadResource(IDR_MAIN_MENU);
  if (!menu) return;
  HMENU popup = menu.SubMenu(position);
  if (!popup) return;
  if (position == MAIN_MENU_POPUP) {
    if (HMENU skins = ::GetSubMenu(popup, MAIN_POPUP_SKIN)) BuildSkinMenu(skins);
  }
  ::TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_RIGHTBUTTON, screen.x, screen.y, 0, m_hWnd, nullptr);
}

void CMainWindow::AddTrayIcon() {
  NOTIFYICONDATAA data{};
  data.cbSize = sizeof(data);
  data.hWnd = m_hWnd;
  data.uID = kTrayIconId;
  data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data.uCallbackMessage = WM_PLAYER_TRAYNOTIFY;
  data.hIcon = icon_;
  std::strncpy(data.szTip, kTrayTip, sizeof(data.szTip) - 1);
  trayIconAdded_ = ::Shell_NotifyIconA(NIM_ADD, &data) != FALSE;
}

void CMainWindow::RemoveTrayIcon() {
  if (!trayIconAdded_) return;
  NOTIFYICONDATAA data{};
  data.cbSize = sizeof(data);
  data.hWnd = m_hWnd;
  data.uID = kTrayIconId;
  ::Shell_NotifyIconA(NIM_DELETE, &data);
  trayIconAdded_ = false;
}

bool CMainWindow::OnTrayNotify(fw::MsgArgs& m) {
  if (m.lParam == WM_RBUTTONUP && m.wParam == kTrayIconId) {
    POINT cursor{};
    ::GetCursorPos(&cursor);
    ::SetForegroundWindow(m_hWnd);
    ShowMenu(MAIN_MENU_POPUP, cursor);
  } else if (m.lParam == WM_LBUTTONDOWN) {
    if (::IsIconic(m_hWnd)) {
      PostMessage(WM_SYSCOMMAND, SC_RESTORE, 0);
    } else {
      ::SetForegroundWindow(m_hWnd);
    }
  }
  return true;
}

}  // namespace velk
