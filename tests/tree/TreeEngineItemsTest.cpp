// Items of the tree window: insertion, reading and writing, navigation, deletion
// reports, stale handles and sorting.
#include <algorithm>
#include <cstring>
#include <set>
#include <stdexcept>

#include "TreeEngineFixture.h"

class TreeEngineItems : public TreeEngineTest {
protected:
    std::vector<LPARAM> Children(HTREEITEM parent)
    {
        std::vector<LPARAM> params;
        for (HTREEITEM c = Next(TVGN_CHILD, parent); c; c = Next(TVGN_NEXT, c))
            params.push_back(ParamOf(c));
        return params;
    }
    // The same children read from the last one backwards, reversed.
    std::vector<LPARAM> ChildrenBackwards(HTREEITEM parent)
    {
        HTREEITEM last = nullptr;
        for (HTREEITEM c = Next(TVGN_CHILD, parent); c; c = Next(TVGN_NEXT, c))
            last = c;
        std::vector<LPARAM> params;
        for (HTREEITEM c = last; c; c = Next(TVGN_PREVIOUS, c))
            params.insert(params.begin(), ParamOf(c));
        return params;
    }
};

TEST_F(TreeEngineItems, InsertsInEveryPosition)
{
    CreateTree(TVS_HASLINES);
    HTREEITEM b = Insert(TVI_ROOT, 2);
    HTREEITEM d = Insert(nullptr, 4, TVI_LAST);
    Insert(TVI_ROOT, 1, TVI_FIRST);
    Insert(TVI_ROOT, 3, b);
    ASSERT_TRUE(d);
    EXPECT_EQ(Children(TVI_ROOT), (std::vector<LPARAM>{1, 2, 3, 4}));

    char bee[] = "bee", ant[] = "Ant", cat[] = "cat";
    Insert(d, 10, TVI_SORT, bee);
    Insert(d, 11, TVI_SORT, cat);
    Insert(d, 12, TVI_SORT, ant);
    Texts[13] = "Bat";
    Insert(d, 13, TVI_SORT); // callback text takes part in the order
    EXPECT_EQ(Children(d), (std::vector<LPARAM>{12, 13, 10, 11}));

    EXPECT_EQ(SendMessageA(Tree, TVM_GETCOUNT, 0, 0), 8);
    EXPECT_EQ(Next(TVGN_PARENT, Next(TVGN_CHILD, d)), d);
    EXPECT_EQ(Next(TVGN_PARENT, d), nullptr);
    EXPECT_EQ(Next(TVGN_ROOT), Next(TVGN_CHILD, nullptr));
    EXPECT_EQ(Next(TVGN_PREVIOUS, Next(TVGN_NEXT, b)), b);
    // Hidden children are not visible items; expanding makes them so.
    EXPECT_EQ(Next(TVGN_NEXTVISIBLE, Next(TVGN_CHILD, d)), nullptr);
    EXPECT_EQ(Next(TVGN_LASTVISIBLE), d);
    SendMessageA(Tree, TVM_EXPAND, TVE_EXPAND, LPARAM(d));
    EXPECT_EQ(ParamOf(Next(TVGN_LASTVISIBLE)), 11);
    EXPECT_EQ(ParamOf(Next(TVGN_NEXTVISIBLE, d)), 12);
    EXPECT_EQ(Next(TVGN_PREVIOUSVISIBLE, Next(TVGN_CHILD, d)), d);

    // A parent that doesn't exist fails the insertion.
    SendMessageA(Tree, TVM_DELETEITEM, 0, LPARAM(b));
    EXPECT_EQ(Insert(b, 99), nullptr);
}

