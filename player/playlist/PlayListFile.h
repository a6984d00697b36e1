// M3U playlist files: one entry path per line, written in UTF-8 ("m3u" and
// "m3u8" alike) relative to the playlist's own folder where that reads back the
// same, and the automatic playlist "velk.m3u" in the program folder. Lines that
// are not UTF-8 were written by older programs and are read in the user's
// legacy code page.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/SettingsStore.h"
#include "player/playlist/FileSystem.h"

namespace velk {

class CPlayList;

// File-dialog filters (description|patterns|), concatenated to build a filter.
inline constexpr const char* kFilterAllSupported =
    "All supporedt types |*.avi;*.mov;*.qt;*.mpe;*.m1v;*.m2v;*.mpg;*.mp2;*.dat;*.mpeg;*.vob;*.mps;*.mp3;*.wav;*.mid;*.asf|";
inline constexpr const char* kFilterAvi = "AVI Video (*.avi)|*.avi|";
inline constexpr const char* kFilterQuickTime = "QuickTime Video (*.mov;*.qt)|*.mov;*.qt|";
inline constexpr const char* kFilterMpeg =
    "MPEG Video (*.asf;*.mpe;*.m1v;*.m2v;*.mpg;*.dat;*.mpeg;*.vob;*.mps)|*.asf;*.mpe;*.m1v;*.m2v;*.mpg;*.mpeg;*.dat;*.vob;*.mps|";
inline constexpr const char* kFilterAudio = "Audio (*.mp3;*.wav;*.mid)|*.mp3;*.wav;*.mid|";
inline constexpr const char* kFilterPlayList = "M3U PlayList File(*.m3u;*.m3u8)|*.m3u;*.m3u8|";
inline constexpr const char* kFilterAllFiles = "All Files (*.*)|*.*|";
inline constexpr const char* kFilterImage = "Image File(*.bmp;*.jpg;*.gif)|*.bmp;*.jpg;*.gif|";
// The string table texts by resource number (1 to 8).
const char* FilterString(int number);
// Add files and Open files: strings 1 to 7 in order.
std::string MediaFilesFilter();

// The automatic playlist: "velk.m3u" in the program folder (settings::ProgramFolder).
const char* AutomaticPlayListName();
std::string AutomaticPlayListFolder(const ISettingsStore& settings);

// The entry path for one line that is not a comment, against baseFolder (which
// ends with a backslash):
//   a network location, "file://...", a drive path ("?:...") or a UNC path
//     ("\\server\...") stays as it is;
//   "\..." is a path from the root of the playlist's drive;
//   anything else is relative to baseFolder (an empty line is baseFolder).
std::string ResolveEntryPath(std::string_view line, std::string_view baseFolder);

// The lines of a playlist file that are entries: lines end at LF (a CR before
// it is dropped), a last line without a line end counts, lines starting with
// "#" are comments. Lines are taken whole, whatever their length.
std::vector<std::string_view> PlayListLines(std::string_view bytes);
// The bytes without a leading UTF-8 byte-order mark.
std::string_view WithoutUtf8Mark(std::string_view bytes);
void ForEachPlayListLine(std::string_view bytes, const std::function<void(std::string_view)>& entry);

// The line that stands for path in a playlist kept in folder: the rest after
// folder when path lies below it, else the path without its drive when it is on
// the folder's drive, else the path itself. A shortened form is used only when
// it reads back as the same path (so "#x" beside the playlist is not turned
// into a comment line).
std::string EntryLine(std::string_view path, std::string_view folder);
// The whole file: every entry's line followed by CR LF.
std::string FormatPlayList(const std::vector<std::string>& paths, std::string_view folder);

// A playlist line as a path's text: a line of valid UTF-8 is UTF-8, any other
// is in the user's legacy code page; either way in the paths' encoding.
std::string PathTextOfLine(std::string_view line, IFileSystem& files);

// Reads baseFolder + fileName and adds its entries at index, index + 1, ...
// Returns the number of entries added (0 when the file cannot be read).
int32_t LoadPlayList(CPlayList& list, IFileSystem& files, const std::string& fileName,
                     const std::string& baseFolder, int32_t index);

// Writes every entry path to folder + fileName, in UTF-8. The file is replaced in one
// step from a temporary file beside it, so a failed write leaves the old
// playlist whole. False when it could not be written.
bool WritePlayList(const CPlayList& list, IFileSystem& files, const std::string& fileName,
                   const std::string& folder);

}  // namespace velk
