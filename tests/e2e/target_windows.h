#pragma once
// Tarnu's windows as another process sees them: the main dialog and the
// question box it opens over itself, found among the desktop's top-level
// windows and read through window messages.

#include <windows.h>

#include <stdexcept>
#include <string>

// Why a command could not do its work; main prints it and fails.
struct DriveError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The main dialog: a visible top-level dialog that holds the Cipher,
// Decipher and log controls. With a program path (a Windows path, or a Linux
// one taken as seen through drive Z:) only a window of that program counts;
// another test's dialog on the same desktop is not mistaken for it.
HWND FindMainWindow(const std::string& programPath);

// A visible dialog of the main window's process other than the main window
// itself: a question the program waits on. nullptr when none is open.
HWND FindQuestionBox(HWND mainWindow);

// The text of a window of another process; a hung window fails the command.
std::string ReadText(HWND window);

// A Linux path names the same file through drive Z:; a Windows path stays.
std::string WindowsPath(std::string path);

// Whether the window's thread takes a message within the given time.
bool Responds(HWND window, DWORD milliseconds);

// Seconds since the command started, for messages.
double ElapsedSeconds();
