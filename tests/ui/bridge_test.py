"""Reads qov through AT-SPI, as Orca does: run by bridge_test.sh with qov
showing 1 October 2026. Prints PASS or FAIL per check; the status is 0 when
nothing failed."""
import datetime
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

failures = 0


def check(name, ok, got=""):
    global failures
    print(("PASS: " if ok else "FAIL: ") + name + ("" if ok else f" (got {got!r})"))
    failures += 0 if ok else 1


def wait_for(probe, seconds=10.0):
    """probe() once it is true, pumping AT-SPI events meanwhile; else its last value."""
    end = time.monotonic() + seconds
    while True:
        while GLib.MainContext.default().iteration(False):
            pass
        try:
            value = probe()
        except Exception:  # the tree is still being built
            value = None
        if value or time.monotonic() > end:
            return value
        time.sleep(0.05)


def application():
    desktop = pyatspi.Registry.getDesktop(0)
    for app in desktop:
        if app is not None and app.name == "qov" and app.childCount > 0:
            return app


heard = []  # (name, description) of each cell that took the focus
pyatspi.Registry.registerEventListener(
    lambda e: e.detail1 and e.source.getRole() == pyatspi.ROLE_TABLE_CELL
    and heard.append((e.source.name, e.source.description)),
    "object:state-changed:focused")

app = wait_for(application, 30)
if app is None:
    check("qov on the AT-SPI bus", False)
    sys.exit(1)
dialog = app[0]
controls = {(c.getRoleName(), c.name) for c in dialog}
# Each control named for what it chooses; a list's value stays its item.
for role, name in [("table", "2026年10月"), ("combo box", "年份"), ("combo box", "月份"),
                   ("combo box", "查询年份"), ("combo box", "查询月份"),
                   ("combo box", "查询日期"), ("text", "开始日期"), ("text", "结束日期"),
                   ("text", "相差天数"), ("radio button", "按公历查询"),
                   ("radio button", "按农历查询")]:
    check(f"{role} {name}", (role, name) in controls, sorted(controls))

grid = next(c for c in dialog if c.getRole() == pyatspi.ROLE_TABLE)
table = grid.queryTable()
check("6 x 7 cells", (table.nRows, table.nColumns) == (6, 7), (table.nRows, table.nColumns))
headers = [table.getColumnHeader(c).name for c in range(7)]
check("weekday headers", headers == ["星期日", "星期一", "星期二", "星期三", "星期四", "星期五", "星期六"],
      headers)
first = table.getAccessibleAt(0, 4)
spoken = f"{first.name} {first.description}"
check("1 October in full, no word twice",
      spoken == "2026年10月1日 星期四 农历八月廿一 国庆节 世界音乐日 国际老人节 丙午年 丁酉月 戊申日 休",
      spoken)


def focused():
    cells = [grid[i] for i in range(grid.childCount)]
    names = [c.name for c in cells if c.getState().contains(pyatspi.STATE_FOCUSED)]
    return names[0] if len(names) == 1 else None


today = datetime.date.today()
weekdays = "一二三四五六日"
extent = grid.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
# Cells are 70 x 50 pixels from the grid's corner; 1 October is in row 0, column 4.
click = ["mousemove", str(extent.x + 4 * 70 + 35), str(extent.y + 25), "click", "1"]
# Input through xdotool and the cell that then has the focus (and was heard).
for action, expected in [
        (click, "2026年10月1日 星期四"),
        (["key", "Right"], "2026年10月2日 星期五"),
        (["key", "Down"], "2026年10月9日 星期五"),
        (["key", "Next"], "2026年11月9日 星期一"),
        (["key", "ctrl+Prior"], "2025年11月9日 星期日"),
        (["click", "5"], "2025年12月9日 星期二"),  # the wheel, a notch towards the user
        (["key", "Home"], f"{today.year}年{today.month}月{today.day}日 星期{weekdays[today.weekday()]}")]:
    subprocess.run(["xdotool"] + action, check=True)
    got = wait_for(lambda: focused() == expected and heard and heard[-1][0] == expected and expected)
    check(f"{' '.join(action[:2])}: {expected} focused and heard", got == expected,
          (focused(), heard[-1:]))

print(f"{failures} failed")
sys.exit(1 if failures else 0)
