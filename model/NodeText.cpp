#include "model/NodeText.h"

#include <limits>
#include <stdexcept>

void TNodeText::Assign(std::string_view S)
{
    if (S.size() <= kInlineCapacity) {
        char Chars[kInlineCapacity];
        std::memcpy(Chars, S.data(), S.size()); // S may point into this text
        Release();
        std::memcpy(FBytes, Chars, S.size());
        FBytes[kTag] = char(S.size());
        return;
    }
    if (S.size() >= std::numeric_limits<TLength>::max() - sizeof(TLength))
        throw std::length_error("node text too long");
    const auto Length = TLength(S.size());
    char* B = new char[sizeof Length + S.size()];
    std::memcpy(B, &Length, sizeof Length);
    std::memcpy(B + sizeof Length, S.data(), S.size());
    Release();
    std::memcpy(FBytes, &B, sizeof B);
    FBytes[kTag] = kOnHeap;
}

void TNodeText::Release() noexcept
{
    if (OnHeap())
        delete[] Block();
    FBytes[kTag] = 0;
}
