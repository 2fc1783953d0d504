#pragma once
// Free places kept as a bitmap and handed out lowest first, so that memory refilled after
// deletions is used in address order again. Bit i of Words is set while place i is free;
// FirstWord is a hint: no word before it has a set bit.
#include <cstddef>
#include <cstdint>

namespace FreeBits {

inline void Give(std::uint64_t* Words, std::size_t& FirstWord, std::size_t Place)
{
    Words[Place / 64] |= std::uint64_t(1) << (Place % 64);
    if (Place / 64 < FirstWord)
        FirstWord = Place / 64;
}

// The lowest free place, now taken. One must be free.
inline std::size_t TakeLowest(std::uint64_t* Words, std::size_t& FirstWord)
{
    std::size_t Word = FirstWord;
    while (Words[Word] == 0)
        ++Word;
    FirstWord = Word;
    const unsigned Bit = unsigned(__builtin_ctzll(Words[Word]));
    Words[Word] &= Words[Word] - 1;
    return Word * 64 + Bit;
}

} // namespace FreeBits
