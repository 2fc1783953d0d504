// The caret and expansion: notifications, refusals, throwing handlers, user input
// against program requests, single-expand and the caret of a deleted item.
#include <stdexcept>

#include "TreeEngineFixture.h"

class TreeEngineSelection : public TreeEngineTest {
protected:
    void SetUp() override
    {
        TreeEngineTest::SetUp();
        CreateTree(TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT);
        A = Insert(TVI_ROOT, 1);
        A1 = Insert(A, 11);
        A2 = Insert(A, 12);
        B = Insert(TVI_ROOT, 2);
        B1 = Insert(B, 21);
        C = Insert(TVI_ROOT, 3);
    }
    HTREEITEM A, A1, A2, B, B1, C;
};

TEST_F(TreeEngineSelection, SelectingNotifiesAndCanBeRefused)
{
    ASSERT_TRUE(SendMessageA(Tree, TVM_SELECTITEM, TVGN_CARET, LPARAM(B)));
    ASSERT_EQ(CountOf(TVN_SELCHANGINGA), 1);
    ASSERT_EQ(CountOf(TVN_SELCHANGEDA), 1);
    const TTreeNote changed = NotesOf(TVN_SELCHANGEDA)[0];
    EXPECT_EQ(changed.action, TVC_UNKNOWN);
    EXPECT_EQ(changed.itemOld, nullptr);
    EXPECT_EQ(changed.itemNew, B);
    EXPECT_EQ(changed.paramNew, 2);
    EXPECT_EQ(Caret(), B);
    EXPECT_TRUE(StateOf(B) & TVIS_SELECTED);

    Notes.clear();
    Answer = [](NMHDR* hdr) -> LRESULT { return hdr->code == TVN_SELCHANGINGA ? 1 : 0; };
    EXPECT_FALSE(SendMessageA(Tree, TVM_SELECTITEM, TVGN_CARET, LPARAM(C)));
    EXPECT_EQ(Caret(), B);
    EXPECT_EQ(CountOf(TVN_SELCHANGEDA), 0);

    Answer = [](NMHDR* hdr) -> LRESULT {
        if (hdr->code == TVN_SELCHANGINGA)
            throw std::runtime_error("changing");
        return 0;
    };
    EXPECT_THROW(SendMessageA(Tree, TVM_SELECTITEM, TVGN_CARET, LPARAM(C)), std::runtime_error);
    EXPECT_EQ(Caret(), B);
    EXPECT_TRUE(StateOf(B) & TVIS_SELECTED);
    EXPECT_FALSE(StateOf(C) & TVIS_SELECTED);

    // Selecting a hidden item opens its ancestors; null removes the selection.
    Answer = nullptr;
    ASSERT_TRUE(SendMessageA(Tree, TVM_SELECTITEM, TVGN_CARET, LPARAM(A2)));
    EXPECT_TRUE(Expanded(A));
    ASSERT_TRUE(SendMessageA(Tree, TVM_SELECTITEM, TVGN_CARET, 0));
    EXPECT_EQ(Caret(), nullptr);
    EXPECT_FALSE(StateOf(A2) & TVIS_SELECTED);
}

