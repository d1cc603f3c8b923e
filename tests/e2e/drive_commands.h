#pragma once
// What tarnu_drive can do to the running program, each as a user would do it
// through the window: every command finds the main window afresh, prints what
// it found out on stdout and throws DriveError when it cannot do its work.

#include <windows.h>

#include <string>

class Driver {
  public:
    // programPath: the program whose window counts; empty for any.
    explicit Driver(std::string programPath) : programPath(std::move(programPath)) {}

    // Waits until the main window is open and answers; prints its title.
    void Find(int seconds);
    // Puts text into a visible, enabled edit box.
    void Type(int id, const std::string& text);
    // Clicks a visible, enabled button and returns once the window has dealt
    // with the click, or once the click has opened a question (printed).
    void Click(int id);
    // Gives the window command id as a menu item or a key does (IDOK: Enter),
    // returning as Click does.
    void Command(int id);
    // Prints the open question's text; fails when none is open.
    void Question();
    // Waits for a question, clicks its "yes", "no" or "cancel" and returns
    // once the window has dealt with the answer.
    void Answer(const std::string& choice, int seconds);
    // Waits until no job runs: both job buttons enabled again and no byte
    // counts in the title. Fails at once on an open question.
    void WaitIdle(int seconds);
    // Clicks job button id and prints the seconds until both job buttons are
    // enabled again, as a user times a job, then the slowest of the window's
    // answers to a message asked every 20 ms meanwhile and their number.
    // Fails on a question.
    void TimeJob(int id, int seconds);
    // Waits until a running job shows its byte counts in the title; prints
    // the title. Fails when the job ends first.
    void WaitProgress(int seconds);
    // Prints a control's text; id 0 is the window's title.
    void PrintText(int id);
    // Prints the number of rows in the log.
    void PrintRows();
    // Prints how many of the log's rows are drawn in the error colour; rows
    // are scrolled into view one by one and read back from the screen.
    void PrintErrorRows();
    // Waits for the language chooser that opens before the main window,
    // picks the language of that name and presses OK.
    void ChooseLanguage(const std::string& name, int seconds);
    // Right-clicks the window and waits for its options menu.
    void OpenMenu();
    // Closes an open menu, as Escape does.
    void CloseMenu();
    // Closes the window and waits for the program to end; prints its exit code.
    void Close(int seconds);

  private:
    struct JobState {
        std::string title;
        bool running = false;        // a job button is disabled
        bool progressShown = false;  // the title shows byte counts
    };
    // Fails on an open question: no job state is known while one waits.
    JobState ReadJobState() const;
    HWND MainWindow() const;
    HWND Control(HWND mainWindow, int id, const char* className) const;
    void SendCommand(HWND window, WPARAM wParam, LPARAM lParam) const;

    std::string programPath;
};

// Prints a file's attributes and last-write time as Windows sees them, in a
// form that compares as text: "PATH attributes=0x00000021 written=133...".
void PrintFileInfo(const std::string& path);
