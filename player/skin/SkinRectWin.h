// The system's RECT and the skin's portable rectangle, one into the other:
// the one place the Windows layer converts between them.
#pragma once

#include <windows.h>

#include "player/skin/SkinGeometry.h"

namespace velk {

inline SkinRect ToSkin(const RECT& rc) { return {rc.left, rc.top, rc.right, rc.bottom}; }
inline RECT ToRect(const SkinRect& rc) { return {rc.left, rc.top, rc.right, rc.bottom}; }
inline SkinSize SizeOf(const RECT& rc) { return {rc.right - rc.left, rc.bottom - rc.top}; }

}  // namespace velk
