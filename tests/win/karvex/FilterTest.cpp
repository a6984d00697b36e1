// The overlay filter's COM shell: interface lookup, property pages, pins and
// the input type rules.
#include <gtest/gtest.h>

#include <cstring>

#include "KarvexTestUtil.h"
#include "karvex/CaptionOverlayFilter.h"

using karvextest::VideoType;
using velk::ComPtr;
using velk::CCaptionOverlayFilter;
using velk::dshow::CMediaType;

namespace {

// A filter made directly from the class, held by one reference.
class FilterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    HRESULT hr = S_OK;
    filter_ = static_cast<CCaptionOverlayFilter*>(CCaptionOverlayFilter::CreateInstance(nullptr, &hr));
    ASSERT_NE(nullptr, filter_);
    filter_->NonDelegatingAddRef();
  }
  void TearDown() override {
    if (filter_) filter_->NonDelegatingRelease();
  }
  CCaptionOverlayFilter* filter_ = nullptr;
};

std::wstring PinName(IPin* pin) {
  PIN_INFO info = {};
  pin->QueryPinInfo(&info);
  ComPtr<IBaseFilter> owner;  // the reference that came with the answer
  owner.Attach(info.pFilter);
  return info.achName;
}

std::wstring PinId(IPin* pin) {
  LPWSTR id = nullptr;
  if (FAILED(pin->QueryId(&id))) return L"";
  std::wstring result = id;
  ::CoTaskMemFree(id);
  return result;
}

TEST_F(FilterTest, InterfaceLookup) {
  EXPECT_EQ(E_POINTER, filter_->NonDelegatingQueryInterface(IID_ICaptionOverlay, nullptr));
  const GUID* answered[] = {&IID_ICaptionOverlay, &IID_ISpecifyPropertyPages, &IID_IBaseFilter,
                            &IID_IMediaFilter, &IID_IPersist, &IID_IUnknown};
  ComPtr<IUnknown> identity;
  ASSERT_EQ(S_OK, filter_->NonDelegatingQueryInterface(IID_IUnknown, identity.ReceiveVoid()));
  for (const GUID* iid : answered) {
    ComPtr<IUnknown> object;
    ASSERT_EQ(S_OK, filter_->NonDelegatingQueryInterface(*iid, object.ReceiveVoid()))
        << karvextest::GuidString(*iid);
    ComPtr<IUnknown> back;
    ASSERT_EQ(S_OK, object->QueryInterface(IID_IUnknown, back.ReceiveVoid()));
    EXPECT_EQ(identity.Get(), back.Get()) << "one identity for " << karvextest::GuidString(*iid);
  }
  ComPtr<IUnknown> none;
  EXPECT_EQ(E_NOINTERFACE, filter_->NonDelegatingQueryInterface(IID_IMediaSeeking, none.ReceiveVoid()));
}

TEST_F(FilterTest, ReservedSlotsAndEmptyTextSucceed) {
  EXPECT_EQ(S_OK, filter_->Reserved1(0));
  EXPECT_EQ(S_OK, filter_->Reserved2(0xFFFFFFFF));
  EXPECT_EQ(S_OK, filter_->SetCaptionText(""));
  EXPECT_EQ(S_OK, filter_->SetCaptionText(nullptr));
  EXPECT_EQ("", filter_->CaptionText());
}

TEST_F(FilterTest, GetPagesNamesTheInfoPage) {
  CAUUID pages = {};
  ASSERT_EQ(S_OK, filter_->GetPages(&pages));
  ASSERT_EQ(1u, pages.cElems);
  EXPECT_EQ(CLSID_CaptionInfoPage, pages.pElems[0]);
  ::CoTaskMemFree(pages.pElems);
  EXPECT_EQ(E_POINTER, filter_->GetPages(nullptr));
}

