#pragma once
// CLanguageDlg: lists the language files ("*.zen") of a folder by the name on
// their "language" line and lets the user pick one. Picking retires every
// other listed file; the caller loads the picked one and then retires it.
// Ends unseen when there is nothing to offer. Template 132.

#include <string>
#include <vector>

#include "platform/dialog.h"
#include "platform/win32_file_system.h"

class CLanguageDlg : public CDialog {
  public:
    explicit CLanguageDlg(CWnd* parent = nullptr);

    std::string folder;      // set before DoModal; no trailing backslash
    std::string chosenPath;  // the picked file; empty unless one was confirmed

    // Adds a row for every file with a usable "language" line; how many.
    int FillLanguageList();

  protected:
    void DoDataExchange() override;
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

  private:
    void OnDoubleClick() { OnOK(); }

    std::vector<std::string> filePaths;  // a row's item data indexes this
    CWnd languageList;
    Win32FileSystem files;
};

// Tells the user that path could not be moved to path + ".old".
void ReportRetireFailure(HWND owner, const std::string& path);
