// What the option pages share: the colour swatches bound to their settings,
// the choosers, and the announcement of every change to the options dialog.
#pragma once

#include <vector>

#include "platform/framework/Dialog.h"
#include "core/SettingsStore.h"
#include "player/options/ColorSwatchButton.h"
#include "player/options/OptionChoosers.h"
#include "player/options/OptionsRules.h"

namespace velk::options {

class COptionPage : public fw::CDialog {
 public:
  // settings: where the page reads and writes (the program's own store by default).
  COptionPage(UINT templateId, IOptionChoosers& choosers, ISettingsStore& settings = AppSettings());

  // The swatch of a control, or null.
  const CColorSwatchButton* Swatch(int controlId) const;

  VELK_DECLARE_MESSAGE_TABLE()

 protected:
  // Reads the swatch's colour (or its default) now, as the page is made.
  void AddSwatch(const SwatchBinding& binding);
  bool OnInitDialog() override;
  // Tells the options dialog that a setting was written.
  void Announce();
  static bool IsClick(const fw::MsgArgs& m) { return HIWORD(m.wParam) == BN_CLICKED; }
  IOptionChoosers& Choosers() { return choosers_; }
  ISettingsStore& Settings() const { return settings_; }

 private:
  struct BoundSwatch {
    SwatchBinding binding;
    CColorSwatchButton button;
  };
  BoundSwatch* FindSwatch(int controlId);
  bool OnSwatchCommand(fw::MsgArgs& m);
  bool OnDrawItem(fw::MsgArgs& m);

  IOptionChoosers& choosers_;
  ISettingsStore& settings_;
  std::vector<BoundSwatch> swatches_;
};

}  // namespace velk::options
