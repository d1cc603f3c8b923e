// The Send To shortcut and the ".cpy" file type, switched from the options
// menu against the test prefix's real Send To folder and registry, with the
// menu's check marks read after each switch.
#include <gtest/gtest.h>

#include <thread>
// clang-format off
#include <windows.h>
#include <shlobj.h>
// clang-format on

#include "lang/text_table.h"
#include "res/resource.h"
#include "shell/file_type.h"
#include "shell/folder_path.h"
#include "shell/send_to.h"
#include "shell/shortcut.h"
#include "tests/wine/main_dlg_probe.h"
#include "tests/wine/registry_sandbox.h"
#include "tests/wine/window_harness.h"
#include "ui/main_dlg.h"

namespace {

const char kClasses[] = "Software\\Classes\\";

bool Checked(HMENU menu, UINT id) { return GetMenuState(menu, id, MF_BYCOMMAND) & MF_CHECKED; }

std::string SendToFolder() {
    std::string folder;
    EXPECT_TRUE(GetSpecialFolderPath(nullptr, CSIDL_SENDTO, &folder));
    return folder;
}

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The icon location is not part of what the program reads back.
int IconIndexOf(const std::string& shortcut) {
    CoInitialize(nullptr);
    int index = -1;
    IShellLinkA* link = nullptr;
    IPersistFile* file = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                   reinterpret_cast<void**>(&link))) &&
        SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        std::wstring wide(shortcut.begin(), shortcut.end());
        char iconPath[MAX_PATH] = {};
        if (SUCCEEDED(file->Load(wide.c_str(), STGM_READ)))
            link->GetIconLocation(iconPath, MAX_PATH, &index);
    }
    if (file) file->Release();
    if (link) link->Release();
    CoUninitialize();
    return index;
}

class ShellIntegrationTest : public ::testing::Test {
  protected:
    void SetUp() override {
        Texts().SetDefaults();
        ClearSendTo();
    }
    void TearDown() override { ClearSendTo(); }

    void ClearSendTo() {
        WIN32_FIND_DATAA found;
        const HANDLE search = FindFirstFileA((folder + "\\*.lnk").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE) return;
        do DeleteFileA((folder + "\\" + found.cFileName).c_str());
        while (FindNextFileA(search, &found));
        FindClose(search);
    }

    void Switch(HWND hwnd, UINT id) {
        MainDlgProbe::UpdateMenu(dialog);  // as the menu does before it opens
        SendMessageA(hwnd, WM_COMMAND, id, 0);
        MainDlgProbe::UpdateMenu(dialog);
    }

    RegistrySandbox extensionKey{std::string(kClasses) + ".cpy"};
    RegistrySandbox typeKey{std::string(kClasses) + "Tarnu"};
    const std::string folder = SendToFolder();
    CMainDlg dialog;
};

TEST_F(ShellIntegrationTest, SendToCreatesOneShortcutToTheProgram) {
    RunModalWith(dialog, [&](HWND hwnd) {
        const HMENU menu = MainDlgProbe::Menu(dialog);
        MainDlgProbe::UpdateMenu(dialog);
        EXPECT_FALSE(Checked(menu, IDM_SENDTO));
        Switch(hwnd, IDM_SENDTO);
        EXPECT_TRUE(Checked(menu, IDM_SENDTO));

        const std::string shortcut = folder + "\\" + Texts().LookupText("link_title") + ".lnk";
        std::string target, arguments, description;
        ASSERT_TRUE(ReadShortcut(shortcut, &target, &arguments, &description));
        EXPECT_EQ(lstrcmpiA(target.c_str(), MainDlgProbe::ProgramPath(dialog).c_str()), 0)
            << target;
        EXPECT_EQ(arguments, "");
        EXPECT_EQ(description, Texts().LookupText("link_comment"));
        EXPECT_EQ(IconIndexOf(shortcut), 0);

        // Deleted by hand: the next menu shows it off, and switching creates it again.
        ASSERT_TRUE(DeleteFileA(shortcut.c_str()));
        MainDlgProbe::UpdateMenu(dialog);
        EXPECT_FALSE(Checked(menu, IDM_SENDTO));
        Switch(hwnd, IDM_SENDTO);
        EXPECT_TRUE(Exists(shortcut));
    });
}

