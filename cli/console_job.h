#pragma once
// One encrypt or decrypt job of tarnu-cli, through the worker the window
// uses: the same walk, refusals and report lines.

#include <string>

#include "cli/cli_options.h"
#include "cli/console_owner.h"
#include "engine/worker_thread.h"

// Runs the job and returns its exit status (ConsoleOwner::WaitForJob). The
// worker must have been started with owner. The password is wiped once the
// worker has it (the worker wipes its own when the job ends).
int RunConsoleJob(WorkerThread& worker, ConsoleOwner& owner, const CliOptions& options,
                  std::string& password);
