// The item editor dialog, driven offscreen through its components and real Qt events,
// opened by PopupEditor on a control with a timer acting inside its modal loop.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <functional>
#include <tuple>
#include <vector>
#include <string>

#include "design/lxTreeViewEditor.h"
#include "platform/framework/Application.h"
#include "platform/win/WindowWidget.h"
#include "support/FormWithTree.h"
#include "support/ModalForms.h"

namespace {

using TInside = std::function<void(TlxTreeViewEditor&)>;

QWidget* View(TlxTreeView* Tree) { return WindowWidget(Tree->Handle()); }

// The centre of a node's label, in the tree's client coordinates and in its widget's.
QPoint ClientCentre(TlxTreeViewNode* Node)
{
    RECT r = Node->DisplayRect(true);
    return QPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

QPoint LabelCentre(TlxTreeView* Tree, TlxTreeViewNode* Node)
{
    return ClientCentre(Node) + static_cast<TWindowWidget*>(View(Tree))->ClientRect().topLeft();
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

// The texts of Node and the nodes Next leads to from it, space-separated.
template <class F>
std::string Texts(TlxTreeViewNode* Node, F Next)
{
    std::string texts;
    for (; Node; Node = Next(Node))
        texts += (texts.empty() ? "" : " ") + Node->Text();
    return texts;
}

std::string SelectedTexts(TlxTreeViewNodes* Items)
{
    return Texts(Items->GetFirstSelected(), [](TlxTreeViewNode* node) { return node->GetNextSelected(); });
}

std::string ChildTexts(TlxTreeViewNode* Parent)
{
    return Texts(Parent->GetFirstChild(), [](TlxTreeViewNode* node) { return node->GetNextSibling(); });
}

void ClickButton(TSpeedButton* Button) { QTest::mouseClick(Button->ToolButton(), Qt::LeftButton); }


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

bool AcceptsDropOn(TlxTreeViewEditor& Editor, TlxTreeViewNode* Target)
{
    const QPoint at = ClientCentre(Target);
    bool accept = true;
    Editor.TreeDragOver(Editor.Tree, Editor.Tree, at.x(), at.y(), dsDragMove, accept);
    return accept;
}


std::string SavedBytes(TlxTreeView* Tree)
{
    TMemoryStream stream;
    Tree->SaveToStream(&stream, true);
    return std::string(static_cast<const char*>(stream.Memory()), std::size_t(stream.Size()));
}

// What a cancelled dialog must leave alone: the saved bytes, the selection, the top item.
auto Snapshot(TlxTreeView* Tree)
{
    return std::make_tuple(SavedBytes(Tree), SelectedTexts(Tree->Items()), Tree->Selection(), Tree->TopItem());
}

// Edits a node's text, deletes another and adds one: changes a cancel must drop.
void ChangeSomething(TlxTreeViewEditor& Editor)
{
    ClickNode(Editor.Tree, Editor.Tree->TopItem());
    QTest::keyClicks(Editor.edtTextEdit->LineEdit(), "changed");
    ClickNode(Editor.Tree, Editor.Tree->Items()->Item(Editor.Tree->TopItem()->AbsoluteIndex() + 2));
    ClickButton(Editor.SpeedButton5);
    QTest::mouseClick(Editor.Button1->Button(), Qt::LeftButton);
}

QWidget* KeyTarget(TlxTreeViewEditor& Editor)
{
    QWidget* focused = QApplication::focusWidget();
    return focused ? focused : View(Editor.Tree);
}


// Once the popup menu is on screen: notes the captions it shows and picks the item
// with the caption Pick by Return on the active action (or closes it without a pick).
void PickFromPopupSoon(const std::string& Pick, std::vector<std::string>* Shown)
{
    QTimer::singleShot(0, [Pick, Shown] {
        auto* menu = qobject_cast<QMenu*>(TPopupMenu::ActivePopup());
        ASSERT_NE(menu, nullptr) << "no popup menu";
        QAction* chosen = nullptr;
        for (QAction* action : menu->actions()) {
            Shown->push_back(action->text().toStdString());
            if (action->text().toStdString() == Pick)
                chosen = action;
        }
        if (!chosen) {
            ADD_FAILURE() << "no menu item " << Pick;
            menu->close();
            return;
        }
        menu->setActiveAction(chosen);
        QTest::keyClick(menu, Qt::Key_Return);
    });
}

// A right-button press and release on a node, picking Pick from the menu it opens.
std::vector<std::string> RightClickAndPick(TlxTreeView* Tree, TlxTreeViewNode* Node, const std::string& Pick)
{
    std::vector<std::string> shown;
    PickFromPopupSoon(Pick, &shown);
    QTest::mouseClick(View(Tree), Qt::RightButton, Qt::NoModifier, LabelCentre(Tree, Node));
    EXPECT_EQ(TPopupMenu::ActivePopup(), nullptr);
    return shown;
}

bool Contains(const std::vector<std::string>& Texts, const std::string& Text)
{
    return std::find(Texts.begin(), Texts.end(), Text) != Texts.end();
}


// Answers the open dialog with a file and notes every message box, for one scope.
class TAnswers {
public:
    explicit TAnswers(const std::string& OpenFile)
    {
        FDialogs = SetDialogResponder([OpenFile](TCommonDialog& Dialog) {
            auto* open = dynamic_cast<TOpenDialog*>(&Dialog);
            if (open)
                open->SetFileName(OpenFile);
            return open != nullptr;
        });
        FMessages = SetMessageDlgResponder([this](const std::string& Msg, TMsgDlgType, TMsgDlgButtons) {
            Messages.push_back(Msg);
            return int(mrOk);
        });
    }
    ~TAnswers()
    {
        SetDialogResponder(FDialogs);
        SetMessageDlgResponder(FMessages);
    }
    TAnswers(const TAnswers&) = delete;
    TAnswers& operator=(const TAnswers&) = delete;

    std::vector<std::string> Messages;

private:
    TDialogResponder FDialogs;
    TMessageDlgResponder FMessages;
};

void WriteFile(const std::string& Name, const std::string& Bytes)
{
    QFile file(QString::fromStdString(Name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(Bytes.data(), qint64(Bytes.size()));
}

// Replaces an edit's whole text by real keys: Ctrl+A, then the text.
void Retype(TEdit* Edit, const char* Text)
{
    QTest::keyClick(Edit->LineEdit(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(Edit->LineEdit(), Text);
}


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
        WhenModal<TlxTreeViewEditor>(Inside, &ran);
        const bool ok = PopupEditor(control->Items());
        EXPECT_TRUE(ran);
        return ok;
    }
    TlxTreeViewNode* Add(const std::string& Text, TlxTreeViewNode* Parent = nullptr)
    {
        return Parent ? control->Items()->AddChild(Parent, Text) : control->Items()->Add(nullptr, Text);
    }

    TlxTreeView* control = nullptr;
};

} // namespace

// The control's selection stays out of the dialog. Shared values show, differing ones
// show empty or grayed, and what is typed or clicked reaches every selected node.
TEST_F(ItemEditor, ThePanelShowsAndSetsTheSelectedNodesTogether)
{
    TlxTreeViewNode* a = Add("a");
    TlxTreeViewNode* b = Add("b");
    control->Items()->SelectNode(Add("c"), stSet);
    control->Items()->SelectNode(a, stSet);
    a->SetVarName("x"), a->SetVarValue("1");
    b->SetVarName("x"), b->SetVarValue("2"), b->SetEnabled(false);
    ASSERT_TRUE(Edit([](TlxTreeViewEditor& editor) {
        EXPECT_EQ(editor.Tree->Items()->GetSelectedCount(), 0);
        EXPECT_EQ(editor.StatusBar->Panels()->Items(1)->Text(), "Number of the selected node(s):  0");
        EXPECT_FALSE(editor.edtVarName->Enabled());
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

TEST_F(ItemEditor, CancelEscapeAndClosingLeaveTheControlAsItWas)
{
    for (int i = 0; i < 60; ++i)
        Add("child of " + std::to_string(i), Add("node " + std::to_string(i)));
    control->Items()->Item(40)->Expand(false);
    control->Items()->SelectNode(control->Items()->Item(44), stSet);
    control->Items()->SelectNode(control->Items()->Item(50), stSet);
    control->SetTopItem(control->Items()->Item(30));
    const auto before = Snapshot(control);
    ASSERT_EQ(std::get<3>(before), control->Items()->Item(30));

    const std::vector<std::pair<const char*, TInside>> endings{
        {"Cancel", [](TlxTreeViewEditor& editor) { ClickButton(editor.SpeedButton9); }},
        {"Escape", [](TlxTreeViewEditor& editor) { QTest::keyClick(KeyTarget(editor), Qt::Key_Escape); }},
        {"close", [](TlxTreeViewEditor&) { QApplication::activeModalWidget()->close(); }}};
    for (const auto& [name, end] : endings) {
        const bool ok = Edit([&end = end](TlxTreeViewEditor& editor) {
            EXPECT_EQ(editor.Tree->TopItem()->AbsoluteIndex(), 30);
            const std::string opened = SavedBytes(editor.Tree);
            ChangeSomething(editor);
            EXPECT_NE(SavedBytes(editor.Tree), opened);
            end(editor);
            EXPECT_EQ(editor.ModalResult(), mrCancel);
        });
        EXPECT_FALSE(ok) << name;
        EXPECT_TRUE(Snapshot(control) == before) << name;
    }
}

TEST_F(ItemEditor, OkCopiesTheNodesTheTopItemAndTheRootCheckType)
{
    control->Items()->SetCheckType(lxtRadioButton);
    ASSERT_TRUE(Edit([](TlxTreeViewEditor& editor) {
        EXPECT_EQ(editor.CheckTypeLabel->Caption(), "Root Check Type");
        EXPECT_EQ(editor.CheckStyleCombo->ItemIndex(), int(lxtRadioButton));
        QTest::keyClick(editor.CheckStyleCombo->ComboBox(), Qt::Key_Down);
        EXPECT_EQ(editor.Tree->Items()->CheckType(), lxtTextButton);
        ClickButton(editor.OKButton);
    }));
    EXPECT_EQ(control->Items()->CheckType(), lxtTextButton);
    EXPECT_EQ(control->Items()->Count(), 0);

    for (int i = 0; i < 40; ++i)
        Add("node " + std::to_string(i));
    control->SetTopItem(control->Items()->Item(10));
    ASSERT_TRUE(Edit([](TlxTreeViewEditor& editor) {
        QTest::keyClick(editor.CheckStyleCombo->ComboBox(), Qt::Key_Up);
        editor.Tree->SetTopItem(editor.Tree->Items()->Item(5));
        ClickNode(editor.Tree, editor.Tree->Items()->Item(7));
        QTest::keyClicks(editor.edtTextEdit->LineEdit(), "!");
        ClickButton(editor.OKButton);
    }));
    EXPECT_EQ(control->Items()->CheckType(), lxtRadioButton);
    EXPECT_EQ(control->Items()->Item(7)->Text(), "node 7!");
    EXPECT_EQ(control->TopItem(), control->Items()->Item(5));
}

TEST_F(ItemEditor, ARightClickOnTheTreeOpensTheNodeMenu)
{
    for (const char* text : {"one", "two", "three", "four"})
        Add(text);
    Add("inside", control->Items()->Item(3));
    ASSERT_TRUE(Edit([](TlxTreeViewEditor& editor) {
        TlxTreeViewNodes* items = editor.Tree->Items();
        ClickNodes(editor.Tree, {0, 1});
        std::vector<std::string> shown = RightClickAndPick(editor.Tree, items->Item(1), "D&elete 2 Items + children");
        EXPECT_TRUE(Contains(shown, "&Insert node"));
        EXPECT_EQ(items->GetFirstNode()->Text(), "three");
        EXPECT_EQ(items->Count(), 3);

        RightClickAndPick(editor.Tree, items->GetFirstNode(), "&Select all nodes");
        EXPECT_EQ(items->GetSelectedCount(), items->Count());
        shown = RightClickAndPick(editor.Tree, items->GetFirstNode(), "&Expand all");
        EXPECT_TRUE(Contains(shown, "D&elete 3 Items + children")) << "the selection stays";
        EXPECT_TRUE(items->Item(1)->Expanded());

        ClickNode(editor.Tree, items->Item(1));
        shown = RightClickAndPick(editor.Tree, items->Item(1), "&Insert node");
        EXPECT_TRUE(Contains(shown, "D&elete Item + children"));
        EXPECT_EQ(items->GetFirstNode()->GetNextSibling()->Text(), "New Node");
        ClickButton(editor.OKButton);
    }));
    EXPECT_EQ(control->Items()->Count(), 4);
}

TEST_F(ItemEditor, BadFilesAndBadNumbersEndInAMessageAndChangeNothing)
{
    QTemporaryDir dir;
    const std::string file = dir.filePath("bad.lxt").toStdString();
    TlxTreeViewNode* node = Add("node");
    Add("child", node);
    node->SetVarType(5);
    ASSERT_TRUE(Edit([&](TlxTreeViewEditor& editor) {
        // A level jump in the text form, and a binary stream cut short after its signature.
        for (const char* bytes : {"a\n\t\t\tb\n", "\rLXT\r\x01\x02"}) {
            WriteFile(file, bytes);
            const std::string before = SavedBytes(editor.Tree);
            TAnswers answers(file);
            ClickButton(editor.SpeedButton7);
            EXPECT_EQ(answers.Messages.size(), 1u) << "for " << bytes;
            EXPECT_EQ(SavedBytes(editor.Tree), before) << "for " << bytes;
        }

        TlxTreeViewNode* first = editor.Tree->Items()->GetFirstNode();
        ClickNode(editor.Tree, first);
        TAnswers answers("");
        Retype(editor.edtVarType, "x");
        EXPECT_EQ(answers.Messages.size(), 1u);
        EXPECT_EQ(first->VarType(), 5);
        Retype(editor.IntegralEdit, "0");
        EXPECT_EQ(answers.Messages.size(), 1u) << "a height of 0 is refused silently";
        EXPECT_EQ(first->MultiHeight(), 1);
        ClickButton(editor.OKButton);
    }));
    EXPECT_EQ(control->Items()->GetFirstNode()->VarType(), 5);
    EXPECT_EQ(control->Items()->GetFirstNode()->Count(), 1);
}

// The mouse stays over the dialog's controls as it closes, which moves the hint while
// the dialog's windows go.
TEST_F(ItemEditor, TheStatusBarShowsTheHintUnderTheMouse)
{
    int hintsOutside = 0;
    Application()->OnHint = [&](TObject*) { ++hintsOutside; };
    Edit([&](TlxTreeViewEditor& editor) {
        QTest::mouseMove(editor.SpeedButton3->ToolButton());
        EXPECT_EQ(editor.StatusBar->Panels()->Items(0)->Text(), "Move the selected item up.");
        QTest::mouseMove(editor.edtVarType->LineEdit());
        EXPECT_EQ(editor.StatusBar->Panels()->Items(0)->Text(), "An INTEGER data of the selected node(s).");
        EXPECT_EQ(hintsOutside, 0);
        ClickButton(editor.SpeedButton9);
    });
    const int before = hintsOutside;
    Application()->SetHint("outside");
    EXPECT_EQ(hintsOutside, before + 1) << "the application's hint handler is back";
    Application()->OnHint = nullptr;
}

// A tree with many selected nodes opens with none selected in the dialog and comes back
// whole. (How long opening and OK take is measured by the benchmark, not here.)
TEST_F(ItemEditor, ALargeSelectedTreeOpensUnselectedAndComesBackWhole)
{
    TlxTreeViewNodes* items = control->Items();
    items->BeginUpdate();
    for (int i = 0; i < 1000; ++i) {
        TlxTreeViewNode* top = items->Add(nullptr, "node");
        for (int j = 0; j < 9; ++j)
            items->AddChild(top, "child");
    }
    items->EndUpdate();
    for (int i = 0; i < 30; ++i)
        items->SelectNode(items->Item(i * 300), stSet);
    ASSERT_TRUE(Edit([&](TlxTreeViewEditor& editor) {
        EXPECT_EQ(editor.Tree->Items()->GetSelectedCount(), 0);
        ClickButton(editor.OKButton);
    }));
    EXPECT_EQ(items->Count(), 10000);
}
