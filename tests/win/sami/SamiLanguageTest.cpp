// The languages of a SAMI document as samiparse.ax offers them through
// IAMStreamSelect: one stream per class with its name and locale, and a
// switch that takes effect while the graph runs.
#include <windows.h>
#include <dshow.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/framework/ComPtr.h"
#include "platform/sami/SamiFilters.h"
#include "tests/win/ServerModule.h"
#include "tests/support/MediaGen.h"

using velk::ComPtr;
namespace media = velk::testmedia;

namespace {

// Korean and English on timelines of their own, and a class that the head
// does not declare.
std::string ThreeLanguages() {
  std::string doc = media::MakeSami(std::vector<media::CaptionTrack>{
      {"KRCC", "Korean", "ko-KR", {{0, "K0"}, {500, "K1"}, {3000, "K2"}}},
      {"ENCC", "English", "en-US", {{200, "E0"}, {2500, "E1"}, {3500, "E2"}}},
  });
  doc.insert(doc.find("</BODY>"), "<SYNC Start=4000><P Class=XXCC>X0\r\n");
  return doc;
}

struct Stream {
  std::wstring name;
  LCID lcid;
  DWORD flags;
  DWORD group;
};

std::vector<Stream> Streams(IAMStreamSelect* select) {
  std::vector<Stream> streams;
  DWORD count = 0;
  if (FAILED(select->Count(&count))) return streams;
  for (DWORD i = 0; i < count; ++i) {
    Stream s{L"?", 0xFFFF, 0xFF, 0xFF};
    WCHAR* name = nullptr;
    if (SUCCEEDED(select->Info(static_cast<LONG>(i), nullptr, &s.flags, &s.lcid, &s.group, &name, nullptr,
                               nullptr)) &&
        name) {
      s.name = name;
    }
    ::CoTaskMemFree(name);
    streams.push_back(s);
  }
  return streams;
}

class SamiLanguages : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(velk::wintest::RegisterServerModule(SAMIPARSE_MODULE_PATH));  // as the launcher does
    char dir[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, dir);
    path_ = std::string(dir) + "sami_language_test.smi";
  }
  void TearDown() override { ::DeleteFileA(path_.c_str()); }

  // A source filter that has loaded `document`.
  ComPtr<IAMStreamSelect> Load(const std::string& document) {
    ComPtr<IAMStreamSelect> select;
    ComPtr<IFileSourceFilter> file;
    if (!media::WriteFile(path_, document) ||
        FAILED(::CoCreateInstance(velk::CLSID_SamiSource, nullptr, CLSCTX_INPROC_SERVER, IID_IFileSourceFilter,
                                  file.ReceiveVoid())) ||
        FAILED(file->Load(Wide().c_str(), nullptr))) {
      return select;
    }
    file.As(IID_IAMStreamSelect, select);
    return select;
  }
  std::wstring Wide() const { return std::wstring(path_.begin(), path_.end()); }

  std::string path_;
};

TEST_F(SamiLanguages, OneStreamPerLanguageWithNameAndLocale) {
  ComPtr<IAMStreamSelect> select = Load(ThreeLanguages());
  ASSERT_TRUE(select);
  std::vector<Stream> streams = Streams(select.Get());
  ASSERT_EQ(3u, streams.size());
  const DWORD on = AMSTREAMSELECTINFO_ENABLED | AMSTREAMSELECTINFO_EXCLUSIVE;
  EXPECT_EQ(L"Korean", streams[0].name);
  EXPECT_EQ(MAKELCID(MAKELANGID(LANG_KOREAN, SUBLANG_KOREAN), SORT_DEFAULT), streams[0].lcid);
  EXPECT_EQ(on, streams[0].flags) << "the first language is on at the start";
  EXPECT_EQ(L"English", streams[1].name);
  EXPECT_EQ(MAKELCID(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), SORT_DEFAULT), streams[1].lcid);
  EXPECT_EQ(0u, streams[1].flags);
  EXPECT_EQ(L"XXCC", streams[2].name) << "no name declared: the class's own";
  EXPECT_EQ(0u, streams[2].lcid);
  for (const Stream& s : streams) EXPECT_EQ(0u, s.group);

  EXPECT_EQ(E_INVALIDARG, select->Info(3, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr));
  EXPECT_EQ(E_INVALIDARG, select->Enable(-1, AMSTREAMSELECTENABLE_ENABLE));
  EXPECT_EQ(E_NOTIMPL, select->Enable(1, 0)) << "one language is always on";
  EXPECT_EQ(E_NOTIMPL, select->Enable(1, AMSTREAMSELECTENABLE_ENABLEALL));
  ASSERT_EQ(S_OK, select->Enable(2, AMSTREAMSELECTENABLE_ENABLE));
  streams = Streams(select.Get());
  EXPECT_EQ(0u, streams[0].flags);
  EXPECT_EQ(on, streams[2].flags);

  // One class is one stream; a document without classes has none.
  struct Row {
    const char* name;
    std::string document;
    DWORD count;
  } rows[] = {
      {"one class", media::MakeSami(media::DefaultCaptions()), 1},
      {"no class", "<SAMI><BODY><SYNC Start=0><P>plain</BODY></SAMI>", 0},
  };
  for (const Row& r : rows) {
    select = Load(r.document);
    ASSERT_TRUE(select) << r.name;
    EXPECT_EQ(r.count, Streams(select.Get()).size()) << r.name;
  }
}

