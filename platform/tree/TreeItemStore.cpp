#include "platform/tree/TreeItemStore.h"
#include "platform/memory/FreeBits.h"
#include <algorithm>

namespace lxtree {

namespace {
constexpr std::uint32_t kGenerationMask = 0xFFFFFF; // as wide as the slot's field, and clear of the TVI_* markers
}

TTreeItemStore::TTreeItemStore()
{
    FChunks.emplace_back(new TItemSlot[kChunkSize]);
    TItemSlot& root = (*this)[kRoot];
    root.flags = TItemSlot::InUse;
    root.integral = 0;
    root.state = TVIS_EXPANDED;
}

TSlot TTreeItemStore::Resolve(HTREEITEM h) const
{
    const auto v = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(h));
    const auto slot = static_cast<TSlot>(v & 0xFFFFFFFFu);
    const auto generation = static_cast<std::uint32_t>(v >> 32);
    if (slot < kFirstItem || slot >= FEnd || generation > kGenerationMask)
        return kNil;
    const TItemSlot& item = (*this)[slot];
    if (!(item.flags & TItemSlot::InUse) || (item.generation & kGenerationMask) != generation)
        return kNil;
    return slot;
}

HTREEITEM TTreeItemStore::Handle(TSlot s) const
{
    if (s < kFirstItem)
        return nullptr;
    const std::uint64_t v = (std::uint64_t((*this)[s].generation & kGenerationMask) << 32) | s;
    return reinterpret_cast<HTREEITEM>(static_cast<std::uintptr_t>(v));
}

TSlot TTreeItemStore::Allocate()
{
    TSlot s;
    if (FFreeCount > 0) {
        s = TSlot(FreeBits::TakeLowest(FFreeBits.data(), FFirstFreeWord));
        --FFreeCount;
    } else {
        if ((FEnd >> kChunkBits) >= FChunks.size())
            FChunks.emplace_back(new TItemSlot[kChunkSize]);
        s = FEnd++;
    }
    TItemSlot& item = (*this)[s];
    const std::uint32_t generation = item.generation;
    item = TItemSlot();
    item.generation = generation;
    item.flags = TItemSlot::InUse;
    ++FCount;
    return s;
}

void TTreeItemStore::Free(TSlot s)
{
    TItemSlot& item = (*this)[s];
    if (item.flags & TItemSlot::HasText)
        FTexts.erase(s);
    DropChildIndex(s);
    item.generation = (item.generation + 1) & kGenerationMask;
    item.flags = 0;
    item.firstChild = item.prevOrLast = item.next = item.parent = kNil;
    --FCount;
    if (FCount == 0) {
        // An empty table starts again at the first slot. The slots keep their
        // generations, so old handles still resolve to nothing.
        ForgetFreeSlots();
        FEnd = kFirstItem;
        return;
    }
    if (s / 64 >= FFreeBits.size())
        FFreeBits.resize(std::max<std::size_t>(s / 64 + 1, FFreeBits.size() * 2), 0);
    FreeBits::Give(FFreeBits.data(), FFirstFreeWord, s);
    ++FFreeCount;
}

void TTreeItemStore::ForgetFreeSlots()
{
    std::fill(FFreeBits.begin(), FFreeBits.end(), 0);
    FFirstFreeWord = 0;
    FFreeCount = 0;
}

void TTreeItemStore::Link(TSlot s, TSlot parent, TSlot after)
{
    TItemSlot& item = (*this)[s];
    TItemSlot& p = (*this)[parent];
    item.parent = parent;
    if (after == kNil) {
        const TSlot oldFirst = p.firstChild;
        item.next = oldFirst;
        item.prevOrLast = oldFirst == kNil ? s : (*this)[oldFirst].prevOrLast;
        if (oldFirst != kNil)
            (*this)[oldFirst].prevOrLast = s;
        p.firstChild = s;
    } else {
        item.next = (*this)[after].next;
        item.prevOrLast = after;
        (*this)[after].next = s;
        (*this)[item.next != kNil ? item.next : p.firstChild].prevOrLast = s;
    }
    DropChildIndex(parent);
    AddRows(s, Rows(s));
    Touch();
}

