// Key presses of one skinned window, header-only and portable.
#pragma once

#include <cstdint>

namespace velk {

// The keys pressed in one window and not released yet. A key release acts
// only when its press came to the same window: the Esc that cancels a dialog
// or a menu, or the Enter that confirms one, is pressed there and released here.
class CKeyPresses {
 public:
  void Pressed(uint32_t key) {
    if (key < kKeys) down_[key] = true;
  }
  // Whether this key's press came here; forgets it.
  bool Released(uint32_t key) {
    if (key >= kKeys) return false;
    const bool was = down_[key];
    down_[key] = false;
    return was;
  }

 private:
  static constexpr uint32_t kKeys = 256;
  bool down_[kKeys] = {};
};

}  // namespace velk
