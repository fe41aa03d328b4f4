#include "model/holidaycn.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "model/textfields.h"

namespace qov {
namespace {

// The parts of JSON the schema uses, kept as parsed; numbers as their text.
struct JsonValue {
    enum class Type : std::uint8_t { Null, Bool, Number, String, Array, Object };
    Type type = Type::Null;
    bool boolean = false;
    std::string text;  // a string's UTF-8 value, or a number as written
    std::vector<JsonValue> items;
    // An object's members: keys[i] names values[i] (a vector of pairs
    // would need JsonValue complete here).
    std::vector<std::string> keys;
    std::vector<JsonValue> values;
};

// The member `key` of an object, or none.
const JsonValue* Member(const JsonValue& object, std::string_view key)
{
    for (std::size_t i = 0; i < object.keys.size(); ++i)
        if (object.keys[i] == key) return &object.values[i];
    return nullptr;
}

// Nesting of the schema is 3 (file, days, day); a little room, and a bound
// on the recursion whatever the input.
constexpr int MaxDepth = 8;

// Recursive descent over RFC 8259. Stops at the first fault, with its byte offset.
class JsonParser {
public:
    explicit JsonParser(std::string_view text) : m_text(text) { }

    std::optional<JsonValue> Document()
    {
        JsonValue value;
        if (!Value(value, 0)) return std::nullopt;
        SkipSpace();
        if (m_pos != m_text.size()) return Fail("text after the end");
        return value;
    }
    const std::string& error() const { return m_error; }

private:
    std::nullopt_t Fail(const char* what)
    {
        if (m_error.empty())
            m_error = std::string("invalid JSON at byte ") + std::to_string(m_pos) + ": " + what;
        return std::nullopt;
    }
    bool Failed(const char* what)
    {
        Fail(what);
        return false;
    }

    void SkipSpace() noexcept
    {
        while (m_pos < m_text.size()
            && (m_text[m_pos] == ' ' || m_text[m_pos] == '\t' || m_text[m_pos] == '\n'
                || m_text[m_pos] == '\r'))
            ++m_pos;
    }
    bool Literal(std::string_view word)
    {
        if (m_text.substr(m_pos, word.size()) != word) return Failed("unknown literal");
        m_pos += word.size();
        return true;
    }

    bool Value(JsonValue& value, int depth)
    {
        SkipSpace();
        if (m_pos >= m_text.size()) return Failed("unexpected end");
        const char c = m_text[m_pos];
        if (c == '{') return Object(value, depth + 1);
        if (c == '[') return Array(value, depth + 1);
        if (c == '"') {
            value.type = JsonValue::Type::String;
            return String(value.text);
        }
        if (c == 't' || c == 'f') {
            value.type = JsonValue::Type::Bool;
            value.boolean = c == 't';
            return Literal(c == 't' ? "true" : "false");
        }
        if (c == 'n') return Literal("null");
        value.type = JsonValue::Type::Number;
        return Number(value.text);
    }

    bool Object(JsonValue& value, int depth)
    {
        if (depth > MaxDepth) return Failed("nested too deep");
        value.type = JsonValue::Type::Object;
        ++m_pos;  // {
        SkipSpace();
        if (m_pos < m_text.size() && m_text[m_pos] == '}') return ++m_pos, true;
        while (true) {
            SkipSpace();
            if (m_pos >= m_text.size() || m_text[m_pos] != '"') return Failed("expected a key");
            std::string key;
            if (!String(key)) return false;
            if (Member(value, key)) return Failed("duplicate key");
            SkipSpace();
            if (m_pos >= m_text.size() || m_text[m_pos] != ':') return Failed("expected ':'");
            ++m_pos;
            JsonValue member;
            if (!Value(member, depth)) return false;
            value.keys.push_back(std::move(key));
            value.values.push_back(std::move(member));
            SkipSpace();
            if (m_pos >= m_text.size()) return Failed("unexpected end");
            if (m_text[m_pos] == '}') return ++m_pos, true;
            if (m_text[m_pos] != ',') return Failed("expected ',' or '}'");
            ++m_pos;
        }
    }

    bool Array(JsonValue& value, int depth)
    {
        if (depth > MaxDepth) return Failed("nested too deep");
        value.type = JsonValue::Type::Array;
        ++m_pos;  // [
        SkipSpace();
        if (m_pos < m_text.size() && m_text[m_pos] == ']') return ++m_pos, true;
        while (true) {
            JsonValue item;
            if (!Value(item, depth)) return false;
            value.items.push_back(std::move(item));
            SkipSpace();
            if (m_pos >= m_text.size()) return Failed("unexpected end");
            if (m_text[m_pos] == ']') return ++m_pos, true;
            if (m_text[m_pos] != ',') return Failed("expected ',' or ']'");
            ++m_pos;
        }
    }

