// Dialogs from resource templates, modal or modeless, on the same message
// tables as windows. A handler that returns true has handled the message and
// its result is the dialog's answer; the rest goes to the system's dialog
// handling. IDOK runs the data exchange in the saving direction and closes
// with IDOK; IDCANCEL closes with IDCANCEL.
#pragma once

#include "platform/framework/Wnd.h"

namespace velk::fw {

class CDialog : public CWnd {
 public:
  CDialog(UINT templateId, CWnd* parent) : templateId_(templateId), parent_(parent) {}

  // Runs the dialog modally; IDOK, IDCANCEL, the EndDialog code, or -1 when it
  // could not be created.
  INT_PTR DoModal();
  // Creates the dialog modeless (an option page inside another dialog, say).
  bool CreateModeless(CWnd* parent);
  void EndDialog(INT_PTR result);

  // Moves the values between the controls and the object: saving = true reads
  // the controls. False stops an OK.
  virtual bool DoDataExchange(bool saving);
  bool UpdateData(bool saving) { return DoDataExchange(saving); }

  HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
  std::string GetDlgItemText(int id) const;
  void SetDlgItemText(int id, const std::string& text) const;
  UINT TemplateId() const { return templateId_; }
  CWnd* Parent() const { return parent_; }

  VELK_DECLARE_MESSAGE_TABLE()

 protected:
  // After the controls exist; the base loads them with DoDataExchange(false).
  // Return true to let the system set the focus.
  virtual bool OnInitDialog();
  virtual void OnOK();
  virtual void OnCancel();
  LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  bool OnOkCommand(MsgArgs& m);
  bool OnCancelCommand(MsgArgs& m);

  UINT templateId_;
  CWnd* parent_;
  bool modal_ = false;
};

}  // namespace velk::fw
