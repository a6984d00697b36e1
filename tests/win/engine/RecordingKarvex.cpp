// A stand-in for the caption overlay module with the same name and contract,
// for the engine's tests: its registration exports register and remove the
// filter class as the real module does and note each call; its filter has no
// pins (rendering connects around it) and notes every caption it is given.
#include <windows.h>
#include <dshow.h>
#include <olectl.h>

#include <cstring>
#include <string>

#include "shared/CaptionOverlay.h"
#include "tests/win/engine/RecordingKarvex.h"

namespace {

HMODULE g_module = nullptr;

HKEY OpenRecord() {
  HKEY key = nullptr;
  ::RegCreateKeyExA(HKEY_CURRENT_USER, RECORDING_KARVEX_KEY, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                    &key, nullptr);
  return key;
}

// "refuse" set to 1: the class factory makes no filter.
bool Refused() {
  HKEY key = OpenRecord();
  if (!key) return false;
  DWORD value = 0, size = sizeof(value);
  const bool refused = ::RegQueryValueExA(key, "refuse", nullptr, nullptr, reinterpret_cast<BYTE*>(&value),
                                          &size) == ERROR_SUCCESS && value == 1;
  ::RegCloseKey(key);
  return refused;
}

void NoteCall(char letter) {
  HKEY key = OpenRecord();
  if (!key) return;
  char calls[256] = {};
  DWORD size = sizeof(calls) - 2;
  if (::RegQueryValueExA(key, "calls", nullptr, nullptr, reinterpret_cast<BYTE*>(calls), &size) !=
      ERROR_SUCCESS) {
    calls[0] = '\0';
  }
  size_t n = strlen(calls);
  calls[n] = letter;
  calls[n + 1] = '\0';
  ::RegSetValueExA(key, "calls", 0, REG_SZ, reinterpret_cast<const BYTE*>(calls),
                   static_cast<DWORD>(n + 2));
  ::RegCloseKey(key);
}

void NoteCaption(const char* text) {
  HKEY key = OpenRecord();
  if (!key) return;
  ::RegSetValueExA(key, "caption", 0, REG_BINARY, reinterpret_cast<const BYTE*>(text),
                   static_cast<DWORD>(strlen(text)));
  DWORD count = 0, size = sizeof(count);
  ::RegQueryValueExA(key, "captions", nullptr, nullptr, reinterpret_cast<BYTE*>(&count), &size);
  ++count;
  ::RegSetValueExA(key, "captions", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&count), sizeof(count));
  ::RegCloseKey(key);
}

class CNoPins final : public IEnumPins {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (iid == IID_IUnknown || iid == IID_IEnumPins) {
      *out = static_cast<IEnumPins*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ::InterlockedIncrement(&refs_); }
  ULONG STDMETHODCALLTYPE Release() override {
    LONG n = ::InterlockedDecrement(&refs_);
    if (n == 0) delete this;
    return n;
  }
  HRESULT STDMETHODCALLTYPE Next(ULONG, IPin**, ULONG* fetched) override {
    if (fetched) *fetched = 0;
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Skip(ULONG) override { return S_FALSE; }
  HRESULT STDMETHODCALLTYPE Reset() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE Clone(IEnumPins** out) override {
    *out = new CNoPins;
    return S_OK;
  }

 private:
  LONG refs_ = 1;
};

class CRecordingFilter final : public IBaseFilter, public ICaptionOverlay {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (iid == IID_IUnknown || iid == IID_IPersist || iid == IID_IMediaFilter ||
        iid == IID_IBaseFilter) {
      *out = static_cast<IBaseFilter*>(this);
    } else if (iid == IID_ICaptionOverlay) {
      *out = static_cast<ICaptionOverlay*>(this);
    } else {
      *out = nullptr;
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ::InterlockedIncrement(&refs_); }
  ULONG STDMETHODCALLTYPE Release() override {
    LONG n = ::InterlockedDecrement(&refs_);
    if (n == 0) delete this;
    return n;
  }