TEST_F(TreeEngineItems, SiblingsReadTheSameBothWaysAfterEveryChange)
{
    CreateTree(TVS_HASLINES);
    HTREEITEM parent = Insert(TVI_ROOT, 100);
    std::vector<HTREEITEM> items;
    for (LPARAM p = 1; p <= 5; ++p)
        items.push_back(Insert(parent, p));
    const auto expect = [&](std::vector<LPARAM> order) {
        EXPECT_EQ(Children(parent), order);
        EXPECT_EQ(ChildrenBackwards(parent), order);
        SendMessageA(Tree, TVM_EXPAND, TVE_EXPAND, LPARAM(parent));
        EXPECT_EQ(ParamOf(Next(TVGN_LASTVISIBLE)), order.empty() ? 100 : order.back());
    };
    expect({1, 2, 3, 4, 5});
    SendMessageA(Tree, TVM_DELETEITEM, 0, LPARAM(items[0])); // the first
    expect({2, 3, 4, 5});
    SendMessageA(Tree, TVM_DELETEITEM, 0, LPARAM(items[4])); // the last
    expect({2, 3, 4});
    SendMessageA(Tree, TVM_DELETEITEM, 0, LPARAM(items[2])); // one between
    expect({2, 4});
    Insert(parent, 6, TVI_FIRST);
    Insert(parent, 7, TVI_LAST);
    Insert(parent, 8, items[3]); // after 4, before 7
    expect({6, 2, 4, 8, 7});
    char z[] = "z", a[] = "a";
    SendMessageA(Tree, TVM_SORTCHILDREN, 0, LPARAM(parent)); // callback texts: by param's text
    Insert(parent, 9, TVI_SORT, z);
    Insert(parent, 10, TVI_FIRST, a);
    const std::vector<LPARAM> sorted = Children(parent);
    EXPECT_EQ(ChildrenBackwards(parent), sorted);
    EXPECT_EQ(sorted.front(), 10);
    for (HTREEITEM c = Next(TVGN_CHILD, parent); c; c = Next(TVGN_CHILD, parent))
        SendMessageA(Tree, TVM_DELETEITEM, 0, LPARAM(c));
    expect({});
    Insert(parent, 11, TVI_FIRST); // an only child again
    expect({11});
}

TEST_F(TreeEngineItems, ReadsAndWritesTheFieldsTheMaskNames)
{
    CreateTree(0);
    char text[] = "A rather long label";
    HTREEITEM item = Insert(TVI_ROOT, 7, TVI_LAST, text);

    char buffer[8];
    TVITEMEXA get;
    get.mask = TVIF_TEXT | TVIF_PARAM | TVIF_STATE | TVIF_CHILDREN | TVIF_INTEGRAL;
    get.hItem = item;
    get.pszText = buffer;
    get.cchTextMax = sizeof buffer;
    get.stateMask = 0xFFFF;
    ASSERT_TRUE(SendMessageA(Tree, TVM_GETITEMA, 0, LPARAM(&get)));
    EXPECT_STREQ(buffer, "A rathe"); // cut to the buffer less one
    EXPECT_EQ(get.lParam, 7);
    EXPECT_EQ(get.cChildren, 0);
    EXPECT_EQ(get.iIntegral, 1);

    TVITEMEXA set;
    set.mask = TVIF_STATE | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_CHILDREN | TVIF_INTEGRAL | TVIF_PARAM;
    set.hItem = item;
    set.state = TVIS_BOLD | TVIS_CUT | INDEXTOSTATEIMAGEMASK(3) | INDEXTOOVERLAYMASK(2);
    set.stateMask = TVIS_BOLD | TVIS_CUT | TVIS_STATEIMAGEMASK | TVIS_OVERLAYMASK;
    set.iImage = 5;
    set.iSelectedImage = 6;
    set.cChildren = 1;
    set.iIntegral = 3;
    set.lParam = 70;
    ASSERT_TRUE(SendMessageA(Tree, TVM_SETITEMA, 0, LPARAM(&set)));

    TVITEMEXA again;
    again.mask = TVIF_STATE | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_CHILDREN | TVIF_INTEGRAL | TVIF_PARAM;
    again.hItem = item;
    again.stateMask = TVIS_BOLD | TVIS_STATEIMAGEMASK | TVIS_OVERLAYMASK; // TVIS_CUT not asked for
    ASSERT_TRUE(SendMessageA(Tree, TVM_GETITEMA, 0, LPARAM(&again)));
    EXPECT_EQ(again.state, TVIS_BOLD | INDEXTOSTATEIMAGEMASK(3) | INDEXTOOVERLAYMASK(2));
    EXPECT_EQ(again.iImage, 5);
    EXPECT_EQ(again.iSelectedImage, 6);
    EXPECT_EQ(again.cChildren, 1);
    EXPECT_EQ(again.iIntegral, 3);
    EXPECT_EQ(again.lParam, 70);
    EXPECT_EQ(StateOf(item) & TVIS_CUT, TVIS_CUT);

    // Callback fields are asked for through TVN_GETDISPINFOA.
    HTREEITEM callback = Insert(TVI_ROOT, 8);
    char text8[32];
    TVITEMEXA cb;
    cb.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    cb.hItem = callback;
    cb.pszText = text8;
    cb.cchTextMax = sizeof text8;
    ASSERT_TRUE(SendMessageA(Tree, TVM_GETITEMA, 0, LPARAM(&cb)));
    EXPECT_STREQ(text8, "Item 8");
    EXPECT_EQ(cb.iImage, 0);
    EXPECT_EQ(cb.iSelectedImage, 1);

    // Integral heights take that many rows.
    const RECT tall = ItemRect(item, false);
    const RECT normal = ItemRect(callback, false);
    EXPECT_EQ(tall.bottom - tall.top, 3 * (normal.bottom - normal.top));
    EXPECT_EQ(normal.top, tall.bottom);
}

