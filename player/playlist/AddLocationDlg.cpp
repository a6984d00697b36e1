#include "player/playlist/AddLocationDlg.h"

#include <vector>

#include "player/playlist/RecentLocations.h"
#include "player/res/ResourceIds.h"

namespace velk {

CAddLocationDlg::CAddLocationDlg(fw::CWnd* parent, ISettingsStore* settings)
    : CDialog(IDD_ADD_LOCATION, parent), settings_(settings ? *settings : AppSettings()) {}

bool CAddLocationDlg::OnInitDialog() {
  combo_ = GetDlgItem(IDC_LOCATION);
  CDialog::OnInitDialog();
  for (const std::string& url : LoadRecentLocations(settings_)) {
    ::SendMessageA(combo_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(url.c_str()));
  }
  return true;
}

bool CAddLocationDlg::DoDataExchange(bool saving) {
  if (!saving) {
    SetDlgItemText(IDC_LOCATION, location_);
    return true;
  }
  location_ = GetDlgItemText(IDC_LOCATION);
  // The list as the user sees it, then the rule that puts the typed one first.
  std::vector<std::string> items;
  const LRESULT count = ::SendMessageA(combo_, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    const LRESULT len = ::SendMessageA(combo_, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
    if (len < 0) continue;
    std::string text(static_cast<size_t>(len) + 1, '\0');
    ::SendMessageA(combo_, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(len));
    items.push_back(std::move(text));
  }
  SaveRecentLocations(settings_, items, location_);
  return true;
}

}  // namespace velk
