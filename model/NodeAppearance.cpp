// TlxTreeViewNode's colour and font, each either the node's own or the control's.
#include "model/ControlBridge.h"
#include "model/lxTreeView.h"

void TlxTreeViewNode::RepaintNode()
{
    Owner()->Repaint(this);
}

TColor TlxTreeViewNode::GetColor() const
{
    if (FParentColor)
        return lxControl::Color(GetlxTreeView());
    return OwnColor();
}

TColor TlxTreeViewNode::OwnColor() const
{
    const TExtras* Own = FindExtras();
    return Own ? Own->Color : 0;
}

void TlxTreeViewNode::SetColor(TColor Value)
{
    if (Value == OwnColor())
        return;
    Extras().Color = Value;
    FParentColor = false;
    if (!IsUpdating())
        RepaintNode();
}

void TlxTreeViewNode::SetParentColor(bool Value)
{
    if (Value == FParentColor)
        return;
    FParentColor = Value;
    if (!IsUpdating())
        RepaintNode();
}

// Gives the node a font of its own, a copy of the control's. With the change handler
// attached, a later change of that font makes the node use it and repaint.
void TlxTreeViewNode::MakeOwnFont(bool AttachChangeHandler)
{
    auto NewFont = std::make_unique<TFont>();
    NewFont->Assign(lxControl::Font(GetlxTreeView()));
    if (AttachChangeHandler)
        NewFont->OnChange = [this](TObject* Sender) { FontChanged(Sender); };
    Extras().Font = std::move(NewFont);
}

// Reading the font makes one without deciding to use it: ParentFont stays.
TFont* TlxTreeViewNode::GetFont()
{
    TExtras* Own = FindExtras();
    if (!Own || !Own->Font)
        MakeOwnFont(true);
    return FindExtras()->Font.get();
}

void TlxTreeViewNode::SetFont(TFont* Value)
{
    FParentFont = false;
    GetFont()->Assign(Value);
}

void TlxTreeViewNode::FontChanged(TObject* Sender)
{
    FParentFont = false;
    RepaintNode();
}

void TlxTreeViewNode::SetParentFont(bool Value)
{
    if (Value == FParentFont)
        return;
    FParentFont = Value;
    if (Value) {
        if (TExtras* Own = FindExtras())
            Own->Font.reset();
    } else {
        MakeOwnFont(false);
    }
    if (!IsUpdating())
        RepaintNode();
}