TEST_F(TreeEngineItems, DeletionReportsEveryItemOnceChildrenFirst)
{
    CreateTree(TVS_HASLINES | TVS_HASBUTTONS);
    HTREEITEM a = Insert(TVI_ROOT, 1);
    HTREEITEM a1 = Insert(a, 11);
    Insert(a1, 111);
    Insert(a1, 112);
    Insert(a, 12);
    HTREEITEM b = Insert(TVI_ROOT, 2);
    Insert(b, 21);

    ASSERT_TRUE(SendMessageA(Tree, TVM_DELETEITEM, 0, LPARAM(a)));
    std::vector<LPARAM> deleted;
    for (const TTreeNote& n : NotesOf(TVN_DELETEITEMA))
        deleted.push_back(n.paramOld);
    EXPECT_EQ(deleted, (std::vector<LPARAM>{12, 112, 111, 11, 1}));
    EXPECT_EQ(SendMessageA(Tree, TVM_GETCOUNT, 0, 0), 2);
    EXPECT_EQ(ParamOf(a1), -1);

    // Deleting everything, and destroying the window, report the rest exactly once.
    Notes.clear();
    Insert(b, 22);
    ASSERT_TRUE(SendMessageA(Tree, TVM_DELETEITEM, 0, LPARAM(TVI_ROOT)));
    std::multiset<LPARAM> all;
    for (const TTreeNote& n : NotesOf(TVN_DELETEITEMA))
        all.insert(n.paramOld);
    EXPECT_EQ(all, (std::multiset<LPARAM>{2, 21, 22}));
    EXPECT_EQ(SendMessageA(Tree, TVM_GETCOUNT, 0, 0), 0);

    Notes.clear();
    HTREEITEM c = Insert(TVI_ROOT, 3);
    Insert(c, 31);
    DestroyWindow(Tree);
    EXPECT_EQ(CountOf(TVN_DELETEITEMA), 2);
}

