#!/usr/bin/python3
# The calendar export as other programs read it: each case of a table is
# exported by `qov --export-ics`, checked byte by byte, parsed by
# python3-icalendar and its events counted per kind against the festival
# tables, the shipped holiday file, the user's days and the calendar; khal imports one export
# twice and lists its days; refusals and write errors end it.
# Usage: ics_clients_test.py QOV SOURCE_DIR
import collections
import datetime
import os
import pathlib
import re
import shutil
import subprocess
import sys
import tempfile

import dateutil.easter
import icalendar

QOV, ROOT = sys.argv[1], pathlib.Path(sys.argv[2])
# In memory where there is /dev/shm: khal syncs each event it imports.
WORK = pathlib.Path(tempfile.mkdtemp(prefix="qov-ics-", dir="/dev/shm" if os.path.isdir("/dev/shm") else None))
CONFIG = WORK / "config"
(CONFIG / "qov").mkdir(parents=True)
# The user's own line, a name with every character a TEXT value escapes.
(CONFIG / "qov" / "holidays.tsv").write_text("2026-10-10\t休\ta,b;c\\d\n", encoding="utf-8")
# The user's days: on 闰四月三十 (its last day, or 四月's in the years without
# a 闰四月), on 29 February (the 28th in common years), on 腊月三十 (除夕).
(CONFIG / "qov" / "mydays.tsv").write_text(
    "农历\t闰04-30\t外婆生日\t1948\n公历\t02-29\t生日,聚会;备忘\\旧\n农历\t12-30\t除夕夜\n",
    encoding="utf-8")
ENV = dict(os.environ, XDG_CONFIG_HOME=str(CONFIG), HOME=str(WORK), QT_QPA_PLATFORM="offscreen")
ALL = "terms,holidays,lunar-festivals,gregorian-festivals,international-days," \
      "western-festivals,my-days,lunar-dates"
TODAY = datetime.date.today().year
failures = []


def check(ok, what):
    if not ok:
        failures.append(what)
        print("FAIL:", what)


def qov(*args):
    return subprocess.run([QOV, *args], env=ENV, capture_output=True, timeout=60, check=False)


def table_rows(name):
    """Key to the (name, kind) pairs of its rows, in table order."""
    block = TABLES[TABLES.index(name + " = {"):]
    rows = collections.defaultdict(list)
    for key, names, kind in re.findall(r'"(\d{4}) ([^"]+)", FestivalKind::(\w+)',
                                       block[:block.index("};")]):
        rows[key] += [(n, kind) for n in names.split(" ")]
    return rows


TABLES = (ROOT / "festivals" / "festival_tables.h").read_text(encoding="utf-8")
GREGORIAN, LUNAR, WEEKDAY = (table_rows(n) for n in
                             ("GregorianFestivals", "LunarFestivals", "WeekdayFestivals"))
MONTHS = ["正", "二", "三", "四", "五", "六", "七", "八", "九", "十", "十一", "十二"]
DAYS = [t + d for t in ("初", "十", "廿") for d in "一二三四五六七八九十"]
DAYS = DAYS[:19] + ["二十"] + DAYS[20:29] + ["三十"]


