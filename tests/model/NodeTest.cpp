#include <stdexcept>
#include <string>
#include <vector>

#include "tests/model/ModelFixture.h"

namespace {

// A         (expanded)
//   A1      (expanded)
//     A1a
//   A2
// B         (collapsed)
//   B1
//     B1a
// C
class NavigationFixture : public ModelFixture {
protected:
    void SetUp() override
    {
        ModelFixture::SetUp();
        A = Items()->Add(nullptr, "A");
        A1 = Items()->AddChild(A, "A1");
        A1a = Items()->AddChild(A1, "A1a");
        A2 = Items()->AddChild(A, "A2");
        B = Items()->Add(nullptr, "B");
        B1 = Items()->AddChild(B, "B1");
        B1a = Items()->AddChild(B1, "B1a");
        C = Items()->Add(nullptr, "C");
        A->Expand(false);
        A1->Expand(false);
        B1->Expand(false); // expanded, but hidden under B
    }
    TlxTreeViewNode *A, *A1, *A1a, *A2, *B, *B1, *B1a, *C;
};

} // namespace

TEST_F(NavigationFixture, WalksInBothDirections)
{
    auto Next = [](TlxTreeViewNode* N) { return N->GetNext(); };
    auto Prev = [](TlxTreeViewNode* N) { return N->GetPrev(); };
    auto NextVisible = [](TlxTreeViewNode* N) { return N->GetNextVisible(); };
    auto PrevVisible = [](TlxTreeViewNode* N) { return N->GetPrevVisible(); };
    EXPECT_EQ(Walk(A, Next), "A A1 A1a A2 B B1 B1a C");
    EXPECT_EQ(Walk(C, Prev), "C B1a B1 B A2 A1a A1 A");
    EXPECT_EQ(Walk(A, NextVisible), "A A1 A1a A2 B C");
    EXPECT_EQ(Walk(C, PrevVisible), "C B A2 A1a A1 A");
    // From inside a hidden branch the visible walk leaves the branch.
    EXPECT_EQ(B1->GetNextVisible(), C);
    EXPECT_EQ(B1a->GetPrevVisible(), B);
    EXPECT_EQ(A1->GetPrev(), A); // first child: its parent
    EXPECT_EQ(A->GetPrev(), nullptr);
    EXPECT_EQ(C->GetNext(), nullptr);

    for (int I = 0; I < 8; ++I)
        EXPECT_EQ(Items()->Item(I)->AbsoluteIndex(), I);
    EXPECT_EQ(Walk(Items()->Item(0), Next), Walk(A, Next));
    EXPECT_EQ(Items()->Item(6), B1a);
}

TEST_F(NavigationFixture, RelativesAndPositions)
{
    EXPECT_EQ(A->Parent(), nullptr);
    EXPECT_EQ(B1->Parent(), B);
    EXPECT_EQ(A->Level(), 0);
    EXPECT_EQ(B1a->Level(), 2);
    EXPECT_EQ(A->GetNextSibling(), B);
    EXPECT_EQ(C->GetNextSibling(), nullptr);
    EXPECT_EQ(A->GetPrevSibling(), nullptr);
    EXPECT_EQ(A2->GetPrevSibling(), A1);
    EXPECT_EQ(A->GetNextChild(A1), A2);
    EXPECT_EQ(A->GetPrevChild(A2), A1);
    EXPECT_EQ(A->GetNextChild(B1), nullptr); // not a child of A
    EXPECT_EQ(A->GetNextChild(nullptr), nullptr);
    EXPECT_EQ(A->GetFirstChild(), A1);
    EXPECT_EQ(A->GetLastChild(), A2);
    EXPECT_EQ(A2->GetFirstChild(), nullptr);
    EXPECT_EQ(A->Count(), 2);
    EXPECT_EQ(A2->Index(), 1);
    EXPECT_EQ(A->IndexOf(A2), 1);
    EXPECT_EQ(A->IndexOf(B1), -1);
    EXPECT_EQ(A->IndexOf(nullptr), -1);
    EXPECT_EQ(A->GetChildrenCount(), 3);
    EXPECT_EQ(C->GetChildrenCount(), 0);
    EXPECT_TRUE(A1a->HasAsParent(A));
    EXPECT_TRUE(A1a->HasAsParent(A1a));
    EXPECT_TRUE(A1a->HasAsParent(nullptr));
    EXPECT_FALSE(A->HasAsParent(A1a));
    EXPECT_FALSE(A1a->HasAsParent(B));
    EXPECT_TRUE(A1a->IsNodeVisible());
    EXPECT_FALSE(B1a->IsNodeVisible());
    EXPECT_TRUE(B->IsNodeVisible());

    EXPECT_EQ(A->Item(1), A2);
    EXPECT_THROW(A->Item(2), ElxTreeViewError);
    EXPECT_THROW(A->Item(-1), EListError);
    try {
        A->Item(2);
    } catch (const ElxTreeViewError& E) {
        EXPECT_EQ(std::string(E.what()), SListIndexError);
    }
}

