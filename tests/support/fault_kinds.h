#pragma once
// The fault kinds that sweeps try at every call, and their names for traces.

#include <algorithm>
#include <string>
#include <vector>

#include "tests/support/fs_faults.h"

inline const FsFault kAllFaults[] = {FsFault::AccessDenied, FsFault::DiskFull, FsFault::ShortRead,
                                     FsFault::SharingViolation};

inline std::string FaultTrace(FsFault fault, uint64_t call) {
    const char* const names[] = {"disk full", "access denied", "sharing violation", "short read"};
    return std::string(names[int(fault)]) + " at call " + std::to_string(call);
}

inline std::vector<std::string> Sorted(std::vector<std::string> v) {
    std::sort(v.begin(), v.end());
    return v;
}
