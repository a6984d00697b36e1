// The playlist: entry paths with the current entry and the navigation state
// (repeat mode, shuffle order), kept in step with the rows of the playlist view.
// Every operation here changes paths and rows together; entry i is path i and
// row i. Operations stay linear (or n log n for sorting) in the number of
// entries, so a list of 100,000 entries loads, saves, sorts and shrinks fast.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/SettingsStore.h"
#include "player/playlist/FileSystem.h"
#include "player/playlist/PlayListView.h"

namespace velk {

// What moves the playing mark, and what the move asks of the engine.
enum class NavStep : int32_t {
  Advance = 7000,  // the item ended (also: shuffle switched on while stopped)
  Keep = 7001,     // play or resume the current entry
  Previous = 7002,
  Next = 7703,
};
enum class NavResult : int32_t {
  Play = 6604,   // play the current entry
  Empty = 6605,  // the playlist is empty
  End = 6606,    // the end of the list was reached: stop
};

inline constexpr int32_t REPEAT_NONE = 0;
inline constexpr int32_t REPEAT_THIS = 1;
inline constexpr int32_t REPEAT_ALL = 2;

class CPlayList {
 public:
  using Clock = std::function<int64_t()>;  // seconds; seeds every shuffle draw

  // Reads "random", "repeatmode" and "curtrack" from the "playlist" section.
  CPlayList(ISettingsStore& settings, IPlayListView& view, IFileSystem& files, Clock clock = {});
  // Writes the three values back and saves the automatic playlist.
  ~CPlayList();
  CPlayList(const CPlayList&) = delete;
  CPlayList& operator=(const CPlayList&) = delete;

  IPlayListView& View() { return view_; }
  IFileSystem& Files() { return files_; }
  ISettingsStore& Settings() { return settings_; }

  int32_t Count() const { return static_cast<int32_t>(paths_.size()); }
  const std::string& Path(int32_t index) const { return paths_[static_cast<size_t>(index)]; }
  const std::vector<std::string>& Paths() const { return paths_; }

  // --- Entries -------------------------------------------------------------
  void AddEntry(const std::string& path, int32_t index);
  // The same as AddEntry of each path at index, index + 1, ... in turn.
  void AddEntries(std::vector<std::string> paths, int32_t index);
  // The files of a folder and every folder below it: the folder's own files in
  // listing order, then each sub-folder's entries, the last listed sub-folder
  // first (each sub-folder's entries go where the folder's next file would go).
  // Playlist files ("m3u", "m3u8" and their capitals) are skipped.
  void AddFolder(const std::string& folder, int32_t index);
  // Removes the selected rows (true) or the rows that are not selected (false).
  // An entry removed at or before the current one moves the current entry back
  // by one, so removing the current entry makes the one before it current.
  void RemoveEntries(bool removeSelected);
  void ClearList();
  // Marks the row as playing, scrolls to it and shows its text as the title.
  void SetCurrentEntry(int32_t index);
  void SwapEntries(int32_t a, int32_t b);
  // By display text, byte by byte; equal texts keep their playlist order and
  // the current entry stays the same entry.
  void SortEntries(bool ascending);
  // The view has already moved the row (dragging); move the path after it.
  void MoveEntry(int32_t from, int32_t to);

  // --- Navigation state ----------------------------------------------------
  int32_t SavedCurrentTrack() const { return savedCurrentTrack_; }
  int32_t RepeatMode() const { return repeatMode_; }
  void SetRepeatMode(int32_t mode) { repeatMode_ = mode; }
  int32_t Remaining() const { return remaining_; }
  const std::vector<uint32_t>& ShuffleOrder() const { return shuffleOrder_; }
  bool Shuffle() const { return shuffle_; }
  int32_t CurrentTrack() const { return currentTrack_; }
  void SetCurrentTrack(int32_t index) { currentTrack_ = index; }

  // A navigation code in, a result code out; moves the current track.
  NavResult Navigate(NavStep step);
  // Draws an undrawn entry into the current track (remaining must be >= 1).
  void DrawShuffle();
  // The slot of index among the first count slots, or index itself.
  int32_t FindInOrder(int32_t index) const;
  // A fresh pass over every entry: slots 0..count-1 hold 0..count-1, all
  // undrawn; or, given the playing entry, that one drawn first and current.
  void SwitchShuffleOn(int32_t playing = -1);
  // The current track goes back to the playing mark.
  void SwitchShuffleOff();

  // Writes "velk.m3u" in the program folder.
  bool SavePlayList();
  // Writes it only when the entries changed since it was read (MarkSaved) or
  // last written: an idle second player never writes its stale list over
  // another's changes.
  bool SaveIfChanged();
  void MarkSaved() { savedRevision_ = revision_; }
  bool ChangedSinceSaved() const { return revision_ != savedRevision_; }
  // Counts the changes to the entries (added, removed, moved, sorted), so the
  // owner can save the automatic playlist soon after them.
  uint64_t Revision() const { return revision_; }

 private:
  // Inserts paths at index; arrival[t] is the offset (within paths) of the t-th
  // entry as AddEntry would have added them one by one, which decides where
  // each joins the undrawn part of the shuffle order.
  void InsertEntries(int32_t index, std::vector<std::string> paths, const std::vector<int32_t>& arrival);

  ISettingsStore& settings_;
  IPlayListView& view_;
  IFileSystem& files_;
  Clock clock_;

  int32_t savedCurrentTrack_ = 0;
  uint64_t revision_ = 0;
  uint64_t savedRevision_ = 0;
  int32_t repeatMode_ = REPEAT_NONE;
  int32_t remaining_ = 0;
  std::vector<uint32_t> shuffleOrder_;
  bool shuffle_ = false;
  int32_t currentTrack_ = 0;
  std::vector<std::string> paths_;
};

// The shuffle generator: the first number (0..32767) of a linear congruential
// sequence started from seed.
int32_t ShuffleRandom(uint32_t seed);

}  // namespace velk
