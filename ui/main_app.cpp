// CMainApp: the application object. The main window is not built yet; until
// then the program names itself and ends.
#include <windows.h>

#include "lang/text_table.h"
#include "platform/win_app.h"

class CMainApp : public CWinApp {
  public:
    bool InitInstance() override {
        Texts().SetDefaults();
        const std::string name = Texts().LookupText("tarnu_name");
        MessageBoxA(nullptr, (name + " 1.79: the main window is not built yet.").c_str(),
                    name.c_str(), MB_OK | MB_ICONINFORMATION);
        return false;
    }
};

CMainApp theApp;
