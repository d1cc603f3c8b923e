#pragma once
// CMessageDlg: shows one text (a log line) in full, read-only, with a COPY
// button that puts the whole text on the clipboard. Template 131.

#include <string>

#include "platform/button.h"
#include "platform/dialog.h"
#include "platform/edit.h"

class CMessageDlg : public CDialog {
  public:
    explicit CMessageDlg(CWnd* parent = nullptr);

    std::string text;  // set before DoModal

  protected:
    void DoDataExchange() override;
    bool OnInitDialog() override;
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

  private:
    void OnCopy();
    LRESULT OnDestroy(WPARAM wParam, LPARAM lParam);

    CButton copyButton;
    CEdit textEdit;
    CButton okButton;
    HFONT font = nullptr;  // of the three controls; lives as long as the window
};
