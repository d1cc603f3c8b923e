#pragma once
// The rules of file_system.h that data safety relies on, checked on real
// files against each platform's FileSystem (file_system_contract_test.cpp).
// A suite that compiles the contract defines MakeContractRig for its platform.

#include <memory>
#include <string>

#include "fs/file_system.h"

// What a platform does not keep, so the contract does not ask it.
struct ContractLimits {
    bool keepsCreationTime = true;
    // Of read-only, hidden and archive, the bits a status round trip keeps.
    uint32_t keptAttributes = attr::kReadOnly | attr::kHidden | attr::kArchive;
    bool setsTimesOfReadOnlyFile = true;
    bool keepsMode = false;  // the permission bits of FileStatus
};

// The file system under test, and a fresh folder for one test.
class ContractRig {
  public:
    virtual ~ContractRig() = default;
    virtual FileSystem& Fs() = 0;
    // The path of name in the folder, in the seam's form.
    virtual std::string In(const std::string& name) const = 0;
    // The seam makes no folders: the platform does.
    virtual bool MakeFolder(const std::string& path) = 0;
    // A second name for a file's content, as a backup's hard link makes one.
    virtual bool Link(const std::string& existing, const std::string& path) = 0;
    virtual ContractLimits Limits() const = 0;
};

std::unique_ptr<ContractRig> MakeContractRig();
