#include "KarvexTestUtil.h"

#include <cstring>

#include "platform/framework/Handles.h"

namespace karvextest {

CKarvexModule::CKarvexModule() { module_ = ::LoadLibraryA(KARVEX_MODULE_PATH); }

CKarvexModule::~CKarvexModule() {
  if (module_) ::FreeLibrary(module_);
}

HRESULT CKarvexModule::GetClassObject(REFCLSID clsid, REFIID iid, void** out) {
  using Fn = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
  auto fn = reinterpret_cast<Fn>(::GetProcAddress(module_, "DllGetClassObject"));
  return fn ? fn(clsid, iid, out) : E_NOTIMPL;
}

namespace {
HRESULT CallExport(HMODULE module, const char* name) {
  using Fn = HRESULT(STDAPICALLTYPE*)();
  auto fn = reinterpret_cast<Fn>(::GetProcAddress(module, name));
  return fn ? fn() : E_NOTIMPL;
}
}  // namespace

HRESULT CKarvexModule::CanUnloadNow() { return CallExport(module_, "DllCanUnloadNow"); }
HRESULT CKarvexModule::Register() { return CallExport(module_, "DllRegisterServer"); }
HRESULT CKarvexModule::Unregister() { return CallExport(module_, "DllUnregisterServer"); }

velk::dshow::CMediaType VideoType(const GUID& subtype, DWORD compression, WORD bitCount, LONG width,
                                  LONG height) {
  velk::dshow::CMediaType type;
  type.majortype = MEDIATYPE_Video;
  type.subtype = subtype;
  type.formattype = FORMAT_VideoInfo;
  VIDEOINFOHEADER info = {};
  info.AvgTimePerFrame = 1000000;
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = bitCount;
  info.bmiHeader.biCompression = compression;
  type.SetFormat(&info, sizeof(info));
  return type;
}

CTestSample::CTestSample(long size) {
  if (FAILED(::CoCreateInstance(CLSID_MemoryAllocator, nullptr, CLSCTX_INPROC_SERVER, IID_IMemAllocator,
                                allocator_.ReceiveVoid())))
    return;
  ALLOCATOR_PROPERTIES want = {1, size, 16, 0}, got = {};
  if (FAILED(allocator_->SetProperties(&want, &got)) || FAILED(allocator_->Commit())) return;
  allocator_->GetBuffer(sample_.Receive(), nullptr, nullptr, 0);
  if (sample_) sample_->SetActualDataLength(size);
}

CTestSample::~CTestSample() {
  sample_.Reset();
  if (allocator_) allocator_->Decommit();
}

BYTE* CTestSample::Data() const {
  BYTE* data = nullptr;
  if (sample_) sample_->GetPointer(&data);
  return data;
}

bool KeyExists(HKEY root, const std::string& path) {
  velk::fw::CRegKey key;
  return key.Open(root, path.c_str()) == ERROR_SUCCESS;
}

std::string ReadString(HKEY root, const std::string& path, const char* name) {
  char value[1024] = {};
  DWORD size = sizeof(value) - 1;
  DWORD type = 0;
  velk::fw::CRegKey key;
  if (key.Open(root, path.c_str()) != ERROR_SUCCESS) return "<no key>";
  LONG rc = ::RegQueryValueExA(key.Get(), name, nullptr, &type, reinterpret_cast<BYTE*>(value), &size);
  if (rc != ERROR_SUCCESS || type != REG_SZ) return "<no value>";
  return value;
}

std::string GuidString(REFGUID guid) {
  wchar_t wide[40] = {};
  ::StringFromGUID2(guid, wide, 40);
  char narrow[40] = {};
  ::WideCharToMultiByte(CP_ACP, 0, wide, -1, narrow, sizeof(narrow), nullptr, nullptr);
  return narrow;
}

int MapperEntries(REFCLSID clsid) {
  velk::ComPtr<IFilterMapper2> mapper;
  if (FAILED(::CoCreateInstance(CLSID_FilterMapper2, nullptr, CLSCTX_INPROC_SERVER, IID_IFilterMapper2,
                                mapper.ReceiveVoid())))
    return -1;
  GUID types[2] = {MEDIATYPE_Video, GUID_NULL};
  velk::ComPtr<IEnumMoniker> found;
  if (FAILED(mapper->EnumMatchingFilters(found.Receive(), 0, FALSE, 0, TRUE, 1, types, nullptr, nullptr,
                                         FALSE, FALSE, 0, nullptr, nullptr, nullptr)) ||
      !found)
    return -1;
  int count = 0;
  velk::ComPtr<IMoniker> moniker;
  while (found->Next(1, moniker.Receive(), nullptr) == S_OK) {
    velk::ComPtr<IPropertyBag> bag;
    if (FAILED(moniker->BindToStorage(nullptr, nullptr, IID_IPropertyBag, bag.ReceiveVoid()))) continue;
    VARIANT v;
    ::VariantInit(&v);
    if (SUCCEEDED(bag->Read(L"CLSID", &v, nullptr)) && v.vt == VT_BSTR) {
      CLSID id;
      if (SUCCEEDED(::CLSIDFromString(v.bstrVal, &id)) && id == clsid) ++count;
    }
    ::VariantClear(&v);
  }
  return count;
}

}  // namespace karvextest
