// The tree as a drag source and target: the drop highlight, the timed expansion, the
// insertion mark, the edge zones and the accelerating auto-scroll.
#include <QApplication>
#include <QTest>
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/control/TreeFixture.h"

namespace {

class TDragTree : public TlxTreeView {
public:
    using TlxTreeView::TlxTreeView;
    using TCustomlxTreeView::DoAutoScroll;
    using TCustomlxTreeView::DoDragExpand;
    using TCustomlxTreeView::DoScroll;
    using TCustomlxTreeView::ExpandTimer;
    using TCustomlxTreeView::ScrollDirection;
    using TCustomlxTreeView::ScrollTimer;
};

class TreeDragDrop : public TreeFixture {
protected:
    void SetUp() override
    {
        TreeFixture::SetUp();
        delete tree;
        drag = new TDragTree(form.get());
        tree = drag;
        tree->SetParent(form.get());
        tree->SetAlign(alClient);
        tree->SetItemHeight(16);
        QApplication::processEvents();
    }
    void TearDown() override
    {
        CancelDrag();
        TreeFixture::TearDown();
    }
    void AddRows(int Count)
    {
        for (int i = 0; i < Count; ++i)
            Items()->Add(nullptr, "row " + std::to_string(i));
        QApplication::processEvents();
    }
    SCROLLINFO Vertical()
    {
        SCROLLINFO info{};
        info.cbSize = sizeof(info);
        info.fMask = SIF_ALL;
        GetScrollInfo(tree->Handle(), SB_VERT, &info);
        return info;
    }
    // Moves the mouse of the drag in progress over a client point of the tree.
    void DragOver(QPoint Client) { QTest::mouseMove(View(), ToWidget(Client)); }
    QPoint Centre(TlxTreeViewNode* Node)
    {
        RECT r = Node->DisplayRect(true);
        return QPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }

    TDragTree* drag = nullptr;
};

} // namespace

TEST_F(TreeDragDrop, EdgeZonesStartTheTimerOnlyWhereTheTreeCanStillScroll)
{
    AddRows(3);
    drag->DoAutoScroll(50, 2);
    drag->DoAutoScroll(50, tree->ClientHeight() - 2);
    EXPECT_FALSE(drag->ScrollTimer()->Enabled()); // nothing to scroll

    AddRows(200);
    const int height = tree->ClientHeight();
    drag->DoAutoScroll(50, 7);
    EXPECT_FALSE(drag->ScrollTimer()->Enabled()); // already at the top
    drag->DoAutoScroll(50, height - 7);
    EXPECT_EQ(drag->ScrollDirection(), TScrollDirection{sdDown});
    EXPECT_TRUE(drag->ScrollTimer()->Enabled());
    drag->DoAutoScroll(50, height - 8);
    EXPECT_FALSE(drag->ScrollTimer()->Enabled());

    tree->SetTopItem(Items()->Item(100));
    drag->DoAutoScroll(50, 7);
    EXPECT_EQ(drag->ScrollDirection(), TScrollDirection{sdUp});
    drag->DoAutoScroll(50, 8);
    EXPECT_TRUE(drag->ScrollDirection().Empty());
    EXPECT_FALSE(drag->ScrollTimer()->Enabled());

    // A real mouse move over the zone starts it, the mouse leaving stops it, and
    // without roAutoScroll hovering scrolls nothing.
    QTest::mouseMove(View(), ToWidget(QPoint(50, 3)));
    EXPECT_TRUE(drag->ScrollTimer()->Enabled());
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(View(), &leave);
    EXPECT_FALSE(drag->ScrollTimer()->Enabled());
    tree->SetOptions(tree->Options() - TTreeOptions{roAutoScroll});
    QTest::mouseMove(View(), ToWidget(QPoint(50, 4)));
    EXPECT_FALSE(drag->ScrollTimer()->Enabled());
}

