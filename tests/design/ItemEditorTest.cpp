// The item editor dialog, driven offscreen through its components and real Qt events,
// opened by PopupEditor on a control with a timer acting inside its modal loop.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <functional>
#include <memory>
#include <string>

#include "design/lxTreeViewEditor.h"
#include "platform/framework/Application.h"
#include "platform/win/WindowWidget.h"
#include "support/FormWithTree.h"

namespace {

using TInside = std::function<void(TlxTreeViewEditor&)>;

// The editor whose window is modal right now, if any.
TlxTreeViewEditor* ModalEditor()
{
    auto* window = dynamic_cast<TWindowWidget*>(QApplication::activeModalWidget());
    return window ? dynamic_cast<TlxTreeViewEditor*>(TWinControl::FindControl(window->Handle())) : nullptr;
}

QWidget* View(TlxTreeView* Tree) { return WindowWidget(Tree->Handle()); }

// The centre of a node's label, in the tree widget's coordinates.
QPoint LabelCentre(TlxTreeView* Tree, TlxTreeViewNode* Node)
{
    RECT r = Node->DisplayRect(true);
    const QPoint client((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    return client + static_cast<TWindowWidget*>(View(Tree))->ClientRect().topLeft();
}

void ClickNode(TlxTreeView* Tree, TlxTreeViewNode* Node, Qt::KeyboardModifiers Keys = Qt::NoModifier)
{
    QTest::mouseClick(View(Tree), Qt::LeftButton, Keys, LabelCentre(Tree, Node));
}

// Plain click on the first node, Ctrl clicks on the others.
void ClickNodes(TlxTreeView* Tree, std::initializer_list<int> Indexes)
{
    Qt::KeyboardModifiers keys = Qt::NoModifier;
    for (int index : Indexes) {
        ClickNode(Tree, Tree->Items()->Item(index), keys);
        keys = Qt::ControlModifier;
    }
}

std::string SelectedTexts(TlxTreeViewNodes* Items)
{
    std::string texts;
    for (TlxTreeViewNode* node = Items->GetFirstSelected(); node; node = node->GetNextSelected())
        texts += (texts.empty() ? "" : " ") + node->Text();
    return texts;
}

void ClickButton(TSpeedButton* Button) { QTest::mouseClick(Button->ToolButton(), Qt::LeftButton); }

// The control being edited is FormWithTree's tree, on its shown form.
class ItemEditor : public FormWithTree {
protected:
    void SetUp() override
    {
        FormWithTree::SetUp();
        control = tree;
        control->SetAlign(alClient);
        control->SetOptions(control->Options() + TTreeOptions{roMultiSelect});
        form->Show();
        QApplication::processEvents();
    }

    // Runs PopupEditor on the control; Inside acts while the dialog is modal and should
    // end it. A dialog it leaves open is cancelled, and the test fails.
    bool Edit(const TInside& Inside)
    {
        bool ran = false;
        QTimer::singleShot(0, [&] {
            TlxTreeViewEditor* editor = ModalEditor();
            ASSERT_NE(editor, nullptr) << "no modal editor";
            ran = true;
            // Offscreen, no window manager activates the modal window.
            QWidget* window = QApplication::activeModalWidget();
            window->activateWindow();
            EXPECT_TRUE(QTest::qWaitForWindowActive(window));
            Inside(*editor);
            CancelIfStillOpen();
        });
        const bool ok = PopupEditor(control->Items());
        EXPECT_TRUE(ran);
        return ok;
    }
    static void CancelIfStillOpen()
    {
        if (TlxTreeViewEditor* editor = ModalEditor(); editor && editor->ModalResult() == mrNone) {
            ADD_FAILURE() << "the editor was left open";
            editor->SetModalResult(mrCancel);
        }
    }

    TlxTreeViewNode* Add(const std::string& Text, TlxTreeViewNode* Parent = nullptr)
    {
        return Parent ? control->Items()->AddChild(Parent, Text) : control->Items()->Add(nullptr, Text);
    }

    TlxTreeView* control = nullptr;
};

} // namespace

TEST(ItemEditorLayout, Reads)
{
    TlxTreeViewEditor editor(nullptr);
    EXPECT_EQ(editor.Caption(), "lxTreeView Item Editor");
    EXPECT_EQ(editor.ClientWidth(), 752);
    EXPECT_EQ(editor.Tree->Left(), 6);
    EXPECT_EQ(editor.Tree->Parent(), editor.GroupBox3);
    EXPECT_EQ(editor.PopupMenu->Items()->Count(), 9);
}

// The control's own selection does not travel into the dialog.
TEST_F(ItemEditor, OpensWithNoSelectedNode)
{
    for (const char* text : {"one", "two", "three"})
        Add(text);
    control->Items()->SelectNode(control->Items()->Item(0), stSet);
    control->Items()->SelectNode(control->Items()->Item(2), stSet);
    ASSERT_EQ(control->Items()->GetSelectedCount(), 2);
    Edit([](TlxTreeViewEditor& editor) {
        EXPECT_EQ(editor.Tree->Items()->Count(), 3);
        EXPECT_EQ(editor.Tree->Items()->GetSelectedCount(), 0);
        EXPECT_EQ(editor.StatusBar->Panels()->Items(1)->Text(), "Number of the selected node(s):  0");
        EXPECT_EQ(editor.CheckTypeLabel->Caption(), "Root Check Type");
        EXPECT_FALSE(editor.edtVarName->Enabled());
        ClickButton(editor.SpeedButton9);
    });
}

// Shared values show, differing ones show empty or grayed, and what is typed or clicked
// reaches every selected node.
TEST_F(ItemEditor, ThePanelShowsAndSetsTheSelectedNodesTogether)
{
    TlxTreeViewNode* a = Add("a");
    TlxTreeViewNode* b = Add("b");
    Add("c");
    a->SetVarName("x"), a->SetVarValue("1");
    b->SetVarName("x"), b->SetVarValue("2"), b->SetEnabled(false);
    ASSERT_TRUE(Edit([](TlxTreeViewEditor& editor) {
        ClickNodes(editor.Tree, {0, 1});
        ASSERT_EQ(editor.Tree->Items()->GetSelectedCount(), 2);
        EXPECT_EQ(editor.StatusBar->Panels()->Items(1)->Text(), "Number of the selected node(s):  2");
        EXPECT_EQ(editor.edtVarName->Text(), "x");
        EXPECT_EQ(editor.edtVarValue->Text(), "");
        EXPECT_EQ(editor.EnabledBox->State(), cbGrayed);
        QTest::mouseClick(editor.edtVarValue->LineEdit(), Qt::LeftButton);
        QTest::keyClicks(editor.edtVarValue->LineEdit(), "42");
        QTest::mouseClick(editor.EnabledBox->CheckBox(), Qt::LeftButton);
        EXPECT_EQ(editor.EnabledBox->State(), cbChecked);
        ClickButton(editor.OKButton);
    }));
    for (int i : {0, 1}) {
        EXPECT_EQ(control->Items()->Item(i)->VarValue(), "42");
        EXPECT_TRUE(control->Items()->Item(i)->Enabled());
    }
    EXPECT_EQ(control->Items()->Item(2)->VarValue(), "");
}

namespace {

std::string ChildTexts(TlxTreeViewNode* Parent)
{
    std::string texts;
    for (TlxTreeViewNode* child = Parent->GetFirstChild(); child; child = child->GetNextSibling())
        texts += (texts.empty() ? "" : " ") + child->Text();
    return texts;
}

} // namespace

TEST_F(ItemEditor, MoveUpAndDownStopAtTheEndsOfTheLevel)
{
    TlxTreeViewNode* parent = Add("parent");
    for (const char* text : {"c1", "c2", "c3"})
        Add(text, parent);
    parent->Expand(false);
    ASSERT_TRUE(Edit([](TlxTreeViewEditor& editor) {
        TlxTreeViewNode* top = editor.Tree->Items()->GetFirstNode();
        ClickNode(editor.Tree, top->Item(1));
        ClickButton(editor.SpeedButton3);
        EXPECT_EQ(ChildTexts(top), "c2 c1 c3");
        ClickButton(editor.SpeedButton3); // c2 is first now
        EXPECT_EQ(ChildTexts(top), "c2 c1 c3");
        ClickNode(editor.Tree, top->Item(2));
        ClickButton(editor.SpeedButton4); // c3 is last
        EXPECT_EQ(ChildTexts(top), "c2 c1 c3");
        ClickNode(editor.Tree, top->Item(1));
        ClickButton(editor.SpeedButton4);
        EXPECT_EQ(ChildTexts(top), "c2 c3 c1");
        ClickButton(editor.OKButton);
    }));
    // OK replaced the control's nodes: parent is gone, its copy stands in its place.
    EXPECT_EQ(ChildTexts(control->Items()->GetFirstNode()), "c2 c3 c1");
}

namespace {

// A real left-button drag from one node's label to another's, dropped there.
void DragNode(TlxTreeView* Tree, TlxTreeViewNode* From, TlxTreeViewNode* To)
{
    const QPoint start = LabelCentre(Tree, From), end = LabelCentre(Tree, To);
    QTest::mousePress(View(Tree), Qt::LeftButton, Qt::NoModifier, start);
    for (int step = 1; step <= 8; ++step)
        QTest::mouseMove(View(Tree), start + (end - start) * step / 8);
    EXPECT_TRUE(Tree->Dragging());
    QTest::mouseRelease(View(Tree), Qt::LeftButton, Qt::NoModifier, end);
}

QPoint ClientCentre(TlxTreeViewNode* Node)
{
    RECT r = Node->DisplayRect(true);
    return QPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

bool AcceptsDropOn(TlxTreeViewEditor& Editor, TlxTreeViewNode* Target)
{
    const QPoint at = ClientCentre(Target);
    bool accept = true;
    Editor.TreeDragOver(Editor.Tree, Editor.Tree, at.x(), at.y(), dsDragMove, accept);
    return accept;
}

} // namespace

TEST_F(ItemEditor, DropsGoUnderTheTargetButNeverIntoTheDraggedNodesOwnSubtree)
{
    TlxTreeViewNode* folder = Add("folder");
    Add("grandchild", Add("child", folder));
    for (const char* text : {"n1", "n2", "n3", "target"})
        Add(text);
    control->FullExpand();
    ASSERT_TRUE(Edit([](TlxTreeViewEditor& editor) {
        TlxTreeViewNodes* items = editor.Tree->Items();
        TlxTreeViewNode* folder = items->Item(0);
        ClickNode(editor.Tree, folder);
        EXPECT_FALSE(AcceptsDropOn(editor, items->Item(1)));
        EXPECT_FALSE(AcceptsDropOn(editor, items->Item(2)));
        EXPECT_TRUE(AcceptsDropOn(editor, items->Item(3)));
        DragNode(editor.Tree, folder, items->Item(2));
        EXPECT_EQ(folder->Parent(), nullptr);
        EXPECT_EQ(ChildTexts(folder), "child");

        DragNode(editor.Tree, items->Item(3), items->Item(4)); // n1 under n2
        EXPECT_EQ(ChildTexts(items->Item(3)), "n1");
        items->Item(4)->MoveTo(items->Item(3), naInsert); // back after n2

        // A press on one of several selected nodes leaves it alone selected, so several
        // nodes reach the drop handler directly.
        ClickNodes(editor.Tree, {5, 3, 4});
        const std::string order = SelectedTexts(items);
        ASSERT_EQ(order.size(), std::string("n1 n2 n3").size());
        TlxTreeViewNode* target = items->Item(6);
        items->AddChild(target, "old");
        const QPoint at = ClientCentre(target);
        editor.TreeDragDrop(editor.Tree, editor.Tree, at.x(), at.y());
        EXPECT_EQ(ChildTexts(target), "old " + order);
        EXPECT_EQ(SelectedTexts(items), order);
        ClickButton(editor.OKButton);
    }));
    EXPECT_EQ(control->Items()->GetFirstNode()->GetNextSibling()->Text(), "target");
    EXPECT_EQ(control->Items()->GetFirstNode()->GetNextSibling()->Count(), 4);
}
