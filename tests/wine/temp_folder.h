#pragma once
// Real files for the tests that run under Wine.

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "platform/win32_code_page.h"
#include "platform/win32_file_system.h"

// A fresh folder under the temporary folder, removed with all it holds.
class TempFolder {
  public:
    TempFolder() {
        char temp[MAX_PATH];
        const DWORD length = GetTempPathA(MAX_PATH, temp);
        EXPECT_TRUE(length > 0 && length < MAX_PATH);
        path_ = std::string(temp) + "tarnu-" + std::to_string(GetCurrentProcessId()) + "-" +
                std::to_string(GetTickCount64());
        EXPECT_TRUE(CreateDirectoryA(path_.c_str(), nullptr)) << path_;
    }
    ~TempFolder() { Remove(path_); }

    std::string operator/(const std::string& name) const { return path_ + "\\" + name; }
    const std::string& Path() const { return path_; }

  private:
    // In UTF-16: the ANSI listing may spell a name as a path elsewhere.
    static void Remove(const std::string& folder) { Remove(WideFromSystem(folder)); }
    static void Remove(const std::wstring& folder) {
        WIN32_FIND_DATAW data;
        const HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                const std::wstring name = data.cFileName;
                if (name == L"." || name == L"..") continue;
                const std::wstring path = folder + L"\\" + name;
                SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                    Remove(path);
                } else {
                    DeleteFileW(path.c_str());
                }
            } while (FindNextFileW(find, &data));
            FindClose(find);
        }
        RemoveDirectoryW(folder.c_str());
    }

    std::string path_;
};

// Every file below folder, by path.
inline void ListTree(const std::string& folder, std::vector<std::string>* files) {
    WIN32_FIND_DATAA data;
    const HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        const std::string name = data.cFileName;
        if (name == "." || name == "..") continue;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            ListTree(folder + "\\" + name, files);
        } else {
            files->push_back(folder + "\\" + name);
        }
    } while (FindNextFileA(find, &data));
    FindClose(find);
}

inline bool UnderWine() {
    return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
}

// A whole file through the product's own file API.
inline std::vector<uint8_t> ReadWholeFile(const std::string& path) {
    Win32FileSystem fs;
    std::unique_ptr<File> file = fs.OpenReadWrite(path);
    if (!file) return {};
    uint64_t length = 0;
    file->Length(&length);
    std::vector<uint8_t> bytes(length);
    size_t got = 0;
    file->Read(bytes.data(), bytes.size(), &got);
    return bytes;
}

// Replaces any file of that name: the product's Create never does.
inline void WriteWholeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    Win32FileSystem fs;
    fs.Delete(path);
    std::unique_ptr<File> file = fs.Create(path);
    ASSERT_TRUE(file && file->Write(bytes.data(), bytes.size()) && file->Close()) << path;
}

// The same by a UTF-16 name, which the code page may not spell.
inline std::vector<uint8_t> ReadWideFile(const std::wstring& path) {
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {};
    std::vector<uint8_t> bytes(GetFileSize(file, nullptr));
    DWORD got = 0;
    if (!bytes.empty()) ReadFile(file, bytes.data(), DWORD(bytes.size()), &got, nullptr);
    CloseHandle(file);
    bytes.resize(got);
    return bytes;
}

inline void WriteWideFile(const std::wstring& path, const std::vector<uint8_t>& bytes) {
    const HANDLE file =
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD wrote = 0;
    EXPECT_TRUE(WriteFile(file, bytes.data(), DWORD(bytes.size()), &wrote, nullptr));
    CloseHandle(file);
}
