#include "player/options/SkinOptionsPage.h"

#include "platform/framework/Resources.h"
#include "player/res/ResourceIds.h"

namespace velk::options {

static_assert(kSkinSwatches[0].controlId == IDC_SKIN_SLIDER &&
              kSkinSwatches[1].controlId == IDC_SKIN_TIME &&
              kSkinSwatches[2].controlId == IDC_SKIN_TIME_BACK &&
              kSkinSwatches[3].controlId == IDC_SKIN_VOLUME,
              "the swatches of the skin page are its template's buttons");

VELK_BEGIN_MESSAGE_TABLE(CSkinOptionsPage)
  VELK_ON_COMMAND(IDC_SKIN_MAIN_CHANGE, CSkinOptionsPage, OnChangeMainSkin),
  VELK_ON_COMMAND(IDC_SKIN_MAIN_BASE, CSkinOptionsPage, OnBaseMainSkin),
  VELK_ON_COMMAND(IDC_SKIN_VIDEO_CHANGE, CSkinOptionsPage, OnChangeVideoSkin),
  VELK_ON_COMMAND(IDC_SKIN_VIDEO_BASE, CSkinOptionsPage, OnBaseVideoSkin),
VELK_END_MESSAGE_TABLE(CSkinOptionsPage, COptionPage);

CSkinOptionsPage::CSkinOptionsPage(IOptionChoosers& choosers)
    : COptionPage(IDD_SKIN_PAGE, choosers),
      mainSkin_(settings::Read(Settings(), kMainSkinSetting)),
      videoSkin_(settings::Read(Settings(), kVideoSkinSetting)) {
  for (const auto& s : kSkinSwatches) AddSwatch(s);
}

bool CSkinOptionsPage::DoDataExchange(bool saving) {
  // The paths are shown, never typed: nothing to read back.
  if (!saving) {
    SetDlgItemText(IDC_SKIN_MAIN_PATH, mainSkin_);
    SetDlgItemText(IDC_SKIN_VIDEO_PATH, videoSkin_);
  }
  return true;
}

void CSkinOptionsPage::SetSkin(std::string& path, const settings::TextSetting& setting,
                               const std::string& value) {
  path = value;
  settings::Write(Settings(), setting, value);
  DoDataExchange(false);
  Announce();
}

void CSkinOptionsPage::ChooseSkin(std::string& path, const settings::TextSetting& setting) {
  const FileRequest request =
      SkinFileRequest(settings::ProgramFolder(Settings()), fw::LoadResourceString(IDS_FILTER_IMAGE));
  std::string chosen;
  if (Choosers().ChooseFile(m_hWnd, request, chosen)) SetSkin(path, setting, chosen);
}

bool CSkinOptionsPage::OnChangeMainSkin(fw::MsgArgs& m) {
  if (IsClick(m)) ChooseSkin(mainSkin_, kMainSkinSetting);
  return true;
}

bool CSkinOptionsPage::OnBaseMainSkin(fw::MsgArgs& m) {
  if (IsClick(m)) SetSkin(mainSkin_, kMainSkinSetting, "");
  return true;
}

bool CSkinOptionsPage::OnChangeVideoSkin(fw::MsgArgs& m) {
  if (IsClick(m)) ChooseSkin(videoSkin_, kVideoSkinSetting);
  return true;
}

bool CSkinOptionsPage::OnBaseVideoSkin(fw::MsgArgs& m) {
  if (IsClick(m)) SetSkin(videoSkin_, kVideoSkinSetting, "");
  return true;
}

}  // namespace velk::options
