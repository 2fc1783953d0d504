#pragma once
// Buffers in front of another stream. The tree streams move a few bytes at a time; with
// these a file or any other stream sees one transfer per 64 KiB instead of one per
// field. Both leave the other stream where a direct transfer would have left it.
#include <algorithm>
#include <vector>

#include "platform/framework/Classes.h"

// Reads ahead from Source. When it goes, Source is moved back to the position up to
// which this stream was read.
class TReadAheadStream : public TStream {
public:
    explicit TReadAheadStream(TStream* Source);
    ~TReadAheadStream() override;

    std::int64_t Read(void* Buffer, std::int64_t Count) override;
    // Reading only: writing transfers nothing.
    std::int64_t Write(const void* Buffer, std::int64_t Count) override { return 0; }
    std::int64_t Seek(std::int64_t Offset, TSeekOrigin Origin) override;
    std::int64_t Size() override;

private:
    bool Refill();

    TStream* FSource;
    std::vector<char> FBuffer;
    std::size_t FNext = 0;
    std::size_t FEnd = 0;
    std::int64_t FSourcePosition; // where Source is: just after the buffered bytes
    std::int64_t FSize = -1;
};

// Collects writes for Target. Flush passes them on; what is not flushed when the
// stream goes is lost (the writing failed before it finished).
class TWriteBehindStream : public TStream {
public:
    explicit TWriteBehindStream(TStream* Target);

    std::int64_t Read(void* Buffer, std::int64_t Count) override { return 0; }
    std::int64_t Write(const void* Buffer, std::int64_t Count) override;
    std::int64_t Seek(std::int64_t Offset, TSeekOrigin Origin) override;
    char* ReserveWrite(std::int64_t Count) override;
    void CommitWrite(std::int64_t Count) override { FUsed += std::size_t(Count); }
    void Flush();

private:
    TStream* FTarget;
    std::vector<char> FBuffer;
    std::size_t FUsed = 0; // the bytes of FBuffer waiting for the target
};

// Runs Action with Stream behind a buffer, or directly when Stream is in memory.
template <typename TAction>
void WithReadBuffer(TStream* Stream, TAction&& Action)
{
    if (dynamic_cast<TMemoryStream*>(Stream)) {
        Action(Stream);
        return;
    }
    TReadAheadStream Buffered(Stream);
    Action(static_cast<TStream*>(&Buffered));
}

// Runs Action with Stream behind a buffer. A stream in memory is written directly,
// after it reserved room for about ExpectedBytes more: growing a large block step by
// step costs more than writing it.
template <typename TAction>
void WithWriteBuffer(TStream* Stream, TAction&& Action, std::int64_t ExpectedBytes = 0)
{
    if (auto* Memory = dynamic_cast<TMemoryStream*>(Stream)) {
        const std::int64_t Start = Memory->Position();
        if (Start >= 0 && Start + ExpectedBytes > Memory->Capacity())
            Memory->SetCapacity(Start + ExpectedBytes);
        Action(Stream);
        return;
    }
    TWriteBehindStream Buffered(Stream);
    Action(static_cast<TStream*>(&Buffered));
    Buffered.Flush();
}
