#include "platform/dshow/ComBase.h"

namespace velk::dshow {

namespace {
volatile LONG g_objects = 0;
volatile LONG g_locks = 0;
HINSTANCE g_instance = nullptr;
DWORD g_platformId = VER_PLATFORM_WIN32_NT;
}  // namespace

void CModule::ObjectCreated() { ::InterlockedIncrement(&g_objects); }
void CModule::ObjectDestroyed() { ::InterlockedDecrement(&g_objects); }
void CModule::Lock() { ::InterlockedIncrement(&g_locks); }
void CModule::Unlock() { ::InterlockedDecrement(&g_locks); }
LONG CModule::ObjectCount() { return ::InterlockedCompareExchange(&g_objects, 0, 0); }
LONG CModule::LockCount() { return ::InterlockedCompareExchange(&g_locks, 0, 0); }

void CModule::SetInstance(HINSTANCE instance) { g_instance = instance; }
HINSTANCE CModule::Instance() { return g_instance ? g_instance : ::GetModuleHandleW(nullptr); }
void CModule::SetPlatformId(DWORD id) { g_platformId = id; }
DWORD CModule::PlatformId() { return g_platformId; }

CUnknown::CUnknown(IUnknown* outer)
    : owner_(outer ? outer
                   : reinterpret_cast<IUnknown*>(static_cast<INonDelegatingUnknown*>(this))) {
  CModule::ObjectCreated();
}

CUnknown::~CUnknown() { CModule::ObjectDestroyed(); }

HRESULT STDMETHODCALLTYPE CUnknown::NonDelegatingQueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  if (iid == IID_IUnknown) {
    // The owner asks for our own unknown: hand out the non-delegating one.
    *out = static_cast<INonDelegatingUnknown*>(this);
    NonDelegatingAddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE CUnknown::NonDelegatingAddRef() {
  return static_cast<ULONG>(::InterlockedIncrement(&refs_));
}

ULONG STDMETHODCALLTYPE CUnknown::NonDelegatingRelease() {
  LONG refs = ::InterlockedDecrement(&refs_);
  if (refs == 0) {
    // Guard against a re-entrant release from the destructor.
    refs_ = 1;
    delete this;
    return 0;
  }
  return static_cast<ULONG>(refs > 0 ? refs : 1);
}

HRESULT GetInterface(IUnknown* unknown, void** out) {
  if (!out) return E_POINTER;
  *out = unknown;
  unknown->AddRef();
  return S_OK;
}

}  // namespace velk::dshow
