// The player's main window: a skinned window with the transport and playlist
// buttons of its skin, the playing time, the seek thumb and the volume bar. It
// owns the playback engine and the output volume for its whole life.
#pragma once

#include <map>
#include <optional>

#include <memory>
#include <string>
#include <vector>

#include "platform/framework/Gdi.h"
#include "player/app/PlayerActions.h"
#include "player/engine/OutputVolume.h"
#include "player/engine/PlaybackEngine.h"
#include "player/mainwnd/PlayerChoosers.h"
#include "player/playlist/PlayList.h"
#include "player/playlist/PlayListCtrl.h"
#include "player/playlist/PlayerCommands.h"
#include "player/playlist/WinFileSystem.h"
#include "player/skin/KeyPresses.h"
#include "player/skin/SkinWnd.h"
#include "player/video/VideoFrameWindow.h"

namespace velk {

class CMainWindow : public CSkinWnd {
 public:
  static constexpr const char* kWindowName = "Qorn mediaplayer";
  static constexpr UINT_PTR kTimerId = 1;
  static constexpr UINT kTimerPeriodMs = 1000;
  static constexpr UINT kTrayIconId = 10000;
  static constexpr const char* kTrayTip = "Qorn media player";
  static constexpr const char* kHomePage = "https://qorn-mediaplayer.org/";

  explicit CMainWindow(ISettingsStore& settings = AppSettings());
  ~CMainWindow() override;

  // commandLine: the raw text the program was started with; an item named
  // there plays as soon as the window exists.
  bool Create(const std::string& commandLine = std::string());
  void DrawWindow(HDC dc) override;

  CPlaybackEngine* Engine() const { return engine_.get(); }
  CPlayList* PlayList() const { return playlist_.get(); }
  CPlayListCtrl& PlayListView() { return playlistView_; }
  // Tests answer the file dialogs, the folder browser and the location dialog.
  void SetChoosers(IPlayerChoosers* choosers) { choosers_ = choosers ? choosers : &SystemPlayerChoosers(); }

  // Display rectangles in client coordinates, as drawn and invalidated.
  RECT TimeAreaRect() const;
  RECT SeekTrackRect() const;
  RECT VolumeBarRect() const;
  // The colours in use, 0x00BBGGRR.
  COLORREF SliderColour() const { return sliderColour_; }
  COLORREF TimeColour() const { return timeColour_; }
  COLORREF TimeBackColour() const { return timeBackColour_; }
  COLORREF VolumeColour() const { return volumeColour_; }
  bool HasTrayIcon() const { return trayIconAdded_; }
  // The video window while an item with video is open, else null.
  CVideoFrameWindow* VideoWindow() const { return videoWindow_.get(); }

  // Performs an action, however it arrived (the x of a click for the seek
  // and volume strips); the video window's own go to the video window.
  void Perform(Action action, int32_t clickX = 0);
  // Transport.
  void Previous();
  void Next();
  void Play();
  void PauseResume();
  void Stop();
  // Makes the navigation result current and plays it (see PlayByCode).
  void PlayByCode(NavResult result);
  // The main popup menu as it is shown: the skin list, the repeat mode's and
  // the shuffle check marks.
  void PrepareMainPopup(HMENU popup);

  VELK_DECLARE_MESSAGE_TABLE()

 private:
  // Posted to itself: deletes the retired video windows whose menus are closed.
  static constexpr UINT kMsgDeleteRetiredWindows = WM_APP + 1;

  bool OnCreate(fw::MsgArgs& m);
  bool OnDestroy(fw::MsgArgs& m);
  bool OnSize(fw::MsgArgs& m);
  bool OnTimer(fw::MsgArgs& m);
  bool OnRButtonDown(fw::MsgArgs& m);
  bool OnKeyDown(fw::MsgArgs& m);
  bool OnKeyUp(fw::MsgArgs& m);
  bool OnAppCommand(fw::MsgArgs& m);
  bool OnResizeDrag(fw::MsgArgs& m);
  bool OnTrayNotify(fw::MsgArgs& m);
  bool OnActionMessage(fw::MsgArgs& m);
  bool OnActionCommand(fw::MsgArgs& m);
  bool OnGraphEvent(fw::MsgArgs& m);
  bool OnEndOfMedia(fw::MsgArgs& m);
  bool OnVideoWindow(fw::MsgArgs& m);
  bool OnOptionsChanged(fw::MsgArgs& m);
  bool OnMoveEntry(fw::MsgArgs& m);
  bool OnDropFiles(fw::MsgArgs& m);
  bool OnViewDoubleClick(fw::MsgArgs& m);

