#!/usr/bin/python3
"""Reads qov, started on 1 October 2026, through AT-SPI as a screen reader
does; run by bridge_test.sh. Prints PASS or FAIL a check; the status is 0
when nothing failed. sni_test.py shares its check() and wait_for()."""
import datetime
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

failed = 0


def check(name, ok, got):
    global failed
    failed += not ok
    print(f"PASS: {name}" if ok else f"FAIL: {name} (got {got!r})")


def wait_for(probe, seconds=15):
    """probe()'s value once true (D-Bus events pumped meanwhile), else None."""
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        while GLib.MainContext.default().iteration(False):
            pass
        try:
            if value := probe():
                return value
        except Exception:  # the tree is still being built
            pass
        time.sleep(0.05)


def main():
    subprocess.Popen([sys.argv[1], "--date", "2026-10-01"])
    heard = []  # names of the cells that took the focus, in order
    pyatspi.Registry.registerEventListener(
        lambda e: e.detail1 and e.source.getRole() == pyatspi.ROLE_TABLE_CELL and heard.append(e.source.name),
        "object:state-changed:focused")
    dialog = wait_for(lambda: next(a[0] for a in pyatspi.Registry.getDesktop(0) if a and a.name == "qov"), 30)
    if dialog is None:
        sys.exit("FAIL: no qov on the AT-SPI bus")
    controls = {(c.getRoleName(), c.name) for c in dialog}
    for role, name in [("table", "2026年10月"), ("combo box", "年份"), ("combo box", "月份"),
                       ("combo box", "查询年份"), ("combo box", "查询月份"), ("combo box", "查询日期"),
                       ("text", "开始日期"), ("text", "结束日期"), ("text", "相差天数"),
                       ("radio button", "按公历查询"), ("radio button", "按农历查询")]:
        check(f"{role} {name}", (role, name) in controls, sorted(controls))
    # A list's value as Orca reads it, its text.
    values = [c.queryText().getText(0, -1) for c in dialog if c.getRole() == pyatspi.ROLE_COMBO_BOX][:2]
    check("year and month lists show 2026 and 10", values == ["2026", "10"], values)

    grid = next(c for c in dialog if c.getRole() == pyatspi.ROLE_TABLE)
    table = grid.queryTable()
    check("6 x 7 cells", (table.nRows, table.nColumns, grid.childCount) == (6, 7, 49),
          (table.nRows, table.nColumns, grid.childCount))
    headers = " ".join(table.getColumnHeader(c).name for c in range(7))
    check("weekday headers", headers == "星期日 星期一 星期二 星期三 星期四 星期五 星期六", headers)
    cell = table.getAccessibleAt(0, 4)
    spoken = f"{cell.name} {cell.description}"
    check("1 October in full, no word twice", spoken
          == "2026年10月1日 星期四 农历八月廿一 国庆节 世界音乐日 国际老人节 丙午年 丁酉月 戊申日 休", spoken)


    def focused():
        return [c.name for c in grid if c.getState().contains(pyatspi.STATE_FOCUSED)]


    today = datetime.date.today()
    at = grid.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    # xdotool input, and the one cell then focused and last heard. Cells are 70 x
    # 50 pixels; 1 October is in row 0, column 4. The wheel's button 5 is a notch
    # towards the user.
    for action, expected in [
            (f"mousemove {at.x + 315} {at.y + 25} click 1", "2026年10月1日 星期四"),
            ("key Right", "2026年10月2日 星期五"), ("key Down", "2026年10月9日 星期五"),
            ("key Next", "2026年11月9日 星期一"), ("key ctrl+Prior", "2025年11月9日 星期日"),
            ("click 5", "2025年12月9日 星期二"),
            ("key Home", f"{today.year}年{today.month}月{today.day}日 星期{'一二三四五六日'[today.weekday()]}")]:
        subprocess.run(["xdotool"] + action.split(), check=True)
        got = wait_for(lambda: focused() == [expected] and heard[-1:] == [expected])
        check(f"{action}: {expected} focused and heard", got, (focused(), heard[-1:]))
    sys.exit(1 if failed else 0)


if __name__ == "__main__":
    main()
