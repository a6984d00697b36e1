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
    Restore::Kind kind;
  } rows[] = {
      {Text("Velk.File"), Restore::kWrite},
      {Text("velk.file"), Restore::kLeave},  // lower case is someone else's
      {Text("Velk.File2"), Restore::kLeave},
      {Text("Velk.Fil"), Restore::kLeave},
      {Text("WMP11.AssocFile.MP3"), Restore::kLeave},
      {std::nullopt, Restore::kLeave},       // no default value at all
      {RegValue{1, {}}, Restore::kLeave},    // empty data
  };
  for (const auto& r : rows) {
    EXPECT_EQ(RestoreOf(r.current, back).kind, r.kind)
        << (r.current ? std::string(r.current->data.begin(), r.current->data.end()) : "<none>");
  }
}

TEST(AssocRule, TheRecordDecidesWhatComesBack) {
  const RegValue longExpand = Text(std::string(300, 'x') + ".Long.Class.Name", 2 /* REG_EXPAND_SZ */);
  const RegValue typedNone{kNoDefaultType, {'a', 0}};  // a typeless value that held data is a value
  struct Row {
    const char* what;
    std::optional<RegValue> backup;
    Restore::Kind kind;
  } rows[] = {
      {"whole, with its type", longExpand, Restore::kWrite},
      {"an empty text that was there", Text(""), Restore::kWrite},
      {"typeless data", typedNone, Restore::kWrite},
      {"no default before", RegValue{kNoDefaultType, {}}, Restore::kRemove},
      {"no record: the class goes away", std::nullopt, Restore::kRemove},
  };
  for (const auto& r : rows) {
    const Restore got = RestoreOf(Text("Velk.File"), r.backup);
    EXPECT_EQ(got.kind, r.kind) << r.what;
    if (got.kind == Restore::kWrite) {
      EXPECT_EQ(got.value.type, r.backup->type) << r.what;
      EXPECT_EQ(got.value.data, r.backup->data) << r.what;
    }
  }
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
