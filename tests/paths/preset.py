"""A preset: edited in the setup window and saved, then rolled with Shift and its function
key."""

import desktop
from desktop import Desktop, check, read_bytes
from main_window import start_rollbox, check_roll

SETUP_TITLE = "Set Up Function Keys"


def path():
    with Desktop() as d:
        main = start_rollbox(d)

        d.keys("ctrl+f")
        setup = d.window(main.app, SETUP_TITLE)
        d.wait_focus(main.app, "F1 formula")
        d.keys("ctrl+a")
        d.type("4d4+1")
        d.keys("Tab")
        d.wait_focus(main.app, "F1 add/subtract")
        d.type("+3")
        d.keys("alt+s")
        # Saved and closed: the main window has the keyboard again, in the formula box.
        main.wait_active()
        main.wait_focus()
        check(not d.is_showing(setup), "the setup window stayed open")
        lines = read_bytes(main.program.file("tumosetup.dat")).split(b"\r\n")
        check(lines[:6] == [b"F 1", b"4d4+1", b" 1 ", b" 0 ", b" 0 ", b"+3"],
              f"F1's preset was not saved as edited: {lines[:6]}")

        d.keys("shift+F1")
        # The delivered F1 preset drops the lowest die; the edit kept that.
        check_roll(main.wait_rolled("(4d4+1)+3"), 4, 4, modifier=1, add=3, drop_low=1)
        check(d.text(main.formula) == "4d4+1" and d.text(main.add) == "+3",
              "Shift+F1 did not put the preset in the boxes")


desktop.run(path)
