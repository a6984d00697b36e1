#include "player/app/VelkApp.h"

#include <commctrl.h>

#include "player/app/SettingsTable.h"
#include "core/StartupRules.h"
#include "player/mainwnd/MainWindow.h"

namespace velk {

CVelkApp::CVelkApp() = default;

CVelkApp::~CVelkApp() {
  SelectSettingsStore(nullptr);
}

void CVelkApp::SelectRegistryStore() {
  settings_ = std::make_unique<fw::CRegistrySettings>(HKEY_CURRENT_USER, "Software\\" + m_programName);
  SelectSettingsStore(settings_.get());
}

void CVelkApp::RecordAppPath() {
  ISettingsStore& store = AppSettings();
  auto exists = [](const std::string& file) {
    DWORD attr = ::GetFileAttributesA(file.c_str());
    return attr != INVALID_FILE_ATTRIBUTES && !(attr & FILE_ATTRIBUTE_DIRECTORY);
  };
  auto folder = AppPathToRecord(settings::Read(store, settings::AppPath), m_programName,
                                FolderOfPath(m_modulePath), exists);
  if (folder) settings::Write(store, settings::AppPath, *folder);
  settings::SetRunningProgramFolder(FolderOfPath(m_modulePath));
}

bool CVelkApp::InitInstance() {
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  ::InitCommonControlsEx(&icc);

  SelectRegistryStore();
  RecordAppPath();

  auto* window = new CMainWindow();
  if (!window->Create(m_cmdLine)) {
    delete window;
    return false;
  }
  m_pMainWnd = window;
  mainWindow_ = window;
  ::ShowWindow(window->m_hWnd, m_nCmdShow);
  ::UpdateWindow(window->m_hWnd);
  return true;
}

int CVelkApp::ExitInstance() {
  if (mainWindow_) {
    delete mainWindow_;
    mainWindow_ = nullptr;
    m_pMainWnd = nullptr;
  }
  return fw::CWinApp::ExitInstance();
}

}  // namespace velk
