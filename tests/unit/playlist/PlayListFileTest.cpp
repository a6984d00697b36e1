#include "player/playlist/PlayListFile.h"

#include <iconv.h>

#include "player/playlist/PlayerCommands.h"
#include "tests/unit/playlist/PlayListFixture.h"

namespace velk::testing {
namespace {

using Strings = std::vector<std::string>;

TEST(PlayListFile, ResolvingLines) {
  struct Row {
    const char* line;
    const char* expected;
  } rows[] = {
      {"a.mp3", "C:\\Lists\\a.mp3"},
      {"sub\\b.mp3", "C:\\Lists\\sub\\b.mp3"},
      {"\\Music\\c.mp3", "C:\\Music\\c.mp3"},
      {"D:\\x.wav", "D:\\x.wav"},
      {"1:odd", "1:odd"},                                   // any second-character colon
      {"http://radio.example/live", "http://radio.example/live"},
      {"file://C:/x.mp3", "file://C:/x.mp3"},
      {"File://x.mp3", "File://x.mp3"},                     // a network location by its scheme
      {"\\\\server\\share\\d.mp3", "\\\\server\\share\\d.mp3"},  // UNC paths carry no drive
      {" a.mp3", "C:\\Lists\\ a.mp3"},                      // nothing is trimmed
      {"", "C:\\Lists\\"},
  };
  for (const Row& r : rows) EXPECT_EQ(ResolveEntryPath(r.line, "C:\\Lists\\"), r.expected) << r.line;
}

TEST(PlayListFile, LinesAreReadWholeAndCommentsSkippedWhole) {
  std::string longLine(150, 'x');
  std::string longComment = "#" + std::string(119, 'c');
  std::string bytes = "#EXTM3U\r\n#EXTINF:12,Title\r\na.mp3\r\n\r\n" + longLine + "\n" + longComment +
                      "\nb.mp3\r\nlast\r";
  EXPECT_EQ(PlayListLines(bytes), (std::vector<std::string_view>{"a.mp3", "", longLine, "b.mp3", "last\r"}));
  EXPECT_TRUE(PlayListLines("").empty());
  EXPECT_EQ(PlayListLines("a\n").size(), 1u);
  EXPECT_EQ(PlayListLines(std::string(99, 'y') + "\r\n").size(), 1u);
}

TEST(PlayListFile, LoadingAddsResolvedEntriesAtTheIndex) {
  PlayListRig r;
  r.Fill(2);
  r.files.AddFile("C:\\Lists\\pl.m3u",
                  "#EXTM3U\r\na.mp3\r\nsub\\b.mp3\r\n\r\n\\Music\\c.mp3\r\nD:\\x.wav\r\nhttp://h/s\r\n");
  EXPECT_EQ(LoadPlayList(*r.list, r.files, "pl.m3u", "C:\\Lists\\", 1), 6);
  EXPECT_EQ(r.list->Paths(), (Strings{PlayListRig::Name(0), "C:\\Lists\\a.mp3", "C:\\Lists\\sub\\b.mp3", "C:\\Lists\\",
                                      "C:\\Music\\c.mp3", "D:\\x.wav", "http://h/s", PlayListRig::Name(1)}));
  EXPECT_EQ(r.view.RowText(3), "");
  EXPECT_EQ(r.view.RowText(6), "http://h/s");
  EXPECT_EQ(LoadPlayList(*r.list, r.files, "missing.m3u", "C:\\Lists\\", 0), 0);
  r.files.AddFile("C:\\Lists\\empty.m3u", "");
  EXPECT_EQ(LoadPlayList(*r.list, r.files, "empty.m3u", "C:\\Lists\\", 0), 0);
  EXPECT_EQ(r.list->Count(), 8);
}

TEST(PlayListFile, PlayListsOfEitherNameAreReadLineByLineWhereverPlayListsAre) {
  // One file's bytes under three names; the rig's narrow paths are Latin-1,
  // as on a Western system before UTF-8, and so is its legacy code page.
  const std::string bytes =
      "\xEF\xBB\xBF" "Caf\xC3\xA9.mp3\r\n#\xEC\x95\x88\r\n\xEC\x95\x88\xEB\x85\x95.mp3\r\nbad\xFF.mp3\n";
  const Strings paths{"C:\\L\\Caf\xE9.mp3", "C:\\L\\??.mp3", "C:\\L\\bad\xFF.mp3"};
  for (const std::string name : {"pl.m3u8", "pl.M3U8", "pl.m3u"}) {
    SCOPED_TRACE(name);
    PlayListRig rig;
    const std::string file = "C:\\L\\" + name;
    rig.files.AddFile(file, bytes);
    rig.files.AddFile("C:\\L\\x.mp3");
    EXPECT_EQ(LoadPlayList(*rig.list, rig.files, name, "C:\\L\\", 0), 3);
    EXPECT_EQ(rig.list->Paths(), paths);

    rig.list->ClearList();
    AddDroppedFiles(*rig.list, {file}, 0);  // dropped alone: loaded
    AddDroppedFiles(*rig.list, {file, "C:\\L\\x.mp3"}, 0);  // dropped with another: ignored
    AddChosenFiles(*rig.list, {file});
    rig.list->AddFolder("C:\\L", rig.list->Count());  // a folder walk skips it
    Strings expected{"C:\\L\\x.mp3"};
    expected.insert(expected.end(), paths.begin(), paths.end());
    expected.insert(expected.end(), paths.begin(), paths.end());
    expected.push_back("C:\\L\\x.mp3");
    EXPECT_EQ(rig.list->Paths(), expected);
  }
}

// Paths in UTF-8, as the player keeps them, and a legacy code page that the
// C library decodes: what a Korean or a Western user's older programs wrote.
class CUtf8Files : public CMemoryFileSystem {
 public:
  explicit CUtf8Files(const char* legacy) : legacy_(legacy) {}
  std::string FromUtf8(std::string_view text) override { return std::string(text); }
  std::string ToUtf8(std::string_view path) override { return std::string(path); }
  std::string FromLegacy(std::string_view text) override {
    iconv_t cd = iconv_open("UTF-8", legacy_);
    if (cd == reinterpret_cast<iconv_t>(-1)) return "(no " + std::string(legacy_) + ")";
    std::string in(text), out(text.size() * 4 + 4, '\0');
    char* from = in.data();
    char* to = out.data();
    size_t left = in.size(), room = out.size();
    const bool ok = iconv(cd, &from, &left, &to, &room) != static_cast<size_t>(-1);
    iconv_close(cd);
    return ok ? out.substr(0, out.size() - room) : "(undecodable)";
  }

