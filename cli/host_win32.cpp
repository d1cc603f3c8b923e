#include "cli/host.h"
#include "platform/full_path.h"
#include "platform/program_paths.h"
#include "platform/win32_file_system.h"

std::unique_ptr<FileSystem> MakeHostFileSystem() { return std::make_unique<Win32FileSystem>(); }

void DescribeHost(WorkerThread& worker) {
    const ProgramPaths paths = ReadProgramPaths();
    worker.programPath = paths.programPath;
    worker.programFolder = paths.programFolder;
    worker.systemDrive = paths.systemDrive;
    worker.systemDirectory = paths.systemDirectory;
    worker.windowsDirectory = paths.windowsDirectory;
}

std::string WorkerPath(const std::string& userPath) { return CanonicalPath(userPath); }

std::string UserText(const std::string& line) { return line; }