// Positions remembered by the nodes are checked on use, so they stay right through
// insertions at the front, deletions and sorts.
TEST_F(ModelFixture, PositionsFollowEveryChangeOfALongChildList)
{
    TlxTreeViewNode* Parent = Items()->Add(nullptr, "P");
    std::vector<TlxTreeViewNode*> Kids;
    for (int I = 0; I < 60; ++I)
        Kids.push_back(Items()->AddChild(Parent, "k" + std::to_string(100 + I)));
    EXPECT_EQ(Kids[59]->Index(), 59);
    EXPECT_EQ(Kids[59]->AbsoluteIndex(), 60);

    Kids.insert(Kids.begin(), Items()->AddChildFirst(Parent, "k099"));
    for (int I : {10, 0, 30, 57})
        Kids[I]->Delete(), Kids.erase(Kids.begin() + I);
    for (int I = 0; I < int(Kids.size()); ++I) {
        ASSERT_EQ(Kids[I]->Index(), I);
        ASSERT_EQ(Kids[I]->AbsoluteIndex(), I + 1);
        ASSERT_EQ(Parent->Item(I), Kids[I]);
    }
    Kids.back()->SetText("a"); // not sorted: SortType is stNone
    Parent->AlphaSort();
    EXPECT_EQ(Parent->GetFirstChild(), Kids.back());
    EXPECT_EQ(Kids.back()->Index(), 0);
    EXPECT_EQ(Kids.front()->Index(), 1);
    EXPECT_EQ(Kids.front()->GetPrevSibling(), Kids.back());
    EXPECT_EQ(NativeChildren(Parent), Children(Parent));
}

// A walk that deletes as it goes, insertions before nodes in the middle and moves to
// the front leave every position right, near or far from where a node last was.
TEST_F(ModelFixture, PositionsHoldThroughWalksThatChangeTheList)
{
    TlxTreeViewNode* Parent = Items()->Add(nullptr, "P");
    for (int I = 0; I < 1200; ++I)
        Items()->AddChild(Parent, "k" + std::to_string(I));
    for (TlxTreeViewNode* Node = Parent->GetFirstChild(); Node;) { // every other one goes
        TlxTreeViewNode* Next = Node->GetNextSibling();
        Node = Next ? Next->GetNextSibling() : nullptr;
        if (Next)
            Next->Delete();
    }
    ASSERT_EQ(Parent->Count(), 600);
    EXPECT_EQ(Parent->Item(599)->Text(), "k1198");
    for (int I = 0; I < 400; ++I)
        Items()->Insert(Parent->Item(Parent->Count() / 2), "new");
    for (int I = 0; I < 300; ++I)
        Parent->GetLastChild()->MoveTo(Parent, naAddChildFirst);
    EXPECT_EQ(Disagreements(), "");
    EXPECT_EQ(Parent->Item(0)->Text(), "k600"); // the last 300 went first, one by one
    EXPECT_EQ(Parent->Item(0)->Index(), 0);
}

