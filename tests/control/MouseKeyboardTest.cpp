// The control under real Qt mouse and key events with multi-selection: Ctrl and Shift
// clicks, the rubber band, check glyphs, Shift with the arrows, Space, F1, typing,
// right clicks with popup menus.
#include <QMenu>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <functional>
#include <stdexcept>
#include <string>

#include "platform/framework/Application.h"
#include "platform/framework/Menus.h"
#include "tests/control/TreeFixture.h"

namespace {

class MouseKeyboard : public TreeFixture {
protected:
    void SetUp() override
    {
        TreeFixture::SetUp();
        tree->SetOptions(tree->Options() + TTreeOptions{roMultiSelect});
        for (const char* Text : {"one", "two", "three", "four", "five", "six"})
            Nodes.push_back(Items()->Add(nullptr, Text));
        tree->SetFocus();
    }

    std::string Selected()
    {
        std::string Result;
        for (TlxTreeViewNode* Node = Items()->GetFirstNode(); Node; Node = Node->GetNext())
            if (Node->Selected())
                Result += (Result.empty() ? "" : " ") + Node->Text();
        return Result;
    }
    void Click(TlxTreeViewNode* Node, Qt::KeyboardModifiers Keys = Qt::NoModifier)
    {
        QTest::mouseClick(View(), Qt::LeftButton, Keys, LabelCentre(Node));
    }
    // A point of the row of Node right of its label (empty space of the row).
    QPoint RightOf(TlxTreeViewNode* Node)
    {
        RECT r = Node->DisplayRect(true);
        return ToWidget(QPoint(r.right + 60, (r.top + r.bottom) / 2));
    }
    // The centre of Node's check glyph, found by hit testing along its row.
    QPoint GlyphOf(TlxTreeViewNode* Node)
    {
        RECT r = Node->DisplayRect(true);
        const int Y = (r.top + r.bottom) / 2;
        int First = -1, Last = -1;
        for (int X = 0; X < r.left; ++X)
            if (tree->GetHitTestInfoAt(X, Y).Contains(htOnStateIcon)) {
                if (First < 0)
                    First = X;
                Last = X;
            }
        EXPECT_GE(First, 0) << "no check glyph on " << Node->Text();
        return ToWidget(QPoint((First + Last) / 2, Y));
    }

    // A mouse move with the left button and the given keys held (QTest moves carry none).
    void DragTo(QPoint At, Qt::KeyboardModifiers Keys)
    {
        QMouseEvent Move(QEvent::MouseMove, At, View()->mapToGlobal(At), Qt::NoButton, Qt::LeftButton, Keys);
        QApplication::sendEvent(View(), &Move);
    }

    std::vector<TlxTreeViewNode*> Nodes;
};

} // namespace

TEST_F(MouseKeyboard, CtrlShiftAndPlainClicksShapeTheSelection)
{
    Click(Nodes[1]);
    EXPECT_EQ(Selected(), "two");
    Click(Nodes[3], Qt::ControlModifier);
    EXPECT_EQ(Selected(), "two four");
    Click(Nodes[1], Qt::ControlModifier); // a Ctrl click on a selected node deselects it
    EXPECT_EQ(Selected(), "four");

    Click(Nodes[4], Qt::ShiftModifier); // from the anchor (the last plain click) on
    EXPECT_EQ(Selected(), "two three four five");
    Click(Nodes[0], Qt::ShiftModifier); // the anchor stays
    EXPECT_EQ(Selected(), "one two");

    Click(Nodes[5], Qt::ControlModifier);
    Click(Nodes[3], Qt::ControlModifier | Qt::ShiftModifier); // adds from the previous caret
    EXPECT_EQ(Selected(), "one two four five six");

    // A plain click on a selected node keeps it alone.
    Click(Nodes[4]);
    EXPECT_EQ(Selected(), "five");
    EXPECT_EQ(tree->Selection(), Nodes[4]);
    EXPECT_EQ(Items()->GetSelectedCount(), 1);
}

