#include "player/playlist/ListBackImage.h"

#include "player/playlist/PlayListViewMath.h"

namespace velk {

CListBackImage::~CListBackImage() = default;

void CListBackImage::OnImageChanged() {
  BITMAP bm{};
  if (GetBitmap() && ::GetObjectA(GetBitmap(), sizeof(bm), &bm) == sizeof(bm)) {
    width_ = bm.bmWidth;
    height_ = bm.bmHeight < 0 ? -bm.bmHeight : bm.bmHeight;
  } else {
    width_ = height_ = 0;
  }
}

void CListBackImage::DrawTiled(HDC dc, const SkinRect& target, const SkinRect& source) const {
  for (const PictureCopy& c : TilePicture(target, source)) {
    BlitArea(dc, c.target.left, c.target.top, c.target.Width(), c.target.Height(), c.source.left,
             c.source.top);
  }
}

}  // namespace velk
