// The keyboard-driven date field without a widget: one Gregorian date shown as
// "YYYY-MM-DD", typed field by field (year, month, day). The widget forwards
// digits, clicks and focus loss here and shows the text and the selection this
// model returns. ASCII text only.
//
// Every function here is defined for every value of every argument: dates are
// brought into range, other field numbers and characters are refused or
// ignored, and x positions are compared without overflow.
#pragma once

#include <string>

#include "gregorian.h"

namespace qov {

// Character range of a field in the text, end exclusive.
struct TextRange {
    int start = 0;
    int end = 0;
    friend constexpr bool operator==(const TextRange&, const TextRange&) = default;
};

// What a typed character did.
enum class EntryResult {
    Ignored,   // not a digit: date, text and selection unchanged
    Continue,  // text rebuilt; select `DateEntry::Selection()` and wait for more digits
    Complete,  // text rebuilt and the day entered: the date is complete and in
               // range, nothing is selected; tell the owner
};

class DateEntry {
public:
    // Field numbers as `SelectField` takes them.
    static constexpr int YearField = 1;
    static constexpr int MonthField = 2;
    static constexpr int DayField = 3;

    // Years the field can show: four digits.
    static constexpr int MinYear = 1;
    static constexpr int MaxYear = 9999;

    DateEntry() noexcept = default;
    explicit DateEntry(const SolarDate& date) noexcept { SetDate(date.year, date.month, date.day); }

    // Stores the date. When no field is being typed, the date is brought into
    // range: year 1..9999, month 1..12, day 1..days of that month.
    void SetDate(int year, int month, int day) noexcept;
    // The stored date; out of range only while a field is half typed.
    SolarDate GetDate() const noexcept { return {m_year, m_month, m_day}; }

    // Makes field 1 (year), 2 (month) or 3 (day) active and restarts its
    // digits. Returns false and changes nothing for any other number.
    bool SelectField(int field) noexcept;

    // Field whose zone starts at character index 0, 5 or 8: 1, 2 or 3; 0 else.
    static constexpr int FieldStartingAt(int charIndex) noexcept
    {
        return charIndex == 0 ? YearField
            : charIndex == 5  ? MonthField
            : charIndex == 8  ? DayField
                              : 0;
    }
    // First character index (0, 5, 8) and digit count (4, 2, 2) of field 1..3.
    static constexpr int FieldStart(int field) noexcept
    {
        return field == 1 ? 0 : field == 2 ? 5 : 8;
    }
    static constexpr int FieldDigits(int field) noexcept { return field == 1 ? 4 : 2; }

    // Click zones: each starts at the x position of its field's first
    // character and spans the width of four spaces (year) or two spaces
    // (month, day), both ends inclusive; the first zone holding x wins.
    // Returns the field 1..3, or 0 when x lies in no zone (separators,
    // margins).
    static int FieldAtX(
        int x, const int (&fieldStartX)[3], int fourSpacesWidth, int twoSpacesWidth) noexcept;

    // One typed character (the character code, any value). A digit goes into
    // the active field; with no field chosen yet it starts the year.
    EntryResult Type(char32_t ch) noexcept;

    // Focus lost: brings the stored date into range (year 1..9999, month
    // 1..12, day 1..days of the month); the field in progress stays active and
    // keeps its progress. The next digit continues the digits typed so far,
    // not the value brought into range, so that leaving and coming back never
    // changes what the typing means ("0", focus round trip, "5" is month 05).
    void Normalize() noexcept;

    // "%.4d-%.2d-%.2d" of the stored date; always 10 characters.
    std::string Text() const;
    // Selection of the active field; {0, 0} before any field was chosen.
    TextRange Selection() const noexcept;

    // Active field 1..3, 0 before the first choice.
    int ActiveField() const noexcept { return m_field; }
    // Digits still expected in the active field; 0 or less when no entry is
    // in progress.
    int DigitsLeft() const noexcept { return m_digitsLeft; }
    bool InProgress() const noexcept { return m_field != 0 && m_digitsLeft >= 1; }

private:
    void TypeYear(int d) noexcept;
    void TypeMonth(int d) noexcept;
    EntryResult TypeDay(int d) noexcept;

    int m_year = 1900;
    int m_month = 1;
    int m_day = 1;
    int m_digitsLeft = 0;
    int m_field = 0;  // 0 none yet, 1 year, 2 month, 3 day
    // Value of the active field's digits typed so far (year 0..9999, month and
    // day 0..99); Normalize leaves it alone.
    int m_typed = 0;
};

}  // namespace qov
