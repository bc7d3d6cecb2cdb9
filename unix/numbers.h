// Whole numbers from the displays' fractional coordinates, and points kept within a range: the
// few roundings the gauge makes, without the maths library.
#pragma once

#include <stdint.h>

// A value kept within [low, high]; a value that is no number at all counts as low.
inline double Clamp(double x, double low, double high)
{
    return x >= low ? (x <= high ? x : high) : low;
}

// The largest whole number not above x, for any x within 2^62.
inline int64_t Floor(double x)
{
    const double FAR = 4611686018427387904.0; // 2^62, well inside 64 bits
    x = Clamp(x, -FAR, FAR);
    int64_t whole = int64_t(x);
    return double(whole) > x ? whole - 1 : whole;
}

// The nearest whole number, halves away from zero.
inline int64_t Nearest(double x)
{
    return x < 0 ? -Floor(-x + 0.5) : Floor(x + 0.5);
}

inline double Distance(double a, double b)
{
    return a < b ? b - a : a - b;
}
