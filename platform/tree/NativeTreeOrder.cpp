// TVM_ORDERCHILDREN: a parent's children put into an order the caller worked out.
#include <algorithm>

#include "platform/tree/NativeTree.h"

namespace lxtree {

// True when order names every child of parent exactly once; keyed receives each
// child with its key, by slot.
bool TNativeTreeWindow::KeysOfChildren(TSlot parent, const TVORDERCHILDREN& order,
                                       std::vector<TKeyedSlot>& keyed) const
{
    std::size_t children = 0;
    for (TSlot c = FItems[parent].firstChild; c != kNil; c = FItems[c].next)
        ++children;
    if (order.cItems != children || (children > 0 && !order.phItems))
        return false;
    keyed.reserve(children);
    for (UINT i = 0; i < order.cItems; ++i) {
        const TSlot s = FItems.Resolve(order.phItems[i]);
        if (!IsLiveItem(s) || FItems[s].parent != parent)
            return false;
        keyed.emplace_back(s, order.puKeys ? order.puKeys[i] : i);
    }
    // As many as there are children, each of them a child: a repeat is all that is left.
    std::sort(keyed.begin(), keyed.end());
    auto sameSlot = [](const TKeyedSlot& a, const TKeyedSlot& b) { return a.first == b.first; };
    return std::adjacent_find(keyed.begin(), keyed.end(), sameSlot) == keyed.end();
}

BOOL TNativeTreeWindow::OrderChildren(const TVORDERCHILDREN& order)
{
    const TSlot parent = ItemOrRoot(order.hParent);
    if (parent == kNil)
        return FALSE;
    std::vector<TKeyedSlot> keyed;
    if (!KeysOfChildren(parent, order, keyed))
        return FALSE;
    // The children in their present order with their keys, then a stable sort by key.
    std::vector<std::pair<UINT, TSlot>> present;
    present.reserve(keyed.size());
    for (TSlot c = FItems[parent].firstChild; c != kNil; c = FItems[c].next) {
        auto found = std::lower_bound(keyed.begin(), keyed.end(), TKeyedSlot(c, 0));
        present.emplace_back(found->second, c);
    }
    std::stable_sort(present.begin(), present.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<TSlot> ordered;
    ordered.reserve(present.size());
    for (const auto& entry : present)
        ordered.push_back(entry.second);
    FItems.Reorder(parent, ordered);
    LayoutChanged();
    return TRUE;
}

} // namespace lxtree
