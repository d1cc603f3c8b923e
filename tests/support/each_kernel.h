#pragma once
// Runs a check once per bulk kernel the CPU can run. A kernel it cannot run
// is printed as not run and listed in the test's properties, so that a pass
// never hides a kernel that went untested.

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "crypto/cast128_kernels.h"

template <typename Check>
void ForEachKernel(Check check) {
    std::string run, notRun;
    for (Cast128Kernel kernel : cast128::kAllKernels) {
        const std::string name = cast128::KernelName(kernel);
        if (!cast128::KernelSupported(kernel)) {
            std::printf("not run: %s (this CPU lacks it)\n", name.c_str());
            notRun += name + " ";
            continue;
        }
        SCOPED_TRACE("kernel " + name);
        check(kernel);
        run += name + " ";
    }
    std::printf("kernels run: %s\n", run.c_str());
    ::testing::Test::RecordProperty("kernels_run", run);
    ::testing::Test::RecordProperty("kernels_not_run", notRun);
}
