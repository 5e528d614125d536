#pragma once

// Four numbers worked on side by side. A kernel written with these reads like
// the scalar code it stands for, one lane per item: `a * b + c` multiplies and
// adds in each lane. Every operation rounds exactly as the same scalar
// operation does (IEEE add, subtract, multiply, divide, square root, the
// double-to-float conversion), and none is fused, so a lane's result is the
// scalar result to the last bit.
//
// On x86-64 the lanes are SSE2 registers, which every such processor has;
// elsewhere they are plain arrays that the compiler may vectorise itself.

#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#if defined(__SSE2__)

// Four doubles, as two SSE2 registers.
struct Doubles4 {
    __m128d lo;  // lanes 0 and 1
    __m128d hi;  // lanes 2 and 3
};

// Four floats in one SSE register.
struct Floats4 {
    __m128 v;
};

inline Doubles4 Broadcast(double x) { return {_mm_set1_pd(x), _mm_set1_pd(x)}; }
inline Doubles4 Lanes(double a, double b, double c, double d) {
    return {_mm_setr_pd(a, b), _mm_setr_pd(c, d)};
}
inline Doubles4 operator+(Doubles4 a, Doubles4 b) {
    return {_mm_add_pd(a.lo, b.lo), _mm_add_pd(a.hi, b.hi)};
}
inline Doubles4 operator-(Doubles4 a, Doubles4 b) {
    return {_mm_sub_pd(a.lo, b.lo), _mm_sub_pd(a.hi, b.hi)};
}
inline Doubles4 operator*(Doubles4 a, Doubles4 b) {
    return {_mm_mul_pd(a.lo, b.lo), _mm_mul_pd(a.hi, b.hi)};
}
inline Doubles4 operator/(Doubles4 a, Doubles4 b) {
    return {_mm_div_pd(a.lo, b.lo), _mm_div_pd(a.hi, b.hi)};
}
inline Doubles4 Sqrt(Doubles4 a) { return {_mm_sqrt_pd(a.lo), _mm_sqrt_pd(a.hi)}; }

// Per lane: `whereZero` where `test` is 0 (or -0), `otherwise` elsewhere.
inline Doubles4 SelectWhereZero(Doubles4 test, Doubles4 whereZero, Doubles4 otherwise) {
    const __m128d zero = _mm_setzero_pd();
    const __m128d lo = _mm_cmpeq_pd(test.lo, zero);
    const __m128d hi = _mm_cmpeq_pd(test.hi, zero);
    return {_mm_or_pd(_mm_and_pd(lo, whereZero.lo), _mm_andnot_pd(lo, otherwise.lo)),
            _mm_or_pd(_mm_and_pd(hi, whereZero.hi), _mm_andnot_pd(hi, otherwise.hi))};
}

// Each lane rounded to a float, as static_cast<float> rounds it.
inline Floats4 ToFloats(Doubles4 a) {
    return {_mm_movelh_ps(_mm_cvtpd_ps(a.lo), _mm_cvtpd_ps(a.hi))};
}

// Per lane: `value < least ? value : least`, which is what
// `if (value < least) least = value;` leaves (a NaN never replaces).
inline Floats4 KeepLess(Floats4 value, Floats4 least) { return {_mm_min_ps(value.v, least.v)}; }
// Per lane: `value > most ? value : most`.
inline Floats4 KeepGreater(Floats4 value, Floats4 most) { return {_mm_max_ps(value.v, most.v)}; }

// Each lane widened to a double, exactly.
inline Doubles4 ToDoubles(Floats4 a) {
    return {_mm_cvtps_pd(a.v), _mm_cvtps_pd(_mm_movehl_ps(a.v, a.v))};
}

// Per lane: `a > b ? whereGreater : otherwise` (a NaN takes `otherwise`).
inline Doubles4 SelectWhereGreater(Doubles4 a, Doubles4 b, Doubles4 whereGreater,
                                   Doubles4 otherwise) {
    const __m128d lo = _mm_cmpgt_pd(a.lo, b.lo);
    const __m128d hi = _mm_cmpgt_pd(a.hi, b.hi);
    return {_mm_or_pd(_mm_and_pd(lo, whereGreater.lo), _mm_andnot_pd(lo, otherwise.lo)),
            _mm_or_pd(_mm_and_pd(hi, whereGreater.hi), _mm_andnot_pd(hi, otherwise.hi))};
}

