// Computes the solar terms of 1899..2101 and the lunar months of lunar years
// 1900..2100 from the Swiss Ephemeris and writes them as the engine's
// generated tables (the engine takes the lunar years from 1929 on; the
// earlier ones stand beside its historical entries for comparison).
//
//   gen_calendar_tables --write DIR   writes DIR/solarterm_table.h and
//                                     DIR/lunar_table.h
//   gen_calendar_tables --check DIR   compares them with the files in DIR
//                                     byte for byte; exit status 1 on any
//                                     difference
//
// Positions are the apparent geocentric ecliptic longitudes of date of the
// Sun and the Moon (swe_calc_ut, SEFLG_SWIEPH; the library applies delta T).
// Instants are given in China Standard Time, UTC+8, with no daylight saving.
// The lunar months follow GB/T 33661-2017: a month begins on the day that
// holds the new moon, the month holding 冬至 is month 11, and when 13 months
// begin between two months 11 the first of them without a principal term
// (中气) is the leap month, numbered as the month before it.
#include <swephexp.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "gregorian.h"
#include "names.h"

namespace {

using qov::CivilFromDays;
using qov::DaysFromCivil;

constexpr int FirstTermYear = 1899;
constexpr int LastTermYear = 2101;
constexpr int FirstComputedLunarYear = 1929;  // the years before keep the historical record
constexpr int LastLunarYear = 2100;
constexpr int ReferenceYear = 2000;          // the mean formula counts years from here
constexpr long long CloseCallSeconds = 120;  // a comment lists instants this near midnight
constexpr long long SecondsPerDay = 86'400;
constexpr long long ChinaOffsetSeconds = 8 * 3600;

[[noreturn]] void Fail(const std::string& what)
{
    std::fprintf(stderr, "gen_calendar_tables: %s\n", what.c_str());
    std::exit(2);
}

// Apparent longitude (degrees, 0..360) and its daily motion.
struct Position {
    double longitude;
    double speed;  // degrees per day
};

Position Apparent(double jdUt, int body)
{
    double xx[6] = {};
    char error[AS_MAXCH] = {};
    const int32_t flags = swe_calc_ut(jdUt, body, SEFLG_SWIEPH | SEFLG_SPEED, xx, error);
    if (flags < 0) Fail(error);
    // Without the ephemeris files the library silently falls back to its
    // analytical theory; the tables must come from the files.
    if ((flags & SEFLG_SWIEPH) == 0) Fail("ephemeris files not found (install swe-basic-data)");
    return {xx[0], xx[3]};
}

// a - b reduced to -180..180 degrees.
double AngleDifference(double a, double b)
{
    double d = std::fmod(a - b, 360.0);
    if (d >= 180) d -= 360;
    if (d < -180) d += 360;
    return d;
}

// Newton's method on a longitude difference from a guess within a few days;
// stops when a step is below 1e-9 day (0.1 ms).
template <typename Difference> double Solve(double jdUt, Difference difference)
{
    for (int i = 0; i < 30; ++i) {
        const auto [d, rate] = difference(jdUt);
        const double step = d / rate;
        jdUt -= step;
        if (std::fabs(step) < 1e-9) return jdUt;
    }
    Fail("no convergence");
}

// The instant when the Sun's longitude reaches `target` degrees.
double SolarLongitudeInstant(double guess, double target)
{
    return Solve(guess, [target](double jd) {
        const Position s = Apparent(jd, SE_SUN);
        return std::pair{AngleDifference(s.longitude, target), s.speed};
    });
}

// The instant when the Moon's longitude equals the Sun's.
double NewMoonInstant(double guess)
{
    return Solve(guess, [](double jd) {
        const Position s = Apparent(jd, SE_SUN);
        const Position m = Apparent(jd, SE_MOON);
        return std::pair{AngleDifference(m.longitude, s.longitude), m.speed - s.speed};
    });
}

const double JdOf1970 = 2440587.5;  // 1970-01-01 00:00 UT

// Whole seconds since 1970-01-01 00:00 China Standard Time, floored, so that
// the date of a stored instant is the date of the exact one.
long long ChinaSeconds(double jdUt)
{
    return static_cast<long long>(std::floor((jdUt - JdOf1970) * SecondsPerDay))
        + ChinaOffsetSeconds;
}

long long FloorDiv(long long a, long long b) { return a / b - (a % b != 0 && (a < 0) != (b < 0)); }

std::string Stamp(long long chinaSeconds)
{
    const long long day = FloorDiv(chinaSeconds, SecondsPerDay);
    const long long s = chinaSeconds - day * SecondsPerDay;
    const qov::CivilDate c = CivilFromDays(day);
    char buf[64];
    std::snprintf(buf, sizeof buf, "%04lld-%02u-%02u %02lld:%02lld:%02lld", c.year, c.month, c.day,
        s / 3600, s / 60 % 60, s % 60);
    return buf;
}

// Whole seconds from the nearest midnight: negative before it.
long long MidnightMargin(long long chinaSeconds)
{
    const long long s = chinaSeconds - FloorDiv(chinaSeconds, SecondsPerDay) * SecondsPerDay;
    return s < SecondsPerDay / 2 ? s : s - SecondsPerDay;
}

// The exact distance from the nearest midnight, to a tenth of a second.
std::string Margin(double exactChinaSeconds)
{
    double s = std::fmod(exactChinaSeconds, static_cast<double>(SecondsPerDay));
    if (s < 0) s += static_cast<double>(SecondsPerDay);
    if (s >= static_cast<double>(SecondsPerDay / 2)) s -= static_cast<double>(SecondsPerDay);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%+.1f s", s);
    return buf;
}

struct Term {
    int year;
    int k;              // 0 = 小寒 .. 23 = 冬至
    long long seconds;  // since 1970-01-01 00:00 CST, floored
    double exact;       // the same, unrounded
};

struct NewMoon {
    long long seconds;
    double exact;
};

double ExactChinaSeconds(double jdUt)
{
    return (jdUt - JdOf1970) * SecondsPerDay + static_cast<double>(ChinaOffsetSeconds);
}

std::vector<Term> ComputeTerms()
{
    std::vector<Term> terms;
    for (int y = FirstTermYear; y <= LastTermYear; ++y)
        for (int k = 0; k < 24; ++k) {
            // The Sun reaches 285 + 15k degrees about 15.2 days after the
            // previous term; 小寒 falls near 6 January.
            const double guess = swe_julday(y, 1, 6, 0.0, SE_GREG_CAL) + 15.2184 * k;
            const double jd = SolarLongitudeInstant(guess, std::fmod(285.0 + 15.0 * k, 360.0));
            terms.push_back({y, k, ChinaSeconds(jd), ExactChinaSeconds(jd)});
        }
    return terms;
}

// Every new moon from November 1899 to February 2102, in order.
std::vector<NewMoon> ComputeNewMoons()
{
    // Mean new moons (J. Meeus, Astronomical Algorithms, 49.1) as guesses.
    const double first = swe_julday(1899, 11, 1, 0.0, SE_GREG_CAL);
    const double last = swe_julday(2102, 2, 28, 0.0, SE_GREG_CAL);
    const double synodic = 29.530588861;
    std::vector<NewMoon> moons;
    for (double n = std::floor((first - 2451550.09766) / synodic);; n += 1) {
        const double jd = NewMoonInstant(2451550.09766 + synodic * n);
        if (jd > last) break;
        if (jd >= first) moons.push_back({ChinaSeconds(jd), ExactChinaSeconds(jd)});
    }
    for (std::size_t i = 1; i < moons.size(); ++i) {
        const long long gap = moons[i].seconds - moons[i - 1].seconds;
        if (gap < 29 * SecondsPerDay || gap > 30 * SecondsPerDay) Fail("new moons out of order");
    }
    return moons;
}

struct Month {
    long long firstDay;  // days since 1970-01-01
    int days;            // 29 or 30
    int number;          // 1..12
    bool leap;
};

std::vector<Month> LunarMonths(const std::vector<Term>& terms, const std::vector<NewMoon>& moons)
{
    std::vector<long long> moonDays;
    for (const NewMoon& m : moons) moonDays.push_back(FloorDiv(m.seconds, SecondsPerDay));
    std::vector<long long> principalDays, solsticeDays;
    for (const Term& t : terms) {
        if (t.k % 2 == 1) principalDays.push_back(FloorDiv(t.seconds, SecondsPerDay));
        if (t.k == 23) solsticeDays.push_back(FloorDiv(t.seconds, SecondsPerDay));
    }
    // Index of the month holding a day: its new moon day is the last one on
    // or before it.
    const auto monthOf = [&](long long day) {
        const auto it = std::upper_bound(moonDays.begin(), moonDays.end(), day);
        if (it == moonDays.begin() || it == moonDays.end()) Fail("new moons do not cover a day");
        return static_cast<std::size_t>(it - moonDays.begin()) - 1;
    };
    const auto hasPrincipalTerm = [&](std::size_t i) {
        const auto it = std::lower_bound(principalDays.begin(), principalDays.end(), moonDays[i]);
        return it != principalDays.end() && *it < moonDays[i + 1];
    };

    std::vector<Month> months;
    for (std::size_t s = 0; s + 1 < solsticeDays.size(); ++s) {
        const std::size_t from = monthOf(solsticeDays[s]);
        const std::size_t to = monthOf(solsticeDays[s + 1]);
        if (to - from != 12 && to - from != 13) Fail("a year of neither 12 nor 13 months");
        bool leapSeen = to - from == 12;
        int number = 11;
        for (std::size_t i = from; i < to; ++i) {
            bool leap = false;
            if (i > from) {
                if (!leapSeen && !hasPrincipalTerm(i))
                    leap = leapSeen = true;
                else
                    number = number % 12 + 1;
            }
            months.push_back(
                {moonDays[i], static_cast<int>(moonDays[i + 1] - moonDays[i]), number, leap});
        }
        if (!leapSeen) Fail("13 months without a month lacking a principal term");
    }
    return months;
}

// Packed entries in the LunarYearInfo format: bits 0-3 the month followed by
// the leap month, bits 4-15 month m at 0x10000 >> m set for 30 days, bit 16
// the leap month has 30 days.
struct LunarYear {
    int year;
    std::uint32_t entry;
    long long nextNewYearDay;  // the day after its last day, days since 1970-01-01
};

std::vector<LunarYear> LunarYears(const std::vector<Month>& months, int firstYear)
{
    std::vector<LunarYear> years;
    int year = 0;
    for (const Month& m : months) {
        if (m.number == 1 && !m.leap) {
            const qov::CivilDate c = CivilFromDays(m.firstDay);
            year = static_cast<int>(c.year);
            if (!years.empty() && years.back().nextNewYearDay == 0)
                years.back().nextNewYearDay = m.firstDay;
            if (year >= firstYear && year <= LastLunarYear) years.push_back({year, 0, 0});
        }
        if (years.empty() || years.back().year != year) continue;
        std::uint32_t& e = years.back().entry;
        if (m.leap) {
            e |= static_cast<std::uint32_t>(m.number) | (m.days == 30 ? 0x10000u : 0u);
        } else if (m.days == 30) {
            e |= 0x10000u >> m.number;
        }
    }
    if (years.size() != static_cast<std::size_t>(LastLunarYear - firstYear + 1)
        || years.back().nextNewYearDay == 0)
        Fail("lunar years missing");
    return years;
}

// The mean formula of the term table: term k of year Y is expected at
// Base[k] + Rate[k] * (Y - 2000) seconds since 1970-01-01 00:00 CST; the
// table holds the seconds after that, 0..4095, as three hex digits. Rate is
// the least-squares slope, rounded; Base puts the earliest term of each
// index exactly on its mean.
struct MeanFormula {
    std::array<long long, 24> base{};
    std::array<long long, 24> rate{};
};

MeanFormula FitMeanFormula(const std::vector<Term>& terms)
{
    MeanFormula f;
    for (int k = 0; k < 24; ++k) {
        double n = 0, st = 0, sv = 0, stt = 0, stv = 0;
        for (const Term& t : terms)
            if (t.k == k) {
                const double x = t.year - ReferenceYear;
                const auto v = static_cast<double>(t.seconds);
                n += 1;
                st += x;
                sv += v;
                stt += x * x;
                stv += x * v;
            }
        const double slope = (n * stv - st * sv) / (n * stt - st * st);
        const auto kk = static_cast<std::size_t>(k);
        f.rate[kk] = std::llround(slope);
        long long lowest = 0;
        bool first = true;
        for (const Term& t : terms)
            if (t.k == k) {
                const long long r = t.seconds - f.rate[kk] * (t.year - ReferenceYear);
                if (first || r < lowest) lowest = r;
                first = false;
            }
        f.base[kk] = lowest;
    }
    for (const Term& t : terms) {
        const auto kk = static_cast<std::size_t>(t.k);
        const long long r = t.seconds - f.base[kk] - f.rate[kk] * (t.year - ReferenceYear);
        if (r < 0 || r > 0xFFF) Fail("a term too far from the mean formula for three hex digits");
    }
    return f;
}

const char* const Banner =
    "// Generated by tools/gen_calendar_tables.cpp from the Swiss Ephemeris; do not\n"
    "// edit. Regenerate with: cmake --build --preset dev --target regenerate_tables\n";

std::string TermTable(const std::vector<Term>& terms)
{
    const MeanFormula f = FitMeanFormula(terms);
    std::ostringstream out;
    out << Banner
        << "//\n"
           "// Solar term k (0 = 小寒 .. 23 = 冬至) of Gregorian year Y, 1899..2101: the\n"
           "// instant the Sun's apparent longitude reaches 285 + 15k degrees, in whole\n"
           "// seconds (floored) since 1970-01-01 00:00 China Standard Time (UTC+8):\n"
           "//   TermMeanBase[k] + TermMeanRate[k] * (Y - TermMeanYear) + r,\n"
           "// where r (0..4095 s) is the k-th group of three hexadecimal digits of\n"
           "// TermOffsets[Y - 1899].\n"
           "//\n"
           "// Terms within two minutes of midnight, seconds from it (the table\n"
           "// follows the ephemeris; another ephemeris or delta T may date them a day\n"
           "// apart):\n";
    for (const Term& t : terms) {
        const long long margin = MidnightMargin(t.seconds);
        if (std::llabs(margin) > CloseCallSeconds) continue;
        out << "//   " << Stamp(t.seconds) << "  "
            << qov::SolarTermNames[static_cast<std::size_t>(t.k)] << "  " << Margin(t.exact)
            << "\n";
    }
    out << "#pragma once\n\n#include <array>\n#include <cstdint>\n#include <string_view>\n\n"
           "namespace qov::generated {\n\n"
           "inline constexpr int FirstTableTermYear = "
        << FirstTermYear << ";\ninline constexpr int LastTableTermYear = " << LastTermYear
        << ";\ninline constexpr int TermMeanYear = " << ReferenceYear << ";\n\n";
    const auto row = [&out](const char* name, const std::array<long long, 24>& v) {
        out << "inline constexpr std::array<std::int64_t, 24> " << name << " = {";
        for (std::size_t k = 0; k < 24; ++k) out << (k % 4 == 0 ? "\n    " : " ") << v[k] << ",";
        out << "\n};\n";
    };
    out << "// clang-format off\n";
    row("TermMeanBase", f.base);
    row("TermMeanRate", f.rate);
    out << "\n// One year a row.\n"
           "inline constexpr std::array<std::string_view, "
        << LastTermYear - FirstTermYear + 1 << "> TermOffsets = {\n";
    for (int y = FirstTermYear; y <= LastTermYear; ++y) {
        out << "    \"";
        for (const Term& t : terms)
            if (t.year == y) {
                const auto kk = static_cast<std::size_t>(t.k);
                char hex[4];
                std::snprintf(hex, sizeof hex, "%03llX",
                    t.seconds - f.base[kk] - f.rate[kk] * (y - ReferenceYear));
                out << hex;
            }
        out << "\",  // " << y << "\n";
    }
    out << "};\n// clang-format on\n\n}  // namespace qov::generated\n";
    return out.str();
}

std::string EntryRows(const std::vector<LunarYear>& years, int from, int to)
{
    std::ostringstream out;
    for (const LunarYear& y : years) {
        if (y.year < from || y.year > to) continue;
        char hex[16];
        std::snprintf(hex, sizeof hex, "0x%05X,", y.entry);
        out << ((y.year - from) % 10 == 0 ? "    " : " ") << hex;
        if ((y.year - from) % 10 == 9 || y.year == to)
            out << "  // " << y.year - (y.year - from) % 10 << "\n";
    }
    return out.str();
}

std::string LunarTable(const std::vector<LunarYear>& years, const std::vector<NewMoon>& moons)
{
    std::ostringstream out;
    out << Banner
        << "//\n"
           "// Lunar years in the LunarYearInfo format, by GB/T 33661-2017 in China\n"
           "// Standard Time (UTC+8); lunar 2100 ends on "
        << Stamp((years.back().nextNewYearDay - 1) * SecondsPerDay).substr(0, 10)
        << ".\n"
           "//\n"
           "// New moons within two minutes of midnight, seconds from it (a month\n"
           "// begins on the day of the new moon; the table follows the ephemeris):\n";
    for (const NewMoon& m : moons) {
        const long long margin = MidnightMargin(m.seconds);
        if (std::llabs(margin) <= CloseCallSeconds)
            out << "//   " << Stamp(m.seconds) << "  " << Margin(m.exact) << "\n";
    }
    out << "#pragma once\n\n#include <array>\n#include <cstdint>\n\n"
           "namespace qov::generated {\n\n"
           "// Lunar years 1929..2100 (index year - 1929).\n"
           "// One decade a row.\n// clang-format off\n"
           "inline constexpr std::array<std::uint32_t, "
        << LastLunarYear - FirstComputedLunarYear + 1 << "> ComputedLunarYears = {\n"
        << EntryRows(years, FirstComputedLunarYear, LastLunarYear)
        << "};\n\n"
           "// Lunar years 1900..1928 (index year - 1900) by the same rule. The\n"
           "// official tables of those years used Beijing local time and differ in a\n"
           "// few months; the engine keeps them.\n"
           "inline constexpr std::array<std::uint32_t, "
        << FirstComputedLunarYear - 1900 << "> RuleLunarYearsBefore1929 = {\n"
        << EntryRows(years, 1900, FirstComputedLunarYear - 1)
        << "};\n// clang-format on\n\n}  // namespace qov::generated\n";
    return out.str();
}

bool Check(const std::string& path, const std::string& text)
{
    std::ifstream in(path, std::ios::binary);
    const std::string old{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (old == text) return true;
    std::size_t line = 1;
    const std::size_t n = std::min(old.size(), text.size());
    for (std::size_t i = 0; i < n && old[i] == text[i]; ++i) line += old[i] == '\n' ? 1 : 0;
    std::fprintf(
        stderr, "%s differs from the ephemeris from line %zu; regenerate it\n", path.c_str(), line);
    return false;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3
        || (std::strcmp(argv[1], "--write") != 0 && std::strcmp(argv[1], "--check") != 0)) {
        std::fprintf(stderr, "usage: gen_calendar_tables --write|--check DIR\n");
        return 2;
    }
    // The data files found at configure time (swe-basic-data: 1800..2399).
    swe_set_ephe_path(QOV_EPHE_DIR);
    const std::vector<Term> terms = ComputeTerms();
    const std::vector<NewMoon> moons = ComputeNewMoons();
    const std::vector<Month> months = LunarMonths(terms, moons);
    const std::vector<LunarYear> years = LunarYears(months, 1900);
    const std::string files[2][2] = {
        {"/solarterm_table.h", TermTable(terms)},
        {"/lunar_table.h", LunarTable(years, moons)},
    };
    swe_close();
    const bool write = std::strcmp(argv[1], "--write") == 0;
    bool same = true;
    for (const auto& [name, text] : files) {
        const std::string path = argv[2] + name;
        if (write) {
            std::ofstream(path, std::ios::binary) << text;
        } else {
            same = Check(path, text) && same;
        }
    }
    return same ? 0 : 1;
}
