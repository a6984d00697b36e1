// The COM groundwork of the filter modules: a critical section with a scoped
// lock, the non-delegating unknown that makes objects aggregatable, and the
// module's counts of live objects and server locks that DllCanUnloadNow reads.
#pragma once

#include <windows.h>
#include <objbase.h>

namespace velk::dshow {

class CCritSec {
 public:
  CCritSec() { ::InitializeCriticalSection(&cs_); }
  ~CCritSec() { ::DeleteCriticalSection(&cs_); }
  CCritSec(const CCritSec&) = delete;
  CCritSec& operator=(const CCritSec&) = delete;
  void Lock() { ::EnterCriticalSection(&cs_); }
  void Unlock() { ::LeaveCriticalSection(&cs_); }

 private:
  CRITICAL_SECTION cs_;
};

class CAutoLock {
 public:
  explicit CAutoLock(CCritSec* lock) : lock_(lock) { lock_->Lock(); }
  ~CAutoLock() { lock_->Unlock(); }
  CAutoLock(const CAutoLock&) = delete;
  CAutoLock& operator=(const CAutoLock&) = delete;

 private:
  CCritSec* lock_;
};

// Live objects (every CUnknown and class factory of the module) and server
// locks (IClassFactory::LockServer). Thread-safe.
class CModule {
 public:
  static void ObjectCreated();
  static void ObjectDestroyed();
  static void Lock();
  static void Unlock();
  static LONG ObjectCount();
  static LONG LockCount();
  static bool CanUnload() { return ObjectCount() == 0 && LockCount() == 0; }

  // The module's own handle (its resources live there) and the operating
  // system's platform identifier, both set by the module's entry point. The
  // handle defaults to the process's executable.
  static void SetInstance(HINSTANCE instance);
  static HINSTANCE Instance();
  static void SetPlatformId(DWORD id);
  static DWORD PlatformId();
};

// The IUnknown of an object as seen by its aggregating owner: it answers for
// the object itself, while the object's public IUnknown methods delegate to
// the owner (the outer object, or this one when not aggregated). Same layout
// as IUnknown, so a pointer to it can stand in for the owner.
struct INonDelegatingUnknown {
  virtual HRESULT STDMETHODCALLTYPE NonDelegatingQueryInterface(REFIID iid, void** out) = 0;
  virtual ULONG STDMETHODCALLTYPE NonDelegatingAddRef() = 0;
  virtual ULONG STDMETHODCALLTYPE NonDelegatingRelease() = 0;
};

// Base of every COM object of the modules. Created with a reference count of
// 0: the creator takes the first reference. Counts itself as a live module
// object from construction to destruction.
class CUnknown : public INonDelegatingUnknown {
 public:
  explicit CUnknown(IUnknown* outer);
  virtual ~CUnknown();
  CUnknown(const CUnknown&) = delete;
  CUnknown& operator=(const CUnknown&) = delete;

  // The unknown that the public IUnknown methods go to.
  IUnknown* GetOwner() const { return owner_; }

  // Answers IUnknown only; derived classes add their interfaces first.
  HRESULT STDMETHODCALLTYPE NonDelegatingQueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE NonDelegatingAddRef() override;
  ULONG STDMETHODCALLTYPE NonDelegatingRelease() override;

 private:
  volatile LONG refs_ = 0;
  IUnknown* owner_;
};

// Hands out an interface pointer with a reference (through the owner).
HRESULT GetInterface(IUnknown* unknown, void** out);

// The IUnknown methods of an interface implemented by a CUnknown: they go to
// the owner, so aggregated objects keep one identity.
#define VELK_DECLARE_IUNKNOWN                                                   \
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {   \
    return GetOwner()->QueryInterface(iid, out);                                \
  }                                                                             \
  ULONG STDMETHODCALLTYPE AddRef() override { return GetOwner()->AddRef(); }    \
  ULONG STDMETHODCALLTYPE Release() override { return GetOwner()->Release(); }

}  // namespace velk::dshow
