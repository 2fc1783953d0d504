// The item editor's multi-node routines: comparing and setting one property of every
// selected node, addressed by its selector.
#include "design/lxTreeViewEditor.h"

namespace {

template <class F>
void ForEachSelected(TlxTreeViewNodes* Nodes, F Action)
{
    for (TlxTreeViewNode* node = Nodes->GetFirstSelected(); node; node = node->GetNextSelected())
        Action(node);
}

bool IsStringSelector(int Selector) { return Selector >= npVarName && Selector <= npText; }

std::string StringOf(TlxTreeViewNode* Node, int Selector)
{
    switch (Selector) {
    case npVarName: return Node->VarName();
    case npVarValue: return Node->VarValue();
    default: return Node->Text();
    }
}

std::int64_t OrdinalOf(TlxTreeViewNode* Node, int Selector)
{
    switch (Selector) {
    case npParentFont: return Node->ParentFont();
    case npParentColor: return Node->ParentColor();
    case npMultiHeight: return Node->MultiHeight();
    case npImageIndex: return Node->ImageIndex();
    case npSelectedIndex: return Node->SelectedIndex();
    case npStateIndex: return Node->StateIndex();
    case npCheckType: return Node->CheckType();
    case npEnabled: return Node->Enabled();
    default: return Node->VarType();
    }
}

void SetOrdinal(TlxTreeViewNode* Node, int Selector, std::intptr_t Value)
{
    switch (Selector) {
    case npParentFont: Node->SetParentFont(Value != 0); break;
    case npParentColor: Node->SetParentColor(Value != 0); break;
    case npMultiHeight: Node->SetMultiHeight(int(Value)); break;
    case npImageIndex: Node->SetImageIndex(int(Value)); break;
    case npSelectedIndex: Node->SetSelectedIndex(int(Value)); break;
    case npStateIndex: Node->SetStateIndex(int(Value)); break;
    case npFont: Node->SetFont(reinterpret_cast<TFont*>(Value)); break;
    case npColor: Node->SetColor(TColor(Value)); break;
    case npCheckType: Node->SetCheckType(TCheckType(Value)); break;
    case npEnabled: Node->SetEnabled(Value != 0); break;
    case npVarType: Node->SetVarType(int(Value)); break;
    default: break;
    }
}

} // namespace

bool SelectedHaveSameValue(TlxTreeViewNodes* Nodes, int Selector)
{
    TlxTreeViewNode* first = Nodes->GetFirstSelected();
    if (!first || Selector == npFont || Selector == npColor || Selector < 0 || Selector > npText)
        return true;
    for (TlxTreeViewNode* node = first->GetNextSelected(); node; node = node->GetNextSelected()) {
        const bool same = IsStringSelector(Selector) ? StringOf(node, Selector) == StringOf(first, Selector)
                                                     : OrdinalOf(node, Selector) == OrdinalOf(first, Selector);
        if (!same)
            return false;
    }
    return true;
}

void SetSelectedString(TlxTreeViewNodes* Nodes, int Selector, const std::string& Value)
{
    if (!IsStringSelector(Selector))
        return;
    ForEachSelected(Nodes, [&](TlxTreeViewNode* node) {
        if (Selector == npVarName)
            node->SetVarName(Value);
        else if (Selector == npVarValue)
            node->SetVarValue(Value);
        else
            node->SetText(Value);
    });
}

void SetSelectedValue(TlxTreeViewNodes* Nodes, int Selector, std::intptr_t Value)
{
    if (Selector < npParentFont || Selector > npVarType)
        return;
    ForEachSelected(Nodes, [&](TlxTreeViewNode* node) { SetOrdinal(node, Selector, Value); });
}
