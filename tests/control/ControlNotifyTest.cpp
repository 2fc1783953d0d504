#include <QTest>
#include <stdexcept>
#include <vector>

#include "tests/control/TreeFixture.h"

TEST_F(TreeFixture, ExpansionEventsFireOnceWhetherByButtonOrByModel)
{
    TlxTreeViewNode* parent = Items()->Add(nullptr, "Parent");
    Items()->AddChild(parent, "Child");
    std::vector<std::string> events;
    tree->OnExpanding = [&](TObject*, TlxTreeViewNode* n, bool&) { events.push_back("expanding " + n->Text()); };
    tree->OnExpanded = [&](TObject*, TlxTreeViewNode* n) { events.push_back("expanded " + n->Text()); };
    tree->OnCollapsing = [&](TObject*, TlxTreeViewNode* n, bool&) { events.push_back("collapsing " + n->Text()); };
    tree->OnCollapsed = [&](TObject*, TlxTreeViewNode* n) { events.push_back("collapsed " + n->Text()); };

    parent->Expand(false);
    EXPECT_EQ(events, (std::vector<std::string>{"expanding Parent", "expanded Parent"}));
    EXPECT_TRUE(parent->Expanded());
    EXPECT_TRUE(parent->GetState(nsExpanded));
    events.clear();

    // The user's double click on the label toggles it through the native notifications.
    QTest::mouseDClick(View(), Qt::LeftButton, Qt::NoModifier, LabelCentre(parent));
    EXPECT_EQ(events, (std::vector<std::string>{"collapsing Parent", "collapsed Parent"}));
    EXPECT_FALSE(parent->Expanded());
    events.clear();

    // A refusal keeps the node collapsed, natively too.
    tree->OnExpanding = [&](TObject*, TlxTreeViewNode*, bool& allow) { allow = false; };
    QTest::mouseDClick(View(), Qt::LeftButton, Qt::NoModifier, LabelCentre(parent));
    EXPECT_FALSE(parent->Expanded());
    EXPECT_FALSE(parent->GetState(nsExpanded));
}

TEST_F(TreeFixture, ClickSelectsWithChangingAndChange)
{
    TlxTreeViewNode* a = Items()->Add(nullptr, "Alpha");
    TlxTreeViewNode* b = Items()->Add(nullptr, "Beta");
    std::vector<std::string> events;
    tree->OnChanging = [&](TObject*, TlxTreeViewNode* n, bool&) { events.push_back("changing " + n->Text()); };
    tree->OnChange = [&](TObject*, TlxTreeViewNode* n) { events.push_back("change " + (n ? n->Text() : "-")); };
    QTest::mouseClick(View(), Qt::LeftButton, Qt::NoModifier, LabelCentre(b));
    EXPECT_EQ(events, (std::vector<std::string>{"changing Beta", "change Beta"}));
    EXPECT_EQ(tree->Selection(), b);
    EXPECT_TRUE(Items()->IsInSelection(b));
    events.clear();

    // A plain click on an unselected node first empties the multi-selection (one
    // report for no node, whatever the handler refuses); the refused caret stays.
    tree->OnChanging = [&](TObject*, TlxTreeViewNode* n, bool& allow) {
        events.push_back("refused " + n->Text());
        allow = false;
    };
    QTest::mouseClick(View(), Qt::LeftButton, Qt::NoModifier, LabelCentre(a));
    EXPECT_EQ(events, (std::vector<std::string>{"refused Beta", "change -", "refused Alpha"}));
    EXPECT_EQ(tree->Selection(), b);
}

TEST_F(TreeFixture, ChangeDelayKeepsOnlyTheLastNodeOfABurst)
{
    std::vector<TlxTreeViewNode*> nodes;
    for (int i = 0; i < 6; ++i)
        nodes.push_back(Items()->Add(nullptr, "Node " + std::to_string(i)));
    tree->SetSelection(nodes[0]);
    tree->SetChangeDelay(200);
    int changing = 0;
    std::vector<TlxTreeViewNode*> changes;
    tree->OnChanging = [&](TObject*, TlxTreeViewNode*, bool&) { ++changing; };
    tree->OnChange = [&](TObject*, TlxTreeViewNode* n) { changes.push_back(n); };
    tree->SetFocus();
    for (int i = 0; i < 5; ++i)
        QTest::keyClick(View(), Qt::Key_Down);
    EXPECT_EQ(changing, 5);
    EXPECT_TRUE(changes.empty());
    QTRY_COMPARE_WITH_TIMEOUT(int(changes.size()), 1, 3000);
    EXPECT_EQ(changes[0], nodes[5]);

    // Deleting a node drops a pending change.
    changes.clear();
    QTest::keyClick(View(), Qt::Key_Up);
    nodes[0]->Delete();
    QTest::qWait(400);
    EXPECT_TRUE(changes.empty());
}

