// Shared pieces of the skin tests: a settings store of the tests' own, a
// scratch folder, picture files, and a skinned window that records the
// region messages it receives.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/framework/RegistrySettings.h"
#include "player/skin/SkinWnd.h"
#include "tools/art/SkinArt.h"

namespace velk::skintest {

// Selects HKCU\Software\VelkTest\Skin as the settings store, emptied before and after.
class CTestSettings {
 public:
  CTestSettings();
  ~CTestSettings();
  fw::CRegistrySettings& Store() { return store_; }

 private:
  fw::CRegistrySettings store_;
};

// A fresh folder under the temporary folder, removed with everything in it.
class CScratchDir {
 public:
  CScratchDir();
  ~CScratchDir();
  const std::string& Path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "\\" + name; }

 private:
  std::string path_;
};

bool WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes);
std::vector<uint8_t> ReadBytes(const std::string& path);

// Delivers everything posted to this thread's windows.
void PumpMessages();

// A skinned window that keeps every region and drag message it gets.
class CProbeWnd : public CSkinWnd {
 public:
  std::vector<std::pair<UINT, WPARAM>> received;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

// Client-coordinate mouse input, sent as the window system would.
void Press(CSkinWnd& w, int x, int y);
void Release(CSkinWnd& w, int x, int y);
void Drag(CSkinWnd& w, int x, int y);  // move with the left button held

// The colour at a point of a device context as 0x00RRGGBB.
uint32_t PixelAt(HDC dc, int x, int y);

}  // namespace velk::skintest
