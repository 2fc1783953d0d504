#include "tests/model/PersistenceSupport.h"

// SelectNode asks OnChanging, keeps the list, marks the native item and reports.
TEST_F(PersistenceFixture, SelectNodeAsksMarksAndReports)
{
    TlxTreeViewNode* A = Items()->Add(nullptr, "A");
    TlxTreeViewNode* A1 = Items()->AddChild(A, "A1");
    std::vector<TlxTreeViewNode*> Changed;
    bool Allow = true;
    tree->OnChanging = [&](TObject*, TlxTreeViewNode*, bool& AllowChange) { AllowChange = Allow; };
    tree->OnChange = [&](TObject*, TlxTreeViewNode* Node) { Changed.push_back(Node); };

    A->SetSelected(true);
    A->SetSelected(true); // again: the list keeps one entry, the report comes again
    EXPECT_TRUE(A->Selected());
    EXPECT_TRUE(NativeSelected(A));
    EXPECT_EQ(Items()->GetSelectedCount(), 1);
    EXPECT_EQ(Changed, (std::vector<TlxTreeViewNode*>{A, A}));

    Items()->SelectNode(A1, stToggle);
    Items()->SelectNode(A, stToggle);
    EXPECT_TRUE(A1->Selected());
    EXPECT_FALSE(A->Selected());
    EXPECT_FALSE(NativeSelected(A));

    Allow = false;
    Changed.clear();
    Items()->SelectNode(A1, stReset);
    EXPECT_TRUE(A1->Selected());
    EXPECT_TRUE(Changed.empty());

    // Level selection admits only the level of the selection's start (none yet: -1).
    Allow = true;
    tree->SetOptions(tree->Options() + TTreeOptions{roLevelSelection});
    Items()->SelectNode(A, stSet);
    EXPECT_FALSE(A->Selected());
}

// Reading a tree runs the check rules with their events, once per node read.
TEST_F(PersistenceFixture, LoadingAsksAndTellsAboutEveryCheckState)
{
    TlxTreeViewNode* Group = Items()->Add(nullptr, "group");
    Group->SetCheckType(lxtRadioButton);
    TlxTreeViewNode* First = Items()->AddChild(Group, "first");
    TlxTreeViewNode* Second = Items()->AddChild(Group, "second");
    First->SetCheckState(lxsChecked);
    Second->SetCheckState(lxsChecked); // the radio rule clears First
    const std::string Saved = SaveBinary();

    PersistenceFixture::Tree Other;
    std::vector<std::string> Asked, Told;
    Other.tree->OnChecking = [&](TObject*, TlxTreeViewNode* Node, bool& CanCheck) {
        Asked.push_back(Node->Text());
        CanCheck = Node->Text() != "first";
    };
    Other.tree->OnChecked = [&](TObject*, TlxTreeViewNode* Node) { Told.push_back(Node->Text()); };
    Other.Load(Saved);
    Other.tree->OnChecking = nullptr;
    Other.tree->OnChecked = nullptr;
    EXPECT_EQ(Asked, (std::vector<std::string>{"group", "first", "second"}));
    EXPECT_EQ(Told, (std::vector<std::string>{"group", "second"}));
    TlxTreeViewNode* Loaded = Other.Items()->GetFirstNode();
    EXPECT_EQ(Loaded->CheckType(), lxtRadioButton);
    EXPECT_EQ(Loaded->Item(1)->CheckState(), lxsChecked);
    EXPECT_EQ(Loaded->Item(0)->CheckState(), lxsUnchecked);
}