TEST_F(ModelFixture, NewNodeDefaults)
{
    TlxTreeViewNode* Node = Items()->Add(nullptr, "n");
    EXPECT_EQ(Node->ImageIndex(), -1);
    EXPECT_EQ(Node->SelectedIndex(), -1);
    EXPECT_EQ(Node->OverlayIndex(), -1);
    EXPECT_EQ(Node->StateIndex(), -1); // no check support: no glyph recorded
    EXPECT_TRUE(Node->ParentColor());
    EXPECT_TRUE(Node->ParentFont());
    EXPECT_TRUE(Node->Enabled());
    EXPECT_EQ(Node->CheckState(), lxsUnchecked);
    EXPECT_EQ(Node->CheckType(), lxtNone);
    EXPECT_FALSE(Node->Expanded());
    EXPECT_FALSE(Node->HasChildren());
    EXPECT_EQ(Node->Data(), nullptr);
    EXPECT_EQ(Node->VarName(), "");
    EXPECT_EQ(Node->VarType(), 0);
    EXPECT_EQ(Node->Level(), 0);
    EXPECT_EQ(Node->Parent(), nullptr);
    EXPECT_EQ(Node->Owner(), Items());
    EXPECT_EQ(Node->TreeView(), tree);
    EXPECT_EQ(Node->MultiHeight(), 1);

    tree->SetOptions(tree->Options() + TTreeOptions{roCheckSupport});
    EXPECT_EQ(Items()->Add(nullptr, "m")->StateIndex(), 0); // the glyph of a parent without checks
}

TEST_F(ModelFixture, ChangesReachTheNativeItem)
{
    TlxTreeViewNode* Node = Items()->Add(nullptr, "n");
    Items()->AddChild(Node, "child");
    auto NativeState = [&] {
        TVITEMEXA Item;
        Item.mask = TVIF_STATE;
        Item.hItem = Node->ItemId();
        Item.stateMask = 0xFFFF;
        SendMessageA(tree->Handle(), TVM_GETITEMA, 0, LPARAM(&Item));
        return Item.state;
    };
    Node->SetStateIndex(5);
    Node->SetOverlayIndex(0);
    EXPECT_EQ(NativeState() & (TVIS_STATEIMAGEMASK | TVIS_OVERLAYMASK), INDEXTOSTATEIMAGEMASK(5) | INDEXTOOVERLAYMASK(1));
    Node->SetOverlayIndex(-1);
    Node->SetStateIndex(-1);
    EXPECT_EQ(NativeState() & (TVIS_STATEIMAGEMASK | TVIS_OVERLAYMASK), 0u);
    EXPECT_EQ(Node->OverlayIndex(), -1);

    Node->SetCut(true);
    Node->SetDropTarget(true);
    Node->SetExpandedPartial(true);
    EXPECT_TRUE(Node->Cut());
    EXPECT_TRUE(Node->DropTarget());
    EXPECT_TRUE(Node->ExpandedPartial());
    Node->SetCut(false);
    Node->SetDropTarget(false);
    EXPECT_FALSE(Node->Cut());
    EXPECT_FALSE(Node->DropTarget());
    EXPECT_FALSE(Node->GetState(nsHot)); // not kept natively

    Node->SetMultiHeight(3);
    EXPECT_EQ(Node->MultiHeight(), 3);
    Node->SetHasChildren(false);
    EXPECT_FALSE(Node->HasChildren());
    Node->SetHasChildren(true);
    EXPECT_TRUE(Node->HasChildren());
    const RECT Row = Node->DisplayRect(false);
    const RECT Label = Node->DisplayRect(true);
    EXPECT_GT(Row.bottom, Row.top);
    EXPECT_GE(Label.left, Row.left);
    EXPECT_LE(Label.right, Row.right);
}

TEST_F(ModelFixture, DeletingTheLastChildCollapsesTheParent)
{
    TlxTreeViewNode* Parent = Items()->Add(nullptr, "P");
    TlxTreeViewNode* First = Items()->AddChild(Parent, "1");
    TlxTreeViewNode* Second = Items()->AddChild(Parent, "2");
    Parent->Expand(false);
    std::vector<std::string> Events;
    tree->OnCollapsing = [&](TObject*, TlxTreeViewNode* N, bool&) { Events.push_back("collapsing " + N->Text()); };
    tree->OnCollapsed = [&](TObject*, TlxTreeViewNode* N) { Events.push_back("collapsed " + N->Text()); };
    First->Delete();
    EXPECT_TRUE(Events.empty());
    EXPECT_TRUE(Parent->Expanded());
    Items()->Delete(Second);
    EXPECT_EQ(Events, (std::vector<std::string>{"collapsing P", "collapsed P"}));
    EXPECT_FALSE(Parent->Expanded());
    EXPECT_FALSE(Parent->GetState(nsExpanded));
    EXPECT_FALSE(Parent->HasChildren());
}

