// Win32FileSystem under the shared contract (file_system_contract_test.cpp).
// As root this suite runs through without_override.sh: Wine keeps read-only
// as the Unix write permission, which root would pass.

#include "platform/win32_file_system.h"

#include <windows.h>

#include "tests/support/file_system_contract.h"
#include "tests/wine/temp_folder.h"

namespace {

class Win32Rig : public ContractRig {
  public:
    FileSystem& Fs() override { return fs; }
    std::string In(const std::string& name) const override { return dir / name; }
    bool MakeFolder(const std::string& path) override {
        return CreateDirectoryA(path.c_str(), nullptr) != 0;
    }
    bool Link(const std::string& existing, const std::string& path) override {
        return CreateHardLinkA(path.c_str(), existing.c_str(), nullptr) != 0;
    }
    // Wine does not keep everything: the creation time is not stored (it
    // reports the last-write time instead), and every file has the archive
    // bit, which cannot be cleared. Read-only is the Unix write permission,
    // and a user's read-only file takes no new times; hidden and system live
    // in an extended attribute. Windows keeps them all.
    ContractLimits Limits() const override {
        ContractLimits limits;
        limits.keepsCreationTime = !UnderWine();
        limits.setsTimesOfReadOnlyFile = !UnderWine();
        return limits;
    }

  private:
    TempFolder dir;
    Win32FileSystem fs;
};

}  // namespace

std::unique_ptr<ContractRig> MakeContractRig() { return std::make_unique<Win32Rig>(); }
