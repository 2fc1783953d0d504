#include "model/NodeImageIndex.h"

#include <unordered_map>

namespace {

// The wide values, by the address of the index that holds them. Never destroyed:
// nodes owned by static objects may outlive any static table.
std::unordered_map<const void*, int>& WideValues()
{
    static auto* Values = new std::unordered_map<const void*, int>;
    return *Values;
}

} // namespace

template <class TStore>
TNodeImageIndex<TStore>& TNodeImageIndex<TStore>::operator=(int Value)
{
    if (Value > kWide && Value <= std::numeric_limits<TStore>::max()) {
        if (FValue == kWide)
            ForgetWide();
        FValue = TStore(Value);
    } else {
        WideValues()[this] = Value;
        FValue = kWide;
    }
    return *this;
}

template <class TStore>
int TNodeImageIndex<TStore>::WideValue() const
{
    return WideValues().at(this);
}

template <class TStore>
void TNodeImageIndex<TStore>::ForgetWide() noexcept
{
    WideValues().erase(this);
}

template class TNodeImageIndex<std::int16_t>;
template class TNodeImageIndex<std::int8_t>;
