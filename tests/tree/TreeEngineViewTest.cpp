// What the tree window shows: hit testing, item rectangles, scrolling, painting
// with the custom-draw stages, and a large tree.
#include <QFont>
#include <QImage>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

#include "TreeEngineFixture.h"
#include "platform/win/Gdi.h"
#include "platform/win/ImageList.h"
#include "platform/win/WindowWidget.h"

namespace {

QImage Strip(int count, QColor color)
{
    QImage image(16 * count, 16, QImage::Format_ARGB32);
    image.fill(color);
    return image;
}

QColor PixelAt(const QImage& shot, QWidget* tree, HWND hwnd, int x, int y)
{
    POINT p{x, y};
    ClientToScreen(hwnd, &p);
    const QPoint local = tree->mapFromGlobal(QPoint(p.x, p.y)) * shot.devicePixelRatio();
    return shot.pixelColor(local);
}

} // namespace

class TreeEngineView : public TreeEngineTest {
protected:
    void Fill(int count)
    {
        for (int i = 0; i < count; ++i)
            Items.push_back(Insert(TVI_ROOT, i));
    }
    SCROLLINFO VScroll()
    {
        SCROLLINFO info;
        info.fMask = SIF_ALL;
        GetScrollInfo(Tree, SB_VERT, &info);
        return info;
    }
    int Top() { return int(ParamOf(Next(TVGN_FIRSTVISIBLE))); }
    QImage Shot() { return WindowWidget(Tree)->grab().toImage(); }
    QColor Pixel(const QImage& shot, int x, int y) { return PixelAt(shot, WindowWidget(Tree), Tree, x, y); }
    std::vector<HTREEITEM> Items;
};

TEST_F(TreeEngineView, HitTestNamesEveryPart)
{
    CreateTree(TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT, 200, 160);
    HIMAGELIST images = ImageList_Create(16, 16, ILC_COLOR32, 4, 4);
    HIMAGELIST states = ImageList_Create(16, 16, ILC_COLOR32, 4, 4);
    ImageList_Add(images, Strip(4, Qt::blue));
    ImageList_Add(states, Strip(4, Qt::green));
    SendMessageA(Tree, TVM_SETIMAGELIST, TVSIL_NORMAL, LPARAM(images));
    SendMessageA(Tree, TVM_SETIMAGELIST, TVSIL_STATE, LPARAM(states));
    EXPECT_EQ(SendMessageA(Tree, TVM_GETIMAGELIST, TVSIL_STATE, 0), LPARAM(states));
    HTREEITEM a = Insert(TVI_ROOT, 1);
    Insert(a, 11);
    TVITEMEXA state;
    state.mask = TVIF_STATE;
    state.hItem = a;
    state.state = INDEXTOSTATEIMAGEMASK(1);
    state.stateMask = TVIS_STATEIMAGEMASK;
    SendMessageA(Tree, TVM_SETITEMA, 0, LPARAM(&state));

    const int indent = int(SendMessageA(Tree, TVM_GETINDENT, 0, 0));
    const RECT label = ItemRect(a, true);
    const int y = (label.top + label.bottom) / 2;
    auto flagsAt = [&](int x, int yy, HTREEITEM* item = nullptr) {
        TVHITTESTINFO hit;
        hit.pt = POINT{x, yy};
        HTREEITEM h = reinterpret_cast<HTREEITEM>(SendMessageA(Tree, TVM_HITTEST, 0, LPARAM(&hit)));
        EXPECT_EQ(h, hit.hItem);
        if (item)
            *item = h;
        return hit.flags;
    };
    HTREEITEM onLabel = nullptr;
    EXPECT_EQ(flagsAt(label.left + 2, y, &onLabel), TVHT_ONITEMLABEL);
    EXPECT_EQ(onLabel, a);
    EXPECT_EQ(flagsAt(indent / 2, y), TVHT_ONITEMBUTTON);
    EXPECT_EQ(flagsAt(indent + 4, y), TVHT_ONITEMSTATEICON);
    EXPECT_EQ(flagsAt(indent + 16 + 4, y), TVHT_ONITEMICON);
    EXPECT_EQ(label.left, indent + 16 + 16 + 2);
    EXPECT_EQ(flagsAt(label.right + 5, y), TVHT_ONITEMRIGHT);
    EXPECT_EQ(flagsAt(10, 150), TVHT_NOWHERE);
    EXPECT_EQ(flagsAt(-1, y), TVHT_TOLEFT);
    EXPECT_EQ(flagsAt(500, y), TVHT_TORIGHT);
    EXPECT_EQ(flagsAt(10, -3), TVHT_ABOVE);
    EXPECT_EQ(flagsAt(-1, 1000), TVHT_TOLEFT | TVHT_BELOW);

    SendMessageA(Tree, TVM_EXPAND, TVE_EXPAND, LPARAM(a));
    HTREEITEM child = Next(TVGN_CHILD, a);
    const RECT childLabel = ItemRect(child, true);
    EXPECT_EQ(flagsAt(indent / 2, (childLabel.top + childLabel.bottom) / 2), TVHT_ONITEMINDENT);
    EXPECT_EQ(childLabel.left, 2 * indent + 16 + 2); // no state image of its own

    DestroyWindow(Tree);
    ImageList_Destroy(images);
    ImageList_Destroy(states);
}

