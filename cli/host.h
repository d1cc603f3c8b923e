#pragma once
// What tarnu-cli takes from the system it runs on: its file system, the
// folders a job must leave alone, and texts between the user's form and the
// form the worker walks (Windows paths, spelled in a Windows code page).

#include <memory>
#include <string>
#include <vector>

#include "engine/worker_thread.h"
#include "fs/file_system.h"

// The arguments after the program's name, as main was given them; on
// Windows read from the system as UTF-16, with the patterns expanded here
// (no Windows shell does), each in the system's code page (one it cannot
// spell exactly has '?' where it lacks a character, and WorkerPath refuses
// it).
std::vector<std::string> ProgramArguments(int argc, char** argv);
// Names the code page of stored names and passwords, 0 for the host's
// default; before any other call. Why it cannot be used, or empty.
std::string UseCodePage(unsigned codePage);
std::unique_ptr<FileSystem> MakeHostFileSystem();
// The system folders and the program itself, which no job may touch.
void DescribeHost(WorkerThread& worker);
// A password as the worker keys it (typed: read at the terminal); false when
// the code page cannot hold it.
bool WorkerPassword(const std::string& password, bool typed, std::string* out);
// A path as the user gave it, absolute and in the worker's form; empty, with
// why, when it cannot be made.
std::string WorkerPath(const std::string& userPath, std::string* why);
// A line of the job's log with its paths in the user's form.
std::string UserText(const std::string& line);