TEST_F(MouseKeyboard, TheRubberBandSelectsWhatItTouchesAndGivesBackWhatItLeaves)
{
    Click(Nodes[5]);
    QTest::mousePress(View(), Qt::LeftButton, Qt::NoModifier, RightOf(Nodes[0]));
    EXPECT_EQ(Selected(), ""); // a band without Ctrl or Shift starts afresh
    QTest::mouseMove(View(), LabelCentre(Nodes[2]));
    EXPECT_EQ(Selected(), "one two three");
    EXPECT_TRUE(tree->IsMouseSelecting());
    QTest::mouseMove(View(), LabelCentre(Nodes[1]));
    EXPECT_EQ(Selected(), "one two");
    QTest::mouseRelease(View(), Qt::LeftButton, Qt::NoModifier, LabelCentre(Nodes[1]));
    EXPECT_FALSE(tree->IsMouseSelecting());
    EXPECT_EQ(Selected(), "one two");

    // With Ctrl the band toggles, and rows it leaves return to what they were.
    QTest::mousePress(View(), Qt::LeftButton, Qt::ControlModifier, RightOf(Nodes[4]));
    DragTo(LabelCentre(Nodes[1]), Qt::ControlModifier);
    EXPECT_EQ(Selected(), "one three four five");
    DragTo(LabelCentre(Nodes[3]), Qt::ControlModifier);
    EXPECT_EQ(Selected(), "one two four five");
    QTest::mouseRelease(View(), Qt::LeftButton, Qt::ControlModifier, LabelCentre(Nodes[3]));
    EXPECT_EQ(Selected(), "one two four five");
}

TEST_F(MouseKeyboard, RowSelectStartsNoBand)
{
    tree->SetOptions(tree->Options() + TTreeOptions{roRowSelect});
    Nodes = {Items()->GetFirstNode()};
    for (TlxTreeViewNode* Node = Nodes[0]->GetNextSibling(); Node; Node = Node->GetNextSibling())
        Nodes.push_back(Node);
    QTest::mousePress(View(), Qt::LeftButton, Qt::NoModifier, RightOf(Nodes[0]));
    QTest::mouseMove(View(), LabelCentre(Nodes[2]));
    QTest::mouseRelease(View(), Qt::LeftButton, Qt::NoModifier, LabelCentre(Nodes[2]));
    EXPECT_FALSE(tree->IsMouseSelecting());
    EXPECT_EQ(Selected(), "one"); // the press counted as a press on the row's node
}

TEST_F(MouseKeyboard, CheckGlyphsClickWhereTheButtonIsReleased)
{
    tree->SetOptions(tree->Options() + TTreeOptions{roCheckSupport});
    Items()->SetCheckType(lxtCheckBox);
    TlxTreeViewNode* Box = Nodes[1];
    const QPoint Glyph = GlyphOf(Box);
    QTest::mousePress(View(), Qt::LeftButton, Qt::NoModifier, Glyph);
    EXPECT_EQ(Box->CheckState(), lxsUnchecked); // pressed, not yet clicked
    EXPECT_EQ(tree->Selection(), Box);
    QTest::mouseRelease(View(), Qt::LeftButton, Qt::NoModifier, QPoint(-40, -40)); // outside the control
    EXPECT_EQ(Box->CheckState(), lxsChecked);
    EXPECT_EQ(GetCapture(), nullptr);

    // A radio button among radio siblings.
    Nodes[2]->SetCheckType(lxtRadioButton);
    TlxTreeViewNode* Left = Items()->AddChild(Nodes[2], "left");
    TlxTreeViewNode* Right = Items()->AddChild(Nodes[2], "right");
    Nodes[2]->Expand(false);
    Left->SetCheckState(lxsChecked);
    QTest::mouseClick(View(), Qt::LeftButton, Qt::NoModifier, GlyphOf(Right));
    EXPECT_EQ(Right->CheckState(), lxsChecked);
    EXPECT_EQ(Left->CheckState(), lxsUnchecked);

    // Space clicks the caret's glyph and never reaches OnKeyDown.
    int KeyDowns = 0;
    tree->OnKeyDown = [&](TObject*, WORD&, TShiftState) { ++KeyDowns; };
    tree->SetSelection(Box);
    QTest::keyClick(View(), Qt::Key_Space);
    EXPECT_EQ(Box->CheckState(), lxsUnchecked);
    EXPECT_EQ(KeyDowns, 0);
}

