// samiparse.ax: class table, registration and the module's entry points.
#include <windows.h>

#include <string>

#include "platform/sami/SamiFilters.h"

namespace velk {

namespace {

const REGPINTYPES kTextTypes[] = {{&MEDIATYPE_Text, &GUID_NULL}};
const REGFILTERPINS kRendererPins[] = {
    {const_cast<LPWSTR>(L"In"), TRUE, FALSE, FALSE, FALSE, &CLSID_NULL, nullptr, 1, kTextTypes},
};
// Found by the graph for any text stream.
const dshow::FilterSetup kRendererSetup = {&CLSID_SamiTextRenderer, L"SAMI Text Renderer", MERIT_NORMAL, 1,
                                           kRendererPins};

const dshow::FactoryTemplate kClasses[] = {
    {L"SAMI Source", &CLSID_SamiSource, CSamiSource::CreateInstance, nullptr},
    {L"SAMI Text Renderer", &CLSID_SamiTextRenderer, CTextRenderer::CreateInstance, &kRendererSetup},
};
const dshow::ClassTable kTable = {kClasses, 2};

// Byte patterns that pick the source for a file: "<SAMI>" at the start
// (any case), also after a UTF-8 or UTF-16 byte-order mark. One pattern per
// subtype key: the graph misreads a longer pattern after a shorter one.
struct Pattern {
  const wchar_t* subtype;
  const wchar_t* value;
};
const Pattern kPatterns[] = {
    {L"{8C3B2A20-5E0F-4C1B-9A7E-3D2F6B1C4A01}", L"0,6,FFDFDFDFDFFF,3C53414D493E"},
    {L"{8C3B2A21-5E0F-4C1B-9A7E-3D2F6B1C4A01}", L"0,9,FFFFFFFFDFDFDFDFFF,EFBBBF3C53414D493E"},
    {L"{8C3B2A22-5E0F-4C1B-9A7E-3D2F6B1C4A01}",
     L"0,14,FFFFFFFFDFFFDFFFDFFFDFFFFFFF,FFFE3C00530041004D0049003E00"},
};
constexpr wchar_t kStreamKey[] = L"Media Type\\{E436EB83-524F-11CE-9F53-0020AF0BA770}\\";

}  // namespace

const dshow::ClassTable& SamiClasses() { return kTable; }

HRESULT SamiRegister(HMODULE module, bool doRegister, dshow::CClassKeyStore& store) {
  HRESULT hr = dshow::ServerRegister(kTable, module, doRegister, store);
  if (FAILED(hr)) return hr;
  std::wstring source = dshow::GuidText(CLSID_SamiSource);
  for (const Pattern& p : kPatterns) {
    std::wstring key = std::wstring(kStreamKey) + p.subtype;
    LONG rc;
    if (doRegister) {
      rc = store.SetValue(HKEY_CLASSES_ROOT, key.c_str(), L"Source Filter", source.c_str());
      if (rc == ERROR_SUCCESS) rc = store.SetValue(HKEY_CLASSES_ROOT, key.c_str(), L"0", p.value);
    } else {
      rc = store.DeleteTree(HKEY_CLASSES_ROOT, key.c_str());
      if (rc == ERROR_FILE_NOT_FOUND) rc = ERROR_SUCCESS;
    }
    if (rc != ERROR_SUCCESS) return HRESULT_FROM_WIN32(rc);
  }
  return S_OK;
}

}  // namespace velk

using velk::dshow::CModule;

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    ::DisableThreadLibraryCalls(instance);
    CModule::SetInstance(instance);
  }
  return TRUE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, LPVOID* out) {
  return velk::dshow::ServerGetClassObject(velk::SamiClasses(), clsid, iid, out);
}

STDAPI DllCanUnloadNow() { return velk::dshow::ServerCanUnloadNow(); }

STDAPI DllRegisterServer() {
  velk::dshow::CClassKeyStore registry;
  return velk::SamiRegister(CModule::Instance(), true, registry);
}

STDAPI DllUnregisterServer() {
  velk::dshow::CClassKeyStore registry;
  return velk::SamiRegister(CModule::Instance(), false, registry);
}