 private:
  const char* legacy_;
};

TEST(PlayListFile, EachLineIsUtf8WhenItIsValidUtf8AndElseTheLegacyCodePage) {
  struct Row {
    const char* legacy;
    const char* line;
    const char* path;  // below C:\L\, as UTF-8
  } rows[] = {
      {"CP949", "\xEC\x82\xAC\xEB\x9E\x91.mp3", "\xEC\x82\xAC\xEB\x9E\x91.mp3"},  // UTF-8 Hangul stays
      {"CP949", "\xBB\xE7\xB6\xFB.mp3", "\xEC\x82\xAC\xEB\x9E\x91.mp3"},                // the same name in CP949
      {"CP1252", "caf\xE9 \xDCn\xEF" "c\xF6" "d\xE9.mp3", "caf\xC3\xA9 \xC3\x9Cn\xC3\xAF" "c\xC3\xB6" "d\xC3\xA9.mp3"},
      {"CP1252", "\xCE\xA9\xCE\xBC\xCE\xAD\xCE\xB3\xCE\xB1.avi", "\xCE\xA9\xCE\xBC\xCE\xAD\xCE\xB3\xCE\xB1.avi"},
      {"CP1252", "x\x80y.mp3", "x\xE2\x82\xACy.mp3"},        // a lone continuation byte: not UTF-8
      {"CP1252", "\xC3\xA9\xE9.mp3", "\xC3\x83\xC2\xA9\xC3\xA9.mp3"},  // valid UTF-8 until the end: the whole line is legacy
      {"CP1252", "\xED\xA0\x80.mp3", "\xC3\xAD\xC2\xA0\xE2\x82\xAC.mp3"},  // an encoded surrogate is no UTF-8
      {"CP949", "plain.mp3", "plain.mp3"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.line);
    CUtf8Files files(r.legacy);
    EXPECT_EQ(PathTextOfLine(r.line, files), r.path);
  }
  // Mixed lines in one file: each decided on its own; written back as UTF-8.
  PlayListRig rig;
  CUtf8Files files("CP949");
  files.AddFile("C:\\L\\mixed.m3u", std::string(rows[0].line) + "\r\n" + rows[1].line + "\r\nb\xC3\xA9.avi\r\n");
  CPlayList list(rig.settings, rig.view, files, [] { return int64_t{0}; });
  EXPECT_EQ(LoadPlayList(list, files, "mixed.m3u", "C:\\L\\", 0), 3);
  const std::string sarang = "C:\\L\\\xEC\x82\xAC\xEB\x9E\x91.mp3";
  EXPECT_EQ(list.Paths(), (Strings{sarang, sarang, "C:\\L\\b\xC3\xA9.avi"}));
  EXPECT_TRUE(WritePlayList(list, files, "out.m3u8", "C:\\L\\"));
  EXPECT_EQ(files.Contents("C:\\L\\out.m3u8"),
            "\xEC\x82\xAC\xEB\x9E\x91.mp3\r\n\xEC\x82\xAC\xEB\x9E\x91.mp3\r\nb\xC3\xA9.avi\r\n");
}

TEST(PlayListFile, NamesOutsideTheCodePageAreWrittenAsUtf8NeverAsMarks) {
  // Latin-1 paths: what the code page holds goes out as UTF-8 and reads back.
  PlayListRig rig;
  rig.list->AddEntry("C:\\L\\caf\xE9.mp3", 0);
  EXPECT_TRUE(WritePlayList(*rig.list, rig.files, "pl.m3u", "C:\\L\\"));
  EXPECT_EQ(rig.files.Contents("C:\\L\\pl.m3u"), "caf\xC3\xA9.mp3\r\n");
  rig.list->ClearList();
  EXPECT_EQ(LoadPlayList(*rig.list, rig.files, "pl.m3u", "C:\\L\\", 0), 1);
  EXPECT_EQ(rig.list->Paths(), Strings{"C:\\L\\caf\xE9.mp3"});
}

TEST(PlayListFile, SavedLines) {
  struct Row {
    const char* path;
    const char* line;
  } rows[] = {
      {"C:\\Lists\\a.mp3", "a.mp3"},
      {"D:\\x.wav", "D:\\x.wav"},
      {"C:\\Music\\c.mp3", "\\Music\\c.mp3"},
      {"C:\\lists\\a.mp3", "\\lists\\a.mp3"},        // the folder test is case-sensitive
      {"c:\\Lists\\a.mp3", "c:\\Lists\\a.mp3"},      // and so is the drive test
      {"C:\\Lists\\", "\\Lists\\"},
      {"C:\\Lists\\sub\\b.mp3", "sub\\b.mp3"},
      {"http://h/C:\\Lists\\x", "http://h/C:\\Lists\\x"},
      {"file://C:/x.mp3", "file://C:/x.mp3"},
      {"www.example.com", "www.example.com"},
      // Forms that would read back as something else keep more of the path.
      {"C:\\Lists\\#1 hit.mp3", "\\Lists\\#1 hit.mp3"},   // not a comment line
      {"C:\\Lists\\\\x.mp3", "\\Lists\\\\x.mp3"},
      {"C:x.mp3", "C:x.mp3"},                             // drive-relative, not from the root
      {"C:\\\\srv\\x.mp3", "C:\\\\srv\\x.mp3"},
      {"\\\\srv\\share\\x.mp3", "\\\\srv\\share\\x.mp3"},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(EntryLine(r.path, "C:\\Lists\\"), r.line) << r.path;
    EXPECT_EQ(FormatPlayList({r.path}, "C:\\Lists\\"), std::string(r.line) + "\r\n") << r.path;
  }
  EXPECT_EQ(FormatPlayList({}, "C:\\Lists\\"), "");
  EXPECT_EQ(EntryLine("C:\\Velk\\a.mp3", "\\"), "C:\\Velk\\a.mp3");  // no program folder recorded
}

TEST(PlayListFile, WritingThenReadingGivesTheSamePaths) {
  PlayListRig r;
  r.list->SwitchShuffleOn();
  Strings paths = {
      "C:\\Lists\\a.mp3",
      "C:\\Lists\\" + std::string(300, 'l') + ".mp3",
      "C:\\Lists\\Caf\xE9 \xC0 la cr\xE8me\\\xE6\xF8\xE5.mp3",   // system code page bytes
      "C:\\M\xFCsik\\" + std::string(120, 'd') + "\\x.wav",
      "D:\\x.wav",
      "C:\\Lists\\#not a comment.mp3",
      "C:\\Lists\\\\double.mp3",
      "C:drive relative.mp3",
      "\\\\server\\share\\u.mp3",
      "http://radio.example/stream?x=1",
      "file://C:/f.mp3",
      "C:\\Lists\\trailing\r",
  };
  for (int i = 0; i < 4000; ++i) paths.push_back("C:\\Lists\\many\\" + std::to_string(i) + ".mp3");  // several pieces
  r.list->AddEntries(paths, 0);
  ASSERT_TRUE(WritePlayList(*r.list, r.files, "pl.m3u", "C:\\Lists\\"));
  PlayListRig back;
  LoadPlayList(*back.list, r.files, "pl.m3u", "C:\\Lists\\", 0);
  EXPECT_EQ(back.list->Paths(), paths);
}

TEST(PlayListFile, AFailedSaveLeavesTheOldPlaylistWhole) {
  PlayListRig r;
  r.Fill(3);
  r.files.AddFile("C:\\Lists\\pl.m3u", "old.mp3\r\n");
  r.files.writeLimit = 10;  // the disk fills up part-way
  EXPECT_FALSE(WritePlayList(*r.list, r.files, "pl.m3u", "C:\\Lists\\"));
  EXPECT_EQ(r.files.Contents("C:\\Lists\\pl.m3u"), "old.mp3\r\n");
  EXPECT_FALSE(r.files.Exists("C:\\Lists\\pl.m3u.tmp"));
  r.files.writeLimit = -1;
  EXPECT_TRUE(WritePlayList(*r.list, r.files, "pl.m3u", "C:\\Lists\\"));
  EXPECT_EQ(r.files.Contents("C:\\Lists\\pl.m3u"), "\\M\\a.mp3\r\n\\M\\b.mp3\r\n\\M\\c.mp3\r\n");
  EXPECT_FALSE(r.files.Exists("C:\\Lists\\pl.m3u.tmp"));
}

TEST(PlayListFile, AFolderAtTheTemporaryNameDoesNotStopTheSave) {
  PlayListRig r;
  r.Fill(1);
  r.files.folders["C:\\Lists\\pl.m3u.tmp"] = {};
  EXPECT_TRUE(WritePlayList(*r.list, r.files, "pl.m3u", "C:\\Lists\\"));
  EXPECT_EQ(r.files.Contents("C:\\Lists\\pl.m3u"), "\\M\\a.mp3\r\n");
  EXPECT_FALSE(r.files.Exists("C:\\Lists\\pl.m3u.1.tmp"));
}

TEST(PlayListFile, AUtf8ByteOrderMarkIsNotPartOfTheFirstEntry) {
  EXPECT_EQ(PlayListLines("\xEF\xBB\xBF" "a.mp3\r\nb.mp3"), (std::vector<std::string_view>{"a.mp3", "b.mp3"}));
  EXPECT_EQ(PlayListLines("\xEF\xBB\xBF#EXTM3U\r\na.mp3"), (std::vector<std::string_view>{"a.mp3"}));
  EXPECT_EQ(PlayListLines("x\xEF\xBB\xBF.mp3"), (std::vector<std::string_view>{"x\xEF\xBB\xBF.mp3"}));
}

TEST(PlayListFile, AutomaticPlayListLivesInTheProgramFolder) {
  PlayListRig r;
  r.settings.WriteString("", "AppPath", "C:\\Velk");
  r.list->AddEntry("C:\\Velk\\demo.avi", 0);
  r.list->AddEntry("C:\\clips\\b.avi", 1);
  EXPECT_TRUE(r.list->SavePlayList());
  EXPECT_EQ(r.files.Contents("C:\\Velk\\velk.m3u"), "demo.avi\r\n\\clips\\b.avi\r\n");
  EXPECT_EQ(AutomaticPlayListFolder(r.settings), "C:\\Velk\\");
  CMemorySettings none;
  EXPECT_EQ(AutomaticPlayListFolder(none), "\\");
}

TEST(PlayListFile, AnIdleSecondPlayerLeavesTheFirstOnesChanges) {
  PlayListRig first;
  first.settings.WriteString("", "AppPath", "C:\\Velk");
  first.files.AddFile("C:\\Velk\\velk.m3u", "old.mp3\r\n");
  EXPECT_EQ(LoadPlayList(*first.list, first.files, "velk.m3u", "C:\\Velk\\", 0), 1);
  first.list->MarkSaved();
  // A second player on the same folder and file, read at the same time.
  CPlayList second(first.settings, first.view, first.files, [] { return int64_t{0}; });
  EXPECT_EQ(LoadPlayList(second, first.files, "velk.m3u", "C:\\Velk\\", 0), 1);
  second.MarkSaved();
  first.list->AddEntry("C:\\Velk\\new.mp3", 1);
  first.list.reset();  // the first exits: written
  EXPECT_EQ(first.files.Contents("C:\\Velk\\velk.m3u"), "old.mp3\r\nnew.mp3\r\n");
  EXPECT_TRUE(second.SaveIfChanged());  // the second exits untouched: nothing written
  EXPECT_EQ(first.files.Contents("C:\\Velk\\velk.m3u"), "old.mp3\r\nnew.mp3\r\n");
}

TEST(PlayListFile, DialogFilters) {
  EXPECT_STREQ(FilterString(6), "M3U PlayList File(*.m3u;*.m3u8)|*.m3u;*.m3u8|");
  EXPECT_STREQ(FilterString(8), "Image File(*.bmp;*.jpg;*.gif)|*.bmp;*.jpg;*.gif|");
  EXPECT_STREQ(FilterString(9), "");
  std::string media = MediaFilesFilter();
  EXPECT_EQ(media.rfind("All supporedt types |*.avi;", 0), 0u);
  EXPECT_EQ(media.substr(media.size() - 20), "All Files (*.*)|*.*|");
  EXPECT_EQ(std::count(media.begin(), media.end(), '|'), 14);
}

TEST(DroppedFiles, EachKindOfName) {
  PlayListRig r;
  r.Fill(2);
  r.files.AddFile("C:\\Drop\\Sub\\s.mp3");
  r.files.AddFile("C:\\Drop\\pl.m3u", "x.mp3\r\n");
  AddDroppedFiles(*r.list, {"C:\\Drop\\one.mp3", "C:\\Drop\\Sub", "C:\\Drop\\two.mp3", "C:\\Drop\\pl.m3u",
                            "C:\\Drop\\cover.JPG", "C:\\Drop\\cover.Jpg", "C:\\Drop\\one.SRT"},
                  1);
  // The folder's entries stay behind the names dropped after it; the playlist
  // dropped with others is ignored; one picture is the background; a caption
  // file waits beside its film.
  EXPECT_EQ(r.DisplayTexts(), (Strings{"a.mp3", "one.mp3", "two.mp3", "cover.Jpg", "s.mp3", "b.mp3"}));
  EXPECT_EQ(r.view.background, "C:\\Drop\\cover.JPG");

  AddDroppedFiles(*r.list, {"C:\\Drop\\pl.m3u"}, 0);  // alone: loaded from its own folder
  EXPECT_EQ(r.list->Path(0), "C:\\Drop\\x.mp3");
  AddDroppedFiles(*r.list, {"C:\\Drop\\" + std::string(200, 'n') + ".mp3"}, 0);  // full length
  EXPECT_EQ(r.list->Path(0).size(), 212u);
  r.ExpectConsistent();
}

TEST(DroppedFiles, OpenAddFilesAndLocations) {
  PlayListRig r;
  r.Fill(3);
  r.files.AddFile("D:\\L\\pl.M3U", "p.mp3\n");
  AddChosenFiles(*r.list, {"D:\\L\\pl.M3U", "D:\\L\\q.mp3"});
  EXPECT_EQ(r.list->Count(), 5);
  EXPECT_EQ(r.list->Path(3), "D:\\L\\p.mp3");
  EngineRequest req = RequestOpenFiles(*r.list, {"D:\\L\\q.mp3", "D:\\L\\pl.M3U"});
  EXPECT_TRUE(req.stop && req.play);
  EXPECT_EQ(req.path, "D:\\L\\q.mp3");
  EXPECT_EQ(r.list->Paths(), (Strings{"D:\\L\\q.mp3", "D:\\L\\p.mp3"}));
  AddLocation(*r.list, "");
  AddLocation(*r.list, "radio.example");
  AddLocation(*r.list, "E:\\x.wav");
  EXPECT_EQ(Strings(r.list->Paths().begin() + 2, r.list->Paths().end()),
            (Strings{"http://", "http://radio.example", "E:\\x.wav"}));
}

}  // namespace
}  // namespace velk::testing
