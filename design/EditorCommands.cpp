// The item editor's node commands, its popup menu, files, keys and dragging inside the
// dialog's tree.
#include <vector>

#include "design/TreeFiles.h"
#include "design/lxTreeViewEditor.h"

namespace {

// Holds the tree's painting (and, when asked, its selection) for one command, released
// also when the command raises.
class TTreeBatch {
public:
    TTreeBatch(TlxTreeViewNodes* Items, bool LockSelection) : FItems(Items), FLocked(LockSelection)
    {
        FItems->BeginUpdate();
        if (FLocked)
            FItems->LockSelection();
    }
    ~TTreeBatch()
    {
        if (FLocked)
            FItems->UnlockSelection();
        FItems->EndUpdate();
    }
    TTreeBatch(const TTreeBatch&) = delete;
    TTreeBatch& operator=(const TTreeBatch&) = delete;

private:
    TlxTreeViewNodes* FItems;
    bool FLocked;
};

std::vector<TlxTreeViewNode*> SelectedNodes(TlxTreeViewNodes* Items)
{
    std::vector<TlxTreeViewNode*> nodes;
    for (TlxTreeViewNode* node = Items->GetFirstSelected(); node; node = node->GetNextSelected())
        nodes.push_back(node);
    return nodes;
}

// A node may land on Target when it is neither Target nor one of Target's ancestors.
bool MayDropOn(TlxTreeViewNode* Node, TlxTreeViewNode* Target) { return Node != Target && !Target->HasAsParent(Node); }

bool OnlyModifierFree(TShiftState Shift)
{
    return !Shift.Contains(ssShift) && !Shift.Contains(ssCtrl) && !Shift.Contains(ssAlt);
}

} // namespace

void TlxTreeViewEditor::SelectNewNode(TlxTreeViewNode* Node)
{
    Tree->SetSelection(Node);
    edtTextEdit->SetFocus();
}

void TlxTreeViewEditor::SpeedButton8Click(TObject*)
{
    SelectNewNode(Tree->Items()->Add(Tree->Items()->GetFirstSelected(), ""));
}

void TlxTreeViewEditor::SpeedButton1Click(TObject*)
{
    TlxTreeViewNode* first = Tree->Items()->GetFirstSelected();
    SelectNewNode(first ? Tree->Items()->Insert(first, "") : Tree->Items()->Add(nullptr, ""));
}

void TlxTreeViewEditor::AddChildItemClick(TObject*)
{
    if (TlxTreeViewNode* first = Tree->Items()->GetFirstSelected())
        Tree->SetSelection(Tree->Items()->AddChild(first, ""));
    edtTextEdit->SetFocus();
}

void TlxTreeViewEditor::InsertNodeClick(TObject*)
{
    TlxTreeViewNodes* items = Tree->Items();
    if (items->GetSelectedCount() == 0) {
        items->Add(nullptr, "New Node");
        return;
    }
    for (TlxTreeViewNode* node : SelectedNodes(items))
        items->Insert(node, node->Parent() ? "New Child" : "New Node")->MakeVisible();
}

void TlxTreeViewEditor::CopyChildren(TlxTreeViewNode* Source, TlxTreeViewNode* Dest)
{
    for (TlxTreeViewNode* child = Source->GetFirstChild(); child; child = child->GetNextSibling()) {
        TlxTreeViewNode* copy = Tree->Items()->AddChild(Dest, "");
        copy->Assign(child);
        CopyChildren(child, copy);
    }
}

void TlxTreeViewEditor::DuplicateNodeClick(TObject*)
{
    TlxTreeViewNodes* items = Tree->Items();
    TTreeBatch batch(items, true);
    for (TlxTreeViewNode* node : SelectedNodes(items)) {
        TlxTreeViewNode* copy = items->Insert(node, "");
        copy->Assign(node);
        CopyChildren(node, copy);
    }
}

void TlxTreeViewEditor::DeleteNodeClick(TObject*) { Tree->Items()->DeleteSelected(); }

void TlxTreeViewEditor::SpeedButton3Click(TObject*)
{
    TlxTreeViewNode* node = Tree->Selection();
    TlxTreeViewNode* previous = node ? node->GetPrevSibling() : nullptr;
    if (!previous)
        return; // already first among its siblings
    if (TlxTreeViewNode* twoBefore = previous->GetPrevSibling())
        node->MoveTo(twoBefore, naInsert); // lands right after twoBefore
    else
        node->MoveTo(previous, naAddFirst);
}

