#include "player/video/VideoFrameWindow.h"


#include <algorithm>
#include <new>

#include "core/CaptionText.h"
#include "platform/framework/Gdi.h"
#include "platform/framework/Menu.h"
#include "platform/framework/Text.h"
#include "player/app/PlayerActions.h"
#include "core/SettingsStore.h"
#include "player/app/SettingsTable.h"
#include "player/skin/SkinLayout.h"
#include "player/skin/SkinRectWin.h"
#include "shared/PlayerMessages.h"

namespace velk {

namespace {
// The renderer window's own frame, stripped once it sits in this window.
constexpr long kRendererFrameStyle = WS_CAPTION | WS_THICKFRAME;  // 0x00C40000
constexpr long kRendererFrameExStyle =
    WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE | WS_EX_CLIENTEDGE | WS_EX_STATICEDGE;  // 0x00020301
static_assert(kRendererFrameStyle == 0x00C40000 && kRendererFrameExStyle == 0x00020301);
// A scale keeps the window's place, z-order and activation.
constexpr UINT kScaleFlags =
    SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW | SWP_NOOWNERZORDER;

// The monitor a window is on (the nearest one when it is on none).
MONITORINFO MonitorOf(HWND window) {
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  if (!::GetMonitorInfoA(::MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &info)) {
    info.rcMonitor = {0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    info.rcWork = info.rcMonitor;
  }
  return info;
}

OAHWND AsOwner(HWND hwnd) { return reinterpret_cast<OAHWND>(hwnd); }

}  // namespace

VELK_BEGIN_MESSAGE_TABLE(CVideoFrameWindow)
  VELK_ON_MESSAGE(WM_CREATE, CVideoFrameWindow, OnCreate),
  VELK_ON_MESSAGE(WM_DESTROY, CVideoFrameWindow, OnDestroy),
  VELK_ON_MESSAGE(WM_SIZE, CVideoFrameWindow, OnSize),
  VELK_ON_MESSAGE(WM_KEYDOWN, CVideoFrameWindow, OnKeyDown),
  VELK_ON_MESSAGE(WM_KEYUP, CVideoFrameWindow, OnKeyUp),
  VELK_ON_MESSAGE(WM_APPCOMMAND, CVideoFrameWindow, OnAppCommand),
  VELK_ON_MESSAGE(WM_RBUTTONDOWN, CVideoFrameWindow, OnRButtonDown),
  // Its menu's commands and title-bar dots are actions, its own or the main
  // window's: the action table says which.
  VELK_ON_ASKED(IsActionCommand, CVideoFrameWindow, OnActionCommand),
  VELK_ON_ASKED(IsActionMessage, CVideoFrameWindow, OnActionMessage),
  VELK_ON_COMMAND_RANGE(ID_CAPTION_LANGUAGE_FIRST, ID_CAPTION_LANGUAGE_LAST, CVideoFrameWindow, OnCaptionLanguage),
  VELK_ON_MESSAGE(WM_SKIN_RESIZEDRAG, CVideoFrameWindow, OnResizeDrag),
  VELK_ON_MESSAGE(WM_SKIN_MOVEDRAG, CVideoFrameWindow, OnMoveDrag),
  VELK_ON_MESSAGE(WM_PLAYER_OPTIONSCHANGED, CVideoFrameWindow, OnOptionsChanged),
  VELK_ON_MESSAGE(WM_PLAYER_CAPTIONTEXT, CVideoFrameWindow, OnCaptionText),
VELK_END_MESSAGE_TABLE(CVideoFrameWindow, CSkinWnd);

CVideoFrameWindow::CVideoFrameWindow(IVideoWindow* renderer, ISettingsStore& settings)
    : CSkinWnd(settings), renderer_(renderer) {}

// The engine detaches the renderer once this window is gone; until then it
// must neither show itself again nor stay visible.
CVideoFrameWindow::~CVideoFrameWindow() {
  if (IsWindow()) DestroyWindow();
  if (renderer_) {
    renderer_->put_AutoShow(OAFALSE);
    renderer_->put_Visible(OAFALSE);
  }
}

bool CVideoFrameWindow::Create(CSkinWnd* owner) {
  return CSkinWnd::Create(kWindowName, "", &kVideoFrameTable, owner);
}

// --- Creation and destruction -------------------------------------------------------

bool CVideoFrameWindow::OnCreate(fw::MsgArgs& m) {
  CSkinWnd::OnCreate(m);
  if (m.result == -1) return true;
  if (!renderer_) {
    m.result = -1;
    return true;
  }
  const ISettingsStore& store = Settings();
  keepAspect_ = settings::Read(store, settings::KeepAspectRatio) != 0;
  captionMode_ = video::NormalizeCaptionMode(settings::Read(store, settings::CaptionMode));
  // The engine has sized the renderer to the native picture before asking for this window.
  long width = 0, height = 0;
  renderer_->get_Width(&width);
  renderer_->get_Height(&height);
  videoSize_ = {static_cast<int32_t>(width), static_cast<int32_t>(height)};
  // The picture's window is a child: the frame's paint must not cover it.
  ::SetWindowLongPtrA(m_hWnd, GWL_STYLE, ::GetWindowLongPtrA(m_hWnd, GWL_STYLE) | WS_CLIPCHILDREN);
  AdoptRenderer();
  for (const SkinButton& button : VideoWindowButtons()) AddButton(button);
  m.result = 0;
  return true;
}

void CVideoFrameWindow::AdoptRenderer() {
  // Input over the picture comes here too, so right clicks and keys work on it.
  renderer_->put_Owner(AsOwner(m_hWnd));
  renderer_->put_MessageDrain(AsOwner(m_hWnd));
  PlacePicture();
  renderer_->put_Visible(OATRUE);
  long style = 0, exStyle = 0;
  renderer_->get_WindowStyle(&style);
  renderer_->get_WindowStyleEx(&exStyle);
  renderer_->put_WindowStyle(style & ~kRendererFrameStyle);
  renderer_->put_WindowStyleEx(exStyle & ~kRendererFrameExStyle);
}

// The picture's window is handed back before this window goes, so that it is
// not destroyed with it as a child: the graph still owns it and releases it later.
void CVideoFrameWindow::ReleaseRenderer() {
  if (!renderer_) return;
  renderer_->put_Visible(OAFALSE);
  renderer_->put_MessageDrain(0);
  renderer_->put_Owner(0);
}

void CVideoFrameWindow::Retire() {
  if (renderer_) renderer_->put_AutoShow(OAFALSE);
  ReleaseRenderer();
  renderer_ = nullptr;
  if (menuOpen_) ::EndMenu();
  ::ShowWindow(m_hWnd, SW_HIDE);
}

bool CVideoFrameWindow::OnDestroy(fw::MsgArgs& m) {
  ReleaseRenderer();
  CSkinWnd::OnDestroy(m);
  ISettingsStore& store = Settings();
  settings::Write(store, settings::KeepAspectRatio, keepAspect_ ? 1 : 0);
  settings::Write(store, settings::CaptionMode, captionMode_);
  return true;
}

// --- Layout ---------------------------------------------------------------------------

RECT CVideoFrameWindow::LayoutArea() const {
  if (fullScreen_) {
    return RECT{0, 0, fullScreenRect_.right - fullScreenRect_.left, fullScreenRect_.bottom - fullScreenRect_.top};
  }
  return GetInnerRect();
}

void CVideoFrameWindow::PlacePicture() {
  if (!renderer_) return;
  const video::PicturePlace p =
      video::LayoutPicture(ToSkin(LayoutArea()), videoSize_, keepAspect_, captionMode_);
  renderer_->SetWindowPosition(p.x, p.y, p.width, p.height);
}

bool CVideoFrameWindow::OnSize(fw::MsgArgs& m) {
  CSkinWnd::OnSize(m);
  PlacePicture();
  Invalidate();
  return true;
}

RECT CVideoFrameWindow::PictureRect() const {
  // The picture's window is this window's only child. Its own rectangle is
  // read rather than the renderer's report, whose coordinates differ between
  // platforms (screen here, the owner's client area there).
  RECT rc{};
  if (HWND picture = ::GetWindow(m_hWnd, GW_CHILD)) {
    ::GetWindowRect(picture, &rc);
  } else if (renderer_) {
    long left = 0, top = 0, width = 0, height = 0;
    renderer_->GetWindowPosition(&left, &top, &width, &height);
    rc = RECT{left, top, left + width, top + height};
  }
  ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&rc), 2);
  return rc;
}