TEST_F(TreeEngineSelection, ProgramExpansionIsSilentUserExpansionIsNot)
{
    ASSERT_TRUE(SendMessageA(Tree, TVM_EXPAND, TVE_EXPAND, LPARAM(A)));
    EXPECT_TRUE(Expanded(A));
    ASSERT_TRUE(SendMessageA(Tree, TVM_EXPAND, TVE_TOGGLE, LPARAM(A)));
    EXPECT_FALSE(Expanded(A));
    EXPECT_EQ(CountOf(TVN_ITEMEXPANDINGA) + CountOf(TVN_ITEMEXPANDEDA), 0);
    EXPECT_FALSE(SendMessageA(Tree, TVM_EXPAND, 0, LPARAM(A))); // no action: nothing happens

    // A click on the button toggles with notifications.
    const RECT row = ItemRect(B, false);
    const RECT label = ItemRect(B, true);
    const int indent = int(SendMessageA(Tree, TVM_GETINDENT, 0, 0));
    const POINT button{label.left - indent / 2 - 1, (row.top + row.bottom) / 2};
    TVHITTESTINFO hit;
    hit.pt = button;
    ASSERT_EQ(reinterpret_cast<HTREEITEM>(SendMessageA(Tree, TVM_HITTEST, 0, LPARAM(&hit))), B);
    ASSERT_EQ(hit.flags, TVHT_ONITEMBUTTON);
    Click(button);
    EXPECT_TRUE(Expanded(B));
    ASSERT_EQ(CountOf(TVN_ITEMEXPANDINGA), 1);
    ASSERT_EQ(CountOf(TVN_ITEMEXPANDEDA), 1);
    EXPECT_EQ(NotesOf(TVN_ITEMEXPANDEDA)[0].action, TVE_EXPAND);
    EXPECT_EQ(NotesOf(TVN_ITEMEXPANDEDA)[0].itemNew, B);
    EXPECT_EQ(CountOf(NM_CLICK), 1);

    // A refusal keeps the item as it was; double-clicking the label toggles too.
    Notes.clear();
    Answer = [](NMHDR* hdr) -> LRESULT { return hdr->code == TVN_ITEMEXPANDINGA ? 1 : 0; };
    DoubleClick(LabelPoint(B));
    EXPECT_TRUE(Expanded(B));
    EXPECT_EQ(CountOf(TVN_ITEMEXPANDEDA), 0);
    Answer = nullptr;
    DoubleClick(LabelPoint(B));
    EXPECT_FALSE(Expanded(B));
    EXPECT_EQ(NotesOf(TVN_ITEMEXPANDEDA).back().action, TVE_COLLAPSE);

    // Keys: right opens, left closes, with notifications.
    Notes.clear();
    SendMessageA(Tree, TVM_SELECTITEM, TVGN_CARET, LPARAM(A));
    Key(Qt::Key_Right);
    EXPECT_TRUE(Expanded(A));
    Key(Qt::Key_Right);
    EXPECT_EQ(Caret(), A1);
    Key(Qt::Key_Left);
    EXPECT_EQ(Caret(), A);
    Key(Qt::Key_Left);
    EXPECT_FALSE(Expanded(A));
    EXPECT_EQ(CountOf(TVN_ITEMEXPANDEDA), 2);
}

TEST_F(TreeEngineSelection, ItemsWithoutChildrenDontOpenForTheUser)
{
    HTREEITEM none = Insert(TVI_ROOT, 5, TVI_LAST, LPSTR_TEXTCALLBACKA, 0);
    Insert(none, 51);
    HTREEITEM asks = Insert(TVI_ROOT, 6, TVI_LAST, LPSTR_TEXTCALLBACKA, I_CHILDRENCALLBACK); // even: has some
    HTREEITEM promised = Insert(TVI_ROOT, 7, TVI_LAST, LPSTR_TEXTCALLBACKA, 1);
    SendMessageA(Tree, TVM_SELECTITEM, TVGN_CARET, LPARAM(none));
    Key(Qt::Key_Right);
    EXPECT_FALSE(Expanded(none));
    SendMessageA(Tree, TVM_SELECTITEM, TVGN_CARET, LPARAM(asks));
    Key(Qt::Key_Right);
    EXPECT_TRUE(Expanded(asks));
    SendMessageA(Tree, TVM_SELECTITEM, TVGN_CARET, LPARAM(promised));
    Key(Qt::Key_Right);
    EXPECT_TRUE(Expanded(promised));

    TVHITTESTINFO hit;
    const RECT label = ItemRect(none, true);
    hit.pt = POINT{label.left - 8, label.top + 2};
    SendMessageA(Tree, TVM_HITTEST, 0, LPARAM(&hit));
    EXPECT_EQ(hit.flags, TVHT_ONITEMINDENT); // no button
}

