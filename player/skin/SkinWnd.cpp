#include "player/skin/SkinWnd.h"

#include <commctrl.h>

#include "core/SettingsStore.h"
#include "platform/framework/Gdi.h"
#include "platform/framework/ToolTip.h"
#include "player/app/SettingsTable.h"
#include "player/skin/SkinCatalog.h"
#include "player/skin/SkinLayout.h"
#include "player/skin/SkinMouse.h"
#include "player/skin/SkinPlacement.h"
#include "player/skin/SkinRectWin.h"
#include "shared/PlayerMessages.h"

namespace velk {

namespace {
constexpr DWORD kSkinWindowStyle = WS_POPUP | WS_VISIBLE | WS_SYSMENU | WS_MAXIMIZEBOX;

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM list) {
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  if (::GetMonitorInfoA(monitor, &info)) {
    auto* rects = reinterpret_cast<std::vector<SkinRect>*>(list);
    const SkinRect r{info.rcMonitor.left, info.rcMonitor.top, info.rcMonitor.right, info.rcMonitor.bottom};
    // The primary monitor first: a window with nowhere else to go goes there.
    if (info.dwFlags & MONITORINFOF_PRIMARY) {
      rects->insert(rects->begin(), r);
    } else {
      rects->push_back(r);
    }
  }
  return TRUE;
}

// The monitors of the virtual screen, the primary one first.
std::vector<SkinRect> MonitorRects() {
  std::vector<SkinRect> rects;
  ::EnumDisplayMonitors(nullptr, nullptr, &AddMonitor, reinterpret_cast<LPARAM>(&rects));
  if (rects.empty()) rects.push_back({0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)});
  return rects;
}

}  // namespace

VELK_BEGIN_MESSAGE_TABLE(CSkinWnd)
  VELK_ON_MESSAGE(WM_CREATE, CSkinWnd, OnCreate),
  VELK_ON_MESSAGE(WM_DESTROY, CSkinWnd, OnDestroy),
  VELK_ON_MESSAGE(WM_PAINT, CSkinWnd, OnPaint),
  VELK_ON_MESSAGE(WM_SIZE, CSkinWnd, OnSize),
  VELK_ON_MESSAGE(WM_ACTIVATE, CSkinWnd, OnActivate),
  VELK_ON_MESSAGE(WM_GETMINMAXINFO, CSkinWnd, OnGetMinMaxInfo),
  VELK_ON_MESSAGE(WM_LBUTTONDOWN, CSkinWnd, OnLButtonDown),
  VELK_ON_MESSAGE(WM_LBUTTONUP, CSkinWnd, OnLButtonUp),
  VELK_ON_MESSAGE(WM_MOUSEMOVE, CSkinWnd, OnMouseMove),
  VELK_ON_MESSAGE(WM_SKIN_RESIZEDRAG, CSkinWnd, OnResizeDrag),
  VELK_ON_MESSAGE(WM_SKIN_MOVEDRAG, CSkinWnd, OnMoveDrag),
  VELK_ON_COMMAND_RANGE(ID_SKIN_BASE, ID_SKIN_LAST, CSkinWnd, OnSkinCommand),
VELK_END_MESSAGE_TABLE(CSkinWnd, fw::CWnd);


CSkinWnd::CSkinWnd(ISettingsStore& settings)
    : frame_(std::make_unique<CFrameSkinImage>()), settings_(settings) {}

CSkinWnd::~CSkinWnd() = default;

