"""Rollbox's main window as a user meets it: its boxes and panes found by the names a screen
reader speaks, rolls typed at the keyboard, and the records they leave."""

import os
import re

from desktop import check, read_bytes, wait_for

TITLE = os.environ["ROLLBOX_TITLE"]
NAME = os.environ["ROLLBOX_NAME"]
WORK_FILES = ("temp.txt", "tempt.txt", "tempd.txt")
FORMULA_BOX = "Enter the formula:"


class MainWindow:
    def __init__(self, desktop, program):
        self.desktop = desktop
        self.program = program
        self.app = desktop.application(NAME)
        self.window = desktop.window(self.app, TITLE)
        text = desktop.atspi.ROLE_TEXT
        self.formula = desktop.find(self.window, FORMULA_BOX, text)
        self.add = desktop.find(self.window, "+/-", text)
        self.totals = desktop.find(self.window, "Totals", text)
        self.dice = desktop.find(self.window, "Dice", text)

    def wait_active(self):
        self.desktop.wait_active(TITLE)

    def wait_focus(self, name=FORMULA_BOX):
        self.desktop.wait_focus(self.app, name)

    def shown(self):
        """The two panes' text, as a screen reader reads it."""
        return self.desktop.text(self.totals) + self.desktop.text(self.dice)

    def wait_rolled(self, display_formula):
        """Waits for the record of a roll of display_formula and returns it."""
        heading = f"Rolled: {display_formula}\r\n"
        self.desktop.wait_text(self.totals, lambda text: text.startswith(heading),
                               f"a roll of {display_formula} in the totals pane")
        return self.shown()

    def roll(self, formula, display_formula=None):
        """Types a formula over the selected one and presses Enter."""
        self.desktop.type(formula)
        self.desktop.keys("Return")
        return self.wait_rolled(display_formula or formula)

    def check_formula_selected(self):
        """The closing step of every roll: the focus in the formula box, its text selected."""
        self.wait_focus()
        length = len(self.desktop.text(self.formula))
        selection = lambda: self.desktop.selection(self.formula)
        wait_for(lambda: f"the whole formula selected (the selection is {selection()})",
                 lambda: selection() == (0, length))

    def check_work_files(self, record):
        """temp.txt holds the record, tempt.txt and tempd.txt the panes' texts."""
        check(read_bytes(self.program.file("temp.txt")) == record.encode("latin-1"),
              "temp.txt does not hold the record shown")
        check(read_bytes(self.program.file("tempt.txt")).decode("latin-1") ==
              self.desktop.text(self.totals), "tempt.txt does not hold the totals pane")
        check(read_bytes(self.program.file("tempd.txt")).decode("latin-1") ==
              self.desktop.text(self.dice), "tempd.txt does not hold the dice pane")


def start_rollbox(desktop):
    """Starts Rollbox in a fresh working folder and waits for its window to take typing."""
    main = MainWindow(desktop, desktop.start("rollbox"))
    main.wait_focus()
    return main


def totals_and_dice(record):
    """The totals and die results of a record, in order."""
    totals = [int(value) for value in re.findall(r"^Total:\s+(-?\d+)\r$", record, re.M)]
    dice = [int(value) for value in re.findall(r"^d\d+\(\d+\)>\s+(-?\d+)\r$", record, re.M)]
    return totals, dice


def check_roll(record, count, sides, modifier=0, add=0, drop_low=0, drop_high=0):
    """One repetition of count dice: each die in range, the total the sum of the kept dice
    plus add."""
    totals, dice = totals_and_dice(record)
    check(len(totals) == 1 and len(dice) == count, f"not one total and {count} dice: {record!r}")
    check(all(1 + modifier <= die <= sides + modifier for die in dice),
          f"a die out of range: {dice}")
    kept = sorted(dice)[drop_low:count - drop_high]
    check(totals[0] == sum(kept) + add, f"total {totals[0]} is not the sum of {kept} {add:+}")