TEST_F(TreeDragDrop, ScrollTicksAccelerateFromLinesToPagesAndStopAtTheTop)
{
    AddRows(400);
    tree->SetTopItem(Items()->Item(300));
    const int page = int(Vertical().nPage);
    drag->DoAutoScroll(50, 3);
    std::vector<unsigned> delays;
    std::vector<int> steps;
    while (drag->ScrollTimer()->Enabled() && delays.size() < 100) {
        const int before = Vertical().nPos;
        drag->DoScroll(nullptr);
        delays.push_back(drag->ScrollTimer()->Interval());
        steps.push_back(before - Vertical().nPos);
    }
    ASSERT_GE(delays.size(), 14u);
    EXPECT_EQ(std::vector<unsigned>(delays.begin(), delays.begin() + 13),
              (std::vector<unsigned>{37, 27, 20, 15, 11, 8, 6, 4, 3, 2, 1, 1, 1}));
    EXPECT_EQ(std::vector<int>(steps.begin(), steps.begin() + 11), std::vector<int>(11, 1));
    EXPECT_EQ(steps[11], page);
    EXPECT_EQ(Vertical().nPos, 0);
    EXPECT_TRUE(drag->ScrollDirection().Empty());
    EXPECT_EQ(steps.back(), 0); // the tick at the top only drops the direction

    // Any zone entry starts again at 300 ms.
    tree->SetTopItem(Items()->Item(50));
    drag->DoAutoScroll(50, 3);
    EXPECT_EQ(drag->ScrollTimer()->Interval(), 300u);
}

TEST_F(TreeDragDrop, TheDropHighlightFollowsTheMouseAndACollapsedTargetOpensAfterItsTick)
{
    TlxTreeViewNode* first = Items()->Add(nullptr, "first");
    TlxTreeViewNode* folder = Items()->Add(nullptr, "folder");
    Items()->AddChild(folder, "inside");
    TlxTreeViewNode* leaf = Items()->Add(nullptr, "leaf");
    QApplication::processEvents();
    bool accept = false;
    tree->OnDragOver = [&](TObject*, TObject*, int, int, TDragState, bool& Accept) { Accept = accept; };

    // A drag the application starts takes the node under the cursor for its image.
    QTest::mouseMove(View(), ToWidget(Centre(first)));
    tree->BeginDrag(true);
    ASSERT_TRUE(tree->Dragging());
    EXPECT_TRUE(drag->ExpandTimer()->Enabled());

    DragOver(Centre(folder));
    EXPECT_EQ(tree->DropTarget(), folder); // refused, and highlighted all the same
    EXPECT_TRUE(folder->DropTarget());
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::ForbiddenCursor);
    DragOver(Centre(leaf));
    EXPECT_EQ(tree->DropTarget(), leaf);
    EXPECT_FALSE(folder->DropTarget());
    drag->DoDragExpand(nullptr); // a leaf does not open
    EXPECT_FALSE(drag->ExpandTimer()->Enabled());

    accept = true;
    DragOver(Centre(folder));
    EXPECT_TRUE(drag->ExpandTimer()->Enabled()); // restarted for the new target
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::DragMoveCursor);
    DragOver(QPoint(Centre(folder).x(), tree->ClientHeight() - 20)); // empty space
    EXPECT_EQ(tree->DropTarget(), folder);
    drag->DoDragExpand(nullptr);
    EXPECT_TRUE(folder->Expanded());
    EXPECT_FALSE(folder->GetFirstChild()->Expanded());

    tree->EndDrag(false);
    EXPECT_EQ(tree->DropTarget(), nullptr); // leaving took the highlight away
    EXPECT_FALSE(drag->ExpandTimer()->Enabled());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(TreeDragDrop, ManualModeDragsNothingAndDestroyingTheWindowEndsTheDrag)
{
    AddRows(40);
    TlxTreeViewNode* node = Items()->Item(2);
    QTest::mousePress(View(), Qt::LeftButton, {}, ToWidget(Centre(node)));
    QTest::mouseMove(View(), ToWidget(Centre(node) + QPoint(0, 40)));
    EXPECT_FALSE(tree->Dragging());
    QTest::mouseRelease(View(), Qt::LeftButton, {}, ToWidget(Centre(node) + QPoint(0, 40)));

    tree->SetDragMode(dmAutomatic);
    QTest::mousePress(View(), Qt::LeftButton, {}, ToWidget(Centre(node)));
    for (int dy = 4; dy <= 40; dy += 4)
        QTest::mouseMove(View(), ToWidget(Centre(node) + QPoint(0, dy)));
    ASSERT_TRUE(tree->Dragging());
    EXPECT_TRUE(node->Selected());
    DragOver(QPoint(50, tree->ClientHeight() - 3));
    EXPECT_TRUE(drag->ScrollTimer()->Enabled());
    EXPECT_TRUE(drag->ExpandTimer()->Enabled());

    tree->RecreateWnd();
    EXPECT_FALSE(tree->Dragging());
    EXPECT_FALSE(DragObjectInProgress());
    EXPECT_FALSE(drag->ScrollTimer()->Enabled());
    EXPECT_FALSE(drag->ExpandTimer()->Enabled());
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    QTest::mouseRelease(View(), Qt::LeftButton, {}, ToWidget(QPoint(50, 50)));
}

