// TVM_ORDERCHILDREN: a parent's children put into an order the caller worked out.
#include <algorithm>

#include "platform/tree/NativeTree.h"

namespace lxtree {

// True when order names every child of parent exactly once; ordered receives them in
// the given order.
bool TNativeTreeWindow::ChildrenInOrder(TSlot parent, const TVORDERCHILDREN& order, std::vector<TSlot>& ordered) const
{
    std::size_t children = 0;
    for (TSlot c = FItems[parent].firstChild; c != kNil; c = FItems[c].next)
        ++children;
    if (order.cItems != children || (children > 0 && !order.phItems))
        return false;
    ordered.reserve(children);
    for (UINT i = 0; i < order.cItems; ++i) {
        const TSlot s = FItems.Resolve(order.phItems[i]);
        if (!IsLiveItem(s) || FItems[s].parent != parent)
            return false;
        ordered.push_back(s);
    }
    // As many as there are children, each of them a child: a repeat is all that is left.
    std::vector<TSlot> sorted = ordered;
    std::sort(sorted.begin(), sorted.end());
    return std::adjacent_find(sorted.begin(), sorted.end()) == sorted.end();
}

BOOL TNativeTreeWindow::OrderChildren(const TVORDERCHILDREN& order)
{
    const TSlot parent = ItemOrRoot(order.hParent);
    if (parent == kNil)
        return FALSE;
    std::vector<TSlot> ordered;
    if (!ChildrenInOrder(parent, order, ordered))
        return FALSE;
    FItems.Reorder(parent, ordered);
    LayoutChanged();
    return TRUE;
}

} // namespace lxtree
