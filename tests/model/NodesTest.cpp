#include <algorithm>
#include <stdexcept>

#include "tests/model/ModelFixture.h"

TEST_F(ModelFixture, EveryAttachModePlacesTheNodeInModelAndWindowAlike)
{
    TlxTreeViewNode* B = Items()->Add(nullptr, "B");
    Items()->AddChild(nullptr, "C");
    Items()->AddFirst(nullptr, "A0");
    Items()->AddChildFirst(nullptr, "Z");
    Items()->Add(B, "D"); // a top-level sibling appends at the top level, not under it
    Items()->Insert(Items()->GetFirstNode(), "Y"); // before the first: becomes first
    Items()->Insert(B, "A");                       // before a middle one
    Items()->Insert(nullptr, "E");                 // no sibling: appended at the top level
    EXPECT_EQ(Children(nullptr), "Y Z A0 A B C D E");
    EXPECT_EQ(NativeChildren(nullptr), Children(nullptr));

    int Value = 7;
    TlxTreeViewNode* B2 = Items()->AddChildObject(B, "B2", &Value);
    Items()->AddChildObjectFirst(B, "B1", nullptr);
    Items()->AddObject(B2, "B3", nullptr);
    Items()->AddObjectFirst(B2, "B0", nullptr);
    Items()->InsertObject(B2, "B1.5", nullptr);
    EXPECT_EQ(Children(B), "B0 B1 B1.5 B2 B3");
    EXPECT_EQ(NativeChildren(B), Children(B));
    EXPECT_EQ(B2->Data(), &Value);
    EXPECT_EQ(B2->Parent(), B);
    EXPECT_TRUE(B->HasChildren());
    EXPECT_EQ(Items()->Count(), 13);
}

TEST_F(ModelFixture, AddingReportsEachNodeOnceAndNeverSorts)
{
    std::vector<TlxTreeViewNode*> Changed;
    tree->OnChange = [&](TObject*, TlxTreeViewNode* Node) { Changed.push_back(Node); };
    tree->SetSortType(stText);
    TlxTreeViewNode* C = Items()->Add(nullptr, "c");
    TlxTreeViewNode* A = Items()->Add(nullptr, "a");
    TlxTreeViewNode* B = Items()->AddChild(C, "b");
    EXPECT_EQ(Changed, (std::vector<TlxTreeViewNode*>{C, A, B}));
    EXPECT_EQ(Children(nullptr), "c a");
    C->SetText("d"); // a change of text does sort
    EXPECT_EQ(Children(nullptr), "a d");
}

// An application handler that raises while a node is added leaves the tree as it was.
TEST_F(ModelFixture, AHandlerThatRaisesDuringAnAddUndoesTheAdd)
{
    TlxTreeViewNode* Parent = Items()->Add(nullptr, "Parent");
    Items()->Add(nullptr, "Other");
    int Deleted = 0;
    tree->OnDeletion = [&](TObject*, TlxTreeViewNode*) { ++Deleted; };
    tree->OnChange = [](TObject*, TlxTreeViewNode*) { throw std::runtime_error("refused"); };
    EXPECT_THROW(Items()->AddChild(Parent, "Child"), std::runtime_error);
    EXPECT_THROW(Items()->AddFirst(nullptr, "First"), std::runtime_error);
    EXPECT_THROW(Items()->Insert(Parent, "Before"), std::runtime_error);
    tree->OnChange = nullptr;

    EXPECT_EQ(Items()->Count(), 2);
    EXPECT_EQ(Children(nullptr), "Parent Other");
    EXPECT_EQ(NativeChildren(nullptr), "Parent Other");
    EXPECT_EQ(Parent->Count(), 0);
    EXPECT_FALSE(Parent->HasChildren());
    EXPECT_EQ(Walk(Items()->GetFirstNode(), [](TlxTreeViewNode* N) { return N->GetNext(); }), "Parent Other");
    EXPECT_EQ(Items()->Item(1)->Text(), "Other");
    EXPECT_EQ(Deleted, 3); // each half-made node went through the native deletion

    // A class chosen by OnCreateNode that fails to construct leaves nothing behind.
    tree->OnCreateNode = [](TObject*, TlxTreeViewNodeClass&) { throw std::runtime_error("no class"); };
    EXPECT_THROW(Items()->Add(nullptr, "X"), std::runtime_error);
    EXPECT_EQ(Items()->Count(), 2);
}

namespace {
struct TBigNode : TlxTreeViewNode {
    using TlxTreeViewNode::TlxTreeViewNode;
    std::string Extra = std::string(100, 'x');
};
} // namespace

