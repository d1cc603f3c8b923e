#include "ui/language_dlg.h"

#include "lang/language_file.h"
#include "lang/text_table.h"
#include "platform/files_matching.h"
#include "platform/message_table.h"
#include "res/resource.h"

void ReportRetireFailure(HWND owner, const std::string& path) {
    const std::string text = Texts().LookupText("error_language_file_retire") + "\n" + path;
    ::MessageBoxA(owner, text.c_str(), Texts().LookupText("tarnu_name").c_str(),
                  MB_OK | MB_ICONWARNING);
}

CLanguageDlg::CLanguageDlg(CWnd* parent) : CDialog(IDD_LANGUAGE, parent) {}

void CLanguageDlg::DoDataExchange() { BindControl(IDC_LANGUAGE_LIST, languageList); }

int CLanguageDlg::FillLanguageList() {
    filePaths.clear();
    for (const std::string& path : FilesMatching(folder, "*.zen")) {
        const std::string name = ReadLanguageName(files, path);
        if (name.empty()) continue;
        const LRESULT row =
            languageList.SendMessage(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
        if (row < 0) continue;
        languageList.SendMessage(LB_SETITEMDATA, WPARAM(row), LPARAM(filePaths.size()));
        filePaths.push_back(path);
    }
    return int(filePaths.size());
}

// With nothing to offer the dialog ends before it is ever shown.
bool CLanguageDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    if (FillLanguageList() <= 0) OnCancel();
    return true;
}

// A failed move keeps the dialog open: the files moved so far stay moved,
// and OK starts over, so the user can still cancel.
void CLanguageDlg::OnOK() {
    const LRESULT row = languageList.SendMessage(LB_GETCURSEL);
    const LRESULT index = row < 0 ? LB_ERR : languageList.SendMessage(LB_GETITEMDATA, WPARAM(row));
    if (index < 0 || size_t(index) >= filePaths.size()) {
        OnCancel();
        return;
    }
    chosenPath = filePaths[size_t(index)];
    for (size_t other = 0; other < filePaths.size(); ++other) {
        if (other == size_t(index) || RetireLanguageFile(files, filePaths[other])) continue;
        ReportRetireFailure(GetSafeHwnd(), filePaths[other]);
        return;
    }
    EndDialog(IDOK);
}

void CLanguageDlg::OnCancel() {
    chosenPath.clear();
    EndDialog(IDCANCEL);
}

bool CLanguageDlg::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    static constexpr MessageEntry<CLanguageDlg> kMessages[] = {
        OnCommand(IDC_LANGUAGE_LIST, &CLanguageDlg::OnDoubleClick, LBN_DBLCLK),
    };
    return DispatchMessageTable(this, kMessages, message, wParam, lParam, result) ||
           CDialog::HandleMessage(message, wParam, lParam, result);
}
