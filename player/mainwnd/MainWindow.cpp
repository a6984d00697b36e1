#include "player/mainwnd/MainWindow.h"

#include "player/app/PlayerActions.h"

#include <shellapi.h>

#include <commctrl.h>

#include <cstring>
#include <ctime>

#include "platform/framework/Gdi.h"
#include "platform/framework/Menu.h"
#include "core/SettingsStore.h"
#include "player/app/SettingsTable.h"
#include "player/mainwnd/DisplayLayout.h"
#include "player/mainwnd/MainInput.h"
#include "platform/framework/Text.h"
#include "player/playlist/Location.h"
#include "player/playlist/PlayListFile.h"
#include "player/res/ResourceIds.h"
#include "player/skin/SkinLayout.h"
#include "player/skin/SkinRectWin.h"
#include "shared/PlayerMessages.h"

namespace velk {

namespace {
// A state query of the transport waits this long for a change in progress.
constexpr uint32_t kTransportWaitMs = 1000;
}  // namespace

VELK_BEGIN_MESSAGE_TABLE(CMainWindow)
  VELK_ON_MESSAGE(WM_CREATE, CMainWindow, OnCreate),
  VELK_ON_MESSAGE(WM_DESTROY, CMainWindow, OnDestroy),
  VELK_ON_MESSAGE(WM_SIZE, CMainWindow, OnSize),
  VELK_ON_MESSAGE(WM_TIMER, CMainWindow, OnTimer),
  VELK_ON_MESSAGE(WM_RBUTTONDOWN, CMainWindow, OnRButtonDown),
  VELK_ON_MESSAGE(WM_KEYDOWN, CMainWindow, OnKeyDown),
  VELK_ON_MESSAGE(WM_KEYUP, CMainWindow, OnKeyUp),
  VELK_ON_MESSAGE(WM_APPCOMMAND, CMainWindow, OnAppCommand),
  VELK_ON_MESSAGE(WM_SKIN_RESIZEDRAG, CMainWindow, OnResizeDrag),
  VELK_ON_MESSAGE(WM_PLAYER_TRAYNOTIFY, CMainWindow, OnTrayNotify),
  // Every skin button, hot region, title-bar dot and menu command is an
  // action: the action table says which.
  VELK_ON_ASKED(IsActionMessage, CMainWindow, OnActionMessage),
  VELK_ON_ASKED(IsActionCommand, CMainWindow, OnActionCommand),
  VELK_ON_MESSAGE(WM_PLAYER_MOVEENTRY, CMainWindow, OnMoveEntry),
  VELK_ON_MESSAGE(WM_DROPFILES, CMainWindow, OnDropFiles),
  VELK_ON_NOTIFY(CPlayListCtrl::kControlId, NM_DBLCLK, CMainWindow, OnViewDoubleClick),
  VELK_ON_MESSAGE(WM_PLAYER_GRAPHEVENT, CMainWindow, OnGraphEvent),
  VELK_ON_MESSAGE(WM_PLAYER_ENDOFMEDIA, CMainWindow, OnEndOfMedia),
  VELK_ON_MESSAGE(WM_PLAYER_VIDEOWINDOW, CMainWindow, OnVideoWindow),
  VELK_ON_MESSAGE(WM_PLAYER_OPTIONSCHANGED, CMainWindow, OnOptionsChanged),
  VELK_ON_MESSAGE(CMainWindow::kMsgDeleteRetiredWindows, CMainWindow, OnDeleteRetiredWindows),
VELK_END_MESSAGE_TABLE(CMainWindow, CSkinWnd);

CMainWindow::CMainWindow(ISettingsStore& settings) : CSkinWnd(settings), playlistView_(settings) {
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
  if (!playlist_) {
    playlist_ = std::make_unique<CPlayList>(Settings(), playlistView_, files_,
                                            [] { return static_cast<int64_t>(std::time(nullptr)); });
  }
  if (!playlistView_.Create(m_hWnd, GetInnerRect())) {
    m.result = -1;
    return true;
  }
  playlistView_.SetRowTips([this](int32_t row) {
    const auto failed = row < playlist_->Count() ? failures_.find(playlist_->Path(row)) : failures_.end();
    return failed == failures_.end() ? std::string() : failed->second;
  });
  FillPlayList();
  seenRevision_ = playlist_->Revision();
  // The automatic playlist as read has nothing to save; an item or a playlist
  // named on the command line takes its place, so that is written.
  if (CommandLineItem(commandLine_).empty()) playlist_->MarkSaved();

  timerId_ = ::SetTimer(m_hWnd, kTimerId, kTimerPeriodMs, nullptr);
  LoadColours();
  for (const SkinButton& button : MainWindowButtons()) AddButton(button);
  AddSeekArea();
  ::DragAcceptFiles(m_hWnd, TRUE);
  AddTrayIcon();
  if (!CommandLineItem(commandLine_).empty()) PlayByCode(playlist_->Navigate(NavStep::Keep));
  m.result = 0;
  return true;
}

// The automatic playlist, or the playlist or item named on the command line;
// then the current entry the last run left.
void CMainWindow::FillPlayList() {
  const std::string item = CommandLineItem(commandLine_);
  if (item.empty()) {
    const std::string folder = AutomaticPlayListFolder(Settings());
    ::SetCurrentDirectoryA(folder.c_str());
    LoadPlayList(*playlist_, files_, AutomaticPlayListName(), folder, 0);
  } else {
    if (IsPlaylistName(item)) {
      const FolderAndName parts = SplitFolderAndName(item);
      LoadPlayList(*playlist_, files_, parts.name, parts.folder, 0);
    } else {
      playlist_->AddEntry(item, 0);
    }
  }
  const int32_t saved = playlist_->SavedCurrentTrack();
  if (saved >= 0 && saved < playlistView_.RowCount()) {
    playlist_->SetCurrentTrack(saved);
    playlist_->SetCurrentEntry(saved);
  } else {
    playlist_->SetCurrentTrack(-1);
    playlistView_.SetPlayingIndex(-1);
  }
}

bool CMainWindow::OnDestroy(fw::MsgArgs& m) {
  CloseVideoWindow();
  CSkinWnd::OnDestroy(m);
  if (playlist_) playlist_->SaveIfChanged();
  // The output volume's audio-session object goes before the engine ends COM.
  volume_.reset();
  engine_.reset();
  playlist_.reset();
  retiredVideoWindows_.clear();
  if (timerId_) ::KillTimer(m_hWnd, timerId_);
  timerId_ = 0;
  RemoveTrayIcon();
  return true;
}

void CMainWindow::LoadColours() {
  const ISettingsStore& store = Settings();
  sliderColour_ = static_cast<COLORREF>(settings::Read(store, settings::SliderColor));
  timeColour_ = static_cast<COLORREF>(settings::Read(store, settings::TimeColor));
  timeBackColour_ = static_cast<COLORREF>(settings::Read(store, settings::TimeBackColor));
  volumeColour_ = static_cast<COLORREF>(settings::Read(store, settings::VolumeColor));
}

// --- Size, timer, drawing -----------------------------------------------------------

bool CMainWindow::OnSize(fw::MsgArgs& m) {
  CSkinWnd::OnSize(m);
  if (playlistView_.IsWindow()) {
    const RECT inner = GetInnerRect();
    ::SetWindowPos(playlistView_.m_hWnd, nullptr, 0, 0, inner.right - inner.left,
                   inner.bottom - inner.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    playlistView_.FitColumn();
  }
  AddSeekArea();
  InvalidateRect(VolumeBarRect());
  return true;
}

bool CMainWindow::OnResizeDrag(fw::MsgArgs& m) {
  CSkinWnd::OnResizeDrag(m);
  if (m.wParam == SKIN_MOUSE_UP) {
    Invalidate();
    if (playlistView_.IsWindow()) playlistView_.Invalidate();
  }
  return true;
}

bool CMainWindow::OnTimer(fw::MsgArgs& m) {
  if (m.wParam == kBurstTimerId) {
    ::KillTimer(m_hWnd, kBurstTimerId);
    StartHeldItem();
    return true;
  }
  InvalidateRect(SeekTrackRect());
  InvalidateRect(TimeAreaRect());
  // An item whose graph never reports its end is ended here, as if it had.
  if (engine_ && engine_->HasRunPastItsEnd()) PostMessage(WM_PLAYER_ENDOFMEDIA, 0, 0);
  SaveSoonAfterChanges();
  m.result = Default();
  return true;
}

// The automatic playlist is written a second or two after the entries last
// changed, besides at exit, so a crash or a freeze loses nothing. (A save of
// 100,000 entries takes a few tens of milliseconds: it stays on this thread.)
void CMainWindow::SaveSoonAfterChanges() {
  if (!playlist_) return;
  const uint64_t revision = playlist_->Revision();
  const DWORD now = ::GetTickCount();
  if (revision != seenRevision_) {
    seenRevision_ = revision;
    changedAt_ = now;
    return;
  }
  if (playlist_->ChangedSinceSaved() && now - changedAt_ >= kSaveDelayMs) playlist_->SavePlayList();
}

// --- Transport ------------------------------------------------------------------------

EngineState CMainWindow::CurrentEngineState() const {
  return engine_ ? engine_->GetState(kTransportWaitMs) : EngineState::Absent;
}

// The playlist has decided; the engine follows, when there is one. A failed
// open leaves the entry marked as playing and the window as it was.
void CMainWindow::Apply(const EngineRequest& request) {
  if (heldStart_) {  // whatever comes now decides instead of the burst's end
    heldStart_.reset();
    ::KillTimer(m_hWnd, kBurstTimerId);
  }
  if (engine_) {
    if (request.stop) engine_->Stop();
    if (request.pause) engine_->Pause();
    if (request.play && !engine_->Play(request.path) && !request.path.empty() && engine_->LastFailure() != S_OK) {
      // No message box that would hold up a playlist: the title says it until
      // the next item, the entry's row why for as long as it stays unplayable.
      const std::string why = CPlaybackEngine::FailureText(engine_->LastFailure());
      const std::string said = std::string(DisplayText(request.path)) + fw::Narrow(L" \u2014 cannot be played (") +
                               why + ")";
      ::SetWindowTextA(m_hWnd, said.c_str());
      failures_[request.path] = "Cannot be played: " + why;
    } else if (request.play) {
      failures_.erase(request.path);
    }
  }
  RefreshDisplays();
}

void CMainWindow::RefreshDisplays() {
  if (!IsWindow()) return;
  InvalidateRect(SeekTrackRect());
  InvalidateRect(TimeAreaRect());
}

void CMainWindow::PlayByCode(NavResult result) {
  if (!playlist_) return;
  EngineRequest request;
  if (velk::PlayByCode(*playlist_, result, request)) Apply(request);
}

void CMainWindow::Previous() {
  if (playlist_) Step(velk::RequestPrevious(*playlist_, CurrentEngineState()));
}

void CMainWindow::Next() {
  if (playlist_) Step(velk::RequestNext(*playlist_, CurrentEngineState()));
}

// Every item started builds a graph, a quarter of a second or more: a press
// that follows another within the burst pause only moves the mark (and the
// title), and the item it leaves marked starts once the presses stop. The
// first press of a burst starts its item at once.
void CMainWindow::Step(const EngineRequest& request) {
  const bool inBurst = heldStart_ || (stepped_ && ::GetTickCount() - lastStepAt_ < kBurstPauseMs);
  if (inBurst && request.play && !request.path.empty()) {
    heldStart_ = request;
    ::SetTimer(m_hWnd, kBurstTimerId, kBurstPauseMs, nullptr);
  } else {
    Apply(request);
  }
  stepped_ = true;
  lastStepAt_ = ::GetTickCount();
}

// Starts the item a burst of Next or Previous ended on, if one waits.
bool CMainWindow::StartHeldItem() {
  if (!heldStart_) return false;
  const EngineRequest request = *heldStart_;
  Apply(request);
  return true;
}

// A row being dragged is put where it is before anything moves the playing
// mark, so rows and entries agree (Delete removes the dragged entry, the end of
// an item marks the right row).
void CMainWindow::SettleDrag() {
  int32_t from = 0, to = 0;
  if (playlist_ && playlistView_.TakeDrag(from, to)) playlist_->MoveEntry(from, to);
}

void CMainWindow::Play() {
  if (playlist_) Apply(velk::RequestPlaySelected(*playlist_));
}

void CMainWindow::PauseResume() {
  if (playlist_) Apply(velk::RequestPauseResume(*playlist_, CurrentEngineState()));
}

void CMainWindow::Stop() {
  if (!engine_) return;
  engine_->Stop();
  videoFullScreen_ = false;
  RefreshDisplays();
}

bool CMainWindow::OnMoveEntry(fw::MsgArgs& m) {
  if (playlist_) playlist_->MoveEntry(static_cast<int32_t>(m.wParam), static_cast<int32_t>(m.lParam));
  return true;
}

bool CMainWindow::OnViewDoubleClick(fw::MsgArgs& m) {
  const auto* item = reinterpret_cast<const NMITEMACTIVATE*>(m.lParam);
  if (playlist_ && item) Apply(velk::RequestDoubleClick(*playlist_, item->iItem));
  return true;
}

// Dropped files and folders go where they were dropped on the list, or at its
// end; a dropped playlist is read with its own folder current. Nothing starts.
bool CMainWindow::OnDropFiles(fw::MsgArgs& m) {
  HDROP drop = reinterpret_cast<HDROP>(m.wParam);
  if (!playlist_) {
    ::DragFinish(drop);
    return true;
  }
  std::string remembered(::GetCurrentDirectoryA(0, nullptr), '\0');
  remembered.resize(::GetCurrentDirectoryA(static_cast<DWORD>(remembered.size()), remembered.data()));

  const UINT count = ::DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
  std::vector<std::string> names;
  names.reserve(count);
  for (UINT i = 0; i < count; ++i) {
    std::string name(::DragQueryFileA(drop, i, nullptr, 0) + 1, '\0');
    name.resize(::DragQueryFileA(drop, i, name.data(), static_cast<UINT>(name.size())));
    names.push_back(std::move(name));
  }
  POINT point{};
  const bool inClient = ::DragQueryPoint(drop, &point) != FALSE;
  ::DragFinish(drop);

  int32_t index = playlistView_.RowCount();
  if (inClient) index = playlistView_.InsertIndexAt(point.x, point.y - ViewRect().top);
  if (names.size() == 1 && IsPlaylistName(names.front())) {
    ::SetCurrentDirectoryA(SplitFolderAndName(names.front()).folder.c_str());
  }
  velk::AddDroppedFiles(*playlist_, names, index);
  if (!remembered.empty()) ::SetCurrentDirectoryA(remembered.c_str());
  return true;
}

RECT CMainWindow::ViewRect() const {
  RECT rc{};
  if (!playlistView_.IsWindow()) return rc;
  ::GetWindowRect(playlistView_.m_hWnd, &rc);
  ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&rc), 2);
  return rc;
}

