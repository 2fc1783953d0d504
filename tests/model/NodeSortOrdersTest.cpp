// The default sorts against the comparisons that define them, on texts and data
// chosen to tell orders apart, and OnCompare across a whole tree.
#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <cstring>
#include <map>
#include <stdexcept>

#include "model/ModelFixture.h"
#include "platform/framework/SysUtils.h"

namespace {

using TNodes = std::vector<TlxTreeViewNode*>;

std::int32_t Low(const TlxTreeViewNode* Node)
{
    return std::int32_t(std::uint32_t(reinterpret_cast<std::uintptr_t>(Node->Data())));
}

// The child lists' comparison for each sort type, node against node.
TSortType RuleOfCompare = stText;
int ListCompare(LPARAM A, LPARAM B, LPARAM)
{
    auto* N1 = reinterpret_cast<TlxTreeViewNode*>(A);
    auto* N2 = reinterpret_cast<TlxTreeViewNode*>(B);
    const int ByData = int(std::uint32_t(Low(N1)) - std::uint32_t(Low(N2)));
    if (RuleOfCompare == stData)
        return ByData;
    const int ByText = CompareText(N1->Text(), N2->Text());
    return RuleOfCompare == stBoth && ByText == 0 ? ByData : ByText;
}

// Short and long texts (past what a node keeps inline), cases, repeats, bytes above
// 127 and an empty one; data with repeats and with the extremes whose differences wrap.
std::vector<std::pair<std::string, std::int32_t>> Mixture()
{
    const char* Pieces[] = {"a", "A", "b", "B", "\xC3\xA9", "_", "\xC3\x84", "1"};
    const std::int32_t Datas[] = {0, 1, -1, 2, INT32_MAX, INT32_MIN, 7};
    std::vector<std::pair<std::string, std::int32_t>> Result;
    unsigned Seed = 7;
    auto Next = [&Seed](unsigned N) { return ((Seed = Seed * 1103515245u + 12345u) >> 16 & 0x7FFF) % N; };
    for (int I = 0; I < 240; ++I) {
        std::string Text = I % 9 == 0 ? "A long shared beginning, then " : "";
        for (unsigned L = Next(4); L > 0; --L)
            Text += Pieces[Next(8)];
        Result.emplace_back(Text, Datas[Next(7)]);
    }
    return Result;
}

void* AsData(std::int32_t Value) { return reinterpret_cast<void*>(std::intptr_t(Value)); }

} // namespace

class SortOrders : public ModelFixture {
protected:
    TNodes ListOf(TlxTreeViewNode* Parent)
    {
        TNodes Result;
        for (TlxTreeViewNode* Node = Parent->GetFirstChild(); Node; Node = Node->GetNextSibling())
            Result.push_back(Node);
        return Result;
    }
    TNodes NativeOf(TlxTreeViewNode* Parent)
    {
        TNodes Result;
        const HWND Wnd = tree->Handle();
        for (auto Item = HTREEITEM(SendMessageA(Wnd, TVM_GETNEXTITEM, TVGN_CHILD, LPARAM(Parent->ItemId()))); Item;
             Item = HTREEITEM(SendMessageA(Wnd, TVM_GETNEXTITEM, TVGN_NEXT, LPARAM(Item))))
            Result.push_back(Items()->GetNode(Item));
        return Result;
    }
    // What the comparisons make of the current orders: the list by the rule, with the
    // lists' own sort; the items by the C library's collation, stable.
    std::pair<TNodes, TNodes> Expected(TlxTreeViewNode* Parent, TSortType Rule)
    {
        TlxTreeNodeList List;
        for (TlxTreeViewNode* Node : ListOf(Parent))
            List.Add(Node);
        RuleOfCompare = Rule;
        List.Sort(&ListCompare, 0);
        TNodes Native = NativeOf(Parent);
        std::stable_sort(Native.begin(), Native.end(), [](TlxTreeViewNode* A, TlxTreeViewNode* B) {
            return std::strcoll(A->Text().c_str(), B->Text().c_str()) < 0;
        });
        return {TNodes(List.List(), List.List() + List.Count()), Native};
    }
    // Two top-level parents; the first has the mixture, some of its children a share of it again.
    void Build()
    {
        Items()->Clear();
        TlxTreeViewNode* P = Items()->Add(nullptr, "P");
        Items()->Add(nullptr, "Q");
        for (const auto& [Text, Data] : Mixture())
            Items()->AddChildObject(P, Text, AsData(Data));
        int I = 0;
        for (const auto& [Text, Data] : Mixture())
            if (++I % 3 == 0)
                Items()->AddChildObject(P->Item(I % 40), Text, AsData(Data));
    }
    // Sorts with Sort and checks the first node's list (or with Deep every list that
    // has children) against Expected.
    template <typename SortFn>
    void Check(TSortType Rule, SortFn Sort, const char* What, bool Deep = true)
    {
        std::map<TlxTreeViewNode*, std::pair<TNodes, TNodes>> Wanted;
        for (TlxTreeViewNode* Node = Items()->GetFirstNode(); Node; Node = Deep ? Node->GetNext() : nullptr)
            if (Node->Count() > 0)
                Wanted[Node] = Expected(Node, Rule);
        Sort();
        for (const auto& [Parent, Orders] : Wanted) {
            EXPECT_EQ(ListOf(Parent), Orders.first) << What << " " << Parent->Text() << " rule " << Rule;
            EXPECT_EQ(NativeOf(Parent), Orders.second) << What << " " << Parent->Text() << " rule " << Rule;
        }
        EXPECT_EQ(Disagreements().find('#'), std::string::npos) << What; // indices renumbered
    }
};

