// Another process in the way: holds one file open, shared with no one. Writes
// "held" once the file is open and lets it go when its input ends.
#include <windows.h>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: hold_open FILE\n", stderr);
        return 2;
    }
    const HANDLE file = CreateFileA(argv[1], GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        std::fprintf(stderr, "hold_open: cannot open %s (error %lu)\n", argv[1], GetLastError());
        return 1;
    }
    // Straight to the handle: the C library would make the line end "\r\n".
    DWORD got = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), "held\n", 5, &got, nullptr);
    char byte = 0;
    const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    while (ReadFile(input, &byte, 1, &got, nullptr) && got > 0) {
    }
    CloseHandle(file);
    return 0;
}