  HRESULT STDMETHODCALLTYPE GetClassID(CLSID* clsid) override {
    *clsid = CLSID_Karvex;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Stop() override { return SetState(State_Stopped); }
  HRESULT STDMETHODCALLTYPE Pause() override { return SetState(State_Paused); }
  HRESULT STDMETHODCALLTYPE Run(REFERENCE_TIME) override { return SetState(State_Running); }
  HRESULT STDMETHODCALLTYPE GetState(DWORD, FILTER_STATE* state) override {
    *state = static_cast<FILTER_STATE>(state_);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetSyncSource(IReferenceClock* clock) override {
    if (clock) clock->AddRef();
    if (clock_) clock_->Release();
    clock_ = clock;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetSyncSource(IReferenceClock** clock) override {
    *clock = clock_;
    if (clock_) clock_->AddRef();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE EnumPins(IEnumPins** pins) override {
    *pins = new CNoPins;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE FindPin(LPCWSTR, IPin** pin) override {
    *pin = nullptr;
    return VFW_E_NOT_FOUND;
  }
  HRESULT STDMETHODCALLTYPE QueryFilterInfo(FILTER_INFO* info) override {
    lstrcpynW(info->achName, name_.c_str(), MAX_FILTER_NAME);
    info->pGraph = graph_;  // not held: the graph holds us
    if (graph_) graph_->AddRef();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE JoinFilterGraph(IFilterGraph* graph, LPCWSTR name) override {
    graph_ = graph;
    name_ = name ? name : L"";
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE QueryVendorInfo(LPWSTR*) override { return E_NOTIMPL; }

  HRESULT STDMETHODCALLTYPE Reserved1(DWORD) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE Reserved2(DWORD) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE SetCaptionText(const char* text) override {
    NoteCaption(text ? text : "");
    return S_OK;
  }

 private:
  ~CRecordingFilter() {
    if (clock_) clock_->Release();
  }
  HRESULT SetState(LONG state) {
    state_ = state;
    return S_OK;
  }

  LONG refs_ = 1;
  volatile LONG state_ = State_Stopped;
  IReferenceClock* clock_ = nullptr;
  IFilterGraph* graph_ = nullptr;
  std::wstring name_;
};

class CFactory : public IClassFactory {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (iid == IID_IUnknown || iid == IID_IClassFactory) {
      *out = static_cast<IClassFactory*>(this);
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
    *out = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    if (Refused()) return E_OUTOFMEMORY;  // the test asks for a filter that cannot be made
    auto* filter = new CRecordingFilter;
    HRESULT hr = filter->QueryInterface(iid, out);
    filter->Release();
    if (SUCCEEDED(hr)) NoteCall('C');
    return hr;
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
};

CFactory g_factory;

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, void*) {
  if (reason == DLL_PROCESS_ATTACH) g_module = instance;
  return TRUE;
}

STDAPI DllRegisterServer() {
  NoteCall('R');
  char path[MAX_PATH] = {};
  ::GetModuleFileNameA(g_module, path, MAX_PATH);
  HKEY key = nullptr;
  if (::RegCreateKeyExA(HKEY_CLASSES_ROOT, KARVEX_CLSID_KEY "\\InprocServer32", 0, nullptr, 0,
                        KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS) {
    return SELFREG_E_CLASS;
  }
  ::RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(path),
                   static_cast<DWORD>(strlen(path) + 1));
  ::RegSetValueExA(key, "ThreadingModel", 0, REG_SZ, reinterpret_cast<const BYTE*>("Both"), 5);
  ::RegCloseKey(key);
  return S_OK;
}

STDAPI DllUnregisterServer() {
  NoteCall('U');
  ::RegDeleteTreeA(HKEY_CLASSES_ROOT, KARVEX_CLSID_KEY);
  return S_OK;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
  if (clsid != CLSID_Karvex) {
    *out = nullptr;
    return CLASS_E_CLASSNOTAVAILABLE;
  }
  return g_factory.QueryInterface(iid, out);
}

// Stays loaded for the life of the test program: simpler than counting objects.
STDAPI DllCanUnloadNow() { return S_FALSE; }