// Off deletes every shortcut whose target is named like the program, in any
// folder and letter case, a drive's root included; others stay.
TEST_F(ShellIntegrationTest, SendToOffDeletesEveryShortcutToTheProgram) {
    RunModalWith(dialog, [&](HWND hwnd) {
        std::string upper = MainDlgProbe::ProgramFileName(dialog);
        CharUpperA(&upper[0]);
        const std::string program = MainDlgProbe::ProgramFileName(dialog);
        const struct {
            const char* name;
            std::string target;
            bool qualifies;
        } shortcuts[] = {
            {"copy.lnk", "C:\\elsewhere\\" + upper, true},
            {"other name.lnk", "D:\\deep\\folder\\" + program, true},
            {"root.lnk", "C:\\" + program, true},
            {"unrelated.lnk", "C:\\windows\\notepad.exe", false},
        };
        for (const auto& s : shortcuts)
            ASSERT_TRUE(CreateShortcut(folder + "\\" + s.name, s.target, "", "test"));
        MainDlgProbe::UpdateMenu(dialog);
        EXPECT_TRUE(Checked(MainDlgProbe::Menu(dialog), IDM_SENDTO));

        // One is held open a moment, as the shell or a virus scanner holds a
        // new file: it goes once let go.
        const HANDLE held = CreateFileA((folder + "\\copy.lnk").c_str(), GENERIC_READ,
                                        FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(held, INVALID_HANDLE_VALUE);
        std::thread letGo([held] {
            Sleep(200);
            CloseHandle(held);
        });
        Switch(hwnd, IDM_SENDTO);
        letGo.join();
        for (const auto& s : shortcuts)
            EXPECT_EQ(Exists(folder + "\\" + s.name), !s.qualifies) << s.name;
        EXPECT_FALSE(Checked(MainDlgProbe::Menu(dialog), IDM_SENDTO));
    });
}

TEST(SendToRules, TargetsCountByTheirFileNameAfterABackslash) {
    EXPECT_TRUE(IsProgramTarget("C:\\tarnu.exe", "TARNU.EXE"));
    EXPECT_TRUE(IsProgramTarget("\\\\server\\share\\Tarnu.exe", "tarnu.exe"));
    EXPECT_FALSE(IsProgramTarget("tarnu.exe", "tarnu.exe"));
    EXPECT_FALSE(IsProgramTarget("\\tarnu.exe", "tarnu.exe"));
    EXPECT_FALSE(IsProgramTarget("C:\\tarnu.exe.bak", "tarnu.exe"));
    // A title that is no plain file name makes no shortcut anywhere.
    std::string path;
    for (const char* title : {"", "..\\Desktop\\x", "a/b", "c:x"})
        EXPECT_FALSE(SendToShortcutPath(nullptr, title, &path)) << title;
}

// The keys as written below the user's classes, with the command that hands
// an opened file to the program.
TEST_F(ShellIntegrationTest, FileTypeSwitchesOnAndOff) {
    RunModalWith(dialog, [&](HWND hwnd) {
        const HMENU menu = MainDlgProbe::Menu(dialog);
        Switch(hwnd, IDM_EXT);
        EXPECT_TRUE(Checked(menu, IDM_EXT));
        const std::string command = "\"" + MainDlgProbe::ProgramPath(dialog) + "\" \"%1\"";
        const struct {
            std::string key, data;
        } values[] = {
            {".cpy", "Tarnu"},
            {"Tarnu", Texts().LookupText("link_comment")},
            {"Tarnu\\shell", "open"},
            {"Tarnu\\shell\\open\\command", command},
        };
        for (const auto& v : values) {
            const RegistryValue stored = GetRawValue(kClasses + v.key, "");
            EXPECT_EQ(stored.type, DWORD(REG_SZ)) << v.key;
            EXPECT_EQ(stored.data, StringBytes(v.data)) << v.key;
        }
        std::string read;
        EXPECT_TRUE(IsFileTypeRegistered(&read));
        EXPECT_EQ(read, command);

        Switch(hwnd, IDM_EXT);
        EXPECT_FALSE(Checked(menu, IDM_EXT));
        EXPECT_FALSE(extensionKey.Exists());
        EXPECT_FALSE(typeKey.Exists());
    });
}

// What counts as registered: both keys, and a string command of at most 259
// bytes.
TEST_F(ShellIntegrationTest, OnlyACompleteRegistrationCounts) {
    const std::string commandKey = std::string(kClasses) + "Tarnu\\shell\\open\\command";
    std::string command;
    PutRawValue(std::string(kClasses) + ".cpy", "", REG_SZ, StringBytes("Tarnu"));
    EXPECT_FALSE(IsFileTypeRegistered(&command));  // the command key is missing
    const struct {
        DWORD type;
        std::string data;
        bool counts;
    } cases[] = {
        {REG_SZ, StringBytes(std::string(259, 'x')), true},
        {REG_SZ, StringBytes(std::string(260, 'x')), false},
        {REG_EXPAND_SZ, StringBytes("%ProgramFiles%\\tarnu.exe"), true},
        {REG_BINARY, StringBytes("tarnu.exe"), false},
    };
    for (const auto& c : cases) {
        PutRawValue(commandKey, "", c.type, c.data);
        EXPECT_EQ(IsFileTypeRegistered(&command), c.counts) << c.type << " " << c.data.size();
        if (c.counts) {
            EXPECT_EQ(command + '\0', c.data);
        }
    }
}

// The names come from the language: another type name is written and read
// under that name; an empty one would name the whole classes key, so the
// switch then does nothing at all.
TEST_F(ShellIntegrationTest, FileTypeNamesComeFromTheTexts) {
    const std::string own = Texts().LookupText("tarnu_name");
    RegistrySandbox renamed{std::string(kClasses) + "Tarnu Test Type"};
    Texts().SetText("tarnu_name", "Tarnu Test Type");
    std::string command;
    EXPECT_TRUE(RegisterFileType("C:\\tools\\tarnu.exe"));
    EXPECT_TRUE(IsFileTypeRegistered(&command));
    EXPECT_EQ(GetRawValue(std::string(kClasses) + ".cpy", "").data, StringBytes("Tarnu Test Type"));
    EXPECT_TRUE(renamed.Exists());
    EXPECT_FALSE(typeKey.Exists());

    Texts().SetText("tarnu_name", "");
    EXPECT_FALSE(RegisterFileType("C:\\tools\\tarnu.exe"));
    EXPECT_FALSE(UnregisterFileType());
    EXPECT_FALSE(IsFileTypeRegistered(&command));
    EXPECT_TRUE(extensionKey.Exists());
    EXPECT_TRUE(renamed.Exists());
    Texts().SetText("tarnu_name", own);
}

}  // namespace
