#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <stdexcept>

#include "model/ModelFixture.h"

namespace {

void* AsData(std::intptr_t Value) { return reinterpret_cast<void*>(Value); }

// Texts ordered as the native default orders them: the C library's collation.
std::string Collated(std::vector<std::string> Texts)
{
    std::sort(Texts.begin(), Texts.end(),
              [](const std::string& L, const std::string& R) { return std::strcoll(L.c_str(), R.c_str()) < 0; });
    std::string Result;
    for (const std::string& S : Texts)
        Result += (Result.empty() ? "" : " ") + S;
    return Result;
}

std::string Folded(std::string S)
{
    for (char& Ch : S)
        Ch = char(std::tolower(static_cast<unsigned char>(Ch)));
    return S;
}

} // namespace

TEST_F(ModelFixture, EachSortTypeOrdersTheListsByItsRuleAndTheWindowByText)
{
    TlxTreeViewNode* P = Items()->Add(nullptr, "P");
    const std::vector<std::string> Texts{"b", "A", "c", "a", "B"};
    for (int I = 0; I < int(Texts.size()); ++I)
        Items()->AddChildObject(P, Texts[std::size_t(I)], AsData(10 - I)); // b 10, A 9, c 8, a 7, B 6
    Items()->AddChildObject(Items()->AddChild(P, "d"), "x", AsData(1));

    tree->SetSortType(stData); // the lists by Data, the window by text
    EXPECT_EQ(Children(P), "d B a c A b");
    EXPECT_EQ(NativeChildren(P), Collated({"b", "A", "c", "a", "B", "d"}));

    tree->SetSortType(stText); // case folded in the lists only
    EXPECT_EQ(Folded(Children(P)), "a a b b c d");
    EXPECT_EQ(NativeChildren(P), Collated({"b", "A", "c", "a", "B", "d"}));

    tree->SetSortType(stBoth); // equal texts by Data
    EXPECT_EQ(Children(P), "a A B b c d");

    tree->OnCompare = [](TObject*, TlxTreeViewNode* N1, TlxTreeViewNode* N2, int, int& Compare) {
        Compare = int(reinterpret_cast<std::intptr_t>(N2->Data()) - reinterpret_cast<std::intptr_t>(N1->Data()));
    };
    EXPECT_TRUE(tree->AlphaSort()); // the handler decides both orders
    EXPECT_EQ(Children(P), "b A c a B d");
    EXPECT_EQ(Disagreements(), "");

    tree->SetSortType(stNone); // the order stays
    EXPECT_EQ(Children(P), "b A c a B d");
    P->Item(5)->SetData(AsData(99)); // stNone: no re-sort
    EXPECT_EQ(Children(P), "b A c a B d");
    tree->SetSortType(stData);
    EXPECT_EQ(Children(P), "d b A c a B");
    P->Item(0)->SetData(AsData(0)); // a Data change re-sorts with a handler...
    EXPECT_EQ(Children(P), "b A c a B d");
    tree->OnCompare = nullptr;
    P->Item(0)->SetData(AsData(0)); // ...and only with one
    EXPECT_EQ(Children(P), "b A c a B d");
}

TEST(ModelWithoutWindow, TheControlsSortNeedsTheWindow)
{
    TlxTreeView Tree(nullptr);
    EXPECT_FALSE(Tree.AlphaSort());
    EXPECT_FALSE(Tree.HandleAllocated());
}

TEST_F(ModelFixture, MovesUnderTextSortingLeaveBothOrdersSorted)
{
    tree->SetSortType(stText);
    TlxTreeViewNode* P = Items()->Add(nullptr, "p");
    TlxTreeViewNode* Q = Items()->Add(nullptr, "q");
    for (const char* S : {"b", "d"})
        Items()->AddChild(P, S);
    TlxTreeViewNode* C = Items()->AddChild(Q, "c");
    for (const char* S : {"z", "y", "x"}) // added unsorted
        Items()->AddChild(C, S);
    C->MoveTo(P, naAddChildFirst);
    EXPECT_EQ(Children(P), "b c d");
    EXPECT_EQ(Children(C), "x y z");
    P->MoveTo(Q, naInsert); // a top-level move sorts the whole tree
    EXPECT_EQ(Children(nullptr), "p q");
    EXPECT_EQ(Disagreements(), "");
}

