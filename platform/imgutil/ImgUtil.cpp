#include "platform/imgutil/ImgUtil.h"

#include <wincodec.h>

#include <vector>

#include "platform/framework/ComPtr.h"
#include "platform/framework/Gdi.h"
#include "platform/framework/Text.h"

namespace velk {
namespace {

// COM for the length of one load, on threads that have not started it.
class CComScope {
 public:
  CComScope() : hr_(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ~CComScope() {
    if (SUCCEEDED(hr_)) ::CoUninitialize();
  }

 private:
  HRESULT hr_;
};

// Pictures beyond this are refused rather than allocated.
constexpr UINT kMaxSide = 16384;

HBITMAP ToCompatibleBitmap(HDC dc, UINT width, UINT height, const std::vector<BYTE>& bgrx) {
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
  bi.bmiHeader.biWidth = static_cast<LONG>(width);
  bi.bmiHeader.biHeight = -static_cast<LONG>(height);  // top-down, as WIC delivers
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  fw::CClientDC screen(nullptr);
  HDC target = dc ? dc : static_cast<HDC>(screen);
  fw::CGdiObject<HBITMAP> bitmap(::CreateCompatibleBitmap(target, static_cast<int>(width), static_cast<int>(height)));
  if (bitmap && ::SetDIBits(target, bitmap.Get(), 0, height, bgrx.data(), &bi, DIB_RGB_COLORS) == 0) return nullptr;
  return bitmap.Release();
}

}  // namespace

HBITMAP CImgUtil::LoadImageA(std::string path, HDC dc, int* width, int* height, int* bitsPerPixel) {
  if (path.empty()) return nullptr;
  CComScope com;
  ComPtr<IWICImagingFactory> factory;
  if (FAILED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IWICImagingFactory, factory.ReceiveVoid()))) {
    return nullptr;
  }
  const std::wstring widePath = fw::Widen(path);
  if (widePath.empty()) return nullptr;

  ComPtr<IWICBitmapDecoder> decoder;
  if (FAILED(factory->CreateDecoderFromFilename(widePath.c_str(), nullptr, GENERIC_READ,
                                                WICDecodeMetadataCacheOnDemand,
                                                decoder.Receive()))) {
    return nullptr;
  }
  ComPtr<IWICBitmapFrameDecode> frame;
  if (FAILED(decoder->GetFrame(0, frame.Receive()))) return nullptr;
  ComPtr<IWICFormatConverter> converter;
  if (FAILED(factory->CreateFormatConverter(converter.Receive()))) return nullptr;
  if (FAILED(converter->Initialize(frame.Get(), GUID_WICPixelFormat32bppBGR,
                                   WICBitmapDitherTypeNone, nullptr, 0.0,
                                   WICBitmapPaletteTypeCustom))) {
    return nullptr;
  }
  UINT w = 0, h = 0;
  if (FAILED(converter->GetSize(&w, &h)) || w == 0 || h == 0 || w > kMaxSide || h > kMaxSide) {
    return nullptr;
  }
  const UINT stride = w * 4;
  std::vector<BYTE> pixels(static_cast<size_t>(stride) * h);
  // A truncated or corrupt file fails here, when the pixels are decoded.
  if (FAILED(converter->CopyPixels(nullptr, stride, static_cast<UINT>(pixels.size()), pixels.data()))) {
    return nullptr;
  }
  HBITMAP bitmap = ToCompatibleBitmap(dc, w, h, pixels);
  if (!bitmap) return nullptr;
  BITMAP info{};
  ::GetObjectA(bitmap, sizeof(info), &info);
  if (width) *width = static_cast<int>(w);
  if (height) *height = static_cast<int>(h);
  if (bitsPerPixel) *bitsPerPixel = info.bmBitsPixel;
  return bitmap;
}

}  // namespace velk
