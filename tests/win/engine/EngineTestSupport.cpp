#include "tests/win/engine/EngineTestSupport.h"

#include <oleauto.h>

#include <algorithm>

#include "shared/PlayerMessages.h"
#include "tests/support/MediaGen.h"

namespace velk::enginetest {

namespace tm = velk::testmedia;

namespace {
// Removes a folder with everything below it.
void RemoveTree(const std::string& folder) {
  WIN32_FIND_DATAA found;
  HANDLE find = ::FindFirstFileA((folder + "\\*").c_str(), &found);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = found.cFileName;
      if (name == "." || name == "..") continue;
      const std::string path = folder + "\\" + name;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(path);
      } else {
        ::DeleteFileA(path.c_str());
      }
    } while (::FindNextFileA(find, &found));
    ::FindClose(find);
  }
  ::RemoveDirectoryA(folder.c_str());
}
}  // namespace

CScratchFolder::CScratchFolder() {
  char temp[MAX_PATH] = {};
  ::GetTempPathA(MAX_PATH, temp);
  static int serial = 0;
  path_ = std::string(temp) + "velk-engine-" + std::to_string(::GetCurrentProcessId()) + "-" +
          std::to_string(++serial);
  RemoveTree(path_);  // what an earlier run with the same process id left
  ::CreateDirectoryA(path_.c_str(), nullptr);
}

CScratchFolder::~CScratchFolder() { RemoveTree(path_); }

std::string CScratchFolder::Wav(const std::string& name, int millis) {
  std::string path = File(name);
  tm::WriteFile(path, tm::MakeWav(22050, 1, millis, 440.0));
  return path;
}

std::string CScratchFolder::Avi(const std::string& name, int width, int height, int frames) {
  tm::VideoSpec clip;
  clip.width = width;
  clip.height = height;
  clip.frames = frames;
  std::string path = File(name);
  tm::WriteFile(path, tm::MakeAvi(clip));
  return path;
}

std::string CScratchFolder::Sami(const std::string& name) {
  std::string path = File(name);
  tm::WriteFile(path, tm::MakeSami(tm::DefaultCaptions()));
  return path;
}

std::string CScratchFolder::Garbage(const std::string& name) {
  tm::Bytes junk(4096);
  uint32_t x = 0x2545F491;
  for (auto& b : junk) {
    x ^= x << 13, x ^= x >> 17, x ^= x << 5;
    b = static_cast<uint8_t>(x);
  }
  std::string path = File(name);
  tm::WriteFile(path, junk);
  return path;
}

VELK_BEGIN_MESSAGE_TABLE(CRecordingWnd)
  VELK_ON_MESSAGE(WM_PLAYER_GRAPHEVENT, CRecordingWnd, OnGraphEvent),
  VELK_ON_MESSAGE(WM_PLAYER_ENDOFMEDIA, CRecordingWnd, OnRecord),
  VELK_ON_MESSAGE(WM_PLAYER_VIDEOWINDOW, CRecordingWnd, OnVideoWindow),
  VELK_ON_MESSAGE(WM_PLAYER_CAPTIONTEXT, CRecordingWnd, OnCaptionText),
VELK_END_MESSAGE_TABLE(CRecordingWnd, fw::CWnd);

CRecordingWnd::CRecordingWnd() {
  const char* kClass = "VelkEngineTestWnd";
  RegisterClass(kClass, 0, nullptr, nullptr);
  CreateEx(0, kClass, "engine test", WS_OVERLAPPEDWINDOW, 0, 0, 200, 200, nullptr, nullptr);
}

std::vector<Received> CRecordingWnd::Of(UINT message) const {
  std::vector<Received> out;
  std::copy_if(received.begin(), received.end(), std::back_inserter(out),
               [message](const Received& r) { return r.message == message; });
  return out;
}

int CRecordingWnd::IndexOf(UINT message) const {
  for (size_t i = 0; i < received.size(); ++i) {
    if (received[i].message == message) return static_cast<int>(i);
  }
  return -1;
}

bool CRecordingWnd::OnGraphEvent(fw::MsgArgs& m) {
  OnRecord(m);
  if (engine_) engine_->HandleGraphEvents();
  return true;
}

bool CRecordingWnd::OnRecord(fw::MsgArgs& m) {
  received.push_back(Received{m.message, m.wParam, m.lParam});
  return true;
}

bool CRecordingWnd::OnVideoWindow(fw::MsgArgs& m) {
  Received r{m.message, m.wParam, m.lParam};
  auto* video = reinterpret_cast<IVideoWindow*>(m.wParam);
  if (video) {
    r.sizeRead = video->get_Width(&r.width);
    if (SUCCEEDED(r.sizeRead)) r.sizeRead = video->get_Height(&r.height);
    if (m.lParam == 1 && adopter_) video->put_Owner(reinterpret_cast<OAHWND>(adopter_));
  }
  received.push_back(r);
  return true;
}

bool CRecordingWnd::OnCaptionText(fw::MsgArgs& m) {
  Received r{m.message, m.wParam, m.lParam};
  if (m.wParam) r.kind = reinterpret_cast<const wchar_t*>(m.wParam);
  if (m.lParam) r.text = reinterpret_cast<const wchar_t*>(m.lParam);
  received.push_back(r);
  return true;
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
  const DWORD start = ::GetTickCount();
  while (!done()) {
    if (::GetTickCount() - start > timeoutMs) return false;
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageA(&msg);
    }
  }
  return true;
}

void PumpFor(DWORD millis) {
  const DWORD start = ::GetTickCount();
  PumpUntil([&] { return ::GetTickCount() - start >= millis; }, millis + 1000);
}

ComPtr<IFilterGraph> GraphOf(IUnknown* graphPart) {
  ComPtr<IFilterGraph> graph;
  if (graphPart) graphPart->QueryInterface(IID_IFilterGraph, graph.ReceiveVoid());
  return graph;
}

bool RaiseCaptionEvent(IUnknown* graphPart, const wchar_t* kind, const wchar_t* text) {
  ComPtr<IMediaEventSink> sink;
  if (!graphPart || FAILED(graphPart->QueryInterface(IID_IMediaEventSink, sink.ReceiveVoid()))) {
    return false;
  }
  return SUCCEEDED(sink->Notify(EC_OLE_EVENT, reinterpret_cast<LONG_PTR>(::SysAllocString(kind)),
                                reinterpret_cast<LONG_PTR>(::SysAllocString(text))));
}

bool SamiRenders(const std::string& samiPath) {
  ComPtr<IGraphBuilder> graph;
  if (FAILED(::CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                                graph.ReceiveVoid()))) {
    return false;
  }
  std::wstring wide(samiPath.begin(), samiPath.end());
  return SUCCEEDED(graph->RenderFile(wide.c_str(), nullptr));
}

}  // namespace velk::enginetest
