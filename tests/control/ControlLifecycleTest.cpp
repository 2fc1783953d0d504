#include <QImage>
#include <QPalette>
#include <cstring>
#include <QTest>

#include "platform/win/Gdi.h"
#include "platform/win/ImageList.h"
#include "tests/control/TreeFixture.h"

TEST(ControlLifecycle, WindowIsMadeOnFirstUseAndNeedsAParent)
{
    TlxTreeView orphan(nullptr);
    orphan.SetName("Orphan");
    EXPECT_FALSE(orphan.HandleAllocated());
    EXPECT_EQ(orphan.Items()->Count(), 0); // no window, no items, nothing created
    try {
        orphan.Items()->Add(nullptr, "x");
        FAIL() << "adding without a parent window must fail";
    } catch (const EInvalidOperation& e) {
        EXPECT_NE(std::string(e.what()).find("Orphan"), std::string::npos) << e.what();
    }
    EXPECT_FALSE(orphan.HandleAllocated());
    EXPECT_EQ(orphan.Items()->GetFirstNode(), nullptr); // the half-made node was freed

    TForm form(nullptr);
    orphan.SetParent(&form);
    TlxTreeViewNode* node = orphan.Items()->Add(nullptr, "x");
    EXPECT_TRUE(orphan.HandleAllocated());
    EXPECT_EQ(orphan.Items()->Count(), 1);
    EXPECT_EQ(GetClassName(orphan.Handle()), "SysTreeView32");
    EXPECT_NE(node->ItemId(), nullptr);
    orphan.SetParent(nullptr);
}

