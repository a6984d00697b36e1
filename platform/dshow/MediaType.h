// AM_MEDIA_TYPE with value semantics: the format block and the IUnknown it
// may carry are copied and freed with the object. Helpers for media types in
// task memory, as the enumerators hand them out.
#pragma once

#include <windows.h>
#include <dshow.h>

namespace velk::dshow {

class CMediaType : public AM_MEDIA_TYPE {
 public:
  CMediaType();
  CMediaType(const AM_MEDIA_TYPE& other);
  CMediaType(const CMediaType& other);
  ~CMediaType();
  CMediaType& operator=(const AM_MEDIA_TYPE& other);
  CMediaType& operator=(const CMediaType& other);

  // Same major type, subtype, format type and format bytes.
  bool operator==(const AM_MEDIA_TYPE& other) const;
  bool operator!=(const AM_MEDIA_TYPE& other) const { return !(*this == other); }

  // Major type, subtype and format type all set.
  bool IsComplete() const;
  // Does this (possibly partial) type admit `other`? GUID_NULL fields match anything.
  bool MatchesPartial(const AM_MEDIA_TYPE& other) const;
  // Empties the type (GUID_NULL everywhere, no format).
  void Clear();
  // Copies `size` bytes into a new format block; false when out of memory.
  bool SetFormat(const void* format, ULONG size);
};

// Deep copy into `dst`, which must not hold a format block; E_OUTOFMEMORY
// leaves it without one.
HRESULT CopyMediaType(AM_MEDIA_TYPE* dst, const AM_MEDIA_TYPE* src);
// Frees the format block and the IUnknown of `type`, not the struct itself.
void FreeMediaType(AM_MEDIA_TYPE& type);
// A copy in task memory (for enumerators); null when out of memory.
AM_MEDIA_TYPE* CreateMediaType(const AM_MEDIA_TYPE* src);
// Frees a type from CreateMediaType (or from any enumerator).
void DeleteMediaType(AM_MEDIA_TYPE* type);

}  // namespace velk::dshow