TEST_F(TreeEngineView, ItemRectanglesFollowScrollingAndCollapse)
{
    CreateTree(TVS_HASBUTTONS | TVS_LINESATROOT, 200, 100);
    Fill(20);
    HTREEITEM child = Insert(Items[0], 100);
    const int height = int(SendMessageA(Tree, TVM_GETITEMHEIGHT, 0, 0));
    const RECT row = ItemRect(Items[1], false);
    EXPECT_EQ(row.top, height);
    EXPECT_EQ(row.left, 0);
    EXPECT_EQ(ItemRect(child, false).left, -1); // collapsed away
    EXPECT_EQ(ItemRect(child, true).left, -1);
    SendMessageA(Tree, WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(ItemRect(Items[1], false).top, 0);
    EXPECT_EQ(ItemRect(Items[0], false).top, -height); // scrolled out, still answered

    // An odd item height set by the program holds; -1 goes back to the default.
    const LRESULT previous = SendMessageA(Tree, TVM_SETITEMHEIGHT, 23, 0);
    EXPECT_EQ(previous, height);
    EXPECT_EQ(SendMessageA(Tree, TVM_GETITEMHEIGHT, 0, 0), 23);
    SendMessageA(Tree, TVM_SETITEMHEIGHT, WPARAM(-1), 0);
    EXPECT_EQ(SendMessageA(Tree, TVM_GETITEMHEIGHT, 0, 0), height);
}

TEST_F(TreeEngineView, ScrollsByLinesPagesThumbWheelAndEnsureVisible)
{
    CreateTree(0, 200, 160);
    Fill(100);
    const int height = int(SendMessageA(Tree, TVM_GETITEMHEIGHT, 0, 0));
    RECT client;
    GetClientRect(Tree, &client);
    const int page = client.bottom / height;
    EXPECT_EQ(SendMessageA(Tree, TVM_GETVISIBLECOUNT, 0, 0), page);
    SCROLLINFO info = VScroll();
    EXPECT_EQ(info.nMax, 99);
    EXPECT_EQ(int(info.nPage), page);

    SendMessageA(Tree, WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(Top(), 1);
    SendMessageA(Tree, WM_VSCROLL, SB_PAGEDOWN, 0);
    EXPECT_EQ(Top(), 1 + page);
    SendMessageA(Tree, WM_VSCROLL, SB_PAGEUP, 0);
    SendMessageA(Tree, WM_VSCROLL, SB_LINEUP, 0);
    EXPECT_EQ(Top(), 0);
    SendMessageA(Tree, WM_VSCROLL, SB_BOTTOM, 0);
    EXPECT_EQ(Top(), 100 - page);
    EXPECT_EQ(VScroll().nPos, 100 - page);
    SendMessageA(Tree, WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0);
    EXPECT_EQ(Top(), 100 - page - 3);
    SendMessageA(Tree, WM_VSCROLL, SB_TOP, 0);

    // Ensure-visible scrolls as little as it can; first-visible puts the item on top.
    SendMessageA(Tree, TVM_ENSUREVISIBLE, 0, LPARAM(Items[50]));
    EXPECT_EQ(Top(), 50 - page + 1);
    SendMessageA(Tree, TVM_ENSUREVISIBLE, 0, LPARAM(Items[45]));
    EXPECT_EQ(Top(), 50 - page + 1);
    SendMessageA(Tree, TVM_SELECTITEM, TVGN_FIRSTVISIBLE, LPARAM(Items[10]));
    EXPECT_EQ(Top(), 10);
    SendMessageA(Tree, TVM_SELECTITEM, TVGN_FIRSTVISIBLE, LPARAM(Items[99]));
    EXPECT_EQ(Top(), 100 - page); // never past the last page

    // Deleting the top item keeps a valid top; without scrolling, nothing moves.
    SendMessageA(Tree, TVM_DELETEITEM, 0, LPARAM(Items[100 - page]));
    EXPECT_GE(Top(), 0);
    SetWindowLongA(Tree, GWL_STYLE, GetWindowLongA(Tree, GWL_STYLE) | TVS_NOSCROLL);
    const int top = Top();
    SendMessageA(Tree, WM_VSCROLL, SB_TOP, 0);
    EXPECT_EQ(Top(), top);
}

TEST_F(TreeEngineView, RedrawOffDefersTheLayout)
{
    CreateTree(0, 200, 160);
    SendMessageA(Tree, WM_SETREDRAW, FALSE, 0);
    Fill(50);
    EXPECT_EQ(VScroll().nMax, 0); // the scroll bar waits
    SendMessageA(Tree, WM_SETREDRAW, TRUE, 0);
    EXPECT_EQ(VScroll().nMax, 49);
    EXPECT_EQ(Top(), 0);
}

TEST_F(TreeEngineView, PaintsSelectionWithThePaletteHighlight)
{
    CreateTree(TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT, 200, 120);
    Fill(3);
    SendMessageA(Tree, TVM_SELECTITEM, TVGN_CARET, LPARAM(Items[1]));
    const RECT label = ItemRect(Items[1], true);
    const int x = label.right - 2, y = label.top + 1;
    const QColor window = ColorRefToQColor(GetSysColor(COLOR_WINDOW));

    QImage unfocused = Shot();
    EXPECT_EQ(Pixel(unfocused, x, y), window); // hidden selection without the focus
    SendMessageA(Tree, WM_SETFOCUS, 0, 0);
    EXPECT_EQ(Pixel(Shot(), x, y), ColorRefToQColor(GetSysColor(COLOR_HIGHLIGHT)));
    SendMessageA(Tree, WM_KILLFOCUS, 0, 0);
    SetWindowLongA(Tree, GWL_STYLE, GetWindowLongA(Tree, GWL_STYLE) | TVS_SHOWSELALWAYS);
    EXPECT_EQ(Pixel(Shot(), x, y), ColorRefToQColor(GetSysColor(COLOR_BTNFACE)));
    EXPECT_EQ(CountOf(NM_SETFOCUS), 1);
    EXPECT_EQ(CountOf(NM_KILLFOCUS), 1);

    // The background colour of the window is the program's to set.
    EXPECT_EQ(SendMessageA(Tree, TVM_SETBKCOLOR, 0, RGB(10, 20, 30)), -1);
    EXPECT_EQ(Pixel(Shot(), 190, 110), QColor(10, 20, 30));
}

TEST_F(TreeEngineView, CustomDrawResultsAreHonoured)
{
    CreateTree(0, 200, 120);
    Fill(3);
    QFont big = QApplication::font();
    big.setPointSize(big.pointSize() * 3);
    HFONT bigFont = CreateFontHandle(big);
    std::vector<DWORD> stages;
    LRESULT prepaint = CDRF_NOTIFYITEMDRAW | CDRF_NOTIFYPOSTPAINT;
    Answer = [&](NMHDR* hdr) -> LRESULT {
        if (hdr->code != NM_CUSTOMDRAW)
            return 0;
        auto* cd = reinterpret_cast<NMTVCUSTOMDRAW*>(hdr);
        stages.push_back(cd->nmcd.dwDrawStage);
        if (cd->nmcd.dwDrawStage == CDDS_PREPAINT)
            return prepaint;
        if (cd->nmcd.dwDrawStage != CDDS_ITEMPREPAINT)
            return 0;
        switch (cd->nmcd.lItemlParam) {
        case 0: cd->clrTextBk = RGB(255, 0, 0); return CDRF_NOTIFYPOSTPAINT;
        case 1: SelectObject(cd->nmcd.hdc, bigFont); return CDRF_NEWFONT;
        default: return CDRF_SKIPDEFAULT;
        }
    };
    const RECT before = ItemRect(Items[1], true);
    const RECT third = ItemRect(Items[2], true);
    QImage shot = Shot();
    EXPECT_EQ(Pixel(shot, 3, ItemRect(Items[0], true).top + 1), QColor(255, 0, 0));
    // The skipped item left no ink: its whole label area is background.
    bool blank = true;
    for (int x = third.left; x < third.right; ++x)
        for (int y = third.top; y < third.bottom; ++y)
            blank = blank && Pixel(shot, x, y) == ColorRefToQColor(GetSysColor(COLOR_WINDOW));
    EXPECT_TRUE(blank);
    const RECT after = ItemRect(Items[1], true);
    EXPECT_GT(after.right - after.left, before.right - before.left); // measured in the new font
    EXPECT_EQ(stages.front(), CDDS_PREPAINT);
    EXPECT_EQ(stages.back(), CDDS_POSTPAINT);
    EXPECT_EQ(std::count(stages.begin(), stages.end(), CDDS_ITEMPREPAINT), 3);
    EXPECT_EQ(std::count(stages.begin(), stages.end(), CDDS_ITEMPOSTPAINT), 1);

    // Skipping at the start draws no item and asks nothing more.
    stages.clear();
    prepaint = CDRF_SKIPDEFAULT;
    Shot();
    EXPECT_EQ(stages, std::vector<DWORD>{CDDS_PREPAINT});
    Answer = nullptr;
    DestroyWindow(Tree);
    DeleteObject(bigFont);
}

TEST_F(TreeEngineView, LargeTreeStaysCheap)
{
    CreateTree(TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT, 200, 160);
    SendMessageA(Tree, WM_SETREDRAW, FALSE, 0);
    constexpr int kParents = 20, kChildren = 5000;
    std::vector<HTREEITEM> parents;
    for (int p = 0; p < kParents; ++p) {
        parents.push_back(Insert(TVI_ROOT, p));
        for (int c = 0; c < kChildren; ++c)
            Insert(parents.back(), 1000000 + p * kChildren + c);
    }
    SendMessageA(Tree, WM_SETREDRAW, TRUE, 0);
    EXPECT_EQ(SendMessageA(Tree, TVM_GETCOUNT, 0, 0), kParents * (kChildren + 1));
    for (HTREEITEM p : parents)
        SendMessageA(Tree, TVM_EXPAND, TVE_EXPAND, LPARAM(p));
    EXPECT_EQ(VScroll().nMax, kParents * (kChildren + 1) - 1);

    SendMessageA(Tree, WM_VSCROLL, SB_BOTTOM, 0);
    Shot();
    EXPECT_EQ(ParamOf(Next(TVGN_LASTVISIBLE)), 1000000 + kParents * kChildren - 1);
    SendMessageA(Tree, TVM_SELECTITEM, TVGN_FIRSTVISIBLE, LPARAM(Next(TVGN_CHILD, parents[7])));
    EXPECT_EQ(Top(), 1000000 + 7 * kChildren);
    EXPECT_EQ(VScroll().nPos, 7 * (kChildren + 1) + 1);
    TVHITTESTINFO hit;
    hit.pt = POINT{60, int(SendMessageA(Tree, TVM_GETITEMHEIGHT, 0, 0)) + 2};
    EXPECT_EQ(ParamOf(reinterpret_cast<HTREEITEM>(SendMessageA(Tree, TVM_HITTEST, 0, LPARAM(&hit)))),
              1000000 + 7 * kChildren + 1);
    for (HTREEITEM p : parents)
        SendMessageA(Tree, TVM_EXPAND, TVE_COLLAPSE, LPARAM(p));
    EXPECT_EQ(VScroll().nMax, kParents - 1);
    EXPECT_EQ(Top(), 7); // the collapsed parent of the old top item
}

// Labels are shaped once and kept: a changed text, weight or window font must still
// give the new width, and a label measured again after thousands of others (when the
// kept shapes have been dropped) must keep its width.
TEST_F(TreeEngineView, LabelWidthsFollowTextAndFontChanges)
{
    CreateTree(TVS_HASBUTTONS | TVS_LINESATROOT, 200, 160);
    ShowOwner();
    auto labelWidth = [&](HTREEITEM item) {
        const RECT r = ItemRect(item, true);
        return r.right - r.left;
    };
    auto setText = [&](HTREEITEM item, const char* text) {
        TVITEMEXA it;
        it.mask = TVIF_TEXT;
        it.hItem = item;
        it.pszText = const_cast<LPSTR>(text);
        SendMessageA(Tree, TVM_SETITEMA, 0, LPARAM(&it));
        QApplication::processEvents();
    };
    auto setBold = [&](HTREEITEM item, bool bold) {
        TVITEMEXA it;
        it.mask = TVIF_STATE;
        it.hItem = item;
        it.stateMask = TVIS_BOLD;
        it.state = bold ? TVIS_BOLD : 0;
        SendMessageA(Tree, TVM_SETITEMA, 0, LPARAM(&it));
        QApplication::processEvents();
    };
    HTREEITEM item = Insert(TVI_ROOT, 1, TVI_LAST, const_cast<LPSTR>("Mill"));
    QApplication::processEvents();
    const int plain = labelWidth(item);
    setText(item, "Millstone grinding");
    const int longer = labelWidth(item);
    EXPECT_GT(longer, plain);
    setBold(item, true);
    EXPECT_GT(labelWidth(item), longer);
    setBold(item, false);
    EXPECT_EQ(labelWidth(item), longer);

    QFont big = QApplication::font();
    big.setPointSize(big.pointSize() * 2);
    HFONT bigFont = CreateFontHandle(big);
    SendMessageA(Tree, WM_SETFONT, WPARAM(bigFont), TRUE);
    QApplication::processEvents();
    EXPECT_GT(labelWidth(item), longer);
    SendMessageA(Tree, WM_SETFONT, 0, TRUE);
    QApplication::processEvents();
    EXPECT_EQ(labelWidth(item), longer);

    setText(item, "Mill");
    EXPECT_EQ(labelWidth(item), plain);
    SendMessageA(Tree, WM_SETREDRAW, FALSE, 0);
    std::vector<std::string> texts;
    for (int i = 0; i < 3000; ++i)
        texts.push_back("Label " + std::to_string(i));
    for (const std::string& text : texts)
        labelWidth(Insert(TVI_ROOT, 2, TVI_LAST, const_cast<LPSTR>(text.c_str())));
    SendMessageA(Tree, WM_SETREDRAW, TRUE, 0);
    EXPECT_EQ(labelWidth(item), plain);
    DestroyWindow(Tree);
    DeleteObject(bigFont);
}

// The client area gives way to the vertical bar when it appears, and follows the bar
// when a style sheet makes it wider.
TEST_F(TreeEngineView, ClientAreaFollowsTheScrollBarsThickness)
{
    CreateTree(TVS_HASBUTTONS | TVS_LINESATROOT, 200, 160);
    ShowOwner();
    auto clientWidth = [&] {
        RECT client;
        GetClientRect(Tree, &client);
        return int(client.right - client.left);
    };
    const int bare = clientWidth();
    for (int i = 0; i < 50; ++i)
        Insert(TVI_ROOT, i);
    QApplication::processEvents();
    QScrollBar* bar = static_cast<TWindowWidget*>(WindowWidget(Tree))->ScrollBar(SB_VERT);
    ASSERT_TRUE(bar->isVisible());
    EXPECT_EQ(clientWidth(), bare - bar->sizeHint().width());

    bar->setStyleSheet("QScrollBar:vertical { width: 41px; }");
    QApplication::processEvents();
    EXPECT_EQ(bar->sizeHint().width(), 41);
    EXPECT_EQ(clientWidth(), bare - 41);
    EXPECT_EQ(bar->geometry().width(), 41);
    DestroyWindow(Tree);
}

// Invalidating the whole window repaints all of it but its scroll bars: a scroll bar
// that did not change is not painted again, and the window is not asked for what lies
// under it. When the client area changes, the edges repaint too.
TEST_F(TreeEngineView, InvalidatingTheWindowLeavesItsScrollBarsAlone)
{
    CreateTree(TVS_HASBUTTONS | TVS_LINESATROOT, 200, 160);
    ShowOwner();
    for (int i = 0; i < 50; ++i)
        Insert(TVI_ROOT, i);
    QApplication::processEvents();
    auto* window = static_cast<TWindowWidget*>(WindowWidget(Tree));
    QScrollBar* bar = window->ScrollBar(SB_VERT);
    ASSERT_TRUE(bar->isVisible());

    struct TPaints : QObject {
        std::vector<std::pair<QObject*, QRect>> Seen;
        bool eventFilter(QObject* o, QEvent* e) override
        {
            if (e->type() == QEvent::Paint)
                Seen.emplace_back(o, static_cast<QPaintEvent*>(e)->rect());
            return false;
        }
    } paints;
    bar->installEventFilter(&paints);
    window->installEventFilter(&paints);
    InvalidateRect(Tree, nullptr, TRUE);
    QApplication::processEvents();
    const QRect client = window->ClientRect();
    ASSERT_FALSE(paints.Seen.empty());
    for (const auto& [object, rect] : paints.Seen) {
        EXPECT_EQ(object, window) << "the scroll bar was painted again";
        EXPECT_FALSE(rect.intersects(bar->geometry()));
    }

    paints.Seen.clear();
    SetWindowPos(Tree, nullptr, 0, 0, 240, 160, SWP_NOZORDER | SWP_NOMOVE); // a wider client
    QApplication::processEvents();
    bool edges = false;
    for (const auto& [object, rect] : paints.Seen)
        edges = edges || (object == window && !client.contains(rect));
    EXPECT_TRUE(edges);
    DestroyWindow(Tree);
}
