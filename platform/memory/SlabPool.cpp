#include "platform/memory/SlabPool.h"

#include <algorithm>
#include <new>

#include <sys/mman.h>

namespace {

constexpr std::size_t SlabBytes = TSlabPoolBase::SlabBytes;

// SlabBytes of zeroed memory aligned to SlabBytes: map twice the size and give back the
// unaligned ends.
void* MapAlignedBlock(bool LargePages)
{
    void* Mapped = mmap(nullptr, 2 * SlabBytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (Mapped == MAP_FAILED)
        throw std::bad_alloc();
    const auto Start = reinterpret_cast<std::uintptr_t>(Mapped);
    const std::uintptr_t Aligned = (Start + SlabBytes - 1) & ~std::uintptr_t(SlabBytes - 1);
    if (Aligned > Start)
        munmap(Mapped, Aligned - Start);
    const std::uintptr_t Tail = Start + 2 * SlabBytes - (Aligned + SlabBytes);
    if (Tail > 0)
        munmap(reinterpret_cast<void*>(Aligned + SlabBytes), Tail);
    if (LargePages)
        AdviseLargePages(reinterpret_cast<void*>(Aligned), SlabBytes);
    return reinterpret_cast<void*>(Aligned);
}

} // namespace

TSlabPoolBase::~TSlabPoolBase()
{
    for (TSlabHeader* Slab : FSlabs)
        munmap(Slab, SlabBytes);
}

std::size_t TSlabPoolBase::AddSlab()
{
    FSlabs.reserve(FSlabs.size() + 1); // before the mapping, which would leak if this raised
    auto* Slab = static_cast<TSlabHeader*>(MapAlignedBlock(FSlabs.size() >= SmallPageSlabs));
    Slab->FreeCells = FCellsPerSlab;
    Slab->FirstFreeWord = 0;
    std::uint64_t* Bits = Slab->FreeBits();
    for (std::size_t Cell = 0; Cell < FCellsPerSlab; Cell += 64) {
        const std::size_t Count = std::min<std::size_t>(64, FCellsPerSlab - Cell);
        Bits[Cell / 64] = Count == 64 ? ~std::uint64_t(0) : (std::uint64_t(1) << Count) - 1;
    }
    auto Where = std::lower_bound(FSlabs.begin(), FSlabs.end(), Slab);
    const std::size_t Index = std::size_t(Where - FSlabs.begin());
    FSlabs.insert(Where, Slab);
    Renumber(Index);
    ++FEmptySlabs;
    return Index;
}

void TSlabPoolBase::SlabEmptied(TSlabHeader* Slab)
{
    if (FEmptySlabs < KeptEmptySlabs) {
        ++FEmptySlabs;
        return;
    }
    const std::size_t Index = Slab->Index;
    FSlabs.erase(FSlabs.begin() + std::ptrdiff_t(Index));
    Renumber(Index);
    munmap(Slab, SlabBytes);
}

void TSlabPoolBase::Renumber(std::size_t From)
{
    for (std::size_t I = From; I < FSlabs.size(); ++I)
        FSlabs[I]->Index = std::uint32_t(I);
}
