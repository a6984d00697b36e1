// The player's application object.
#pragma once

#include <memory>

#include "platform/framework/RegistrySettings.h"
#include "platform/framework/WinApp.h"

namespace velk {

class CMainWindow;

class CVelkApp : public fw::CWinApp {
 public:
  CVelkApp();
  ~CVelkApp() override;

  bool InitInstance() override;
  int ExitInstance() override;

  // The settings store: HKEY_CURRENT_USER\Software\<program name>. The usual
  // company level is left out, so the program key sits right under Software.
  void SelectRegistryStore();
  // Records the program folder as "AppPath" when the stored one is unusable.
  void RecordAppPath();

 private:
  CMainWindow* mainWindow_ = nullptr;  // created in InitInstance, deleted in ExitInstance
  std::unique_ptr<fw::CRegistrySettings> settings_;
};

}  // namespace velk