// With a deletion routine set, every deleted item reaches it, in the order and with
// the record the parent window would have had, and the parent hears nothing of them;
// cleared again, the parent is told once more.
TEST_F(TreeEngineItems, ADeletionRoutineTakesTheReportsInTheirOrder)
{
    CreateTree(TVS_HASLINES);
    HTREEITEM a = Insert(TVI_ROOT, 1);
    Insert(Insert(a, 11), 111);
    Insert(a, 12);
    HTREEITEM b = Insert(TVI_ROOT, 2);
    struct TReports {
        HWND tree;
        std::vector<LPARAM> params;
        bool wellFormed = true;
    } reports{Tree, {}};
    TVDELETIONREPORT routine = [](void* context, NMTREEVIEWA& info) {
        auto* r = static_cast<TReports*>(context);
        r->params.push_back(info.itemOld.lParam);
        r->wellFormed = r->wellFormed && UINT(info.hdr.code) == UINT(TVN_DELETEITEMA) && info.hdr.hwndFrom == r->tree &&
                        info.itemOld.hItem != nullptr && info.itemNew.hItem == nullptr;
    };
    Notes.clear();
    ASSERT_TRUE(SendMessageA(Tree, TVM_SETDELETIONREPORT, WPARAM(&reports), reinterpret_cast<LPARAM>(routine)));
    ASSERT_TRUE(SendMessageA(Tree, TVM_DELETEITEM, 0, LPARAM(a)));
    EXPECT_EQ(reports.params, (std::vector<LPARAM>{12, 111, 11, 1}));
    EXPECT_TRUE(reports.wellFormed);
    EXPECT_EQ(CountOf(TVN_DELETEITEMA), 0);

    SendMessageA(Tree, TVM_SETDELETIONREPORT, 0, 0);
    ASSERT_TRUE(SendMessageA(Tree, TVM_DELETEITEM, 0, LPARAM(b)));
    EXPECT_EQ(reports.params.size(), 4u);
    EXPECT_EQ(CountOf(TVN_DELETEITEMA), 1);
}

TEST_F(TreeEngineItems, CollapseResetDeletesTheChildren)
{
    CreateTree(TVS_HASBUTTONS | TVS_LINESATROOT);
    HTREEITEM a = Insert(TVI_ROOT, 1);
    Insert(a, 11);
    Insert(Insert(a, 12), 121);
    SendMessageA(Tree, TVM_EXPAND, TVE_EXPAND, LPARAM(a));
    EXPECT_TRUE(StateOf(a) & TVIS_EXPANDEDONCE);
    Notes.clear();
    ASSERT_TRUE(SendMessageA(Tree, TVM_EXPAND, TVE_COLLAPSE | TVE_COLLAPSERESET, LPARAM(a)));
    EXPECT_EQ(CountOf(TVN_DELETEITEMA), 3);
    EXPECT_EQ(Next(TVGN_CHILD, a), nullptr);
    EXPECT_EQ(StateOf(a) & (TVIS_EXPANDED | TVIS_EXPANDEDONCE), 0u);
    TVITEMEXA get;
    get.mask = TVIF_CHILDREN;
    get.hItem = a;
    SendMessageA(Tree, TVM_GETITEMA, 0, LPARAM(&get));
    EXPECT_EQ(get.cChildren, 0);
    EXPECT_EQ(SendMessageA(Tree, TVM_GETCOUNT, 0, 0), 1);
}

