#include "platform/dshow/MediaType.h"

#include <cstring>
#include <utility>

#include "platform/framework/ComPtr.h"

namespace velk::dshow {

HRESULT CopyMediaType(AM_MEDIA_TYPE* dst, const AM_MEDIA_TYPE* src) {
  *dst = *src;
  if (src->cbFormat && src->pbFormat) {
    dst->pbFormat = static_cast<BYTE*>(::CoTaskMemAlloc(src->cbFormat));
    if (!dst->pbFormat) {
      dst->cbFormat = 0;
      dst->pUnk = nullptr;
      return E_OUTOFMEMORY;
    }
    std::memcpy(dst->pbFormat, src->pbFormat, src->cbFormat);
  } else {
    dst->pbFormat = nullptr;
    dst->cbFormat = 0;
  }
  if (dst->pUnk) dst->pUnk->AddRef();
  return S_OK;
}

void FreeMediaType(AM_MEDIA_TYPE& type) {
  if (type.pbFormat) ::CoTaskMemFree(type.pbFormat);
  type.pbFormat = nullptr;
  type.cbFormat = 0;
  ComPtr<IUnknown> unknown;  // the type's own reference goes with it
  unknown.Attach(std::exchange(type.pUnk, nullptr));
}

AM_MEDIA_TYPE* CreateMediaType(const AM_MEDIA_TYPE* src) {
  auto* type = static_cast<AM_MEDIA_TYPE*>(::CoTaskMemAlloc(sizeof(AM_MEDIA_TYPE)));
  if (!type) return nullptr;
  if (FAILED(CopyMediaType(type, src))) {
    ::CoTaskMemFree(type);
    return nullptr;
  }
  return type;
}

void DeleteMediaType(AM_MEDIA_TYPE* type) {
  if (!type) return;
  FreeMediaType(*type);
  ::CoTaskMemFree(type);
}

CMediaType::CMediaType() : AM_MEDIA_TYPE() { Clear(); }

CMediaType::CMediaType(const AM_MEDIA_TYPE& other) : AM_MEDIA_TYPE() {
  if (FAILED(CopyMediaType(this, &other))) Clear();
}

CMediaType::CMediaType(const CMediaType& other) : CMediaType(static_cast<const AM_MEDIA_TYPE&>(other)) {}

CMediaType::~CMediaType() { FreeMediaType(*this); }

CMediaType& CMediaType::operator=(const AM_MEDIA_TYPE& other) {
  if (&other == this) return *this;
  FreeMediaType(*this);
  if (FAILED(CopyMediaType(this, &other))) Clear();
  return *this;
}

CMediaType& CMediaType::operator=(const CMediaType& other) {
  return *this = static_cast<const AM_MEDIA_TYPE&>(other);
}

bool CMediaType::operator==(const AM_MEDIA_TYPE& other) const {
  return majortype == other.majortype && subtype == other.subtype &&
         formattype == other.formattype && cbFormat == other.cbFormat &&
         (cbFormat == 0 || std::memcmp(pbFormat, other.pbFormat, cbFormat) == 0);
}

bool CMediaType::IsComplete() const {
  return majortype != GUID_NULL && subtype != GUID_NULL && formattype != GUID_NULL;
}

bool CMediaType::MatchesPartial(const AM_MEDIA_TYPE& other) const {
  if (majortype != GUID_NULL && majortype != other.majortype) return false;
  if (subtype != GUID_NULL && subtype != other.subtype) return false;
  if (formattype != GUID_NULL) {
    if (formattype != other.formattype) return false;
    if (cbFormat && (cbFormat != other.cbFormat ||
                     std::memcmp(pbFormat, other.pbFormat, cbFormat) != 0))
      return false;
  }
  return true;
}

void CMediaType::Clear() {
  FreeMediaType(*this);
  majortype = GUID_NULL;
  subtype = GUID_NULL;
  formattype = GUID_NULL;
  bFixedSizeSamples = TRUE;
  bTemporalCompression = FALSE;
  lSampleSize = 1;
}

bool CMediaType::SetFormat(const void* format, ULONG size) {
  if (pbFormat) ::CoTaskMemFree(pbFormat);
  pbFormat = nullptr;
  cbFormat = 0;
  if (!size) return true;
  pbFormat = static_cast<BYTE*>(::CoTaskMemAlloc(size));
  if (!pbFormat) return false;
  std::memcpy(pbFormat, format, size);
  cbFormat = size;
  return true;
}

}  // namespace velk::dshow
