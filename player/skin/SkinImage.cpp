#include "player/skin/SkinImage.h"

#include "platform/framework/Gdi.h"
#include "platform/imgutil/ImgUtil.h"

namespace velk {

CSkinImage::~CSkinImage() { ReplaceBitmap(nullptr); }

void CSkinImage::ReplaceBitmap(HBITMAP bitmap) { bitmap_.Reset(bitmap); }

bool CSkinImage::LoadFromFile(const std::string& path, HDC dc, SkinSize minimum) {
  int width = 0, height = 0, bits = 0;
  fw::CGdiObject<HBITMAP> bitmap(CImgUtil::LoadImageA(path, dc, &width, &height, &bits));
  if (!bitmap) return false;
  if (width < minimum.width || height < minimum.height) return false;  // its pieces would lie outside it
  ReplaceBitmap(bitmap.Release());
  OnImageChanged();
  return true;
}

bool CSkinImage::LoadFromResource(uint16_t resourceId) {
  ReplaceBitmap(nullptr);
  HBITMAP bitmap = ::LoadBitmapA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(resourceId));
  if (!bitmap) return false;
  ReplaceBitmap(bitmap);
  OnImageChanged();
  return true;
}

void CSkinImage::SetRect(uint32_t id, const SkinRect& rc) { pieces_[id] = rc; }

void CSkinImage::RemoveRect(uint32_t id) { pieces_.erase(id); }

SkinSize CSkinImage::GetImageSize(uint32_t id) const {
  auto it = pieces_.find(id);
  if (it == pieces_.end()) return {0, 0};
  return {it->second.Width(), it->second.Height()};
}

PieceSizeFn CSkinImage::SizeFunction() const {
  return [this](uint32_t id) { return GetImageSize(id); };
}

bool CSkinImage::DrawImage(uint32_t id, HDC dc, int x, int y, int width, int height) const {
  auto it = pieces_.find(id);
  if (it == pieces_.end()) return false;
  const SkinRect& rc = it->second;
  return BlitArea(dc, x, y, width == -1 ? rc.Width() : width, height == -1 ? rc.Height() : height,
                  rc.left, rc.top);
}

bool CSkinImage::BlitArea(HDC dc, int x, int y, int width, int height, int sourceX,
                          int sourceY) const {
  fw::CMemoryDC memory(dc);
  if (!memory) return false;
  const fw::CSelection picture(memory, bitmap_.Get());
  return ::BitBlt(dc, x, y, width, height, memory, sourceX, sourceY, SRCCOPY) != FALSE;
}

bool CSkinImage::DrawPlan(HDC dc, const std::vector<PieceDraw>& plan) const {
  bool any = false;
  for (const PieceDraw& d : plan) any |= DrawImage(d.id, dc, d.x, d.y, d.width, -1);
  return any;
}

}  // namespace velk
