#include "model/dateentry.h"

#include <algorithm>
#include <cstdio>

namespace qov {

namespace {
constexpr int Clamp(int value, int low, int high) noexcept
{
    return std::max(low, std::min(value, high));
}
}  // namespace

void DateEntry::SetDate(int year, int month, int day) noexcept
{
    if (m_digitsLeft < 1) {
        year = Clamp(year, MinYear, MaxYear);
        month = Clamp(month, 1, 12);
        day = Clamp(day, 1, DaysInMonth(year, month));
    } else {
        // A half-typed field holds at most 9999, 19 (after "1") or 39 (after
        // "3"); keep the stored values within four and two digits so that the
        // text layout never shifts.
        year = Clamp(year, 0, MaxYear);
        month = Clamp(month, 0, 99);
        day = Clamp(day, 0, 99);
    }
    m_year = year;
    m_month = month;
    m_day = day;
    if (m_digitsLeft >= 1)
        m_typed = m_field == YearField ? year : m_field == MonthField ? month : day;
}

bool DateEntry::SelectField(int field) noexcept
{
    if (field < YearField || field > DayField) return false;
    m_field = field;
    m_digitsLeft = FieldDigits(field);
    return true;
}

int DateEntry::FieldAtX(
    int x, const int (&fieldStartX)[3], int fourSpacesWidth, int twoSpacesWidth) noexcept
{
    for (int field = YearField; field <= DayField; ++field) {
        const int left = fieldStartX[field - 1];
        const int width = field == YearField ? fourSpacesWidth : twoSpacesWidth;
        // 64-bit: a field start near INT_MAX plus a width must not overflow.
        if (x >= left && x <= static_cast<long long>(left) + width) return field;
    }
    return 0;
}

EntryResult DateEntry::Type(char32_t ch) noexcept
{
    if (ch < U'0' || ch > U'9') return EntryResult::Ignored;
    const int d = static_cast<int>(ch - U'0');
    switch (m_field) {
    case 0:
        SelectField(YearField);  // the first digit of a date is its year's
        TypeYear(d);
        return EntryResult::Continue;
    case YearField:
        TypeYear(d);
        return EntryResult::Continue;
    case MonthField:
        TypeMonth(d);
        return EntryResult::Continue;
    case DayField:
        return TypeDay(d);
    default:
        return EntryResult::Ignored;
    }
}

void DateEntry::TypeYear(int d) noexcept
{
    const int old = m_digitsLeft;
    m_digitsLeft = old - 1;
    int year = old == 4 ? 0 : m_typed;
    // Digit weights 1000, 100, 10, 1 for digits left 3, 2, 1, 0.
    int weight = 1;
    for (int i = 0; i < m_digitsLeft; ++i) weight *= 10;
    year += d * weight;
    SetDate(year, m_month, m_day);
    if (m_digitsLeft < 1) SelectField(MonthField);
}

void DateEntry::TypeMonth(int d) noexcept
{
    const int old = m_digitsLeft;
    m_digitsLeft = old - 1;
    int month = 0;
    if (old == 2)
        month = d == 1 ? 10 : d;  // "1" waits for 10..12; "0" waits for 01..09
    else
        month = Clamp(m_typed + d, 1, 12);
    SetDate(m_year, month, m_day);
    if (m_digitsLeft < 1 || (m_month >= 2 && m_month <= 9)) SelectField(DayField);
}

EntryResult DateEntry::TypeDay(int d) noexcept
{
    const int dim = DaysInMonth(m_year, m_month);
    const int old = m_digitsLeft;
    m_digitsLeft = old - 1;
    int day = 0;
    if (old == 2)
        day = d <= 3 ? 10 * d : d;  // "0".."3" wait for a second digit
    else
        // second digit, or a digit after completion added to the day shown
        day = std::max(1, std::min((old == 1 ? m_typed : m_day) + d, dim));
    SetDate(m_year, m_month, day);
    if (m_digitsLeft >= 1 && (m_day <= 3 || m_day >= 10)) return EntryResult::Continue;
    m_digitsLeft = 0;
    // The year or the month may still be half typed when the day was picked
    // by a click; a completed date is always a valid one.
    Normalize();
    return EntryResult::Complete;
}

void DateEntry::Normalize() noexcept
{
    const int year = Clamp(m_year, MinYear, MaxYear);
    const int month = Clamp(m_month, 1, 12);
    m_year = year;
    m_month = month;
    m_day = Clamp(m_day, 1, DaysInMonth(year, month));
}

std::string DateEntry::Text() const
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.4d-%.2d-%.2d", m_year, m_month, m_day);
    return buffer;
}

TextRange DateEntry::Selection() const noexcept
{
    if (m_field < YearField || m_field > DayField) return {};
    const int start = FieldStart(m_field);
    return {start, start + FieldDigits(m_field)};
}

}  // namespace qov
