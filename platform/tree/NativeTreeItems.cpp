// Inserting, deleting, reading, changing, navigating and sorting items.
#include <functional>
#include <QString>
#include <algorithm>
#include <utility>
#include <cstring>

#include "platform/win/FirstError.h"
#include "platform/tree/NativeTree.h"

namespace lxtree {

namespace {

std::int16_t ClampImage(int image) { return std::int16_t(std::clamp(image, -32768, 32767)); }

void CopyText(const std::string& text, char* buffer, int capacity)
{
    if (!buffer || capacity <= 0)
        return;
    const std::size_t n = std::min<std::size_t>(text.size(), std::size_t(capacity - 1));
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
}

// Frees a slot that never made it into the tree when an insertion is abandoned.
class TPendingSlot {
public:
    TPendingSlot(TTreeItemStore& items, TSlot s) : FItems(items), FSlot(s) {}
    ~TPendingSlot() { if (FSlot != kNil) FItems.Free(FSlot); }
    TPendingSlot(const TPendingSlot&) = delete;
    TPendingSlot& operator=(const TPendingSlot&) = delete;
    void Release() { FSlot = kNil; }

private:
    TTreeItemStore& FItems;
    TSlot FSlot;
};

// A stable bottom-up merge sort. Every index stays within its run whatever the
// comparison answers, so one from application code that is not a consistent order
// (or that raises) can neither run off the storage nor loop; the caller's list is
// only reordered, never damaged.
template <typename T, typename Less>
void MergeSort(std::vector<T>& items, Less less)
{
    const std::size_t n = items.size();
    std::vector<T> scratch(n);
    for (std::size_t width = 1; width < n; width *= 2) {
        for (std::size_t lo = 0; lo < n; lo += 2 * width) {
            const std::size_t mid = std::min(lo + width, n), hi = std::min(lo + 2 * width, n);
            std::size_t i = lo, j = mid, k = lo;
            while (i < mid && j < hi)
                scratch[k++] = less(items[j], items[i]) ? items[j++] : items[i++];
            while (i < mid)
                scratch[k++] = items[i++];
            while (j < hi)
                scratch[k++] = items[j++];
        }
        items.swap(scratch);
    }
}

} // namespace

bool TNativeTreeWindow::IsLiveItem(TSlot s) const
{
    return s != kNil && s != kRoot && !(FItems[s].flags & TItemSlot::Deleting);
}

HTREEITEM TNativeTreeWindow::InsertItem(const TVINSERTSTRUCTA& insert)
{
    const TSlot parent = ItemOrRoot(insert.hParent);
    if (parent == kNil)
        return nullptr;

    const TSlot s = FItems.Allocate();
    TPendingSlot pending(FItems, s);
    const bool extended = (insert.item.mask & TVIF_INTEGRAL) != 0;
    StoreItemFields(s, insert.item, extended, false);
    FItems[s].parent = parent; // lets a text callback of TVI_SORT see where the item goes

    TSlot after = FItems.LastChild(parent);
    if (insert.hInsertAfter == TVI_FIRST) {
        after = kNil;
    } else if (insert.hInsertAfter == TVI_SORT) {
        after = SortedPosition(parent, ItemText(s));
    } else if (insert.hInsertAfter && insert.hInsertAfter != TVI_LAST) {
        const TSlot sibling = FItems.Resolve(insert.hInsertAfter);
        if (sibling != kNil && FItems[sibling].parent == parent && IsLiveItem(sibling))
            after = sibling;
    }
    if (!IsLiveItem(parent) && parent != kRoot)
        return nullptr; // a callback removed the parent meanwhile
    FItems.Link(s, parent, after);
    pending.Release();

    const bool visible = FItems.IsVisible(s);
    if ((FTop == kNil && visible) || (parent == kRoot && after == kNil && FTop == FItems[s].next))
        FTop = s; // a new first item at the top of the view shows at the top
    if (visible || FItems.IsVisible(parent))
        LayoutChanged();
    return FItems.Handle(s);
}

TSlot TNativeTreeWindow::SortedPosition(TSlot parent, const std::string& text)
{
    const QString key = QString::fromUtf8(text.c_str());
    TSlot after = kNil;
    for (TSlot c = FItems[parent].firstChild; c != kNil; c = FItems[c].next) {
        const std::string other = ItemText(c);
        if (QString::fromUtf8(other.c_str()).compare(key, Qt::CaseInsensitive) > 0)
            break;
        after = c;
    }
    return after;
}

void TNativeTreeWindow::StoreItemFields(TSlot s, const TVITEMEXA& item, bool extended, bool linked)
{
    TItemSlot& slot = FItems[s];
    if (item.mask & TVIF_TEXT) {
        if (item.pszText == LPSTR_TEXTCALLBACKA) {
            slot.flags |= TItemSlot::TextCallback;
            FItems.ClearText(s);
        } else {
            slot.flags &= ~TItemSlot::TextCallback;
            if (item.pszText && *item.pszText)
                FItems.SetText(s, item.pszText);
            else
                FItems.ClearText(s);
        }
        FCustomLabelWidths.erase(s);
    }
    if (item.mask & TVIF_IMAGE) {
        if (item.iImage == I_IMAGECALLBACK)
            slot.flags |= TItemSlot::ImageCallback;
        else {
            slot.flags &= ~TItemSlot::ImageCallback;
            slot.image = ClampImage(item.iImage);
        }
    }
    if (item.mask & TVIF_SELECTEDIMAGE) {
        if (item.iSelectedImage == I_IMAGECALLBACK)
            slot.flags |= TItemSlot::SelImageCallback;
        else {
            slot.flags &= ~TItemSlot::SelImageCallback;
            slot.selectedImage = ClampImage(item.iSelectedImage);
        }
    }
    if (item.mask & TVIF_PARAM)
        slot.SetLParam(item.lParam);
    if (item.mask & TVIF_CHILDREN) {
        slot.SetChildren(item.cChildren == I_CHILDRENCALLBACK ? TChildrenMode::Callback
                          : item.cChildren > 0                ? TChildrenMode::Some
                                                              : TChildrenMode::None);
    }
    if (item.mask & TVIF_STATE) {
        if (linked)
            SetItemState(s, item.state, item.stateMask);
        else
            slot.state = std::uint16_t((slot.state & ~item.stateMask) | (item.state & item.stateMask));
    }
    if (extended && (item.mask & TVIF_INTEGRAL)) {
        if (linked)
            FItems.SetIntegral(s, item.iIntegral);
        else
            slot.integral = std::uint8_t(std::clamp(item.iIntegral, 1, 255));
    }
}

void TNativeTreeWindow::SetItemState(TSlot s, UINT state, UINT mask)
{
    mask &= 0xFFFF;
    TItemSlot& slot = FItems[s];
    const bool expanded = (mask & TVIS_EXPANDED) ? (state & TVIS_EXPANDED) != 0 : slot.Expanded();
    slot.state = std::uint16_t((slot.state & ~mask) | (state & mask & ~TVIS_EXPANDED) |
                               (slot.state & TVIS_EXPANDED));
    if (expanded != FItems[s].Expanded()) {
        FItems.SetExpanded(s, expanded);
        LayoutChanged();
    }
    if ((mask & TVIS_DROPHILITED) && !(state & TVIS_DROPHILITED) && FDropHilite == s) {
        FDropHilite = kNil;
        Invalidate(); // the selected items show selected again
    }
}

BOOL TNativeTreeWindow::GetItem(TVITEMEXA& item, bool extended)
{
    const TSlot s = FItems.Resolve(item.hItem);
    if (s == kNil)
        return FALSE;
    const HTREEITEM handle = item.hItem;
    if (item.mask & TVIF_TEXT)
        CopyText(ItemText(s), item.pszText, item.cchTextMax);
    if ((item.mask & TVIF_IMAGE) && FItems.Resolve(handle) == s)
        item.iImage = ItemImage(s, false);
    if ((item.mask & TVIF_SELECTEDIMAGE) && FItems.Resolve(handle) == s)
        item.iSelectedImage = ItemImage(s, true);
    if ((item.mask & TVIF_CHILDREN) && FItems.Resolve(handle) == s)
        item.cChildren = FItems[s].Children() == TChildrenMode::Callback ? AskChildren(s)
                                                                         : ItemHasChildren(s) ? 1 : 0;
    if (FItems.Resolve(handle) != s)
        return FALSE; // a callback deleted the item meanwhile
    if (item.mask & TVIF_PARAM)
        item.lParam = FItems[s].LParam();
    if (item.mask & TVIF_STATE)
        item.state = FItems[s].state & item.stateMask;
    if (extended && (item.mask & TVIF_INTEGRAL))
        item.iIntegral = FItems[s].integral;
    return TRUE;
}

BOOL TNativeTreeWindow::SetItem(const TVITEMEXA& item, bool extended)
{
    const TSlot s = FItems.Resolve(item.hItem);
    if (s == kNil)
        return FALSE;
    const int integral = FItems[s].integral;
    const auto children = FItems[s].Children();
    StoreItemFields(s, item, extended, true);
    if (integral != FItems[s].integral || children != FItems[s].Children())
        LayoutChanged();
    else
        InvalidateItem(s);
    return TRUE;
}

HTREEITEM TNativeTreeWindow::GetNextItem(UINT code, HTREEITEM h)
{
    const TSlot s = FItems.Resolve(h);
    auto handle = [this](TSlot t) { return t == kRoot ? nullptr : FItems.Handle(t); };
    switch (code) {
    case TVGN_ROOT: return handle(FItems[kRoot].firstChild);
    case TVGN_CARET: return handle(FCaret);
    case TVGN_DROPHILITE: return handle(FDropHilite);
    case TVGN_FIRSTVISIBLE: return handle(FTop);
    case TVGN_LASTVISIBLE: return handle(FItems.LastVisible());
    default: break;
    }
    if (code == TVGN_CHILD && ItemOrRoot(h) == kRoot)
        return handle(FItems[kRoot].firstChild);
    if (s == kNil)
        return nullptr;
    switch (code) {
    case TVGN_NEXT: return handle(FItems[s].next);
    case TVGN_PREVIOUS: return handle(FItems.Prev(s));
    case TVGN_PARENT: return handle(FItems[s].parent);
    case TVGN_CHILD: return handle(FItems[s].firstChild);
    case TVGN_NEXTVISIBLE: return FItems.IsVisible(s) ? handle(FItems.NextVisible(s)) : nullptr;
    case TVGN_PREVIOUSVISIBLE: return FItems.IsVisible(s) ? handle(FItems.PrevVisible(s)) : nullptr;
    default: return nullptr;
    }
}

BOOL TNativeTreeWindow::DeleteItem(HTREEITEM h)
{
    const TSlot s = ItemOrRoot(h);
    if (s == kRoot) {
        DeleteAll();
        return TRUE;
    }
    if (s == kNil)
        return FALSE;
    if (FEdit && FItems.Resolve(FEditItem) != kNil && FItems.IsAncestorOrSelf(s, FItems.Resolve(FEditItem)))
        EndEditLabel(true);
    if (FItems.Resolve(h) != s)
        return TRUE;
    // The caret moves away first, with its notifications; the deletion happens even
    // when a handler of those throws.
    TFirstError failure;
    if (FCaret != kNil && FItems.IsAncestorOrSelf(s, FCaret))
        failure.Run([&] { MoveCaretOutOf(s); });
    if (FItems.Resolve(h) == s && IsLiveItem(s))
        failure.Run([&] { DeleteSubtree(s); });
    failure.RethrowIfAny();
    return TRUE;
}

namespace {
// Lays the tree out once after a run of deletions instead of after each of them.
class TLayoutBatch {
public:
    TLayoutBatch(int& depth, std::function<void()> done) : FDepth(depth), FDone(std::move(done)) { ++FDepth; }
    ~TLayoutBatch()
    {
        if (--FDepth == 0)
            FDone();
    }
    TLayoutBatch(const TLayoutBatch&) = delete;
    TLayoutBatch& operator=(const TLayoutBatch&) = delete;

private:
    int& FDepth;
    std::function<void()> FDone;
};
} // namespace

void TNativeTreeWindow::DeleteAll()
{
    TLayoutBatch batch(FLayoutBatch, [this] {
        if (FLayoutDirty)
            LayoutChanged();
    });
    if (FEdit)
        EndEditLabel(true);
    TFirstError failure;
    failure.Run([&] { DeleteChildren(kRoot); });
    FContentWidth = 0;
    FXPos = 0;
    failure.RethrowIfAny();
}

// From the last child backwards: whoever mirrors the items in arrays removes from
// their ends, which keeps deleting a long list linear. A handler may delete the
// parent itself meanwhile; the root stays.
void TNativeTreeWindow::DeleteChildren(TSlot parent)
{
    TLayoutBatch batch(FLayoutBatch, [this] {
        if (FLayoutDirty)
            LayoutChanged();
    });
    const HTREEITEM handle = FItems.Handle(parent);
    auto parentLives = [&] { return parent == kRoot || FItems.Resolve(handle) == parent; };
    TFirstError failure;
    while (parentLives() && FItems.LastChild(parent) != kNil)
        failure.Run([&] { DeleteSubtree(FItems.LastChild(parent)); });
    failure.RethrowIfAny();
}

// Clears or moves every reference to an item of the subtree that is about to go.
void TNativeTreeWindow::ForgetItemsOf(TSlot subtree)
{
    auto inside = [&](TSlot t) { return t != kNil && t != kRoot && FItems.IsAncestorOrSelf(subtree, t); };
    if (inside(FTop)) {
        TSlot after = kNil;
        for (TSlot t = subtree; t != kRoot && after == kNil; t = FItems[t].parent)
            after = FItems[t].next;
        FTop = after != kNil ? after : FItems.PrevVisible(subtree);
        if (FTop != kNil && !FItems.IsVisible(FTop))
            FTop = kNil;
    }
    if (inside(FCaret))
        FCaret = kNil;
    if (inside(FDropHilite))
        FDropHilite = kNil;
    if (inside(FHot))
        FHot = kNil;
    if (inside(FInsertMark))
        FInsertMark = kNil;
}

// Takes the item and its descendants out of the tree and reports each of them,
// children before their parent; a handler that throws doesn't stop the others, and
// its exception reaches the caller once every item is gone.
void TNativeTreeWindow::DeleteSubtree(TSlot s)
{
    ForgetItemsOf(s);
    const TSlot parent = FItems[s].parent;
    FItems.Unlink(s);
    for (TSlot t = s; t != kNil; t = FItems.NextPreorder(t, s))
        FItems[t].flags |= TItemSlot::Deleting;

    TFirstError failure;
    const NMHDR header = DeletionHeader();
    // Last children first, so that lists mirroring the children shrink from their ends.
    TSlot t = s;
    while (FItems.LastChild(t) != kNil)
        t = FItems.LastChild(t);
    for (;;) {
        TSlot successor = kNil;
        if (t != s) {
            if (FItems.Prev(t) != kNil) {
                successor = FItems.Prev(t);
                while (FItems.LastChild(successor) != kNil)
                    successor = FItems.LastChild(successor);
            } else {
                successor = FItems[t].parent;
            }
        }
        failure.Run([&] { ReportDeletion(t, header); });
        if (!FCustomLabelWidths.empty())
            FCustomLabelWidths.erase(t);
        FItems.Free(t);
        if (successor == kNil)
            break;
        t = successor;
    }
    if (parent != kRoot && IsLiveItem(parent) && FItems[parent].firstChild == kNil)
        InvalidateItem(parent);
    LayoutChanged();
    failure.RethrowIfAny();
}

BOOL TNativeTreeWindow::SortChildrenOf(HTREEITEM parent, bool recurse, PFNTVCOMPARE compare, LPARAM data)
{
    const TSlot s = ItemOrRoot(parent);
    return s != kNil && SortChildren(s, recurse, compare, data);
}

BOOL TNativeTreeWindow::SortChildren(TSlot parent, bool recurse, PFNTVCOMPARE compare, LPARAM data)
{
    if (parent != kRoot && !IsLiveItem(parent))
        return FALSE;
    std::vector<TSlot> children;
    for (TSlot c = FItems[parent].firstChild; c != kNil; c = FItems[c].next)
        children.push_back(c);
    std::vector<HTREEITEM> handles;
    for (TSlot c : children)
        handles.push_back(FItems.Handle(c));
    auto stillChildren = [&] {
        std::size_t n = 0;
        for (TSlot c = FItems[parent].firstChild; c != kNil; c = FItems[c].next, ++n)
            if (n >= handles.size() || FItems.Resolve(handles[n]) != c)
                return false;
        return n == handles.size();
    };

    // The items are relinked only after the last comparison: a comparison that raises
    // leaves them as they were.
    std::vector<TSlot> order = children;
    if (compare) {
        // The parameters travel with the slots, so comparing reads no item.
        std::vector<std::pair<LPARAM, TSlot>> params;
        params.reserve(children.size());
        for (TSlot c : children)
            params.emplace_back(FItems[c].LParam(), c);
        MergeSort(params, [&](const auto& a, const auto& b) { return compare(a.first, b.first, data) < 0; });
        for (std::size_t i = 0; i < params.size(); ++i)
            order[i] = params[i].second;
    } else {
        std::unordered_map<TSlot, QString> texts;
        for (TSlot c : children)
            texts[c] = QString::fromUtf8(ItemText(c).c_str());
        MergeSort(order, [&](TSlot a, TSlot b) { return texts[a].compare(texts[b], Qt::CaseInsensitive) < 0; });
    }
    if (!stillChildren())
        return FALSE; // a handler changed the children meanwhile
    FItems.Reorder(parent, order);
    LayoutChanged();
    if (recurse)
        for (TSlot c : order)
            if (IsLiveItem(c) && FItems[c].firstChild != kNil)
                SortChildren(c, true, compare, data);
    return TRUE;
}

} // namespace lxtree
