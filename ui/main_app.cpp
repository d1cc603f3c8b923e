// CMainApp: the application object. Its whole life is the main window.
#include "platform/win_app.h"
#include "ui/main_dlg.h"

class CMainApp : public CWinApp {
  public:
    bool InitInstance() override {
        CMainDlg dialog;
        mainWindow = &dialog;
        dialog.DoModal();
        mainWindow = nullptr;
        return false;
    }
};

CMainApp theApp;
