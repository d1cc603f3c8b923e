// Program entry. The main window is not built yet; until then the program
// names itself and ends.
#include <windows.h>

#include "lang/text_table.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    Texts().SetDefaults();
    const std::string name = Texts().LookupText("tarnu_name");
    MessageBoxA(nullptr, (name + " 1.79: the main window is not built yet.").c_str(), name.c_str(), MB_OK);
    return 0;
}