bool CMainWindow::OnKeyDown(fw::MsgArgs& m) {
  // A press with Ctrl or Alt held that means nothing here (Ctrl+C) is not
  // remembered, so its release does nothing either, however late it comes.
  if (ActionOfKey(m.Key(), CtrlOrAltHeld()) != Action::None) keyPresses_.Pressed(m.Key());
  m.result = Default();
  return true;
}

bool CMainWindow::OnKeyUp(fw::MsgArgs& m) {
  if (!keyPresses_.Released(m.Key())) {  // pressed in a dialog or a menu, not here
    m.result = Default();
    return true;
  }
  SettleDrag();
  Perform(ActionOfKey(m.Key(), CtrlOrAltHeld()));
  m.result = Default();
  return true;
}

bool CMainWindow::CtrlOrAltHeld() { return ::GetKeyState(VK_CONTROL) < 0 || ::GetKeyState(VK_MENU) < 0; }

// Media keys, from either window: the same actions as the buttons.
bool CMainWindow::OnAppCommand(fw::MsgArgs& m) {
  const EngineState state = engine_ ? engine_->GetState(0) : EngineState::Stopped;
  const Action action = ActionOfMediaKey(GET_APPCOMMAND_LPARAM(m.lParam), state);
  if (action == Action::None) {
    m.result = Default();
    return true;
  }
  Perform(action);
  m.result = TRUE;
  return true;
}

