// What the engine's tests under Wine share: a scratch folder of generated
// media, and a hidden owner window that answers the engine as the main window
// does (graph events drained, video window adopted) while recording every
// message it gets.
#pragma once

#include <windows.h>
#include <dshow.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/framework/Wnd.h"
#include "player/engine/PlaybackEngine.h"

namespace velk::enginetest {

// A fresh folder under the temporary folder, removed with what it holds.
class CScratchFolder {
 public:
  CScratchFolder();
  ~CScratchFolder();
  const std::string& Path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "\\" + name; }
  // Writers of the test media; each returns the file's path.
  std::string Wav(const std::string& name, int millis);
  std::string Avi(const std::string& name, int width, int height, int frames);
  std::string Sami(const std::string& name);
  std::string Garbage(const std::string& name);

 private:
  std::string path_;
};

struct Received {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  // WM_PLAYER_VIDEOWINDOW: what the video window said about itself during the send.
  HRESULT sizeRead = E_FAIL;
  long width = 0;
  long height = 0;
  // WM_PLAYER_CAPTIONTEXT: copies of the two strings.
  std::wstring kind;
  std::wstring text;
};

class CRecordingWnd : public fw::CWnd {
 public:
  CRecordingWnd();
  // Drains the engine's events on WM_PLAYER_GRAPHEVENT, as the main window does.
  void Serve(CPlaybackEngine* engine) { engine_ = engine; }
  // Re-parents every announced video window to `adopter`, as the player's
  // video window does, so caption messages have a window to go to.
  void AdoptVideoInto(HWND adopter) { adopter_ = adopter; }

  std::vector<Received> received;
  std::vector<Received> Of(UINT message) const;
  size_t Count(UINT message) const { return Of(message).size(); }
  // Index of the first message of this kind, or -1.
  int IndexOf(UINT message) const;

  VELK_DECLARE_MESSAGE_TABLE()

 private:
  bool OnGraphEvent(fw::MsgArgs& m);
  bool OnRecord(fw::MsgArgs& m);
  bool OnVideoWindow(fw::MsgArgs& m);
  bool OnCaptionText(fw::MsgArgs& m);

  CPlaybackEngine* engine_ = nullptr;
  HWND adopter_ = nullptr;
};

// Dispatches this thread's messages until `done` holds or timeoutMs passed
// (the limit only keeps a broken build from hanging). Returns `done()`.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 30000);
// Dispatches what is queued now, and what arrives within `millis`.
void PumpFor(DWORD millis);

// The graph behind one of its interfaces (an announced video window, the
// events pointer of WM_PLAYER_GRAPHEVENT).
ComPtr<IFilterGraph> GraphOf(IUnknown* graphPart);
// Raises a caption event in the graph as a SAMI renderer would. The strings
// belong to the graph's event queue from here on.
bool RaiseCaptionEvent(IUnknown* graphPart, const wchar_t* kind, const wchar_t* text);
// Whether this system turns a SAMI file into a graph at all.
bool SamiRenders(const std::string& samiPath);

}  // namespace velk::enginetest
