#include <gtest/gtest.h>

#include <string>

#include "velkassoc/AssocRule.h"

namespace velk::assoc {
namespace {

RegValue Text(const std::string& s, uint32_t type = 1 /* REG_SZ */) {
  RegValue v;
  v.type = type;
  v.data.assign(s.begin(), s.end());
  v.data.push_back(0);
  return v;
}

TEST(AssocRule, OnlyTheExactPlayerClassIsHandedBack) {
  const RegValue back = Text("mp3file");
  struct Row {
    std::optional<RegValue> current;
    bool restored;
  } rows[] = {
      {Text("Velk.File"), true},
      {Text("velk.file"), false},          // lower case is someone else's
      {Text("Velk.File2"), false},
      {Text("Velk.Fil"), false},
      {Text("WMP11.AssocFile.MP3"), false},
      {std::nullopt, false},               // no default value at all
      {RegValue{1, {}}, false},            // empty data
  };
  for (const auto& r : rows) {
    auto got = ValueToRestore(r.current, back);
    EXPECT_EQ(got.has_value(), r.restored)
        << (r.current ? std::string(r.current->data.begin(), r.current->data.end()) : "<none>");
  }
  EXPECT_FALSE(ValueToRestore(Text("Velk.File"), std::nullopt).has_value());
}

TEST(AssocRule, TheBackupComesBackWholeWithItsOwnType) {
  RegValue back = Text(std::string(300, 'x') + ".Long.Class.Name", 2 /* REG_EXPAND_SZ */);
  auto got = ValueToRestore(Text("Velk.File"), back);
  ASSERT_TRUE(got.has_value());
  EXPECT_EQ(got->type, 2u);
  EXPECT_EQ(got->data, back.data);
}

TEST(AssocRule, ClassNameEndsAtTheFirstZero) {
  RegValue v = Text("Velk.File");
  v.data.push_back('z');  // bytes after the terminator do not count
  EXPECT_TRUE(NamesPlayerClass(v));
  RegValue unterminated{1, {'V', 'e', 'l', 'k', '.', 'F', 'i', 'l', 'e'}};
  EXPECT_TRUE(NamesPlayerClass(unterminated));
}

TEST(AssocRule, AnUninstallerCommandLineSplitsIntoProgramAndArguments) {
  const struct {
    const char* line;
    const char* program;
    const char* arguments;
  } cases[] = {
      {"\"C:\\Program Files\\Velk\\uninst.exe\" /S _?=C:\\x", "C:\\Program Files\\Velk\\uninst.exe", "/S _?=C:\\x"},
      {"C:\\Velk\\uninst.exe", "C:\\Velk\\uninst.exe", ""},
      {"  C:\\u.exe   /a  ", "C:\\u.exe", "/a"},
      {"\"C:\\unclosed", "C:\\unclosed", ""},
      {"", "", ""},
  };
  for (const auto& c : cases) {
    const ProgramAndArguments parts = SplitCommandLine(c.line);
    EXPECT_EQ(parts.program, c.program) << c.line;
    EXPECT_EQ(parts.arguments, c.arguments) << c.line;
  }
}

}  // namespace
}  // namespace velk::assoc
