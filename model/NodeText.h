#pragma once
// A node's text in 16 bytes. Texts of up to 15 characters (most labels) sit inside
// the object; longer ones live in one heap block. A std::string would take 32 bytes
// of every node of a million-node tree.
#include <cstdint>
#include <string>
#include <string_view>

class TNodeText {
public:
    TNodeText() noexcept { FInline[kTag] = 0; }
    ~TNodeText() { Release(); }
    TNodeText(const TNodeText&) = delete;
    TNodeText& operator=(const TNodeText&) = delete;

    // Any value, also a view of this text's own characters.
    void Assign(std::string_view S);

    std::string_view View() const { return OnHeap() ? std::string_view(FHeap.Chars, FHeap.Size) : std::string_view(FInline, FInline[kTag]); }
    std::string Str() const { return std::string(View()); }

    static constexpr std::size_t kInlineCapacity = 15;

private:
    static constexpr int kTag = 15;             // byte holding the inline length, or kOnHeap
    static constexpr char kOnHeap = char(0x7F);
    bool OnHeap() const { return FInline[kTag] == kOnHeap; }
    void Release() noexcept;

    struct THeap {
        char* Chars;
        std::uint32_t Size;
    };
    union {
        THeap FHeap;
        char FInline[16];
    };
};
static_assert(sizeof(TNodeText) == 16, "a node's text takes 16 bytes");
