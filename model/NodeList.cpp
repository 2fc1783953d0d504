// TlxTreeNodeList: the growable array of node references behind child lists, the
// index cache and the selection.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "model/QuickSort.h"
#include "model/lxTreeView.h"

namespace {
using TNodeRef = TlxTreeViewNode*;
} // namespace

// Storage layout. The block holds one slot more than the capacity. Deleting an entry
// in the first half moves the entries before it, not those after: FList steps forward
// over the slot they vacated, which (like the block's first slot) records how many
// slots lie unused before FList. So the slot before FList always holds that count, and
// the block starts that many slots plus one before FList. A child list emptied from
// the front, as the native tree does when it deletes a parent's children, then costs
// linear time in total, and one emptied in any order half the moves. The unused slots
// are reclaimed when the entries need the room at the end.

std::size_t TlxTreeNodeList::Skipped() const
{
    return reinterpret_cast<std::uintptr_t>(FList[-1]);
}

TlxTreeViewNode** TlxTreeNodeList::Block() const
{
    return FList - 1 - Skipped();
}

int TlxTreeNodeList::Room() const
{
    return FList ? FCapacity - int(Skipped()) : 0;
}

// Moves the entries back to the start of the block.
void TlxTreeNodeList::Compact()
{
    if (!FList || Skipped() == 0)
        return;
    TNodeRef* Start = Block() + 1;
    // Never negative; said so, as the compiler cannot see it where this is inlined.
    const std::size_t Entries = FCount > 0 ? std::size_t(FCount) : 0;
    std::memmove(Start, FList, Entries * sizeof(TNodeRef));
    FList = Start;
    FList[-1] = nullptr;
}

// Makes room for Needed entries from FList on, within the current capacity.
void TlxTreeNodeList::MakeRoom(int Needed)
{
    if (Needed > Room())
        Compact();
}

TlxTreeNodeList::~TlxTreeNodeList()
{
    // Not the virtual Clear: a derived class is already gone here.
    TlxTreeNodeList::Clear();
}

void TlxTreeNodeList::Error(const char* Msg, int Data)
{
    throw EListError(Format(Msg, Data));
}

int TlxTreeNodeList::Add(TlxTreeViewNode* Item)
{
    const int Result = FCount;
    if (Result == FCapacity)
        Grow();
    MakeRoom(Result + 1);
    FList[Result] = Item;
    ++FCount;
    return Result;
}

void TlxTreeNodeList::Insert(int Index, TlxTreeViewNode* Item)
{
    if (Index < 0 || Index > FCount)
        Error(SListIndexError, Index);
    if (FCount == FCapacity)
        Grow();
    MakeRoom(FCount + 1);
    if (Index < FCount)
        std::memmove(FList + Index + 1, FList + Index, std::size_t(FCount - Index) * sizeof(TNodeRef));
    FList[Index] = Item;
    ++FCount;
}

void TlxTreeNodeList::Delete(int Index)
{
    if (Index < 0 || Index >= FCount)
        Error(SListIndexError, Index);
    --FCount;
    if (Index <= FCount / 2) {
        // The shorter side moves: the entries before Index step forward, and FList
        // steps over the slot they vacated.
        std::memmove(FList + 1, FList, std::size_t(Index) * sizeof(TNodeRef));
        FList[0] = reinterpret_cast<TNodeRef>(Skipped() + 1);
        ++FList;
    } else {
        std::memmove(FList + Index, FList + Index + 1, std::size_t(FCount - Index) * sizeof(TNodeRef));
    }
}

int TlxTreeNodeList::Remove(TlxTreeViewNode* Item)
{
    const int Result = IndexOf(Item);
    if (Result >= 0)
        Delete(Result);
    return Result;
}

void TlxTreeNodeList::Exchange(int Index1, int Index2)
{
    if (Index1 < 0 || Index1 >= FCount)
        Error(SListIndexError, Index1);
    if (Index2 < 0 || Index2 >= FCount)
        Error(SListIndexError, Index2);
    const TNodeRef Item = FList[Index1];
    FList[Index1] = FList[Index2];
    FList[Index2] = Item;
}

void TlxTreeNodeList::Move(int CurIndex, int NewIndex)
{
    if (CurIndex == NewIndex)
        return;
    if (NewIndex < 0 || NewIndex >= FCount)
        Error(SListIndexError, NewIndex);
    TlxTreeViewNode* Item = Get(CurIndex);
    Delete(CurIndex);
    Insert(NewIndex, Item);
}

