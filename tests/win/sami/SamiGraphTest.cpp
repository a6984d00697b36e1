// samiparse.ax in real graphs: a .smi file renders on its own, its captions
// arrive as EC_OLE_EVENT at their times and in order, the stream completes
// once per run, pausing holds the captions and seeking moves them.
#include <windows.h>
#include <dshow.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/framework/ComPtr.h"
#include "tests/win/ServerModule.h"
#include "tests/support/MediaGen.h"

using velk::ComPtr;

namespace {

struct Event {
  long code;
  std::wstring kind;
  std::wstring text;
  DWORD atMs;  // since the run started
};

class SamiGraph : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(velk::wintest::RegisterServerModule(SAMIPARSE_MODULE_PATH));  // as the launcher does

    char dir[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, dir);
    path_ = std::string(dir) + "sami_graph_test.smi";
    ASSERT_TRUE(velk::testmedia::WriteFile(path_, velk::testmedia::MakeSami(velk::testmedia::DefaultCaptions())));
    ASSERT_EQ(S_OK, ::CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                                       graph_.ReceiveVoid()));
    std::wstring wide(path_.begin(), path_.end());
    ASSERT_EQ(S_OK, graph_->RenderFile(wide.c_str(), nullptr));
    ASSERT_EQ(S_OK, graph_.As(IID_IMediaControl, control_));
    ASSERT_EQ(S_OK, graph_.As(IID_IMediaEventEx, events_));
  }

  void TearDown() override {
    if (control_) control_->Stop();
    events_.Reset();
    control_.Reset();
    graph_.Reset();
    ::DeleteFileA(path_.c_str());
  }

  // Events until EC_COMPLETE (included) or `limitMs`.
  std::vector<Event> Collect(DWORD limitMs, DWORD started) {
    std::vector<Event> got;
    for (;;) {
      DWORD now = ::GetTickCount() - started;
      if (now > limitMs) break;
      long code = 0;
      LONG_PTR p1 = 0, p2 = 0;
      if (FAILED(events_->GetEvent(&code, &p1, &p2, 50))) continue;
      Event e{code, L"", L"", ::GetTickCount() - started};
      if (code == EC_OLE_EVENT) {
        e.kind = reinterpret_cast<BSTR>(p1);
        e.text = reinterpret_cast<BSTR>(p2);
      }
      events_->FreeEventParams(code, p1, p2);
      if (code == EC_OLE_EVENT || code == EC_COMPLETE) got.push_back(e);
      if (code == EC_COMPLETE) break;
    }
    return got;
  }

  std::string path_;
  ComPtr<IGraphBuilder> graph_;
  ComPtr<IMediaControl> control_;
  ComPtr<IMediaEventEx> events_;
};

TEST_F(SamiGraph, CaptionsArriveAtTheirTimesInOrderThenOneCompletion) {
  DWORD started = ::GetTickCount();
  ASSERT_EQ(S_OK, SUCCEEDED(control_->Run()) ? S_OK : E_FAIL);
  std::vector<Event> got = Collect(6000, started);
  ASSERT_EQ(4u, got.size());
  const wchar_t* texts[] = {L"<P Class=ENCC>First caption", L"<P Class=ENCC>Second line<br>with a break",
                            L"<P Class=ENCC>&nbsp;"};
  const DWORD times[] = {0, 1000, 2000};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(EC_OLE_EVENT, got[i].code);
    EXPECT_EQ(L"Text", got[i].kind);
    EXPECT_EQ(texts[i], got[i].text);
    EXPECT_GE(got[i].atMs + 100, times[i]) << "caption " << i << " not early";
    EXPECT_LE(got[i].atMs, times[i] + 700) << "caption " << i << " not late";
  }
  EXPECT_EQ(EC_COMPLETE, got[3].code);
  // Exactly one completion: nothing follows it.
  long code = 0;
  LONG_PTR p1 = 0, p2 = 0;
  bool more = false;
  while (SUCCEEDED(events_->GetEvent(&code, &p1, &p2, 300))) {
    if (code == EC_COMPLETE || code == EC_OLE_EVENT) more = true;
    events_->FreeEventParams(code, p1, p2);
  }
  EXPECT_FALSE(more);
}

TEST_F(SamiGraph, PauseHoldsCaptionsAndSeekingMovesThem) {
  // Paused at the start: nothing is raised while paused.
  ASSERT_TRUE(SUCCEEDED(control_->Pause()));
  OAFilterState state;
  control_->GetState(2000, &state);
  DWORD started = ::GetTickCount();
  std::vector<Event> got = Collect(1200, started);
  EXPECT_TRUE(got.empty()) << "no caption while paused";

  // Seek to 1.5 s: the caption in effect there comes first.
  ComPtr<IMediaSeeking> seeking;
  ASSERT_EQ(S_OK, graph_.As(IID_IMediaSeeking, seeking));
  LONGLONG at = 15000000;
  ASSERT_EQ(S_OK, seeking->SetPositions(&at, AM_SEEKING_AbsolutePositioning, nullptr, AM_SEEKING_NoPositioning));
  started = ::GetTickCount();
  ASSERT_TRUE(SUCCEEDED(control_->Run()));
  got = Collect(5000, started);
  ASSERT_GE(got.size(), 3u);
  EXPECT_EQ(L"<P Class=ENCC>Second line<br>with a break", got[0].text);
  EXPECT_LE(got[0].atMs, 700u);
  EXPECT_EQ(L"<P Class=ENCC>&nbsp;", got[1].text);
  EXPECT_GE(got[1].atMs + 100, 500u);
  EXPECT_LE(got[1].atMs, 500u + 700u);
  EXPECT_EQ(EC_COMPLETE, got.back().code);
}

}  // namespace
