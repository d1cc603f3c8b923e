// The program's entry point: hands the process to the application object.
// Linked into the program only (tests have their own main).
#include <windows.h>

#include "platform/win_app.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    CWinApp* app = CWinApp::Current();
    if (!app) return 1;
    app->instance = instance;
    return app->InitInstance() ? app->Run() : 0;
}