TlxTreeViewNode* TlxTreeNodeList::Get(int Index) const
{
    if (Index < 0 || Index >= FCount)
        Error(SListIndexError, Index);
    return FList[Index];
}

void TlxTreeNodeList::Put(int Index, TlxTreeViewNode* Item)
{
    if (Index < 0 || Index >= FCount)
        Error(SListIndexError, Index);
    FList[Index] = Item;
}

int TlxTreeNodeList::IndexOf(const TlxTreeViewNode* Item) const
{
    for (int I = 0; I < FCount; ++I)
        if (FList[I] == Item)
            return I;
    return -1;
}

// First at and below Hint (each entry deleted before an item moved it down by one
// place, and lists lose entries more often than they gain them in the middle), then
// above it (each entry inserted before it moved it up).
int TlxTreeNodeList::IndexNear(const TlxTreeViewNode* Item, int Hint) const
{
    if (FCount == 0)
        return -1;
    Hint = std::clamp(Hint, 0, FCount - 1);
    for (int I = Hint, Stop = std::max(0, Hint - NearReach); I >= Stop; --I)
        if (FList[I] == Item)
            return I;
    for (int I = Hint + 1, Stop = std::min(FCount - 1, Hint + NearReach); I <= Stop; ++I)
        if (FList[I] == Item)
            return I;
    return -1;
}

TlxTreeViewNode* TlxTreeNodeList::First() const
{
    return Get(0);
}

TlxTreeViewNode* TlxTreeNodeList::Last() const
{
    return Get(FCount - 1);
}

TlxTreeNodeList* TlxTreeNodeList::Expand()
{
    if (FCount == FCapacity)
        Grow();
    return this;
}

void TlxTreeNodeList::Pack()
{
    int Kept = 0;
    for (int I = 0; I < FCount; ++I)
        if (FList[I])
            FList[Kept++] = FList[I];
    if (Kept != FCount)
        SetCount(Kept);
}

void TlxTreeNodeList::Clear()
{
    SetCount(0);
    SetCapacity(0);
}

void TlxTreeNodeList::Sort(TlxTreeViewCompare Compare, LPARAM Data)
{
    if (!FList || FCount == 0)
        return;
    auto ByNodes = [Compare, Data](TNodeRef A, TNodeRef B) { return Compare(LPARAM(A), LPARAM(B), Data); };
    lxModel::QuickSort(FList, 0, FCount - 1, ByNodes);
}

void TlxTreeNodeList::SetCount(int NewCount)
{
    if (NewCount < 0 || NewCount > MaxListSize)
        Error(SListCountError, NewCount);
    if (NewCount > FCapacity)
        SetCapacity(NewCount);
    if (NewCount > FCount) {
        MakeRoom(NewCount);
        std::memset(FList + FCount, 0, std::size_t(NewCount - FCount) * sizeof(TNodeRef));
    }
    FCount = NewCount;
}

void TlxTreeNodeList::SetCapacity(int NewCapacity)
{
    if (NewCapacity < FCount || NewCapacity > MaxListSize)
        Error(SListCapacityError, NewCapacity);
    if (NewCapacity == FCapacity)
        return;
    if (NewCapacity == 0) {
        std::free(Block());
        FList = nullptr;
        FCapacity = 0;
        return;
    }
    Compact();
    TNodeRef* Old = FList ? Block() : nullptr;
    void* NewBlock = std::realloc(Old, (std::size_t(NewCapacity) + 1) * sizeof(TNodeRef));
    if (!NewBlock)
        throw EOutOfMemory("Out of memory");
    FList = static_cast<TNodeRef*>(NewBlock) + 1;
    FList[-1] = nullptr;
    FCapacity = NewCapacity;
}

void TlxTreeNodeList::Grow()
{
    int Delta;
    if (FCapacity > 64)
        Delta = FCapacity / 4;
    else if (FCapacity > 8)
        Delta = 16;
    else
        Delta = 4;
    SetCapacity(FCapacity + Delta);
}

TlxTreeNodeList& TlxNodeChildren::Own() const
{
    if (!FList)
        FList = std::make_unique<TlxTreeNodeList>();
    return *FList;
}
