#include "player/engine/GraphRelease.h"

#include <memory>
#include <string>

#include "platform/framework/Handles.h"

namespace velk {

namespace {

struct PendingRelease {
  std::vector<ComPtr<IUnknown>> references;
};

void ReleaseAll(std::vector<ComPtr<IUnknown>>& references) {
  for (ComPtr<IUnknown>& p : references) p.Reset();  // in order, first to last
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

const void* CodeOf(IUnknown* object) {
  // An interface's first method sits in the module that implements it.
  return reinterpret_cast<const void*>((*reinterpret_cast<void***>(object))[0]);
}

// Waits for the thread while answering what other threads send to this one's
// windows: the renderer's window thread, tearing its window down, sends to the
// windows it was attached to and waits for the answer.
bool WaitAnsweringSends(HANDLE thread, DWORD waitMs) {
  const DWORD start = ::GetTickCount();
  for (;;) {
    const DWORD spent = ::GetTickCount() - start;
    const DWORD left = spent < waitMs ? waitMs - spent : 0;
    const DWORD woke = ::MsgWaitForMultipleObjects(1, &thread, FALSE, left, QS_SENDMESSAGE);
    if (woke == WAIT_OBJECT_0) return true;
    if (woke != WAIT_OBJECT_0 + 1) return false;  // time is up
    MSG msg;
    ::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);  // answers the sends
  }
}

}  // namespace

bool ReleaseAside(std::vector<ComPtr<IUnknown>> references, DWORD waitMs) {
  // Where the objects' code lives, taken while this thread still holds them.
  std::vector<const void*> code;
  for (const ComPtr<IUnknown>& p : references) {
    if (p) code.push_back(CodeOf(p.Get()));
  }
  auto pending = std::make_unique<PendingRelease>();
  pending->references = std::move(references);
  const fw::CHandle thread(::CreateThread(nullptr, 0, &ReleaseThread, pending.get(), 0, nullptr));
  if (!thread.Valid()) {
    ReleaseAll(pending->references);
    return true;
  }
  pending.release();  // the thread owns it now
  const bool done = WaitAnsweringSends(thread.Get(), waitMs);
  if (!done) {
    // The rare case this is for: counted, and said where a debugger listens.
    static long stuck = 0;
    const std::string said = "Velk: a closed graph is still being released after " + std::to_string(waitMs) +
                             " ms (" + std::to_string(++stuck) + " so far)\n";
    ::OutputDebugStringA(said.c_str());
    // The objects are still alive (the thread is inside them), so their
    // modules are too; once the apartment goes they would be unloaded under it.
    for (const void* address : code) {
      HMODULE module = nullptr;
      ::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                           static_cast<LPCSTR>(address), &module);
    }
  }
  return done;
}

}  // namespace velk
