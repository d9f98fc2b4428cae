#pragma once

#include <charconv>
#include <cmath>
#include <cstring>
#include <system_error>

// Shared rules of the mesh readers for text lines and numbers.

// Coordinates are millimetres; anything beyond a kilometre is damage, not a part (the slice
// engine works in 32-bit micrometres, about +-2 m).
constexpr float kMaxCoordinateMm = 1.0e6f;

// True for a coordinate a reader may keep: finite and within +-kMaxCoordinateMm.
inline bool usableCoordinate(float v)
{
    return std::isfinite(v) && std::fabs(v) <= kMaxCoordinateMm;
}

// Skips a UTF-8 byte-order mark at b (editors on Windows write one before text).
inline const char *skipByteOrderMark(const char *b, const char *e)
{
    if (e - b >= 3 && std::memcmp(b, "\xEF\xBB\xBF", 3) == 0)
        return b + 3;
    return b;
}

// The end of the line that starts at p: a line ends at "\n", "\r\n" or a lone "\r" (old Mac
// files), so files of every convention have the same lines. *next is where the following
// line starts.
inline const char *lineEndOf(const char *p, const char *e, const char **next)
{
    const char *q = p;
    while (q < e && *q != '\n' && *q != '\r')
        ++q;
    if (q >= e)
        *next = e;
    else if (*q == '\r' && q + 1 < e && q[1] == '\n')
        *next = q + 2;
    else
        *next = q + 1;
    return q;
}

enum class NumberProblem {
    None,
    NotANumber,
    NotFinite,  // "nan", "inf"
    OutOfRange, // beyond float range or beyond kMaxCoordinateMm
};

// Reads a coordinate at p (a leading '+' allowed) and advances p past it. Values too small for a
// float read as 0; too large, non-finite or beyond kMaxCoordinateMm are refused.
inline NumberProblem parseCoordinate(const char *&p, const char *e, float *value)
{
    if (p < e && *p == '+')
        ++p;
    float v = 0.0f;
    const std::from_chars_result r = std::from_chars(p, e, v);
    if (r.ec == std::errc::result_out_of_range) {
        // Underflow (a negative exponent) is zero; overflow is damage.
        const char *x = p;
        while (x < r.ptr && *x != 'e' && *x != 'E')
            ++x;
        p = r.ptr;
        if (x + 1 < r.ptr && x[1] == '-') {
            *value = 0.0f;
            return NumberProblem::None;
        }
        return NumberProblem::OutOfRange;
    }
    if (r.ec != std::errc())
        return NumberProblem::NotANumber;
    p = r.ptr;
    *value = v;
    if (!std::isfinite(v))
        return NumberProblem::NotFinite;
    if (std::fabs(v) > kMaxCoordinateMm)
        return NumberProblem::OutOfRange;
    return NumberProblem::None;
}

// The reason for a refused number, for the reader's message.
inline const char *numberProblemText(NumberProblem problem)
{
    switch (problem) {
    case NumberProblem::NotANumber:
        return "is not a number";
    case NumberProblem::NotFinite:
        return "is not a finite number";
    case NumberProblem::OutOfRange:
        return "is out of range (coordinates must lie within +-1000000 mm)";
    case NumberProblem::None:
        break;
    }
    return "";
}