// Whether any of the first `count` lanes (1 to 4) is above 0.
inline bool AnyAboveZero(Floats4 a, int32_t count) {
    const int above = _mm_movemask_ps(_mm_cmpgt_ps(a.v, _mm_setzero_ps()));
    return (above & ((1 << count) - 1)) != 0;
}

// Whether any of the first `count` lanes (1 to 4) is below 0.
inline bool AnyBelowZero(Floats4 a, int32_t count) {
    const int below = _mm_movemask_ps(_mm_cmplt_ps(a.v, _mm_setzero_ps()));
    return (below & ((1 << count) - 1)) != 0;
}

inline Doubles4 Load(const double in[4]) { return {_mm_loadu_pd(in), _mm_loadu_pd(in + 2)}; }
inline void Store(Floats4 a, float out[4]) { _mm_storeu_ps(out, a.v); }
inline void Store(Doubles4 a, double out[4]) {
    _mm_storeu_pd(out, a.lo);
    _mm_storeu_pd(out + 2, a.hi);
}

#else

struct Doubles4 {
    double v[4];
};
struct Floats4 {
    float v[4];
};

template <typename F>
inline Doubles4 PerLane(F f) {
    return {{f(0), f(1), f(2), f(3)}};
}
inline Doubles4 Broadcast(double x) { return {{x, x, x, x}}; }
inline Doubles4 Lanes(double a, double b, double c, double d) { return {{a, b, c, d}}; }
inline Doubles4 operator+(Doubles4 a, Doubles4 b) {
    return PerLane([&](int i) { return a.v[i] + b.v[i]; });
}
inline Doubles4 operator-(Doubles4 a, Doubles4 b) {
    return PerLane([&](int i) { return a.v[i] - b.v[i]; });
}
inline Doubles4 operator*(Doubles4 a, Doubles4 b) {
    return PerLane([&](int i) { return a.v[i] * b.v[i]; });
}
inline Doubles4 operator/(Doubles4 a, Doubles4 b) {
    return PerLane([&](int i) { return a.v[i] / b.v[i]; });
}
inline Doubles4 Sqrt(Doubles4 a) {
    return PerLane([&](int i) { return __builtin_sqrt(a.v[i]); });
}
inline Doubles4 SelectWhereZero(Doubles4 test, Doubles4 whereZero, Doubles4 otherwise) {
    return PerLane([&](int i) { return test.v[i] == 0 ? whereZero.v[i] : otherwise.v[i]; });
}
inline Floats4 ToFloats(Doubles4 a) {
    return {{static_cast<float>(a.v[0]), static_cast<float>(a.v[1]), static_cast<float>(a.v[2]),
             static_cast<float>(a.v[3])}};
}
inline Floats4 KeepLess(Floats4 value, Floats4 least) {
    Floats4 r;
    for (int i = 0; i < 4; ++i) r.v[i] = value.v[i] < least.v[i] ? value.v[i] : least.v[i];
    return r;
}
inline Floats4 KeepGreater(Floats4 value, Floats4 most) {
    Floats4 r;
    for (int i = 0; i < 4; ++i) r.v[i] = value.v[i] > most.v[i] ? value.v[i] : most.v[i];
    return r;
}
inline Doubles4 ToDoubles(Floats4 a) { return {{a.v[0], a.v[1], a.v[2], a.v[3]}}; }
inline Doubles4 SelectWhereGreater(Doubles4 a, Doubles4 b, Doubles4 whereGreater,
                                   Doubles4 otherwise) {
    return PerLane([&](int i) { return a.v[i] > b.v[i] ? whereGreater.v[i] : otherwise.v[i]; });
}
inline bool AnyAboveZero(Floats4 a, int32_t count) {
    for (int i = 0; i < count; ++i) {
        if (a.v[i] > 0) return true;
    }
    return false;
}
inline bool AnyBelowZero(Floats4 a, int32_t count) {
    for (int i = 0; i < count; ++i) {
        if (a.v[i] < 0) return true;
    }
    return false;
}
inline Doubles4 Load(const double in[4]) { return {{in[0], in[1], in[2], in[3]}}; }
inline void Store(Floats4 a, float out[4]) {
    for (int i = 0; i < 4; ++i) out[i] = a.v[i];
}
inline void Store(Doubles4 a, double out[4]) {
    for (int i = 0; i < 4; ++i) out[i] = a.v[i];
}

#endif