// --- Engine messages ------------------------------------------------------------------

bool CMainWindow::OnGraphEvent(fw::MsgArgs&) {
  if (engine_) engine_->HandleGraphEvents();
  return true;
}

bool CMainWindow::OnEndOfMedia(fw::MsgArgs&) {
  SettleDrag();
  if (StartHeldItem()) return true;  // the old item ended during a burst: its end starts it
  if (playlist_) {
    Apply(velk::RequestAtEndOfMedia(*playlist_));
  } else if (engine_) {
    engine_->Stop();
    RefreshDisplays();
  }
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
    videoWindow_ = std::make_unique<CVideoFrameWindow>(reinterpret_cast<IVideoWindow*>(m.wParam), Settings());
  }
  if (!videoWindow_->IsWindow()) {
    videoWindow_->SetCaptionLanguages(engine_.get());
    if (!videoWindow_->Create(this)) {
      videoWindow_.reset();
      return true;
    }
    ::ShowWindow(videoWindow_->m_hWnd, SW_SHOW);
    ::UpdateWindow(videoWindow_->m_hWnd);
    if (videoFullScreen_) videoWindow_->EnterFullScreen();
  }
  AddDockPartner(videoWindow_.get());
  return true;
}

void CMainWindow::CloseVideoWindow() {
  if (!videoWindow_) return;
  videoFullScreen_ = videoWindow_->IsWindow() && videoWindow_->IsFullScreen();
  RemoveDockPartner(videoWindow_.get());
  if (videoWindow_->IsWindow() && videoWindow_->IsMenuOpen()) {
    // Its right-button handler is still inside the menu loop: the window lets
    // go of the picture now and goes once that handler has returned.
    videoWindow_->Retire();
    retiredVideoWindows_.push_back(std::move(videoWindow_));
    PostMessage(kMsgDeleteRetiredWindows);
    return;
  }
  if (videoWindow_->IsWindow()) videoWindow_->DestroyWindow();
  videoWindow_.reset();
}

