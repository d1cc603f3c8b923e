#include "tests/support/fs_faults.h"

namespace {
template <typename Map>
std::optional<FsFault> Take(Map& planned, const typename Map::key_type& key) {
    const auto it = planned.find(key);
    if (it == planned.end()) return std::nullopt;
    const FsFault fault = it->second;
    planned.erase(it);
    return fault;
}
}  // namespace

std::optional<FsFault> FaultPlan::Next(FsOp op) {
    const uint64_t call = ++calls_;
    const int opCall = ++opCalls_[op];
    if (hook_) hook_(op, call);
    // Both selectors may name the same call; it fails once and both are spent.
    const std::optional<FsFault> byCall = Take(byCall_, call);
    const std::optional<FsFault> byOp = Take(byOp_, {op, opCall});
    if (call > frozenAfter_) return FsFault::AccessDenied;
    return byCall ? byCall : byOp;
}
