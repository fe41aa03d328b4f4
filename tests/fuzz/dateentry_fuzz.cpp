// Keys, clicks, focus changes and stored dates in any order on the date
// field's state machine: the text is always ten characters "YYYY-MM-DD",
// idle and completed dates are valid, and a focus round trip in the middle of
// a field never changes what the next digit means.
#include <string>

#include "fuzz_common.h"
#include "model/dateentry.h"

namespace {

using namespace qov;
using qov::fuzz::EdgyInt;

bool IsValid(const SolarDate& d)
{
    return d.year >= DateEntry::MinYear && d.year <= DateEntry::MaxYear && d.month >= 1
        && d.month <= 12 && d.day >= 1 && d.day <= DaysInMonth(d.year, d.month);
}

void CheckEntry(const DateEntry& entry)
{
    const std::string text = entry.Text();
    QOV_CHECK(text.size() == 10 && text[4] == '-' && text[7] == '-');
    for (const int i : {0, 1, 2, 3, 5, 6, 8, 9})
        QOV_CHECK(
            text[static_cast<std::size_t>(i)] >= '0' && text[static_cast<std::size_t>(i)] <= '9');
    if (!entry.InProgress()) QOV_CHECK(IsValid(entry.GetDate()));
    const TextRange r = entry.Selection();
    QOV_CHECK(r.start >= 0 && r.start <= r.end && r.end <= 10);
    QOV_CHECK(entry.ActiveField() >= 0 && entry.ActiveField() <= 3);
}

// A digit mostly; sometimes any character code at all.
char32_t Key(FuzzedDataProvider& in)
{
    if (in.ConsumeIntegralInRange(0, 7) != 0)
        return U'0' + in.ConsumeIntegralInRange<char32_t>(0, 9);
    return in.ConsumeIntegral<char32_t>();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider in(data, size);
    DateEntry entry(SolarDate{EdgyInt(in), EdgyInt(in), EdgyInt(in)});
    DateEntry steady = entry;  // the same keys without any focus loss
    CheckEntry(entry);
    for (int step = 0; step < 256 && in.remaining_bytes() > 0; ++step) {
        switch (in.ConsumeIntegralInRange(0, 5)) {
        case 0:
        case 1: {
            const char32_t key = Key(in);
            const int field = entry.ActiveField();
            const EntryResult a = entry.Type(key);
            const EntryResult b = steady.Type(key);
            QOV_CHECK(a == b);
            // A digit means the same with or without focus losses before it
            // (the other fields may differ: focus loss brings them into range).
            if (a != EntryResult::Ignored && field == DateEntry::YearField)
                QOV_CHECK(entry.GetDate().year == steady.GetDate().year);
            if (a != EntryResult::Ignored && field == DateEntry::MonthField)
                QOV_CHECK(entry.GetDate().month == steady.GetDate().month);
            if (a == EntryResult::Complete)
                QOV_CHECK(IsValid(entry.GetDate()) && !entry.InProgress());
            if (a == EntryResult::Ignored) QOV_CHECK(key < U'0' || key > U'9');
            break;
        }
        case 2: {
            const int field = EdgyInt(in);
            QOV_CHECK(entry.SelectField(field) == steady.SelectField(field));
            QOV_CHECK(
                field < 1 || field > 3 || entry.DigitsLeft() == DateEntry::FieldDigits(field));
            break;
        }
        case 3: {  // a click: zones from field starts and widths, as the widget measures them
            const int starts[3] = {EdgyInt(in), EdgyInt(in), EdgyInt(in)};
            const int field = DateEntry::FieldAtX(EdgyInt(in), starts, EdgyInt(in), EdgyInt(in));
            QOV_CHECK(field >= 0 && field <= 3);
            if (field != 0) {
                entry.SelectField(field);
                steady.SelectField(field);
            }
            break;
        }
        case 4:  // focus lost and regained by the keyboard
            entry.Normalize();
            QOV_CHECK(IsValid(entry.GetDate()));
            CheckEntry(entry);
            break;
        default: {  // the owner stores a date; a focus loss follows in the window
            const int y = EdgyInt(in), m = EdgyInt(in), d = EdgyInt(in);
            entry.SetDate(y, m, d);
            steady.SetDate(y, m, d);
            CheckEntry(entry);
            entry.Normalize();
            steady.Normalize();
            break;
        }
        }
        CheckEntry(entry);
        QOV_CHECK(entry.ActiveField() == steady.ActiveField()
            && entry.DigitsLeft() == steady.DigitsLeft());
    }
    return 0;
}
