#pragma once
// The child lists' sort, for any element type: the order it leaves equal elements in
// is part of the behaviour, so every sort of a child list runs this one algorithm.
namespace lxModel {

// Sorts List[L..R] by Compare(a, b) (negative, zero or positive). The pivot is a copy
// of the middle entry, so it stays the same while entries move; the left part
// recurses and the right part loops. The scans stop at the ends of the range and each
// round makes progress: a consistent comparison never needs that (the pivot stops
// both scans), but one from application code that is not consistent must neither run
// off the storage nor loop forever.
template <typename T, typename Compare>
void QuickSort(T* List, int L, int R, Compare& Cmp)
{
    int I;
    do {
        I = L;
        int J = R;
        const T P = List[(L + R) >> 1];
        do {
            while (I <= R && Cmp(List[I], P) < 0)
                ++I;
            while (J >= L && Cmp(List[J], P) > 0)
                --J;
            if (I > R)
                I = R;
            if (J < L)
                J = L;
            if (I <= J) {
                const T Swapped = List[I];
                List[I] = List[J];
                List[J] = Swapped;
                ++I;
                --J;
            }
        } while (I <= J);
        if (L < J)
            QuickSort(List, L, J, Cmp);
        L = I;
    } while (I < R);
}

} // namespace lxModel