  std::string TipFor(uint32_t region) const override { return TipOf(region, false); }
  void LoadColours();
  void AddSeekArea();
  void DrawSeekThumb(HDC dc);
  void DrawPlayingTime(HDC dc);
  void DrawVolumeBar(HDC dc);
  void ShowMenu(int position, POINT screen);
  void AddTrayIcon();
  void RemoveTrayIcon();
  void CloseVideoWindow();
  void SaveSoonAfterChanges();
  bool OnDeleteRetiredWindows(fw::MsgArgs& m);
  SkinSize ClientSize() const;
  void FillPlayList();
  EngineState CurrentEngineState() const;
  void Apply(const EngineRequest& request);
  void Step(const EngineRequest& request);
  bool StartHeldItem();
  void SettleDrag();
  void RefreshDisplays();
  static bool CtrlOrAltHeld();
  void ChangeVolume(int step);
  void SeekAtClick(int32_t x);
  void ShiftCaptions(int32_t stepMs);
  void VolumeAtClick(int32_t x);
  void ShowOptions();
  void OpenHomePage();
  void Minimize();
  void SelectAll();
  void Sort(bool ascending);
  void FocusPlayList();
  void AddFiles();
  void OpenFiles();
  void AddFolder();
  void AddLocation();
  void OpenPlayList();
  void SavePlayListAs();
  void ChooseBackground();
  RECT ViewRect() const;

  std::string commandLine_;
  // The playlist and the view it drives; the playlist is created with the
  // window and deleted in its destruction, before the view and the files.
  CWinFileSystem files_;
  CPlayListCtrl playlistView_;
  std::unique_ptr<CPlayList> playlist_;
  IPlayerChoosers* choosers_ = &SystemPlayerChoosers();
  std::unique_ptr<CPlaybackEngine> engine_;
  // Keys pressed here (or in the playlist view, which passes its keys on).
  CKeyPresses keyPresses_;
  std::unique_ptr<COutputVolume> volume_;
  std::unique_ptr<CVideoFrameWindow> videoWindow_;
  // The next item's video window opens in full screen when the last one was in
  // full screen as its item gave way; a stop of the user's ends that.
  bool videoFullScreen_ = false;
  // Video windows closed while inside their own menu, deleted once out of it.
  std::vector<std::unique_ptr<CVideoFrameWindow>> retiredVideoWindows_;
  HICON icon_ = nullptr;
  UINT_PTR timerId_ = 0;
  // A burst of Next or Previous moves the playing mark at every press; the
  // item where the burst ends starts once the presses have paused this long.
  static constexpr UINT_PTR kBurstTimerId = 2;
  static constexpr DWORD kBurstPauseMs = 300;
  DWORD lastStepAt_ = 0;
  bool stepped_ = false;
  std::optional<EngineRequest> heldStart_;
  // Why entries could not be played, by path, for their rows' tips.
  std::map<std::string, std::string> failures_;
  // Saving the automatic playlist soon after its entries change.
  static constexpr DWORD kSaveDelayMs = 1000;
  uint64_t seenRevision_ = 0;
  DWORD changedAt_ = 0;
  bool trayIconAdded_ = false;
  COLORREF sliderColour_ = 0x808040;
  COLORREF timeColour_ = 0xFFFF00;
  COLORREF timeBackColour_ = 0x400040;
  COLORREF volumeColour_ = 0x4080;
  fw::CGdiObject<HFONT> timeFont_;
};

}  // namespace velk
