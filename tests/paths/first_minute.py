"""The first minute: start, type a formula, Enter; a quick formula; a refusal; a limit stop;
and the button reached by Tab."""

import desktop
from desktop import Desktop, check
from main_window import check_roll, start_rollbox

REFUSAL = "The formula must be entered as follows: #d#+# or #d#-# with no exceptions."


def path():
    with Desktop() as d:
        main = start_rollbox(d)
        main.wait_active()

        record = main.roll("3d6+2")
        check_roll(record, 3, 6, modifier=2)
        main.check_formula_selected()
        main.check_work_files(record)

        d.keys("F9")
        check_roll(main.wait_rolled("3d6"), 3, 6)
        check(d.text(main.formula) == "3d6", "F9 did not put 3d6 in the formula box")
        main.check_formula_selected()

        # Typing replaces the selected formula; a second dice letter is refused.
        d.type("2d6d")
        d.keys("Return")
        d.wait_text(main.totals, lambda text: text == REFUSAL, "the formula message")
        check(d.text(main.dice) == "", "the dice pane was not emptied by the refusal")
        # The focus stayed in the formula box, so its text is not selected anew.
        main.wait_focus()
        d.keys("ctrl+a")

        # Beyond the limits nothing changes but the selection.
        shown = main.shown()
        d.type("1001d6")
        d.keys("Return")
        main.check_formula_selected()
        check(d.text(main.formula) == "1001d6", "the formula box lost what was typed")
        check(main.shown() == shown, "a roll past the limit changed the panes")

        # Tab, Tab, Enter: the Roll button, reached from the formula box.
        d.type("2d10")
        d.keys("Tab", "Tab")
        main.wait_focus("Roll!")
        d.keys("Return")
        check_roll(main.wait_rolled("2d10"), 2, 10)
        main.check_formula_selected()
        # Shift+Tab from the formula box goes round to the chart of the last roll.
        d.keys("shift+Tab")
        main.wait_focus("Odds of the last roll")


desktop.run(path)