TEST_F(NavigationFixture, RecursiveExpansionVisitsChildrenOfARefusedNode)
{
    A->Collapse(true);
    EXPECT_FALSE(A->Expanded());
    EXPECT_FALSE(A1->Expanded());
    std::vector<std::string> Events;
    tree->OnExpanding = [&](TObject*, TlxTreeViewNode* N, bool& Allow) {
        Events.push_back("expanding " + N->Text());
        Allow = N != A;
    };
    tree->OnExpanded = [&](TObject*, TlxTreeViewNode* N) { Events.push_back("expanded " + N->Text()); };
    A->Expand(true);
    EXPECT_EQ(Events, (std::vector<std::string>{"expanding A", "expanding A1", "expanded A1"}));
    EXPECT_FALSE(A->Expanded());
    EXPECT_FALSE(A->GetState(nsExpanded));
    EXPECT_TRUE(A1->Expanded());
    EXPECT_TRUE(A1->GetState(nsExpanded));
    EXPECT_FALSE(A2->Expanded()); // no children: never asked

    // A handler that raises leaves the control listening to the native tree again.
    tree->OnExpanding = [](TObject*, TlxTreeViewNode*, bool&) { throw std::runtime_error("no"); };
    EXPECT_THROW(A->SetExpanded(true), std::runtime_error);
    tree->OnExpanding = [&](TObject*, TlxTreeViewNode* N, bool&) { Events.push_back("expanding " + N->Text()); };
    tree->SetSelection(A);
    Events.clear();
    SendMessageA(tree->Handle(), WM_KEYDOWN, VK_ADD, 0); // the user expands A
    EXPECT_EQ(Events, (std::vector<std::string>{"expanding A", "expanded A"}));
    EXPECT_TRUE(A->Expanded());
}

TEST_F(ModelFixture, TextChangesResortUnderTextSorting)
{
    tree->SetSortType(stText);
    TlxTreeViewNode* Y = Items()->Add(nullptr, "y");
    TlxTreeViewNode* X = Items()->Add(nullptr, "x");
    for (const char* S : {"c", "b", "a"})
        Items()->AddChild(Y, S);
    for (const char* S : {"3", "2", "1"})
        Items()->AddChild(X, S);
    EXPECT_EQ(Children(nullptr), "y x"); // adding does not sort

    Y->Item(1)->SetText("d"); // a deeper node: its siblings only
    EXPECT_EQ(Children(Y), "a c d");
    EXPECT_EQ(Children(X), "3 2 1");
    EXPECT_EQ(Children(nullptr), "y x");

    X->SetText("w"); // a top-level node: the whole tree
    EXPECT_EQ(Children(nullptr), "w y");
    EXPECT_EQ(Children(X), "1 2 3");
    EXPECT_EQ(NativeChildren(nullptr), "w y");
    EXPECT_EQ(NativeChildren(X), "1 2 3");

    tree->SetSortType(stNone);
    X->SetText("z"); // no sorting any more
    EXPECT_EQ(Children(nullptr), "z y");
}

