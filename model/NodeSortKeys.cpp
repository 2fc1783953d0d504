// Sort keys of a child list: folded texts and data for the child list's order,
// collation keys for the native items' order.
#include "model/NodeSortKeys.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>

#include "model/QuickSort.h"

namespace lxModel {

std::int32_t SortData(const TlxTreeViewNode* Node)
{
    return std::int32_t(std::uint32_t(reinterpret_cast<std::uintptr_t>(Node->Data())));
}

int DataDifference(std::int32_t A, std::int32_t B)
{
    return int(std::uint32_t(A) - std::uint32_t(B));
}

namespace {

// The first sixteen bytes of a key as two big-endian numbers, padded with zeros:
// unequal prefixes order as the keys do, so most comparisons (all, for short texts
// that differ) need neither the key's bytes nor memcmp.
struct TPrefix {
    std::uint64_t High;
    std::uint64_t Low;
};

std::uint64_t WordAt(std::string_view Key, std::size_t From)
{
    std::uint64_t Word = 0;
    for (std::size_t I = From; I < From + 8; ++I)
        Word = Word << 8 | (I < Key.size() ? static_cast<unsigned char>(Key[I]) : 0u);
    return Word;
}

TPrefix PrefixOf(std::string_view Key) { return {WordAt(Key, 0), WordAt(Key, 8)}; }

// The sign of A.compare(B), from the prefixes when they differ.
int ComparePrefixed(const TPrefix& PrefixA, std::string_view A, const TPrefix& PrefixB, std::string_view B)
{
    if (PrefixA.High != PrefixB.High)
        return PrefixA.High < PrefixB.High ? -1 : 1;
    if (PrefixA.Low != PrefixB.Low)
        return PrefixA.Low < PrefixB.Low ? -1 : 1;
    return A.compare(B);
}

struct TModelKey {
    TPrefix Prefix;
    std::string_view Folded;
    std::int32_t Data;
    TlxTreeViewNode* Node;
};

// Function objects rather than functions, so that each sort inlines its comparison.
struct TByFolded {
    int operator()(const TModelKey& A, const TModelKey& B) const
    {
        return ComparePrefixed(A.Prefix, A.Folded, B.Prefix, B.Folded);
    }
};
struct TByData {
    int operator()(const TModelKey& A, const TModelKey& B) const { return DataDifference(A.Data, B.Data); }
};
struct TByFoldedThenData {
    int operator()(const TModelKey& A, const TModelKey& B) const
    {
        const int ByText = TByFolded()(A, B);
        return ByText != 0 ? ByText : TByData()(A, B);
    }
};

// The keys of the children; the folded texts (only when the rule reads text) live in Folds.
std::vector<TModelKey> ModelKeys(TlxTreeViewNode* const* Children, int Count, bool WithText, std::string& Folds)
{
    if (WithText) {
        std::size_t Total = 0;
        for (int I = 0; I < Count; ++I)
            Total += Children[I]->TextView().size();
        Folds.reserve(Total); // no reallocation below: the views into it stay valid
    }
    std::vector<TModelKey> Keys;
    Keys.reserve(std::size_t(Count));
    for (int I = 0; I < Count; ++I) {
        TlxTreeViewNode* Node = Children[I];
        std::string_view Folded;
        if (WithText) {
            const std::size_t Start = Folds.size();
            AppendTextFold(Folds, Node->TextView());
            Folded = std::string_view(Folds).substr(Start);
        }
        Keys.push_back({PrefixOf(Folded), Folded, SortData(Node), Node});
    }
    return Keys;
}

template <typename Compare>
void SortKeys(std::vector<TModelKey>& Keys, Compare Cmp)
{
    lxModel::QuickSort(Keys.data(), 0, int(Keys.size()) - 1, Cmp);
}

struct TNativeKey {
    TPrefix Prefix;
    std::size_t Offset;
    std::size_t Length;
    UINT Index; // of the child
};

// Appends the collation key of Text (up to its first NUL, as strcoll reads it) to
// Keys[Used..], growing Keys as needed, and returns the key's length.
std::size_t AppendCollationKey(std::vector<char>& Keys, std::size_t Used, const std::string& Text)
{
    std::size_t Room = Keys.size() - Used;
    std::size_t Length = std::strxfrm(Keys.data() + Used, Text.c_str(), Room);
    if (Length >= Room) {
        Keys.resize(std::max(Keys.size() * 2, Used + Length + 1));
        Length = std::strxfrm(Keys.data() + Used, Text.c_str(), Length + 1);
    }
    return Length;
}

} // namespace

std::vector<TlxTreeViewNode*> ModelKeyOrder(TlxTreeViewNode* const* Children, int Count, TSortType SortType)
{
    std::string Folds;
    std::vector<TModelKey> Keys = ModelKeys(Children, Count, SortType != stData, Folds);
    if (Count > 0) {
        switch (SortType) {
        case stData: SortKeys(Keys, TByData()); break;
        case stBoth: SortKeys(Keys, TByFoldedThenData()); break;
        default: SortKeys(Keys, TByFolded()); break;
        }
    }
    std::vector<TlxTreeViewNode*> Order;
    Order.reserve(Keys.size());
    for (const TModelKey& Key : Keys)
        Order.push_back(Key.Node);
    return Order;
}

TNativeRanks NativeKeyRanks(TlxTreeViewNode* const* Children, int Count)
{
    TNativeRanks Result;
    Result.Items.reserve(std::size_t(Count));
    std::vector<TNativeKey> Keys;
    Keys.reserve(std::size_t(Count));
    std::vector<char> Collation(std::size_t(Count) * 16 + 64);
    std::size_t Used = 0;
    std::string Text; // terminated, as strxfrm wants it; reused for every child
    for (int I = 0; I < Count; ++I) {
        Text.assign(Children[I]->TextView());
        const std::size_t Length = AppendCollationKey(Collation, Used, Text);
        Keys.push_back({{0, 0}, Used, Length, UINT(I)});
        Result.Items.push_back(Children[I]->ItemId());
        Used += Length;
    }
    const char* Base = Collation.data(); // final now: the keys' prefixes can be read
    auto Key = [Base](const TNativeKey& K) { return std::string_view(Base + K.Offset, K.Length); };
    for (TNativeKey& K : Keys)
        K.Prefix = PrefixOf(Key(K));
    auto Compare = [&Key](const TNativeKey& A, const TNativeKey& B) {
        return ComparePrefixed(A.Prefix, Key(A), B.Prefix, Key(B));
    };
    std::sort(Keys.begin(), Keys.end(), [&Compare](const TNativeKey& A, const TNativeKey& B) { return Compare(A, B) < 0; });
    Result.Ranks.resize(Keys.size());
    UINT Rank = 0;
    for (std::size_t I = 0; I < Keys.size(); ++I) {
        if (I > 0 && Compare(Keys[I - 1], Keys[I]) != 0)
            ++Rank;
        Result.Ranks[Keys[I].Index] = Rank;
    }
    return Result;
}

} // namespace lxModel
