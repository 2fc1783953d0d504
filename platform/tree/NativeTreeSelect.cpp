// Expanding and collapsing items, the caret (the selected item), the drop
// highlight, and bringing items into view.
#include <vector>

#include "platform/tree/NativeTree.h"

namespace lxtree {

BOOL TNativeTreeWindow::Expand(TSlot s, UINT action, bool notify)
{
    UINT code = action & TVE_TOGGLE;
    if (code == 0)
        return FALSE;
    if (code == TVE_TOGGLE)
        code = FItems[s].Expanded() ? TVE_COLLAPSE : TVE_EXPAND;
    const HTREEITEM handle = FItems.Handle(s);
    const bool reset = (action & TVE_COLLAPSERESET) != 0 && code == TVE_COLLAPSE;

    if (code == TVE_EXPAND) {
        if (FItems[s].Expanded() && !(action & TVE_EXPANDPARTIAL))
            return TRUE;
        if (!ItemHasChildren(s) && FItems[s].firstChild == kNil)
            return FALSE;
    } else if (!FItems[s].Expanded() && !reset) {
        return FALSE;
    }
    if (notify && NotifyTreeView(TVN_ITEMEXPANDINGA, code, kNil, s) != 0)
        return FALSE;
    if (FItems.Resolve(handle) != s)
        return FALSE;

    if (code == TVE_EXPAND) {
        FItems[s].state |= TVIS_EXPANDEDONCE;
        if (action & TVE_EXPANDPARTIAL)
            FItems[s].state |= TVIS_EXPANDPARTIAL;
        else
            FItems[s].state &= ~TVIS_EXPANDPARTIAL;
        FItems.SetExpanded(s, true);
    } else {
        if (FCaret != kNil && FCaret != s && FItems.IsAncestorOrSelf(s, FCaret))
            SelectCaret(s, TVC_UNKNOWN);
        if (FItems.Resolve(handle) != s)
            return FALSE;
        if (FTop != s && FTop != kNil && FItems.IsAncestorOrSelf(s, FTop))
            FTop = s;
        FItems.SetExpanded(s, false);
        FItems[s].state &= ~TVIS_EXPANDPARTIAL;
        if (reset) {
            DeleteChildren(s);
            if (FItems.Resolve(handle) != s)
                return TRUE;
            FItems[s].state &= ~TVIS_EXPANDEDONCE;
            FItems[s].SetChildren(TChildrenMode::Auto);
        }
    }
    LayoutChanged();
    if (notify)
        NotifyTreeView(TVN_ITEMEXPANDEDA, code, kNil, s);
    return TRUE;
}

// Expansion asked for by the user: only items that show a button may open, and the
// opened children are scrolled into view as far as the item itself stays visible.
bool TNativeTreeWindow::ExpandByUser(TSlot s, UINT action)
{
    const bool opening = action == TVE_EXPAND || (action == TVE_TOGGLE && !FItems[s].Expanded());
    if (opening && !ItemHasChildren(s))
        return false;
    const HTREEITEM handle = FItems.Handle(s);
    if (!Expand(s, action, true))
        return false;
    const TSlot again = FItems.Resolve(handle);
    if (opening && again != kNil && FItems[again].Expanded() && FItems.LastChild(again) != kNil) {
        const std::uint32_t row = FItems.RowOf(again);
        const std::uint32_t rows = FItems.Rows(again);
        const std::uint32_t page = std::uint32_t(PageRows());
        if (row + rows > TopRow() + page)
            SetTopRow(rows > page ? row : row + rows - page);
    }
    return true;
}

void TNativeTreeWindow::ExpandAllBelow(TSlot s)
{
    for (TSlot t = s; t != kNil; t = FItems.NextPreorder(t, s)) {
        const HTREEITEM handle = FItems.Handle(t);
        if (!FItems[t].Expanded() && ItemHasChildren(t))
            Expand(t, TVE_EXPAND, true);
        if (FItems.Resolve(handle) != t || !IsLiveItem(t))
            return; // a handler changed the tree under us
    }
}

bool TNativeTreeWindow::SelectCaret(TSlot s, UINT cause)
{
    if (s == FCaret) {
        if (s != kNil)
            EnsureVisible(s);
        return true;
    }
    const HTREEITEM oldHandle = FItems.Handle(FCaret);
    const HTREEITEM newHandle = FItems.Handle(s);
    if (NotifyTreeView(TVN_SELCHANGINGA, cause, FCaret, s) != 0)
        return false;
    const TSlot old = FItems.Resolve(oldHandle);
    s = FItems.Resolve(newHandle);
    if (newHandle && s == kNil)
        return false; // deleted by the handler
    if (old != kNil) {
        FItems[old].state &= ~TVIS_SELECTED;
        InvalidateItem(old);
    }
    FCaret = s;
    if (s != kNil) {
        FItems[s].state |= TVIS_SELECTED;
        EnsureVisible(s);
        InvalidateItem(s);
    }
    NotifyTreeView(TVN_SELCHANGEDA, cause, FItems.Resolve(oldHandle), FItems.Resolve(newHandle));
    return true;
}

void TNativeTreeWindow::SelectByUser(TSlot s, UINT cause)
{
    const HTREEITEM oldCaret = FItems.Handle(FCaret);
    const HTREEITEM newCaret = FItems.Handle(s);
    if (s == FCaret || !SelectCaret(s, cause))
        return;
    if (FStyle & TVS_SINGLEEXPAND)
        SingleExpand(oldCaret, newCaret);
}

// The old branch closes and the new item opens, unless the parent says otherwise.
void TNativeTreeWindow::SingleExpand(HTREEITEM oldCaret, HTREEITEM newCaret)
{
    TSlot n = FItems.Resolve(newCaret);
    if (n == kNil)
        return;
    const LRESULT answer = NotifyTreeView(TVN_SINGLEEXPAND, TVC_UNKNOWN, FItems.Resolve(oldCaret), n);
    if (!(answer & TVNRET_SKIPOLD)) {
        std::vector<HTREEITEM> branch;
        for (TSlot o = FItems.Resolve(oldCaret); o != kNil && o != kRoot; o = FItems[o].parent) {
            n = FItems.Resolve(newCaret);
            if (n != kNil && FItems.IsAncestorOrSelf(o, n))
                break;
            branch.push_back(FItems.Handle(o));
        }
        for (HTREEITEM h : branch) {
            const TSlot o = FItems.Resolve(h);
            if (IsLiveItem(o) && FItems[o].Expanded())
                Expand(o, TVE_COLLAPSE, true);
        }
    }
    n = FItems.Resolve(newCaret);
    if (!(answer & TVNRET_SKIPNEW) && IsLiveItem(n) && !FItems[n].Expanded())
        ExpandByUser(n, TVE_EXPAND);
}

void TNativeTreeWindow::MoveCaretOutOf(TSlot subtree)
{
    TSlot next = FItems[subtree].next;
    if (next == kNil)
        next = FItems.Prev(subtree);
    if (next == kNil && FItems[subtree].parent != kRoot)
        next = FItems[subtree].parent;
    SelectCaret(next, TVC_UNKNOWN);
}

void TNativeTreeWindow::SetDropHilite(TSlot s)
{
    if (s == FDropHilite)
        return;
    // While an item is drop-highlighted the selected items show unselected: a highlight
    // that comes or goes changes them too.
    if ((FDropHilite == kNil) != (s == kNil))
        Invalidate();
    if (FDropHilite != kNil) {
        FItems[FDropHilite].state &= ~TVIS_DROPHILITED;
        InvalidateItem(FDropHilite);
    }
    FDropHilite = s;
    if (s != kNil) {
        FItems[s].state |= TVIS_DROPHILITED;
        InvalidateItem(s);
    }
}

bool TNativeTreeWindow::ExpandAncestors(TSlot s)
{
    std::vector<HTREEITEM> chain;
    for (TSlot p = FItems[s].parent; p != kRoot; p = FItems[p].parent)
        if (!FItems[p].Expanded())
            chain.push_back(FItems.Handle(p));
    const HTREEITEM handle = FItems.Handle(s);
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        const TSlot p = FItems.Resolve(*it);
        if (p == kNil)
            return false;
        Expand(p, TVE_EXPAND, true);
        if (!FItems[p].Expanded())
            return false;
    }
    return FItems.Resolve(handle) == s && FItems.IsVisible(s);
}

bool TNativeTreeWindow::EnsureVisible(TSlot s, bool* expanded)
{
    const bool wasVisible = FItems.IsVisible(s);
    if (expanded)
        *expanded = !wasVisible;
    const HTREEITEM handle = FItems.Handle(s);
    if (!wasVisible && !ExpandAncestors(s))
        return false;
    if (FItems.Resolve(handle) != s)
        return false;
    const std::uint32_t row = FItems.RowOf(s);
    const std::uint32_t top = TopRow();
    const std::uint32_t page = std::uint32_t(PageRows());
    const std::uint32_t own = FItems[s].integral;
    if (row < top) {
        SetTopRow(row);
        return true;
    }
    if (row + own > top + page) {
        SetTopRow(own >= page ? row : row + own - page);
        return true;
    }
    return false;
}

} // namespace lxtree