TEST_F(SortOrders, DefaultSortsOrderAsTheirComparisonsDoInEveryCollation)
{
    const std::string Saved = std::setlocale(LC_COLLATE, nullptr);
    for (const char* Collation : {"C", "C.UTF-8"}) {
        if (!std::setlocale(LC_COLLATE, Collation))
            continue;
        for (TSortType Rule : {stText, stData, stBoth}) {
            Build();
            tree->SetSortType(stNone);
            Check(Rule, [&] { tree->SetSortType(Rule); }, "whole tree"); // every level
            Check(Rule, [&] { tree->AlphaSort(); }, "sorted again");   // from orders that differ
            TlxTreeViewNode* P = Items()->GetFirstNode();
            P->Item(5)->SetText("Zz"); // under the rule this re-sorts P's siblings and P
            Check(Rule, [&] { P->AlphaSort(); }, "one level", false);
        }
        Build();
        tree->SetSortType(stNone);
        Check(stText, [&] { Items()->GetFirstNode()->AlphaSort(); }, "without a sort type", false);
    }
    std::setlocale(LC_COLLATE, Saved.c_str());
    TlxTreeViewNode* Leaf = Items()->GetFirstNode()->GetNextSibling();
    EXPECT_TRUE(Leaf->AlphaSort());
    EXPECT_EQ(Leaf->Count(), 0);
}

// OnCompare sorts level after level in document order, and wherever it raises both
// orders still agree and no node is lost.
TEST_F(SortOrders, OnCompareSortsLevelsInDocumentOrderAndMayRaiseAnywhere)
{
    for (int T = 0; T < 3; ++T) {
        TlxTreeViewNode* Top = Items()->Add(nullptr, "t" + std::to_string(3 - T));
        for (int C = 0; C < 4; ++C) {
            TlxTreeViewNode* Child = Items()->AddChild(Top, "c" + std::to_string((C * 3) % 4));
            for (int G = 0; G < 3; ++G)
                Items()->AddChild(Child, "g" + std::to_string((G * 2 + C) % 3));
        }
    }
    std::vector<const TlxTreeViewNode*> Parents;
    int Left = -1, Calls = 0;
    tree->OnCompare = [&](TObject*, TlxTreeViewNode* N1, TlxTreeViewNode* N2, int, int& Compare) {
        ++Calls;
        if (Parents.empty() || Parents.back() != N1->Parent())
            Parents.push_back(N1->Parent());
        if (--Left == 0)
            throw std::runtime_error("compare");
        Compare = N1->Text().compare(N2->Text());
    };
    ASSERT_TRUE(tree->AlphaSort());
    std::vector<const TlxTreeViewNode*> InDocumentOrder{nullptr};
    for (TlxTreeViewNode* Node = Items()->GetFirstNode(); Node; Node = Node->GetNext())
        if (Node->Count() > 0)
            InDocumentOrder.push_back(Node);
    EXPECT_EQ(Parents, InDocumentOrder);
    EXPECT_EQ(Children(nullptr), "t1 t2 t3");
    EXPECT_EQ(Children(Items()->GetFirstNode()->GetFirstChild()), "g0 g1 g2");

    const int Needed = Calls;
    int Raised = 0;
    for (int Limit = 1; Limit <= Needed; Limit += 3) {
        Items()->GetFirstNode()->Item(Limit % 4)->SetText("c" + std::to_string(Limit)); // stNone: no re-sort
        Left = Limit;
        try {
            tree->AlphaSort();
        } catch (const std::runtime_error&) {
            ++Raised;
        }
        ASSERT_EQ(Disagreements(), "") << Limit;
        ASSERT_EQ(Items()->Count(), 51);
    }
    EXPECT_GT(Raised, Needed / 4);
}
