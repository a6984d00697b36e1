// Which entry plays next: by repeat mode, and with shuffle on by the shuffle
// order. Slots 0..remaining-1 of the order hold the entries not drawn yet in
// this pass, slots remaining..count-1 the drawn ones, newest last; Previous and
// Next walk that history before drawing anything new.
#include <algorithm>
#include <numeric>

#include "player/playlist/PlayList.h"

namespace velk {

int32_t ShuffleRandom(uint32_t seed) {
  uint32_t state = seed * 214013u + 2531011u;
  return static_cast<int32_t>((state >> 16) & 0x7FFFu);
}

int32_t CPlayList::FindInOrder(int32_t index) const {
  size_t slots = std::min(shuffleOrder_.size(), paths_.size());
  for (size_t slot = 0; slot < slots; ++slot) {
    if (static_cast<int32_t>(shuffleOrder_[slot]) == index) return static_cast<int32_t>(slot);
  }
  return index;
}

void CPlayList::DrawShuffle() {
  const auto count = static_cast<int32_t>(std::min(shuffleOrder_.size(), paths_.size()));
  if (remaining_ < 1 || remaining_ > count) return;
  // Seeded with the time in seconds at every draw, so two draws in one second
  // start from the same number.
  auto seed = static_cast<uint32_t>(clock_());
  int32_t r = ShuffleRandom(seed) % remaining_;
  uint32_t picked = shuffleOrder_[static_cast<size_t>(r)];
  --remaining_;
  currentTrack_ = static_cast<int32_t>(picked);
  auto first = shuffleOrder_.begin();
  std::rotate(first + r, first + r + 1, first + count);
}

NavResult CPlayList::Navigate(NavStep code) {
  const int32_t count = Count();
  if (count == 0) return NavResult::Empty;
  if (currentTrack_ < 0) currentTrack_ = 0;

  if (!shuffle_) {
    switch (code) {
      case NavStep::Advance: {
        int32_t next = currentTrack_ + 1;
        if (repeatMode_ == REPEAT_NONE && next == count) {
          currentTrack_ = 0;
          return NavResult::End;
        }
        if (repeatMode_ == REPEAT_THIS) return NavResult::Play;
        currentTrack_ = (repeatMode_ == REPEAT_ALL && next == count) ? 0 : next;
        return NavResult::Play;
      }
      case NavStep::Previous:
        --currentTrack_;
        if (currentTrack_ < 0) currentTrack_ = repeatMode_ == REPEAT_ALL ? count - 1 : 0;
        return NavResult::Play;
      case NavStep::Next:
        ++currentTrack_;
        if (currentTrack_ == count) currentTrack_ = repeatMode_ == REPEAT_ALL ? 0 : count - 1;
        return NavResult::Play;
      default:
        return NavResult::Play;
    }
  }

  switch (code) {
    case NavStep::Advance:
      if (remaining_ > 0) {
        if (repeatMode_ == REPEAT_THIS) return NavResult::Play;
        int32_t p = FindInOrder(currentTrack_);
        if (p >= 0 && p < count - 1) {
          currentTrack_ = static_cast<int32_t>(shuffleOrder_[static_cast<size_t>(p) + 1]);
        } else {
          DrawShuffle();
        }
        return NavResult::Play;
      }
      if (repeatMode_ == REPEAT_NONE) return NavResult::End;
      if (repeatMode_ == REPEAT_ALL) {
        remaining_ = count;
        DrawShuffle();
      }
      return NavResult::Play;
    case NavStep::Previous: {
      int32_t p = FindInOrder(currentTrack_);
      if (p > remaining_ && p < count) currentTrack_ = static_cast<int32_t>(shuffleOrder_[static_cast<size_t>(p) - 1]);
      return NavResult::Play;
    }
    case NavStep::Next: {
      int32_t p = FindInOrder(currentTrack_);
      if (p != count - 1) {
        if (p >= remaining_ && p >= 0 && p < count - 1) {
          currentTrack_ = static_cast<int32_t>(shuffleOrder_[static_cast<size_t>(p) + 1]);
        } else {
          DrawShuffle();
        }
      } else if (remaining_ > 0) {
        DrawShuffle();
      } else if (repeatMode_ == REPEAT_ALL) {
        remaining_ = count;
        DrawShuffle();
      }
      return NavResult::Play;
    }
    default:
      return NavResult::Play;
  }
}

void CPlayList::SwitchShuffleOn(int32_t playing) {
  const int32_t count = Count();
  if (count == 0 || shuffle_) return;
  // Slots past the count are never read, so older ones are not kept behind
  // the fresh pass.
  shuffleOrder_.resize(static_cast<size_t>(count));
  std::iota(shuffleOrder_.begin(), shuffleOrder_.end(), 0u);
  remaining_ = count;
  shuffle_ = true;
  if (playing < 0 || playing >= count) return;
  // The playing entry is the first of the pass's history: it stays current,
  // and the rest are drawn after it.
  auto first = shuffleOrder_.begin();
  std::rotate(first + playing, first + playing + 1, shuffleOrder_.end());
  remaining_ = count - 1;
  currentTrack_ = playing;
}

void CPlayList::SwitchShuffleOff() {
  if (!shuffle_) return;
  shuffle_ = false;
  currentTrack_ = view_.PlayingIndex();
}

}  // namespace velk
