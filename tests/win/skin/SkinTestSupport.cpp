#include "tests/win/skin/SkinTestSupport.h"

#include <cstdio>

#include "core/SettingsStore.h"

namespace velk::skintest {

CTestSettings::CTestSettings() : store_(HKEY_CURRENT_USER, "Software\\VelkTest\\Skin") {
  store_.DeleteAll();
  SelectSettingsStore(&store_);
}

CTestSettings::~CTestSettings() {
  SelectSettingsStore(nullptr);
  store_.DeleteAll();
}

namespace {
void RemoveTree(const std::string& dir) {
  WIN32_FIND_DATAA f{};
  HANDLE h = ::FindFirstFileA((dir + "\\*").c_str(), &f);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = f.cFileName;
      if (name == "." || name == "..") continue;
      const std::string full = dir + "\\" + name;
      if (f.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(full);
      } else {
        ::DeleteFileA(full.c_str());
      }
    } while (::FindNextFileA(h, &f));
    ::FindClose(h);
  }
  ::RemoveDirectoryA(dir.c_str());
}
}  // namespace

CScratchDir::CScratchDir() {
  char temp[MAX_PATH] = {};
  ::GetTempPathA(MAX_PATH, temp);
  static int serial = 0;
  path_ = std::string(temp) + "velkskin-" + std::to_string(::GetCurrentProcessId()) + "-" +
          std::to_string(++serial);
  RemoveTree(path_);
  ::CreateDirectoryA(path_.c_str(), nullptr);
}

CScratchDir::~CScratchDir() { RemoveTree(path_); }

bool WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}

std::vector<uint8_t> ReadBytes(const std::string& path) {
  std::vector<uint8_t> out;
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return out;
  uint8_t buf[4096];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof(buf), f)) > 0) out.insert(out.end(), buf, buf + n);
  std::fclose(f);
  return out;
}

void PumpMessages() {
  MSG msg;
  while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
}

LRESULT CProbeWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message >= WM_USER && message < 0x0500) received.emplace_back(message, wParam);
  return CSkinWnd::WindowProc(message, wParam, lParam);
}

namespace {
LPARAM At(int x, int y) { return MAKELPARAM(x, y); }
}  // namespace

void Press(CSkinWnd& w, int x, int y) { w.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(x, y)); }
void Release(CSkinWnd& w, int x, int y) { w.SendMessage(WM_LBUTTONUP, 0, At(x, y)); }
void Drag(CSkinWnd& w, int x, int y) { w.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, At(x, y)); }

uint32_t PixelAt(HDC dc, int x, int y) {
  const COLORREF c = ::GetPixel(dc, x, y);
  return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

}  // namespace velk::skintest
