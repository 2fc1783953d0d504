#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "model/lxTreeView.h"

namespace {

// The list never looks at its entries, so any distinct addresses serve as nodes.
TlxTreeViewNode* Ref(int I)
{
    static char Slots[64];
    return reinterpret_cast<TlxTreeViewNode*>(&Slots[I]);
}

std::vector<TlxTreeViewNode*> Entries(const TlxTreeNodeList& List)
{
    std::vector<TlxTreeViewNode*> Result;
    for (int I = 0; I < List.Count(); ++I)
        Result.push_back(List[I]);
    return Result;
}

void Fill(TlxTreeNodeList& List, int N)
{
    for (int I = 0; I < N; ++I)
        List.Add(Ref(I));
}

// Expects an EListError whose message names Number.
template <typename Action>
void ExpectListError(Action&& Act, int Number)
{
    try {
        Act();
        ADD_FAILURE() << "no list error for " << Number;
    } catch (const EListError& E) {
        EXPECT_NE(std::string(E.what()).find("(" + std::to_string(Number) + ")"), std::string::npos) << E.what();
    }
}

} // namespace

TEST(NodeList, CapacityGrowsInTheDocumentedSteps)
{
    TlxTreeNodeList List;
    EXPECT_EQ(List.Capacity(), 0);
    EXPECT_EQ(List.List(), nullptr);
    std::vector<int> Seen;
    for (int I = 0; I < 100; ++I) {
        List.Add(Ref(0));
        if (Seen.empty() || Seen.back() != List.Capacity())
            Seen.push_back(List.Capacity());
    }
    EXPECT_EQ(Seen, (std::vector<int>{4, 8, 12, 28, 44, 60, 76, 95, 118}));
    List.Clear();
    EXPECT_EQ(List.Count(), 0);
    EXPECT_EQ(List.Capacity(), 0);
    EXPECT_EQ(List.List(), nullptr);
}

TEST(NodeList, CountChangesKeepCapacityAndPackDropsNulls)
{
    TlxTreeNodeList List;
    List.SetCount(10);
    EXPECT_EQ(List.Capacity(), 10);
    for (int I = 0; I < 10; ++I)
        EXPECT_EQ(List[I], nullptr);
    List.Pack();
    EXPECT_EQ(List.Count(), 0);
    EXPECT_EQ(List.Capacity(), 10);

    TlxTreeNodeList Five;
    Fill(Five, 5);
    Five.SetCount(2);
    EXPECT_EQ(Entries(Five), (std::vector<TlxTreeViewNode*>{Ref(0), Ref(1)}));
    EXPECT_EQ(Five.Capacity(), 8);

    TlxTreeNodeList Gaps;
    Gaps.Add(Ref(1));
    Gaps.Add(nullptr);
    Gaps.Add(Ref(2));
    Gaps.Add(nullptr);
    Gaps.Pack();
    EXPECT_EQ(Entries(Gaps), (std::vector<TlxTreeViewNode*>{Ref(1), Ref(2)}));

    ExpectListError([&] { List.SetCount(-1); }, -1);
    ExpectListError([&] { List.SetCount(TlxTreeNodeList::MaxListSize + 1); }, TlxTreeNodeList::MaxListSize + 1);
}

TEST(NodeList, ErrorsNameTheNumberAndChangeNothing)
{
    TlxTreeNodeList List;
    Fill(List, 5);
    const auto Before = Entries(List);

    ExpectListError([&] { List.SetCapacity(3); }, 3);
    EXPECT_EQ(List.Capacity(), 8);
    ExpectListError([&] { List.Insert(6, Ref(9)); }, 6);
    ExpectListError([&] { List.Insert(-1, Ref(9)); }, -1);
    ExpectListError([&] { List.Delete(5); }, 5);
    ExpectListError([&] { List.Get(-1); }, -1);
    ExpectListError([&] { List.Put(5, Ref(9)); }, 5);
    ExpectListError([&] { List.Exchange(0, 7); }, 7);
    ExpectListError([&] { List.Exchange(-2, 7); }, -2);
    ExpectListError([&] { List.Move(0, 5); }, 5);
    ExpectListError([&] { List.Move(9, 0); }, 9);
    EXPECT_EQ(Entries(List), Before);

    TlxTreeNodeList Empty;
    ExpectListError([&] { Empty.First(); }, 0);
    ExpectListError([&] { Empty.Last(); }, -1);
    Empty.Move(2, 2); // the same index is no move, even out of range
}

