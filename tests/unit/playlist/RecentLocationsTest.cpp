#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "player/playlist/RecentLocations.h"

namespace velk {
namespace {

void Store(CMemorySettings& s, const std::vector<std::string>& values) {
  for (size_t k = 0; k < values.size(); ++k) s.WriteString("RecentUrlList", "URL" + std::to_string(k), values[k]);
}

std::vector<std::string> Numbered(const char* stem, int n) {
  std::vector<std::string> v;
  for (int i = 0; i < n; ++i) v.push_back(stem + std::to_string(i));
  return v;
}

TEST(RecentLocations, LoadStopsAtTheFirstGapOrEmptyValueWithoutUpperBound) {
  CMemorySettings s;
  Store(s, Numbered("u", 40));
  EXPECT_EQ(LoadRecentLocations(s).size(), 40u);
  s.DeleteValue("RecentUrlList", "URL2");
  EXPECT_EQ(LoadRecentLocations(s), (std::vector<std::string>{"u0", "u1"}));
  s.WriteString("recenturllist", "url2", "");
  EXPECT_EQ(LoadRecentLocations(s).size(), 2u);
}

TEST(RecentLocations, TypedLocationGoesFirstAndReplacesItsOtherCase) {
  CMemorySettings s;
  Store(s, {"x", "y", "z"});
  auto items = LoadRecentLocations(s);
  SaveRecentLocations(s, items, "Y");
  EXPECT_EQ(LoadRecentLocations(s), (std::vector<std::string>{"Y", "x", "z"}));
}

TEST(RecentLocations, AtMostTwentyFiveAndTheOldestFallsOff) {
  CMemorySettings s;
  Store(s, Numbered("u", 25));
  auto items = LoadRecentLocations(s);
  SaveRecentLocations(s, items, "new");
  auto after = LoadRecentLocations(s);
  ASSERT_EQ(after.size(), 25u);
  EXPECT_EQ(after[0], "new");
  EXPECT_EQ(after[1], "u0");
  EXPECT_EQ(after[24], "u23");

  // Choosing the sixth again: it leads, the five before it follow, 25 remain.
  items = LoadRecentLocations(s);
  SaveRecentLocations(s, items, "u4");
  after = LoadRecentLocations(s);
  ASSERT_EQ(after.size(), 25u);
  EXPECT_EQ(std::vector<std::string>(after.begin(), after.begin() + 7),
            (std::vector<std::string>{"u4", "new", "u0", "u1", "u2", "u3", "u5"}));
  EXPECT_EQ(after[24], "u23");
}

TEST(RecentLocations, EmptyTextWritesNothing) {
  CMemorySettings s;
  Store(s, {"x", "y"});
  auto items = LoadRecentLocations(s);
  SaveRecentLocations(s, items, "");
  EXPECT_EQ(LoadRecentLocations(s), (std::vector<std::string>{"x", "y"}));
  EXPECT_EQ(s.ValueCount(), 2u);
}

}  // namespace
}  // namespace velk
