// Shared by the libFuzzer harnesses: invariant checks that stop the run, GBK
// and UTF-8 well-formedness tests, integers drawn near the boundaries that
// matter, a date test, and a driver of steps the input picks.
#pragma once

#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string_view>
#include <vector>

#include "gregorian.h"

// A failed invariant aborts, so libFuzzer reports it and keeps the input.
#define QOV_CHECK(condition)                                                                       \
    ((condition) ? static_cast<void>(0) : qov::fuzz::Fail(#condition, __FILE__, __LINE__))

namespace qov::fuzz {

[[noreturn]] inline void Fail(const char* what, const char* file, int line)
{
    std::fprintf(stderr, "%s:%d: invariant broken: %s\n", file, line, what);
    std::abort();
}

// GBK text as the engine writes it: printable ASCII, or two-byte characters
// with a lead byte 0x81..0xFE and a trail byte 0x40..0xFE other than 0x7F.
inline bool IsGbkText(std::string_view text)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c >= 0x20 && c < 0x7F) continue;
        if (c < 0x81 || c == 0xFF || i + 1 == text.size()) return false;
        const auto t = static_cast<unsigned char>(text[++i]);
        if (t < 0x40 || t == 0x7F || t == 0xFF) return false;
    }
    return true;
}

// Code points of well-formed UTF-8 (no overlongs, no surrogates), or -1.
inline long Utf8Chars(std::string_view text)
{
    long n = 0;
    for (std::size_t i = 0; i < text.size(); ++n) {
        const auto c = static_cast<unsigned char>(text[i]);
        const std::size_t length = c < 0x80 ? 1
            : c >= 0xC2 && c <= 0xDF        ? 2
            : c >= 0xE0 && c <= 0xEF        ? 3
            : c >= 0xF0 && c <= 0xF4        ? 4
                                            : 0;
        if (length == 0 || i + length > text.size()) return -1;
        unsigned long cp = length == 1 ? c : c & (0x3Fu >> (length - 1));
        for (std::size_t k = 1; k < length; ++k) {
            const auto t = static_cast<unsigned char>(text[i + k]);
            if ((t & 0xC0) != 0x80) return -1;
            cp = cp << 6 | (t & 0x3Fu);
        }
        const unsigned long least[5] = {0, 0, 0x80, 0x800, 0x10000};
        if (cp < least[length] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return -1;
        i += length;
    }
    return n;
}

// An int that is, by turns, a boundary value, a nearby calendar number or
// anything at all.
inline int EdgyInt(FuzzedDataProvider& in)
{
    static constexpr std::array<int, 30> Edges = {INT_MIN, INT_MIN + 1, -65536, -32768, -1, 0, 1, 2,
        3, 6, 7, 12, 13, 24, 28, 29, 30, 31, 32, 1899, 1900, 2049, 2050, 2051, 2100, 9999, 10000,
        65535, 65536, INT_MAX};
    switch (in.ConsumeIntegralInRange(0, 3)) {
    case 0:
        return in.PickValueInArray(Edges);
    case 1:
        return in.ConsumeIntegralInRange(-40, 40);
    case 2:
        return in.ConsumeIntegralInRange(1880, 2120);
    default:
        return in.ConsumeIntegral<int>();
    }
}

// A date that exists, in the years first..last.
inline bool IsValidDate(SolarDate d, int first, int last)
{
    return d.year >= first && d.year <= last && d.month >= 1 && d.month <= 12 && d.day >= 1
        && d.day <= DaysInMonth(d.year, d.month);
}

// One of the actions, picked by the input, then `after`; at most `steps`
// times while input lasts.
inline void Steps(FuzzedDataProvider& in, int steps, const std::function<void()>& after,
    const std::vector<std::function<void()>>& actions)
{
    for (int step = 0; step < steps && in.remaining_bytes() > 0; ++step) {
        actions[in.ConsumeIntegralInRange<std::size_t>(0, actions.size() - 1)]();
        after();
    }
}

}  // namespace qov::fuzz
