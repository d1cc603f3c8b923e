#pragma once
// What tarnu-cli takes from the system it runs on: its file system, the
// folders a job must leave alone, and paths between the user's form and the
// Windows form the worker walks.

#include <memory>
#include <string>

#include "engine/worker_thread.h"
#include "fileops/file_system.h"

std::unique_ptr<FileSystem> MakeHostFileSystem();
// The system folders and the program itself, which no job may touch.
void DescribeHost(WorkerThread& worker);
// A path as the user gave it, absolute and in the worker's form; empty when
// it cannot be made.
std::string WorkerPath(const std::string& userPath);
// A line of the job's log with its paths in the user's form.
std::string UserText(const std::string& line);
