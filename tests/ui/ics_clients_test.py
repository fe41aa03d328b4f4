#!/usr/bin/python3
# The calendar export as other programs read it: each case of a table is
# exported by `qov --export-ics`, checked byte by byte, parsed by
# python3-icalendar and its events counted per kind against the festival
# tables, the shipped holiday file, the user's days and the calendar; khal
# imports one export twice and lists its days; refusals and write errors end it.
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
CONFIG = WORK / "config" / "qov"
CONFIG.mkdir(parents=True)
# The user's own line, a name with every character a TEXT value escapes.
(CONFIG / "holidays.tsv").write_text("2026-10-10\t休\ta,b;c\\d\n", encoding="utf-8")
# The user's days: on 闰四月三十 (its last day, or 四月's in the years without
# a 闰四月), on 29 February (the 28th in common years), on 腊月三十 (除夕).
(CONFIG / "mydays.tsv").write_text(
    "农历\t闰04-30\t外婆生日\t1948\n公历\t02-29\t生日,聚会;备忘\\旧\n农历\t12-30\t除夕夜\n", encoding="utf-8")
# khal's data and cache go there too.
ENV = dict(os.environ, XDG_CONFIG_HOME=str(CONFIG.parent), HOME=str(WORK), QT_QPA_PLATFORM="offscreen",
           XDG_DATA_HOME=str(WORK / "data"), XDG_CACHE_HOME=str(WORK / "cache"))
DEFAULT = "terms,holidays,lunar-festivals,gregorian-festivals"
ALL = DEFAULT + ",international-days,western-festivals,my-days,lunar-dates"
failures = []


def check(ok, what):
    if not ok:
        failures.append(what)
        print("FAIL:", what)


def run(*args):
    return subprocess.run(args, env=ENV, capture_output=True, timeout=60, check=False)


def table_rows(name):
    """Key to the (name, kind) pairs of its rows, in table order."""
    block = TABLES[TABLES.index(name + " = {"):]
    rows = collections.defaultdict(list)
    for key, names, kind in re.findall(r'"(\d{4}) ([^"]+)", FestivalKind::(\w+)', block[:block.index("};")]):
        rows[key] += [(n, kind) for n in names.split(" ")]
    return rows


TABLES = (ROOT / "festivals" / "festival_tables.h").read_text(encoding="utf-8")
GREGORIAN, LUNAR, WEEKDAY = map(table_rows, ("GregorianFestivals", "LunarFestivals", "WeekdayFestivals"))
MONTHS = ["正", "二", "三", "四", "五", "六", "七", "八", "九", "十", "十一", "十二"]
DAYS = [t + d for t in ("初", "十", "廿") for d in "一二三四五六七八九十"]
DAYS = DAYS[:19] + ["二十"] + DAYS[20:29] + ["三十"]


