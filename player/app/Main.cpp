#include <windows.h>

#include "player/app/VelkApp.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR cmdLine, int cmdShow) {
  static velk::CVelkApp app;
  return velk::fw::AppMain(app, instance, cmdLine, cmdShow);
}
