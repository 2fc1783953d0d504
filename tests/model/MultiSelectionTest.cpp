#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/model/ModelFixture.h"

namespace {

class MultiSelection : public ModelFixture {
protected:
    // A: A1 A2 (A2 has A21 A22, collapsed), B, C: C1 (expanded).
    void SetUp() override
    {
        ModelFixture::SetUp();
        A = Items()->Add(nullptr, "A");
        A1 = Items()->AddChild(A, "A1");
        A2 = Items()->AddChild(A, "A2");
        A21 = Items()->AddChild(A2, "A21");
        A22 = Items()->AddChild(A2, "A22");
        B = Items()->Add(nullptr, "B");
        C = Items()->Add(nullptr, "C");
        C1 = Items()->AddChild(C, "C1");
        A->Expand(false);
        C->Expand(false);
        tree->OnChange = [this](TObject*, TlxTreeViewNode* Node) { Changes.push_back(Node ? Node->Text() : "-"); };
    }

    // The selection list in its order, and whether every native item agrees with it.
    std::string Selection()
    {
        std::string Result;
        for (TlxTreeViewNode* Node = Items()->GetFirstSelected(); Node; Node = Node->GetNextSelected())
            Result += (Result.empty() ? "" : " ") + Node->Text();
        return Result;
    }
    bool NativeAgrees()
    {
        for (TlxTreeViewNode* Node = Items()->GetFirstNode(); Node; Node = Node->GetNext()) {
            TVITEMA Item{};
            Item.mask = TVIF_STATE | TVIF_HANDLE;
            Item.hItem = Node->ItemId();
            Item.stateMask = TVIS_SELECTED;
            SendMessageA(tree->Handle(), TVM_GETITEMA, 0, LPARAM(&Item));
            if (((Item.state & TVIS_SELECTED) != 0) != Node->Selected())
                return false;
        }
        return true;
    }

    TlxTreeViewNode *A, *A1, *A2, *A21, *A22, *B, *C, *C1;
    std::vector<std::string> Changes;
};

} // namespace

TEST_F(MultiSelection, RangesFollowTheVisibleNodesInEitherOrder)
{
    Items()->SelectNodes(C, A1, false); // ends swapped: same range, report for the later end
    EXPECT_EQ(Selection(), "A1 A2 B C");  // A2's collapsed children stay out
    EXPECT_EQ(Changes, std::vector<std::string>{"C"});
    EXPECT_TRUE(NativeAgrees());

    Changes.clear();
    Items()->SelectNodes(B, C1, false); // nodes outside the new range are deselected
    EXPECT_EQ(Selection(), "B C C1");
    EXPECT_EQ(Changes, std::vector<std::string>{"C1"});

    Items()->SelectNodes(A, A1, true); // AddOnly keeps the rest, appends in document order
    EXPECT_EQ(Selection(), "B C C1 A A1");
    EXPECT_TRUE(NativeAgrees());
}

TEST_F(MultiSelection, ToggledRangesLeaveOutBothEnds)
{
    Items()->SelectNodes(A2, B, true);
    Changes.clear();
    Items()->ToggleSelectionRange(A2, B); // adjacent: nothing between
    EXPECT_EQ(Selection(), "A2 B");
    EXPECT_EQ(Changes, std::vector<std::string>{"B"});

    Items()->ToggleSelectionRange(C1, A); // upward: A1 A2 B C toggled
    EXPECT_EQ(Selection(), "C A1");
    EXPECT_EQ(Changes.back(), "A");
    Changes.clear();
    Items()->ToggleSelectionRange(B, B);
    EXPECT_TRUE(Changes.empty());
    EXPECT_TRUE(NativeAgrees());
}

