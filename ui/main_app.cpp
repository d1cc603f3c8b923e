// CMainApp: the application object. Its whole life is the main window.
#include "lang/built_in_english.h"
#include "platform/win_app.h"
#include "ui/main_dlg.h"

class CMainApp : public CWinApp {
  public:
    // English wherever no language file or cache has a text, from the
    // language chooser on.
    bool InitInstance() override {
        Texts().SetFallback(&BuiltInEnglish());
        CMainDlg dialog;
        mainWindow = &dialog;
        dialog.DoModal();
        mainWindow = nullptr;
        return false;
    }
};

CMainApp theApp;
