"""Save Results: the log file chosen in the log-file window, then two rolls, both logged."""

import os

import desktop
from desktop import Desktop, check, read_bytes, wait_for
from main_window import start_rollbox


def path():
    with Desktop() as d:
        main = start_rollbox(d)
        log = os.path.join(d.env["HOME"], "table-log.txt")

        d.click_on(d.find(main.window, "Save Results", d.atspi.ROLE_CHECK_BOX))
        path_box = d.find(main.app, "To save to a file, enter the path and filename as shown "
                          "in the example below.", d.atspi.ROLE_TEXT)
        wait_for("the log-file window's path box with the focus",
                 lambda: d.focused(main.app) == path_box)
        default = os.path.join(d.env["HOME"], "rolllog.txt")
        check(d.text(path_box) == default and d.selection(path_box) == (0, len(default)),
              f"the path box does not offer the default log, selected: {d.text(path_box)!r}")
        d.type(log)
        d.keys("Return")
        main.wait_active()

        # The focus went to the check box; a click puts it back in the formula box.
        d.click_on(main.formula)
        main.wait_focus()
        d.keys("ctrl+a")
        first = main.roll("2d6")
        d.keys("F9")
        second = main.wait_rolled("3d6")
        wait_for("both records in the log",
                 lambda: os.path.exists(log) and read_bytes(log) == (first + second).encode())
        check(not os.path.exists(default), "the default log was written too")


desktop.run(path)
