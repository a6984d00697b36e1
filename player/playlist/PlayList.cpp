#include "player/playlist/PlayList.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <ctime>
#include <numeric>

#include "player/app/SettingsTable.h"
#include "player/playlist/Location.h"
#include "player/playlist/PlayListFile.h"

namespace velk {

CPlayList::CPlayList(ISettingsStore& settings, IPlayListView& view, IFileSystem& files, Clock clock)
    : settings_(settings), view_(view), files_(files), clock_(std::move(clock)) {
  if (!clock_) clock_ = [] { return static_cast<int64_t>(std::time(nullptr)); };
  shuffle_ = settings::Read(settings_, settings::Shuffle) != 0;
  repeatMode_ = settings::Read(settings_, settings::RepeatMode);
  savedCurrentTrack_ = settings::Read(settings_, settings::CurrentTrack);
}

CPlayList::~CPlayList() {
  settings::Write(settings_, settings::RepeatMode, repeatMode_);
  settings::Write(settings_, settings::CurrentTrack, currentTrack_);
  settings::Write(settings_, settings::Shuffle, shuffle_ ? 1 : 0);
  SaveIfChanged();
}

bool CPlayList::SavePlayList() {
  const uint64_t revision = revision_;
  if (!WritePlayList(*this, files_, AutomaticPlayListName(), AutomaticPlayListFolder(settings_))) return false;
  savedRevision_ = revision;
  return true;
}

bool CPlayList::SaveIfChanged() { return ChangedSinceSaved() ? SavePlayList() : true; }

// --- Adding ------------------------------------------------------------------

void CPlayList::AddEntry(const std::string& path, int32_t index) {
  InsertEntries(index, {path}, {0});
}

void CPlayList::AddEntries(std::vector<std::string> paths, int32_t index) {
  std::vector<int32_t> arrival(paths.size());
  std::iota(arrival.begin(), arrival.end(), 0);
  InsertEntries(index, std::move(paths), arrival);
}

void CPlayList::InsertEntries(int32_t index, std::vector<std::string> paths,
                              const std::vector<int32_t>& arrival) {
  ++revision_;
  if (paths.empty()) return;
  index = std::clamp(index, 0, Count());
  const auto added = static_cast<int32_t>(paths.size());

  std::vector<std::string> texts;
  texts.reserve(paths.size());
  for (const std::string& p : paths) texts.emplace_back(DisplayText(p));
  view_.InsertRows(index, std::move(texts));
  if (paths_.empty()) {
    paths_ = std::move(paths);
  } else {
    paths_.insert(paths_.begin() + index, std::make_move_iterator(paths.begin()),
                  std::make_move_iterator(paths.end()));
  }

  // Entries added in front of the playing one push it (and the current track)
  // down, so the same entry stays marked.
  int32_t playing = view_.PlayingIndex();
  if (playing >= index) {
    view_.SetPlayingIndex(playing + added);
    currentTrack_ += added;
    view_.RedrawRows(index, playing + added);
  }

  // New entries join the undrawn part of the shuffle order, in the order they
  // arrived; numbers of the entries behind them move along.
  if (shuffle_) {
    for (uint32_t& n : shuffleOrder_) {
      if (n >= static_cast<uint32_t>(index)) n += static_cast<uint32_t>(added);
    }
    std::vector<uint32_t> fresh(arrival.size());
    for (size_t t = 0; t < arrival.size(); ++t) fresh[t] = static_cast<uint32_t>(index + arrival[t]);
    size_t slot = std::min(static_cast<size_t>(std::max(remaining_, 0)), shuffleOrder_.size());
    shuffleOrder_.insert(shuffleOrder_.begin() + static_cast<std::ptrdiff_t>(slot), fresh.begin(), fresh.end());
    remaining_ = static_cast<int32_t>(slot) + added;
  }
}

void CPlayList::AddFolder(const std::string& folder, int32_t index) {
  // A folder's block is its own files in listing order followed by the blocks
  // of its sub-folders, the last listed first. Built with an explicit stack:
  // each folder is listed once, and every file remembers where it lands so the
  // arrival order (folder by folder, depth first, in listing order) can be
  // replayed for the shuffle order.
  struct Node {
    std::string path;
    std::vector<int32_t> items;  // >= 0: position of a file; < 0: -(child + 1)
  };
  std::vector<Node> nodes;
  nodes.push_back({folder, {}});
  std::vector<std::string> paths;
  std::vector<size_t> pending{0};
  std::vector<FolderItem> listing;
  while (!pending.empty()) {
    size_t id = pending.back();
    pending.pop_back();
    listing.clear();
    if (!files_.ListFolder(nodes[id].path, listing)) continue;
    std::vector<size_t> children;
    for (const FolderItem& item : listing) {
      if (item.name == "." || item.name == "..") continue;
      std::string full = nodes[id].path + "\\" + item.name;
      if (item.isFolder) {
        if (item.isLink) continue;  // never followed: it may lead back up the tree
        children.push_back(nodes.size());
        nodes[id].items.push_back(-static_cast<int32_t>(nodes.size()) - 1);
        nodes.push_back({std::move(full), {}});
        continue;
      }
      if (IsPlaylistName(full) || IsCaptionFileName(full)) continue;
      nodes[id].items.push_back(static_cast<int32_t>(paths.size()));
      paths.push_back(std::move(full));
    }
    pending.insert(pending.end(), children.begin(), children.end());
  }

  std::vector<int32_t> arrival;
  arrival.reserve(paths.size());
  std::vector<std::pair<size_t, size_t>> walk{{0, 0}};  // node, next item
  while (!walk.empty()) {
    auto& [id, next] = walk.back();
    if (next == nodes[id].items.size()) {
      walk.pop_back();
      continue;
    }
    int32_t item = nodes[id].items[next++];
    if (item >= 0) {
      arrival.push_back(item);
    } else {
      walk.push_back({static_cast<size_t>(-(item + 1)), 0});
    }
  }
  InsertEntries(index, std::move(paths), arrival);
}

// --- Removing ----------------------------------------------------------------

void CPlayList::RemoveEntries(bool removeSelected) {
  ++revision_;
  const int32_t count = Count();
  std::vector<char> gone(static_cast<size_t>(count), removeSelected ? 0 : 1);
  for (int32_t row : view_.SelectedRows()) {
    if (row >= 0 && row < count) gone[static_cast<size_t>(row)] = removeSelected ? 1 : 0;
  }
  std::vector<int32_t> removed;
  for (int32_t i = 0; i < count; ++i) {
    if (gone[static_cast<size_t>(i)]) removed.push_back(i);
  }

  if (shuffle_ && !removed.empty()) {
    // below[n]: how many removed entries lie before entry n.
    std::vector<uint32_t> below(static_cast<size_t>(count) + 1, 0);
    for (int32_t i = 0; i < count; ++i) below[static_cast<size_t>(i) + 1] = below[static_cast<size_t>(i)] + gone[static_cast<size_t>(i)];
    size_t out = 0;
    int32_t undrawnRemoved = 0;
    for (size_t slot = 0; slot < shuffleOrder_.size(); ++slot) {
      uint32_t n = shuffleOrder_[slot];
      if (n < static_cast<uint32_t>(count) && gone[n]) {
        if (static_cast<int32_t>(slot) < remaining_) ++undrawnRemoved;
        continue;
      }
      shuffleOrder_[out++] = n < static_cast<uint32_t>(count) ? n - below[n] : n - below[static_cast<size_t>(count)];
    }
    shuffleOrder_.resize(out);
    remaining_ -= undrawnRemoved;
  }

  // Walk the removals as they happen one after the other: each one at or
  // before the current track moves it back by one and takes the mark along.
  bool markFollows = false;
  bool currentRemoved = false;
  int32_t done = 0;
  for (int32_t original : removed) {
    int32_t i = original - done++;
    if (i < currentTrack_) {
      --currentTrack_;
      markFollows = true;
    } else if (i == currentTrack_) {
      --currentTrack_;
      markFollows = true;
      currentRemoved = true;
    }
  }

  view_.RemoveRows(removed);
  size_t out = 0;
  for (size_t i = 0; i < paths_.size(); ++i) {
    if (!gone[i]) {
      if (out != i) paths_[out] = std::move(paths_[i]);
      ++out;
    }
  }
  paths_.resize(out);

  if (markFollows) {
    view_.SetPlayingIndex(currentTrack_);
    if (currentRemoved) view_.RedrawRows(currentTrack_, currentTrack_);
  }
  view_.RedrawAll();
}

void CPlayList::ClearList() {
  ++revision_;
  view_.RemoveAllRows();
  paths_.clear();
  SwitchShuffleOff();
  currentTrack_ = -1;
  view_.SetPlayingIndex(-1);
}

// --- Current entry and order -------------------------------------------------

void CPlayList::SetCurrentEntry(int32_t index) {
  const int32_t count = Count();
  if (count == 0 || index >= count) return;
  if (index < 0) index = -1;
  int32_t old = view_.PlayingIndex();
  view_.SetPlayingIndex(index);
  view_.RedrawRows(old, index);
  if (index >= 0) view_.ScrollIntoView(index);
  view_.SetTitle(index >= 0 ? std::string(DisplayText(paths_[static_cast<size_t>(index)])) : std::string());
}

void CPlayList::SwapEntries(int32_t a, int32_t b) {
  ++revision_;
  const int32_t count = Count();
  if (a < 0 || b < 0 || a >= count || b >= count) return;
  if (currentTrack_ == a) {
    currentTrack_ = b;
  } else if (currentTrack_ == b) {
    currentTrack_ = a;
  }
  std::string textA = view_.RowText(a);
  view_.SetRowText(a, view_.RowText(b));
  view_.SetRowText(b, textA);
  std::swap(paths_[static_cast<size_t>(a)], paths_[static_cast<size_t>(b)]);
  SetCurrentEntry(currentTrack_);
}

namespace {

// Sort key: the first eight bytes of the display text big-endian, so most
// comparisons are one integer compare; ties fall back to the whole text.
struct SortItem {
  uint64_t prefix;
  int32_t index;
  uint32_t textStart;  // where the display text begins in the path
};

uint64_t PrefixOf(std::string_view s) {
  uint64_t key = 0;
  for (size_t i = 0; i < 8; ++i) {
    key = (key << 8) | (i < s.size() ? static_cast<unsigned char>(s[i]) : 0u);
  }
  return key;
}

// Puts item sources[i] at position i for every i, following the cycles of the
// permutation so nothing is copied.
template <typename T>
void Permute(std::vector<T>& items, const std::vector<int32_t>& sources) {
  std::vector<bool> placed(items.size(), false);
  for (size_t start = 0; start < items.size(); ++start) {
    if (placed[start]) continue;
    T held = std::move(items[start]);
    size_t pos = start;
    for (;;) {
      placed[pos] = true;
      auto from = static_cast<size_t>(sources[pos]);
      if (from == start) {
        items[pos] = std::move(held);
        break;
      }
      items[pos] = std::move(items[from]);
      pos = from;
    }
  }
}

}  // namespace

void CPlayList::SortEntries(bool ascending) {
  ++revision_;
  const int32_t count = Count();
  if (count < 2) return;
  std::vector<SortItem> items(static_cast<size_t>(count));
  for (int32_t i = 0; i < count; ++i) {
    const std::string& path = paths_[static_cast<size_t>(i)];
    std::string_view text = DisplayText(path);
    items[static_cast<size_t>(i)] = {PrefixOf(text), i, static_cast<uint32_t>(path.size() - text.size())};
  }
  // Byte-wise unsigned order: "Z" before "a", a prefix before the longer text.
  auto less = [this](const SortItem& a, const SortItem& b) {
    if (a.prefix != b.prefix) return a.prefix < b.prefix;
    std::string_view ta = std::string_view(paths_[static_cast<size_t>(a.index)]).substr(a.textStart);
    std::string_view tb = std::string_view(paths_[static_cast<size_t>(b.index)]).substr(b.textStart);
    size_t n = std::min(ta.size(), tb.size());
    int c = n > 8 ? std::memcmp(ta.data() + 8, tb.data() + 8, n - 8) : 0;
    return c != 0 ? c < 0 : ta.size() < tb.size();
  };
  // A merge sort: O(n log n), no recursion per entry, equal texts stay in order.
  if (ascending) {
    std::stable_sort(items.begin(), items.end(), less);
  } else {
    std::stable_sort(items.begin(), items.end(), [&less](const SortItem& a, const SortItem& b) { return less(b, a); });
  }

  const std::vector<int32_t> selected = view_.SelectedRows();
  std::vector<int32_t> sources(static_cast<size_t>(count));
  int32_t newCurrent = currentTrack_;
  for (int32_t pos = 0; pos < count; ++pos) {
    int32_t from = items[static_cast<size_t>(pos)].index;
    if (from == currentTrack_) newCurrent = pos;
    sources[static_cast<size_t>(pos)] = from;
  }
  items = {};
  Permute(paths_, sources);
  view_.PermuteRowTexts(sources);
  // The selection goes with its entries.
  if (!selected.empty()) {
    std::vector<int32_t> where(static_cast<size_t>(count));
    for (int32_t pos = 0; pos < count; ++pos) where[static_cast<size_t>(sources[static_cast<size_t>(pos)])] = pos;
    std::vector<int32_t> moved;
    moved.reserve(selected.size());
    for (int32_t row : selected) {
      if (row >= 0 && row < count) moved.push_back(where[static_cast<size_t>(row)]);
    }
    std::sort(moved.begin(), moved.end());
    view_.SetSelectedRows(moved);
  }
  currentTrack_ = newCurrent;
  SetCurrentEntry(currentTrack_);
  view_.RedrawAll();
}

void CPlayList::MoveEntry(int32_t from, int32_t to) {
  ++revision_;
  const int32_t count = Count();
  if (from < 0 || to < 0 || from >= count || to >= count) return;
  int32_t& c = currentTrack_;
  if (from > c && to <= c) {
    ++c;
  } else if (from < c && to >= c) {
    --c;
  } else if (from == c) {
    c = to;
  }
  auto first = paths_.begin();
  if (from < to) {
    std::rotate(first + from, first + from + 1, first + to + 1);
  } else if (from > to) {
    std::rotate(first + to, first + from, first + from + 1);
  }
}

}  // namespace velk
