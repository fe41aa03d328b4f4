// Small helpers for the user's tab-separated files (holidays.tsv,
// mydays.tsv): UTF-8 checks, fields and numbers. No allocation.
#pragma once

#include <algorithm>
#include <cstddef>
#include <optional>
#include <string_view>

namespace qov::textfields {

// Length of the well-formed UTF-8 sequence starting at text[i], 0 when it is
// not one (overlong forms, surrogates and code points past U+10FFFF are not).
inline std::size_t Utf8SequenceLength(std::string_view text, std::size_t i) noexcept
{
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned lead = byte(i);
    if (lead < 0x80) return 1;
    std::size_t length = 0;
    unsigned low = 0x80;  // range of the second byte, by the lead byte
    unsigned high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;   // no overlong forms
        if (lead == 0xED) high = 0x9F;  // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;   // no overlong forms
        if (lead == 0xF4) high = 0x8F;  // nothing past U+10FFFF
    } else {
        return 0;
    }
    if (i + length > text.size()) return 0;
    if (byte(i + 1) < low || byte(i + 1) > high) return 0;
    for (std::size_t k = i + 2; k < i + length; ++k)
        if (byte(k) < 0x80 || byte(k) > 0xBF) return 0;
    return length;
}

// Code points of `text`, or none when it is not well-formed UTF-8.
inline std::optional<std::size_t> Utf8Length(std::string_view text) noexcept
{
    std::size_t count = 0;
    for (std::size_t i = 0; i < text.size(); ++count) {
        const std::size_t n = Utf8SequenceLength(text, i);
        if (n == 0) return std::nullopt;
        i += n;
    }
    return count;
}

inline std::string_view Trim(std::string_view text) noexcept
{
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

// The field before the next tab, and `rest` moved past that tab (emptied
// when there is none).
inline std::string_view NextField(std::string_view& rest) noexcept
{
    const std::size_t tab = rest.find('\t');
    const std::string_view field = rest.substr(0, tab);
    rest = tab == std::string_view::npos ? std::string_view() : rest.substr(tab + 1);
    return Trim(field);
}

inline bool AllDigits(std::string_view text) noexcept
{
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

inline int Number(std::string_view digits) noexcept
{
    int n = 0;
    for (const char c : digits) n = n * 10 + (c - '0');
    return n;
}

// Printable ASCII only, so that a message never carries the file's raw bytes.
inline bool Printable(std::string_view text) noexcept
{
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= 0x20 && c < 0x7F; });
}

inline bool HasControlCharacter(std::string_view text) noexcept
{
    return std::any_of(text.begin(), text.end(), [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return u < 0x20 || u == 0x7F;
    });
}

// The next line of `rest`, without its line break ("\n", "\r\n", or none at
// the end), and `rest` moved past it. A lone "\r" before the break or at
// the end is part of the break.
struct TextLine {
    std::string_view text;
    std::string_view ending;
};

inline TextLine NextLine(std::string_view& rest) noexcept
{
    const std::size_t end = rest.find('\n');
    std::string_view text = rest.substr(0, end);
    const std::size_t breakStart =
        !text.empty() && text.back() == '\r' ? text.size() - 1 : text.size();
    const std::size_t breakEnd = end == std::string_view::npos ? text.size() : end + 1;
    const TextLine line{text.substr(0, breakStart), rest.substr(breakStart, breakEnd - breakStart)};
    rest.remove_prefix(breakEnd);
    return line;
}

}  // namespace qov::textfields