bool CSkinWnd::Create(const std::string& name, const std::string& skinPath,
                      const FramePieceTable* frameTable, CSkinWnd* dockPartner) {
  section_ = name;
  // A window object may be given a window again after its first one was destroyed.
  if (!frame_) frame_ = std::make_unique<CFrameSkinImage>();
  frame_->SetFrameTable(frameTable);  // its piece sizes bound the stored placement
  RECT placement = LoadPlacement();
  // A window that opens beside a partner (the video window beside the main
  // window) never opens over the partner's title strip.
  if (dockPartner && dockPartner->IsWindow()) placement = PlaceBeside(*dockPartner, placement);
  if (!skinPath.empty()) skinPath_ = skinPath;
  HWND owner = nullptr;
  if (dockPartner) {
    AddDockPartner(dockPartner);
    owner = dockPartner->m_hWnd;
  }
  if (!RegisterClass(kClassName, CS_DBLCLKS, ::LoadCursorA(nullptr, IDC_ARROW), nullptr)) return false;
  return CreateEx(0, kClassName, name.c_str(), kSkinWindowStyle, placement.left, placement.top,
                  placement.right - placement.left, placement.bottom - placement.top, owner, nullptr);
}

// --- Painting -------------------------------------------------------------------

void CSkinWnd::DrawWindow(HDC dc) {
  DrawFrame(dc);
  DrawButtons(dc, kNoRegion, true);
}

void CSkinWnd::DrawFrame(HDC dc) {
  if (!frame_) return;
  frame_->DrawFrame(dc, GetClientRect(), ::GetActiveWindow() == m_hWnd);
}

void CSkinWnd::DrawButtons(HDC dc, uint32_t pressedId, bool force) {
  if (!frame_) return;
  frame_->DrawPlan(dc, controls_.PlanButtons(pressedId, force, ToSkin(GetClientRect())));
}

RECT CSkinWnd::GetInnerRect() const {
  if (!frame_) return GetClientRect();
  return ToRect(InnerRect(ToSkin(GetClientRect()), frame_->SizeFunction()));
}

// --- Skin -----------------------------------------------------------------------

bool CSkinWnd::LoadSkin(const std::string& path) {
  if (!frame_) return false;
  bool loaded = false;
  if (IsWindow()) {
    fw::CClientDC dc(m_hWnd);
    // A picture without room for the built-in layout would leave the window
    // without its title bar and controls: it is refused like a broken one.
    loaded = frame_->LoadFromFile(path, dc, SkinSize{kSkinPictureWidth, kSkinPictureHeight});
  }
  if (loaded) {
    skinPath_ = path;
  } else {
    frame_->LoadFromResource(kBaseSkinResource);
    skinPath_.clear();
  }
  WriteSkinPath();
  return loaded;
}

void CSkinWnd::WriteSkinPath() { settings_.WriteString(section_, settings::kSkinPathKey, skinPath_); }

// --- Buttons and regions ------------------------------------------------------------

void CSkinWnd::AddButton(const SkinButton& button) {
  if (frame_) {
    frame_->SetRect(button.normalImage, button.normal);
    frame_->SetRect(button.pressedImage, button.pressed);
  }
  controls_.AddButton(button);
}

void CSkinWnd::RemoveButton(uint32_t id) {
  if (const SkinButton* b = controls_.FindButton(id)) {
    if (frame_) {
      frame_->RemoveRect(b->normalImage);
      frame_->RemoveRect(b->pressedImage);
    }
  }
  controls_.RemoveButton(id);
}

bool CSkinWnd::GetButton(uint32_t id, SkinButton* button) const {
  const SkinButton* b = controls_.FindButton(id);
  if (!b) return false;
  if (button) *button = *b;
  return true;
}

POINT CSkinWnd::GetRegionOrigin(uint32_t id, const RECT& client) const {
  SkinPoint p = controls_.GetRegionOrigin(id, ToSkin(client));
  return {p.x, p.y};
}

uint32_t CSkinWnd::HitTest(int x, int y, const RECT& client) const {
  return controls_.HitTest(x, y, ToSkin(client));
}

// --- Placement --------------------------------------------------------------------

RECT CSkinWnd::LoadPlacement() {
  const ISettingsStore& store = settings_;
  SkinRect stored{store.GetInt(section_, settings::PlacementLeft.key, settings::PlacementLeft.def),
                  store.GetInt(section_, settings::PlacementTop.key, settings::PlacementTop.def),
                  store.GetInt(section_, settings::PlacementRight.key, settings::PlacementRight.def),
                  store.GetInt(section_, settings::PlacementBottom.key, settings::PlacementBottom.def)};
  skinPath_ = store.GetString(section_, settings::kSkinPathKey, "");
  SkinSize minimum{0, 0};
  int32_t titleHeight = 0;
  if (frame_) {
    minimum = MinimumTrackSize(frame_->SizeFunction());
    titleHeight = TitleStrip(SkinRect{}, frame_->SizeFunction()).Height();
  }
  return ToRect(CorrectPlacement(stored, MonitorRects(), minimum, titleHeight));
}

