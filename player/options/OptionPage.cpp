#include "player/options/OptionPage.h"

#include "shared/PlayerMessages.h"

namespace velk::options {

VELK_BEGIN_MESSAGE_TABLE(COptionPage)
  VELK_ON_MESSAGE(WM_DRAWITEM, COptionPage, OnDrawItem),
  VELK_ON_COMMAND_RANGE(1000, 1099, COptionPage, OnSwatchCommand),
VELK_END_MESSAGE_TABLE(COptionPage, fw::CDialog);

COptionPage::COptionPage(UINT templateId, IOptionChoosers& choosers, ISettingsStore& settings)
    : CDialog(templateId, nullptr), choosers_(choosers), settings_(settings) {}

void COptionPage::AddSwatch(const SwatchBinding& binding) {
  BoundSwatch s{binding, {}};
  s.button.SetColour(static_cast<COLORREF>(settings::Read(Settings(), binding.setting)));
  swatches_.push_back(s);
}

COptionPage::BoundSwatch* COptionPage::FindSwatch(int controlId) {
  for (auto& s : swatches_)
    if (s.binding.controlId == controlId) return &s;
  return nullptr;
}

const CColorSwatchButton* COptionPage::Swatch(int controlId) const {
  for (const auto& s : swatches_)
    if (s.binding.controlId == controlId) return &s.button;
  return nullptr;
}

bool COptionPage::OnInitDialog() {
  for (auto& s : swatches_) s.button.Attach(GetDlgItem(s.binding.controlId));
  return CDialog::OnInitDialog();
}

void COptionPage::Announce() {
  if (Parent()) Parent()->PostMessage(WM_PLAYER_OPTIONSCHANGED, 0, 0);
}

bool COptionPage::OnSwatchCommand(fw::MsgArgs& m) {
  BoundSwatch* s = FindSwatch(static_cast<int>(m.CommandId()));
  if (!s || !IsClick(m)) return false;
  COLORREF chosen = 0;
  if (!choosers_.ChooseColour(m_hWnd, chosen)) return true;  // cancelled: nothing changes
  s->button.SetColour(chosen);
  settings::Write(Settings(), s->binding.setting, static_cast<int32_t>(chosen));
  Announce();
  return true;
}

bool COptionPage::OnDrawItem(fw::MsgArgs& m) {
  const auto* dis = reinterpret_cast<const DRAWITEMSTRUCT*>(m.lParam);
  BoundSwatch* s = dis ? FindSwatch(static_cast<int>(dis->CtlID)) : nullptr;
  if (!s) return false;
  s->button.DrawItem(dis->hDC, dis->rcItem);
  m.result = TRUE;
  return true;
}

}  // namespace velk::options