TEST_F(ModelFixture, NodesOfAnApplicationClassLiveAndDieLikeOthers)
{
    tree->OnCreateNode = [](TObject*, TlxTreeViewNodeClass& Class) { Class = &NodeClassOf<TBigNode>; };
    TlxTreeViewNode* Big = Items()->Add(nullptr, "big");
    ASSERT_NE(dynamic_cast<TBigNode*>(Big), nullptr);
    tree->OnCreateNode = nullptr;
    TlxTreeViewNode* Plain = Items()->AddChild(Big, "plain");
    EXPECT_EQ(dynamic_cast<TBigNode*>(Plain), nullptr);
    Items()->AddChild(Plain, "leaf");
    Items()->Delete(Big);
    EXPECT_EQ(Items()->Count(), 0);
}

TEST_F(ModelFixture, DeletionReportsEachNodeOnceFromTheNativeTree)
{
    TlxTreeViewNode* A = Items()->Add(nullptr, "A");
    TlxTreeViewNode* A1 = Items()->AddChild(A, "A1");
    Items()->AddChild(A1, "A1a");
    Items()->AddChild(A, "A2");
    TlxTreeViewNode* B = Items()->Add(nullptr, "B");
    Items()->AddChild(B, "B1");
    Items()->AddChild(B, "B2");
    Items()->Add(nullptr, "C");

    std::vector<std::string> Deleted;
    std::vector<TObject*> Senders;
    tree->OnDeletion = [&](TObject* Sender, TlxTreeViewNode* Node) {
        Deleted.push_back(Node->Text());
        Senders.push_back(Sender);
    };
    // The order of the reports is the native tree's.
    auto Sorted = [&Deleted] {
        std::sort(Deleted.begin(), Deleted.end());
        return Deleted;
    };
    Items()->Delete(A1);
    EXPECT_EQ(Sorted(), (std::vector<std::string>{"A1", "A1a"}));
    for (TObject* Sender : Senders)
        EXPECT_EQ(Sender, Items());
    EXPECT_EQ(Children(A), "A2");

    Deleted.clear();
    B->DeleteChildren();
    EXPECT_EQ(Sorted(), (std::vector<std::string>{"B1", "B2"}));
    EXPECT_EQ(B->Count(), 0);
    EXPECT_FALSE(B->HasChildren());

    Deleted.clear();
    B->Delete();
    EXPECT_EQ(Deleted, (std::vector<std::string>{"B"}));
    EXPECT_EQ(Items()->Count(), 3);
    EXPECT_EQ(Walk(Items()->GetFirstNode(), [](TlxTreeViewNode* N) { return N->GetNext(); }), "A A2 C");

    Deleted.clear();
    Items()->Clear();
    EXPECT_EQ(Deleted.size(), 3u);
    EXPECT_EQ(Items()->Count(), 0);
    EXPECT_EQ(Items()->GetFirstNode(), nullptr);
    EXPECT_FALSE(Items()->IsDeleting());
    Items()->Clear(); // nothing left: nothing happens
    EXPECT_EQ(Deleted.size(), 3u);
}

// An OnDeletion handler that raises does not keep the nodes alive or the tree half-cleared.
TEST_F(ModelFixture, ClearFinishesWhenAHandlerRaises)
{
    for (int I = 0; I < 3; ++I)
        Items()->AddChild(Items()->Add(nullptr, "T" + std::to_string(I)), "C");
    int Calls = 0;
    tree->OnDeletion = [&](TObject*, TlxTreeViewNode*) {
        ++Calls;
        throw std::runtime_error("deletion handler");
    };
    EXPECT_THROW(Items()->Clear(), std::runtime_error);
    tree->OnDeletion = nullptr;
    EXPECT_EQ(Calls, 6);
    EXPECT_EQ(Items()->Count(), 0);
    EXPECT_EQ(Items()->GetFirstNode(), nullptr);
    EXPECT_FALSE(Items()->IsDeleting());
    Items()->Add(nullptr, "again");
    EXPECT_EQ(Items()->Count(), 1);
}