RECT CVideoFrameWindow::CaptionStrip() const {
  if (captionMode_ != video::kCaptionWindow) return RECT{};
  return ToRect(video::CaptionStripRect(ToSkin(LayoutArea()), PictureRect().bottom, captionMode_));
}

// --- Scale and full screen -----------------------------------------------------------

// A scale never makes the window larger than its monitor's work area: the
// picture is made smaller with its ratio, and the window moved onto the work
// area, so its title strip and close dot stay within reach.
void CVideoFrameWindow::ScaleTo(int percent) {
  if (fullScreen_) LeaveFullScreen();
  const SkinSize client = SizeOf(GetClientRect()), inner = SizeOf(GetInnerRect());
  const SkinSize wanted = video::ScaledPicture(videoSize_, percent);
  const RECT work = MonitorOf(m_hWnd).rcWork;
  const SkinSize picture = video::FitScaledPicture(wanted, video::WindowSizeForPicture(client, inner, {}, captionMode_),
                                                   SizeOf(work));
  const SkinSize size = video::WindowSizeForPicture(client, inner, picture, captionMode_);
  if (picture == wanted) {
    limitedEntry_ = -1;
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, size.width, size.height, kScaleFlags);
    return;
  }
  limitedEntry_ = percent == 50 ? 0 : percent == 100 ? 1 : 2;
  limitedPicture_ = picture;
  const RECT now = GetWindowRect();
  const LONG left = std::max(work.left, std::min<LONG>(now.left, work.right - size.width));
  const LONG top = std::max(work.top, std::min<LONG>(now.top, work.bottom - size.height));
  ::SetWindowPos(m_hWnd, nullptr, left, top, size.width, size.height, kScaleFlags & ~SWP_NOMOVE);
}