// Switching while the graph runs: the captions from then on are the new
// language's, from where the stream stands; what is past is not repeated.
TEST_F(SamiLanguages, SwitchingWhileRunningGoesOnInTheNewLanguage) {
  ASSERT_TRUE(media::WriteFile(path_, ThreeLanguages()));
  ComPtr<IGraphBuilder> graph;
  ASSERT_EQ(S_OK, ::CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                                     graph.ReceiveVoid()));
  ComPtr<IBaseFilter> source;
  ASSERT_EQ(S_OK, graph->AddSourceFilter(Wide().c_str(), L"captions", source.Receive()));
  ComPtr<IAMStreamSelect> select;
  ASSERT_EQ(S_OK, source.As(IID_IAMStreamSelect, select)) << "the byte pattern picks our source";
  ComPtr<IPin> output;
  ASSERT_EQ(S_OK, source->FindPin(L"Output", output.Receive()));
  ASSERT_TRUE(SUCCEEDED(graph->Render(output.Get())));
  ComPtr<IMediaControl> control;
  ComPtr<IMediaEventEx> events;
  ComPtr<IMediaSeeking> seeking;
  ASSERT_EQ(S_OK, graph.As(IID_IMediaControl, control));
  ASSERT_EQ(S_OK, graph.As(IID_IMediaEventEx, events));
  ASSERT_EQ(S_OK, graph.As(IID_IMediaSeeking, seeking));

  // Caption texts in arrival order, "|" for the completion; a switch to
  // `language` once `switchAfter` captions came (0: none).
  auto play = [&](size_t switchAfter, LONG language) {
    std::wstring got;
    size_t captions = 0;
    const DWORD started = ::GetTickCount();
    while (::GetTickCount() - started < 15000) {  // only a broken build gets here
      long code = 0;
      LONG_PTR p1 = 0, p2 = 0;
      if (FAILED(events->GetEvent(&code, &p1, &p2, 50))) continue;
      if (code == EC_OLE_EVENT) {
        std::wstring text = reinterpret_cast<BSTR>(p2);
        got += text.substr(text.find('>') + 1) + L" ";
        if (++captions == switchAfter) {
          EXPECT_EQ(S_OK, select->Enable(language, AMSTREAMSELECTENABLE_ENABLE));
        }
      }
      events->FreeEventParams(code, p1, p2);
      if (code == EC_COMPLETE) {
        got += L"|";
        break;
      }
    }
    return got;
  };

  ASSERT_TRUE(SUCCEEDED(control->Run()));
  // Switched to English right after K1 (at 0.5 s), long before E1 (at 2.5 s)
  // is due. E0 is past and stays unsaid; Korean K2 never comes.
  EXPECT_EQ(L"K0 K1 E1 E2 |", play(2, 1));

  // The choice stays for the next run: from the start, English only.
  control->Stop();
  LONGLONG at = 0;
  ASSERT_EQ(S_OK, seeking->SetPositions(&at, AM_SEEKING_AbsolutePositioning, nullptr, AM_SEEKING_NoPositioning));
  ASSERT_TRUE(SUCCEEDED(control->Run()));
  EXPECT_EQ(L"E0 E1 E2 |", play(0, 0));
  control->Stop();
}

}  // namespace
