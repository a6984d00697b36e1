// The main window's displays: the seek strip and its thumb, the playing time
// and the volume bar, laid out on the skin and drawn over it.
#include "player/mainwnd/MainWindow.h"

#include "platform/framework/Gdi.h"
#include "player/mainwnd/DisplayLayout.h"
#include "player/skin/SkinLayout.h"
#include "player/skin/SkinRectWin.h"
#include "shared/PlayerMessages.h"

namespace velk {

namespace {
// The content area until the playlist view fills it.
constexpr COLORREF kContentColour = RGB(0x10, 0x16, 0x1c);
// The displays wait longer than the transport: they must not flicker while a graph starts.
constexpr uint32_t kDisplayWaitMs = 3000;
}  // namespace

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
  metrics.volumeImage = frame->GetImageSize(kVolumeBarImage);
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
  if (!engine_ || engine_->GetState(kDisplayWaitMs) != EngineState::Running) return;
  const RECT track = SeekTrackRect();
  const display::ThumbStrokes thumb =
      display::SeekThumb({track.left, track.top, track.right, track.bottom}, engine_->GetPosition(),
                         engine_->GetDuration());
  if (!thumb.visible) return;
  for (const SkinRect& stroke : thumb.strokes) fw::FillSolidRect(dc, ToRect(stroke), sliderColour_);
}

void CMainWindow::DrawPlayingTime(HDC dc) {
  const SkinSize client = ClientSize();
  const EngineState state = engine_ ? engine_->GetState(kDisplayWaitMs) : EngineState::Absent;
  if (state != EngineState::Paused && state != EngineState::Running) {
    fw::FillSolidRect(dc, TimeAreaRect(), timeBackColour_);
    return;
  }
  // 6 points in the skin's own pixels (96 to the inch), whatever the screen's
  // DPI: the digits must fit their fields of the skin picture. Made once.
  if (!timeFont_) {
    timeFont_.Reset(::CreateFontA(-::MulDiv(6, kSkinPixelsPerInch, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                  DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                  DEFAULT_PITCH | FF_SWISS, "Arial"));
  }
  const fw::CSelection lettering(dc, timeFont_.Get());
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

}  // namespace velk
