// The main window's start with a language file beside the program: the
// chooser comes up, the picked file's texts reach the controls, and the file
// is retired; when it cannot be, the user is told and the start goes on.
// Runs alone with the other suites of the program's registry keys, since
// the file it puts beside the test programs would bring their chooser up too.
#include <gtest/gtest.h>

#include <string>

#include "platform/program_paths.h"
#include "res/resource.h"
#include "tests/wine/registry_sandbox.h"
#include "tests/wine/temp_folder.h"
#include "tests/wine/window_harness.h"
#include "ui/main_dlg.h"

namespace {

std::string ProgramFolder() { return ReadProgramPaths().programFolder; }

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void Put(const std::string& path, const std::string& text) {
    WriteWholeFile(path, std::vector<uint8_t>(text.begin(), text.end()));
}

// Works the windows that come up before the main one: picks the only
// language in the chooser and closes any message box, keeping its text.
class StartHelper {
  public:
    StartHelper() {
        boxText.clear();
        timer = SetTimer(nullptr, 0, 50, OnTimer);
    }
    ~StartHelper() { KillTimer(nullptr, timer); }
    static inline std::string boxText;

  private:
    static BOOL CALLBACK Look(HWND hwnd, LPARAM) {
        char title[64] = {};
        GetWindowTextA(hwnd, title, sizeof title);
        if (!IsWindowVisible(hwnd)) return TRUE;
        if (std::string(title) == "Tarnu DudOva") {
            SendDlgItemMessageA(hwnd, IDC_LANGUAGE_LIST, LB_SETCURSEL, 0, 0);
            PostMessageA(hwnd, WM_COMMAND, IDOK, 0);
            return FALSE;
        }
        char text[1024] = {};
        if (GetDlgItemTextA(hwnd, 0xFFFF, text, sizeof text)) {
            boxText = text;
            PostMessageA(hwnd, WM_COMMAND, IDOK, 0);
            return FALSE;
        }
        return TRUE;
    }
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD) {
        EnumThreadWindows(GetCurrentThreadId(), Look, 0);
    }
    UINT_PTR timer;
};

class LanguageStartTest : public ::testing::Test {
  protected:
    ~LanguageStartTest() override {
        DeleteFileA(file.c_str());
        DeleteFileA((file + ".old").c_str());
        RemoveDirectoryA((file + ".old").c_str());
    }

    RegistrySandbox registry{kSettingsKeyPath};
    const std::string file = ProgramFolder() + "\\start-test.zen";
};

// A retired copy from an earlier start gives way to the new one.
TEST_F(LanguageStartTest, ThePickedFileIsLoadedAndRetired) {
    Put(file, "language=Start Test\nbutton_cipher=Scramble\n");
    Put(file + ".old", "retired earlier\n");
    StartHelper helper;
    CMainDlg dialog;
    RunModalWith(dialog, [&](HWND hwnd) {
        char text[64] = {};
        GetDlgItemTextA(hwnd, IDC_CIPHER_BUTTON, text, sizeof text);
        EXPECT_STREQ(text, "Scramble");
    });
    EXPECT_EQ(StartHelper::boxText, "");
    EXPECT_FALSE(Exists(file));
    EXPECT_TRUE(Exists(file + ".old"));
}

// The file stays where it was; every later step of the start still runs.
TEST_F(LanguageStartTest, AFailedRetirementIsNamedAndTheStartGoesOn) {
    Put(file, "language=Start Test\nbutton_cipher=Scramble\nmenu_about=About it\n");
    CreateDirectoryA((file + ".old").c_str(), nullptr);
    StartHelper helper;
    CMainDlg dialog;
    RunModalWith(dialog, [&](HWND hwnd) {
        char text[64] = {};
        GetDlgItemTextA(hwnd, IDC_CIPHER_BUTTON, text, sizeof text);
        EXPECT_STREQ(text, "Scramble");  // the control texts come after the report
        EXPECT_TRUE(GetWindowLongA(hwnd, GWL_EXSTYLE) & WS_EX_ACCEPTFILES);  // and so do drops
    });
    EXPECT_NE(StartHelper::boxText.find(file), std::string::npos) << StartHelper::boxText;
    EXPECT_TRUE(Exists(file));
}

}  // namespace