TEST_F(MultiSelection, SelectAllTakesCollapsedNodesAndReportsOnce)
{
    Items()->SelectAll();
    EXPECT_EQ(Items()->GetSelectedCount(), 8);
    EXPECT_TRUE(A21->Selected());
    EXPECT_EQ(Changes, std::vector<std::string>{"C1"});
    EXPECT_TRUE(NativeAgrees());

    tree->ClearSelection();
    EXPECT_EQ(Items()->GetSelectedCount(), 0);
    EXPECT_TRUE(NativeAgrees());

    // One level only: the level of the last plain selection (a native caret move).
    tree->SetOptions(tree->Options() + TTreeOptions{roLevelSelection, roMultiSelect});
    tree->SetSelection(A1);
    tree->ClearSelection();
    Items()->SelectAll();
    EXPECT_EQ(Selection(), "A1 A2 C1");
}

TEST_F(MultiSelection, RefusalsSkipOneNodeAndExceptionsLeaveTheListAndItemsAgreeing)
{
    tree->OnChanging = [this](TObject*, TlxTreeViewNode* Node, bool& Allow) { Allow = Node != B; };
    Items()->SelectAll();
    EXPECT_FALSE(B->Selected());
    EXPECT_EQ(Items()->GetSelectedCount(), 7);

    tree->ClearSelection();
    tree->OnChanging = [this](TObject*, TlxTreeViewNode* Node, bool&) {
        if (Node == A2)
            throw std::runtime_error("no A2");
    };
    EXPECT_THROW(Items()->SelectNodes(A, C1, false), std::runtime_error);
    EXPECT_EQ(Selection(), "A A1 B C C1"); // the walk went on past the raising node
    EXPECT_TRUE(NativeAgrees());

    // The bulk state ended with the exception: single selections report again.
    tree->OnChanging = nullptr;
    Changes.clear();
    A2->SetSelected(true);
    EXPECT_EQ(Changes, std::vector<std::string>{"A2"});
}

TEST_F(MultiSelection, DeleteSelectedDeletesEachNodeOnceAndReportsTheEmptyTree)
{
    int Deletions = 0;
    tree->OnDeletion = [&](TObject*, TlxTreeViewNode*) { ++Deletions; };
    A2->SetSelected(true);
    A21->SetSelected(true); // inside A2's subtree, freed with it
    B->SetSelected(true);
    Items()->DeleteSelected();
    EXPECT_EQ(Children(nullptr), "A C");
    EXPECT_EQ(Children(A), "A1");
    EXPECT_EQ(Deletions, 4);
    EXPECT_EQ(Items()->GetSelectedCount(), 0);

    // A handler that deletes a node still waiting in the copy of the list.
    A1->SetSelected(true);
    C1->SetSelected(true);
    C->SetSelected(true);
    bool Deleting = false;
    tree->OnDeletion = [&](TObject*, TlxTreeViewNode* Node) {
        if (Node == A1 && !Deleting) {
            Deleting = true;
            C1->Delete();
        }
    };
    Items()->DeleteSelected();
    EXPECT_EQ(Children(nullptr), "A");

    tree->OnDeletion = nullptr;
    Changes.clear();
    Items()->SelectAll();
    Changes.clear();
    Items()->DeleteSelected();
    EXPECT_EQ(Items()->Count(), 0);
    EXPECT_EQ(Changes.back(), "-");
}

TEST_F(MultiSelection, WalkingTheSelectionAndLockingIt)
{
    C->SetSelected(true);
    A1->SetSelected(true);
    B->SetSelected(true);
    EXPECT_EQ(Selection(), "C A1 B"); // the order of selection
    EXPECT_EQ(B->GetPrevSelected(), A1);
    EXPECT_EQ(C->GetPrevSelected(), nullptr);
    EXPECT_EQ(A2->GetNextSelected(), nullptr);
    EXPECT_EQ(A2->GetPrevSelected(), nullptr);

    Items()->LockSelection();
    A2->SetSelected(true); // the list stays, the item and the report still happen
    A1->SetSelected(false);
    EXPECT_EQ(Selection(), "C A1 B");
    Items()->UnlockSelection();
    Items()->UnlockSelection(); // never below zero
    Items()->LockSelection();
    Items()->UnlockSelection();
    A2->SetSelected(true);
    EXPECT_EQ(Selection(), "C A1 B A2");
}

