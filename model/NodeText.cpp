#include "model/NodeText.h"

#include <cstdint>
#include <cstring>
#include <limits>
#include <stdexcept>

void TNodeText::Assign(std::string_view S)
{
    if (S.size() <= kInlineCapacity) {
        char Chars[kInlineCapacity];
        std::memcpy(Chars, S.data(), S.size()); // S may point into this text
        Release();
        std::memcpy(FInline, Chars, S.size());
        FInline[kTag] = char(S.size());
        return;
    }
    if (S.size() >= std::numeric_limits<std::uint32_t>::max())
        throw std::length_error("node text too long");
    char* Chars = new char[S.size()];
    std::memcpy(Chars, S.data(), S.size());
    Release();
    FHeap.Chars = Chars;
    FHeap.Size = std::uint32_t(S.size());
    FInline[kTag] = kOnHeap;
}

void TNodeText::Release() noexcept
{
    if (OnHeap())
        delete[] FHeap.Chars;
    FInline[kTag] = 0;
}
