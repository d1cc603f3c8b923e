// tarnu_drive: drives a running tarnu.exe through its window, one command per
// run, for the end-to-end tests and the demonstration. Exit code 0 when the
// command did its work, 1 when it could not (the reason on stderr), 2 on a
// wrong command line.

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/e2e/drive_commands.h"
#include "tests/e2e/target_windows.h"

namespace {

const char kUsage[] =
    "usage: tarnu_drive [--program PATH] [--desktop NAME] COMMAND [ARGUMENTS]\n"
    "  --program PATH            only the window of this tarnu.exe counts\n"
    "  --desktop NAME            look on this desktop (a virtual desktop of explorer)\n"
    "commands:\n"
    "  find [SECONDS]            wait for the main window (30 s)\n"
    "  type ID TEXT              put TEXT into edit box ID\n"
    "  click ID                  click button ID\n"
    "  command ID                give the window a command, as a menu item or Enter (1) does\n"
    "  question                  print the open question\n"
    "  answer yes|no|cancel      answer the question (waits 10 s for it)\n"
    "  wait-idle [SECONDS]       wait until no job runs (60 s)\n"
    "  time-job ID [SECONDS]     click job button ID, print the seconds until it ends (600 s)\n"
    "                            and the window's slowest answer meanwhile, and when it\n"
    "                            was asked\n"
    "  wait-progress [SECONDS]   wait until the running job shows progress (10 s)\n"
    "  text ID                   print a control's text; 0: the title\n"
    "  rows                      print the number of log rows\n"
    "  error-rows                print the number of log rows drawn as errors\n"
    "  choose-language NAME [SECONDS]  pick a language in the chooser (30 s)\n"
    "  menu                      open the options menu with a right click\n"
    "  menu-close                close the open menu\n"
    "  close [SECONDS]           close the window, wait for the program to end (30 s)\n"
    "  file-info PATH...         print files' attributes and last-write times\n";

struct UsageError {};

int Number(const std::string& text) {
    char* end = nullptr;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || value < 0) throw UsageError();
    return int(value);
}

// Windows of another desktop can be found only from a thread on it. A
// desktop that explorer is still making gets the given time to appear.
void UseDesktop(const std::string& name, int seconds) {
    const ULONGLONG end = GetTickCount64() + ULONGLONG(seconds) * 1000;
    HDESK desktop;
    while (!(desktop = OpenDesktopA(name.c_str(), 0, FALSE, GENERIC_ALL))) {
        if (GetTickCount64() >= end) throw DriveError("no desktop " + name);
        Sleep(50);
    }
    if (!SetThreadDesktop(desktop)) throw DriveError("desktop " + name + " cannot be used");
}

void Run(std::vector<std::string> args) {
    std::string program, desktop;
    while (args.size() >= 2 && (args[0] == "--program" || args[0] == "--desktop")) {
        (args[0] == "--program" ? program : desktop) = args[1];
        args.erase(args.begin(), args.begin() + 2);
    }
    if (args.empty()) throw UsageError();
    const std::string command = args[0];
    const size_t count = args.size() - 1;
    if (!desktop.empty())
        UseDesktop(desktop, command == "find" && count == 1 ? Number(args[1]) : 5);
    if (command == "file-info" && count > 0) {
        for (size_t i = 1; i <= count; ++i) PrintFileInfo(args[i]);
        return;
    }
    auto arg = [&](size_t i, const char* fallback) {
        if (i <= count) return args[i];
        if (!fallback) throw UsageError();
        return std::string(fallback);
    };
    if (count > 2) throw UsageError();
    const bool noneOrOne = count <= 1;
    Driver driver(program);
    if (command == "find" && noneOrOne) return driver.Find(Number(arg(1, "30")));
    if (command == "type" && count == 2)
        return driver.Type(Number(arg(1, nullptr)), arg(2, nullptr));
    if (command == "click" && count == 1) return driver.Click(Number(arg(1, nullptr)));
    if (command == "command" && count == 1) return driver.Command(Number(arg(1, nullptr)));
    if (command == "question" && count == 0) return driver.Question();
    if (command == "answer" && count == 1) return driver.Answer(arg(1, nullptr), 10);
    if (command == "wait-idle" && noneOrOne) return driver.WaitIdle(Number(arg(1, "60")));
    if (command == "time-job" && (count == 1 || count == 2))
        return driver.TimeJob(Number(arg(1, nullptr)), Number(arg(2, "600")));
    if (command == "wait-progress" && noneOrOne) return driver.WaitProgress(Number(arg(1, "10")));
    if (command == "text" && count == 1) return driver.PrintText(Number(arg(1, nullptr)));
    if (command == "rows" && count == 0) return driver.PrintRows();
    if (command == "error-rows" && count == 0) return driver.PrintErrorRows();
    if (command == "choose-language" && count >= 1)
        return driver.ChooseLanguage(arg(1, nullptr), Number(arg(2, "30")));
    if (command == "menu" && count == 0) return driver.OpenMenu();
    if (command == "menu-close" && count == 0) return driver.CloseMenu();
    if (command == "close" && noneOrOne) return driver.Close(Number(arg(1, "30")));
    throw UsageError();
}

}  // namespace

int main(int argc, char** argv) {
    try {
        Run(std::vector<std::string>(argv + 1, argv + argc));
        std::fflush(stdout);
        return 0;
    } catch (const UsageError&) {
        std::fputs(kUsage, stderr);
        return 2;
    } catch (const std::exception& error) {  // a DriveError, or the runtime failing
        std::fflush(stdout);
        std::fprintf(stderr, "tarnu_drive: %s\n", error.what());
        return 1;
    }
}