TEST_F(TreeEngineItems, StaleAndGarbageHandlesFailEveryMessage)
{
    CreateTree(TVS_HASBUTTONS | TVS_EDITLABELS);
    HTREEITEM keep = Insert(TVI_ROOT, 1);
    HTREEITEM gone = Insert(TVI_ROOT, 2);
    SendMessageA(Tree, TVM_DELETEITEM, 0, LPARAM(gone));
    HTREEITEM reused = Insert(TVI_ROOT, 3); // likely the same slot, a new generation
    ASSERT_NE(reused, gone);
    const HTREEITEM garbage = reinterpret_cast<HTREEITEM>(std::uintptr_t(0x123456789ABull));

    for (HTREEITEM bad : {gone, garbage}) {
        TVITEMEXA item;
        item.mask = TVIF_PARAM | TVIF_STATE;
        item.hItem = bad;
        EXPECT_FALSE(SendMessageA(Tree, TVM_GETITEMA, 0, LPARAM(&item)));
        EXPECT_FALSE(SendMessageA(Tree, TVM_SETITEMA, 0, LPARAM(&item)));
        EXPECT_FALSE(SendMessageA(Tree, TVM_DELETEITEM, 0, LPARAM(bad)));
        EXPECT_FALSE(SendMessageA(Tree, TVM_EXPAND, TVE_EXPAND, LPARAM(bad)));
        EXPECT_FALSE(SendMessageA(Tree, TVM_SELECTITEM, TVGN_CARET, LPARAM(bad)));
        EXPECT_FALSE(SendMessageA(Tree, TVM_SELECTITEM, TVGN_DROPHILITE, LPARAM(bad)));
        EXPECT_FALSE(SendMessageA(Tree, TVM_SELECTITEM, TVGN_FIRSTVISIBLE, LPARAM(bad)));
        EXPECT_FALSE(SendMessageA(Tree, TVM_ENSUREVISIBLE, 0, LPARAM(bad)));
        EXPECT_FALSE(SendMessageA(Tree, TVM_EDITLABELA, 0, LPARAM(bad)));
        EXPECT_FALSE(SendMessageA(Tree, TVM_CREATEDRAGIMAGE, 0, LPARAM(bad)));
        EXPECT_FALSE(SendMessageA(Tree, TVM_SETINSERTMARK, 0, LPARAM(bad)));
        EXPECT_FALSE(SendMessageA(Tree, TVM_SORTCHILDREN, 0, LPARAM(bad)));
        EXPECT_EQ(SendMessageA(Tree, TVM_GETITEMSTATE, WPARAM(bad), 0xFFFF), 0);
        EXPECT_EQ(Next(TVGN_NEXT, bad), nullptr);
        EXPECT_EQ(Next(TVGN_CHILD, bad), nullptr);
        EXPECT_EQ(ItemRect(bad, false).left, -1);
        EXPECT_EQ(Insert(bad, 9), nullptr);
        TVSORTCB sort;
        sort.hParent = bad;
        sort.lpfnCompare = [](LPARAM, LPARAM, LPARAM) { return 0; };
        EXPECT_FALSE(SendMessageA(Tree, TVM_SORTCHILDRENCB, 0, LPARAM(&sort)));
    }
    EXPECT_EQ(ParamOf(keep), 1);
    EXPECT_EQ(ParamOf(reused), 3);
    EXPECT_EQ(SendMessageA(Tree, TVM_GETCOUNT, 0, 0), 2);

    // Scattered deletions, then an emptied and refilled table: every old handle stays
    // dead while the new items, which take the freed slots again, answer for themselves.
    std::vector<HTREEITEM> old = {keep, reused};
    for (LPARAM p = 10; p < 200; ++p)
        old.push_back(Insert(TVI_ROOT, p));
    for (std::size_t i = 2; i < old.size(); i += 3)
        SendMessageA(Tree, TVM_DELETEITEM, 0, LPARAM(old[i]));
    std::vector<HTREEITEM> refill;
    for (LPARAM p = 1000; p < 1100; ++p)
        refill.push_back(Insert(TVI_ROOT, p));
    SendMessageA(Tree, TVM_DELETEITEM, 0, LPARAM(TVI_ROOT));
    EXPECT_EQ(SendMessageA(Tree, TVM_GETCOUNT, 0, 0), 0);
    std::vector<HTREEITEM> fresh;
    for (LPARAM p = 5000; p < 5300; ++p)
        fresh.push_back(Insert(TVI_ROOT, p));
    for (HTREEITEM h : old)
        EXPECT_EQ(ParamOf(h), -1);
    for (HTREEITEM h : refill)
        EXPECT_EQ(ParamOf(h), -1);
    std::set<HTREEITEM> distinct(fresh.begin(), fresh.end());
    EXPECT_EQ(distinct.size(), fresh.size());
    for (std::size_t i = 0; i < fresh.size(); ++i)
        EXPECT_EQ(ParamOf(fresh[i]), LPARAM(5000 + i));
    EXPECT_EQ(Children(TVI_ROOT).size(), fresh.size());
}

