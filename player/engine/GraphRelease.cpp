#include "player/engine/GraphRelease.h"

#include <memory>

namespace velk {

namespace {

struct PendingRelease {
  std::vector<IUnknown*> references;
};

void ReleaseAll(std::vector<IUnknown*>& references) {
  for (IUnknown*& p : references) {
    if (p) p->Release();
    p = nullptr;
  }
}

DWORD WINAPI ReleaseThread(void* param) {
  std::unique_ptr<PendingRelease> pending(static_cast<PendingRelease*>(param));
  // The graph's own clean-up may create or free objects: this thread joins the
  // multithreaded apartment for it.
  const bool com = SUCCEEDED(::CoInitializeEx(nullptr, COINIT_MULTITHREADED));
  ReleaseAll(pending->references);
  if (com) ::CoUninitialize();
  return 0;
}

}  // namespace

bool ReleaseAside(std::vector<IUnknown*> references, DWORD waitMs) {
  auto pending = std::make_unique<PendingRelease>();
  pending->references = std::move(references);
  HANDLE thread = ::CreateThread(nullptr, 0, &ReleaseThread, pending.get(), 0, nullptr);
  if (!thread) {
    ReleaseAll(pending->references);
    return true;
  }
  pending.release();  // the thread owns it now
  const bool done = ::WaitForSingleObject(thread, waitMs) == WAIT_OBJECT_0;
  ::CloseHandle(thread);
  return done;
}

}  // namespace velk
