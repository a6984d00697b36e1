// The options dialog: a tree of pages on the left ("Velk" with "Skin" and
// "Playlist"), one page at a time on the right. Pages write every change at
// once and announce it; the dialog passes the announcement on to its parent.
//   COptionsDialog(this).DoModal();
#pragma once

#include <memory>

#include "platform/framework/Dialog.h"
#include "player/options/OptionChoosers.h"
#include "player/options/OptionsRules.h"

namespace velk::options {

class COptionsDialog : public fw::CDialog {
 public:
  // choosers: null for the system's own.
  explicit COptionsDialog(fw::CWnd* parent, IOptionChoosers* choosers = nullptr);
  ~COptionsDialog() override;

  OptionPage CurrentPageKind() const { return pageKind_; }
  fw::CDialog* CurrentPage() const { return page_.get(); }

  VELK_DECLARE_MESSAGE_TABLE()

 protected:
  bool OnInitDialog() override;

 private:
  bool OnTreeSelChanged(fw::MsgArgs& m);
  bool OnClose(fw::MsgArgs& m);
  bool OnOptionsChanged(fw::MsgArgs& m);
  bool OnDestroy(fw::MsgArgs& m);
  void FillTree();
  void ShowPage(OptionPage kind);
  void DestroyPage();

  IOptionChoosers& choosers_;
  std::unique_ptr<fw::CDialog> page_;
  OptionPage pageKind_ = OptionPage::None;
};

}  // namespace velk::options