TEST_F(TreeEngineSelection, DeletingTheCaretMovesIt)
{
    SendMessageA(Tree, TVM_SELECTITEM, TVGN_CARET, LPARAM(A1));
    Notes.clear();
    SendMessageA(Tree, TVM_DELETEITEM, 0, LPARAM(A1));
    EXPECT_EQ(Caret(), A2); // the next sibling
    EXPECT_EQ(CountOf(TVN_SELCHANGEDA), 1);
    SendMessageA(Tree, TVM_DELETEITEM, 0, LPARAM(A2));
    EXPECT_EQ(Caret(), A); // then the parent
    SendMessageA(Tree, TVM_SELECTITEM, TVGN_CARET, LPARAM(C));
    SendMessageA(Tree, TVM_DELETEITEM, 0, LPARAM(C));
    EXPECT_EQ(Caret(), B); // the previous sibling

    // A refusing handler can't keep a deleted item selected.
    Answer = [](NMHDR* hdr) -> LRESULT { return hdr->code == TVN_SELCHANGINGA ? 1 : 0; };
    SendMessageA(Tree, TVM_DELETEITEM, 0, LPARAM(B));
    EXPECT_EQ(Caret(), nullptr);

    // Collapsing over the caret moves it to the collapsed item.
    Answer = nullptr;
    HTREEITEM d = Insert(TVI_ROOT, 4);
    HTREEITEM d1 = Insert(d, 41);
    SendMessageA(Tree, TVM_SELECTITEM, TVGN_CARET, LPARAM(d1));
    SendMessageA(Tree, TVM_EXPAND, TVE_COLLAPSE, LPARAM(d));
    EXPECT_EQ(Caret(), d);
}

TEST_F(TreeEngineSelection, SingleExpandClosesTheOldBranch)
{
    SetWindowLongA(Tree, GWL_STYLE, GetWindowLongA(Tree, GWL_STYLE) | TVS_SINGLEEXPAND);
    Click(LabelPoint(A));
    EXPECT_TRUE(Expanded(A));
    ASSERT_EQ(CountOf(TVN_SINGLEEXPAND), 1);
    Click(LabelPoint(B));
    EXPECT_TRUE(Expanded(B));
    EXPECT_FALSE(Expanded(A));

    // The parent may keep the old branch open or the new one closed.
    Answer = [](NMHDR* hdr) -> LRESULT { return hdr->code == TVN_SINGLEEXPAND ? TVNRET_SKIPOLD : 0; };
    Click(LabelPoint(A));
    EXPECT_TRUE(Expanded(A));
    EXPECT_TRUE(Expanded(B));
    Answer = [](NMHDR* hdr) -> LRESULT { return hdr->code == TVN_SINGLEEXPAND ? TVNRET_SKIPNEW : 0; };
    SendMessageA(Tree, TVM_EXPAND, TVE_COLLAPSE, LPARAM(B));
    Click(LabelPoint(B));
    EXPECT_EQ(Caret(), B);
    EXPECT_FALSE(Expanded(B));
    EXPECT_FALSE(Expanded(A));
}

TEST_F(TreeEngineSelection, DropHighlightAndInsertMark)
{
    ASSERT_TRUE(SendMessageA(Tree, TVM_SELECTITEM, TVGN_DROPHILITE, LPARAM(B)));
    EXPECT_EQ(Next(TVGN_DROPHILITE), B);
    EXPECT_TRUE(StateOf(B) & TVIS_DROPHILITED);
    SendMessageA(Tree, TVM_SELECTITEM, TVGN_DROPHILITE, LPARAM(C));
    EXPECT_FALSE(StateOf(B) & TVIS_DROPHILITED);
    SendMessageA(Tree, TVM_SELECTITEM, TVGN_DROPHILITE, 0);
    EXPECT_EQ(Next(TVGN_DROPHILITE), nullptr);
    EXPECT_FALSE(StateOf(C) & TVIS_DROPHILITED);
    EXPECT_EQ(CountOf(TVN_SELCHANGINGA), 0);

    EXPECT_TRUE(SendMessageA(Tree, TVM_SETINSERTMARK, TRUE, LPARAM(B)));
    EXPECT_TRUE(SendMessageA(Tree, TVM_SETINSERTMARK, 0, 0));
    EXPECT_EQ(SendMessageA(Tree, TVM_SETINSERTMARKCOLOR, 0, RGB(1, 2, 3)), LRESULT(LONG(CLR_DEFAULT)));
    EXPECT_EQ(SendMessageA(Tree, TVM_GETINSERTMARKCOLOR, 0, 0), LRESULT(RGB(1, 2, 3)));
}