void TTreeItemStore::Unlink(TSlot s)
{
    AddRows(s, -std::int64_t(Rows(s)));
    TItemSlot& item = (*this)[s];
    TItemSlot& p = (*this)[item.parent];
    const TSlot next = item.next;
    if (p.firstChild == s) {
        p.firstChild = next;
        if (next != kNil)
            (*this)[next].prevOrLast = item.prevOrLast; // the last child
    } else {
        const TSlot prev = item.prevOrLast;
        (*this)[prev].next = next;
        (*this)[next != kNil ? next : p.firstChild].prevOrLast = prev;
    }
    DropChildIndex(item.parent);
    item.prevOrLast = item.next = kNil;
    Touch();
}

void TTreeItemStore::Reorder(TSlot parent, const std::vector<TSlot>& children)
{
    TSlot previous = kNil;
    for (TSlot c : children) {
        (*this)[c].prevOrLast = previous;
        if (previous != kNil)
            (*this)[previous].next = c;
        previous = c;
    }
    TItemSlot& p = (*this)[parent];
    p.firstChild = children.empty() ? kNil : children.front();
    if (previous != kNil) {
        (*this)[previous].next = kNil;
        (*this)[p.firstChild].prevOrLast = previous;
    }
    DropChildIndex(parent);
    Touch();
}

void TTreeItemStore::SetText(TSlot s, std::string text)
{
    FTexts[s] = std::move(text);
    (*this)[s].flags |= TItemSlot::HasText;
}

const std::string* TTreeItemStore::Text(TSlot s) const
{
    if (!((*this)[s].flags & TItemSlot::HasText))
        return nullptr;
    auto found = FTexts.find(s);
    return found == FTexts.end() ? nullptr : &found->second;
}

void TTreeItemStore::ClearText(TSlot s)
{
    TItemSlot& item = (*this)[s];
    if (item.flags & TItemSlot::HasText) {
        FTexts.erase(s);
        item.flags &= ~TItemSlot::HasText;
    }
}

std::uint32_t TTreeItemStore::Rows(TSlot s) const
{
    const TItemSlot& item = (*this)[s];
    return item.integral + (item.Expanded() ? item.childRows : 0);
}

void TTreeItemStore::AddRows(TSlot child, std::int64_t delta)
{
    // Items on their way out are no longer counted by their old ancestors.
    if (delta == 0 || ((*this)[child].flags & TItemSlot::Deleting))
        return;
    Touch();
    TSlot p = (*this)[child].parent;
    for (;;) {
        TItemSlot& parent = (*this)[p];
        parent.childRows = std::uint32_t(std::int64_t(parent.childRows) + delta);
        DropChildIndex(p);
        if (p == kRoot || !parent.Expanded() || (parent.flags & TItemSlot::Deleting))
            return;
        p = parent.parent;
    }
}

void TTreeItemStore::SetExpanded(TSlot s, bool expanded)
{
    TItemSlot& item = (*this)[s];
    if (item.Expanded() == expanded)
        return;
    const std::int64_t before = Rows(s);
    item.state = std::uint16_t(expanded ? item.state | TVIS_EXPANDED : item.state & ~TVIS_EXPANDED);
    AddRows(s, std::int64_t(Rows(s)) - before);
    Touch();
}

void TTreeItemStore::SetIntegral(TSlot s, int integral)
{
    const std::int64_t before = Rows(s);
    (*this)[s].integral = std::uint8_t(std::clamp(integral, 1, 255));
    AddRows(s, std::int64_t(Rows(s)) - before);
}

bool TTreeItemStore::IsVisible(TSlot s) const
{
    if (s == kNil || ((*this)[s].flags & TItemSlot::Deleting))
        return false;
    for (TSlot p = (*this)[s].parent; p != kRoot; p = (*this)[p].parent)
        if (!(*this)[p].Expanded())
            return false;
    return true;
}

int TTreeItemStore::Level(TSlot s) const
{
    int level = 0;
    for (TSlot p = (*this)[s].parent; p != kRoot; p = (*this)[p].parent)
        ++level;
    return level;
}

