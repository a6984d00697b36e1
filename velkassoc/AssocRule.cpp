#include "velkassoc/AssocRule.h"

#include <algorithm>
#include <cstring>

namespace velk::assoc {

bool NamesPlayerClass(const RegValue& value) {
  const auto* begin = reinterpret_cast<const char*>(value.data.data());
  const auto* end = begin + value.data.size();
  const char* zero = std::find(begin, end, '\0');
  return std::string_view(begin, static_cast<size_t>(zero - begin)) == kPlayerClass;
}

std::optional<RegValue> ValueToRestore(const std::optional<RegValue>& currentDefault,
                                       const std::optional<RegValue>& backup) {
  if (!backup || !currentDefault || !NamesPlayerClass(*currentDefault)) return std::nullopt;
  return backup;
}

}  // namespace velk::assoc