TEST_F(TreeEngineItems, SortsChildrenByTextOrCallback)
{
    CreateTree(0);
    HTREEITEM root = Insert(TVI_ROOT, 0);
    Texts = {{1, "pear"}, {2, "Apple"}, {3, "fig"}, {4, "apple"}};
    for (LPARAM p : {1, 2, 3, 4})
        Insert(root, p);
    ASSERT_TRUE(SendMessageA(Tree, TVM_SORTCHILDREN, 0, LPARAM(root)));
    EXPECT_EQ(Children(root), (std::vector<LPARAM>{2, 4, 3, 1})); // stable, case-insensitive

    TVSORTCB sort;
    sort.hParent = root;
    sort.lParam = -1;
    sort.lpfnCompare = [](LPARAM a, LPARAM b, LPARAM dir) { return int((a - b) * dir); };
    ASSERT_TRUE(SendMessageA(Tree, TVM_SORTCHILDRENCB, 0, LPARAM(&sort)));
    EXPECT_EQ(Children(root), (std::vector<LPARAM>{4, 3, 2, 1}));

    // A comparison that throws leaves the order as it was.
    sort.lpfnCompare = [](LPARAM, LPARAM, LPARAM) -> int { throw std::runtime_error("compare"); };
    EXPECT_THROW(SendMessageA(Tree, TVM_SORTCHILDRENCB, 0, LPARAM(&sort)), std::runtime_error);
    EXPECT_EQ(Children(root), (std::vector<LPARAM>{4, 3, 2, 1}));
}

TEST_F(TreeEngineItems, OrdersChildrenAsToldAndRefusesAnythingButTheirPermutation)
{
    CreateTree(0);
    HTREEITEM root = Insert(TVI_ROOT, 0);
    HTREEITEM a = Insert(root, 1), b = Insert(root, 2), c = Insert(root, 3);
    HTREEITEM other = Insert(TVI_ROOT, 9);
    auto order = [&](HTREEITEM parent, std::vector<HTREEITEM> items, UINT count, std::vector<UINT> keys = {}) {
        TVORDERCHILDREN request;
        request.hParent = parent;
        request.phItems = items.empty() ? nullptr : items.data();
        request.puKeys = keys.empty() ? nullptr : keys.data();
        request.cItems = count;
        return SendMessageA(Tree, TVM_ORDERCHILDREN, 0, LPARAM(&request));
    };
    ASSERT_TRUE(order(root, {b, c, a}, 3, {1, 0, 1})); // equal keys keep the present order: a before b
    EXPECT_EQ(Children(root), (std::vector<LPARAM>{3, 1, 2}));
    ASSERT_TRUE(order(root, {a, b, c}, 3, {0, 0, 0}));
    EXPECT_EQ(Children(root), (std::vector<LPARAM>{3, 1, 2}));
    ASSERT_TRUE(order(root, {b, a, c}, 3)); // without keys, as given
    EXPECT_EQ(Children(root), (std::vector<LPARAM>{2, 1, 3}));
    ASSERT_TRUE(order(root, {c, a, b}, 3));
    EXPECT_EQ(Children(root), (std::vector<LPARAM>{3, 1, 2}));
    EXPECT_EQ(Next(TVGN_PREVIOUS, a), c); // both directions relinked
    EXPECT_EQ(Next(TVGN_NEXT, b), nullptr);
    EXPECT_TRUE(order(nullptr, {other, root}, 2)); // null is the top level
    EXPECT_EQ(Children(TVI_ROOT), (std::vector<LPARAM>{9, 0}));

    EXPECT_FALSE(order(root, {a, b}, 2));             // one left out
    EXPECT_FALSE(order(root, {a, b, c, a}, 4));       // one too many
    EXPECT_FALSE(order(root, {a, a, b}, 3));          // a repeat instead of c
    EXPECT_FALSE(order(root, {a, b, other}, 3));      // another parent's item
    EXPECT_FALSE(order(root, {a, b, c}, 2));          // the count disagrees
    EXPECT_FALSE(order(root, {}, 3));                 // no list
    EXPECT_FALSE(SendMessageA(Tree, TVM_ORDERCHILDREN, 0, 0));
    HTREEITEM gone = Insert(root, 4);
    ASSERT_TRUE(SendMessageA(Tree, TVM_DELETEITEM, 0, LPARAM(gone)));
    EXPECT_FALSE(order(root, {a, b, gone}, 3));       // a stale handle
    EXPECT_FALSE(order(gone, {}, 0));                 // a parent that is gone
    EXPECT_EQ(Children(root), (std::vector<LPARAM>{3, 1, 2}));
    EXPECT_TRUE(order(a, {}, 0)); // a leaf has nothing to reorder
}

