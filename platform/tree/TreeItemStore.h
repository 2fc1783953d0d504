#pragma once
// The items of one tree window: a chunked table of small fixed-size slots linked
// into a tree by 32-bit indices, with generation counts so that item handles of
// deleted items are recognised instead of followed, and per-item row counts so
// that the layout of a million items costs only what the visible rows cost.
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>
#include "platform/win/CommCtrl.h"

namespace lxtree {

using TSlot = std::uint32_t;
// Slot 0 is never an item: it is the end of every link and what a null, stale or
// foreign handle resolves to. Slot 1 is the invisible root item, the parent of the top
// level; it has no handle of its own (messages name it TVI_ROOT or, where a parent is
// asked for, null).
constexpr TSlot kNil = 0;
constexpr TSlot kRoot = 1;
constexpr TSlot kFirstItem = 2;

// How an item answers "has it children?" (cChildren).
enum class TChildrenMode : std::uint8_t { Auto = 0, None = 1, Some = 2, Callback = 3 };

// One item. 40 bytes: parent and sibling links, the rows that its expanded
// descendants occupy, the generation of the slot, the application value, the
// TVIS_* state (overlay and state image included), images and flags.
struct TItemSlot {
    TSlot parent = kNil;
    TSlot firstChild = kNil;
    // The previous sibling; the first child's points to the last child instead, so a
    // parent finds its last child without a link of its own. Read it through
    // TTreeItemStore::Prev and LastChild.
    TSlot prevOrLast = kNil;
    TSlot next = kNil;
    std::uint32_t childRows = 0; // rows of all children, as if this item were expanded
    std::uint32_t generation : 24; // wraps; a handle holds it whole
    std::uint32_t integral : 8;    // rows the item itself takes (the root: 0)
    std::uint32_t lParamBits[2] = {0, 0}; // kept as two halves so the slot packs to 4-byte alignment
    std::uint16_t state = 0;
    std::int16_t image = 0;
    std::int16_t selectedImage = 0;
    std::uint8_t flags = 0;

    TItemSlot() : generation(1), integral(1) {}

    enum : std::uint8_t {
        InUse = 0x01,
        TextCallback = 0x02,
        HasText = 0x04,
        ImageCallback = 0x08,
        SelImageCallback = 0x10,
        Deleting = 0x20,
        ChildrenShift = 6, // two bits of TChildrenMode
    };

    LPARAM LParam() const { LPARAM v; std::memcpy(&v, lParamBits, sizeof v); return v; }
    void SetLParam(LPARAM v) { std::memcpy(lParamBits, &v, sizeof v); }
    TChildrenMode Children() const { return TChildrenMode((flags >> ChildrenShift) & 3); }
    void SetChildren(TChildrenMode m) { flags = std::uint8_t((flags & 0x3F) | (std::uint8_t(m) << ChildrenShift)); }
    bool Expanded() const { return (state & TVIS_EXPANDED) != 0; }
};

class TTreeItemStore {
public:
    TTreeItemStore();

    // Handles: slot and generation packed into the pointer value, so that a handle
    // of a deleted item (or any garbage value) resolves to nothing.
    TSlot Resolve(HTREEITEM h) const;
    HTREEITEM Handle(TSlot s) const;

    TItemSlot& operator[](TSlot s) { return FChunks[s >> kChunkBits][s & kChunkMask]; }
    const TItemSlot& operator[](TSlot s) const { return FChunks[s >> kChunkBits][s & kChunkMask]; }
    std::uint32_t Count() const { return FCount; }

    TSlot Prev(TSlot s) const
    {
        const TSlot p = (*this)[s].prevOrLast;
        return p != kNil && (*this)[p].next != kNil ? p : kNil; // the last child has no next
    }
    TSlot LastChild(TSlot parent) const
    {
        const TSlot first = (*this)[parent].firstChild;
        return first == kNil ? kNil : (*this)[first].prevOrLast;
    }

    // Makes a detached item (no parent yet); Link puts it in place.
    TSlot Allocate();
    void Free(TSlot s);
    // Puts a detached item under parent after the sibling `after` (kNil: first).
    void Link(TSlot item, TSlot parent, TSlot after);
    // Takes an item (with its subtree) out of its parent's child list.
    void Unlink(TSlot item);
    // Relinks the children of parent in the given order (a permutation of them).
    void Reorder(TSlot parent, const std::vector<TSlot>& children);

    // Text kept outside the slots, so that items with callback text stay small.
    void SetText(TSlot s, std::string text);
    const std::string* Text(TSlot s) const;
    void ClearText(TSlot s);

    // Rows: an item occupies `integral` rows, plus its children's rows when expanded.
    std::uint32_t Rows(TSlot s) const;
    std::uint32_t TotalRows() const { return (*this)[kRoot].childRows; }
    // Tells the ancestors that the rows of `child` changed by delta.
    void AddRows(TSlot child, std::int64_t delta);
    void SetExpanded(TSlot s, bool expanded);
    void SetIntegral(TSlot s, int integral);

    bool IsVisible(TSlot s) const;  // every ancestor expanded
    int Level(TSlot s) const;       // 0 for top-level items
    bool IsAncestorOrSelf(TSlot ancestor, TSlot s) const;
    TSlot NextVisible(TSlot s) const;
    TSlot PrevVisible(TSlot s) const;
    TSlot LastVisible() const;
    TSlot NextPreorder(TSlot s, TSlot stopAt) const; // next item of the subtree of stopAt
    TSlot ItemAtRow(std::uint32_t row) const;        // the item covering the row, or kNil
    std::uint32_t RowOf(TSlot s) const;              // first row of a visible item

    // Bumped by every change of the row layout; lets callers cache derived values.
    std::uint64_t LayoutEpoch() const { return FEpoch; }

private:
    static constexpr unsigned kChunkBits = 12;
    static constexpr TSlot kChunkSize = TSlot(1) << kChunkBits;
    static constexpr TSlot kChunkMask = kChunkSize - 1;
    static constexpr std::uint32_t kIndexThreshold = 48;

    // Prefix sums of the children's rows of one parent with many children, built
    // when a row lookup passes through it and dropped when any of them changes.
    struct TChildIndex {
        std::vector<TSlot> children;
        std::vector<std::uint32_t> rowsBefore;
    };
    const TChildIndex& BuildChildIndex(TSlot parent) const;
    TSlot ChildCoveringRow(TSlot parent, std::uint32_t& row) const;
    void DropChildIndex(TSlot parent) { if (!FChildIndex.empty()) FChildIndex.erase(parent); }
    void Touch() { ++FEpoch; }

    void ForgetFreeSlots();

    std::vector<std::unique_ptr<TItemSlot[]>> FChunks;
    TSlot FEnd = kFirstItem; // slots below FEnd have been handed out at least once
    // Free slots below FEnd, handed out lowest first: items made after deletions reuse the
    // lowest free slots, so a table refilled in document order lies in document order.
    std::vector<std::uint64_t> FFreeBits; // bit s set: slot s (below FEnd) is free
    std::size_t FFirstFreeWord = 0;        // the words before it have no set bit
    std::uint32_t FFreeCount = 0;
    std::uint32_t FCount = 0;
    std::uint64_t FEpoch = 1;
    std::unordered_map<TSlot, std::string> FTexts;
    mutable std::unordered_map<TSlot, TChildIndex> FChildIndex;
};

} // namespace lxtree