TEST_F(TreeFixture, InsertionsReportChangesAndAThrowingHandlerUndoesTheAdd)
{
    std::vector<TlxTreeViewNode*> changes;
    tree->OnChange = [&](TObject*, TlxTreeViewNode* n) { changes.push_back(n); };
    TlxTreeViewNode* a = Items()->Add(nullptr, "a");
    TlxTreeViewNode* a1 = Items()->AddChild(a, "a1");
    EXPECT_EQ(changes, (std::vector<TlxTreeViewNode*>{a, a1}));

    int deletions = 0;
    tree->OnDeletion = [&](TObject*, TlxTreeViewNode*) { ++deletions; };
    tree->OnChange = [](TObject*, TlxTreeViewNode*) { throw std::runtime_error("refused by the application"); };
    EXPECT_THROW(Items()->AddChild(a, "a2"), std::runtime_error);
    tree->OnChange = nullptr;
    EXPECT_EQ(Items()->Count(), 2);
    EXPECT_EQ(a->Count(), 1);
    EXPECT_EQ(a->GetFirstChild(), a1);
    EXPECT_EQ(a1->GetNext(), nullptr);
    EXPECT_EQ(Items()->Item(1), a1);
    // The tree still works after the failed add.
    TlxTreeViewNode* b = Items()->Add(nullptr, "b");
    EXPECT_EQ(a1->GetNext(), b);
    EXPECT_EQ(Items()->Count(), 3);
}

TEST_F(TreeFixture, LabelEditingCommitsCancelsAndHonoursReadOnly)
{
    TlxTreeViewNode* node = Items()->Add(nullptr, "Old");
    std::vector<std::string> edited;
    tree->OnEdited = [&](TObject*, TlxTreeViewNode*, std::string& s) { edited.push_back(s); };

    ASSERT_TRUE(node->EditText());
    HWND edit = reinterpret_cast<HWND>(SendMessageA(tree->Handle(), TVM_GETEDITCONTROL, 0, 0));
    ASSERT_NE(edit, nullptr);
    SetWindowTextA(edit, "New");
    node->EndEdit(false);
    EXPECT_EQ(node->Text(), "New");
    EXPECT_EQ(edited, std::vector<std::string>{"New"});

    ASSERT_TRUE(node->EditText());
    edit = reinterpret_cast<HWND>(SendMessageA(tree->Handle(), TVM_GETEDITCONTROL, 0, 0));
    SetWindowTextA(edit, "Discarded");
    node->EndEdit(true);
    EXPECT_EQ(node->Text(), "New");
    EXPECT_EQ(edited.size(), 1u);

    TTreeOptions options = tree->Options();
    options.Include(roReadOnly);
    tree->SetOptions(options);
    node = Items()->GetFirstNode(); // the new window holds new nodes
    bool offered = true;
    tree->OnEditing = [&](TObject*, TlxTreeViewNode*, bool& allow) { offered = allow; };
    EXPECT_FALSE(node->EditText());
    EXPECT_FALSE(offered);
    EXPECT_FALSE(tree->IsEditing());
}

TEST_F(TreeFixture, CreateNodeUsesTheClassOnCreateNodeChooses)
{
    struct TTaggedNode : TlxTreeViewNode {
        using TlxTreeViewNode::TlxTreeViewNode;
        int Tag = 42;
    };
    tree->OnCreateNode = [](TObject*, TlxTreeViewNodeClass& cls) { cls = &NodeClassOf<TTaggedNode>; };
    TlxTreeViewNode* node = Items()->Add(nullptr, "tagged");
    auto* tagged = dynamic_cast<TTaggedNode*>(node);
    ASSERT_NE(tagged, nullptr);
    EXPECT_EQ(tagged->Tag, 42);
    EXPECT_EQ(node->Text(), "tagged");
}
