#include "platform/framework/WinApp.h"

#include "platform/framework/Wnd.h"
#include "core/StartupRules.h"

namespace velk::fw {

namespace {
CWinApp* g_app = nullptr;
}  // namespace

CWinApp::CWinApp() { g_app = this; }
CWinApp::~CWinApp() {
  if (g_app == this) g_app = nullptr;
}

CWinApp* GetApp() { return g_app; }

int CWinApp::Run() {
  MSG msg;
  for (;;) {
    BOOL got = ::GetMessageA(&msg, nullptr, 0, 0);
    if (got == 0 || got == -1) break;
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
  exitCode_ = static_cast<int>(msg.wParam);
  return exitCode_;
}

int AppMain(CWinApp& app, HINSTANCE instance, const char* cmdLine, int cmdShow) {
  app.m_hInstance = instance;
  app.m_cmdLine = cmdLine ? cmdLine : "";
  app.m_nCmdShow = cmdShow;
  std::string path(MAX_PATH, '\0');
  for (;;) {
    DWORD n = ::GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n < path.size()) {
      path.resize(n);
      break;
    }
    path.resize(path.size() * 2);
  }
  app.m_modulePath = path;
  app.m_programName = BaseNameWithoutExtension(path);
  if (app.InitInstance()) app.Run();
  return app.ExitInstance();
}

}  // namespace velk::fw
