// The resources linked into the program (and into this test): the version,
// the icon in both sizes, and the main dialog's template with the controls
// the code reaches by id.
#include <gtest/gtest.h>
#include <windows.h>

#include <set>
#include <string>

#include "res/resource.h"
#include "res/version.h"
#include "tests/wine/window_harness.h"

namespace {

const void* Resource(const char* type, const char* name, DWORD* size) {
    const HRSRC found = FindResourceA(nullptr, name, type);
    if (!found) return nullptr;
    *size = SizeofResource(nullptr, found);
    return LockResource(LoadResource(nullptr, found));
}

TEST(Resources, VersionIsTheProjects) {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(path, &ignored);
    ASSERT_GT(size, 0u);
    std::string data(size, '\0');
    ASSERT_TRUE(GetFileVersionInfoA(path, 0, size, &data[0]));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(MAKELONG(TARNU_VERSION_MINOR, TARNU_VERSION_MAJOR), fixed->dwProductVersionMS);
    EXPECT_EQ(MAKELONG(TARNU_VERSION_TWEAK, TARNU_VERSION_PATCH), fixed->dwProductVersionLS);
    EXPECT_EQ(fixed->dwFileVersionMS, fixed->dwProductVersionMS);
    EXPECT_EQ(fixed->dwFileVersionLS, fixed->dwProductVersionLS);
}

// Title and task bars take images drawn for 100 % to 150 % scaling.
TEST(Resources, IconHasImagesFromSixteenToFortyEightPixels) {
    DWORD size = 0;
    const auto* group =
        static_cast<const BYTE*>(Resource(RT_GROUP_ICON, MAKEINTRESOURCEA(IDI_TARNU), &size));
    ASSERT_NE(nullptr, group);
    // A group directory: 6 bytes of header, then 14 bytes per image, width first.
    const int count = group[4] | (group[5] << 8);
    std::set<int> widths;
    for (int i = 0; i < count; ++i) widths.insert(group[6 + 14 * i]);
    EXPECT_EQ((std::set<int>{16, 20, 24, 32, 40, 48}), widths);
    for (int edge : {16, 24, 32, 48}) {
        const HANDLE icon = LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_TARNU),
                                       IMAGE_ICON, edge, edge, 0);
        EXPECT_NE(nullptr, icon) << edge;
        DestroyIcon(static_cast<HICON>(icon));
    }
}

// The window heights are cut at the three hidden markers: compact above log
// above full, and the full height inside the template.
TEST(Resources, MainTemplateHasTheMarkersInOrderAndTheControlsTheCodeReaches) {
    CDialog dialog(IDD_MAIN);
    RunModalWith(dialog, [](HWND hwnd) {
        auto topOf = [hwnd](int id) {
            RECT rect = {};
            const HWND item = GetDlgItem(hwnd, id);
            EXPECT_NE(nullptr, item) << id;
            EXPECT_FALSE(IsWindowVisible(item)) << id;
            GetWindowRect(item, &rect);
            MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&rect), 2);
            return rect.top;
        };
        const int compact = topOf(IDC_MARK_COMPACT);
        const int log = topOf(IDC_MARK_LOG);
        const int full = topOf(IDC_MARK_FULL);
        EXPECT_LT(compact, log);
        EXPECT_LT(log, full);
        RECT client;
        GetClientRect(hwnd, &client);
        EXPECT_LE(full, client.bottom);

        // The progress control only marks a place (its class must exist for
        // the template to load at all).
        char className[64] = {};
        GetClassNameA(GetDlgItem(hwnd, IDC_PROGRESS_PLACE), className, sizeof className);
        EXPECT_STREQ("msctls_progress32", className);
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(hwnd, IDC_PROGRESS_PLACE)));
        EXPECT_FALSE(IsWindowVisible(GetDlgItem(hwnd, IDC_PROGRESS_PLACE)));

        // The confirmation box starts hidden; the icon sends clicks.
        EXPECT_FALSE(IsWindowVisible(GetDlgItem(hwnd, IDC_CONFIRM_EDIT)));
        EXPECT_TRUE(GetWindowLongA(GetDlgItem(hwnd, IDC_PROGRAM_ICON), GWL_STYLE) & SS_NOTIFY);
        EXPECT_TRUE(GetWindowLongA(hwnd, GWL_EXSTYLE) & WS_EX_APPWINDOW);
    });
}

}  // namespace
