// Registers a COM server module through its own DllRegisterServer, as the
// launcher registers samiparse.ax in the prefix (it stays registered, so the
// prefix is left as it was found).
#pragma once

#include <windows.h>

namespace velk::wintest {

inline bool RegisterServerModule(const char* path) {
  HMODULE module = ::LoadLibraryA(path);
  if (!module) return false;
  using Register = HRESULT(STDAPICALLTYPE*)();
  auto reg = reinterpret_cast<Register>(::GetProcAddress(module, "DllRegisterServer"));
  const bool registered = reg && reg() == S_OK;
  ::FreeLibrary(module);
  return registered;
}

}  // namespace velk::wintest
