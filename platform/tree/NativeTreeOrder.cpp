// TVM_ORDERCHILDREN: a parent's children put into an order the caller worked out.
#include <algorithm>
#include <array>
#include <cstdint>
#include <utility>

#include "platform/tree/NativeTree.h"

namespace lxtree {

namespace {

using TPair = std::pair<std::uint32_t, std::uint32_t>;

// A stable sort by the pair's first member. Long lists go through three passes of
// 11 bits each, so a parent of many thousands of children costs linear time.
void SortByFirst(std::vector<TPair>& pairs)
{
    auto byFirst = [](const auto& a, const auto& b) { return a.first < b.first; };
    constexpr std::size_t kShortList = 64;
    if (pairs.size() < kShortList) {
        std::stable_sort(pairs.begin(), pairs.end(), byFirst);
        return;
    }
    constexpr unsigned kDigitBits = 11;
    constexpr std::uint32_t kDigitMask = (1u << kDigitBits) - 1;
    std::vector<TPair> sorted(pairs.size());
    for (unsigned shift = 0; shift < 32; shift += kDigitBits) {
        std::array<std::uint32_t, kDigitMask + 1> starts{};
        for (const auto& p : pairs)
            ++starts[(p.first >> shift) & kDigitMask];
        if (starts[(pairs.front().first >> shift) & kDigitMask] == pairs.size())
            continue; // every pair has this digit: the pass would change nothing
        std::uint32_t sum = 0;
        for (std::uint32_t& start : starts)
            sum += std::exchange(start, sum);
        for (const auto& p : pairs)
            sorted[starts[(p.first >> shift) & kDigitMask]++] = p;
        pairs.swap(sorted);
    }
}

} // namespace

// The children with their present places, as (slot, place) sorted by slot; empty and
// false when order does not name every child of parent exactly once. keyOfPlace then
// holds the key of the child at each place.
bool TNativeTreeWindow::KeysOfChildren(TSlot parent, const TVORDERCHILDREN& order,
                                       std::vector<TSlotPair>& present, std::vector<UINT>& keyOfPlace) const
{
    for (TSlot c = FItems[parent].firstChild; c != kNil; c = FItems[c].next)
        present.emplace_back(c, UINT(present.size()));
    if (order.cItems != present.size() || (!present.empty() && !order.phItems))
        return false;
    std::vector<TSlotPair> named; // (slot, key)
    named.reserve(present.size());
    for (UINT i = 0; i < order.cItems; ++i) {
        const TSlot s = FItems.Resolve(order.phItems[i]);
        if (!IsLiveItem(s))
            return false;
        named.emplace_back(s, order.puKeys ? order.puKeys[i] : i);
    }
    SortByFirst(present);
    SortByFirst(named);
    // The same slots on both sides: each child named once, and nothing else named.
    keyOfPlace.resize(present.size());
    for (std::size_t i = 0; i < present.size(); ++i) {
        if (present[i].first != named[i].first)
            return false;
        keyOfPlace[present[i].second] = named[i].second;
    }
    return true;
}

BOOL TNativeTreeWindow::OrderChildren(const TVORDERCHILDREN& order)
{
    const TSlot parent = ItemOrRoot(order.hParent);
    if (parent == kNil)
        return FALSE;
    std::vector<TSlotPair> present;
    std::vector<UINT> keyOfPlace;
    if (!KeysOfChildren(parent, order, present, keyOfPlace))
        return FALSE;
    // (key, slot) in the present order, then a stable sort by key: equal keys keep it.
    std::vector<TSlotPair> byKey(present.size());
    for (const TSlotPair& child : present)
        byKey[child.second] = TSlotPair(keyOfPlace[child.second], child.first);
    SortByFirst(byKey);
    std::vector<TSlot> ordered;
    ordered.reserve(byKey.size());
    for (const TSlotPair& entry : byKey)
        ordered.push_back(entry.second);
    FItems.Reorder(parent, ordered);
    LayoutChanged();
    return TRUE;
}

} // namespace lxtree
