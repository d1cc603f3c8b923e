#include "ui/about_dlg.h"

#include "lang/text_table.h"
#include "platform/message_table.h"
#include "res/resource.h"

namespace {

// A link with nothing behind it is passed over by Tab.
void SetTabStop(CWnd& link, bool on) {
    const HWND hwnd = link.GetSafeHwnd();
    const LONG style = ::GetWindowLongA(hwnd, GWL_STYLE);
    ::SetWindowLongA(hwnd, GWL_STYLE, on ? style | WS_TABSTOP : style & ~WS_TABSTOP);
}

}  // namespace

CAboutDlg::CAboutDlg(CWnd* parent) : CDialog(IDD_ABOUT, parent) {}

void CAboutDlg::DoDataExchange() {
    BindControl(IDOK, okButton);
    BindControl(IDC_MAKER_LINK, makerLink);
    BindControl(IDC_TRANSLATOR_LINK, translatorLink);
    BindControl(IDC_TRANSLATOR_MAIL_LINK, translatorMailLink);
    BindControl(IDC_AUTHOR_LINK, authorLink);
    BindControl(IDC_AUTHOR_MAIL_LINK, authorMailLink);
    GetDlgItem(IDC_VERSION_TEXT).SetWindowText(versionLine);
}

bool CAboutDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    const std::string translator = Texts().LookupText("tarnu_regionalization_by");
    translatorLink.SetWindowText(translator.empty() ? "No Registration" : translator);
    translatorMailLink.SetWindowText(translator.empty() ? "" : "Email");
    authorMailLink.SetWindowText("Email");
    authorLink.SetWindowText(kAuthorName);
    makerLink.SetWindowText("Quenmora");
    okButton.SetWindowText(Texts().LookupText("button_okay"));
    SetTabStop(translatorLink, !Texts().LookupText("tarnu_regionalization_by_url").empty());
    SetTabStop(translatorMailLink, !Texts().LookupText("tarnu_regionalization_by_email").empty());
    return true;
}

bool CAboutDlg::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    static constexpr MessageEntry<CAboutDlg> kMessages[] = {
        OnCommand(IDC_MAKER_LINK, &CAboutDlg::OnMakerLink),
        OnCommand(IDC_TRANSLATOR_LINK, &CAboutDlg::OnTranslatorLink),
        OnCommand(IDC_TRANSLATOR_MAIL_LINK, &CAboutDlg::OnTranslatorMailLink),
        OnCommand(IDC_AUTHOR_LINK, &CAboutDlg::OnAuthorLink),
        OnCommand(IDC_AUTHOR_MAIL_LINK, &CAboutDlg::OnAuthorMailLink),
    };
    return DispatchMessageTable(this, kMessages, message, wParam, lParam, result) ||
           CDialog::HandleMessage(message, wParam, lParam, result);
}

// The translator's links come from the language file; without one they are
// empty and do nothing.
void CAboutDlg::OpenTextTarget(const char* key, const char* prefix) {
    const std::string text = Texts().LookupText(key);
    if (!text.empty()) Open(prefix + text);
}