TEST_F(ModelFixture, ColourAndFontComeFromTheControlUntilTheNodeHasItsOwn)
{
    TlxTreeViewNode* Node = Items()->Add(nullptr, "n");
    EXPECT_EQ(Node->Color(), tree->Color());
    Node->SetColor(0); // the node's own colour is already 0: nothing changes
    EXPECT_TRUE(Node->ParentColor());
    Node->SetColor(clRed);
    EXPECT_FALSE(Node->ParentColor());
    EXPECT_EQ(Node->Color(), clRed);
    Node->SetParentColor(true);
    EXPECT_EQ(Node->Color(), tree->Color());

    TFont* Font = Node->Font(); // reading makes a copy of the control's font...
    EXPECT_TRUE(Node->ParentFont()); // ...without using it
    EXPECT_EQ(Font->Name(), tree->Font()->Name());
    Font->SetSize(Font->Size() + 5); // a change of that font makes the node use it
    EXPECT_FALSE(Node->ParentFont());

    Node->SetParentFont(true); // drops the font
    EXPECT_EQ(Node->Font()->Size(), tree->Font()->Size());
    EXPECT_TRUE(Node->ParentFont());

    TlxTreeViewNode* Other = Items()->Add(nullptr, "o");
    Other->SetParentFont(false);
    Other->SetParentFont(true);
    Other->SetParentFont(false); // a fresh copy without a change handler
    Other->Font()->SetColor(clBlue);
    EXPECT_FALSE(Other->ParentFont());

    TFont Bold;
    Bold.SetStyle(TFontStyles{fsBold});
    TlxTreeViewNode* Third = Items()->Add(nullptr, "t");
    Third->SetFont(&Bold);
    EXPECT_FALSE(Third->ParentFont());
    EXPECT_TRUE(Third->Font()->Style().Contains(fsBold));

    // Updates hold the repaint back but not the change itself.
    Third->BeginUpdate();
    Third->BeginUpdate();
    EXPECT_TRUE(Third->IsUpdating());
    Third->SetColor(clGreen);
    Third->EndUpdate();
    Third->EndUpdate();
    Third->EndUpdate();
    EXPECT_FALSE(Third->IsUpdating());
    EXPECT_EQ(Third->Color(), clGreen);
    Items()->BeginUpdate();
    EXPECT_TRUE(Third->IsUpdating());
    Items()->EndUpdate();
}

// A node's own attributes go with it: nodes made after deletions, which take the
// freed memory, start with none, and the survivors keep theirs.
TEST_F(ModelFixture, OwnAttributesLeaveWithTheirNode)
{
    std::vector<TlxTreeViewNode*> Gone;
    for (int I = 0; I < 50; ++I) {
        TlxTreeViewNode* Node = Items()->Add(nullptr, "gone");
        Node->SetColor(clRed);
        Node->SetVarName("name");
        Node->Font()->SetSize(30);
        Node->BeginUpdate();
        Gone.push_back(Node);
    }
    TlxTreeViewNode* Kept = Items()->Add(nullptr, "kept");
    Kept->SetVarValue("value");
    Kept->SetOverlayIndex(2);
    for (TlxTreeViewNode* Node : Gone)
        Node->Delete();
    for (int I = 0; I < 50; ++I) {
        TlxTreeViewNode* Node = Items()->Add(nullptr, "new");
        EXPECT_TRUE(Node->ParentColor());
        EXPECT_EQ(Node->Color(), tree->Color());
        EXPECT_EQ(Node->VarName(), "");
        EXPECT_FALSE(Node->IsUpdating());
        EXPECT_EQ(Node->Font()->Size(), tree->Font()->Size());
    }
    EXPECT_EQ(Kept->VarValue(), "value");
    EXPECT_EQ(Kept->OverlayIndex(), 2);
    Items()->Clear();
}

// Short texts are kept inside the node and long ones apart; either way a text reads
// back as set as it moves between the two, and a copy keeps its own.
TEST_F(ModelFixture, TextsOfEveryLengthReadBackAsSet)
{
    TlxTreeViewNode* Node = Items()->Add(nullptr, "");
    const std::string Long(300, 'x');
    for (const std::string& Text : {std::string(), std::string("eleven char"), std::string("twelve chars"), Long,
                                    std::string("short"), Long + "y", std::string(11, 'z'), std::string("a\0b", 3)}) {
        Node->SetText(Text);
        EXPECT_EQ(Node->Text(), Text);
        EXPECT_EQ(Node->TextView().size(), Text.size());
    }
    Node->SetText(Long);
    TlxTreeViewNode* Copy = Items()->Add(nullptr, "");
    Copy->Assign(Node);
    Node->SetText("gone");
    EXPECT_EQ(Copy->Text(), Long);
    Items()->Clear();
}

