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

void CheckEntry(const DateEntry& entry, bool idle)
{
    const std::string text = entry.Text();
    QOV_CHECK(text.size() == 10 && text[4] == '-' && text[7] == '-');
    for (const std::size_t i : {0u, 1u, 2u, 3u, 5u, 6u, 8u, 9u})
        QOV_CHECK(text[i] >= '0' && text[i] <= '9');
    const SolarDate d = entry.GetDate();
    if (idle || !entry.InProgress())
        QOV_CHECK(qov::fuzz::IsValidDate(d, DateEntry::MinYear, DateEntry::MaxYear));
    const TextRange r = entry.Selection();
    QOV_CHECK(r.start >= 0 && r.start <= r.end && r.end <= 10);
    QOV_CHECK(entry.ActiveField() >= 0 && entry.ActiveField() <= 3);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider in(data, size);
    DateEntry entry(SolarDate{EdgyInt(in), EdgyInt(in), EdgyInt(in)});
    DateEntry steady = entry;  // the same keys without any focus loss
    for (int step = 0; step < 256 && in.remaining_bytes() > 0; ++step) {
        bool idle = false;
        switch (in.ConsumeIntegralInRange(0, 5)) {
        case 0:
        case 1: {  // a digit mostly; sometimes any character code at all
            const char32_t key = in.ConsumeIntegralInRange(0, 7) != 0
                ? U'0' + in.ConsumeIntegralInRange<char32_t>(0, 9)
                : in.ConsumeIntegral<char32_t>();
            const int field = entry.ActiveField();
            const EntryResult a = entry.Type(key);
            QOV_CHECK(a == steady.Type(key));
            // A digit means the same with or without focus losses before it
            // (the other fields may differ: focus loss brings them into range).
            if (a != EntryResult::Ignored && field == DateEntry::YearField)
                QOV_CHECK(entry.GetDate().year == steady.GetDate().year);
            if (a != EntryResult::Ignored && field == DateEntry::MonthField)
                QOV_CHECK(entry.GetDate().month == steady.GetDate().month);
            break;
        }
        case 2: {
            const int field = EdgyInt(in);
            QOV_CHECK(entry.SelectField(field) == steady.SelectField(field));
            break;
        }
        case 3: {  // a click: zones from field starts and widths, as the widget measures them
            const int starts[3] = {EdgyInt(in), EdgyInt(in), EdgyInt(in)};
            const int field = DateEntry::FieldAtX(EdgyInt(in), starts, EdgyInt(in), EdgyInt(in));
            QOV_CHECK(field >= 0 && field <= 3);
            if (field != 0) QOV_CHECK(entry.SelectField(field) == steady.SelectField(field));
            break;
        }
        case 4:  // focus lost and regained by the keyboard
            entry.Normalize();
            idle = true;
            break;
        default: {  // the owner stores a date; a focus loss follows in the window
            const int y = EdgyInt(in), m = EdgyInt(in), d = EdgyInt(in);
            entry.SetDate(y, m, d);
            steady.SetDate(y, m, d);
            CheckEntry(entry, false);
            entry.Normalize();
            steady.Normalize();
            idle = true;
            break;
        }
        }
        CheckEntry(entry, idle);
        QOV_CHECK(entry.ActiveField() == steady.ActiveField()
            && entry.DigitsLeft() == steady.DigitsLeft());
    }
    return 0;
}