void TlxTreeViewEditor::SpeedButton4Click(TObject*)
{
    TlxTreeViewNode* node = Tree->Selection();
    if (TlxTreeViewNode* next = node ? node->GetNextSibling() : nullptr)
        node->MoveTo(next, naInsert);
}

void TlxTreeViewEditor::ExpandClick(TObject* Sender)
{
    if (Tree->Items()->Count() == 0)
        return;
    TTreeBatch batch(Tree->Items(), false);
    if (Sender == Collapse)
        Tree->FullCollapse();
    else
        Tree->FullExpand();
}

void TlxTreeViewEditor::SelectAllClick(TObject*) { Tree->Items()->SelectAll(); }

void TlxTreeViewEditor::PopupMenuPopup(TObject*)
{
    const int count = Tree->Items()->GetSelectedCount();
    for (TMenuItem* item : {DuplicateNode, DeleteNode, AddChildItem})
        item->SetEnabled(count > 0);
    if (count == 1)
        DeleteNode->SetCaption("D&elete Item + children");
    else if (count > 1)
        DeleteNode->SetCaption("D&elete " + IntToStr(count) + " Items + children");
}

void TlxTreeViewEditor::SpeedButton6Click(TObject*)
{
    if (SaveDialog1->Execute())
        Tree->SaveToFile(SaveDialog1->FileName(), true);
}

void TlxTreeViewEditor::SpeedButton7Click(TObject*)
{
    if (OpenDialog1->Execute())
        LoadTreeFileKeepingTree(Tree, OpenDialog1->FileName());
}

void TlxTreeViewEditor::OKButtonClick(TObject*) { SetModalResult(mrOk); }

void TlxTreeViewEditor::SpeedButton9Click(TObject*) { SetModalResult(mrCancel); }

// ---- Keys and the mouse on the tree

void TlxTreeViewEditor::TreeKeyDown(TObject*, WORD& Key, TShiftState)
{
    if (Tree->IsEditing())
        return;
    if (Key == VK_INSERT)
        InsertNodeClick(Tree);
    else if (Key == VK_DELETE)
        DeleteNodeClick(Tree);
}

void TlxTreeViewEditor::FormKeyPress(TObject*, char& Key)
{
    if (Key != char(VK_ESCAPE))
        return;
    Key = 0;
    SetModalResult(mrCancel);
}

// A right-button release selects the node under the mouse (none over empty space) and
// opens the node menu there.
void TlxTreeViewEditor::TreeMouseUp(TObject*, TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button != mbRight || !OnlyModifierFree(Shift))
        return;
    TlxTreeViewNode* node = Tree->GetNodeAt(X, Y);
    Tree->SetSelection(node);
    if (node)
        node->SetFocused(true);
    POINT at{X, Y};
    ClientToScreen(Tree->Handle(), &at);
    PopupMenu->SetPopupComponent(Tree);
    PopupMenu->Popup(at.x, at.y);
}

// ---- Dragging nodes inside the dialog's tree

void TlxTreeViewEditor::TreeStartDrag(TObject*, TDragObject*&)
{
    TlxTreeViewNode* node = Tree->Selection();
    if (!node)
        return;
    const bool single = node->Count() < 2 && Tree->Items()->GetSelectedCount() < 2;
    Tree->SetDragCursor(single ? crDrag : crMultiDrag);
}

void TlxTreeViewEditor::TreeDragOver(TObject*, TObject*, int X, int Y, TDragState, bool& Accept)
{
    Accept = false;
    TlxTreeViewNode* target = Tree->GetNodeAt(X, Y);
    if (!target)
        return;
    for (TlxTreeViewNode* node = Tree->Items()->GetFirstSelected(); node && !Accept; node = node->GetNextSelected())
        Accept = MayDropOn(node, target);
}

void TlxTreeViewEditor::TreeDragDrop(TObject*, TObject*, int X, int Y)
{
    {
        TTreeBatch batch(Tree->Items(), true);
        if (TlxTreeViewNode* target = Tree->GetNodeAt(X, Y))
            for (TlxTreeViewNode* node : SelectedNodes(Tree->Items()))
                if (MayDropOn(node, target))
                    node->MoveTo(target, naAddChild);
    }
    TreeChange(Tree, Tree->Selection());
}
