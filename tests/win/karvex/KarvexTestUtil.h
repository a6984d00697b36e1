// Shared pieces of the Karvex tests: the built module loaded by path, video
// media types and real samples from the system's memory allocator.
#pragma once

#include <windows.h>
#include <dshow.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/dshow/MediaType.h"
#include "platform/framework/ComPtr.h"

namespace karvextest {

// Karvex.ax from the build folder, loaded for the life of the object.
class CKarvexModule {
 public:
  CKarvexModule();
  ~CKarvexModule();
  bool Loaded() const { return module_ != nullptr; }
  HRESULT GetClassObject(REFCLSID clsid, REFIID iid, void** out);
  HRESULT CanUnloadNow();
  HRESULT Register();
  HRESULT Unregister();
  HMODULE Handle() const { return module_; }

 private:
  HMODULE module_ = nullptr;
};

// A FORMAT_VideoInfo type for frames of the given layout.
velk::dshow::CMediaType VideoType(const GUID& subtype, DWORD compression, WORD bitCount, LONG width,
                                  LONG height);

// One sample of `size` bytes from the system's memory allocator.
class CTestSample {
 public:
  explicit CTestSample(long size);
  ~CTestSample();
  IMediaSample* Get() const { return sample_.Get(); }
  BYTE* Data() const;

 private:
  velk::ComPtr<IMemAllocator> allocator_;
  velk::ComPtr<IMediaSample> sample_;
};

bool KeyExists(HKEY root, const std::string& path);
std::string ReadString(HKEY root, const std::string& path, const char* name);
// Instance keys of the filter mapper's default category with our class.
int MapperEntries(REFCLSID clsid);
std::string GuidString(REFGUID guid);

}  // namespace karvextest
