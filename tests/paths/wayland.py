"""Both programs on Wayland, on Weston's headless compositor: Rollbox starts and rolls a formula
put into its box, opens the odds window from the chart of the last roll, and stays the only
copy when started again with a launcher's activation token; the mini roller starts beside it;
the end of the session (SIGTERM) ends both cleanly, and Rollbox leaves no work files."""

import os
import signal

import desktop
from desktop import WaylandDesktop, check, wait_for
from main_window import TITLE, WORK_FILES, MainWindow, check_roll
from mini_window import MiniWindow


def path():
    with WaylandDesktop() as d:
        # Without a keyboard no window is ever active, and no control has the focus.
        main = MainWindow(d, d.start("rollbox"))

        d.put_text(main.formula, "2d8+1")
        d.press(d.find(main.window, "Roll!", d.atspi.ROLE_PUSH_BUTTON))
        record = main.wait_rolled("2d8+1")
        check_roll(record, 2, 8, modifier=1)
        wait_for("the formula selected after the roll",
                 lambda: d.selection(main.formula) == (0, len("2d8+1")))
        main.check_work_files(record)

        d.press(d.find(main.window, "Odds of the last roll"))
        odds = d.window(main.app, f"Odds - {TITLE}")
        d.find(odds, "2d8+1")

        # A second start hands over its activation token and ends; the first keeps its roll.
        second = d.start("rollbox", folder=main.program.folder,
                         env={"XDG_ACTIVATION_TOKEN": "rollbox-path-token"})
        check(second.wait_ended() == 0, "the second start did not end cleanly")
        check(not main.program.ended(), "the running copy ended at the second start")
        check(main.shown() == record, "the second start changed the panes")

        mini_program = d.start("minitumo")
        MiniWindow(d)

        for program in (main.program, mini_program):
            program.process.send_signal(signal.SIGTERM)
            check(program.wait_ended() == 0, f"{program.name} did not end cleanly")
        for name in WORK_FILES:
            check(not os.path.exists(main.program.file(name)), f"{name} was left behind")


desktop.run(path)
