#include "player/engine/CaptionFiles.h"

namespace velk::engine {

std::string CaptionPathFor(std::string_view mediaPath) {
  if (mediaPath.empty()) return std::string();
  const size_t nameStart = mediaPath.find_last_of("\\/:");
  const size_t first = nameStart == std::string_view::npos ? 0 : nameStart + 1;
  const size_t dot = mediaPath.rfind('.');
  const size_t stem = (dot != std::string_view::npos && dot >= first) ? dot : mediaPath.size();
  std::string caption(mediaPath.substr(0, stem));
  caption += ".smi";
  return caption;
}

}  // namespace velk::engine
