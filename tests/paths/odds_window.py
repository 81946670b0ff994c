"""The windows beside the main one: Ctrl+D shows the odds of the formula typed, their table is
copied, and Escape goes back to the formula; so does closing the help window from Ctrl+H."""

import desktop
from desktop import Desktop, check, wait_for
from main_window import TITLE, start_rollbox

HEADER = "Total\tExactly %\tAt least %\tAt most %"


def copied_rows(d):
    lines = d.clipboard().split("\r\n")
    if not lines or lines[0] != HEADER:
        return None
    return [line.split("\t") for line in lines[1:] if line]


def path():
    with Desktop() as d:
        main = start_rollbox(d)
        d.type("3d6")

        d.keys("ctrl+d")
        odds = d.window(main.app, f"Odds - {TITLE}")
        d.wait_active(odds.name)
        d.find(odds, "3d6", d.atspi.ROLE_LABEL)
        d.wait_focus(main.app, "Chart of the chance of each total")

        d.keys("ctrl+c")
        rows = wait_for("the table of 3d6 on the clipboard", lambda: copied_rows(d))
        check([int(row[0]) for row in rows] == list(range(3, 19)),
              f"the copied totals are not 3 to 18: {[row[0] for row in rows]}")
        check(abs(sum(float(row[1]) for row in rows) - 100) < 1e-3,
              "the copied chances do not add up to 100 %")
        check(abs(float(rows[10 - 3][1]) - 12.5) < 1e-3, "10 on 3d6 is not 12.5 %")

        d.keys("Escape")
        wait_for("the odds window closed", lambda: not any(
            window.name == odds.name for window in d.windows(main.app)))
        main.wait_active()
        main.wait_focus()
        check(d.text(main.formula) == "3d6", "the formula box lost what was typed")

        d.keys("ctrl+h")
        d.window(main.app, f"{TITLE} Help")
        d.wait_focus(main.app, "Close")
        d.keys("Return")
        main.wait_active()
        main.wait_focus()


desktop.run(path)