// Clearing reports each node once, in the native tree's order: the top level from
// its end, each node's children before it, the last children first. Deletions after
// it are reported as before.
TEST_F(ModelFixture, ClearReportsEveryNodeInTheNativeOrder)
{
    TlxTreeViewNode* A = Items()->Add(nullptr, "A");
    TlxTreeViewNode* A1 = Items()->AddChild(A, "A1");
    Items()->AddChild(A1, "A1a");
    Items()->AddChild(A1, "A1b");
    Items()->AddChild(A, "A2");
    Items()->AddChild(Items()->Add(nullptr, "B"), "B1");
    Items()->Add(nullptr, "C");
    A->Expand(true);
    std::vector<std::string> Deleted;
    tree->OnDeletion = [&](TObject* Sender, TlxTreeViewNode* Node) {
        EXPECT_EQ(Sender, Items());
        Deleted.push_back(Node->Text());
    };
    Items()->Clear();
    EXPECT_EQ(Deleted, (std::vector<std::string>{"C", "B1", "B", "A2", "A1b", "A1a", "A1", "A"}));
    EXPECT_EQ(Items()->Count(), 0);

    Deleted.clear();
    TlxTreeViewNode* D = Items()->Add(nullptr, "D");
    Items()->AddChild(D, "D1");
    D->Delete();
    EXPECT_EQ(Deleted, (std::vector<std::string>{"D1", "D"}));
    tree->OnDeletion = nullptr;
}

TEST(ModelWithoutWindow, ClearAndCountNeedNoWindow)
{
    TlxTreeView Orphan(nullptr);
    int Events = 0;
    Orphan.OnDeletion = [&](TObject*, TlxTreeViewNode*) { ++Events; };
    Orphan.OnChange = [&](TObject*, TlxTreeViewNode*) { ++Events; };
    Orphan.Items()->Clear();
    EXPECT_EQ(Orphan.Items()->Count(), 0);
    EXPECT_FALSE(Orphan.HandleAllocated());
    EXPECT_EQ(Events, 0);
    EXPECT_EQ(Orphan.Items()->GetFirstNode(), nullptr);
}

TEST_F(ModelFixture, IndexAccessFollowsDocumentOrderIncludingCollapsedBranches)
{
    TlxTreeViewNode* A = Items()->Add(nullptr, "A");
    TlxTreeViewNode* A1 = Items()->AddChild(A, "A1");
    Items()->AddChild(A1, "A1a");
    Items()->Add(nullptr, "B");
    EXPECT_FALSE(A->Expanded());
    EXPECT_EQ(Items()->Item(0), A);
    EXPECT_EQ(Items()->Item(1), A1); // collapsed, still next
    EXPECT_EQ((*Items())[3]->Text(), "B");
    EXPECT_THROW(Items()->Item(4), EListError);
    EXPECT_THROW(Items()->Item(-1), EListError);

    // After changes the positions are those of the new structure.
    Items()->AddChildFirst(A, "A0");
    Items()->Delete(A1);
    Items()->AddFirst(nullptr, "Z");
    EXPECT_EQ(Walk(Items()->GetFirstNode(), [](TlxTreeViewNode* N) { return N->GetNext(); }), "Z A A0 B");
    const std::vector<std::string> Expected{"Z", "A", "A0", "B"};
    for (int I = 0; I < 4; ++I) {
        EXPECT_EQ(Items()->Item(I)->Text(), Expected[I]);
        EXPECT_EQ(Items()->Item(I)->AbsoluteIndex(), I);
    }
}

TEST_F(ModelFixture, FindSearchesDocumentOrderFoldingOnlyAsciiCase)
{
    int One = 1, Two = 2;
    TlxTreeViewNode* Top = Items()->AddObject(nullptr, "Top", &One);
    TlxTreeViewNode* Hidden = Items()->AddChildObject(Top, "Hello World", &Two);
    TlxTreeViewNode* Later = Items()->AddObject(nullptr, "hello world", &One);
    TlxTreeViewNode* Umlaut = Items()->Add(nullptr, "\xC3\x84pfel"); // "Äpfel"

    EXPECT_EQ(Items()->Find(TFindOptions{lxfoText}, "HELLO world", nullptr), Hidden); // collapsed, but first
    EXPECT_EQ(Items()->Find(TFindOptions{lxfoText}, "\xC3\x84PFEL", nullptr), Umlaut);
    EXPECT_EQ(Items()->Find(TFindOptions{lxfoText}, "\xC3\xA4pfel", nullptr), nullptr); // "äpfel"
    EXPECT_EQ(Items()->Find(TFindOptions{lxfoData}, "", &One), Top);
    EXPECT_EQ(Items()->Find(TFindOptions{lxfoText, lxfoData}, "HELLO WORLD", &One), Later);
    EXPECT_EQ(Items()->Find(TFindOptions{lxfoText, lxfoData}, "top", &Two), nullptr);
    EXPECT_EQ(Items()->Find(TFindOptions{}, "Top", &One), nullptr);
}