    bool Number(std::string& out)
    {
        const std::size_t start = m_pos;
        const auto digits = [this] {
            const std::size_t from = m_pos;
            while (m_pos < m_text.size() && m_text[m_pos] >= '0' && m_text[m_pos] <= '9') ++m_pos;
            return m_pos - from;
        };
        if (m_pos < m_text.size() && m_text[m_pos] == '-') ++m_pos;
        const std::size_t intStart = m_pos;
        const std::size_t n = digits();
        if (n == 0) return Failed("expected a value");
        if (n > 1 && m_text[intStart] == '0') return Failed("leading zero");
        if (m_pos < m_text.size() && m_text[m_pos] == '.') {
            ++m_pos;
            if (digits() == 0) return Failed("expected digits after '.'");
        }
        if (m_pos < m_text.size() && (m_text[m_pos] == 'e' || m_text[m_pos] == 'E')) {
            ++m_pos;
            if (m_pos < m_text.size() && (m_text[m_pos] == '+' || m_text[m_pos] == '-')) ++m_pos;
            if (digits() == 0) return Failed("expected exponent digits");
        }
        out.assign(m_text.substr(start, m_pos - start));
        return true;
    }

    // Four hex digits at m_pos.
    std::optional<unsigned> Hex4()
    {
        if (m_text.size() - m_pos < 4) return Fail("short \\u escape");
        unsigned v = 0;
        for (int i = 0; i < 4; ++i) {
            const char c = m_text[m_pos++];
            v <<= 4;
            if (c >= '0' && c <= '9')
                v |= static_cast<unsigned>(c - '0');
            else if (c >= 'a' && c <= 'f')
                v |= static_cast<unsigned>(c - 'a' + 10);
            else if (c >= 'A' && c <= 'F')
                v |= static_cast<unsigned>(c - 'A' + 10);
            else
                return Fail("bad \\u escape");
        }
        return v;
    }

