#pragma once
// The geometry of the rows: where the parts of one item's row lie, and the walk over
// the visible rows from the top of the view down. Painting, hit testing, the item
// rectangles, invalidation, the insert mark and the label edit box all measure rows
// with these, so that what is drawn is what is hit.
//
// A row, left to right: the indent of the item's level, the connector column with the
// button (one indent wide; missing for top-level items without lines at the root),
// the state image, the item image, and the label, padded on both sides.
#include <cstdint>
#include <vector>
#include "platform/win/WinTypes.h"
#include "platform/tree/TreeItemStore.h"

namespace lxtree {

// The space between the item image and the label.
constexpr int kImageGap = 2;

// Where the parts of one item's row lie, in client coordinates.
struct TItemGeometry {
    int top = 0, bottom = 0;
    int buttonLeft = 0, buttonRight = 0; // the connector column; buttonRight is where the item's own parts start
    int stateLeft = 0, imageLeft = 0, labelLeft = 0, labelRight = 0;

    int Height() const { return bottom - top; }
    int CenterY() const { return (top + bottom) / 2; }
    RECT Row(int clientWidth) const { return RECT{0, top, clientWidth, bottom}; }
    RECT Label() const { return RECT{labelLeft, top, labelRight, bottom}; }
};

// The visible items from a first one down, each with the client rows (pixels) it covers.
class TVisibleRows {
public:
    TVisibleRows(const TTreeItemStore& items, TSlot first, int itemHeight)
        : FItems(items), FItem(first), FItemHeight(itemHeight)
    {
        if (FItem != kNil)
            FBottom = FItems[FItem].integral * FItemHeight;
    }
    bool Valid() const { return FItem != kNil; }
    TSlot Item() const { return FItem; }
    int Top() const { return FTop; }
    int Bottom() const { return FBottom; }
    void Next()
    {
        FItem = FItems.NextVisible(FItem);
        FTop = FBottom;
        if (FItem != kNil)
            FBottom = FTop + FItems[FItem].integral * FItemHeight;
    }

private:
    const TTreeItemStore& FItems;
    TSlot FItem;
    int FItemHeight;
    int FTop = 0;
    int FBottom = 0;
};

// The rows in the client area, top down, kept until the layout, the top item or the
// height of the view changes. Invalidating one item looks its row up here: a bulk
// change of a million items' states costs a few compares each, not a walk.
struct TRowsInView {
    struct TRow {
        TSlot item;
        int top, bottom;
    };
    std::vector<TRow> rows;
    TSlot top = kNil;
    std::uint64_t epoch = 0;
    int clientHeight = -1, itemHeight = -1;

    bool IsFor(TSlot first, std::uint64_t layoutEpoch, int height, int rowHeight) const
    {
        return top == first && epoch == layoutEpoch && clientHeight == height && itemHeight == rowHeight;
    }
    const TRow* Find(TSlot item) const
    {
        for (const TRow& row : rows)
            if (row.item == item)
                return &row;
        return nullptr;
    }
};

} // namespace lxtree
