// The entry points of Karvex.ax.
#include <windows.h>
#include <objbase.h>

#include "karvex/KarvexServer.h"

using velk::dshow::CModule;

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    ::DisableThreadLibraryCalls(instance);
    CModule::SetInstance(instance);
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof(version);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (::GetVersionExA(&version)) CModule::SetPlatformId(version.dwPlatformId);
#pragma GCC diagnostic pop
  }
  return TRUE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, LPVOID* out) {
  return velk::dshow::ServerGetClassObject(velk::KarvexClasses(), clsid, iid, out);
}

STDAPI DllCanUnloadNow() { return velk::dshow::ServerCanUnloadNow(); }

STDAPI DllRegisterServer() {
  velk::dshow::CClassKeyStore registry;
  return velk::KarvexRegister(CModule::Instance(), true, registry);
}

STDAPI DllUnregisterServer() {
  velk::dshow::CClassKeyStore registry;
  return velk::KarvexRegister(CModule::Instance(), false, registry);
}