TEST(NodeList, EditingOperations)
{
    TlxTreeNodeList List;
    Fill(List, 3);
    List.Insert(3, Ref(3)); // Insert at Count appends
    List.Insert(0, Ref(4));
    EXPECT_EQ(Entries(List), (std::vector<TlxTreeViewNode*>{Ref(4), Ref(0), Ref(1), Ref(2), Ref(3)}));
    List.Move(0, 4);
    EXPECT_EQ(Entries(List), (std::vector<TlxTreeViewNode*>{Ref(0), Ref(1), Ref(2), Ref(3), Ref(4)}));
    List.Exchange(1, 3);
    EXPECT_EQ(Entries(List), (std::vector<TlxTreeViewNode*>{Ref(0), Ref(3), Ref(2), Ref(1), Ref(4)}));
    List.Put(2, Ref(7));
    EXPECT_EQ(List.First(), Ref(0));
    EXPECT_EQ(List.Last(), Ref(4));
    EXPECT_EQ(List.IndexOf(Ref(7)), 2);
    EXPECT_EQ(List.IndexOf(Ref(9)), -1);

    List.Add(Ref(3)); // now twice
    EXPECT_EQ(List.Remove(Ref(3)), 1);
    EXPECT_EQ(List.IndexOf(Ref(3)), 4);
    EXPECT_EQ(List.Remove(Ref(9)), -1);

    TlxTreeNodeList Full;
    Fill(Full, 4);
    EXPECT_EQ(Full.Expand(), &Full);
    EXPECT_EQ(Full.Capacity(), 8);
    EXPECT_EQ(Full.Expand()->Capacity(), 8);
}

// Entries deleted from the front leave room that later additions reuse; the order and
// the capacity are what the plain array gives.
TEST(NodeList, DeletingFromTheFrontKeepsOrderAndCapacity)
{
    TlxTreeNodeList List;
    Fill(List, 12);
    const int Capacity = List.Capacity();
    for (int I = 0; I < 5; ++I)
        List.Delete(0);
    EXPECT_EQ(List.Capacity(), Capacity);
    EXPECT_EQ(List.First(), Ref(5));
    for (int I = 12; I < 17; ++I)
        List.Add(Ref(I)); // fills the freed room, no growth
    EXPECT_EQ(List.Capacity(), Capacity);
    List.Insert(1, Ref(40));
    List.Delete(0);
    List.SetCount(List.Count() + 1);
    std::vector<TlxTreeViewNode*> Expected{Ref(40)};
    for (int I = 6; I < 17; ++I)
        Expected.push_back(Ref(I));
    Expected.push_back(nullptr);
    EXPECT_EQ(Entries(List), Expected);
    List.SetCapacity(List.Count());
    EXPECT_EQ(Entries(List), Expected);
    while (List.Count() > 0)
        List.Delete(0);
    List.Add(Ref(1));
    EXPECT_EQ(Entries(List), (std::vector<TlxTreeViewNode*>{Ref(1)}));
}

