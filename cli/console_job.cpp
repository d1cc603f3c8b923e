#include "cli/console_job.h"

#include "crypto/wipe.h"

int RunConsoleJob(WorkerThread& worker, ConsoleOwner& owner, const CliOptions& options,
                  std::string& password) {
    FileProcessor& processor = worker.Processor();
    processor.wipeZero = options.wipeZero;
    processor.wipeRandom = options.wipeRandom;
    processor.writeReadOnly = options.writeReadOnly;
    worker.jobPaths = options.paths;
    worker.password = password;
    WipeString(password);
    worker.StartJob(options.command == CliCommand::kEncrypt ? kJobEncrypt : kJobDecrypt);
    return owner.WaitForJob();
}
