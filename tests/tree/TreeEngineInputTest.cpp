// Keyboard and mouse on the tree window, incremental search, label editing, drag
// reports, right clicks and tooltips.
#include <QFocusEvent>
#include <QLineEdit>
#include <cstdio>

#include "platform/win/ImageList.h"

#include "TreeEngineFixture.h"

class TreeEngineInput : public TreeEngineTest {
protected:
    void SetUp() override
    {
        TreeEngineTest::SetUp();
        CreateTree(TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_EDITLABELS, 220, 160);
        Texts = {{1, "alpha"}, {2, "beta"}, {3, "bravo"}, {4, "charlie"}, {21, "beta one"}};
        for (LPARAM p : {1, 2, 3, 4})
            Items.push_back(Insert(TVI_ROOT, p));
        Child = Insert(Items[1], 21);
    }
    std::vector<HTREEITEM> Items;
    HTREEITEM Child = nullptr;
};

TEST_F(TreeEngineInput, KeysMoveTheCaretByKeyboard)
{
    Key(Qt::Key_Down); // no caret yet: the top item
    EXPECT_EQ(Caret(), Items[0]);
    Key(Qt::Key_Down);
    EXPECT_EQ(Caret(), Items[1]);
    EXPECT_EQ(NotesOf(TVN_SELCHANGEDA).back().action, TVC_BYKEYBOARD);
    Key(Qt::Key_End);
    EXPECT_EQ(Caret(), Items[3]);
    Key(Qt::Key_Home);
    EXPECT_EQ(Caret(), Items[0]);
    Key(Qt::Key_PageDown);
    EXPECT_EQ(Caret(), Items[3]);
    Key(Qt::Key_Up);
    EXPECT_EQ(Caret(), Items[2]);

    SendMessageA(Tree, TVM_SELECTITEM, TVGN_CARET, LPARAM(Items[1]));
    Key(Qt::Key_Asterisk, "*");
    EXPECT_TRUE(Expanded(Items[1]));
    EXPECT_EQ(Caret(), Items[1]); // '*' isn't searched for
    Key(Qt::Key_Minus, "-");
    EXPECT_FALSE(Expanded(Items[1]));
    Key(Qt::Key_Plus, "+");
    EXPECT_TRUE(Expanded(Items[1]));
    Key(Qt::Key_Return, "\r");
    EXPECT_EQ(CountOf(NM_RETURN), 1);
    EXPECT_GT(CountOf(TVN_KEYDOWN), 0);
}

TEST_F(TreeEngineInput, TypingSearchesIncrementally)
{
    Key(Qt::Key_B, "b");
    EXPECT_EQ(Caret(), Items[1]);
    Key(Qt::Key_R, "r");
    EXPECT_EQ(Caret(), Items[2]);
    char buffer[16] = {};
    EXPECT_EQ(SendMessageA(Tree, TVM_GETISEARCHSTRINGA, 0, 0), 2);
    EXPECT_EQ(SendMessageA(Tree, TVM_GETISEARCHSTRINGA, 0, LPARAM(buffer)), 2);
    EXPECT_STREQ(buffer, "br");
    Key(Qt::Key_X, "x"); // no match: the caret stays
    EXPECT_EQ(Caret(), Items[2]);

    // The same letter again cycles through the items that start with it (a fresh
    // window, so that the search above doesn't carry over).
    DestroyWindow(Tree);
    CreateTree(0);
    for (LPARAM p : {1, 2, 3, 4})
        Insert(TVI_ROOT, p);
    Key(Qt::Key_B, "b");
    EXPECT_EQ(ParamOf(Caret()), 2);
    Key(Qt::Key_B, "b");
    EXPECT_EQ(ParamOf(Caret()), 3);
    Key(Qt::Key_B, "b");
    EXPECT_EQ(ParamOf(Caret()), 2);
}

TEST_F(TreeEngineInput, ClicksSelectByMouseAndReportRightClicks)
{
    Click(LabelPoint(Items[2]));
    EXPECT_EQ(Caret(), Items[2]);
    EXPECT_EQ(NotesOf(TVN_SELCHANGEDA).back().action, TVC_BYMOUSE);
    EXPECT_EQ(CountOf(NM_CLICK), 1);

    Notes.clear();
    Click(LabelPoint(Items[0]), Qt::RightButton);
    EXPECT_EQ(CountOf(NM_RCLICK), 1);
    EXPECT_EQ(CountOf(int(WM_CONTEXTMENU)), 1);
    EXPECT_EQ(Caret(), Items[2]); // a right click doesn't move the caret
    Answer = [](NMHDR* hdr) -> LRESULT { return hdr->code == NM_RCLICK ? 1 : 0; };
    Click(LabelPoint(Items[0]), Qt::RightButton);
    EXPECT_EQ(CountOf(int(WM_CONTEXTMENU)), 1); // handled by the parent
}