TEST_F(ModelFixture, AssignCopiesAttributesButNotThePlace)
{
    TlxTreeViewNode* Source = Items()->Add(nullptr, "source");
    Items()->AddChild(Source, "child");
    Source->Expand(false);
    int Value = 1;
    Source->SetData(&Value);
    Source->SetImageIndex(1);
    Source->SetSelectedIndex(2);
    Source->SetOverlayIndex(3);
    Source->SetVarName("v");
    Source->SetVarValue("42");
    Source->SetVarType(7);
    Source->SetColor(clRed);
    TFont Big;
    Big.SetSize(20);
    Source->SetFont(&Big);

    TlxTreeViewNode* Target = Items()->Add(nullptr, "target");
    Target->Assign(Source);
    EXPECT_EQ(Target->Text(), "source");
    EXPECT_EQ(Target->Data(), &Value);
    EXPECT_EQ(Target->ImageIndex(), 1);
    EXPECT_EQ(Target->SelectedIndex(), 2);
    EXPECT_EQ(Target->OverlayIndex(), 3);
    EXPECT_EQ(Target->VarName(), "v");
    EXPECT_EQ(Target->VarValue(), "42");
    EXPECT_EQ(Target->VarType(), 7);
    EXPECT_EQ(Target->Color(), clRed);
    EXPECT_FALSE(Target->ParentFont());
    EXPECT_EQ(Target->Font()->Size(), 20);
    EXPECT_NE(Target->Font(), Source->Font());
    EXPECT_TRUE(Target->HasChildren()); // as the source's item says
    EXPECT_EQ(Target->Count(), 0);
    EXPECT_EQ(Target->Index(), 1);
    EXPECT_TRUE(Target->IsEqual(Source));
    Target->SetData(nullptr);
    EXPECT_FALSE(Target->IsEqual(Source));

    Target->Font()->SetSize(9); // the copied font reports its changes
    Target->SetParentFont(true);
    Target->Assign(Target); // onto itself: harmless
    EXPECT_EQ(Target->Text(), "source");
    EXPECT_THROW(Target->Assign(Items()), EConvertError);
}

// The rows and the button that the node remembers of its item agree with the item,
// whatever was set, after a move (which makes the item anew) and after children come
// and go.
TEST_F(ModelFixture, RowsAndButtonAgreeWithTheNativeItem)
{
    TlxTreeViewNode* Node = Items()->Add(nullptr, "n");
    TlxTreeViewNode* Other = Items()->Add(nullptr, "other");
    auto Native = [&](UINT Mask) {
        TVITEMEXA Item;
        Item.mask = Mask;
        Item.hItem = Node->ItemId();
        SendMessageA(tree->Handle(), TVM_GETITEMA, 0, LPARAM(&Item));
        return Mask == TVIF_INTEGRAL ? Item.iIntegral : Item.cChildren;
    };
    for (int Rows : {3, 0, -4, 255, 300, 1, 7}) {
        Node->SetMultiHeight(Rows);
        EXPECT_EQ(Node->MultiHeight(), Native(TVIF_INTEGRAL)) << Rows;
    }
    EXPECT_EQ(Node->MultiHeight(), 7);
    Node->MoveTo(Other, naAddChild);
    EXPECT_EQ(Node->MultiHeight(), Native(TVIF_INTEGRAL));

    TlxTreeViewNode* const Parent = Other;
    Node = Parent; // the item asked about from here on
    Items()->AddChild(Parent, "second");
    EXPECT_EQ(Native(TVIF_CHILDREN), 1);
    Parent->SetHasChildren(false);
    EXPECT_EQ(Native(TVIF_CHILDREN), 0);
    Items()->AddChild(Parent, "third"); // shows the button again
    EXPECT_EQ(Native(TVIF_CHILDREN), 1);
    Parent->DeleteChildren();
    EXPECT_EQ(Native(TVIF_CHILDREN), 0);
    Items()->AddChild(Parent, "again");
    EXPECT_EQ(Native(TVIF_CHILDREN), 1);
    EXPECT_TRUE(Parent->HasChildren());
}
