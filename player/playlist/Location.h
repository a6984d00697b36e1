// What a playlist path is: a network location, a local file or something we
// cannot place, and how each kind is shown in a row. Pure text rules; paths are
// narrow strings in the system code page with backslashes.
#pragma once

#include <string>
#include <string_view>

#include "core/Paths.h"

namespace velk {

enum class LocationKind {
  Network,   // "scheme://..." with a scheme other than "file"
  File,      // "file://...", "C:...", or a path beginning with a backslash
  Unparsed,  // anything else: a bare host name, a relative name, an empty text
};

// A scheme is two or more letters, digits, "+", "-" or "." starting with a
// letter, directly followed by "://" (so "C://x" stays a drive path). The file
// scheme is recognised in lower case only, as the playlist reader does.
LocationKind GetLocationKind(std::string_view path);
bool IsNetworkLocation(std::string_view path);

// The row text of an entry: the file name for local files (the text after the
// last backslash), the whole text otherwise.
std::string_view DisplayText(std::string_view path);

// The text after the last "." of the whole path ("" when there is no dot).
std::string_view TextAfterLastDot(std::string_view path);
// What a file is to the playlist by its name, wherever the name comes from (a
// dialog, a drop, a folder walk, the command line): the text after the last
// "." is exactly "m3u" or "M3U" for a playlist in the system code page, and
// exactly "m3u8" or "M3U8" for a UTF-8 playlist. Other capitalisations ("M3u",
// "m3U8") and a dot in a folder's name ("C:\a.m3u\list") make media entries.
enum class PlayListFileKind { None, CodePage, Utf8 };
PlayListFileKind PlayListFileKindOf(std::string_view path);
bool IsPlaylistName(std::string_view path);
// Caption files ("smi", "sami", "srt", "vtt" in any case) are found beside
// their films: folder walks and drops leave them out of the playlist.
bool IsCaptionFileName(std::string_view path);
// Dropped pictures become the playlist background: "bmp", "jpg", "gif" in all
// lower or all upper case.
bool IsBackgroundPictureName(std::string_view path);


// A typed location as it joins the playlist: network and file locations as
// typed, anything else (a host name, an empty text) behind "http://".
std::string LocationToAdd(std::string_view typed);

}  // namespace velk
