#pragma once
// The default sort rules worked out on keys made once per child instead of on nodes
// compared again and again. Each key comparison has the sign of the comparison it
// stands for, so the orders are exactly those of the comparisons.
#include <cstdint>
#include <vector>

#include "model/lxTreeView.h"

namespace lxModel {

// Data as the sort compares it: the signed 32-bit value it held on the original platform.
std::int32_t SortData(const TlxTreeViewNode* Node);
// The difference of two such values, wrapped to 32 bits (its sign decides).
int DataDifference(std::int32_t A, std::int32_t B);

// The child list's order under SortType without an OnCompare handler: text folded as
// CompareText (stNone, stText), the data difference (stData), or text then data
// (stBoth), by the child lists' own sort algorithm.
std::vector<TlxTreeViewNode*> ModelKeyOrder(TlxTreeViewNode* const* Children, int Count, TSortType SortType);
// The native items' order without an OnCompare handler: the texts by the C library's
// collation (strxfrm keys order as strcoll). The native sort is stable on the items'
// own order, which need not be the list's, so what the engine gets are ranks: the
// children's items and the place of their texts among the distinct collation keys.
struct TNativeRanks {
    std::vector<HTREEITEM> Items;
    std::vector<UINT> Ranks;
};
TNativeRanks NativeKeyRanks(TlxTreeViewNode* const* Children, int Count);

} // namespace lxModel
