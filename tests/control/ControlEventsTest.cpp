#include <QTest>
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/control/TreeFixture.h"

namespace {

// Sends the tooltip's text request for whatever node is under the given client point.
LRESULT RequestToolTip(TCustomlxTreeView* tree, POINT client, NMTTDISPINFOW& request)
{
    POINT screen = client;
    ClientToScreen(tree->Handle(), &screen);
    NoteCursorPos(screen.x, screen.y);
    request.hdr.hwndFrom = tree->ToolTips();
    request.hdr.code = TTN_NEEDTEXTW;
    request.uFlags = TTF_IDISHWND;
    return SendMessageA(tree->Handle(), WM_NOTIFY, 0, LPARAM(&request));
}

POINT LabelPoint(TlxTreeViewNode* node)
{
    RECT r = node->DisplayRect(true);
    return POINT{r.left + 3, (r.top + r.bottom) / 2};
}

HWND EditBox(TCustomlxTreeView* tree)
{
    return reinterpret_cast<HWND>(SendMessageA(tree->Handle(), TVM_GETEDITCONTROL, 0, 0));
}

} // namespace

TEST_F(TreeFixture, CustomDrawTakeoverSkipsTheItemAndItsPostPaint)
{
    TlxTreeViewNode* a = Items()->Add(nullptr, "Alpha");
    TlxTreeViewNode* b = Items()->Add(nullptr, "Beta");
    std::vector<std::string> before, after;
    int wholeTree = 0;
    tree->OnBeforeCustomDraw = [&](TObject*) { ++wholeTree; };
    tree->OnBeforeCustomDrawItem = [&](TObject*, TlxTreeViewNode* n, const RECT&, TNodeStates, bool& defaultDraw) {
        EXPECT_FALSE(defaultDraw);
        before.push_back(n->Text());
        if (n == b)
            defaultDraw = true;
    };
    tree->OnCustomDrawItem = [&](TObject*, TlxTreeViewNode* n, const RECT&, TNodeStates) { after.push_back(n->Text()); };
    View()->grab();
    EXPECT_GT(wholeTree, 0);
    EXPECT_EQ(before, (std::vector<std::string>{"Alpha", "Beta"}));
    EXPECT_EQ(after, (std::vector<std::string>{"Alpha"}));

    // The label of the taken-over item is not painted by the control.
    QImage image = View()->grab().toImage();
    auto inkIn = [&](TlxTreeViewNode* n) {
        RECT r = n->DisplayRect(true);
        const QColor background = image.pixelColor(ToWidget(QPoint(r.right + 5, (r.top + r.bottom) / 2)));
        int ink = 0;
        for (int y = r.top + 1; y < r.bottom - 1; ++y)
            for (int x = r.left + 1; x < r.right - 1; ++x)
                if (image.pixelColor(ToWidget(QPoint(x, y))) != background)
                    ++ink;
        return ink;
    };
    EXPECT_GT(inkIn(a), 0);
    EXPECT_EQ(inkIn(b), 0);
}

TEST_F(TreeFixture, BulkSelectionChangesPaintNothingUntilTheyEnd)
{
    TTreeOptions options = tree->Options();
    options.Include(roMultiSelect);
    tree->SetOptions(options);
    TlxTreeViewNode* a = Items()->Add(nullptr, "Alpha");
    TlxTreeViewNode* b = Items()->Add(nullptr, "Beta");
    tree->SetSelection(a);
    Items()->SelectNode(b, stSet);
    ASSERT_EQ(Items()->GetSelectedCount(), 2);

    int paintsDuringClear = 0, itemPaintsDuringClear = 0;
    bool clearing = false;
    std::vector<TlxTreeViewNode*> changes;
    tree->OnBeforeCustomDraw = [&](TObject*) { paintsDuringClear += clearing; };
    tree->OnBeforeCustomDrawItem = [&](TObject*, TlxTreeViewNode*, const RECT&, TNodeStates, bool&) {
        itemPaintsDuringClear += clearing;
    };
    tree->OnChanging = [&](TObject*, TlxTreeViewNode*, bool&) {
        if (clearing)
            View()->grab(); // a paint in the middle of the bulk change
    };
    tree->OnChange = [&](TObject*, TlxTreeViewNode* n) { changes.push_back(n); };
    clearing = true;
    tree->ClearSelection();
    clearing = false;
    EXPECT_EQ(paintsDuringClear, 0);
    EXPECT_EQ(itemPaintsDuringClear, 0);
    EXPECT_EQ(changes, std::vector<TlxTreeViewNode*>{nullptr}); // one change, for no node
    EXPECT_EQ(Items()->GetSelectedCount(), 0);
}

TEST_F(TreeFixture, LongToolTipTextsAreCutAndShortOnesLeftToTheWindow)
{
    TTreeOptions options = tree->Options();
    options.Include(roToolTips);
    tree->SetOptions(options);
    ASSERT_NE(tree->ToolTips(), nullptr);
    TlxTreeViewNode* hundred = Items()->Add(nullptr, std::string(100, 'h'));
    TlxTreeViewNode* seventyNine = Items()->Add(nullptr, std::string(79, 's'));

    NMTTDISPINFOW request;
    EXPECT_EQ(RequestToolTip(tree, LabelPoint(hundred), request), 1);
    EXPECT_EQ(QString::fromUtf16(request.szText), QString(76, 'h') + "...");

    NMTTDISPINFOW shortRequest;
    EXPECT_EQ(RequestToolTip(tree, LabelPoint(seventyNine), shortRequest), 0);
    EXPECT_EQ(shortRequest.szText[0], 0);

    // Without the window's identity flag nothing answers.
    NMTTDISPINFOW foreign;
    POINT pt = LabelPoint(hundred);
    ClientToScreen(tree->Handle(), &pt);
    NoteCursorPos(pt.x, pt.y);
    foreign.hdr.code = TTN_NEEDTEXTW;
    EXPECT_EQ(SendMessageA(tree->Handle(), WM_NOTIFY, 0, LPARAM(&foreign)), 0);
    EXPECT_EQ(foreign.szText[0], 0);
}

