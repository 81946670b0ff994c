"""Rollbox for Windows under Wine: a typed formula and Enter, F9 and a preset rolled, Save
Results appending to C:\\rolllog.txt, the mini roller started with Ctrl+M, and Ctrl+X ending
both without a work file left."""

import os
import re

import desktop
from desktop import WineDesktop, check, read_bytes, wait_for
from main_window import TITLE, WORK_FILES, check_roll
from mini_window import TITLE as MINI_TITLE

# The log holds a roll of an earlier day; Save Results appends after it.
EARLIER = b"Rolled: 1d6\r\n" + b"=" * 26 + b"\r\nd6>  4\r\n" + b"-" * 26 + b"\r\n"
# Where the main window shows the formula box and Save Results, in the window.
FORMULA_BOX = (110, 73)
SAVE_RESULTS = (380, 203)


def shown_record(d, program, display_formula):
    """Waits for the record of a roll of display_formula in temp.txt, whole: the two panes'
    files together hold it, as the panes show it. Returns the record."""
    heading = f"Rolled: {display_formula}\r\n".encode()

    def files():
        return [read_bytes(program.file(name)) if os.path.exists(program.file(name)) else None
                for name in WORK_FILES]

    def whole():
        record, totals, dice = files()
        complete = None not in (record, totals, dice) and record == totals + dice
        return record if complete and record.startswith(heading) else None

    record = wait_for(lambda: f"a roll of {display_formula} in the work files "
                              f"(they hold {files()!r}, \"{d.active_window_title()}\" is active)",
                      whole)
    check(record.endswith(b"\r\n") and record.count(b"\n") == record.count(b"\r\n"),
          f"the record's lines do not all end in CR LF: {record!r}")
    return record.decode("latin-1")


def click_in(d, title, where):
    window = wait_for(f"the window \"{title}\"", lambda: d.visible_window(title))
    d.xdotool("mousemove", "--window", window, "--sync", str(where[0]), str(where[1]),
              "click", "1")


def path():
    with WineDesktop() as d:
        program = d.start("Rollbox.exe")
        d.wait_active(TITLE)

        d.type("2d6")
        d.keys("Return")
        check_roll(shown_record(d, program, "2d6"), 2, 6)

        log = d.drive_c("rolllog.txt")
        with open(log, "wb") as f:
            f.write(EARLIER)
        main = d.visible_window(TITLE)
        click_in(d, TITLE, SAVE_RESULTS)
        # The log-file window, titled with a space, offers C:\rolllog.txt; Enter takes it.
        wait_for(lambda: f"the log-file window active (\"{d.active_window_title()}\" is)",
                 lambda: d.active_window() not in (None, main) and
                 d.active_window() == d.visible_window(" "))
        d.keys("Return")
        d.wait_active(TITLE)

        d.keys("F9")
        rolls = [shown_record(d, program, "3d6")]
        check_roll(rolls[-1], 3, 6)
        # Shift+F2 rolls F2's quick formula, d2, and then the delivered preset: 1d20, add 5,
        # shown as one die's value. Both are logged; the preset's roll is the one shown.
        d.keys("shift+F2")
        rolls.append(shown_record(d, program, "(1d20)+5"))
        value = re.search(r"^d20>\s+(\d+)\r$", rolls[-1], re.M)
        check(value and 6 <= int(value[1]) <= 25, f"not one d20 plus 5: {rolls[-1]!r}")
        logged = re.compile(re.escape(EARLIER + rolls[0].encode("latin-1")) +
                            rb"Rolled: 1d2\r\n=+\r\nd2>\s+[12]\r\n-+\r\n" +
                            re.escape(rolls[1].encode("latin-1")), re.S)
        wait_for(lambda: f"the rolls appended to C:\\rolllog.txt (it holds {read_bytes(log)!r})",
                 lambda: logged.fullmatch(read_bytes(log)))

        d.keys("ctrl+m")
        d.wait_active(MINI_TITLE)
        check("MiniTumo.exe" in d.windows_programs(), "MiniTumo.exe is not running")
        d.keys("ctrl+x")
        wait_for("the mini roller ended", lambda: "MiniTumo.exe" not in d.windows_programs())
        check(not d.window_visible(MINI_TITLE), "the mini roller's window stayed")
        check(not program.ended(), "Rollbox ended with the mini roller")

        click_in(d, TITLE, FORMULA_BOX)
        d.wait_active(TITLE)
        d.keys("ctrl+x")
        check(program.wait_ended() == 0, "Rollbox did not end cleanly")
        left = [name for name in WORK_FILES if os.path.lexists(program.file(name))]
        check(left == [], f"Exit left work files: {left}")
        check(logged.fullmatch(read_bytes(log)), "the log changed after the last roll")


desktop.run(path)
