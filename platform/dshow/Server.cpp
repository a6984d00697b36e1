#include "platform/dshow/Server.h"

#include <new>

#include "platform/framework/ComPtr.h"
#include "platform/framework/Handles.h"

namespace velk::dshow {

// --- Class factory ---------------------------------------------------------------

CClassFactory::CClassFactory(const FactoryTemplate* row) : row_(row) { CModule::ObjectCreated(); }

CClassFactory::~CClassFactory() { CModule::ObjectDestroyed(); }

HRESULT STDMETHODCALLTYPE CClassFactory::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  if (iid == IID_IUnknown || iid == IID_IClassFactory) return GetInterface(this, out);
  *out = nullptr;
  return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE CClassFactory::AddRef() { return ::InterlockedIncrement(&refs_); }

ULONG STDMETHODCALLTYPE CClassFactory::Release() {
  LONG refs = ::InterlockedDecrement(&refs_);
  if (refs == 0) delete this;
  return refs;
}

HRESULT STDMETHODCALLTYPE CClassFactory::CreateInstance(IUnknown* outer, REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  // An aggregating owner must take our own unknown.
  if (outer && iid != IID_IUnknown) return E_NOINTERFACE;
  HRESULT hr = S_OK;
  CUnknown* object = row_->create(outer, &hr);
  if (!object) return SUCCEEDED(hr) ? E_OUTOFMEMORY : hr;
  if (FAILED(hr)) {
    delete object;
    return hr;
  }
  object->NonDelegatingAddRef();
  hr = object->NonDelegatingQueryInterface(iid, out);
  object->NonDelegatingRelease();
  return hr;
}

HRESULT STDMETHODCALLTYPE CClassFactory::LockServer(BOOL lock) {
  if (lock) CModule::Lock();
  else CModule::Unlock();
  return S_OK;
}

HRESULT ServerGetClassObject(const ClassTable& table, REFCLSID clsid, REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (iid != IID_IUnknown && iid != IID_IClassFactory) return E_NOINTERFACE;
  for (int i = 0; i < table.count; ++i) {
    if (*table.rows[i].clsid != clsid) continue;
    auto* factory = new (std::nothrow) CClassFactory(&table.rows[i]);
    if (!factory) return E_OUTOFMEMORY;
    factory->AddRef();
    *out = static_cast<IClassFactory*>(factory);
    return S_OK;
  }
  return CLASS_E_CLASSNOTAVAILABLE;
}

HRESULT ServerCanUnloadNow() { return CModule::CanUnload() ? S_OK : S_FALSE; }

// --- Registry store --------------------------------------------------------------

LONG CClassKeyStore::SetValue(HKEY root, const wchar_t* path, const wchar_t* name, const wchar_t* value) {
  fw::CRegKey key;
  const LONG rc = key.Create(root, path, KEY_SET_VALUE);
  if (rc != ERROR_SUCCESS) return rc;
  return ::RegSetValueExW(key.Get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                          static_cast<DWORD>((wcslen(value) + 1) * sizeof(wchar_t)));
}

LONG CClassKeyStore::DeleteTree(HKEY root, const wchar_t* path) { return fw::DeleteKeyTree(root, path); }

bool CClassKeyStore::KeyExists(HKEY root, const wchar_t* path) {
  fw::CRegKey key;
  return key.Open(root, path) == ERROR_SUCCESS;
}

// --- Registration ----------------------------------------------------------------

std::wstring GuidText(REFGUID guid) {
  wchar_t text[40] = {};
  ::StringFromGUID2(guid, text, 40);
  return text;
}

namespace {

constexpr wchar_t kMachineClasses[] = L"CLSID\\";                  // under HKEY_CLASSES_ROOT
constexpr wchar_t kUserClasses[] = L"Software\\Classes\\CLSID\\";  // under HKEY_CURRENT_USER
const HRESULT kNotFound = HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
const HRESULT kDenied = HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED);

bool IsDenied(HRESULT hr) { return hr == kDenied || hr == E_ACCESSDENIED; }

HRESULT WriteClassKeys(const ClassTable& table, const std::wstring& file, CClassKeyStore& store, HKEY root,
                       const wchar_t* base) {
  for (int i = 0; i < table.count; ++i) {
    std::wstring key = base + GuidText(*table.rows[i].clsid);
    std::wstring server = key + L"\\InprocServer32";
    LONG rc = store.SetValue(root, key.c_str(), nullptr, table.rows[i].name);
    if (rc == ERROR_SUCCESS) rc = store.SetValue(root, server.c_str(), nullptr, file.c_str());
    if (rc == ERROR_SUCCESS) rc = store.SetValue(root, server.c_str(), L"ThreadingModel", L"Both");
    if (rc != ERROR_SUCCESS) return HRESULT_FROM_WIN32(rc);
  }
  return S_OK;
}

HRESULT DeleteClassKeys(const ClassTable& table, CClassKeyStore& store) {
  for (int i = 0; i < table.count; ++i) {
    std::wstring id = GuidText(*table.rows[i].clsid);
    std::wstring user = kUserClasses + id;
    LONG rc = store.DeleteTree(HKEY_CURRENT_USER, user.c_str());
    if (rc != ERROR_SUCCESS && rc != ERROR_FILE_NOT_FOUND) return HRESULT_FROM_WIN32(rc);
    std::wstring machine = kMachineClasses + id;
    rc = store.DeleteTree(HKEY_CLASSES_ROOT, machine.c_str());
    // Refused is fine when there is nothing machine-wide of ours to remove.
    if (rc == ERROR_ACCESS_DENIED && !store.KeyExists(HKEY_CLASSES_ROOT, machine.c_str())) rc = ERROR_SUCCESS;
    if (rc != ERROR_SUCCESS && rc != ERROR_FILE_NOT_FOUND) return HRESULT_FROM_WIN32(rc);
  }
  return S_OK;
}

HRESULT RegisterWithMapper2(IFilterMapper2* mapper, const FilterSetup& setup, bool doRegister) {
  HRESULT hr = mapper->UnregisterFilter(nullptr, nullptr, *setup.clsid);
  if (hr == kNotFound) hr = S_OK;
  if (FAILED(hr) || !doRegister) return hr;
  REGFILTER2 record = {};
  record.dwVersion = 1;
  record.dwMerit = setup.merit;
  record.cPins = setup.pinCount;
  record.rgPins = setup.pins;
  hr = mapper->RegisterFilter(*setup.clsid, setup.name, nullptr, nullptr, nullptr, &record);
  return hr == kNotFound ? S_OK : hr;
}

HRESULT RegisterWithMapper1(IFilterMapper* mapper, const FilterSetup& setup, bool doRegister) {
  HRESULT hr = mapper->UnregisterFilter(*setup.clsid);
  if (hr == kNotFound) hr = S_OK;
  if (FAILED(hr) || !doRegister) return hr;
  hr = mapper->RegisterFilter(*setup.clsid, setup.name, setup.merit);
  for (UINT p = 0; SUCCEEDED(hr) && p < setup.pinCount; ++p) {
    const REGFILTERPINS& pin = setup.pins[p];
    hr = mapper->RegisterPin(*setup.clsid, pin.strName, pin.bRendered, pin.bOutput, pin.bZero, pin.bMany,
                             pin.clsConnectsToFilter ? *pin.clsConnectsToFilter : GUID_NULL,
                             const_cast<LPWSTR>(pin.strConnectsToPin));
    for (UINT t = 0; SUCCEEDED(hr) && t < pin.nMediaTypes; ++t)
      hr = mapper->RegisterPinType(*setup.clsid, pin.strName, *pin.lpMediaType[t].clsMajorType,
                                   *pin.lpMediaType[t].clsMinorType);
  }
  return hr == kNotFound ? S_OK : hr;
}

// Every filter of the table with the newer mapper, or the old one without it.
HRESULT RegisterFiltersWithMapper(const ClassTable& table, bool doRegister) {
  ComPtr<IFilterMapper2> mapper2;
  ComPtr<IFilterMapper> mapper1;
  HRESULT hr = ::CoCreateInstance(CLSID_FilterMapper2, nullptr, CLSCTX_INPROC_SERVER, IID_IFilterMapper2,
                                  mapper2.ReceiveVoid());
  if (FAILED(hr)) {
    hr = ::CoCreateInstance(CLSID_FilterMapper, nullptr, CLSCTX_INPROC_SERVER, IID_IFilterMapper,
                            mapper1.ReceiveVoid());
  }
  for (int i = 0; i < table.count && SUCCEEDED(hr); ++i) {
    const FilterSetup* setup = table.rows[i].filter;
    if (!setup) continue;
    hr = mapper2 ? RegisterWithMapper2(mapper2.Get(), *setup, doRegister)
                 : RegisterWithMapper1(mapper1.Get(), *setup, doRegister);
  }
  return hr;
}

HRESULT RegisterFilters(const ClassTable& table, bool doRegister) {
  HRESULT init = ::CoInitialize(nullptr);
  HRESULT hr = RegisterFiltersWithMapper(table, doRegister);  // its mappers are gone before COM is
  ::CoFreeUnusedLibraries();
  if (SUCCEEDED(init)) ::CoUninitialize();
  return hr;
}

}  // namespace

