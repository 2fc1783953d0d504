// The right-button release: the node under a right click (or the caret) asks OnPopup
// for its menu, then its ancestors while they are told to; without a menu from there,
// the framework's own mouse-up handling and popup menu follow.
#include "control/lxTreeViewControl.h"
#include "platform/framework/Menus.h"

void TCustomlxTreeView::WMRButtonUp(TMessage& Message)
{
    const POINT At{GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)};
    if (TPopupMenu* Menu = AskPopupMenu()) {
        POINT Screen = At;
        ClientToScreen(Handle(), &Screen);
        Menu->SetPopupComponent(this);
        Menu->Popup(Screen.x, Screen.y);
        return;
    }
    // The press went straight to the native tree: its mouse-down event comes now.
    if (FOptions.Contains(roRightClickSelect) && !ControlStyle().Contains(csNoStdEvents))
        MouseDown(mbRight, KeysToShiftState(Message.WParam), At.x, At.y);
    TWinControl::Dispatch(Message);
}

// OnPopup for the selected node, then for each ancestor below the hidden root while
// no menu came back and the handler left AskParent set.
TPopupMenu* TCustomlxTreeView::AskPopupMenu()
{
    TlxTreeViewNode* Node = OnPopup ? GetSelection() : nullptr;
    if (!Node)
        return nullptr;
    std::vector<TlxTreeViewNode*> Chain;
    for (TlxTreeViewNode* Asked = Node; Asked; Asked = Asked->Parent())
        Chain.push_back(Asked);
    TlxTreeViewNodes::TNodeWalk Ancestors(*FItems, std::move(Chain));
    TPopupMenu* Menu = nullptr;
    bool AskParent = true;
    for (std::size_t I = 0; I < Ancestors.Size() && !Menu && AskParent; ++I)
        if (TlxTreeViewNode* Asked = Ancestors.At(I))
            OnPopup(this, Asked, AskParent, Menu);
    return Menu;
}
