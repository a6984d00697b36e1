// The playlist side of the main window's commands: each entry point decides
// on the playlist and the view, and returns what the playback engine has to
// do, so the main window only passes the outcome on to its engine.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/EngineState.h"
#include "player/playlist/PlayList.h"
#include "player/res/ResourceIds.h"

namespace velk {


// Applied in this order: Stop, Pause, Play(path). An empty path with play set
// starts nothing on a closed engine and resumes the open item on an open one.
struct EngineRequest {
  bool stop = false;
  bool pause = false;
  bool play = false;
  std::string path;
};

// Makes the navigation result current and marks it; false when the view has no
// rows. request.play is set (with the entry's path for NavResult::Play) when it
// returns true; the engine plays only when it exists.
bool PlayByCode(CPlayList& list, NavResult result, EngineRequest& request);

EngineRequest RequestAtEndOfMedia(CPlayList& list);
EngineRequest RequestPrevious(CPlayList& list, EngineState state);
EngineRequest RequestNext(CPlayList& list, EngineState state);
EngineRequest RequestPauseResume(CPlayList& list, EngineState state);
// Play button, "Play this": the first selected entry, or the current one.
EngineRequest RequestPlaySelected(CPlayList& list);
// A double-click on a row (-1: on no row, nothing happens).
EngineRequest RequestDoubleClick(CPlayList& list, int32_t row);
// Open files: the chosen files (playlists among them loaded) replace the list
// and play from the first entry.
EngineRequest RequestOpenFiles(CPlayList& list, const std::vector<std::string>& chosen);

// "Repeat this" toggles between 1 and 0 (2 becomes 1).
void ToggleRepeatThis(CPlayList& list);
// Shuffle on starts a fresh pass: while an item plays (or pauses) it goes on
// and the next advance draws; while stopped the current track moves on at once.
// Shuffle off puts the current track back on the playing mark.
void ToggleShuffle(CPlayList& list, EngineState state);

// Chosen files of the Add files dialog, at the end of the list: playlists are
// loaded (from their own folder), anything else added.
void AddChosenFiles(CPlayList& list, const std::vector<std::string>& chosen);

// Files and folders dropped at index, in drop order: a folder adds its files
// (the index does not move), one playlist dropped alone is loaded, a picture
// becomes the view's background, anything else is added and the index moves
// on. A playlist dropped together with other names is ignored.
void AddDroppedFiles(CPlayList& list, const std::vector<std::string>& names, int32_t index);

// "Add location": the typed text at the end of the list ("http://" in front
// unless it is a network or file location).
void AddLocation(CPlayList& list, const std::string& typed);

}  // namespace velk
