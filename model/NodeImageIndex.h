#pragma once
// An image list index of a node in one or two bytes. Indices that do not fit (a list
// of more than 32,766 images, or an application's own meaning of a wide value) are
// kept in a table on the side, so every int reads back exactly as it was set.
#include <cstdint>
#include <limits>

template <class TStore>
class TNodeImageIndex {
public:
    TNodeImageIndex() noexcept = default;
    ~TNodeImageIndex() { if (FValue == kWide) ForgetWide(); }
    TNodeImageIndex(const TNodeImageIndex&) = delete;
    TNodeImageIndex& operator=(const TNodeImageIndex&) = delete;

    operator int() const { return FValue != kWide ? FValue : WideValue(); }
    TNodeImageIndex& operator=(int Value);

private:
    static constexpr TStore kWide = std::numeric_limits<TStore>::min();
    int WideValue() const;
    void ForgetWide() noexcept;

    TStore FValue = -1;
};

extern template class TNodeImageIndex<std::int16_t>;
extern template class TNodeImageIndex<std::int8_t>;
