#include "player/playlist/PlayerCommands.h"

#include "player/playlist/Location.h"
#include "player/playlist/PlayListFile.h"

namespace velk {

bool PlayByCode(CPlayList& list, NavResult result, EngineRequest& request) {
  IPlayListView& view = list.View();
  int32_t rows = view.RowCount();
  int32_t current = list.CurrentTrack();
  if (current < 0 || current > rows - 1) {
    if (rows < 1) return false;
    list.SetCurrentTrack(0);
  }
  request.path.clear();
  if (result == NavResult::Play) {
    request.path = list.Path(list.CurrentTrack());
    list.SetCurrentEntry(list.CurrentTrack());
  } else if (result == NavResult::End) {
    list.SetCurrentEntry(list.CurrentTrack());
  }
  request.play = true;
  return true;
}

EngineRequest RequestAtEndOfMedia(CPlayList& list) {
  EngineRequest request;
  request.stop = true;
  PlayByCode(list, list.Navigate(NavStep::Advance), request);
  return request;
}

namespace {

EngineRequest Step(CPlayList& list, EngineState state, NavStep code) {
  EngineRequest request;
  if (state == EngineState::Absent) return request;
  if (state != EngineState::Running && state != EngineState::Paused) {
    list.Navigate(code);
    list.SetCurrentEntry(list.CurrentTrack());
    return request;
  }
  request.stop = true;
  PlayByCode(list, list.Navigate(code), request);
  return request;
}

int32_t FirstSelected(const CPlayList& list, IPlayListView& view) {
  for (int32_t row : view.SelectedRows()) {
    if (row >= 0 && row < list.Count()) return row;
  }
  return -1;
}

}  // namespace

EngineRequest RequestPrevious(CPlayList& list, EngineState state) { return Step(list, state, NavStep::Previous); }
EngineRequest RequestNext(CPlayList& list, EngineState state) { return Step(list, state, NavStep::Next); }

EngineRequest RequestPauseResume(CPlayList& list, EngineState state) {
  EngineRequest request;
  if (state == EngineState::Paused) {
    PlayByCode(list, list.Navigate(NavStep::Keep), request);
  } else if (state == EngineState::Running) {
    request.pause = true;
  }
  return request;
}

EngineRequest RequestPlaySelected(CPlayList& list) {
  EngineRequest request;
  request.stop = true;
  int32_t selected = list.View().RowCount() > 0 ? FirstSelected(list, list.View()) : -1;
  if (selected >= 0) list.SetCurrentTrack(selected);
  PlayByCode(list, NavResult::Play, request);
  if (selected >= 0) list.SetCurrentEntry(selected);
  return request;
}

EngineRequest RequestDoubleClick(CPlayList& list, int32_t row) {
  EngineRequest request;
  if (row < 0) return request;
  request.stop = true;
  list.SetCurrentTrack(row);
  PlayByCode(list, NavResult::Play, request);
  list.SetCurrentEntry(row);
  list.SwitchShuffleOff();
  return request;
}

EngineRequest RequestOpenFiles(CPlayList& list, const std::vector<std::string>& chosen) {
  EngineRequest request;
  request.stop = true;
  list.ClearList();
  AddChosenFiles(list, chosen);
  PlayByCode(list, list.Navigate(NavStep::Keep), request);
  return request;
}

void ToggleRepeatThis(CPlayList& list) {
  list.SetRepeatMode(list.RepeatMode() == REPEAT_THIS ? REPEAT_NONE : REPEAT_THIS);
}

void ToggleShuffle(CPlayList& list, EngineState state) {
  if (list.Count() == 0 || list.Shuffle()) {
    list.SwitchShuffleOff();
    return;
  }
  if (state == EngineState::Paused || state == EngineState::Running) {
    // The playing item goes on as the first of the new order.
    list.SwitchShuffleOn(list.CurrentTrack());
  } else {
    list.SwitchShuffleOn();
    if (state == EngineState::Stopped) list.Navigate(NavStep::Next);  // the first draw of the fresh order
  }
}

void AddChosenFiles(CPlayList& list, const std::vector<std::string>& chosen) {
  for (const std::string& file : chosen) {
    if (IsPlaylistName(file)) {
      FolderAndName parts = SplitFolderAndName(file);
      LoadPlayList(list, list.Files(), parts.name, parts.folder, list.Count());
    } else {
      list.AddEntry(file, list.Count());
    }
  }
}

void AddDroppedFiles(CPlayList& list, const std::vector<std::string>& names, int32_t index) {
  for (const std::string& name : names) {
    if (list.Files().IsFolder(name)) {
      list.AddFolder(name, index);
    } else if (IsPlaylistName(name)) {
      if (names.size() == 1) {
        FolderAndName parts = SplitFolderAndName(name);
        LoadPlayList(list, list.Files(), parts.name, parts.folder, index);
      }
    } else if (IsCaptionFileName(name)) {
      continue;  // found beside its film when that plays
    } else if (IsBackgroundPictureName(name)) {
      list.View().SetBackgroundImage(name);
      list.View().RedrawAll();
    } else {
      list.AddEntry(name, index);
      ++index;
    }
  }
}

void AddLocation(CPlayList& list, const std::string& typed) {
  list.AddEntry(LocationToAdd(typed), list.Count());
}

}  // namespace velk