HRESULT ServerRegister(const ClassTable& table, HMODULE module, bool doRegister, CClassKeyStore& store) {
  std::wstring file(MAX_PATH, L'\0');
  for (;;) {
    DWORD n = ::GetModuleFileNameW(module, &file[0], static_cast<DWORD>(file.size()));
    if (n == 0) return HRESULT_FROM_WIN32(::GetLastError());
    if (n < file.size()) {
      file.resize(n);
      break;
    }
    file.resize(file.size() * 2);
  }

  bool perUser = false;
  if (doRegister) {
    HRESULT hr = WriteClassKeys(table, file, store, HKEY_CLASSES_ROOT, kMachineClasses);
    if (hr == kDenied) {
      // No rights machine-wide: the current user's classes, which COM reads first.
      perUser = true;
      hr = WriteClassKeys(table, file, store, HKEY_CURRENT_USER, kUserClasses);
    }
    if (FAILED(hr)) return hr;
  } else if (table.count > 0) {
    perUser = store.KeyExists(HKEY_CURRENT_USER, (kUserClasses + GuidText(*table.rows[0].clsid)).c_str());
  }

  HRESULT hr = RegisterFilters(table, doRegister);
  // Without rights the mapper refuses too; the player adds the filter itself,
  // so the per-user classes are all it needs.
  if (perUser && IsDenied(hr)) hr = S_OK;
  if (FAILED(hr) || doRegister) return hr;
  return DeleteClassKeys(table, store);
}

}  // namespace velk::dshow
