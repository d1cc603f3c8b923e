#pragma once
// CAboutDlg: the product's name and version, with links to the translator of
// the current language, the author and the maker. Template 130.

#include <string>

#include "platform/button.h"
#include "platform/dialog.h"
#include "ui/link_button.h"
#include "ui/open_target.h"

// The project's own addresses.
inline constexpr char kAuthorName[] = "Tarnu developers";
inline constexpr char kAuthorPage[] = "https://tarnu.example.org/developers/";
inline constexpr char kAuthorMail[] = "mailto:tarnu@tarnu.example.org";
inline constexpr char kMakerSite[] = "https://tarnu.example.org/quenmora/";

class CAboutDlg : public CDialog {
  public:
    explicit CAboutDlg(CWnd* parent = nullptr);

    std::string versionLine;  // set before DoModal
    TargetOpener openTarget = OpenWithShell;

  protected:
    void DoDataExchange() override;
    bool OnInitDialog() override;
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

  private:
    friend class AboutDlgProbe;  // tests look inside

    void Open(const std::string& target) { openTarget(GetSafeHwnd(), target); }
    void OpenTextTarget(const char* key, const char* prefix);
    void OnMakerLink() { Open(kMakerSite); }
    void OnTranslatorLink() { OpenTextTarget("tarnu_regionalization_by_url", ""); }
    void OnTranslatorMailLink() { OpenTextTarget("tarnu_regionalization_by_email", "mailto:"); }
    void OnAuthorLink() { Open(kAuthorPage); }
    void OnAuthorMailLink() { Open(kAuthorMail); }

    CButton okButton;
    CLinkButton makerLink, translatorLink, translatorMailLink, authorLink, authorMailLink;
};
