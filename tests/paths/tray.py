"""Minimised to a StatusNotifier tray and back by a click on its icon; a second launch brings
the window forward out of the tray."""

import desktop
from desktop import Desktop, check, wait_for
from main_window import TITLE, start_rollbox

# The panel stands along the top edge with the tray alone on it: the first icon is here.
TRAY_ICON = (12, 16)


def hide_to_tray(d, main, where):
    d.click_on(d.find(main.window, "Minimize"), where)
    wait_for("the main window hidden", lambda: not d.window_visible(TITLE))


def check_forward(d, main):
    wait_for("the main window shown", lambda: d.window_visible(TITLE))
    main.wait_active()
    main.wait_focus()
    check(d.text(main.formula) == "3d6", "the formula box lost what was typed")


def path():
    with Desktop(tray=True) as d:
        main = start_rollbox(d)
        d.type("3d6")

        hide_to_tray(d, main, (0.25, 0.5))
        d.click(*TRAY_ICON)
        check_forward(d, main)

        # Two quick clicks at one spot would make a double click, which is no click.
        hide_to_tray(d, main, (0.75, 0.5))
        second = d.start("rollbox", folder=main.program.folder)
        check(second.wait_ended() == 0, "the second launch did not end cleanly")
        check_forward(d, main)
        check(not main.program.ended(), "the running copy ended")


desktop.run(path)
