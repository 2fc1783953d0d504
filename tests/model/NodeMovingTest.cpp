#include <gtest/gtest.h>

#include "model/ModelFixture.h"

namespace {

class MoveFixture : public ModelFixture {
protected:
    void SetUp() override
    {
        ModelFixture::SetUp();
        A = Items()->Add(nullptr, "A");
        for (const char* S : {"a1", "a2", "a3"})
            Items()->AddChild(A, S);
        B = Items()->Add(nullptr, "B");
        b1 = Items()->AddChild(B, "b1");
        C = Items()->Add(nullptr, "C");
    }
    TlxTreeViewNode* Child(TlxTreeViewNode* Parent, int I) { return Parent->Item(I); }
    bool NativeSelected(TlxTreeViewNode* Node)
    {
        TVITEMEXA Item;
        Item.mask = TVIF_STATE | TVIF_PARAM;
        Item.stateMask = TVIS_SELECTED;
        Item.hItem = Node->ItemId();
        SendMessageA(tree->Handle(), TVM_GETITEMA, 0, LPARAM(&Item));
        EXPECT_EQ(Item.lParam, LPARAM(Node));
        return Item.state & TVIS_SELECTED;
    }
    TlxTreeViewNode *A, *B, *b1, *C;
};

} // namespace

TEST_F(MoveFixture, EveryAttachModePlacesTheNodeAndBothOrdersAgree)
{
    TlxTreeViewNode* a1 = Child(A, 0);
    TlxTreeViewNode* a2 = Child(A, 1);
    TlxTreeViewNode* a3 = Child(A, 2);
    a1->MoveTo(b1, naInsert); // right after the destination
    EXPECT_EQ(Children(B), "b1 a1");
    a2->MoveTo(b1, naAddFirst);
    EXPECT_EQ(Children(B), "a2 b1 a1");
    a3->MoveTo(B, naAddChild);
    EXPECT_EQ(Children(B), "a2 b1 a1 a3");
    EXPECT_EQ(a3->Parent(), B);
    EXPECT_FALSE(A->HasChildren()); // its only child left
    EXPECT_FALSE(A->Expanded());
    EXPECT_TRUE(B->HasChildren());
    EXPECT_TRUE(B->Expanded());
    EXPECT_TRUE(B->GetState(nsExpanded));
    b1->MoveTo(C, naAddChildFirst);
    EXPECT_EQ(Children(C), "b1");
    EXPECT_EQ(Disagreements(), "");

    for (TNodeAttachMode Mode : {naAdd, naAddFirst, naAddChild, naAddChildFirst, naInsert}) {
        a2->MoveTo(nullptr, Mode); // the end of the top level, whatever the mode
        EXPECT_EQ(Children(nullptr), "A B C a2");
        EXPECT_EQ(a2->Parent(), nullptr);
    }
    const std::string Before = Children(nullptr) + "|" + Children(B) + "|" + Children(C);
    C->MoveTo(b1, naAddChild); // into its own subtree
    C->MoveTo(C, naInsert);    // onto itself
    B->MoveTo(Child(B, 0), naAdd);
    EXPECT_EQ(Children(nullptr) + "|" + Children(B) + "|" + Children(C), Before);
    EXPECT_EQ(b1->Parent(), C);

    C->MoveTo(A, naInsert);
    EXPECT_EQ(Children(nullptr), "A C B a2");
    EXPECT_EQ(b1->Level(), 1);
    EXPECT_EQ(Disagreements(), "");
    EXPECT_EQ(Items()->Count(), 7);
}

TEST_F(MoveFixture, ASubtreeKeepsItsOrderExpansionSelectionAndNodes)
{
    tree->SetOptions(tree->Options() + TTreeOptions{roMultiSelect});
    TlxTreeViewNode* a1 = Child(A, 0);
    TlxTreeViewNode* a2 = Child(A, 1);
    Items()->AddChild(a1, "a1x");
    Items()->AddChild(a2, "a2x");
    A->Expand(false);
    a1->Expand(false); // a2 stays collapsed
    tree->SetSelection(A);
    Items()->SelectNode(B, stSet); // the next sibling, where the caret would go when A's item goes
    int Changes = 0, Deletions = 0;
    tree->OnChanging = [&](TObject*, TlxTreeViewNode*, bool&) { ++Changes; };
    tree->OnChange = [&](TObject*, TlxTreeViewNode*) { ++Changes; };
    tree->OnDeletion = [&](TObject*, TlxTreeViewNode*) { ++Deletions; };

    A->MoveTo(C, naAddChild);
    EXPECT_EQ(Children(C), "A");
    EXPECT_EQ(Children(A), "a1 a2 a3");
    EXPECT_TRUE(A->GetState(nsExpanded));
    EXPECT_TRUE(a1->Expanded() && a1->GetState(nsExpanded));
    EXPECT_FALSE(a2->Expanded() || a2->GetState(nsExpanded));
    EXPECT_TRUE(a2->HasChildren());
    EXPECT_EQ(tree->Selection(), A);
    EXPECT_TRUE(A->Selected() && NativeSelected(A));
    EXPECT_TRUE(B->Selected() && NativeSelected(B));
    EXPECT_EQ(Items()->GetSelectedCount(), 2);

    tree->SetSelection(nullptr);
    tree->SetSelection(Child(a1, 0)); // the caret deep inside the moved subtree
    Changes = 0;
    A->MoveTo(B, naInsert);
    EXPECT_EQ(Children(nullptr), "B A C");
    EXPECT_EQ(tree->Selection(), Child(a1, 0));
    EXPECT_TRUE(NativeSelected(Child(a1, 0)));
    EXPECT_FALSE(A->Selected() || NativeSelected(A)); // it lost the caret before the move
    EXPECT_EQ(Items()->GetSelectedCount(), 2);       // B and the caret node
    EXPECT_EQ(Changes, 0);
    EXPECT_EQ(Deletions, 0);
    EXPECT_TRUE(tree->OnChanging && tree->OnChange); // back after the move
    EXPECT_EQ(Items()->Count(), 9);
    EXPECT_EQ(Disagreements(), "");
}

TEST_F(MoveFixture, ADestinationOfAnotherControlIsIgnoredAndAFailedInsertionRaises)
{
    auto* Other = new TlxTreeView(form.get());
    Other->SetParent(form.get());
    TlxTreeViewNode* Foreign = Other->Items()->Add(nullptr, "foreign");
    b1->MoveTo(Foreign, naAddChild);
    EXPECT_EQ(b1->Parent(), B);
    EXPECT_EQ(Foreign->Count(), 0);

    // The destination goes while the emptied old parent collapses.
    B->Expand(false);
    tree->OnCollapsing = [&](TObject*, TlxTreeViewNode* Node, bool&) {
        if (Node == B)
            C->Delete();
    };
    tree->OnChange = [](TObject*, TlxTreeViewNode*) {};
    EXPECT_THROW(b1->MoveTo(C, naAddChild), EOutOfResources);
    EXPECT_TRUE(tree->OnChange);
    EXPECT_EQ(Items()->GetNode(b1->ItemId()), b1); // its old item still owns it
}