void CVideoFrameWindow::EnterFullScreen() {
  if (fullScreen_) return;
  savedRect_ = GetWindowRect();
  fullScreenRect_ = MonitorOf(m_hWnd).rcMonitor;  // the monitor the window is on, not always the first
  fullScreen_ = true;
  // On top as well: a full-screen picture is never left under the main window.
  ::SetWindowPos(m_hWnd, HWND_TOP, fullScreenRect_.left, fullScreenRect_.top,
                 fullScreenRect_.right - fullScreenRect_.left, fullScreenRect_.bottom - fullScreenRect_.top,
                 SWP_NOREDRAW);
}

void CVideoFrameWindow::LeaveFullScreen() {
  if (!fullScreen_) return;
  fullScreen_ = false;
  ::MoveWindow(m_hWnd, savedRect_.left, savedRect_.top, savedRect_.right - savedRect_.left,
               savedRect_.bottom - savedRect_.top, TRUE);
}

bool CVideoFrameWindow::OnActionCommand(fw::MsgArgs& m) {
  const Action action = ActionOfCommand(m.CommandId());
  if (action == Action::None) return false;
  Perform(action);
  return true;
}

bool CVideoFrameWindow::OnActionMessage(fw::MsgArgs& m) {
  const Action action = ActionOfMessage(m.message);
  if (action == Action::None) return false;
  Perform(action);
  return true;
}

void CVideoFrameWindow::Perform(Action action) {
  switch (action) {
    case Action::Size50: ScaleTo(50); break;
    case Action::Size100: ScaleTo(100); break;
    case Action::Size200: ScaleTo(200); break;
    case Action::EnterFullScreen: EnterFullScreen(); break;
    case Action::LeaveFullScreen: LeaveFullScreen(); break;
    case Action::ToggleFullScreen: fullScreen_ ? LeaveFullScreen() : EnterFullScreen(); break;
    case Action::KeepRatio: ToggleKeepAspect(); break;
    case Action::CaptionNone: SetCaptionMode(video::kCaptionNone); break;
    case Action::CaptionWindow: SetCaptionMode(video::kCaptionWindow); break;
    case Action::CaptionOverlay: SetCaptionMode(video::kCaptionOverlay); break;
    default:
      // The main window's actions: handed over as its button's message, or
      // as its menu command where it has no button. Stopping closes the item,
      // and with it this window.
      if (const uint32_t message = MessageOf(action)) {
        PostToOwner(message);
      } else if (const uint32_t command = RouteOf(action).commands[0]) {
        if (HWND owner = ::GetWindow(m_hWnd, GW_OWNER)) ::PostMessageA(owner, WM_COMMAND, command, 0);
      }
      break;
  }
}

void CVideoFrameWindow::ToggleKeepAspect() {
  keepAspect_ = !keepAspect_;
  PlacePicture();
  Invalidate();
}

// The window keeps its own keys (Esc, 1, 2, 3); every other key goes on to the
// main window, so playback keys work whichever window has the focus.
bool CVideoFrameWindow::OnKeyDown(fw::MsgArgs& m) {
  if (ActionOfVideoKey(m.Key()) != Action::None) {
    keyPresses_.Pressed(m.Key());
  } else if (HWND main = ::GetWindow(m_hWnd, GW_OWNER)) {
    // Sent, not posted: the main window reads Ctrl and Alt as they are for
    // this press, not as they are by the time a posted copy arrives.
    ::SendMessageA(main, WM_KEYDOWN, m.wParam, m.lParam);
  }
  m.result = Default();
  return true;
}

