// The few file operations the playlist needs: listing a folder, reading a
// whole file, writing one that replaces another, and turning the text of
// playlist files into the encoding of the narrow paths used here and back. The Windows layer implements
// it over the system calls; tests use an in-memory fake.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace velk {

struct FolderItem {
  std::string name;  // as listed, without the folder; "." and ".." may appear
  bool isFolder = false;
  // A link to elsewhere (a symbolic link or junction): folder walks do not
  // follow it, so a link back up the tree cannot make them loop.
  bool isLink = false;
};

class IFileSystem {
 public:
  virtual ~IFileSystem() = default;

  // Everything in the folder ("<folder>\*.*") in the order the file system
  // gives it; false when the folder cannot be listed.
  virtual bool ListFolder(const std::string& folder, std::vector<FolderItem>& items) = 0;
  virtual bool IsFolder(const std::string& path) = 0;
  virtual bool ReadAll(const std::string& path, std::string& bytes) = 0;
  // Creates or truncates the file and writes the pieces next() hands out, until
  // it gives an empty one, through to the disk; false when any part fails (the
  // file may then hold part of them). Pieces keep a large file from needing one
  // large buffer.
  using Pieces = std::function<std::string_view()>;
  virtual bool WriteAll(const std::string& path, const Pieces& next) = 0;
  // Renames from over to, replacing to in one step.
  virtual bool MoveOver(const std::string& from, const std::string& to) = 0;
  virtual bool RemoveFile(const std::string& path) = 0;
  // The narrow paths are UTF-8 where the system allows it (then the first and
  // last of these change nothing); otherwise they are in the ANSI code page.
  // UTF-8 text in the encoding of the narrow paths. A character a code page
  // lacks, and a byte that is not UTF-8, becomes the code page's default
  // character ("?"): visibly wrong, never another character or stray bytes.
  virtual std::string FromUtf8(std::string_view text) = 0;
  // Text in the user's legacy code page (what programs without UTF-8 wrote)
  // in the encoding of the narrow paths.
  virtual std::string FromLegacy(std::string_view text) = 0;
  // A narrow path as UTF-8, every character kept: what playlist files hold.
  virtual std::string ToUtf8(std::string_view path) = 0;
};

}  // namespace velk