bool TTreeItemStore::IsAncestorOrSelf(TSlot ancestor, TSlot s) const
{
    for (; s != kRoot; s = (*this)[s].parent)
        if (s == ancestor)
            return true;
    return ancestor == kRoot;
}

TSlot TTreeItemStore::NextVisible(TSlot s) const
{
    const TItemSlot& item = (*this)[s];
    if (item.Expanded() && item.firstChild != kNil)
        return item.firstChild;
    for (; s != kRoot; s = (*this)[s].parent)
        if ((*this)[s].next != kNil)
            return (*this)[s].next;
    return kNil;
}

TSlot TTreeItemStore::PrevVisible(TSlot s) const
{
    TSlot p = Prev(s);
    if (p == kNil) {
        const TSlot parent = (*this)[s].parent;
        return parent == kRoot ? kNil : parent;
    }
    while ((*this)[p].Expanded() && LastChild(p) != kNil)
        p = LastChild(p);
    return p;
}

TSlot TTreeItemStore::LastVisible() const
{
    TSlot s = kRoot;
    while ((s == kRoot || (*this)[s].Expanded()) && LastChild(s) != kNil)
        s = LastChild(s);
    return s == kRoot ? kNil : s;
}

TSlot TTreeItemStore::NextPreorder(TSlot s, TSlot stopAt) const
{
    if ((*this)[s].firstChild != kNil)
        return (*this)[s].firstChild;
    for (; s != stopAt && s != kRoot; s = (*this)[s].parent)
        if ((*this)[s].next != kNil)
            return (*this)[s].next;
    return kNil;
}

const TTreeItemStore::TChildIndex& TTreeItemStore::BuildChildIndex(TSlot parent) const
{
    TChildIndex& index = FChildIndex[parent];
    index.children.clear();
    index.rowsBefore.clear();
    std::uint32_t rows = 0;
    for (TSlot c = (*this)[parent].firstChild; c != kNil; c = (*this)[c].next) {
        index.children.push_back(c);
        index.rowsBefore.push_back(rows);
        rows += Rows(c);
    }
    return index;
}

TSlot TTreeItemStore::ChildCoveringRow(TSlot parent, std::uint32_t& row) const
{
    auto found = FChildIndex.find(parent);
    if (found == FChildIndex.end()) {
        std::uint32_t rest = row;
        std::uint32_t scanned = 0;
        for (TSlot c = (*this)[parent].firstChild; c != kNil; c = (*this)[c].next) {
            if (++scanned > kIndexThreshold)
                break;
            const std::uint32_t rows = Rows(c);
            if (rest < rows) {
                row = rest;
                return c;
            }
            rest -= rows;
        }
        if (scanned <= kIndexThreshold)
            return kNil;
    }
    const TChildIndex& index = found != FChildIndex.end() ? found->second : BuildChildIndex(parent);
    auto it = std::upper_bound(index.rowsBefore.begin(), index.rowsBefore.end(), row);
    if (it == index.rowsBefore.begin())
        return kNil;
    const std::size_t i = std::size_t(it - index.rowsBefore.begin()) - 1;
    const TSlot c = index.children[i];
    if (row - index.rowsBefore[i] >= Rows(c))
        return kNil;
    row -= index.rowsBefore[i];
    return c;
}

TSlot TTreeItemStore::ItemAtRow(std::uint32_t row) const
{
    TSlot p = kRoot;
    for (;;) {
        const TSlot c = ChildCoveringRow(p, row);
        if (c == kNil)
            return kNil;
        const std::uint32_t own = (*this)[c].integral;
        if (row < own)
            return c;
        row -= own;
        p = c;
    }
}

std::uint32_t TTreeItemStore::RowOf(TSlot s) const
{
    std::uint32_t row = 0;
    for (TSlot c = s; c != kRoot;) {
        for (TSlot t = Prev(c); t != kNil; t = Prev(t))
            row += Rows(t);
        const TSlot p = (*this)[c].parent;
        row += (*this)[p].integral; // the root's is 0
        c = p;
    }
    return row;
}

} // namespace lxtree

static_assert(sizeof(lxtree::TItemSlot) == 40, "an item slot should stay small: the tree may hold millions");
