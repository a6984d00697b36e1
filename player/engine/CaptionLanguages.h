// The languages of the playing item's captions, as the video window's Caption
// menu offers them, and which one a remembered choice picks in a new file.
// No window system here.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace velk {

// A language of the open item's captions, as its caption file names it.
struct CaptionLanguage {
  std::string name;  // "Korean"; the file's own class name when it gives none
  std::string lang;  // the language code ("ko-KR"); empty when unknown
  bool selected = false;
};

// What offers the languages and switches between them (the playback engine).
class ICaptionLanguages {
 public:
  // In the caption file's order; empty without captions or language classes.
  virtual std::vector<CaptionLanguage> CaptionLanguages() const = 0;
  // Shows language `index` from now on; false when there is no such language.
  virtual bool SelectCaptionLanguage(int index) = 0;

 protected:
  ~ICaptionLanguages() = default;
};

// The language a remembered code picks: the one with that code (case does not
// matter), else the first with the same primary language ("ko" for "ko-KR"),
// else -1. An empty code picks nothing.
int RememberedLanguageIndex(const std::vector<CaptionLanguage>& languages, const std::string& remembered);

// A language's name as the Caption menu shows it: an "&" is shown as one (not
// taken for the key of the item), and a name longer than kCaptionMenuNameMost
// characters is cut between characters and ended with "…". Names are UTF-8.
constexpr size_t kCaptionMenuNameMost = 40;
std::string CaptionMenuText(const std::string& name);

}  // namespace velk
