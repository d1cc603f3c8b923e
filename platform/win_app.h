#pragma once
// CWinApp: the process's application object. The program defines exactly one,
// as a global; the entry point (win_main.cpp) calls its InitInstance.

#include <windows.h>

class CWnd;

class CWinApp {
  public:
    CWinApp();
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // The program's start. False ends the process at once; true runs a
    // message loop until WM_QUIT.
    virtual bool InitInstance() { return false; }
    // The message loop; its result is the process's exit code.
    virtual int Run();

    // The application object, or nullptr when the program defines none.
    static CWinApp* Current();

    HINSTANCE instance = nullptr;
    CWnd* mainWindow = nullptr;
};
