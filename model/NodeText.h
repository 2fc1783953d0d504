#pragma once
// A node's text in 12 bytes. Texts of up to 11 characters (most labels) sit inside
// the object; longer ones live in one heap block that starts with their length. A
// std::string would take 32 bytes of every node of a million-node tree.
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

class TNodeText {
public:
    TNodeText() noexcept { FBytes[kTag] = 0; }
    ~TNodeText() { Release(); }
    TNodeText(const TNodeText&) = delete;
    TNodeText& operator=(const TNodeText&) = delete;

    // Any value, also a view of this text's own characters.
    void Assign(std::string_view S);

    std::string_view View() const { return OnHeap() ? HeapView() : std::string_view(FBytes, std::size_t(FBytes[kTag])); }
    std::string Str() const { return std::string(View()); }

    static constexpr std::size_t kInlineCapacity = 11;

private:
    static constexpr int kTag = 11;             // byte holding the inline length, or kOnHeap
    static constexpr char kOnHeap = char(0x7F);
    using TLength = std::uint32_t;               // at the start of a heap block

    bool OnHeap() const { return FBytes[kTag] == kOnHeap; }
    // The block's address is kept in the first eight bytes, unaligned: the object has
    // no alignment of its own, so that the node packs it with a 4-byte field.
    char* Block() const { char* B; std::memcpy(&B, FBytes, sizeof B); return B; }
    std::string_view HeapView() const
    {
        const char* B = Block();
        TLength Length;
        std::memcpy(&Length, B, sizeof Length);
        return {B + sizeof Length, Length};
    }
    void Release() noexcept;

    char FBytes[12];
};
static_assert(sizeof(TNodeText) == 12, "a node's text takes 12 bytes");