TEST_F(FilterTest, TwoVisiblePinsAndAHiddenTextPin) {
  ComPtr<IEnumPins> pins;
  ASSERT_EQ(S_OK, filter_->EnumPins(pins.Receive()));
  IPin* got[3] = {};
  ULONG fetched = 0;
  EXPECT_EQ(S_FALSE, pins->Next(3, got, &fetched));
  ASSERT_EQ(2u, fetched);
  struct {
    const wchar_t* name;
    const wchar_t* id;
    PIN_DIRECTION dir;
  } expected[] = {{L"Input", L"In", PINDIR_INPUT}, {L"Output", L"Out", PINDIR_OUTPUT}};
  for (int i = 0; i < 2; ++i) {
    ComPtr<IPin> pin;
    pin.Attach(got[i]);
    EXPECT_EQ(expected[i].name, PinName(pin.Get()));
    EXPECT_EQ(expected[i].id, PinId(pin.Get()));
    PIN_DIRECTION dir;
    pin->QueryDirection(&dir);
    EXPECT_EQ(expected[i].dir, dir);
  }

  ComPtr<IPin> found;
  ASSERT_EQ(S_OK, filter_->FindPin(L"In", found.Receive()));
  EXPECT_EQ(static_cast<IPin*>(filter_->GetPin(0)), found.Get());
  ASSERT_EQ(S_OK, filter_->FindPin(L"Out", found.Receive()));
  EXPECT_EQ(static_cast<IPin*>(filter_->GetPin(1)), found.Get());
  EXPECT_EQ(VFW_E_NOT_FOUND, filter_->FindPin(L"CC Input", found.Receive()));
  EXPECT_EQ(nullptr, filter_->GetPin(3));
  EXPECT_EQ(nullptr, filter_->GetPin(-1));

  // The hidden pin takes text and nothing else, whatever the subtype.
  velk::dshow::CBasePin* cc = filter_->GetPin(2);
  ASSERT_NE(nullptr, cc);
  EXPECT_EQ(L"CC Input", PinName(cc));
  EXPECT_EQ(L"In", PinId(cc));
  CMediaType text;
  text.majortype = MEDIATYPE_Text;
  text.subtype = MEDIASUBTYPE_RGB24;
  EXPECT_EQ(S_OK, cc->CheckMediaType(text));
  EXPECT_EQ(S_OK, cc->QueryAccept(&text));
  CMediaType video = VideoType(MEDIASUBTYPE_RGB565, BI_RGB, 16, 64, 64);
  EXPECT_EQ(E_INVALIDARG, cc->CheckMediaType(video));
  EXPECT_EQ(S_FALSE, cc->QueryAccept(&video));
  // Its type stays on the pin: the video header does not change.
  BITMAPINFOHEADER before = filter_->VideoHeader();
  cc->SetMediaType(text);
  BITMAPINFOHEADER after = filter_->VideoHeader();
  EXPECT_EQ(0, std::memcmp(&before, &after, sizeof(before)));
}

TEST_F(FilterTest, CheckInputTypeKeepsEveryHeaderAndRefusesWhatItCannotDrawInto) {
  const DWORD yv12 = MAKEFOURCC('Y', 'V', '1', '2');
  struct Row {
    const char* what;
    CMediaType type;
    HRESULT expected;
  } rows[] = {
      {"RGB555", VideoType(MEDIASUBTYPE_RGB555, BI_RGB, 16, 320, 240), S_OK},
      {"RGB565 top-down", VideoType(MEDIASUBTYPE_RGB565, BI_BITFIELDS, 16, 320, -240), S_OK},
      {"RGB24", VideoType(MEDIASUBTYPE_RGB24, BI_RGB, 24, 320, 240), S_OK},
      {"RGB32", VideoType(MEDIASUBTYPE_RGB32, BI_RGB, 32, 320, 240), S_OK},
      {"YV12", VideoType(MEDIASUBTYPE_YV12, yv12, 12, 320, 240), S_OK},
      {"NV12", VideoType(MEDIASUBTYPE_NV12, MAKEFOURCC('N', 'V', '1', '2'), 12, 320, 240), S_OK},
      {"YUY2", VideoType(MEDIASUBTYPE_YUY2, MAKEFOURCC('Y', 'U', 'Y', '2'), 16, 320, 240), S_OK},
      {"UYVY", VideoType(MEDIASUBTYPE_UYVY, MAKEFOURCC('U', 'Y', 'V', 'Y'), 16, 320, 240), S_OK},
      {"MP42", VideoType(GUID_NULL, MAKEFOURCC('M', 'P', '4', '2'), 24, 176, 144), E_INVALIDARG},
      {"MPG4", VideoType(GUID_NULL, MAKEFOURCC('M', 'P', 'G', '4'), 24, 352, 288), E_INVALIDARG},
      {"MJPG (compressed)", VideoType(GUID_NULL, MAKEFOURCC('M', 'J', 'P', 'G'), 24, 640, 480), E_INVALIDARG},
  };
  for (Row& row : rows) {
    EXPECT_EQ(row.expected, filter_->CheckInputType(row.type)) << row.what;
    // The header of every checked type is kept, a refused one included.
    const auto* info = reinterpret_cast<const VIDEOINFOHEADER*>(row.type.pbFormat);
    BITMAPINFOHEADER kept = filter_->VideoHeader();
    EXPECT_EQ(0, std::memcmp(&info->bmiHeader, &kept, sizeof(kept))) << row.what;
  }

  // Another format type is refused before the header is looked at.
  CMediaType other = VideoType(MEDIASUBTYPE_RGB32, BI_RGB, 32, 16, 16);
  other.formattype = FORMAT_VideoInfo2;
  EXPECT_EQ(E_INVALIDARG, filter_->CheckInputType(other));
  EXPECT_EQ(480, filter_->VideoHeader().biHeight);
  // A format block too short for the header is refused, not read past.
  CMediaType shortFormat = VideoType(MEDIASUBTYPE_RGB32, BI_RGB, 32, 16, 16);
  shortFormat.cbFormat = 40;
  EXPECT_EQ(E_INVALIDARG, filter_->CheckInputType(shortFormat));

  CMediaType a = VideoType(MEDIASUBTYPE_RGB32, BI_RGB, 32, 16, 16);
  EXPECT_EQ(S_OK, filter_->CheckTransform(a, a));
  CMediaType out;
  EXPECT_EQ(E_UNEXPECTED, filter_->GetMediaType(0, &out));
}

}  // namespace
