// Label editing in place: the permission, the edit box's message routing through the
// control's key events, and the new text.
#include "control/EventHooks.h"
#include "control/lxTreeViewControl.h"

bool ButtonEditing = false;

LRESULT TCustomlxTreeView::NotifyBeginLabelEdit(NMTVDISPINFOA& Info)
{
    TlxTreeViewNode* node = GetNodeFromItem(Info.item);
    if (Dragging() || !CanEdit(node))
        return 1;
    SubclassEditBox(node);
    return 0;
}

// The edit box's keys pass through the control's key events first; a node with a
// font of its own edits in that font.
void TCustomlxTreeView::SubclassEditBox(TlxTreeViewNode* Node)
{
    FEditWindow = reinterpret_cast<HWND>(SendMessageA(Handle(), TVM_GETEDITCONTROL, 0, 0));
    if (!FEditWindow)
        return;
    FEditOldWndProc = SetWindowProc(FEditWindow, FEditWndProc);
    const TlxTreeViewNode::TExtras* Own = Node ? Node->FindExtras() : nullptr;
    if (Own && !Node->ParentFont() && Own->Font)
        SendMessageA(FEditWindow, WM_SETFONT, WPARAM(Own->Font->Handle()), MAKELPARAM(1, 0));
}

void TCustomlxTreeView::EditWndProc(TMessage& Message)
{
    try {
        switch (Message.Msg) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            if (DoKeyDown(Message))
                return;
            break;
        case WM_CHAR:
            if (DoKeyPress(Message))
                return;
            break;
        case WM_KEYUP:
        case WM_SYSKEYUP:
            if (DoKeyUp(Message))
                return;
            break;
        case CN_KEYDOWN:
        case CN_CHAR:
        case CN_SYSKEYDOWN:
        case CN_SYSCHAR:
            WndProc(Message);
            return;
        default:
            break;
        }
        Message.Result =
            CallWindowProcA(FEditOldWndProc, FEditWindow, Message.Msg, Message.WParam, Message.LParam);
    } catch (...) {
        // The edit box belongs to the native tree: nothing may unwind through it.
        HandleApplicationException();
        Message.Result = 0;
    }
}

bool TCustomlxTreeView::CanEdit(TlxTreeViewNode* Node)
{
    const bool allow = !FOptions.Contains(roReadOnly) || ButtonEditing;
    ButtonEditing = false;
    return AskHandler(OnEditing, this, Node, allow);
}

void TCustomlxTreeView::Edit(const TVITEMA& Item)
{
    if (!Item.pszText)
        return; // a cancelled edit
    std::string s = Item.pszText;
    TlxTreeViewNode* node = GetNodeFromItem(Item);
    if (node) {
        node->SetText(s);
        if (FOptions.Contains(roVerifyData))
            node->VerifyNodeText();
    }
    if (OnEdited)
        OnEdited(this, node, s);
}