def gregorian_festivals(day):
    """(name, kind) of the day's Gregorian, weekday and Western festivals."""
    names = list(GREGORIAN.get(day.strftime("%m%d"), []))
    first = (day.replace(day=1).weekday() + 1) % 7  # 0 = Sunday
    t = first + day.day - 1 if first else day.day + 6
    key = f"{day.month:02d}{t // 7}{t % 7}"
    names += WEEKDAY.get(key, WEEKDAY.get(f"{day.month:02d}50" if (t // 7, t % 7) == (4, 0) else key, []))
    west = [(day.day, day.weekday()) == (13, 4), day == dateutil.easter.easter(day.year)]
    return names + [("", "West")] * sum(west)


def expected(first, last, kinds, lunar_dates):
    """Events per category the calendar's facts give for the years."""
    days = [datetime.date(first, 1, 1) + datetime.timedelta(n)
            for n in range((datetime.date(last, 12, 31) - datetime.date(first, 1, 1)).days + 1)]
    lines = (ROOT / "data" / "holidays-cn.tsv").read_text(encoding="utf-8").splitlines()
    shipped = {line[:10] for line in lines if line[:1].isdigit()} | {"2026-10-10"}
    # 除夕 is the eve of 春节; a leap month repeats its month's festivals.
    eves = {d - datetime.timedelta(1) for d, s in lunar_dates.items() if s == "农历正月初一"} & set(lunar_dates)
    lunar = (re.fullmatch(r"农历闰?(.+)月(..)", s).groups() for s in lunar_dates.values())
    counts = {
        "terms": ("节气", 24 * (last - first + 1)),
        "holidays": ("休/班", sum(str(d) in shipped for d in days)),
        "lunar-dates": ("农历日期", sum(d >= datetime.date(1900, 1, 31) for d in days)),
        # One a year, 外婆生日 from 1948, 除夕夜 on each 除夕.
        "my-days": ("纪念日", last - first + 1 + max(0, last - max(first, 1948) + 1) + len(eves)),
        "lunar-festivals": ("传统节日", len(eves) + sum(
            len(LUNAR.get(f"{MONTHS.index(m) + 1:02d}{DAYS.index(d) + 1:02d}", [])) for m, d in lunar)),
    }
    for option, category, kind in (("gregorian-festivals", "公历节日", "China"),
                                   ("international-days", "国际纪念日", "World"),
                                   ("western-festivals", "西方节日", "West")):
        counts[option] = (category, sum(k == kind for d in days for _, k in gregorian_festivals(d)))
    return collections.Counter(dict(counts[k] for k in kinds))


def parse(data, case):
    """The events of an export, its byte-level rules checked first."""
    lines = data.split(b"\r\n")
    check(lines.pop() == b"" and not any(b"\n" in x or b"\r" in x for x in lines),
          f"{case}: CRLF line ends only")
    for line in lines:
        # A split sequence and a character left unconverted both give U+FFFD.
        check(len(line) <= 75 and "\ufffd" not in line.decode("utf-8", "replace"), f"{case}: line {line!r}")
    calendar = icalendar.Calendar.from_ical(data)
    events = calendar.walk("VEVENT")
    check(all(k in calendar for k in ("VERSION", "PRODID", "CALSCALE", "X-WR-CALNAME"))
          and len({e["UID"] for e in events}) == len(events), f"{case}: properties or UIDs")
    for e in events:
        start, end = e["DTSTART"].dt, e["DTEND"].dt
        check(type(start) is datetime.date and end - start == datetime.timedelta(1)
              and "DTSTAMP" in e and e["TRANSP"] == "TRANSPARENT", f"{case}: {e['UID']}")
    return events


# --years (None: qov's default), --include (None: qov's default), then the
# summaries and the raw lines the export holds.
TODAY = datetime.date.today().year
CASES = (
    ("2027", "terms,holidays", (), ()),
    (None, None, (), ()),
    ("1900", ALL, (), ()),
    ("2100", ALL, (), ()),
    ("2026", ALL, (("2026-10-01", "国庆节 休"), ("2026-10-10", "a,b;c\\d 休"),
                   ("2026-09-20", "国庆节 调休上班"), ("2026-11-07", "立冬"),
                   ("2026-12-07", "农历十月廿九"), ("2026-12-08", "农历十月三十"),
                   ("2026-11-28", "农历十月二十"), ("2026-02-16", "除夕夜"),
                   ("2026-02-28", "生日,聚会;备忘\\旧"), ("2026-06-14", "外婆生日 第79个")),
     ("SUMMARY:a\\,b\\;c\\\\d 休", "DESCRIPTION:交节时刻 2026-11-07 17:52 北京时间",
      "DESCRIPTION:交节时刻 2026-01-05 16:23 北京时间", "SUMMARY:生日\\,聚会\\;备忘\\\\旧")),
    ("2020", "my-days", (("2020-06-20", "外婆生日 第73个"), ("2020-02-29", "生日,聚会;备忘\\旧")), ()),
)
for years, include, summaries, raws in CASES:
    args = ["--export-ics", "-"] + (["--years", years] if years else []) \
        + (["--include", include] if include else [])
    first, last = (int(years), int(years)) if years else (TODAY, min(TODAY + 1, 2100))
    case = " ".join(args)
    done = run(QOV, *args)
    check(done.returncode == 0 and not done.stderr, f"{case}: exit {done.returncode} {done.stderr}")
    events = parse(done.stdout, case)
    lunar = run(QOV, "--export-ics", "-", "--years", f"{first}-{last}", "--include", "lunar-dates").stdout
    lunar = {e["DTSTART"].dt: str(e["SUMMARY"]) for e in parse(lunar, case)}
    counts = collections.Counter(str(e["CATEGORIES"].cats[0]) for e in events)
    want = expected(first, last, (include or DEFAULT).split(","), lunar)
    check(counts == want, f"{case}: events per kind {dict(counts)} != {dict(want)}")
    found = {(str(e["DTSTART"].dt), str(e["SUMMARY"])) for e in events}
    for day, summary in summaries:
        check((day, summary) in found, f"{case}: no {summary} on {day}")
    for raw in raws:
        check(raw.encode() in done.stdout, f"{case}: no {raw}")
    uids = [re.findall(rb"^UID:.*$", out, re.M) for out in (done.stdout, run(QOV, *args).stdout)]
    check(uids[0] == uids[1], f"{case}: UIDs differ in a second export")

# khal imports the export into a calendar of its own, twice: the second
# import updates the events of the first.
(WORK / "khal.conf").write_text(f"[calendars]\n[[qov]]\npath = {WORK / 'cal'}\n"
                                "[locale]\ndateformat = %Y-%m-%d\nlongdateformat = %Y-%m-%d\n")
(WORK / "cal").mkdir()
ics = WORK / "qov.ics"
ics.write_text("stale", encoding="utf-8")
check(run(QOV, "--export-ics", str(ics), "--years", "2026", "--include", "terms,holidays").returncode == 0,
      "export to a file")
khal = ["khal", "-c", str(WORK / "khal.conf")]
for _ in range(2):
    done = run(*khal, "import", "--batch", "-a", "qov", str(ics))
    check(done.returncode == 0, f"khal import: {done.stderr}")
for day, summary in (("2026-10-01", "国庆节 休"), ("2026-11-07", "立冬")):
    listed = run(*khal, "list", day, day).stdout.decode()
    check(listed.count(summary) == 1, f"khal list {day}: {summary} once in {listed!r}")

# Refusals exit 2 with a message; an unwritable file exits 1.
for args, status in ((["--years", "2101"], 2), (["--years", "2027-2026"], 2),
                     (["--include", "terms,feasts"], 2), (["--include", ""], 2),
                     (["--export-ics", str(WORK / "no" / "such.ics")], 1)):
    done = run(QOV, *(["--export-ics", "-"] if "--export-ics" not in args else []), *args)
    check(done.returncode == status and done.stderr and not done.stdout,
          f"{args}: exit {done.returncode}, {done.stderr!r}")

shutil.rmtree(WORK)
print(f"{len(failures)} failures")
sys.exit(1 if failures else 0)