TEST_F(ModelFixture, UpdatesNestAndSwitchRedrawingOnlyAtTheOuterLevel)
{
    const HWND Wnd = tree->Handle();
    Items()->BeginUpdate();
    Items()->BeginUpdate();
    EXPECT_FALSE(IsRedrawEnabled(Wnd));
    EXPECT_TRUE(Items()->IsUpdating());
    Items()->EndUpdate();
    EXPECT_FALSE(IsRedrawEnabled(Wnd));
    Items()->EndUpdate();
    EXPECT_TRUE(IsRedrawEnabled(Wnd));
    EXPECT_FALSE(Items()->IsUpdating());

    SendMessageA(Wnd, WM_SETREDRAW, 0, 0);
    Items()->EndUpdate(); // unmatched: still switches redrawing on, the count stays 0
    EXPECT_TRUE(IsRedrawEnabled(Wnd));
    EXPECT_FALSE(Items()->IsUpdating());
    Items()->BeginUpdate();
    EXPECT_FALSE(IsRedrawEnabled(Wnd));
    Items()->EndUpdate();
}

TEST_F(ModelFixture, StaleItemHandlesAreRefused)
{
    TlxTreeViewNode* Node = Items()->Add(nullptr, "gone");
    const HTREEITEM Stale = Node->ItemId();
    EXPECT_EQ(Items()->GetNode(Stale), Node);
    Node->Delete();
    Items()->Add(nullptr, "new"); // may reuse the slot
    EXPECT_EQ(Items()->GetNode(Stale), nullptr);
    EXPECT_EQ(Items()->GetNode(nullptr), nullptr);
    TVITEMEXA Item;
    Item.mask = TVIF_TEXT;
    Item.hItem = Stale;
    EXPECT_EQ(SendMessageA(tree->Handle(), TVM_SETITEMA, 0, LPARAM(&Item)), 0);
    EXPECT_EQ(SendMessageA(tree->Handle(), TVM_DELETEITEM, 0, LPARAM(Stale)), 0);
    EXPECT_EQ(Items()->Count(), 1);
}

TEST_F(ModelFixture, CopyingACollectionCopiesTheTree)
{
    TlxTreeViewNode* A = Items()->Add(nullptr, "A");
    TlxTreeViewNode* A1 = Items()->AddChild(A, "A1");
    A1->SetImageIndex(3);
    A1->SetVarName("name");
    A->Expand(false);
    Items()->Add(nullptr, "B");

    TlxTreeView Other(form.get());
    Other.SetParent(form.get());
    Other.Items()->Add(nullptr, "old");
    Other.Items()->Assign(Items());
    EXPECT_EQ(Children(Other.Items(), nullptr), "A B");
    TlxTreeViewNode* CopyA = Other.Items()->GetFirstNode();
    EXPECT_TRUE(CopyA->Expanded());
    EXPECT_EQ(CopyA->GetFirstChild()->ImageIndex(), 3);
    EXPECT_EQ(CopyA->GetFirstChild()->VarName(), "name");
    EXPECT_THROW(Other.Items()->Assign(A), EConvertError);
}

TEST_F(ModelFixture, SelectionListKeepsOrderAndForgetsDeletedNodes)
{
    TlxTreeViewNode* A = Items()->Add(nullptr, "A");
    TlxTreeViewNode* B = Items()->Add(nullptr, "B");
    TlxTreeViewNode* B1 = Items()->AddChild(B, "B1");
    Items()->AddToSelection(B);
    Items()->AddToSelection(A);
    Items()->AddToSelection(B); // once only
    Items()->AddToSelection(B1);
    EXPECT_EQ(Items()->GetSelectedCount(), 3);
    EXPECT_EQ(Items()->GetFirstSelected(), B);
    Items()->RemoveFromSelection(A);
    EXPECT_FALSE(Items()->IsInSelection(A));
    Items()->AddToSelection(A); // back, now last
    EXPECT_TRUE(Items()->IsInSelection(A));
    B->Delete(); // takes B1 along
    EXPECT_EQ(Items()->GetSelectedCount(), 1);
    EXPECT_EQ(Items()->GetFirstSelected(), A);

    // Many selected nodes leave in the order of the list, against it, and from its middle.
    std::vector<TlxTreeViewNode*> Selected;
    Items()->BeginUpdate();
    for (int I = 0; I < 3000; ++I)
        Selected.push_back(Items()->AddChild(A, std::to_string(I)));
    Items()->EndUpdate();
    for (TlxTreeViewNode* Node : Selected)
        Items()->AddToSelection(Node);
    for (int I = 0; I < 1000; ++I)
        Selected[std::size_t(I)]->Delete();
    for (int I = 2999; I >= 2000; --I)
        Selected[std::size_t(I)]->Delete();
    Selected[1500]->Delete();
    EXPECT_EQ(Items()->GetSelectedCount(), 1000); // A and 999 children
    EXPECT_EQ(Items()->GetFirstSelected(), A);
    EXPECT_TRUE(Items()->IsInSelection(Selected[1499]));
    EXPECT_TRUE(Items()->IsInSelection(Selected[1501]));
    A->Delete();
    EXPECT_EQ(Items()->GetSelectedCount(), 0);
    EXPECT_EQ(Items()->GetFirstSelected(), nullptr);
}