TEST_F(MultiSelection, NodesOfAnotherTreeOrNoneChangeNothing)
{
    TForm OtherForm(nullptr);
    auto* Other = new TlxTreeView(&OtherForm);
    Other->SetParent(&OtherForm);
    TlxTreeViewNode* Foreign = Other->Items()->Add(nullptr, "foreign");
    Items()->SelectNodes(A, Foreign, false);
    Items()->SelectNodes(nullptr, A, false);
    Items()->ToggleSelectionRange(Foreign, A);
    Items()->SelectNode(nullptr, stSet);
    EXPECT_EQ(Items()->GetSelectedCount(), 0);
    EXPECT_TRUE(Changes.empty());
}

// A handler raising in the middle of a bulk operation: the exception reaches the caller,
// the operation finished every other node, and the list agrees with the native items.
TEST_F(MultiSelection, AHandlerRaisingInSelectAllOrDeleteSelectedLosesNothingElse)
{
    tree->OnChanging = [this](TObject*, TlxTreeViewNode* Node, bool&) {
        if (Node == B)
            throw std::runtime_error("no B");
    };
    EXPECT_THROW(Items()->SelectAll(), std::runtime_error);
    EXPECT_EQ(Selection(), "A A1 A2 A21 A22 C C1");
    EXPECT_TRUE(NativeAgrees());
    tree->ClearSelection(); // B is not selected: nothing asks about it
    EXPECT_EQ(Selection(), "");
    EXPECT_TRUE(NativeAgrees());
    tree->OnChanging = nullptr;

    A1->SetSelected(true);
    B->SetSelected(true);
    C1->SetSelected(true);
    tree->OnDeletion = [this](TObject*, TlxTreeViewNode* Node) {
        if (Node == A1)
            throw std::runtime_error("A1 going");
    };
    EXPECT_THROW(Items()->DeleteSelected(), std::runtime_error);
    tree->OnDeletion = nullptr;
    EXPECT_EQ(Children(A), "A2");
    EXPECT_EQ(Children(nullptr), "A C");
    EXPECT_EQ(Children(C), "");
    EXPECT_EQ(Selection(), "");
    EXPECT_EQ(NativeChildren(nullptr), "A C");
    EXPECT_TRUE(NativeAgrees());
}

// A long selection keeps its order through deselections one after another, in its own
// order, against it and at random places, and a walk over it meets every node once.
TEST_F(MultiSelection, ALongSelectionKeepsItsOrderThroughDeselections)
{
    tree->SetOptions(tree->Options() + TTreeOptions{roMultiSelect});
    std::vector<TlxTreeViewNode*> Kids;
    for (int I = 0; I < 900; ++I)
        Kids.push_back(Items()->AddChild(B, std::to_string(I)));
    tree->ClearSelection();
    for (int I = 899; I >= 0; --I) // selected last to first: the list runs against the tree
        Kids[std::size_t(I)]->SetSelected(true);
    std::vector<TlxTreeViewNode*> Expected(Kids.rbegin(), Kids.rend());
    auto deselect = [&](TlxTreeViewNode* Node) {
        Node->SetSelected(false);
        Expected.erase(std::find(Expected.begin(), Expected.end(), Node));
    };
    for (int I = 898; I >= 600; I -= 2) // in the list's order
        deselect(Kids[std::size_t(I)]);
    for (int I = 1; I < 300; I += 2) // against it
        deselect(Kids[std::size_t(I)]);
    for (int I = 0; I < 100; ++I) // anywhere
        if (Kids[std::size_t(I * 37 % 900)]->Selected())
            deselect(Kids[std::size_t(I * 37 % 900)]);
    std::vector<TlxTreeViewNode*> Walked;
    for (TlxTreeViewNode* Node = Items()->GetFirstSelected(); Node; Node = Node->GetNextSelected())
        Walked.push_back(Node);
    EXPECT_EQ(Walked, Expected);
    EXPECT_EQ(Items()->GetSelectedCount(), int(Expected.size()));
    EXPECT_TRUE(NativeAgrees());
}
