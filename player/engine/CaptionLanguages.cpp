#include "player/engine/CaptionLanguages.h"

#include <cctype>

namespace velk {

namespace {

bool SameText(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

std::string Primary(const std::string& code) { return code.substr(0, code.find_first_of("-_")); }

}  // namespace

int RememberedLanguageIndex(const std::vector<CaptionLanguage>& languages, const std::string& remembered) {
  if (remembered.empty()) return -1;
  for (size_t i = 0; i < languages.size(); ++i) {
    if (SameText(languages[i].lang, remembered)) return static_cast<int>(i);
  }
  const std::string primary = Primary(remembered);
  for (size_t i = 0; i < languages.size(); ++i) {
    if (!languages[i].lang.empty() && SameText(Primary(languages[i].lang), primary)) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace velk
