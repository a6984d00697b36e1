// The in-process server: the module's table of creatable classes, the class
// factory built from one row, the bodies of DllGetClassObject and
// DllCanUnloadNow, and registration of the classes and of the filters'
// setup data with the filter mapper.
#pragma once

#include <windows.h>
#include <dshow.h>

#include <string>

#include "platform/dshow/ComBase.h"

namespace velk::dshow {

// Creates one object of a class; returns null (with *hr set, or
// E_OUTOFMEMORY) when it cannot be made.
using CreateFunction = CUnknown* (*)(IUnknown* outer, HRESULT* hr);

// A filter's setup data for the filter mapper.
struct FilterSetup {
  const CLSID* clsid;
  const wchar_t* name;
  DWORD merit;
  UINT pinCount;
  const REGFILTERPINS* pins;
};

// One creatable class of the module.
struct FactoryTemplate {
  const wchar_t* name;  // the class key's default value
  const CLSID* clsid;
  CreateFunction create;
  const FilterSetup* filter;  // null for classes that are not filters
};

struct ClassTable {
  const FactoryTemplate* rows;
  int count;
};

// IClassFactory for one row. Counts itself as a live module object.
class CClassFactory final : public IClassFactory {
 public:
  explicit CClassFactory(const FactoryTemplate* row);
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override;
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override;

 private:
  ~CClassFactory();
  volatile LONG refs_ = 0;
  const FactoryTemplate* row_;
};

// DllGetClassObject: IClassFactory or IUnknown only (E_NOINTERFACE), a new
// factory for a class of the table, CLASS_E_CLASSNOTAVAILABLE otherwise.
HRESULT ServerGetClassObject(const ClassTable& table, REFCLSID clsid, REFIID iid, void** out);
// DllCanUnloadNow: S_FALSE while an object lives or a lock is held.
HRESULT ServerCanUnloadNow();

// Where the class keys are written. The default writes the registry; a
// derived store can refuse a root to show what happens without rights.
class CClassKeyStore {
 public:
  virtual ~CClassKeyStore() = default;
  // Creates root\path when needed and sets its REG_SZ value `name` (null: the default value).
  virtual LONG SetValue(HKEY root, const wchar_t* path, const wchar_t* name, const wchar_t* value);
  // Deletes root\path with all its subkeys; a missing key is ERROR_FILE_NOT_FOUND.
  virtual LONG DeleteTree(HKEY root, const wchar_t* path);
  virtual bool KeyExists(HKEY root, const wchar_t* path);
};

// Registers (or unregisters) every class of the table for the module file
// of `module`: the class keys with InprocServer32 and ThreadingModel "Both",
// then each filter's setup data with the filter mapper (the newer mapper
// first, the old one as fallback), unregistering it there first. When the
// machine-wide class keys are refused for lack of rights they go to
// HKEY_CURRENT_USER\Software\Classes\CLSID instead; unregistration removes
// both places. Returns the first failure.
HRESULT ServerRegister(const ClassTable& table, HMODULE module, bool doRegister, CClassKeyStore& store);

// "{xxxxxxxx-...}" of a class identifier.
std::wstring GuidText(REFGUID guid);

}  // namespace velk::dshow
