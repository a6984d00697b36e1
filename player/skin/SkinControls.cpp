#include "player/skin/SkinControls.h"

namespace velk {

SkinPoint AnchorCorner(uint32_t anchor, const SkinRect& client) {
  switch (anchor) {
    case ANCHOR_TOP_LEFT: return {client.left, client.top};
    case ANCHOR_TOP_RIGHT: return {client.right, client.top};
    case ANCHOR_BOTTOM_LEFT: return {client.left, client.bottom};
    case ANCHOR_BOTTOM_RIGHT: return {client.right, client.bottom};
    default: return {0, 0};
  }
}

void CSkinControls::SetHotRegion(const HotRegion& region) { regions_[region.id] = region; }

void CSkinControls::RemoveHotRegion(uint32_t id) { regions_.erase(id); }

const HotRegion* CSkinControls::FindRegion(uint32_t id) const {
  auto it = regions_.find(id);
  return it == regions_.end() ? nullptr : &it->second;
}

void CSkinControls::AddButton(const SkinButton& button) {
  buttons_[button.id] = button;
  SetHotRegion({button.id, button.anchor, button.x, button.y, button.normal.Width(),
                button.normal.Height()});
}

void CSkinControls::RemoveButton(uint32_t id) {
  regions_.erase(id);
  buttons_.erase(id);
}

const SkinButton* CSkinControls::FindButton(uint32_t id) const {
  auto it = buttons_.find(id);
  return it == buttons_.end() ? nullptr : &it->second;
}

uint32_t CSkinControls::GetNotifyMask(uint32_t id) const {
  const SkinButton* b = FindButton(id);
  return b ? b->notify : 0xFFFFFFFFu;
}

void CSkinControls::SetButtonState(uint32_t id, uint32_t state) {
  auto it = buttons_.find(id);
  if (it != buttons_.end()) it->second.state = state;
}

SkinPoint CSkinControls::GetRegionOrigin(uint32_t id, const SkinRect& client) const {
  const HotRegion* r = FindRegion(id);
  if (!r) return {0, 0};
  SkinPoint corner = AnchorCorner(r->anchor, client);
  return {corner.x + r->x, corner.y + r->y};
}

uint32_t CSkinControls::HitTest(int32_t x, int32_t y, const SkinRect& client) const {
  for (const auto& [id, r] : regions_) {
    SkinPoint o = GetRegionOrigin(id, client);
    if (SkinRect{o.x, o.y, o.x + r.width, o.y + r.height}.Contains(x, y)) return id;
  }
  return kNoRegion;
}

std::vector<PieceDraw> CSkinControls::PlanButtons(uint32_t pressedId, bool force,
                                                  const SkinRect& client) {
  std::vector<PieceDraw> out;
  for (auto& [id, b] : buttons_) {
    if (b.state & SKB_HIDDEN) continue;
    const bool latching = (b.state & SKB_LATCHING) != 0;
    if (latching && !force) continue;
    const bool pressed = latching ? (b.state & SKB_DOWN) != 0 : id == pressedId;
    SkinPoint o = GetRegionOrigin(id, client);
    out.push_back({pressed ? b.pressedImage : b.normalImage, o.x, o.y, -1});
    b.state = pressed ? (b.state | SKB_DOWN) : (b.state & ~SKB_DOWN);
  }
  return out;
}

void CSkinControls::Clear() {
  regions_.clear();
  buttons_.clear();
}

}  // namespace velk