// Deletions anywhere, mixed with additions and insertions, against a plain vector: the
// entries, their order and the capacity hold whichever side of a deletion moves.
TEST(NodeList, DeletingAnywhereKeepsOrderAndCapacity)
{
    TlxTreeNodeList List;
    std::vector<TlxTreeViewNode*> Expected;
    for (int I = 0; I < 40; ++I) {
        List.Add(Ref(I));
        Expected.push_back(Ref(I));
    }
    const int Capacity = List.Capacity();
    int Next = 40;
    for (int Step = 0; Step < 300; ++Step) {
        const int At = (Step * 17) % List.Count();
        List.Delete(At);
        Expected.erase(Expected.begin() + At);
        if (Step % 3 == 0) {
            List.Add(Ref(Next % 64));
            Expected.push_back(Ref(Next++ % 64));
        } else if (Step % 3 == 1) {
            const int Where = Step % (List.Count() + 1);
            List.Insert(Where, Ref(Next % 64));
            Expected.insert(Expected.begin() + Where, Ref(Next++ % 64));
        }
        ASSERT_EQ(Entries(List), Expected) << "after step " << Step;
        if (List.Count() < 8)
            break;
    }
    EXPECT_EQ(List.Capacity(), Capacity); // never more entries than at the start
    while (List.Count() > 0) {
        List.Delete(List.Count() / 2);
        Expected.erase(Expected.begin() + std::ptrdiff_t(Expected.size() / 2));
        ASSERT_EQ(Entries(List), Expected);
    }
}

namespace {

// Entries are addresses into Keys; the comparison reads the key behind each address.
int Keys[16];
int CompareKeys(LPARAM A, LPARAM B, LPARAM Data)
{
    const int Left = *reinterpret_cast<int*>(A);
    const int Right = *reinterpret_cast<int*>(B);
    return int(Data) * (Left - Right);
}
int CompareNone(LPARAM, LPARAM, LPARAM) { return 0; }
int AlwaysLess(LPARAM, LPARAM, LPARAM) { return -1; }
int AlwaysMore(LPARAM, LPARAM, LPARAM) { return 1; }

TlxTreeViewNode* Key(int I) { return reinterpret_cast<TlxTreeViewNode*>(&Keys[I]); }

} // namespace

TEST(NodeList, SortIsTheUnstableQuicksort)
{
    const int Values[] = {5, 3, 9, 1, 3, 7, 0, 3};
    TlxTreeNodeList List;
    for (int I = 0; I < 8; ++I) {
        Keys[I] = Values[I];
        List.Add(Key(I));
    }
    List.Sort(CompareKeys, 1);
    std::vector<int> Sorted;
    for (int I = 0; I < List.Count(); ++I)
        Sorted.push_back(*reinterpret_cast<int*>(List[I]));
    EXPECT_EQ(Sorted, (std::vector<int>{0, 1, 3, 3, 3, 5, 7, 9}));
    // The three equal keys end in the order that this partitioning (middle pivot,
    // left part first) gives, which is not their original order.
    EXPECT_EQ(List[2], Key(4));
    EXPECT_EQ(List[3], Key(7));
    EXPECT_EQ(List[4], Key(1));

    List.Sort(CompareKeys, -1); // Data reaches the comparison
    EXPECT_EQ(*reinterpret_cast<int*>(List[0]), 9);

    // All equal: every entry stays, the order may change.
    TlxTreeNodeList Same;
    Fill(Same, 7);
    Same.Sort(CompareNone, 0);
    auto Kept = Entries(Same);
    std::sort(Kept.begin(), Kept.end());
    std::vector<TlxTreeViewNode*> All;
    for (int I = 0; I < 7; ++I)
        All.push_back(Ref(I));
    EXPECT_EQ(Kept, All);

    // A comparison that contradicts itself neither runs off the list nor hangs.
    for (auto Compare : {AlwaysLess, AlwaysMore}) {
        TlxTreeNodeList Odd;
        Fill(Odd, 9);
        Odd.Sort(Compare, 0);
        auto Rest = Entries(Odd);
        std::sort(Rest.begin(), Rest.end());
        std::vector<TlxTreeViewNode*> Nine(All.begin(), All.end());
        Nine.push_back(Ref(7));
        Nine.push_back(Ref(8));
        EXPECT_EQ(Rest, Nine);
    }
    TlxTreeNodeList Empty;
    Empty.Sort(CompareKeys, 1);
}