    static void AppendUtf8(std::string& out, unsigned cp)
    {
        const auto put = [&out](unsigned b) { out.push_back(static_cast<char>(b)); };
        if (cp < 0x80) {
            put(cp);
        } else if (cp < 0x800) {
            put(0xC0 | cp >> 6);
            put(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            put(0xE0 | cp >> 12);
            put(0x80 | (cp >> 6 & 0x3F));
            put(0x80 | (cp & 0x3F));
        } else {
            put(0xF0 | cp >> 18);
            put(0x80 | (cp >> 12 & 0x3F));
            put(0x80 | (cp >> 6 & 0x3F));
            put(0x80 | (cp & 0x3F));
        }
    }

    // The text was checked to be UTF-8 as a whole: bytes >= 0x80 are copied.
    bool String(std::string& out)
    {
        ++m_pos;  // "
        while (true) {
            if (m_pos >= m_text.size()) return Failed("unterminated string");
            const char c = m_text[m_pos++];
            if (c == '"') return true;
            if (static_cast<unsigned char>(c) < 0x20)
                return Failed("control character in a string");
            if (c != '\\') {
                out.push_back(c);
                continue;
            }
            if (m_pos >= m_text.size()) return Failed("unterminated string");
            const char e = m_text[m_pos++];
            switch (e) {
            case '"':
            case '\\':
            case '/':
                out.push_back(e);
                break;
            case 'b':
                out.push_back('\b');
                break;
            case 'f':
                out.push_back('\f');
                break;
            case 'n':
                out.push_back('\n');
                break;
            case 'r':
                out.push_back('\r');
                break;
            case 't':
                out.push_back('\t');
                break;
            case 'u': {
                std::optional<unsigned> cp = Hex4();
                if (!cp) return false;
                if (*cp >= 0xDC00 && *cp <= 0xDFFF) return Failed("lone low surrogate");
                if (*cp >= 0xD800 && *cp <= 0xDBFF) {
                    if (m_text.substr(m_pos, 2) != "\\u") return Failed("lone high surrogate");
                    m_pos += 2;
                    const std::optional<unsigned> low = Hex4();
                    if (!low) return false;
                    if (*low < 0xDC00 || *low > 0xDFFF) return Failed("lone high surrogate");
                    cp = 0x10000 + ((*cp - 0xD800) << 10) + (*low - 0xDC00);
                }
                AppendUtf8(out, *cp);
                break;
            }
            default:
                return Failed("unknown escape");
            }
        }
    }

    std::string_view m_text;
    std::size_t m_pos = 0;
    std::string m_error;
};

// A whole number of at most 4 digits (a year), as JSON writes it.
std::optional<int> SmallInteger(const JsonValue& value)
{
    if (value.type != JsonValue::Type::Number || value.text.empty() || value.text.size() > 4)
        return std::nullopt;
    int n = 0;
    for (const char c : value.text) {
        if (c < '0' || c > '9') return std::nullopt;
        n = n * 10 + (c - '0');
    }
    return n;
}

std::optional<SolarDate> IsoDateOf(std::string_view text)
{
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
    int parts[3] = {};
    int* part = parts;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (i == 4 || i == 7) {
            ++part;
            continue;
        }
        if (text[i] < '0' || text[i] > '9') return std::nullopt;
        *part = *part * 10 + (text[i] - '0');
    }
    const SolarDate date{parts[0], parts[1], parts[2]};
    if (date.month < 1 || date.month > 12 || date.day < 1
        || date.day > DaysInMonth(date.year, date.month))
        return std::nullopt;
    return date;
}

HolidayCnRead Refuse(std::string reason) { return {std::nullopt, std::move(reason)}; }

}  // namespace

HolidayCnRead ReadHolidayCn(std::string_view bytes, int year)
{
    if (bytes.size() > MaxHolidayCnBytes)
        return Refuse("larger than " + std::to_string(MaxHolidayCnBytes / 1024) + " KiB");
    if (!textfields::Utf8Length(bytes)) return Refuse("not UTF-8");
    JsonParser parser(bytes);
    const std::optional<JsonValue> root = parser.Document();
    if (!root) return Refuse(parser.error());
    if (root->type != JsonValue::Type::Object) return Refuse("not a JSON object");

    const JsonValue* yearValue = Member(*root, "year");
    if (!yearValue) return Refuse("no \"year\"");
    if (SmallInteger(*yearValue) != year) return Refuse("\"year\" is not " + std::to_string(year));
    const JsonValue* papers = Member(*root, "papers");
    if (!papers || papers->type != JsonValue::Type::Array) return Refuse("no \"papers\" array");
    for (const JsonValue& paper : papers->items)
        if (paper.type != JsonValue::Type::String) return Refuse("a paper is not a string");
    const JsonValue* days = Member(*root, "days");
    if (!days || days->type != JsonValue::Type::Array) return Refuse("no \"days\" array");

    HolidayCnSchedule schedule;
    schedule.year = year;
    for (std::size_t i = 0; i < days->items.size(); ++i) {
        const JsonValue& day = days->items[i];
        const std::string where = "day " + std::to_string(i + 1) + ": ";
        if (day.type != JsonValue::Type::Object) return Refuse(where + "not an object");
        const JsonValue* name = Member(day, "name");
        const JsonValue* date = Member(day, "date");
        const JsonValue* off = Member(day, "isOffDay");
        if (!name || name->type != JsonValue::Type::String)
            return Refuse(where + "\"name\" is not a string");
        if (std::string problem = HolidayNameProblem(name->text); !problem.empty())
            return Refuse(where + problem);
        if (!date || date->type != JsonValue::Type::String)
            return Refuse(where + "\"date\" is not a string");
        const std::optional<SolarDate> when = IsoDateOf(date->text);
        if (!when) return Refuse(where + "\"date\" is not a YYYY-MM-DD date");
        if (when->year < year - 1 || when->year > year + 1)
            return Refuse(where + "\"date\" outside " + std::to_string(year - 1) + ".."
                + std::to_string(year + 1));
        if (!off || off->type != JsonValue::Type::Bool)
            return Refuse(where + "\"isOffDay\" is not a boolean");
        const int weekday = DayOfWeek(when->year, when->month, when->day);
        if (!off->boolean && weekday != 0 && weekday != 6) continue;
        schedule.days.push_back(
            {*when, off->boolean ? HolidayLine::Kind::Rest : HolidayLine::Kind::Work, name->text,
                static_cast<int>(i + 1)});
    }
    return {std::move(schedule), {}};
}

DownloadAction DecideDownload(const HolidayCnSchedule* stored, std::size_t shippedDays,
    const HolidayCnSchedule& fresh) noexcept
{
    const bool storedDays = stored && !stored->days.empty();
    if (fresh.days.empty()) return storedDays ? DownloadAction::Keep : DownloadAction::Store;
    const std::size_t before = storedDays ? stored->days.size() : shippedDays;
    return fresh.days.size() * 2 < before ? DownloadAction::Refuse : DownloadAction::Store;
}

HolidayTable LayerSchedules(const HolidayTable& shipped, std::vector<HolidayCnSchedule> schedules)
{
    std::sort(schedules.begin(), schedules.end(),
        [](const HolidayCnSchedule& a, const HolidayCnSchedule& b) { return a.year < b.year; });
    const auto announced = [&schedules](int year) {
        return std::any_of(schedules.begin(), schedules.end(),
            [year](const HolidayCnSchedule& s) { return s.year == year && !s.days.empty(); });
    };
    std::vector<HolidayLine> lines;
    for (HolidayLine& day : shipped.Days())
        if (!announced(day.date.year)) lines.push_back(std::move(day));
    for (const HolidayCnSchedule& schedule : schedules)
        lines.insert(lines.end(), schedule.days.begin(), schedule.days.end());
    return HolidayTable(lines);
}

}  // namespace qov