// A long list sorts by its keys in linear passes: keys over the whole 32-bit range and
// many ties give the order of a stable sort, and a repeat deep in the list is found.
TEST_F(TreeEngineItems, OrdersALongListAsAStableSortWould)
{
    CreateTree(0);
    HTREEITEM root = Insert(TVI_ROOT, 0);
    constexpr int Count = 1000;
    std::vector<HTREEITEM> items;
    std::vector<UINT> keys;
    std::vector<std::pair<UINT, LPARAM>> expected;
    for (int i = 0; i < Count; ++i) {
        items.push_back(Insert(root, 1 + i));
        keys.push_back(i % 3 == 0 ? UINT(i % 7) : UINT(0xFFFFFFFFu - UINT(i % 11) * 0x10101u));
        expected.emplace_back(keys.back(), 1 + i);
    }
    std::stable_sort(expected.begin(), expected.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<LPARAM> order;
    for (const auto& e : expected)
        order.push_back(e.second);
    TVORDERCHILDREN request;
    request.hParent = root;
    request.phItems = items.data();
    request.puKeys = keys.data();
    request.cItems = Count;
    ASSERT_TRUE(SendMessageA(Tree, TVM_ORDERCHILDREN, 0, LPARAM(&request)));
    EXPECT_EQ(Children(root), order);

    items[Count - 1] = items[Count / 2]; // a repeat in place of one child
    EXPECT_FALSE(SendMessageA(Tree, TVM_ORDERCHILDREN, 0, LPARAM(&request)));
    EXPECT_EQ(Children(root), order);
}

TEST_F(TreeEngineItems, ThrowingDeletionHandlerStillDeletesEverything)
{
    CreateTree(0);
    HTREEITEM a = Insert(TVI_ROOT, 1);
    Insert(a, 11);
    Insert(a, 12);
    Insert(TVI_ROOT, 2);
    Answer = [](NMHDR* hdr) -> LRESULT {
        if (hdr->code == TVN_DELETEITEMA && reinterpret_cast<NMTREEVIEWA*>(hdr)->itemOld.lParam == 11)
            throw std::runtime_error("deletion");
        return 0;
    };
    EXPECT_THROW(SendMessageA(Tree, TVM_DELETEITEM, 0, LPARAM(a)), std::runtime_error);
    EXPECT_EQ(CountOf(TVN_DELETEITEMA), 3); // the others still heard of it
    EXPECT_EQ(SendMessageA(Tree, TVM_GETCOUNT, 0, 0), 1);
    EXPECT_EQ(ParamOf(a), -1);
    EXPECT_EQ(ParamOf(Next(TVGN_ROOT)), 2);
    Answer = nullptr;
    EXPECT_TRUE(Insert(TVI_ROOT, 3));
    EXPECT_EQ(SendMessageA(Tree, TVM_GETCOUNT, 0, 0), 2);
}

// TVI_ROOT and null name the top level where a message takes a parent or a subtree,
// and no item at all where it takes an item; neither is ever taken for a real item.
TEST_F(TreeEngineItems, RootAndNullNameTheTopLevelOrNoItem)
{
    CreateTree(TVS_HASBUTTONS | TVS_EDITLABELS);
    Texts = {{1, "c"}, {2, "a"}, {3, "b"}, {4, "child"}};
    for (HTREEITEM top : {TVI_ROOT, HTREEITEM(nullptr)}) {
        SCOPED_TRACE(top ? "TVI_ROOT" : "null");
        SendMessageA(Tree, TVM_DELETEITEM, 0, LPARAM(TVI_ROOT));
        const HTREEITEM first = Insert(top, 1);
        Insert(top, 2);
        Insert(top, 3);
        const HTREEITEM child = Insert(first, 4);
        ASSERT_TRUE(first && child);
        SendMessageA(Tree, TVM_SELECTITEM, TVGN_CARET, LPARAM(first));
        EXPECT_EQ(Children(TVI_ROOT), (std::vector<LPARAM>{1, 2, 3}));

        // Parents and subtrees: the top level.
        EXPECT_EQ(Next(TVGN_CHILD, top), first);
        EXPECT_EQ(Next(TVGN_PARENT, first), nullptr);
        EXPECT_EQ(Next(TVGN_NEXT, top), nullptr);
        EXPECT_EQ(Next(TVGN_PARENT, top), nullptr);
        EXPECT_TRUE(SendMessageA(Tree, TVM_SORTCHILDREN, 0, LPARAM(top)));
        EXPECT_EQ(Children(TVI_ROOT), (std::vector<LPARAM>{2, 3, 1}));
        TVSORTCB sort;
        sort.hParent = top;
        sort.lParam = 0;
        sort.lpfnCompare = [](LPARAM a, LPARAM b, LPARAM) { return int(b - a); };
        EXPECT_TRUE(SendMessageA(Tree, TVM_SORTCHILDRENCB, 0, LPARAM(&sort)));
        EXPECT_EQ(Children(TVI_ROOT), (std::vector<LPARAM>{3, 2, 1}));
        EXPECT_EQ(Children(first), (std::vector<LPARAM>{4}));

        // Items: none. Only selecting or marking nothing succeeds, and clears.
        TVITEMEXA item;
        item.mask = TVIF_PARAM | TVIF_TEXT;
        item.hItem = top;
        item.pszText = const_cast<char*>("x");
        EXPECT_FALSE(SendMessageA(Tree, TVM_GETITEMA, 0, LPARAM(&item)));
        EXPECT_FALSE(SendMessageA(Tree, TVM_SETITEMA, 0, LPARAM(&item)));
        EXPECT_EQ(SendMessageA(Tree, TVM_GETITEMSTATE, WPARAM(top), 0xFFFF), 0);
        EXPECT_FALSE(SendMessageA(Tree, TVM_EXPAND, TVE_EXPAND, LPARAM(top)));
        EXPECT_FALSE(SendMessageA(Tree, TVM_ENSUREVISIBLE, 0, LPARAM(top)));
        EXPECT_FALSE(SendMessageA(Tree, TVM_EDITLABELA, 0, LPARAM(top)));
        EXPECT_FALSE(SendMessageA(Tree, TVM_CREATEDRAGIMAGE, 0, LPARAM(top)));
        EXPECT_FALSE(SendMessageA(Tree, TVM_SELECTITEM, TVGN_FIRSTVISIBLE, LPARAM(top)));
        EXPECT_EQ(ItemRect(top, false).left, -1);
        EXPECT_EQ(SendMessageA(Tree, TVM_SELECTITEM, TVGN_CARET, LPARAM(top)), top ? FALSE : TRUE);
        EXPECT_EQ(Caret(), top ? first : nullptr);
        EXPECT_EQ(SendMessageA(Tree, TVM_SETINSERTMARK, 0, LPARAM(top)), top ? FALSE : TRUE);
        EXPECT_EQ(ParamOf(first), 1);

        // Deleting the top level deletes everything.
        EXPECT_TRUE(SendMessageA(Tree, TVM_DELETEITEM, 0, LPARAM(top)));
        EXPECT_EQ(SendMessageA(Tree, TVM_GETCOUNT, 0, 0), 0);
        EXPECT_EQ(ParamOf(first), -1);
    }
}