// A handler that raises at every possible comparison, in the window's sort and in the
// list's, of a node's children, of the whole tree and of a re-sort after a change.
TEST_F(ModelFixture, ACompareHandlerThatRaisesLeavesBothOrdersAlike)
{
    TlxTreeViewNode* P = Items()->Add(nullptr, "P");
    for (int I = 0; I < 24; ++I)
        Items()->AddChild(P, "k" + std::to_string((I * 7) % 24 + 10));
    int Left = 0, Calls = 0;
    tree->OnCompare = [&](TObject*, TlxTreeViewNode* N1, TlxTreeViewNode* N2, int, int& Compare) {
        ++Calls;
        if (--Left == 0)
            throw std::runtime_error("compare");
        Compare = N2->Text().compare(N1->Text());
    };
    Left = -1;
    P->AlphaSort();
    const int Needed = Calls;
    int Raised = 0;
    auto Sort = [&](int Limit, auto SortCall) {
        Left = Limit;
        try {
            SortCall();
        } catch (const std::runtime_error&) {
            ++Raised;
        }
        ASSERT_EQ(Disagreements(), "") << Limit;
    };
    for (int Limit = 1; Limit <= Needed; ++Limit) {
        P->Item(Limit % 24)->SetText("k" + std::to_string(Limit + 40)); // stNone: no re-sort
        Sort(Limit, [&] { P->AlphaSort(); });
        Sort(Limit, [&] { tree->AlphaSort(); });
    }
    EXPECT_GT(Raised, Needed);
    Left = -1;
    tree->SetSortType(stText);
    Left = 30;
    EXPECT_THROW(P->Item(3)->SetText("a"), std::runtime_error); // the setter's caller
    EXPECT_EQ(P->Item(P->IndexOf(Items()->Find(TFindOptions{lxfoText}, "a", nullptr)))->Text(), "a");
    EXPECT_EQ(Disagreements(), "");

    unsigned Seed = 1; // answers that are no order at all break nothing either
    tree->OnCompare = [&](TObject*, TlxTreeViewNode*, TlxTreeViewNode*, int, int& Compare) {
        Seed = Seed * 1103515245u + 12345u;
        Compare = int((Seed >> 16) % 3) - 1;
    };
    for (int I = 0; I < 50; ++I)
        P->AlphaSort();
    EXPECT_EQ(Items()->Count(), 25);
    EXPECT_EQ(P->Count(), 24);
}

// After a sort by data the children leave in the window's order (by text), not in
// theirs: through the whole deletion each one still finds its place, and the list
// the handler sees is exact.
TEST_F(ModelFixture, ChildrenLeavingInTheWindowsOrderKeepTheListExact)
{
    constexpr int Count = 700;
    TlxTreeViewNode* P = Items()->Add(nullptr, "P");
    for (int I = 0; I < Count; ++I) {
        char Text[8];
        std::snprintf(Text, sizeof Text, "t%03d", I);
        Items()->AddChildObject(P, Text, AsData((I * 7919) % Count)); // data in another order than text
    }
    tree->SetSortType(stData);
    std::vector<TlxTreeViewNode*> Expected;
    for (int I = 0; I < Count; ++I)
        Expected.push_back(P->Item(I));
    ASSERT_NE(Children(P), NativeChildren(P));

    std::vector<std::string> Left;
    tree->OnDeletion = [&](TObject*, TlxTreeViewNode* Node) {
        Left.push_back(Node->Text());
        const auto At = std::find(Expected.begin(), Expected.end(), Node);
        ASSERT_NE(At, Expected.end());
        ASSERT_EQ(P->Count(), int(Expected.size()));
        if (Left.size() % 50 == 0) // asked rarely: asking renumbers the siblings
            ASSERT_EQ(Node->Index(), int(At - Expected.begin()));
        for (std::size_t I = 0; I < Expected.size(); I += 37)
            ASSERT_EQ(P->Item(int(I)), Expected[I]);
        Expected.erase(At);
    };
    P->DeleteChildren();
    tree->OnDeletion = nullptr;
    EXPECT_TRUE(Expected.empty());
    ASSERT_EQ(Left.size(), std::size_t(Count));
    EXPECT_EQ(Left.front(), "t699"); // the window's last item first
    EXPECT_EQ(Left.back(), "t000");
    EXPECT_EQ(P->Count(), 0);
}
