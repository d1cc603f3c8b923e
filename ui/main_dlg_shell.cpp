// CMainDlg: the commands that reach into the shell: the Send To shortcut,
// the ".cpy" file type, the About dialog and the product's web page. Their
// check marks are not stored: the menu looks for them each time it opens.
#include "ui/main_dlg.h"

// clang-format off
#include <windows.h>
#include <shlobj.h>
// clang-format on

#include "lang/text_table.h"
#include "shell/file_type.h"
#include "shell/send_to.h"
#include "shell/shortcut.h"
#include "ui/about_dlg.h"

void CMainDlg::LookForShellItems() {
    std::string found;
    sendToPresent = FindSendToShortcut(GetSafeHwnd(), programFileName, &found);
    fileTypePresent = IsFileTypeRegistered(&found);
}

// A failed creation shows as unchecked the next time the menu opens.
void CMainDlg::OnToggleSendTo() {
    if (sendToPresent) {
        RemoveSendToShortcuts();
        return;
    }
    std::string path;
    if (SendToShortcutPath(GetSafeHwnd(), Texts().LookupText("link_title"), &path))
        CreateShortcut(path, programPath, "", Texts().LookupText("link_comment"));
    sendToPresent = true;
}

// Every shortcut to the program goes, whatever its name. Another program
// that has one open (the shell reading it, a virus scanner) keeps it from
// being deleted, or listed once deleted, until it lets go: a shortcut is
// tried again for a second before the removal ends with a message naming it.
void CMainDlg::RemoveSendToShortcuts() {
    constexpr int kTries = 20;
    constexpr DWORD kPauseMilliseconds = 50;
    std::string path, deleted;
    for (int tries = 0; FindSendToShortcut(GetSafeHwnd(), programFileName, &path);) {
        if (path != deleted && ::DeleteFileA(path.c_str())) {
            deleted = path;
            tries = 0;
        } else if (++tries < kTries) {
            ::Sleep(kPauseMilliseconds);
        } else {
            const std::string text = Texts().LookupText("error_shortcut_remove") + "\n" + path;
            ::MessageBoxA(GetSafeHwnd(), text.c_str(), Texts().LookupText("tarnu_name").c_str(),
                          MB_OK | MB_ICONERROR);
            return;
        }
    }
    sendToPresent = false;
}

void CMainDlg::OnToggleFileType() {
    if (fileTypePresent) {
        UnregisterFileType();
        fileTypePresent = false;
    } else {
        RegisterFileType(programPath);
        fileTypePresent = true;
    }
}

void CMainDlg::OnAbout() {
    CAboutDlg about(this);
    about.versionLine = Texts().LookupText("tarnu_name") + " version  " + versionText + "  Release";
    about.openTarget = openTarget;
    about.DoModal();
}

void CMainDlg::OnSitePage() { openTarget(GetSafeHwnd(), Texts().LookupText("tarnu_site_url")); }