TEST_F(MouseKeyboard, ShiftWithArrowsGrowsAndShrinksTheSelection)
{
    Click(Nodes[1]);
    QTest::keyClick(View(), Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(Selected(), "two three");
    EXPECT_EQ(tree->Selection(), Nodes[2]);
    QTest::keyClick(View(), Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(Selected(), "two three four");
    QTest::keyClick(View(), Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ(Selected(), "two three");
    QTest::keyClick(View(), Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ(Selected(), "two");

    QTest::keyClick(View(), Qt::Key_End, Qt::ShiftModifier);
    EXPECT_EQ(Selected(), "two three four five six");
    QTest::keyClick(View(), Qt::Key_Down); // a plain arrow at the end: nothing below
    EXPECT_EQ(Items()->GetSelectedCount(), 5);
    QTest::keyClick(View(), Qt::Key_Up);
    EXPECT_EQ(Selected(), "five");
    QTest::keyClick(View(), Qt::Key_Home);
    EXPECT_EQ(Selected(), "one");

    // Typing clears the multi-selection before the incremental search moves the caret.
    Click(Nodes[3], Qt::ControlModifier);
    QTest::keyClick(View(), Qt::Key_S, Qt::NoModifier);
    EXPECT_EQ(Selected(), "six");
}

TEST_F(MouseKeyboard, F1AsksTheNodeItsAncestorsThenTheControls)
{
    TlxTreeViewNode* Child = Items()->AddChild(Nodes[0], "child");
    Nodes[0]->Expand(false);
    tree->SetSelection(Child);
    std::vector<int> Shown;
    Application()->OnHelp = [&](WORD, std::intptr_t Data, bool& CallHelp) {
        Shown.push_back(int(Data));
        CallHelp = false;
        return true;
    };
    QTest::keyClick(View(), Qt::Key_F1); // without OnHelpContext F1 does nothing
    EXPECT_TRUE(Shown.empty());

    std::vector<std::string> Asked;
    tree->OnHelpContext = [&](TObject*, TlxTreeViewNode* Node, int& Context) {
        Asked.push_back(Node->Text());
        if (Node == Nodes[0])
            Context = 17;
    };
    QTest::keyClick(View(), Qt::Key_F1);
    EXPECT_EQ(Asked, (std::vector<std::string>{"child", "one"}));
    EXPECT_EQ(Shown, std::vector<int>{17});

    tree->OnHelpContext = [](TObject*, TlxTreeViewNode*, int&) {};
    form->SetHelpContext(99); // the control has none: its parent answers
    QTest::keyClick(View(), Qt::Key_F1);
    EXPECT_EQ(Shown.back(), 99);
    Application()->OnHelp = nullptr;
}

TEST_F(MouseKeyboard, ARightClickAsksForAMenuUpTheAncestorsAndOpensIt)
{
    TlxTreeViewNode* Child = Items()->AddChild(Nodes[0], "child");
    Nodes[0]->Expand(false);
    Click(Nodes[3]);
    Click(Nodes[4], Qt::ControlModifier);
    TPopupMenu Menu(nullptr);
    auto* Rename = new TMenuItem(nullptr);
    Rename->SetCaption("Rename");
    Menu.Items()->Add(Rename);
    std::vector<std::string> Asked;
    tree->OnPopup = [&](TObject*, TlxTreeViewNode* Node, bool& AskParent, TPopupMenu*& PopupMenu) {
        Asked.push_back(Node->Text());
        if (Node == Nodes[0])
            PopupMenu = &Menu;
        AskParent = true;
    };
    int MouseUps = 0;
    tree->OnMouseUp = [&](TObject*, TMouseButton, TShiftState, int, int) { ++MouseUps; };
    QStringList Shown;
    QTimer::singleShot(0, [&] {
        auto* Open = qobject_cast<QMenu*>(TPopupMenu::ActivePopup());
        ASSERT_NE(Open, nullptr);
        for (QAction* Action : Open->actions())
            Shown << Action->text();
        QTest::keyClick(Open, Qt::Key_Escape);
    });
    QTest::mouseClick(View(), Qt::RightButton, Qt::NoModifier, LabelCentre(Child));
    EXPECT_EQ(Asked, (std::vector<std::string>{"child", "one"}));
    EXPECT_EQ(Shown, QStringList{"Rename"});
    EXPECT_EQ(Menu.PopupComponent(), tree);
    EXPECT_EQ(Selected(), ""); // the unselected right-clicked node cleared the multi-selection
    EXPECT_EQ(MouseUps, 0);    // the menu replaced the mouse-up event
}

namespace {
class TScrollingTree : public TlxTreeView {
public:
    using TlxTreeView::TlxTreeView;
    TTimer* Timer() const { return ScrollTimer(); }
};
} // namespace

// The mouse leaving the client area for the border or a scroll bar stops auto-scrolling;
// moves inside the client area leave it running. The window answers the hit test by
// the part under the point.
TEST_F(MouseKeyboard, NonClientHoverStopsTheScrollTimer)
{
    delete tree;
    auto* scrolling = new TScrollingTree(form.get());
    tree = scrolling;
    tree->SetParent(form.get());
    tree->SetAlign(alClient);
    // Without auto-scroll only the non-client hover touches the timer.
    tree->SetOptions(tree->Options() - TTreeOptions{roAutoScroll});
    for (int i = 0; i < 200; ++i)
        Items()->Add(nullptr, "row " + std::to_string(i));
    QApplication::processEvents();
    auto* widget = static_cast<TWindowWidget*>(View());
    const QRect client = widget->ClientRect();
    QScrollBar* bar = widget->ScrollBar(SB_VERT);
    ASSERT_TRUE(bar && bar->isVisible());
    auto hitAt = [&](QPoint widgetPoint) {
        const QPoint screen = widget->mapToGlobal(widgetPoint);
        return SendMessageA(tree->Handle(), WM_NCHITTEST, 0, MAKELPARAM(screen.x(), screen.y()));
    };
    EXPECT_EQ(hitAt(client.center()), HTCLIENT);
    EXPECT_EQ(hitAt(bar->geometry().center()), HTVSCROLL);
    EXPECT_EQ(hitAt(QPoint(0, client.center().y())), HTBORDER);
    EXPECT_EQ(hitAt(QPoint(-5, -5)), HTNOWHERE);

    scrolling->Timer()->SetEnabled(true);
    QTest::mouseMove(View(), client.center());
    EXPECT_TRUE(scrolling->Timer()->Enabled());
    QTest::mouseMove(View(), QPoint(0, client.center().y()));
    EXPECT_FALSE(scrolling->Timer()->Enabled());

    scrolling->Timer()->SetEnabled(true);
    const QPoint onBar = bar->rect().center();
    QMouseEvent hover(QEvent::MouseMove, onBar, bar->mapToGlobal(onBar), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(bar, &hover);
    EXPECT_FALSE(scrolling->Timer()->Enabled());
}

// A handler that raises while the band moves: the move's sender gets the exception, the
// band goes on with the next move, and the nodes agree with the native items throughout.
TEST_F(MouseKeyboard, AHandlerRaisingDuringTheBandLeavesTheSelectionConsistent)
{
    auto nativeAgrees = [this] {
        for (TlxTreeViewNode* Node : Nodes) {
            const LRESULT State = SendMessageA(tree->Handle(), TVM_GETITEMSTATE, WPARAM(Node->ItemId()), TVIS_SELECTED);
            if (((State & TVIS_SELECTED) != 0) != Node->Selected())
                return false;
        }
        return true;
    };
    auto pointOf = [this](QPoint Widget) {
        const QPoint Client = Widget - static_cast<TWindowWidget*>(View())->ClientRect().topLeft();
        return MAKELPARAM(Client.x(), Client.y());
    };
    bool Raise = true;
    tree->OnChanging = [&](TObject*, TlxTreeViewNode* Node, bool&) {
        if (Raise && Node == Nodes[2])
            throw std::runtime_error("not three");
    };
    const HWND Wnd = tree->Handle();
    SendMessageA(Wnd, WM_LBUTTONDOWN, MK_LBUTTON, pointOf(RightOf(Nodes[0])));
    EXPECT_THROW(SendMessageA(Wnd, WM_MOUSEMOVE, MK_LBUTTON, pointOf(LabelCentre(Nodes[3]))), std::runtime_error);
    EXPECT_EQ(Selected(), "one two four");
    EXPECT_TRUE(nativeAgrees());
    Raise = false;
    // The band asks only about rows it newly covers: the raising row counts as refused.
    SendMessageA(Wnd, WM_MOUSEMOVE, MK_LBUTTON, pointOf(LabelCentre(Nodes[4])));
    EXPECT_EQ(Selected(), "one two four five");
    SendMessageA(Wnd, WM_MOUSEMOVE, MK_LBUTTON, pointOf(LabelCentre(Nodes[1])));
    SendMessageA(Wnd, WM_MOUSEMOVE, MK_LBUTTON, pointOf(LabelCentre(Nodes[4])));
    EXPECT_EQ(Selected(), "one two three four five");
    SendMessageA(Wnd, WM_LBUTTONUP, 0, pointOf(LabelCentre(Nodes[4])));
    EXPECT_FALSE(tree->IsMouseSelecting());
    EXPECT_TRUE(nativeAgrees());
}
