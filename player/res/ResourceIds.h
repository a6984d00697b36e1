// Resource and command ids of Velk.exe, for the resource scripts and the code.
// Plain #defines: the resource compiler reads this file too.
#pragma once

// Icon, bitmaps, menus.
#define IDI_VELK 128
#define IDB_BASE_SKIN 129
#define IDR_MAIN_MENU 130
#define IDR_VIDEO_MENU 131
#define IDR_PLAYLIST_MENU 139

// Positions of the popups of the main menu resource (code addresses them by position).
#define MAIN_MENU_POPUP 0
#define MAIN_MENU_ADD_FILE 1
#define MAIN_MENU_REMOVE_FILE 2
#define MAIN_MENU_SELECT 3
#define MAIN_MENU_LOAD_LIST 5
// Positions inside the main popup.
#define MAIN_POPUP_REPEAT 3
#define MAIN_POPUP_SKIN 6

// Main window commands.
#define ID_REPEAT_NONE 5000
#define ID_REPEAT_THIS 5001
#define ID_REPEAT_ALL 5002
#define ID_SKIN_BASE 6000
#define ID_SKIN_FIRST 6001
#define ID_SKIN_LAST 7000
#define ID_ADD_FILES 32778
#define ID_ADD_DIRECTORY 32779
#define ID_HOME_PAGE 32780
#define ID_ADD_LOCATION 32781
#define ID_REMOVE_SELECTED 32782
#define ID_CROP_SELECTED 32783
#define ID_CLEAR_PLAYLIST 32784
#define ID_SELECT_ALL 32785
#define ID_SELECT_NONE 32786
#define ID_INVERT_SELECTION 32787
#define ID_OPEN_PLAYLIST 32788
#define ID_SAVE_PLAYLIST 32789
#define ID_NEW_PLAYLIST 32790
#define ID_PLAY 32798
#define ID_PREV 32799
#define ID_STOP 32800
#define ID_NEXT 32801
#define ID_PAUSE 32802
#define ID_SHUFFLE 32804
#define ID_UNUSED_OPTIONS 65535
#define ID_APP_EXIT 61536

// Playlist view context menu.
#define ID_REPEAT_THIS_TOGGLE 32807
#define ID_BACKGROUND_BLANK 32809
#define ID_BACKGROUND_IMAGE 32810
#define ID_PLAY_THIS 32813
#define ID_SORT_DESCENDING 32814
#define ID_SORT_ASCENDING 32815
#define ID_DELETE_THIS 32816

// Video window context menu.
#define ID_VIDEO_SIZE_50 32774
#define ID_VIDEO_SIZE_100 32775
#define ID_VIDEO_SIZE_200 32776
#define ID_VIDEO_ENTER_FULL_SCREEN 32777
#define ID_VIDEO_KEEP_RATIO 32811
#define ID_VIDEO_PLAYBACK_PLAY 32793
#define ID_VIDEO_PLAYBACK_PAUSE 32794
#define ID_VIDEO_PLAYBACK_STOP 32795
#define ID_VIDEO_PLAYBACK_PREV 32796
#define ID_VIDEO_PLAYBACK_NEXT 32797
#define ID_CAPTION_WINDOW 32817
#define ID_CAPTION_NONE 32818
#define ID_CAPTION_OVERLAY 32819
#define ID_CAPTION_EARLIER 32820
#define ID_CAPTION_LATER 32821
#define ID_CAPTION_IN_TIME 32822
// The playing item's caption languages, listed below the caption modes.
#define ID_CAPTION_LANGUAGE_FIRST 32830
#define ID_CAPTION_LANGUAGE_LAST 32845
// Positions inside the video popup.
#define VIDEO_POPUP_SIZE 0
#define VIDEO_POPUP_SKIN 1
#define VIDEO_POPUP_PLAYBACK 3
#define VIDEO_POPUP_CAPTION 4

// File-dialog filters of the string table.
#define IDS_FILTER_ALL_SUPPORTED 1
#define IDS_FILTER_AVI 2
#define IDS_FILTER_QUICKTIME 3
#define IDS_FILTER_MPEG 4
#define IDS_FILTER_AUDIO 5
#define IDS_FILTER_PLAYLIST 6
#define IDS_FILTER_ALL_FILES 7
#define IDS_FILTER_IMAGE 8

// Add location dialog.
#define IDD_ADD_LOCATION 102
#define IDC_LOCATION 1000

// Options dialog and its pages.
#define IDD_PLAYLIST_PAGE 145
#define IDD_SKIN_PAGE 146
#define IDD_OPTIONS 149
#define IDD_ABOUT_PAGE 155
#define IDB_ABOUT_LOGO 156
#define IDB_ABOUT_PICTURE 159
#define IDC_OPTIONS_TREE 1012
#define IDC_OPTIONS_CLOSE 1020
// Skin page.
#define IDC_SKIN_MAIN_CHANGE 1009
#define IDC_SKIN_MAIN_BASE 1010
#define IDC_SKIN_SLIDER 1014
#define IDC_SKIN_TIME 1015
#define IDC_SKIN_TIME_BACK 1016
#define IDC_SKIN_VIDEO_CHANGE 1017
#define IDC_SKIN_VIDEO_BASE 1018
#define IDC_SKIN_VOLUME 1023
#define IDC_SKIN_MAIN_PATH 1024
#define IDC_SKIN_VIDEO_PATH 1025
// Playlist page.
#define IDC_LIST_TEXT_NORMAL 1008
#define IDC_LIST_TEXT_PLAYING 1010
#define IDC_LIST_BACK_NORMAL 1011
#define IDC_LIST_BACK_SELECTED 1012
#define IDC_LIST_BACK_CHANGE 1018
#define IDC_LIST_BACK_PATH 1022
#define IDC_LIST_MODE_COLOUR 1026
#define IDC_LIST_MODE_BITMAP 1027