TEST_F(TreeDragDrop, ShowMarkDrawsTheInsertionMarkInMarkColorUntilANullNodeRemovesIt)
{
    AddRows(5);
    tree->SetMarkColor(clRed);
    auto redPixels = [&] {
        const QImage shot = View()->grab().toImage();
        int count = 0;
        for (int y = 0; y < shot.height(); ++y)
            for (int x = 0; x < shot.width(); ++x)
                count += shot.pixelColor(x, y) == QColor(Qt::red);
        return count;
    };
    tree->ShowMark(Items()->Item(1), lxAfter);
    EXPECT_GT(redPixels(), 20);
    tree->ShowMark(nullptr, lxAfter);
    EXPECT_EQ(redPixels(), 0);
    tree->ShowMark(Items()->Item(1), lxBefore);
    EXPECT_GT(redPixels(), 20);
    tree->ShowMark(nullptr, lxBefore);
    EXPECT_EQ(redPixels(), 0);
}

// A rubber band held at the bottom edge grows with the rows that scroll in, and still
// starts at the row it started on.
TEST_F(TreeDragDrop, TheRubberBandFollowsTheAutoScroll)
{
    tree->SetOptions(tree->Options() + TTreeOptions{roMultiSelect});
    AddRows(200);
    TlxTreeViewNode* first = Items()->Item(5);
    RECT row = first->DisplayRect(true);
    const QPoint start(row.right + 40, (row.top + row.bottom) / 2);
    const QPoint edge(row.left + 5, tree->ClientHeight() - 3); // across the labels
    QTest::mousePress(View(), Qt::LeftButton, {}, ToWidget(start));
    QTest::mouseMove(View(), ToWidget(edge));
    ASSERT_TRUE(tree->IsMouseSelecting());
    ASSERT_TRUE(drag->ScrollTimer()->Enabled());
    for (int tick = 0; tick < 3; ++tick)
        drag->DoScroll(nullptr);
    EXPECT_EQ(tree->TopItem(), Items()->Item(3));
    QTest::mouseMove(View(), ToWidget(edge + QPoint(0, 1)));
    TlxTreeViewNode* last = tree->GetNodeAt(row.left, edge.y() + 1);
    ASSERT_TRUE(last);
    EXPECT_TRUE(first->Selected());
    EXPECT_FALSE(Items()->Item(4)->Selected());
    EXPECT_TRUE(last->Selected());
    EXPECT_EQ(Items()->GetSelectedCount(), last->AbsoluteIndex() - 5 + 1);
    QTest::mouseRelease(View(), Qt::LeftButton, {}, ToWidget(edge + QPoint(0, 1)));
}