bool CVideoFrameWindow::OnKeyUp(fw::MsgArgs& m) {
  const Action action = ActionOfVideoKey(m.Key());
  if (action == Action::None) {
    if (HWND main = ::GetWindow(m_hWnd, GW_OWNER)) ::PostMessageA(main, WM_KEYUP, m.wParam, m.lParam);
  } else if (keyPresses_.Released(m.Key())) {  // not the Esc that closed a menu
    Perform(action);
  }
  m.result = Default();
  return true;
}

// Media keys act in the main window, whichever window has the focus.
bool CVideoFrameWindow::OnAppCommand(fw::MsgArgs& m) {
  HWND main = ::GetWindow(m_hWnd, GW_OWNER);
  m.result = main ? ::SendMessageA(main, WM_APPCOMMAND, reinterpret_cast<WPARAM>(main), m.lParam) : Default();
  return true;
}

// In full screen the window can be neither moved nor resized by its frame.
bool CVideoFrameWindow::OnResizeDrag(fw::MsgArgs& m) {
  if (!fullScreen_) CSkinWnd::OnResizeDrag(m);
  return true;
}

bool CVideoFrameWindow::OnMoveDrag(fw::MsgArgs& m) {
  if (!fullScreen_) CSkinWnd::OnMoveDrag(m);
  return true;
}

// --- Commands for the main window -----------------------------------------------------

void CVideoFrameWindow::PostToOwner(UINT message) {
  if (HWND owner = ::GetWindow(m_hWnd, GW_OWNER)) ::PostMessageA(owner, message, 0, 0);
}

bool CVideoFrameWindow::OnOptionsChanged(fw::MsgArgs&) {
  LoadSkin(settings::Read(Settings(), settings::VideoSkinPath));
  Invalidate(true);
  return true;
}

// --- Context menu -----------------------------------------------------------------------

void CVideoFrameWindow::PrepareMenu(HMENU popup) {
  PlayerSnapshot player;
  if (renderer_ && static_cast<int64_t>(videoSize_.width) * videoSize_.height != 0) {
    long width = 0, height = 0;
    renderer_->get_Width(&width);
    renderer_->get_Height(&height);
    const SkinSize picture{static_cast<int32_t>(width), static_cast<int32_t>(height)};
    player.sizeEntry = !fullScreen_ && limitedEntry_ >= 0 && picture == limitedPicture_
                           ? limitedEntry_
                           : video::CheckedSizeEntry(videoSize_, picture, fullScreen_);
  }
  player.keepAspect = keepAspect_;
  player.captionMode = captionMode_;
  fw::MarkMenu(popup, [&](UINT id) { return CommandStateOf(id, player); });
  if (HMENU skins = ::GetSubMenu(popup, VIDEO_POPUP_SKIN)) BuildSkinMenu(skins);
  if (HMENU captions = ::GetSubMenu(popup, VIDEO_POPUP_CAPTION)) AddCaptionLanguages(captions);
}

// Below the modes, the playing item's languages when it has more than one,
// the one shown checked.
void CVideoFrameWindow::AddCaptionLanguages(HMENU captionMenu) {
  if (!languages_) return;
  const std::vector<CaptionLanguage> languages = languages_->CaptionLanguages();
  if (languages.size() < 2) return;
  fw::CMenuHandle menu(captionMenu);
  menu.AppendSeparator();
  const size_t most = ID_CAPTION_LANGUAGE_LAST - ID_CAPTION_LANGUAGE_FIRST + 1;
  for (size_t i = 0; i < languages.size() && i < most; ++i) {
    menu.AppendItem(ID_CAPTION_LANGUAGE_FIRST + static_cast<UINT>(i), CaptionMenuText(languages[i].name).c_str(),
                    languages[i].selected);
  }
  // A file with more languages than the menu lists says so.
  if (languages.size() > most) {
    const std::string more = std::to_string(languages.size() - most) + " more languages not listed";
    ::AppendMenuA(captionMenu, MF_STRING | MF_GRAYED, 0, more.c_str());
  }
}

void CVideoFrameWindow::ChooseCaptionLanguage(int index) {
  if (!languages_) return;
  const std::vector<CaptionLanguage> languages = languages_->CaptionLanguages();
  if (index < 0 || static_cast<size_t>(index) >= languages.size() || !languages_->SelectCaptionLanguage(index)) {
    return;
  }
  // Remembered by its code, for later files in that language; a language
  // without a code is chosen for this item only.
  if (!languages[static_cast<size_t>(index)].lang.empty()) {
    settings::Write(Settings(), settings::CaptionLanguage, languages[static_cast<size_t>(index)].lang);
  }
}