def gregorian_festivals(day):
    names = list(GREGORIAN.get(day.strftime("%m%d"), []))
    first = (day.replace(day=1).weekday() + 1) % 7  # 0 = Sunday
    t = first + day.day - 1 if first else day.day + 6
    key = f"{day.month:02d}{t // 7}{t % 7}"
    fallback = f"{day.month:02d}50" if (t // 7, t % 7) == (4, 0) else key
    names += WEEKDAY.get(key, WEEKDAY.get(fallback, []))
    return names + [("", "West")] * ((day.day, day.weekday()) == (13, 4)) \
        + [("", "West")] * (day == dateutil.easter.easter(day.year))


def expected(years, kinds, lunar_dates):
    """Events per category the calendar's facts give for the years."""
    first, last = datetime.date(years[0], 1, 1), datetime.date(years[1], 12, 31)
    counts = collections.Counter()
    days = [first + datetime.timedelta(n) for n in range((last - first).days + 1)]
    if "terms" in kinds:
        counts["节气"] = 24 * (years[1] - years[0] + 1)
    if "holidays" in kinds:
        lines = (ROOT / "data" / "holidays-cn.tsv").read_text(encoding="utf-8").splitlines()
        shipped = {line[:10] for line in lines if line[:1].isdigit()} | {"2026-10-10"}
        counts["休/班"] = sum(str(d) in shipped for d in days)
    for option, category, kind in (("gregorian-festivals", "公历节日", "China"),
                                   ("international-days", "国际纪念日", "World"),
                                   ("western-festivals", "西方节日", "West")):
        if option in kinds:
            counts[category] = sum(k == kind for d in days for _, k in gregorian_festivals(d))
    if "lunar-dates" in kinds:
        counts["农历日期"] = sum(d >= datetime.date(1900, 1, 31) for d in days)
    # 除夕 is the eve of 春节.
    eves = {d - datetime.timedelta(1) for d, s in lunar_dates.items() if s == "农历正月初一"}
    if "my-days" in kinds:  # one a year, 外婆生日 from 1948, 除夕夜 on each 除夕
        counts["纪念日"] = years[1] - years[0] + 1 + max(0, years[1] - max(years[0], 1948) + 1) \
            + len(eves & set(lunar_dates))
    if "lunar-festivals" in kinds:
        # A leap month repeats its month's festivals.
        counts["传统节日"] = len(eves & set(lunar_dates)) + sum(
            len(LUNAR.get(f"{MONTHS.index(m) + 1:02d}{DAYS.index(dd) + 1:02d}", []))
            for d, s in lunar_dates.items()
            for m, dd in [re.fullmatch(r"农历闰?(.+)月(..)", s).groups()])
    return counts


def parse(data, case):
    """The events of an export, its byte-level rules checked first."""
    lines = data.split(b"\r\n")
    check(lines.pop() == b"" and all(b"\n" not in x and b"\r" not in x for x in lines),
          f"{case}: CRLF line ends only")
    for line in lines:
        # A split sequence and a character left unconverted both give U+FFFD.
        check(len(line) <= 75 and "\ufffd" not in line.decode("utf-8", "replace"),
              f"{case}: line {line!r}")
    calendar = icalendar.Calendar.from_ical(data)
    events = calendar.walk("VEVENT")
    check(all(k in calendar for k in ("VERSION", "PRODID", "CALSCALE", "X-WR-CALNAME"))
          and len({e["UID"] for e in events}) == len(events), f"{case}: properties or UIDs")
    for e in events:
        start, end = e["DTSTART"].dt, e["DTEND"].dt
        check(type(start) is datetime.date and end - start == datetime.timedelta(1)
              and "DTSTAMP" in e and e["TRANSP"] == "TRANSPARENT", f"{case}: {e['UID']}")
    return events


DEFAULT = "terms,holidays,lunar-festivals,gregorian-festivals"
# Summaries on their days, and text as written, per --years.
SUMMARIES = {
    "2026": (("2026-10-01", "国庆节 休"), ("2026-10-10", "a,b;c\\d 休"),
             ("2026-09-20", "国庆节 调休上班"), ("2026-11-07", "立冬"),
             ("2026-12-07", "农历十月廿九"), ("2026-12-08", "农历十月三十"),
             ("2026-11-28", "农历十月二十"), ("2026-02-16", "除夕夜"),
             ("2026-02-28", "生日,聚会;备忘\\旧"), ("2026-06-14", "外婆生日 第79个")),
    "2020": (("2020-06-20", "外婆生日 第73个"), ("2020-02-29", "生日,聚会;备忘\\旧"))}
RAW = ("SUMMARY:a\\,b\\;c\\\\d 休", "DESCRIPTION:交节时刻 2026-11-07 17:52 北京时间",
       "DESCRIPTION:交节时刻 2026-01-05 16:23 北京时间", "SUMMARY:生日\\,聚会\\;备忘\\\\旧")
# --years (None: qov's default), --include (None: qov's default)
for years, include in (("2027", "terms,holidays"), (None, None), ("1900", ALL), ("2100", ALL),
                       ("2026", ALL), ("2020", "my-days")):
    args = ["--export-ics", "-"] + (["--years", years] if years else []) \
        + (["--include", include] if include else [])
    span = (int(years), int(years)) if years else (TODAY, min(TODAY + 1, 2100))
    case = " ".join(args)
    done = qov(*args)
    check(done.returncode == 0 and not done.stderr, f"{case}: exit {done.returncode} {done.stderr}")
    events = parse(done.stdout, case)
    lunar = {e["DTSTART"].dt: str(e["SUMMARY"]) for e in parse(qov(
        "--export-ics", "-", "--years", f"{span[0]}-{span[1]}", "--include", "lunar-dates").stdout,
        case)}
    counts = collections.Counter(str(e["CATEGORIES"].cats[0]) for e in events)
    want = expected(span, (include or DEFAULT).split(","), lunar)
    check(counts == want, f"{case}: events per kind {dict(counts)} != {dict(want)}")
    summaries = {(str(e["DTSTART"].dt), str(e["SUMMARY"])) for e in events}
    for day, summary in SUMMARIES.get(years, ()):
        check((day, summary) in summaries, f"{case}: no {summary} on {day}")
    if years == "2026":
        for raw in RAW:
            check(raw.encode() in done.stdout, f"{case}: no {raw}")
        uids = re.findall(rb"^UID:.*$", done.stdout, re.M)
        again = qov(*args).stdout
        check(re.findall(rb"^UID:.*$", again, re.M) == uids, "UIDs differ between two exports")

# khal imports the export into a calendar of its own, twice: the second
# import updates the events of the first.
khal_conf = WORK / "khal.conf"
khal_conf.write_text(f"""[calendars]
[[qov]]
path = {WORK / 'cal'}
[locale]
dateformat = %Y-%m-%d
longdateformat = %Y-%m-%d
""")
(WORK / "cal").mkdir()
ics = WORK / "qov.ics"
ics.write_text("stale", encoding="utf-8")
check(qov("--export-ics", str(ics), "--years", "2026", "--include", "terms,holidays")
      .returncode == 0, "export to a file")
khal = ["khal", "-c", str(khal_conf)]
khal_env = dict(ENV, XDG_DATA_HOME=str(WORK / "data"), XDG_CACHE_HOME=str(WORK / "cache"))
for _ in range(2):
    done = subprocess.run(khal + ["import", "--batch", "-a", "qov", str(ics)], env=khal_env,
                          capture_output=True, text=True, timeout=60, check=False)
    check(done.returncode == 0, f"khal import: {done.stderr}")
for day, summary in (("2026-10-01", "国庆节 休"), ("2026-11-07", "立冬")):
    listed = subprocess.check_output(khal + ["list", day, day], env=khal_env, text=True)
    print(f"khal list {day}:\n{listed}")
    check(listed.count(summary) == 1, f"khal list {day}: {summary} once")

# Refusals exit 2 with a message; an unwritable file exits 1.
for args, status in ((["--years", "2101"], 2), (["--years", "2027-2026"], 2),
                     (["--include", "terms,feasts"], 2), (["--include", ""], 2),
                     (["--export-ics", str(WORK / "no" / "such.ics")], 1)):
    done = qov(*(["--export-ics", "-"] if "--export-ics" not in args else []), *args)
    check(done.returncode == status and done.stderr and not done.stdout,
          f"{args}: exit {done.returncode}, {done.stderr!r}")

shutil.rmtree(WORK)
print(f"{len(failures)} failures")
sys.exit(1 if failures else 0)