// A handler that deletes nodes while the selection is cleared leaves no freed node
// behind: the walk goes on with the nodes that remain and the list ends empty.
TEST_F(ModelFixture, ClearingTheSelectionSurvivesAHandlerThatDeletesNodes)
{
    TlxTreeViewNode* Parent = Items()->Add(nullptr, "P");
    std::vector<TlxTreeViewNode*> Kids;
    for (int I = 0; I < 6; ++I)
        Kids.push_back(Items()->AddChild(Parent, std::to_string(I)));
    TlxTreeViewNode* Other = Items()->Add(nullptr, "Other");
    for (TlxTreeViewNode* Node : Kids)
        Items()->SelectNode(Node, stSet);
    Items()->SelectNode(Other, stSet);
    Items()->SelectNode(Parent, stSet);
    std::vector<std::string> Asked;
    tree->OnChanging = [&](TObject*, TlxTreeViewNode* Node, bool&) {
        Asked.push_back(Node->Text());
        if (Node->Text() == "1")
            Kids[3]->Delete(); // later in the list
        if (Node->Text() == "4")
            Kids[0]->Delete(); // earlier in the list
        if (Node->Text() == "Other")
            Parent->Delete(); // the rest of the children and the last entry
    };
    tree->ClearSelection();
    EXPECT_EQ(Asked, (std::vector<std::string>{"0", "1", "2", "4", "5", "Other"}));
    EXPECT_EQ(Items()->GetSelectedCount(), 0);
    EXPECT_FALSE(Other->Selected());
    EXPECT_EQ(Items()->Count(), 1);
}

// Tens of thousands of nodes span several blocks of node memory; deleting them in a
// scattered order, refilling the holes and clearing must keep every node intact.
TEST_F(ModelFixture, ManyNodesSurviveScatteredDeletionRefillAndClear)
{
    Items()->BeginUpdate();
    std::vector<TlxTreeViewNode*> Parents;
    for (int P = 0; P < 4; ++P) {
        Parents.push_back(Items()->Add(nullptr, "P" + std::to_string(P)));
        for (int C = 0; C < 12000; ++C)
            Items()->AddChild(Parents.back(), std::to_string(P * 100000 + C));
    }
    for (TlxTreeViewNode* Parent : {Parents[0], Parents[2]})
        for (int C = Parent->Count() - 1; C >= 0; C -= 3)
            Parent->Item(C)->Delete();
    Parents[1]->Delete();
    for (int C = 0; C < 30000; ++C)
        Items()->AddChild(Parents[3], "new " + std::to_string(C));
    Items()->EndUpdate();

    EXPECT_EQ(Parents[0]->Count(), 8000);
    EXPECT_EQ(Parents[3]->Count(), 42000);
    EXPECT_EQ(Parents[0]->Item(2)->Text(), "3");
    EXPECT_EQ(Parents[2]->Item(7999)->Text(), "211998");
    EXPECT_EQ(Parents[3]->Item(41999)->Text(), "new 29999");
    int Walked = 0;
    for (TlxTreeViewNode* Node = Items()->GetFirstNode(); Node; Node = Node->GetNext())
        ++Walked;
    EXPECT_EQ(Walked, Items()->Count());
    EXPECT_EQ(Walked, 3 + 8000 + 8000 + 42000);
    EXPECT_EQ(SendMessageA(tree->Handle(), TVM_GETCOUNT, 0, 0), Walked);

    Items()->Clear();
    EXPECT_EQ(Items()->Count(), 0);
    TlxTreeViewNode* Again = Items()->Add(nullptr, "again");
    Items()->AddChild(Again, "child");
    EXPECT_EQ(Children(Items(), Again), "child");
    EXPECT_EQ(Items()->Item(1)->GetParent(), Again);
}
