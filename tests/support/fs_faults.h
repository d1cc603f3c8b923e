#pragma once
// Planned failures for MemoryFileSystem. Every call of the FileSystem, File
// and Finder interfaces is numbered from 1, overall and per kind; a planned
// fault fires on the call it names, once.

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <utility>

enum class FsOp {
    GetAttributes,
    SetAttributes,
    OpenRead,
    OpenReadWrite,
    Create,
    Read,
    Write,
    Seek,
    Length,
    Flush,
    Close,
    GetStatus,
    SetStatus,
    Move,
    Delete,
    Find,
    FindNext,
    Identify,  // the File calls on an open handle
    Rename,
    Remove
};

enum class FsFault { DiskFull, AccessDenied, SharingViolation, ShortRead };

class FaultPlan {
  public:
    // Fails the n-th call of any kind.
    void FailCall(uint64_t n, FsFault fault) { byCall_[n] = fault; }
    // Fails the k-th call of kind op.
    void FailOp(FsOp op, int k, FsFault fault) { byOp_[{op, k}] = fault; }
    // Fails every call after the n-th, as access denied: the process goes on
    // but changes nothing more, as if it had stopped there.
    void FreezeAfter(uint64_t n) { frozenAfter_ = n; }

    // Called at the start of every call with its kind and number: lets a test
    // act in the middle of an operation (press Stop, say).
    void OnCall(std::function<void(FsOp, uint64_t)> hook) { hook_ = std::move(hook); }

    // Counts one call of kind op and gives the fault planned for it, if any.
    std::optional<FsFault> Next(FsOp op);
    uint64_t CallCount() const { return calls_; }

  private:
    std::function<void(FsOp, uint64_t)> hook_;
    uint64_t calls_ = 0;
    uint64_t frozenAfter_ = UINT64_MAX;
    std::map<FsOp, int> opCalls_;
    std::map<uint64_t, FsFault> byCall_;
    std::map<std::pair<FsOp, int>, FsFault> byOp_;
};