bool CVideoFrameWindow::OnCaptionLanguage(fw::MsgArgs& m) {
  ChooseCaptionLanguage(static_cast<int>(m.CommandId() - ID_CAPTION_LANGUAGE_FIRST));
  return true;
}

bool CVideoFrameWindow::OnRButtonDown(fw::MsgArgs& m) {
  fw::CMenu menu = fw::CMenu::LoadResource(IDR_VIDEO_MENU);
  if (HMENU popup = menu ? menu.SubMenu(0) : nullptr) {
    PrepareMenu(popup);
    // At the pointer: a click on the picture comes in the picture's own
    // coordinates, which are not this window's.
    POINT at{};
    ::GetCursorPos(&at);
    menuOpen_ = true;
    fw::TrackMenu(popup, m_hWnd, at);
    menuOpen_ = false;
  }
  m.result = Default();
  return true;
}

// --- Captions ---------------------------------------------------------------------------

void CVideoFrameWindow::GrowClientBottom(int32_t delta) {
  if (delta == 0) return;
  RECT rc = GetClientRect();
  rc.bottom += delta;
  ::MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<POINT*>(&rc), 2);
  ::MoveWindow(m_hWnd, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, TRUE);
}

void CVideoFrameWindow::SetCaptionMode(video::CaptionMode mode) {
  int32_t overflow = 0;
  if (mode == video::kCaptionWindow && captionMode_ != mode) {
    const RECT strip =
        ToRect(video::CaptionStripRect(ToSkin(LayoutArea()), PictureRect().bottom, video::kCaptionWindow));
    overflow = strip.bottom - LayoutArea().bottom;
  }
  const RECT client = GetClientRect();
  const video::ModeChange change =
      video::ChangeCaptionMode(captionMode_, mode, overflow, client.bottom - client.top);
  if (!change.changed) return;
  captionMode_ = mode;
  // The window's new size lays the picture out again with or without the
  // strip. A full-screen window keeps covering the screen and only lays out.
  if (fullScreen_) {
    PlacePicture();
  } else {
    GrowClientBottom(change.heightDelta);
  }
  settings::Write(Settings(), settings::CaptionMode, captionMode_);
  Invalidate(true);
}

bool CVideoFrameWindow::OnCaptionText(fw::MsgArgs& m) {
  // The strings belong to the sender and live only during this call. Without
  // memory for the copies the caption shown stays as it was.
  try {
    std::string line = CleanCaptionText(fw::Narrow(reinterpret_cast<const wchar_t*>(m.lParam)));
    captionLine_.swap(line);
  } catch (const std::bad_alloc&) {
    return true;
  }
  InvalidateRect(CaptionStrip(), true);
  return true;
}

// --- Painting ---------------------------------------------------------------------------

void CVideoFrameWindow::DrawWindow(HDC dc) {
  if (!fullScreen_) CSkinWnd::DrawWindow(dc);
  fw::FillSolidRect(dc, LayoutArea(), RGB(0, 0, 0));
  if (captionMode_ == video::kCaptionWindow) DrawCaptionStrip(dc);
}

// The strip's letters, 16 pixels high: four lines fit its 90 pixels.
constexpr int kCaptionFontHeight = -16;

void CVideoFrameWindow::DrawCaptionStrip(HDC dc) {
  RECT strip = CaptionStrip();
  fw::FillSolidRect(dc, strip, RGB(0, 0, 0));
  if (captionLine_.empty()) return;
  const COLORREF oldText = ::SetTextColor(dc, RGB(0xFF, 0xFF, 0xFF));
  const COLORREF oldBack = ::SetBkColor(dc, RGB(0, 0, 0));
  const int oldMode = ::SetBkMode(dc, OPAQUE);
  // The text face, which has the letters of every script the system has a
  // font for (the default "System" face shows boxes outside its code page).
  fw::CGdiObject<HFONT> font(fw::CreateTextFont(kCaptionFontHeight));
  const std::wstring line = fw::Widen(captionLine_);
  {
    fw::CSelection lettering(dc, font.Get());
    ::DrawTextW(dc, line.c_str(), static_cast<int>(line.size()), &strip, DT_WORDBREAK | DT_CENTER | DT_NOPREFIX);
  }
  ::SetBkMode(dc, oldMode);
  ::SetBkColor(dc, oldBack);
  ::SetTextColor(dc, oldText);
}

}  // namespace velk