TEST_F(TreeFixture, InfoTipTextComesFromOnHint)
{
    TlxTreeViewNode* node = Items()->Add(nullptr, "node");
    tree->OnHint = [&](TObject*, TlxTreeViewNode* n, std::string& text) { text = "hint for " + n->Text(); };
    char buffer[8] = {};
    NMTVGETINFOTIPA tip;
    tip.hdr.hwndFrom = tree->Handle();
    tip.hdr.code = TVN_GETINFOTIPA;
    tip.pszText = buffer;
    tip.cchTextMax = sizeof buffer;
    tip.hItem = node->ItemId();
    tip.lParam = LPARAM(node);
    tree->Perform(CN_NOTIFY, 0, LPARAM(&tip));
    EXPECT_STREQ(buffer, "hint fo"); // cut to the buffer
}

TEST_F(TreeFixture, EditBoxKeysPassThroughTheControlsKeyEvents)
{
    TlxTreeViewNode* node = Items()->Add(nullptr, "Old");
    std::vector<WORD> keys;
    tree->OnKeyDown = [&](TObject*, WORD& key, TShiftState) {
        keys.push_back(key);
        if (key == VK_RETURN)
            key = 0; // swallowed: the edit goes on
    };
    ASSERT_TRUE(node->EditText());
    HWND edit = EditBox(tree);
    SetWindowTextA(edit, "New");
    SendMessageA(edit, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_TRUE(tree->IsEditing());
    EXPECT_EQ(node->Text(), "Old");

    // A handler that raises: the application hears of it, the edit box stays usable.
    std::vector<std::string> reported;
    SetApplicationExceptionHandler([&](std::exception_ptr e) {
        try {
            std::rethrow_exception(e);
        } catch (const std::exception& x) {
            reported.push_back(x.what());
        }
    });
    tree->OnKeyDown = [](TObject*, WORD&, TShiftState) { throw std::runtime_error("key refused"); };
    SendMessageA(edit, WM_KEYDOWN, VK_RETURN, 0);
    SetApplicationExceptionHandler(nullptr);
    EXPECT_EQ(reported, std::vector<std::string>{"key refused"});
    EXPECT_TRUE(tree->IsEditing());

    // A key the control lets through ends the edit as usual.
    tree->OnKeyDown = [&](TObject*, WORD& key, TShiftState) { keys.push_back(key); };
    SendMessageA(edit, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_FALSE(tree->IsEditing());
    EXPECT_EQ(node->Text(), "New");
    EXPECT_EQ(keys, (std::vector<WORD>{VK_RETURN, VK_RETURN}));
}

TEST_F(TreeFixture, ReadOnlyEditingIsOfferedOnlyToValueButtons)
{
    TTreeOptions options = tree->Options();
    options.Include(roReadOnly);
    tree->SetOptions(options);
    TlxTreeViewNode* node = Items()->Add(nullptr, "text");
    std::vector<bool> offered;
    tree->OnEditing = [&](TObject*, TlxTreeViewNode*, bool& allow) { offered.push_back(allow); };
    EXPECT_FALSE(node->EditText());
    ButtonEditing = true;
    EXPECT_TRUE(node->EditText());
    EXPECT_FALSE(ButtonEditing); // consumed by the edit it allowed
    node->EndEdit(true);
    EXPECT_EQ(offered, (std::vector<bool>{false, true}));
}

TEST_F(TreeFixture, RightClickSelectShowsTheClickedNodeOnlyDuringTheClick)
{
    TlxTreeViewNode* a = Items()->Add(nullptr, "Alpha");
    TlxTreeViewNode* b = Items()->Add(nullptr, "Beta");
    tree->SetSelection(a);
    TTreeOptions options = tree->Options();
    options.Include(roRightClickSelect);
    tree->SetOptions(options);
    std::vector<TlxTreeViewNode*> seen;
    tree->OnMouseUp = [&](TObject*, TMouseButton button, TShiftState, int, int) {
        if (button == mbRight)
            seen.push_back(tree->Selection());
    };
    QTest::mousePress(View(), Qt::RightButton, Qt::NoModifier, LabelCentre(b));
    QTest::mouseRelease(View(), Qt::RightButton, Qt::NoModifier, LabelCentre(b));
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.front(), b);
    EXPECT_EQ(tree->Selection(), a);
}

TEST_F(TreeFixture, DelayedChangeAfterABurstOfInsertionsNamesTheLastNode)
{
    tree->SetChangeDelay(100);
    std::vector<TlxTreeViewNode*> changes;
    tree->OnChange = [&](TObject*, TlxTreeViewNode* n) { changes.push_back(n); };
    TlxTreeViewNode* last = nullptr;
    for (int i = 0; i < 10; ++i)
        last = Items()->Add(nullptr, "n" + std::to_string(i));
    EXPECT_TRUE(changes.empty());
    QTRY_COMPARE_WITH_TIMEOUT(int(changes.size()), 1, 3000);
    EXPECT_EQ(changes[0], last);
}
