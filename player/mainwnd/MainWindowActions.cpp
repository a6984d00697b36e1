// The main window's actions: each action of the player's table, however it
// arrived, performed by one operation, and the playlist operations behind them.
#include "player/mainwnd/MainWindow.h"

#include "player/app/PlayerActions.h"
#include "player/options/OptionsDialog.h"
#include "player/playlist/Location.h"
#include "player/playlist/PlayListFile.h"
#include "player/res/ResourceIds.h"

namespace velk {

// --- Actions ----------------------------------------------------------------------------

bool CMainWindow::OnActionMessage(fw::MsgArgs& m) {
  const Action action = ActionOfMessage(m.message);
  if (action == Action::None) return false;
  Perform(action, m.X());
  return true;
}

bool CMainWindow::OnActionCommand(fw::MsgArgs& m) {
  const Action action = ActionOfCommand(m.CommandId());
  if (action == Action::None) return false;
  Perform(action);
  return true;
}

void CMainWindow::Perform(Action action, int32_t clickX) {
  SettleDrag();
  // Anything but another step ends a burst of Next or Previous: its item
  // starts first (a stop or the exit only drops it), so the action finds it playing.
  if (action == Action::Stop || action == Action::Exit) {
    heldStart_.reset();
  } else if (action != Action::Next && action != Action::Previous) {
    StartHeldItem();
  }
  if (RouteOf(action).videoWindow) {
    if (videoWindow_ && videoWindow_->IsWindow()) videoWindow_->Perform(action);
    return;
  }
  using Operation = void (*)(CMainWindow&, int32_t);
  static constexpr struct {
    Action action;
    Operation operation;
  } kOperations[] = {
      {Action::Previous, [](CMainWindow& w, int32_t) { w.Previous(); }},
      {Action::Play, [](CMainWindow& w, int32_t) { w.Play(); }},
      {Action::PauseResume, [](CMainWindow& w, int32_t) { w.PauseResume(); }},
      {Action::Stop, [](CMainWindow& w, int32_t) { w.Stop(); }},
      {Action::Next, [](CMainWindow& w, int32_t) { w.Next(); }},
      {Action::VolumeUp, [](CMainWindow& w, int32_t) { w.ChangeVolume(+1); }},
      {Action::VolumeDown, [](CMainWindow& w, int32_t) { w.ChangeVolume(-1); }},
      {Action::SeekAtClick, [](CMainWindow& w, int32_t x) { w.SeekAtClick(x); }},
      {Action::CaptionsEarlier, [](CMainWindow& w, int32_t) { w.ShiftCaptions(-engine::kCaptionShiftStepMs); }},
      {Action::CaptionsLater, [](CMainWindow& w, int32_t) { w.ShiftCaptions(engine::kCaptionShiftStepMs); }},
      {Action::CaptionsInTime, [](CMainWindow& w, int32_t) { w.ShiftCaptions(0); }},
      {Action::VolumeAtClick, [](CMainWindow& w, int32_t x) { w.VolumeAtClick(x); }},
      {Action::OpenFiles, [](CMainWindow& w, int32_t) { w.OpenFiles(); }},
      {Action::OpenPlayList, [](CMainWindow& w, int32_t) { w.OpenPlayList(); }},
      {Action::SavePlayList, [](CMainWindow& w, int32_t) { w.SavePlayListAs(); }},
      {Action::AddFiles, [](CMainWindow& w, int32_t) { w.AddFiles(); }},
      {Action::AddFolder, [](CMainWindow& w, int32_t) { w.AddFolder(); }},
      {Action::AddLocation, [](CMainWindow& w, int32_t) { w.AddLocation(); }},
      {Action::RemoveSelected, [](CMainWindow& w, int32_t) { w.playlist_->RemoveEntries(true); }},
      {Action::DeleteThis, [](CMainWindow& w, int32_t) { w.playlist_->RemoveEntries(true); }},
      {Action::CropSelected, [](CMainWindow& w, int32_t) { w.playlist_->RemoveEntries(false); }},
      {Action::ClearPlayList, [](CMainWindow& w, int32_t) { w.playlist_->ClearList(); }},
      {Action::SelectAll, [](CMainWindow& w, int32_t) { w.SelectAll(); }},
      {Action::SelectNone, [](CMainWindow& w, int32_t) { w.playlistView_.SelectNone(); }},
      {Action::InvertSelection, [](CMainWindow& w, int32_t) { w.playlistView_.InvertSelection(); }},
      {Action::SortAscending, [](CMainWindow& w, int32_t) { w.Sort(true); }},
      {Action::SortDescending, [](CMainWindow& w, int32_t) { w.Sort(false); }},
      {Action::PlayThis, [](CMainWindow& w, int32_t) { w.Play(); }},
      {Action::RepeatNone, [](CMainWindow& w, int32_t) { w.playlist_->SetRepeatMode(REPEAT_NONE); }},
      {Action::RepeatThis, [](CMainWindow& w, int32_t) { w.playlist_->SetRepeatMode(REPEAT_THIS); }},
      {Action::RepeatAll, [](CMainWindow& w, int32_t) { w.playlist_->SetRepeatMode(REPEAT_ALL); }},
      {Action::ToggleRepeatThis, [](CMainWindow& w, int32_t) { velk::ToggleRepeatThis(*w.playlist_); }},
      {Action::Shuffle, [](CMainWindow& w, int32_t) { velk::ToggleShuffle(*w.playlist_, w.CurrentEngineState()); }},
      {Action::BlankBackground, [](CMainWindow& w, int32_t) { w.playlistView_.SetBlankBackground(); }},
      {Action::BackgroundPicture, [](CMainWindow& w, int32_t) { w.ChooseBackground(); }},
      {Action::Options, [](CMainWindow& w, int32_t) { w.ShowOptions(); }},
      {Action::HomePage, [](CMainWindow& w, int32_t) { w.OpenHomePage(); }},
      {Action::Minimize, [](CMainWindow& w, int32_t) { w.Minimize(); }},
      {Action::Exit, [](CMainWindow& w, int32_t) { w.DestroyWindow(); }},
      {Action::FocusPlayList, [](CMainWindow& w, int32_t) { w.FocusPlayList(); }},
  };
  // Nothing touches the playlist before the window has made it or after it has let it go.
  if (!playlist_ && action >= Action::OpenFiles && action <= Action::BackgroundPicture) return;
  for (const auto& entry : kOperations) {
    if (entry.action == action) {
      entry.operation(*this, clickX);
      return;
    }
  }
}

void CMainWindow::ChangeVolume(int step) {
  if (volume_ && (step > 0 ? volume_->Up() : volume_->Down())) InvalidateRect(VolumeBarRect());
}

void CMainWindow::SeekAtClick(int32_t x) {
  if (engine_ && engine_->SeekAtClick(SeekTrackRect(), x)) {
    InvalidateRect(SeekTrackRect());
    InvalidateRect(TimeAreaRect());
  }
}

// The playing item's captions move in time; the engine shows the shift for a
// moment where the captions show.
void CMainWindow::ShiftCaptions(int32_t stepMs) {
  if (engine_) engine_->ShiftCaptions(stepMs);
}

void CMainWindow::VolumeAtClick(int32_t x) {
  if (volume_ && volume_->Click(VolumeBarRect(), x)) InvalidateRect(VolumeBarRect());
}

void CMainWindow::ShowOptions() {
  // The pages announce their changes to this window, which rereads them.
  options::COptionsDialog dialog(this);
  dialog.DoModal();
}

void CMainWindow::SelectAll() {
  if (playlist_->Count() > 0) playlistView_.SelectRange(0, playlist_->Count() - 1);
}

void CMainWindow::Sort(bool ascending) {
  playlist_->SortEntries(ascending);
  playlistView_.RedrawAll();
}

void CMainWindow::FocusPlayList() {
  if (playlistView_.IsWindow() && ::GetFocus() != playlistView_.m_hWnd) ::SetFocus(playlistView_.m_hWnd);
}

// --- Playlist commands ----------------------------------------------------------------

void CMainWindow::AddFiles() {
  std::vector<std::string> chosen;
  if (playlist_ && choosers_->ChooseMediaFiles(m_hWnd, chosen)) velk::AddChosenFiles(*playlist_, chosen);
}

void CMainWindow::OpenFiles() {
  std::vector<std::string> chosen;
  if (playlist_ && choosers_->ChooseMediaFiles(m_hWnd, chosen)) Apply(velk::RequestOpenFiles(*playlist_, chosen));
}

void CMainWindow::AddFolder() {
  std::string folder;
  if (playlist_ && choosers_->ChooseFolder(m_hWnd, folder)) playlist_->AddFolder(folder, playlist_->Count());
}

void CMainWindow::AddLocation() {
  std::string typed;
  if (playlist_ && choosers_->AskLocation(this, typed)) velk::AddLocation(*playlist_, typed);
}

void CMainWindow::OpenPlayList() {
  std::string path;
  if (!playlist_ || !choosers_->ChoosePlayListToOpen(m_hWnd, path)) return;
  if (engine_) engine_->Stop();
  playlist_->ClearList();
  const FolderAndName parts = SplitFolderAndName(path);
  LoadPlayList(*playlist_, files_, parts.name, parts.folder, 0);
  RefreshDisplays();
}

void CMainWindow::SavePlayListAs() {
  std::string path;
  if (!playlist_ || !choosers_->ChoosePlayListToSave(m_hWnd, path)) return;
  const FolderAndName parts = SplitFolderAndName(path);
  WritePlayList(*playlist_, files_, parts.name, parts.folder);
}

void CMainWindow::ChooseBackground() {
  std::string path;
  if (!choosers_->ChooseBackgroundImage(m_hWnd, path)) return;
  playlistView_.SetBackgroundImage(path);
  playlistView_.RedrawAll();
}

}  // namespace velk
