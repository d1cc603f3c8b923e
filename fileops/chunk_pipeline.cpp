#include "fileops/chunk_pipeline.h"

#include "crypto/wipe.h"

ChunkPipeline::Result ChunkPipeline::Run(File& from, File& to, uint64_t expected,
                                         const Step& step) {
    if (expected < kChunkSize) return RunInTurn(from, to, step);  // nothing to overlap
    if (others.empty()) others.resize((kSlots - 1) * kChunkSize);
    source = &from;
    output = &to;
    read = stepped = 0;
    stepsOver = movingOver = false;
    movingEnd = End::kWhole;
    if (!mover.Hand([this] { Move(); })) return RunInTurn(from, to, step);
    return RunOverlapped(step);
}

ChunkPipeline::Result ChunkPipeline::RunInTurn(File& from, File& to, const Step& step) {
    Result result;
    for (size_t length = kChunkSize; length == kChunkSize;) {
        if (stop) return {End::kStopped, result.total};
        if (!from.Read(first.data(), kChunkSize, &length)) return {End::kReadFailed, result.total};
        if (!step(first.data(), length)) return {End::kRefused, result.total};
        if (!to.Write(first.data(), length)) return {End::kWriteFailed, result.total};
        written += length;
        result.total += length;
    }
    return result;
}

// A failed call or a Stop that the helper met ends the body before what the
// step found in a later chunk: the original loop would have met it first.
ChunkPipeline::Result ChunkPipeline::RunOverlapped(const Step& step) {
    Result result;
    size_t length = kChunkSize;
    for (size_t chunk = 0; length == kChunkSize && AwaitRead(chunk, &length); ++chunk) {
        if (stop) {
            result.end = End::kStopped;
            break;
        }
        if (!step(Slot(chunk), length)) {
            result.end = End::kRefused;
            break;
        }
        result.total += length;
        HandToWriter(chunk);
    }
    {
        std::lock_guard<Mutex> lock(mutex);
        stepsOver = true;
    }
    changed.notify_all();
    mover.Wait();
    if (movingEnd != End::kWhole) result.end = movingEnd;
    return result;
}

bool ChunkPipeline::AwaitRead(size_t chunk, size_t* length) {
    std::unique_lock<Mutex> lock(mutex);
    changed.wait(lock, [&] { return read > chunk || movingOver; });
    if (read <= chunk || movingEnd != End::kWhole) return false;
    *length = got[chunk % kSlots];
    return true;
}

void ChunkPipeline::HandToWriter(size_t chunk) {
    {
        std::lock_guard<Mutex> lock(mutex);
        stepped = chunk + 1;
    }
    changed.notify_all();
}

// On the helper. Whatever ends it, the calling thread must hear of it.
void ChunkPipeline::Move() {
    End end = End::kReadFailed;
    try {
        end = MoveChunks();
    } catch (...) {
        EndMoving(end);
        throw;
    }
    EndMoving(end);
}

uint8_t* ChunkPipeline::Slot(size_t chunk) {
    const size_t slot = chunk % kSlots;
    return slot ? others.data() + (slot - 1) * kChunkSize : first.data();
}

// Before chunk n is written, the chunks up to n+2 are read (a short one ends
// the reading), chunk n+2 into the buffer that chunk n-1 was written from.
ChunkPipeline::End ChunkPipeline::MoveChunks() {
    size_t last = kChunkSize;  // length of the chunk read last
    for (size_t chunk = 0;; ++chunk) {
        for (size_t next = read; last == kChunkSize && next < chunk + kSlots; ++next) {
            if (stop) return End::kStopped;
            if (!ReadChunk(next)) return End::kReadFailed;
            last = got[next % kSlots];
        }
        const size_t length = got[chunk % kSlots];
        if (!AwaitStep(chunk)) return End::kWhole;  // the calling thread ended the body
        if (!output->Write(Slot(chunk), length)) return End::kWriteFailed;
        written += length;
        if (length < kChunkSize) return End::kWhole;
    }
}

bool ChunkPipeline::ReadChunk(size_t chunk) {
    size_t length = 0;
    if (!source->Read(Slot(chunk), kChunkSize, &length)) return false;
    {
        std::lock_guard<Mutex> lock(mutex);
        got[chunk % kSlots] = length;
        read = chunk + 1;
    }
    changed.notify_all();
    return true;
}

bool ChunkPipeline::AwaitStep(size_t chunk) {
    std::unique_lock<Mutex> lock(mutex);
    changed.wait(lock, [&] { return stepped > chunk || stepsOver; });
    return stepped > chunk;
}

void ChunkPipeline::EndMoving(End end) {
    {
        std::lock_guard<Mutex> lock(mutex);
        movingEnd = end;
        movingOver = true;
    }
    changed.notify_all();
}

void ChunkPipeline::Wipe() {
    WipeBytes(first.data(), first.size());
    WipeBytes(others.data(), others.size());
}