TEST_F(TreeEngineInput, DraggingAnItemReportsBeginDrag)
{
    const POINT start = LabelPoint(Items[1]);
    const POINT far{start.x + 30, start.y + 30};
    Mouse(QEvent::MouseButtonPress, start, Qt::LeftButton, Qt::LeftButton);
    Mouse(QEvent::MouseMove, far, Qt::NoButton, Qt::LeftButton);
    Mouse(QEvent::MouseMove, POINT{far.x + 5, far.y}, Qt::NoButton, Qt::LeftButton);
    Mouse(QEvent::MouseButtonRelease, far, Qt::LeftButton, Qt::NoButton);
    ASSERT_EQ(CountOf(TVN_BEGINDRAGA), 1);
    const TTreeNote drag = NotesOf(TVN_BEGINDRAGA)[0];
    EXPECT_EQ(drag.itemNew, Items[1]);
    EXPECT_EQ(drag.paramNew, 2);
    EXPECT_EQ(drag.pt.x, start.x);
    EXPECT_EQ(CountOf(NM_CLICK), 0);

    HIMAGELIST image = reinterpret_cast<HIMAGELIST>(SendMessageA(Tree, TVM_CREATEDRAGIMAGE, 0, LPARAM(Items[1])));
    ASSERT_TRUE(image);
    int cx = 0, cy = 0;
    EXPECT_TRUE(ImageList_GetIconSize(image, &cx, &cy));
    EXPECT_GT(cx, 10);
    ImageList_Destroy(image);

    Notes.clear();
    SetWindowLongA(Tree, GWL_STYLE, GetWindowLongA(Tree, GWL_STYLE) | TVS_DISABLEDRAGDROP);
    Mouse(QEvent::MouseButtonPress, start, Qt::LeftButton, Qt::LeftButton);
    Mouse(QEvent::MouseMove, far, Qt::NoButton, Qt::LeftButton);
    Mouse(QEvent::MouseButtonRelease, far, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(CountOf(TVN_BEGINDRAGA), 0);
}

class TreeEngineLabelEdit : public TreeEngineInput {
protected:
    void SetUp() override
    {
        TreeEngineInput::SetUp();
        char text[] = "own text";
        Own = Insert(TVI_ROOT, 9, TVI_LAST, text);
        Answer = [this](NMHDR* hdr) -> LRESULT {
            if (hdr->code == TVN_BEGINLABELEDITA) {
                EditDuringBegin = reinterpret_cast<HWND>(SendMessageA(Tree, TVM_GETEDITCONTROL, 0, 0));
                return RefuseEdit ? 1 : 0;
            }
            if (hdr->code == TVN_ENDLABELEDITA) {
                auto* info = reinterpret_cast<NMTVDISPINFOA*>(hdr);
                Ended.push_back(info->item.pszText ? info->item.pszText : "<cancel>");
                return 1;
            }
            return 0;
        };
    }
    QLineEdit* Box(HWND edit) { return qobject_cast<QLineEdit*>(WindowWidget(edit)); }
    std::string TextOf(HTREEITEM item)
    {
        char buffer[64] = {};
        TVITEMEXA it;
        it.mask = TVIF_TEXT;
        it.hItem = item;
        it.pszText = buffer;
        it.cchTextMax = sizeof buffer;
        SendMessageA(Tree, TVM_GETITEMA, 0, LPARAM(&it));
        return buffer;
    }
    HWND Edit(HTREEITEM item) { return reinterpret_cast<HWND>(SendMessageA(Tree, TVM_EDITLABELA, 0, LPARAM(item))); }

    HTREEITEM Own = nullptr;
    HWND EditDuringBegin = nullptr;
    bool RefuseEdit = false;
    std::vector<std::string> Ended;
};

TEST_F(TreeEngineLabelEdit, EnterCommitsEscapeCancels)
{
    HWND edit = Edit(Own);
    ASSERT_TRUE(edit);
    EXPECT_EQ(EditDuringBegin, edit); // the parent could subclass it while deciding
    EXPECT_EQ(SendMessageA(Tree, TVM_GETEDITCONTROL, 0, 0), LPARAM(edit));
    ASSERT_TRUE(Box(edit));
    EXPECT_EQ(Box(edit)->selectedText(), "own text");
    Key(Box(edit), Qt::Key_N, "n");
    Key(Box(edit), Qt::Key_E, "e");
    Key(Box(edit), Qt::Key_W, "w");
    Key(Box(edit), Qt::Key_Return, "\r");
    EXPECT_FALSE(IsWindow(edit));
    EXPECT_EQ(SendMessageA(Tree, TVM_GETEDITCONTROL, 0, 0), 0);
    EXPECT_EQ(Ended, std::vector<std::string>{"new"});
    EXPECT_EQ(TextOf(Own), "new");

    edit = Edit(Own);
    Key(Box(edit), Qt::Key_X, "x");
    Key(Box(edit), Qt::Key_Escape, "\x1b");
    EXPECT_FALSE(IsWindow(edit));
    EXPECT_EQ(Ended.back(), "<cancel>");
    EXPECT_EQ(TextOf(Own), "new");

    // Callback items keep their text: it belongs to the parent.
    edit = Edit(Items[0]);
    Key(Box(edit), Qt::Key_Z, "z");
    EXPECT_TRUE(SendMessageA(Tree, TVM_ENDEDITLABELNOW, FALSE, 0));
    EXPECT_EQ(Ended.back(), "z");
    EXPECT_EQ(TextOf(Items[0]), "alpha");
}

TEST_F(TreeEngineLabelEdit, FocusLossCommitsAndRefusalCreatesNothing)
{
    HWND edit = Edit(Own);
    SendMessageA(edit, WM_SETTEXT, 0, LPARAM("from focus"));
    QFocusEvent out(QEvent::FocusOut, Qt::MouseFocusReason);
    QApplication::sendEvent(Box(edit), &out);
    EXPECT_EQ(Ended.back(), "from focus");
    EXPECT_EQ(TextOf(Own), "from focus");
    QApplication::processEvents();
    EXPECT_FALSE(IsWindow(edit));

    RefuseEdit = true;
    EXPECT_EQ(Edit(Own), nullptr);
    EXPECT_EQ(SendMessageA(Tree, TVM_GETEDITCONTROL, 0, 0), 0);

    // Deleting the item under edit ends the edit.
    RefuseEdit = false;
    edit = Edit(Own);
    SendMessageA(Tree, TVM_DELETEITEM, 0, LPARAM(Own));
    EXPECT_FALSE(IsWindow(edit));
    EXPECT_EQ(Ended.back(), "<cancel>");
}

TEST_F(TreeEngineLabelEdit, SubclassedEditRoutineCanSwallowKeys)
{
    HWND edit = Edit(Own);
    SendMessageA(edit, WM_SETTEXT, 0, LPARAM(""));
    WNDPROC previous = GetWindowProc(edit);
    SetWindowProc(edit, [previous](HWND h, UINT msg, WPARAM w, LPARAM l) -> LRESULT {
        if (msg == WM_CHAR && w == 'x')
            return 0;
        if (msg == WM_KEYDOWN && w == VK_ESCAPE)
            return 0; // the subclass keeps the edit open
        return CallWindowProcA(previous, h, msg, w, l);
    });
    Key(Box(edit), Qt::Key_A, "a");
    Key(Box(edit), Qt::Key_X, "x");
    Key(Box(edit), Qt::Key_B, "b");
    Key(Box(edit), Qt::Key_Escape, "\x1b");
    ASSERT_TRUE(IsWindow(edit));
    EXPECT_EQ(Box(edit)->text(), "ab");
    EXPECT_EQ(GetWindowTextA(edit), "ab");
    Key(Box(edit), Qt::Key_Return, "\r");
    EXPECT_EQ(TextOf(Own), "ab");
}

TEST_F(TreeEngineInput, ToolTipAsksForItsText)
{
    const HWND tip = reinterpret_cast<HWND>(SendMessageA(Tree, TVM_GETTOOLTIPS, 0, 0));
    ASSERT_TRUE(tip);
    SetWindowLongA(Tree, GWL_STYLE, GetWindowLongA(Tree, GWL_STYLE) | TVS_INFOTIP);
    Answer = [](NMHDR* hdr) -> LRESULT {
        if (hdr->code == TVN_GETINFOTIPA) {
            auto* info = reinterpret_cast<NMTVGETINFOTIPA*>(hdr);
            std::snprintf(info->pszText, std::size_t(info->cchTextMax), "tip %d", int(info->lParam));
        }
        return 0;
    };
    Mouse(QEvent::MouseMove, LabelPoint(Items[2]), Qt::NoButton, Qt::NoButton);
    NMTTDISPINFOW request;
    request.hdr.hwndFrom = tip;
    request.hdr.idFrom = UINT_PTR(Tree);
    request.hdr.code = TTN_NEEDTEXTW;
    request.uFlags = TTF_IDISHWND;
    SendMessageA(Tree, WM_NOTIFY, request.hdr.idFrom, LPARAM(&request));
    ASSERT_TRUE(request.lpszText);
    EXPECT_EQ(QString::fromUtf16(request.lpszText), "tip 3");
    EXPECT_EQ(CountOf(TVN_GETINFOTIPA), 1);

    DestroyWindow(Tree);
    CreateTree(TVS_NOTOOLTIPS);
    EXPECT_EQ(SendMessageA(Tree, TVM_GETTOOLTIPS, 0, 0), 0);
}
