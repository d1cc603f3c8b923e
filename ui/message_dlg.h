#pragma once
// CMessageDlg: shows one text (a log line) in full, read-only, with a COPY
// button that puts the whole text on the clipboard. Template 131.

#include <string>

#include "platform/button.h"
#include "platform/dialog.h"
#include "platform/edit.h"
#include "platform/window_dpi.h"

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
    LRESULT OnDpiChanged(WPARAM wParam, LPARAM lParam);
    void SetControlFont(HFONT newFont);

    CButton copyButton;
    CEdit textEdit;
    CButton okButton;
    HFONT font = nullptr;        // of the three controls; lives as long as the window
    LOGFONTA fontDescription{};  // at the DPI the window opened at
    ChildPlaces controlPlaces;
};
