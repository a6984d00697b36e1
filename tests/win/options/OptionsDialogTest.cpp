// The options dialog under Wine, run modally over a parent window of the
// test's own: pages switched from the tree, every write in the real registry,
// and each announcement arriving at the parent.
#include "player/options/PlaylistOptionsPage.h"
#include "player/options/SkinOptionsPage.h"
#include "player/res/ResourceIds.h"
#include "shared/PlayerMessages.h"
#include "tests/win/options/OptionsTestSupport.h"

namespace velk::options::test {
namespace {

using Step = CScriptParent::Step;

HWND PageHwnd(COptionsDialog& dlg) { return dlg.CurrentPage() ? dlg.CurrentPage()->m_hWnd : nullptr; }

int ChildDialogs(HWND dlg) {
  int n = 0;
  for (HWND c = ::GetWindow(dlg, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
    char cls[32] = {};
    ::GetClassNameA(c, cls, sizeof(cls));
    if (std::string(cls) == "#32770") ++n;
  }
  return n;
}

int BitmapPictures(HWND page) {
  int n = 0;
  for (HWND c = ::GetWindow(page, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT))
    if (::SendMessageA(c, STM_GETIMAGE, IMAGE_BITMAP, 0)) ++n;
  return n;
}

// The page is the dialog's only page, shown, and placed beside the tree.
void ExpectPage(COptionsDialog& dlg, OptionPage kind, int probeControl) {
  EXPECT_EQ(dlg.CurrentPageKind(), kind);
  HWND page = PageHwnd(dlg);
  ASSERT_NE(page, nullptr);
  EXPECT_TRUE(::IsWindowVisible(page));
  EXPECT_EQ(::GetParent(page), dlg.m_hWnd);
  EXPECT_EQ(ChildDialogs(dlg.m_hWnd), 1);
  if (probeControl) {
    EXPECT_NE(::GetDlgItem(page, probeControl), nullptr);
  }
  RECT client;
  ::GetClientRect(dlg.m_hWnd, &client);
  RECT rc;
  ::GetWindowRect(page, &rc);
  ::MapWindowPoints(nullptr, dlg.m_hWnd, reinterpret_cast<POINT*>(&rc), 2);
  const PageBox box = PagePlacement(client.left, client.top, client.right, client.bottom);
  EXPECT_EQ(rc.left, box.x);
  EXPECT_EQ(rc.top, box.y);
  EXPECT_EQ(rc.right - rc.left, box.width);
  EXPECT_EQ(rc.bottom - rc.top, box.height);
}

TEST_F(OptionsTest, OpensOnTheAboutPageAndTheTreeSwitchesPages) {
  CScriptParent parent;
  CScriptedChoosers choosers;
  COptionsDialog dlg(&parent, &choosers);
  HWND previous = nullptr;
  std::vector<Step> steps = {
      [&](COptionsDialog& d) {
        char caption[64] = {};
        ::GetWindowTextA(d.m_hWnd, caption, sizeof(caption));
        EXPECT_STREQ(caption, "Qorn media player");
        HWND tree = d.GetDlgItem(IDC_OPTIONS_TREE);
        HTREEITEM root = TreeItem(tree, nullptr, TVGN_ROOT);
        EXPECT_EQ(TreeText(tree, root), "Velk");
        EXPECT_EQ(TreeItem(tree, root, TVGN_NEXT), nullptr);
        HTREEITEM first = TreeItem(tree, root, TVGN_CHILD);
        EXPECT_EQ(TreeText(tree, first), "Skin");
        HTREEITEM second = TreeItem(tree, first, TVGN_NEXT);
        EXPECT_EQ(TreeText(tree, second), "Playlist");
        EXPECT_EQ(TreeItem(tree, second, TVGN_NEXT), nullptr);
        const UINT state = static_cast<UINT>(
            ::SendMessageA(tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(root), TVIS_EXPANDED));
        EXPECT_TRUE(state & TVIS_EXPANDED);
        // The about page before anything was selected, with its two pictures.
        ExpectPage(d, OptionPage::About, 0);
        EXPECT_EQ(BitmapPictures(PageHwnd(d)), 2);
        previous = PageHwnd(d);
        SelectTreeText(d, "Skin");
      },
      [&](COptionsDialog& d) {
        ExpectPage(d, OptionPage::Skin, IDC_SKIN_MAIN_PATH);
        EXPECT_FALSE(::IsWindow(previous));  // the old page is gone
        SelectTreeText(d, "Playlist");
      },
      [&](COptionsDialog& d) {
        ExpectPage(d, OptionPage::Playlist, IDC_LIST_MODE_BITMAP);
        previous = PageHwnd(d);
        SelectTreeText(d, "Velk");
      },
      [&](COptionsDialog& d) {
        ExpectPage(d, OptionPage::About, 0);
        EXPECT_FALSE(::IsWindow(previous));
        EXPECT_EQ(BitmapPictures(PageHwnd(d)), 2);
      },
  };
  EXPECT_EQ(parent.Run(dlg, steps), IDOK);
  EXPECT_EQ(parent.announcements, 0);  // looking writes nothing
  EXPECT_EQ(dlg.CurrentPage(), nullptr);
  EXPECT_EQ(choosers.colourCalls, 0);
}

struct SwatchCase {
  const char* page;
  int id;
  const char* section;  // as the reading window spells it
  const char* key;
  COLORREF def;
};

const SwatchCase kSwatchCases[] = {
    {"Skin", IDC_SKIN_SLIDER, "Qorn mediaplayer", "slider", 0x808040},
    {"Skin", IDC_SKIN_TIME, "Qorn mediaplayer", "time", 0xFFFF00},
    {"Skin", IDC_SKIN_TIME_BACK, "Qorn mediaplayer", "bktime", 0x400040},
    {"Skin", IDC_SKIN_VOLUME, "Qorn mediaplayer", "volume", 0x004080},
    {"Playlist", IDC_LIST_TEXT_NORMAL, "playlist", "Textnorcolor", 0xFFFFFF},
    {"Playlist", IDC_LIST_TEXT_PLAYING, "playlist", "Textplaycolor", 0x7FFFFF},
    {"Playlist", IDC_LIST_BACK_NORMAL, "playlist", "Bknorcolor", 0x3C2814},
    {"Playlist", IDC_LIST_BACK_SELECTED, "playlist", "Bkselcolor", 0x785028},
};

const CColorSwatchButton* SwatchOf(COptionsDialog& d, int id) {
  auto* page = static_cast<COptionPage*>(d.CurrentPage());
  return page ? page->Swatch(id) : nullptr;
}

TEST_F(OptionsTest, EachSwatchWritesItsKeyAndAnnouncesIt) {
  CScriptParent parent;
  CScriptedChoosers choosers;
  COptionsDialog dlg(&parent, &choosers);
  std::vector<Step> steps;
  int expected = 0;
  COLORREF chosen = 0x102030;
  for (const SwatchCase& c : kSwatchCases) {
    steps.push_back([&, c](COptionsDialog& d) {
      SelectTreeText(d, c.page);
      const CColorSwatchButton* swatch = SwatchOf(d, c.id);
      ASSERT_NE(swatch, nullptr) << c.key;
      EXPECT_EQ(swatch->Colour(), c.def) << c.key;  // nothing stored: the default
      // A cancelled chooser changes and announces nothing.
      choosers.confirm = false;
      Click(PageHwnd(d), c.id);
      EXPECT_EQ(store_.GetInt(c.section, c.key, -1), -1) << c.key;
      choosers.confirm = true;
      choosers.colour = ++chosen;
      Click(PageHwnd(d), c.id);
      EXPECT_EQ(choosers.owners.back(), PageHwnd(d));
    });
    steps.push_back([&, c](COptionsDialog& d) {
      ++expected;
      EXPECT_EQ(parent.announcements, expected) << c.key;
      EXPECT_EQ(store_.GetInt(c.section, c.key, -1), static_cast<int32_t>(chosen)) << c.key;
      EXPECT_EQ(SwatchOf(d, c.id)->Colour(), chosen) << c.key;
      // Another page and back: the new page reads what was written.
      SelectTreeText(d, "Velk");
      SelectTreeText(d, c.page);
      EXPECT_EQ(SwatchOf(d, c.id)->Colour(), chosen) << c.key;
    });
  }
  EXPECT_EQ(parent.Run(dlg, steps), IDOK);
  EXPECT_EQ(parent.announcements, 8);
  EXPECT_TRUE(parent.plainAnnouncements);
  EXPECT_EQ(choosers.colourCalls, 16);
}

TEST_F(OptionsTest, SkinFilesAndBaseSkinWriteOnlyTheirWindow) {
  store_.WriteString("", "AppPath", "C:\\Velk");
  store_.WriteString("Qorn mediaplayer", "SkinPathName", "C:\\Velk\\Skins\\main.bmp");
  store_.WriteString("VideoWindow", "SkinPathName", "C:\\Velk\\Skins\\video.jpg");
  CScriptParent parent;
  CScriptedChoosers choosers;
  COptionsDialog dlg(&parent, &choosers);
  std::vector<Step> steps = {
      [&](COptionsDialog& d) {
        SelectTreeText(d, "Skin");
        EXPECT_EQ(ControlText(PageHwnd(d), IDC_SKIN_MAIN_PATH), "C:\\Velk\\Skins\\main.bmp");
        EXPECT_EQ(ControlText(PageHwnd(d), IDC_SKIN_VIDEO_PATH), "C:\\Velk\\Skins\\video.jpg");
        // A GIF from another folder is taken as it is.
        choosers.file = "D:\\elsewhere\\Odd Skin.gif";
        Click(PageHwnd(d), IDC_SKIN_MAIN_CHANGE);
        ASSERT_EQ(choosers.fileRequests.size(), 1u);
        const FileRequest& r = choosers.fileRequests[0];
        EXPECT_EQ(r.defaultExt, "bmp");
        EXPECT_EQ(r.initialName, "C:\\Velk\\Skins\\*.*");
        EXPECT_EQ(r.filter, "Image File(*.bmp;*.jpg;*.gif)|*.bmp;*.jpg;*.gif|");
        EXPECT_EQ(choosers.owners.back(), PageHwnd(d));
      },
      [&](COptionsDialog& d) {
        EXPECT_EQ(parent.announcements, 1);
        EXPECT_EQ(store_.GetString("Qorn mediaplayer", "SkinPathName", "?"), "D:\\elsewhere\\Odd Skin.gif");
        EXPECT_EQ(ControlText(PageHwnd(d), IDC_SKIN_MAIN_PATH), "D:\\elsewhere\\Odd Skin.gif");
        auto* page = static_cast<CSkinOptionsPage*>(d.CurrentPage());
        EXPECT_EQ(page->MainSkinPath(), "D:\\elsewhere\\Odd Skin.gif");
        Click(PageHwnd(d), IDC_SKIN_MAIN_BASE);
      },
      [&](COptionsDialog& d) {
        // The main window goes back to the base skin; the video window keeps its own.
        EXPECT_EQ(parent.announcements, 2);
        EXPECT_EQ(store_.GetString("Qorn mediaplayer", "SkinPathName", "?"), "");
        EXPECT_EQ(store_.GetString("VideoWindow", "SkinPathName", "?"), "C:\\Velk\\Skins\\video.jpg");
        EXPECT_EQ(ControlText(PageHwnd(d), IDC_SKIN_MAIN_PATH), "");
        EXPECT_EQ(ControlText(PageHwnd(d), IDC_SKIN_VIDEO_PATH), "C:\\Velk\\Skins\\video.jpg");
        choosers.confirm = false;
        Click(PageHwnd(d), IDC_SKIN_VIDEO_CHANGE);
      },
      [&](COptionsDialog& d) {
        EXPECT_EQ(parent.announcements, 2);  // cancelled
        EXPECT_EQ(store_.GetString("VideoWindow", "SkinPathName", "?"), "C:\\Velk\\Skins\\video.jpg");
        choosers.confirm = true;
        choosers.file = "C:\\Velk\\Skins\\night.bmp";
        Click(PageHwnd(d), IDC_SKIN_VIDEO_CHANGE);
      },
      [&](COptionsDialog& d) {
        EXPECT_EQ(parent.announcements, 3);
        EXPECT_EQ(store_.GetString("VideoWindow", "SkinPathName", "?"), "C:\\Velk\\Skins\\night.bmp");
        EXPECT_EQ(store_.GetString("Qorn mediaplayer", "SkinPathName", "?"), "");
        Click(PageHwnd(d), IDC_SKIN_VIDEO_BASE);
      },
      [&](COptionsDialog& d) {
        EXPECT_EQ(parent.announcements, 4);
        EXPECT_EQ(store_.GetString("VideoWindow", "SkinPathName", "?"), "");
        EXPECT_EQ(ControlText(PageHwnd(d), IDC_SKIN_VIDEO_PATH), "");
      },
  };
  EXPECT_EQ(parent.Run(dlg, steps), IDOK);
  EXPECT_EQ(parent.announcements, 4);
  // Closing wrote nothing more.
  EXPECT_EQ(store_.GetString("VideoWindow", "SkinPathName", "?"), "");
}

bool Checked(HWND page, int id) {
  return ::SendMessageA(::GetDlgItem(page, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

TEST_F(OptionsTest, BackgroundPictureKeepsTheModeTheRadiosWriteIt) {
  CScriptParent parent;
  CScriptedChoosers choosers;
  COptionsDialog dlg(&parent, &choosers);
  std::vector<Step> steps = {
      [&](COptionsDialog& d) {
        SelectTreeText(d, "Playlist");
        HWND page = PageHwnd(d);
        EXPECT_TRUE(Checked(page, IDC_LIST_MODE_COLOUR));
        EXPECT_FALSE(Checked(page, IDC_LIST_MODE_BITMAP));
        EXPECT_EQ(ControlText(page, IDC_LIST_BACK_PATH), "");  // nothing stored, nothing shown
        choosers.file = "C:\\pictures\\back.jpg";
        Click(page, IDC_LIST_BACK_CHANGE);
        ASSERT_EQ(choosers.fileRequests.size(), 1u);
        EXPECT_EQ(choosers.fileRequests[0].defaultExt, "bmp");
        EXPECT_EQ(choosers.fileRequests[0].initialName, "");
        EXPECT_EQ(choosers.fileRequests[0].filter, "Image File(*.bmp;*.jpg;*.gif)|*.bmp;*.jpg;*.gif|");
      },
      [&](COptionsDialog& d) {
        HWND page = PageHwnd(d);
        EXPECT_EQ(parent.announcements, 1);
        EXPECT_EQ(store_.GetString("playlist", "bkpath", "?"), "C:\\pictures\\back.jpg");
        EXPECT_EQ(store_.GetInt("playlist", "bkmode", -1), -1);  // the mode is untouched
        EXPECT_TRUE(Checked(page, IDC_LIST_MODE_COLOUR));
        EXPECT_EQ(ControlText(page, IDC_LIST_BACK_PATH), "C:\\pictures\\back.jpg");
        Click(page, IDC_LIST_MODE_BITMAP);
      },
      [&](COptionsDialog& d) {
        EXPECT_EQ(parent.announcements, 2);
        EXPECT_EQ(store_.GetInt("playlist", "bkmode", -1), 11);
        EXPECT_TRUE(Checked(PageHwnd(d), IDC_LIST_MODE_BITMAP));
        Click(PageHwnd(d), IDC_LIST_MODE_COLOUR);
      },
      [&](COptionsDialog&) {
        EXPECT_EQ(parent.announcements, 3);
        EXPECT_EQ(store_.GetInt("playlist", "bkmode", -1), 10);
        EXPECT_EQ(store_.GetString("playlist", "bkpath", "?"), "C:\\pictures\\back.jpg");
      },
  };
  EXPECT_EQ(parent.Run(dlg, steps), IDOK);
}

TEST_F(OptionsTest, StoredModeChecksItsRadio) {
  struct Row {
    int32_t stored;
    bool bitmap;
  } rows[] = {{11, true}, {10, false}, {0, true}};
  for (const Row& r : rows) {
    store_.WriteInt("playlist", "bkmode", r.stored);
    store_.WriteString("playlist", "bkpath", "C:\\pictures\\tile.bmp");
    CScriptParent parent;
    CScriptedChoosers choosers;
    COptionsDialog dlg(&parent, &choosers);
    std::vector<Step> steps = {[&](COptionsDialog& d) {
      SelectTreeText(d, "Playlist");
      EXPECT_EQ(Checked(PageHwnd(d), IDC_LIST_MODE_BITMAP), r.bitmap) << r.stored;
      EXPECT_EQ(Checked(PageHwnd(d), IDC_LIST_MODE_COLOUR), !r.bitmap) << r.stored;
      EXPECT_EQ(ControlText(PageHwnd(d), IDC_LIST_BACK_PATH), "C:\\pictures\\tile.bmp");
    }};
    EXPECT_EQ(parent.Run(dlg, steps), IDOK);
    EXPECT_EQ(parent.announcements, 0);
    EXPECT_EQ(store_.GetInt("playlist", "bkmode", -1), r.stored);
  }
}

// A dialog without an owner: an announcement has nowhere to go and is dropped.
class CSelfDrivenDialog : public COptionsDialog {
 public:
  using COptionsDialog::COptionsDialog;

 protected:
  bool OnInitDialog() override {
    COptionsDialog::OnInitDialog();
    // Without an owner there is no idle message to drive a script by.
    PostMessage(WM_PLAYER_OPTIONSCHANGED);
    PostMessage(WM_COMMAND, MAKEWPARAM(IDC_OPTIONS_CLOSE, BN_CLICKED));
    return true;
  }
};

TEST_F(OptionsTest, AnAnnouncementWithoutAParentIsDropped) {
  CScriptedChoosers choosers;
  CSelfDrivenDialog dlg(nullptr, &choosers);
  EXPECT_EQ(dlg.DoModal(), IDOK);
}

}  // namespace
}  // namespace velk::options::test