bool CSkinWnd::HasStoredPlacement() const {
  constexpr int32_t kMissing = INT32_MIN;
  return settings_.GetInt(section_, settings::PlacementLeft.key, kMissing) != kMissing;
}

RECT CSkinWnd::GetTitleStripOnScreen() const {
  if (!frame_) return RECT{};
  RECT rc = ToRect(TitleStrip(ToSkin(GetClientRect()), frame_->SizeFunction()));
  ::MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<POINT*>(&rc), 2);
  return rc;
}

RECT CSkinWnd::PlaceBeside(const CSkinWnd& partner, const RECT& placement) const {
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  if (!::GetMonitorInfoA(::MonitorFromWindow(partner.m_hWnd, MONITOR_DEFAULTTONEAREST), &monitor)) {
    monitor.rcMonitor = {0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
  }
  return ToRect(PlaceBesidePartner(ToSkin(placement), HasStoredPlacement(), ToSkin(partner.GetWindowRect()),
                                   ToSkin(partner.GetTitleStripOnScreen()), ToSkin(monitor.rcMonitor)));
}

void CSkinWnd::SavePlacement() {
  if (!IsWindow()) return;
  RECT rc = GetWindowRect();
  // A minimised window keeps the rectangle it will be restored to, not its icon's.
  if (::IsIconic(m_hWnd)) {
    WINDOWPLACEMENT wp{};
    wp.length = sizeof(wp);
    if (::GetWindowPlacement(m_hWnd, &wp)) rc = wp.rcNormalPosition;
  }
  const int32_t left = ::GetSystemMetrics(SM_XVIRTUALSCREEN), top = ::GetSystemMetrics(SM_YVIRTUALSCREEN);
  const PlacementParts parts = PlacementToSave(
      ToSkin(rc), SkinRect{left, top, left + ::GetSystemMetrics(SM_CXVIRTUALSCREEN),
                           top + ::GetSystemMetrics(SM_CYVIRTUALSCREEN)});
  ISettingsStore& store = settings_;
  if (parts.horizontal) {
    store.WriteInt(section_, settings::PlacementLeft.key, rc.left);
    store.WriteInt(section_, settings::PlacementRight.key, rc.right);
  }
  if (parts.vertical) {
    store.WriteInt(section_, settings::PlacementTop.key, rc.top);
    store.WriteInt(section_, settings::PlacementBottom.key, rc.bottom);
  }
  WriteSkinPath();
}

// --- Messages ----------------------------------------------------------------------

bool CSkinWnd::OnCreate(fw::MsgArgs& m) {
  if (Default() == -1) {
    m.result = -1;
    return true;
  }
  LoadSkin(skinPath_);
  SetHotRegion(ResizeGripRegion());
  CreateToolTip();
  m.result = 0;
  return true;
}

// --- Tooltips ---------------------------------------------------------------------------

namespace {
constexpr UINT_PTR kTipTool = 1;
}  // namespace

void CSkinWnd::CreateToolTip() {
  tip_ = fw::CreateFollowingTip(m_hWnd, kTipTool, 400);
  tipRegion_ = kNoRegion;
}

// A new region gets the tool's rectangle and text, so the control treats the
// move into it as entering a new tool and shows its tip after the usual delay.
void CSkinWnd::ShowTipFor(uint32_t region, const fw::MsgArgs& move) {
  if (!tip_ || region == tipRegion_) return;
  tipRegion_ = region;
  const std::string text = region == kNoRegion ? std::string() : TipFor(region);
  RECT part{};
  if (const HotRegion* hot = text.empty() ? nullptr : controls_.FindRegion(region)) {
    const POINT origin = GetRegionOrigin(region, GetClientRect());
    part = RECT{origin.x, origin.y, origin.x + hot->width, origin.y + hot->height};
  }
  fw::PointFollowingTip(tip_, m_hWnd, kTipTool, part, text,
                        MSG{m_hWnd, move.message, move.wParam, move.lParam, 0, move.Point()});
}

bool CSkinWnd::OnDestroy(fw::MsgArgs& m) {
  m.result = Default();
  if (tip_) ::DestroyWindow(tip_);
  tip_ = nullptr;
  SavePlacement();
  controls_.Clear();
  frame_.reset();
  resizing_ = moving_ = false;
  return true;
}

bool CSkinWnd::OnPaint(fw::MsgArgs&) {
  fw::CPaintDC dc(m_hWnd);
  DrawWindow(dc);
  return true;
}

bool CSkinWnd::OnSize(fw::MsgArgs& m) {
  m.result = Default();
  tipRegion_ = kNoRegion;  // regions anchored to the edges moved: the next move places the tip anew
  fw::CClientDC dc(m_hWnd);
  DrawFrame(dc);
  DrawButtons(dc, kNoRegion, true);
  return true;
}

bool CSkinWnd::OnActivate(fw::MsgArgs& m) {
  m.result = Default();
  Invalidate(true);  // the title bar switches between its active and inactive pieces
  return true;
}

bool CSkinWnd::OnGetMinMaxInfo(fw::MsgArgs& m) {
  auto* info = reinterpret_cast<MINMAXINFO*>(m.lParam);
  if (frame_ && info) {
    const SkinSize min = MinimumTrackSize(frame_->SizeFunction());
    info->ptMinTrackSize = {min.width, min.height};
  }
  m.result = Default();
  return true;
}

void CSkinWnd::HandleMouse(int event, fw::MsgArgs& m) {
  SkinMouseInput in;
  in.event = static_cast<SkinMouseEvent>(event);
  in.held = (m.wParam & MK_LBUTTON) != 0;
  in.point = {m.X(), m.Y()};
  in.client = ToSkin(GetClientRect());
  in.titleStrip = frame_ ? TitleStrip(in.client, frame_->SizeFunction()) : SkinRect{};
  in.resizing = resizing_;
  in.moving = moving_;
  const SkinMouseAction action = DecideSkinMouse(in, controls_);
  if (in.event == SkinMouseEvent::Move && !in.held) ShowTipFor(controls_.HitTest(m.X(), m.Y(), in.client), m);
  if (action.cursor == SkinCursor::SizeNWSE) fw::SetStandardCursor(IDC_SIZENWSE);
  if (action.cursor == SkinCursor::Arrow) fw::SetStandardCursor(IDC_ARROW);
  if (action.drawButtons) {
    fw::CClientDC dc(m_hWnd);
    DrawButtons(dc, action.pressedId, false);
  }
  // Posted, never sent: the handlers run after this message is done.
  for (const SkinPost& post : action.posts) PostMessage(post.message, post.wParam, m.lParam);
  m.result = Default();
}

bool CSkinWnd::OnLButtonDown(fw::MsgArgs& m) {
  HandleMouse(static_cast<int>(SkinMouseEvent::Down), m);
  return true;
}

bool CSkinWnd::OnLButtonUp(fw::MsgArgs& m) {
  HandleMouse(static_cast<int>(SkinMouseEvent::Up), m);
  return true;
}

bool CSkinWnd::OnMouseMove(fw::MsgArgs& m) {
  HandleMouse(static_cast<int>(SkinMouseEvent::Move), m);
  return true;
}

// --- Skin commands ------------------------------------------------------------------

bool CSkinWnd::OnSkinCommand(fw::MsgArgs& m) {
  const int32_t index = SkinIndexOfCommand(m.CommandId(), skinList_.size());
  LoadSkin(index >= 0 ? GetSkinsDir() + skinList_[static_cast<size_t>(index)] : std::string());
  Invalidate(true);
  return true;
}

}  // namespace velk
