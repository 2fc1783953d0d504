// The custom-draw stages of the native tree: the application's drawing events, and
// the point where the control chooses an item's colours and font.
#include "control/lxTreeViewControl.h"
#include "platform/Gdi.h"

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

// The item's colours and font are chosen by the item painting; until it comes the
// native tree's own colours stand.
LRESULT TCustomlxTreeView::ApplyItemAppearance(NMTVCUSTOMDRAW&, TlxTreeViewNode*, TNodeStates) { return 0; }