// A user drags the first row with the mouse: the collapsed folder it rests on opens
// after a second, the tree scrolls while the mouse waits at the bottom edge, and the
// drop handler moves the node under the row it is released on.
TEST_F(TreeDragDrop, ARealMouseDragOpensAFolderScrollsAndMovesTheNode)
{
    TlxTreeViewNode* dragged = Items()->Add(nullptr, "dragged");
    TlxTreeViewNode* folder = Items()->Add(nullptr, "folder");
    Items()->AddChild(folder, "inside");
    AddRows(80);
    tree->SetDragMode(dmAutomatic);
    tree->OnDragOver = [&](TObject*, TObject* Source, int, int, TDragState, bool& Accept) { Accept = Source == tree; };
    tree->OnDragDrop = [&](TObject*, TObject*, int X, int Y) { dragged->MoveTo(tree->GetNodeAt(X, Y), naAddChild); };

    const QPoint start = Centre(dragged);
    QTest::mousePress(View(), Qt::LeftButton, {}, ToWidget(start));
    for (int y = start.y() + 2; y <= Centre(folder).y(); y += 2)
        QTest::mouseMove(View(), ToWidget(QPoint(start.x(), y)));
    ASSERT_TRUE(tree->Dragging());
    EXPECT_EQ(tree->DropTarget(), folder);
    QTest::qWait(1150);
    EXPECT_TRUE(folder->Expanded());

    const int bottom = tree->ClientHeight() - 3;
    QTest::mouseMove(View(), ToWidget(QPoint(start.x(), bottom)));
    QTest::qWait(450);
    QTest::mouseMove(View(), ToWidget(QPoint(start.x(), bottom - 40))); // out of the zone
    const int top = tree->TopItem()->AbsoluteIndex();
    EXPECT_GT(top, 3);
    TlxTreeViewNode* target = tree->GetNodeAt(start.x(), bottom - 40);
    ASSERT_TRUE(target);
    QTest::mouseRelease(View(), Qt::LeftButton, {}, ToWidget(QPoint(start.x(), bottom - 40)));

    EXPECT_FALSE(tree->Dragging());
    EXPECT_EQ(dragged->Parent(), target);
    EXPECT_TRUE(target->Expanded());
    EXPECT_EQ(tree->DropTarget(), nullptr);
    EXPECT_EQ(Items()->GetFirstNode(), folder);
    const auto firstChild = HTREEITEM(SendMessageA(tree->Handle(), TVM_GETNEXTITEM, TVGN_CHILD, LPARAM(target->ItemId())));
    EXPECT_EQ(firstChild, dragged->ItemId());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

// A drop handler that moves a node and then raises: the exception reaches the caller,
// the drag state is gone and the window shows the model's order.
TEST_F(TreeDragDrop, ARaisingDropHandlerLeavesAConsistentTree)
{
    AddRows(6);
    TlxTreeViewNode* moved = Items()->Item(0);
    tree->OnDragOver = [](TObject*, TObject*, int, int, TDragState, bool& Accept) { Accept = true; };
    tree->OnDragDrop = [&](TObject*, TObject*, int X, int Y) {
        moved->MoveTo(tree->GetNodeAt(X, Y), naInsert);
        throw std::runtime_error("after the move");
    };
    QTest::mouseMove(View(), ToWidget(Centre(moved)));
    tree->BeginDrag(true);
    DragOver(Centre(Items()->Item(3)));
    EXPECT_THROW(tree->EndDrag(true), std::runtime_error);
    EXPECT_FALSE(tree->Dragging());
    EXPECT_FALSE(drag->ExpandTimer()->Enabled());
    EXPECT_EQ(tree->DropTarget(), nullptr);
    std::string model, native;
    for (TlxTreeViewNode* node = Items()->GetFirstNode(); node; node = node->GetNextSibling())
        model += node->Text() + ";";
    for (auto item = HTREEITEM(SendMessageA(tree->Handle(), TVM_GETNEXTITEM, TVGN_ROOT, 0)); item;
         item = HTREEITEM(SendMessageA(tree->Handle(), TVM_GETNEXTITEM, TVGN_NEXT, LPARAM(item))))
        native += Items()->GetNode(item)->Text() + ";";
    EXPECT_EQ(model, "row 1;row 2;row 3;row 0;row 4;row 5;");
    EXPECT_EQ(native, model);
}
