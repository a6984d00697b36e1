#include "player/options/PlaylistOptionsPage.h"

#include "platform/framework/Resources.h"
#include "player/res/ResourceIds.h"

namespace velk::options {

static_assert(kPlaylistSwatches[0].controlId == IDC_LIST_TEXT_NORMAL &&
              kPlaylistSwatches[1].controlId == IDC_LIST_TEXT_PLAYING &&
              kPlaylistSwatches[2].controlId == IDC_LIST_BACK_NORMAL &&
              kPlaylistSwatches[3].controlId == IDC_LIST_BACK_SELECTED,
              "the swatches of the playlist page are its template's buttons");

VELK_BEGIN_MESSAGE_TABLE(CPlaylistOptionsPage)
  VELK_ON_COMMAND(IDC_LIST_BACK_CHANGE, CPlaylistOptionsPage, OnChangeBackground),
  VELK_ON_COMMAND(IDC_LIST_MODE_COLOUR, CPlaylistOptionsPage, OnColourMode),
  VELK_ON_COMMAND(IDC_LIST_MODE_BITMAP, CPlaylistOptionsPage, OnBitmapMode),
VELK_END_MESSAGE_TABLE(CPlaylistOptionsPage, COptionPage);

CPlaylistOptionsPage::CPlaylistOptionsPage(IOptionChoosers& choosers)
    : COptionPage(IDD_PLAYLIST_PAGE, choosers),
      bkPath_(settings::Read(Settings(), kBackgroundPathSetting)) {
  for (const auto& s : kPlaylistSwatches) AddSwatch(s);
}

bool CPlaylistOptionsPage::DoDataExchange(bool saving) {
  if (!saving) SetDlgItemText(IDC_LIST_BACK_PATH, bkPath_);
  return true;
}

bool CPlaylistOptionsPage::OnInitDialog() {
  const bool bitmap = BitmapModeChecked(settings::Read(Settings(), settings::BackgroundMode));
  ::CheckRadioButton(m_hWnd, IDC_LIST_MODE_COLOUR, IDC_LIST_MODE_BITMAP,
                     bitmap ? IDC_LIST_MODE_BITMAP : IDC_LIST_MODE_COLOUR);
  return COptionPage::OnInitDialog();
}

bool CPlaylistOptionsPage::OnChangeBackground(fw::MsgArgs& m) {
  if (!IsClick(m)) return true;
  std::string chosen;
  if (!Choosers().ChooseFile(m_hWnd, BackgroundFileRequest(fw::LoadResourceString(IDS_FILTER_IMAGE)),
                             chosen))
    return true;
  // Only the picture changes; the mode stays as the user set it.
  bkPath_ = chosen;
  settings::Write(Settings(), kBackgroundPathSetting, bkPath_);
  DoDataExchange(false);
  Announce();
  return true;
}

void CPlaylistOptionsPage::WriteMode(int32_t mode) {
  settings::Write(Settings(), settings::BackgroundMode, mode);
  Announce();
}

bool CPlaylistOptionsPage::OnColourMode(fw::MsgArgs& m) {
  if (IsClick(m)) WriteMode(settings::kBackgroundColour);
  return true;
}

bool CPlaylistOptionsPage::OnBitmapMode(fw::MsgArgs& m) {
  if (IsClick(m)) WriteMode(settings::kBackgroundPicture);
  return true;
}

}  // namespace velk::options
