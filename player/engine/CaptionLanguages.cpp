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

std::string CaptionMenuText(const std::string& name) {
  std::string text;
  size_t characters = 0;
  for (size_t i = 0; i < name.size(); ++i) {
    const auto byte = static_cast<unsigned char>(name[i]);
    const bool starts = (byte & 0xC0) != 0x80;
    if (starts && ++characters > kCaptionMenuNameMost) {
      text += "\xE2\x80\xA6";  // "…"
      break;
    }
    if (name[i] == '&') text += '&';
    text += name[i];
  }
  return text;
}

}  // namespace velk