TEST(ControlLifecycle, DefaultsAndWindowStyles)
{
    TForm form(nullptr);
    TlxTreeView tree(&form);
    EXPECT_EQ(tree.Options().Bits(), 95254u);
    EXPECT_EQ(tree.Width(), 121);
    EXPECT_EQ(tree.Height(), 97);
    EXPECT_TRUE(tree.TabStop());
    EXPECT_EQ(tree.Color(), clWindow);
    EXPECT_EQ(tree.SortType(), stNone);
    EXPECT_EQ(tree.ChangeDelay(), 0);
    tree.SetParent(&form);
    auto style = DWORD(GetWindowLongA(tree.Handle(), GWL_STYLE));
    EXPECT_TRUE(style & TVS_HASLINES);
    EXPECT_TRUE(style & TVS_LINESATROOT);
    EXPECT_TRUE(style & TVS_HASBUTTONS);
    EXPECT_TRUE(style & TVS_EDITLABELS);
    EXPECT_TRUE(style & TVS_NOTOOLTIPS);
    EXPECT_TRUE(style & TVS_DISABLEDRAGDROP);
    EXPECT_FALSE(style & TVS_SHOWSELALWAYS); // roHideSelection is on by default
    EXPECT_TRUE(GetWindowLongA(tree.Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);

    // Row select excludes lines, and live options reach the window style at once.
    TTreeOptions options = tree.Options();
    options.Include(roRowSelect);
    options.Exclude(roHideSelection);
    tree.SetOptions(options);
    EXPECT_FALSE(tree.Options().Contains(roShowLines));
    style = DWORD(GetWindowLongA(tree.Handle(), GWL_STYLE));
    EXPECT_FALSE(style & TVS_HASLINES);
    EXPECT_TRUE(style & TVS_SHOWSELALWAYS);
    EXPECT_TRUE(style & TVS_FULLROWSELECT);
}

TEST(ControlLifecycle, DestroyingTheControlDeletesEveryNodeOnce)
{
    TForm form(nullptr);
    auto* tree = new TlxTreeView(&form);
    tree->SetParent(&form);
    int deletions = 0;
    tree->OnDeletion = [&](TObject*, TlxTreeViewNode*) { ++deletions; };
    TlxTreeViewNode* a = tree->Items()->Add(nullptr, "a");
    tree->Items()->AddChild(tree->Items()->AddChild(a, "a1"), "a11");
    tree->Items()->Add(nullptr, "b");
    delete tree;
    EXPECT_EQ(deletions, 4);
}

TEST_F(TreeFixture, StaleItemHandlesMakeMessagesFail)
{
    TlxTreeViewNode* node = Items()->Add(nullptr, "gone");
    HTREEITEM stale = node->ItemId();
    node->Delete();
    HWND h = tree->Handle();
    TVITEMEXA item;
    item.mask = TVIF_TEXT | TVIF_STATE | TVIF_PARAM;
    item.hItem = stale;
    EXPECT_EQ(SendMessageA(h, TVM_GETITEMA, 0, LPARAM(&item)), 0);
    EXPECT_EQ(SendMessageA(h, TVM_SETITEMA, 0, LPARAM(&item)), 0);
    EXPECT_EQ(SendMessageA(h, TVM_DELETEITEM, 0, LPARAM(stale)), 0);
    EXPECT_EQ(SendMessageA(h, TVM_EXPAND, TVE_EXPAND, LPARAM(stale)), 0);
    EXPECT_EQ(SendMessageA(h, TVM_SELECTITEM, TVGN_CARET, LPARAM(stale)), 0);
    EXPECT_EQ(SendMessageA(h, TVM_ENSUREVISIBLE, 0, LPARAM(stale)), 0);
    EXPECT_EQ(SendMessageA(h, TVM_EDITLABELA, 0, LPARAM(stale)), 0);
    RECT r{};
    std::memcpy(static_cast<void*>(&r), &stale, sizeof stale); // the item goes in where the rectangle comes out
    EXPECT_EQ(SendMessageA(h, TVM_GETITEMRECT, 0, LPARAM(&r)), 0);
    EXPECT_EQ(SendMessageA(h, TVM_GETNEXTITEM, TVGN_CHILD, LPARAM(stale)), 0);
    EXPECT_EQ(Items()->GetNode(stale), nullptr);
    EXPECT_EQ(Items()->Count(), 0);
    // A message to a window that is gone fails too.
    HWND window = tree->Handle();
    form.reset();
    EXPECT_EQ(SendMessageA(window, TVM_GETCOUNT, 0, 0), 0);
}

TEST_F(TreeFixture, HitTestInfoOnLabelAndRightOfIt)
{
    TlxTreeViewNode* node = Items()->Add(nullptr, "Label");
    RECT label = node->DisplayRect(true);
    int y = (label.top + label.bottom) / 2;
    THitTests onLabel = tree->GetHitTestInfoAt((label.left + label.right) / 2, y);
    EXPECT_TRUE(onLabel.Contains(htOnItem));
    EXPECT_TRUE(onLabel.Contains(htOnLabel));
    THitTests right = tree->GetHitTestInfoAt(label.right + 20, y);
    EXPECT_EQ(right, THitTests{htOnRight});
    EXPECT_EQ(tree->GetNodeAt(label.right + 20, y), node);
    THitTests below = tree->GetHitTestInfoAt(5, label.bottom + 100);
    EXPECT_TRUE(below.Contains(htNowhere));
}

TEST_F(TreeFixture, SelectedRowIsPaintedInTheHighlightColour)
{
    TlxTreeViewNode* a = Items()->Add(nullptr, "Alpha");
    Items()->Add(nullptr, "Beta");
    tree->SetSelection(a);
    tree->SetFocus();
    QApplication::processEvents();
    EXPECT_EQ(tree->Selection(), a);
    QImage image = View()->grab().toImage();
    RECT label = a->DisplayRect(true);
    const QColor highlight = ColorRefToQColor(GetSysColor(COLOR_HIGHLIGHT));
    int matches = 0;
    for (int x = label.left + 1; x < label.right - 1; ++x) {
        QPoint p = ToWidget(QPoint(x, (label.top + label.bottom) / 2));
        QColor c = image.pixelColor(p);
        if (c == highlight)
            ++matches;
    }
    EXPECT_GT(matches, 0) << "no highlight pixels on the selected label";
}

TEST_F(TreeFixture, ANewApplicationPaletteRecoloursTheCheckGlyphs)
{
    HIMAGELIST glyphs = SharedCheckImages()->Handle();
    const QPalette original = QApplication::palette();
    QPalette changed = original;
    changed.setColor(QPalette::Button, QColor(0, 200, 0));
    QApplication::setPalette(changed);
    QApplication::processEvents();
    // The disabled check box's interior is drawn in the button face colour.
    EXPECT_EQ(ImageList_GetImage(glyphs, 3).pixelColor(7, 7), QColor(0, 200, 0));
    QApplication::setPalette(original);
    QApplication::processEvents();
    EXPECT_EQ(ImageList_GetImage(glyphs, 3).pixelColor(7, 7), ColorRefToQColor(GetSysColor(COLOR_BTNFACE)));
}
