// Every private window message of Velk, in one place. Skin buttons and hot
// regions post their own id as their message, so their ids live here too.
// Plain integers: this header is used by portable code and by the filter module.
#pragma once

namespace velk {

// Skinned window base.
constexpr unsigned WM_SKIN_RESIZEDRAG = 0x0400;  // the resize grip's region
constexpr unsigned WM_SKIN_MOVEDRAG = 0x0401;    // a press in the title strip

// Main window.
constexpr unsigned WM_PLAYER_TRAYNOTIFY = 0x0413;
constexpr unsigned ID_SKIN_CLOSE = 0x0414;       // title-bar close dot
constexpr unsigned ID_SKIN_MINIMIZE = 0x0415;    // title-bar minimise dot
constexpr unsigned ID_BTN_PREV = 0x046E;
constexpr unsigned ID_BTN_PLAY = 0x046F;
constexpr unsigned ID_BTN_STOP = 0x0470;
constexpr unsigned ID_BTN_NEXT = 0x0471;
constexpr unsigned ID_BTN_OPEN = 0x0472;
constexpr unsigned ID_BTN_PAUSE = 0x0473;
constexpr unsigned ID_BTN_OPENLIST = 0x0474;
constexpr unsigned ID_BTN_ADD = 0x0475;
constexpr unsigned ID_BTN_REMOVE = 0x0476;
constexpr unsigned ID_AREA_SEEK = 0x0477;        // seek strip (a region, not drawn)
constexpr unsigned ID_BTN_SELECT = 0x0478;
constexpr unsigned ID_BTN_OPTIONS = 0x0479;
constexpr unsigned ID_BTN_VOLUP = 0x047A;
constexpr unsigned ID_BTN_VOLDOWN = 0x047B;
constexpr unsigned ID_AREA_VOLUME = 0x047C;      // volume strip (a region, not drawn)
constexpr unsigned WM_PLAYER_PLAYSELECTED = 0x0489;
constexpr unsigned WM_PLAYER_TOGGLEREPEATTHIS = 0x048A;
constexpr unsigned WM_PLAYER_MOVEENTRY = 0x048E;

// Options dialog → main window → video window and playlist view.
constexpr unsigned WM_PLAYER_OPTIONSCHANGED = 0x04C0;

// Video window title-bar dots.
constexpr unsigned ID_VIDEO_STOP = 0x04D2;
constexpr unsigned ID_VIDEO_FULLSCREEN = 0x04D3;

// Playback engine.
constexpr unsigned WM_PLAYER_GRAPHEVENT = 0x1400;   // posted by the graph: events waiting
constexpr unsigned WM_PLAYER_ENDOFMEDIA = 0x1401;   // posted: the item played to its end
constexpr unsigned WM_PLAYER_VIDEOWINDOW = 0x1410;  // sent: IVideoWindow*, 1 = came, 0 = going
constexpr unsigned WM_PLAYER_CAPTIONTEXT = 0x1411;  // sent: kind and text, wide strings

}  // namespace velk
