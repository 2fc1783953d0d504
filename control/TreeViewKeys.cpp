// The keyboard on a multi-selection tree: Shift with the arrows, Page Up, Page Down,
// Home and End grows and shrinks the selection from the anchor; Space clicks the
// caret node's check glyph; F1 asks for help; typing clears the selection before the
// native incremental search moves the caret.
#include "control/lxTreeViewControl.h"
#include "platform/framework/Application.h"

namespace {

// Keys above this code are letters, digits, the numeric pad and function keys.
constexpr WORD LastNavigationKey = 0x30;

bool IsPageKey(WORD Key) { return Key == VK_PRIOR || Key == VK_NEXT || Key == VK_END || Key == VK_HOME; }

} // namespace

void TCustomlxTreeView::WMKeyDown(TMessage& Message)
{
    const WORD Key = WORD(Message.WParam);
    const TShiftState Shift = KeyboardStateToShiftState() * TShiftState{ssShift, ssCtrl, ssAlt};
    const bool ShiftAlone = Shift == TShiftState{ssShift};
    TlxTreeViewNode* const Caret = GetSelection();
    if (!FOptions.Contains(roMultiSelect)) {
        FAnchorNode = Caret;
        TWinControl::Dispatch(Message);
    } else if (Shift.Contains(ssCtrl) || !Caret) {
        TWinControl::Dispatch(Message);
    } else if (Key == VK_UP || Key == VK_DOWN) {
        ShiftAlone ? ExtendByArrow(Message, Caret, Key == VK_UP) : MoveByArrow(Message, Caret, Key == VK_UP);
    } else if (IsPageKey(Key)) {
        ShiftAlone ? ExtendByPage(Message, Caret) : MoveByPage(Message);
    } else if (Key == VK_SPACE) {
        Caret->DoCheckClick();
        Message.Result = 0;
    } else if (Key == VK_F1) {
        if (OnHelpContext)
            ShowHelpFor(Caret);
    } else if (Key > LastNavigationKey) {
        ClearSelection();
        TWinControl::Dispatch(Message);
        FAnchorNode = Caret;
    } else {
        TWinControl::Dispatch(Message);
    }
}

// Shift+Up and Shift+Down: moving onto an unselected node grows the selection by the
// node left behind; moving back onto a selected node shrinks it.
void TCustomlxTreeView::ExtendByArrow(TMessage& Message, TlxTreeViewNode* Caret, bool Up)
{
    TlxTreeViewNode* Next = Up ? Caret->GetPrevVisible() : Caret->GetNextVisible();
    if (!FAnchorNode) {
        FAnchorNode = Next;
        ClearSelection();
    }
    if (!Next) {
        TWinControl::Dispatch(Message);
        return;
    }
    const bool NextWasSelected = Next->Selected();
    TlxTreeViewNodes::TNodeWalk Old(*FItems, {Caret});
    TWinControl::Dispatch(Message);
    if (!NextWasSelected && Old.At(0))
        FItems->SelectNode(Old.At(0), stSet);
}

void TCustomlxTreeView::MoveByArrow(TMessage& Message, TlxTreeViewNode* Caret, bool Up)
{
    if (Up ? Caret->GetPrevVisible() : Caret->GetNextVisible())
        ClearSelection();
    TWinControl::Dispatch(Message);
    FAnchorNode = GetSelection();
}

void TCustomlxTreeView::ExtendByPage(TMessage& Message, TlxTreeViewNode* Caret)
{
    if (!FAnchorNode) {
        FAnchorNode = Caret;
        ClearSelection();
    }
    const int Before = FItems->GetSelectedCount();
    TlxTreeViewNodes::TNodeWalk Old(*FItems, {Caret});
    TWinControl::Dispatch(Message);
    TlxTreeViewNode* NewCaret = GetSelection();
    if (Old.At(0) && NewCaret)
        FItems->ToggleSelectionRange(Old.At(0), NewCaret);
    if (FItems->GetSelectedCount() > Before && Old.At(0))
        FItems->SelectNode(Old.At(0), stSet);
}

void TCustomlxTreeView::MoveByPage(TMessage& Message)
{
    if (FItems->GetSelectedCount() > 1)
        ClearSelection();
    TWinControl::Dispatch(Message);
    FAnchorNode = GetSelection();
}

// The help context of the node, then of its ancestors, then of the control and its
// parent controls: the first that is not 0 is shown.
void TCustomlxTreeView::ShowHelpFor(TlxTreeViewNode* Node)
{
    std::vector<TlxTreeViewNode*> Chain;
    for (TlxTreeViewNode* Asked = Node; Asked; Asked = Asked->Parent())
        Chain.push_back(Asked);
    TlxTreeViewNodes::TNodeWalk Ancestors(*FItems, std::move(Chain));
    int Context = 0;
    for (std::size_t I = 0; I < Ancestors.Size() && Context == 0; ++I)
        if (TlxTreeViewNode* Asked = Ancestors.At(I))
            OnHelpContext(this, Asked, Context);
    for (TWinControl* Control = this; Control && Context == 0; Control = Control->Parent())
        Context = Control->HelpContext();
    if (Context != 0)
        Application()->HelpContext(Context);
}