bool CMainWindow::OnDeleteRetiredWindows(fw::MsgArgs&) {
  for (auto it = retiredVideoWindows_.begin(); it != retiredVideoWindows_.end();) {
    if ((*it)->IsMenuOpen()) {
      ++it;
      continue;
    }
    if ((*it)->IsWindow()) (*it)->DestroyWindow();
    it = retiredVideoWindows_.erase(it);
  }
  if (!retiredVideoWindows_.empty()) PostMessage(kMsgDeleteRetiredWindows);
  return true;
}

bool CMainWindow::OnOptionsChanged(fw::MsgArgs&) {
  LoadColours();
  LoadSkin(settings::Read(Settings(), settings::MainSkinPath));
  AddSeekArea();
  Invalidate(true);
  if (videoWindow_ && videoWindow_->IsWindow()) videoWindow_->PostMessage(WM_PLAYER_OPTIONSCHANGED, 0, 0);
  if (playlistView_.IsWindow()) playlistView_.ReloadSettings();
  return true;
}

// --- Window controls, menus, tray -----------------------------------------------------

void CMainWindow::OpenHomePage() {
  ::ShellExecuteA(m_hWnd, "open", kHomePage, nullptr, nullptr, SW_SHOWNORMAL);
}

// Minimised with the current rectangle kept as the normal position.
void CMainWindow::Minimize() {
  RECT rc{};
  ::GetWindowRect(m_hWnd, &rc);
  WINDOWPLACEMENT placement{};
  placement.length = sizeof(placement);
  placement.showCmd = SW_SHOWMINIMIZED;
  placement.ptMinPosition = POINT{rc.left, rc.top};
  placement.ptMaxPosition = POINT{rc.left, rc.top};
  placement.rcNormalPosition = rc;
  ::SetWindowPlacement(m_hWnd, &placement);
}

bool CMainWindow::OnRButtonDown(fw::MsgArgs& m) {
  const POINT client = m.Point();
  const RECT view = ViewRect();
  if (playlistView_.IsWindow() && ::PtInRect(&view, client)) {
    playlistView_.ShowContextMenu(m_hWnd, client, playlist_ ? playlist_->RepeatMode() : REPEAT_NONE);
    m.result = Default();
    return true;
  }
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
  if (position == MAIN_MENU_POPUP) PrepareMainPopup(popup);
  fw::TrackMenu(popup, m_hWnd, screen);
}

void CMainWindow::PrepareMainPopup(HMENU popup) {
  if (HMENU skins = ::GetSubMenu(popup, MAIN_POPUP_SKIN)) BuildSkinMenu(skins);
  if (!playlist_) return;
  PlayerSnapshot player;
  player.repeatMode = playlist_->RepeatMode();
  player.shuffle = playlist_->Shuffle();
  fw::MarkMenu(popup, [&](UINT id) { return CommandStateOf(id, player); });
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
