// The custom-draw stages of the native tree: the application's drawing events, and
// the point where the control chooses an item's colours and font.
#include "control/lxTreeViewControl.h"
#include "platform/win/Gdi.h"

namespace {

TNodeStates NodeStatesFromItemState(UINT State)
{
    static const struct {
        UINT bit;
        TNodeState state;
    } map[] = {
        {CDIS_SELECTED, nsSelected}, {CDIS_GRAYED, nsGrayed}, {CDIS_DISABLED, nsDisabled},
        {CDIS_FOCUS, nsFocused},     {CDIS_HOT, nsHot},       {CDIS_MARKED, nsMarked},
        {CDIS_INDETERMINATE, nsIndeterminate},
    };
    TNodeStates states;
    for (const auto& m : map)
        if (State & m.bit)
            states.Include(m.state);
    return states;
}

TlxTreeViewNode* NodeOfDraw(const NMTVCUSTOMDRAW& Draw)
{
    return reinterpret_cast<TlxTreeViewNode*>(Draw.nmcd.lItemlParam);
}

constexpr LRESULT WholeTreeNotifications =
    CDRF_NOTIFYPOSTPAINT | CDRF_NOTIFYITEMDRAW | CDRF_NOTIFYPOSTERASE | CDRF_NOTIFYITEMERASE;

} // namespace

LRESULT TCustomlxTreeView::NotifyCustomDraw(NMTVCUSTOMDRAW& Draw)
{
    switch (Draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
        // A selection change of many nodes shows at its end, not node by node.
        if (FItems->FBulkSelecting)
            return CDRF_SKIPDEFAULT;
        // A font kept by a cycle that a handler's exception cut short means nothing now.
        FPrevFont = nullptr;
        if (OnBeforeCustomDraw)
            OnBeforeCustomDraw(this);
        return WholeTreeNotifications;
    case CDDS_POSTPAINT:
        if (OnCustomDraw)
            OnCustomDraw(this);
        if (FPrevFont) {
            SelectObject(Draw.nmcd.hdc, FPrevFont);
            FPrevFont = nullptr;
        }
        return 0;
    case CDDS_ITEMPREPAINT:
        return CustomDrawItemPrePaint(Draw);
    case CDDS_ITEMPOSTPAINT:
        if (OnCustomDrawItem)
            OnCustomDrawItem(this, NodeOfDraw(Draw), Draw.nmcd.rc, NodeStatesFromItemState(Draw.nmcd.uItemState));
        return 0;
    case CDDS_ITEMPREERASE:
        return CDRF_NOTIFYPOSTERASE;
    default:
        return 0;
    }
}

// The application may take over an item's drawing: DefaultDraw starts false, and a
// handler that sets it true gets the item to itself (and no post-paint stage).
LRESULT TCustomlxTreeView::CustomDrawItemPrePaint(NMTVCUSTOMDRAW& Draw)
{
    TlxTreeViewNode* node = NodeOfDraw(Draw);
    if (!node)
        return 0;
    TNodeStates states = NodeStatesFromItemState(Draw.nmcd.uItemState);
    if (node->CheckState() == lxsChecked || node->CheckState() == lxsCheckedGrayed)
        states.Include(nsChecked);
    bool defaultDraw = false;
    if (OnBeforeCustomDrawItem)
        OnBeforeCustomDrawItem(this, node, Draw.nmcd.rc, states, defaultDraw);
    if (defaultDraw)
        return CDRF_SKIPDEFAULT;
    return CDRF_NOTIFYPOSTPAINT | ApplyItemAppearance(Draw, node, states);
}

// The label background: the selection colours for a selected node (the drop colour
// only while this control is dragged), otherwise the node's own colour or the control's.
// A selected node whose proposed background is the window colour is not highlighted by
// the native tree (another item carries the drop highlight): it keeps the control's colour.
TColor TCustomlxTreeView::ItemBackground(const NMTVCUSTOMDRAW& Draw, TlxTreeViewNode* Node, TNodeStates States)
{
    if (States.Contains(nsSelected)) {
        if (Dragging())
            return Node->DropTarget() ? FDropSelectedColor : FSelectedColor;
        if (!Focused())
            return FUnfocusedSelectedColor;
        if (Node->ParentColor() && Draw.clrTextBk == ColorToRGB(clWindow))
            return Color();
        return FSelectedColor;
    }
    if (Node->DropTarget())
        return FSelectedColor;
    return Node->ParentColor() ? Color() : Node->Color();
}

// A node with a font of its own draws in it (and in its colour unless selected); the
// first such node keeps the control's font in FPrevFont, which the next node in the
// control's font, or the end of the paint cycle, selects back.
LRESULT TCustomlxTreeView::SelectItemFont(NMTVCUSTOMDRAW& Draw, TlxTreeViewNode* Node, TNodeStates States)
{
    if (!Node->ParentFont()) {
        TFont* font = Node->Font();
        const HFONT replaced = SelectObject(Draw.nmcd.hdc, font->Handle());
        if (!FPrevFont)
            FPrevFont = replaced;
        if (!States.Contains(nsSelected))
            Draw.clrText = ColorToRGB(font->Color());
        return CDRF_NEWFONT;
    }
    if (FPrevFont) {
        SelectObject(Draw.nmcd.hdc, FPrevFont);
        FPrevFont = nullptr;
        return CDRF_NEWFONT;
    }
    return 0;
}

LRESULT TCustomlxTreeView::ApplyItemAppearance(NMTVCUSTOMDRAW& Draw, TlxTreeViewNode* Node, TNodeStates States)
{
    Draw.clrTextBk = ColorToRGB(ItemBackground(Draw, Node, States));
    return SelectItemFont(Draw, Node, States);
}
