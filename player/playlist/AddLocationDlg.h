// "Add location": a location typed, or picked from the ones used before.
#pragma once

#include <string>

#include "platform/framework/Dialog.h"
#include "core/SettingsStore.h"

namespace velk {

class CAddLocationDlg : public fw::CDialog {
 public:
  // The recent locations live in `settings` (the program's store by default).
  explicit CAddLocationDlg(fw::CWnd* parent, ISettingsStore* settings = nullptr);

  // The text of the combo box's edit field after OK.
  const std::string& Location() const { return location_; }

  bool DoDataExchange(bool saving) override;

 protected:
  bool OnInitDialog() override;

 private:
  HWND combo_ = nullptr;
  std::string location_;
  ISettingsStore& settings_;
};

}  // namespace velk
