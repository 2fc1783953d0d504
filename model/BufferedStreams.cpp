// Read-ahead and write-behind buffers in front of another stream.
#include "model/BufferedStreams.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace {
constexpr std::size_t BufferSize = 64 * 1024;
}

// ---- Reading ----

TReadAheadStream::TReadAheadStream(TStream* Source)
    : FSource(Source)
    , FBuffer(BufferSize)
    , FSourcePosition(Source->Position())
{
}

TReadAheadStream::~TReadAheadStream()
{
    if (FNext != FEnd)
        FSource->Seek(FSourcePosition - std::int64_t(FEnd - FNext), soBeginning);
}

bool TReadAheadStream::Refill()
{
    const std::int64_t Got = FSource->Read(FBuffer.data(), std::int64_t(FBuffer.size()));
    FNext = 0;
    FEnd = Got > 0 ? std::size_t(Got) : 0;
    FSourcePosition += std::int64_t(FEnd);
    return FEnd > 0;
}

std::int64_t TReadAheadStream::Read(void* Buffer, std::int64_t Count)
{
    char* Out = static_cast<char*>(Buffer);
    std::int64_t Done = 0;
    while (Done < Count) {
        if (FNext == FEnd) {
            // Large reads go straight to the source.
            if (Count - Done >= std::int64_t(FBuffer.size())) {
                const std::int64_t Got = FSource->Read(Out + Done, Count - Done);
                if (Got > 0) {
                    FSourcePosition += Got;
                    Done += Got;
                }
                return Done;
            }
            if (!Refill())
                break;
        }
        const std::size_t Step = std::min(FEnd - FNext, std::size_t(Count - Done));
        std::memcpy(Out + Done, FBuffer.data() + FNext, Step);
        FNext += Step;
        Done += std::int64_t(Step);
    }
    return Done;
}

std::int64_t TReadAheadStream::Seek(std::int64_t Offset, TSeekOrigin Origin)
{
    const std::int64_t Current = FSourcePosition - std::int64_t(FEnd - FNext);
    std::int64_t Target = Offset;
    if (Origin == soCurrent)
        Target = Current + Offset;
    else if (Origin == soEnd)
        Target = Size() + Offset;
    const std::int64_t BufferStart = FSourcePosition - std::int64_t(FEnd);
    if (Target >= BufferStart && Target <= FSourcePosition) {
        FNext = std::size_t(Target - BufferStart);
        return Target;
    }
    FNext = FEnd = 0;
    FSourcePosition = FSource->Seek(Target, soBeginning);
    return FSourcePosition;
}

std::int64_t TReadAheadStream::Size()
{
    if (FSize < 0) {
        FSize = FSource->Size();
        // Size may have moved the source; put it back where the buffer expects it.
        FSource->Seek(FSourcePosition, soBeginning);
    }
    return FSize;
}

// ---- Writing ----

TWriteBehindStream::TWriteBehindStream(TStream* Target)
    : FTarget(Target)
    , FBuffer(BufferSize)
{
}

std::int64_t TWriteBehindStream::Write(const void* Buffer, std::int64_t Count)
{
    if (Count <= 0)
        return 0;
    char* Room = ReserveWrite(Count);
    if (!Room)
        return FTarget->Write(Buffer, Count);
    std::memcpy(Room, Buffer, std::size_t(Count));
    CommitWrite(Count);
    return Count;
}

// Room in the buffer, flushed first when the bytes do not fit behind what waits; a
// block as large as the buffer goes straight to the target.
char* TWriteBehindStream::ReserveWrite(std::int64_t Count)
{
    if (Count <= 0)
        return nullptr;
    if (FUsed + std::size_t(Count) > BufferSize)
        Flush();
    if (std::size_t(Count) >= BufferSize)
        return nullptr;
    return FBuffer.data() + FUsed;
}

std::int64_t TWriteBehindStream::Seek(std::int64_t Offset, TSeekOrigin Origin)
{
    if (Origin == soCurrent && Offset == 0)
        return FTarget->Seek(0, soCurrent) + std::int64_t(FUsed);
    Flush();
    return FTarget->Seek(Offset, Origin);
}

void TWriteBehindStream::Flush()
{
    if (FUsed == 0)
        return;
    // Emptied first: a target that fails leaves nothing to be written twice.
    const std::size_t Pending = std::exchange(FUsed, 0);
    FTarget->WriteBuffer(FBuffer.data(), std::int64_t(Pending));
}
