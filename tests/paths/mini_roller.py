"""The mini roller: started from Rollbox with Ctrl+M, rolled with the function keys, ended with
Ctrl+X while Rollbox runs on."""

import desktop
from desktop import Desktop, check, wait_for
from main_window import start_rollbox
from mini_window import MiniWindow

# Key, kind shown, lowest and highest number.
ROLLS = [("F1", "d20", 1, 20), ("F6", "d6", 1, 6), ("F7", "d4+1", 2, 5), ("F9", "3d6", 3, 18),
         ("F11", "d100", 1, 100), ("F2", "d2", 1, 2)]


def path():
    with Desktop() as d:
        main = start_rollbox(d)

        d.keys("ctrl+m")
        mini = MiniWindow(d)
        mini.wait_active()
        for key, kind, low, high in ROLLS:
            d.keys(key)
            d.wait_text(mini.die, lambda text: text == kind, f"{key} showing {kind}")
            number = int(d.text(mini.result))
            check(low <= number <= high, f"{key} rolled {number}, outside {low} to {high}")

        d.keys("ctrl+x")
        wait_for("the mini roller ended", mini.gone)
        check(not main.program.ended(), "Rollbox ended with the mini roller")


desktop.run(path)
