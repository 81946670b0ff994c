"""Ending: SIGTERM leaves no work file; Ctrl+X, pressed on a Russian keyboard, ends both
programs."""

import os
import signal

import desktop
from desktop import Desktop, check
from main_window import WORK_FILES, start_rollbox
from mini_window import MiniWindow

# The key that reads X on a Latin keyboard reads Ч on a Russian one.
CTRL_X_ON_RU = "ctrl+Cyrillic_che"


def work_files_left(program):
    return [name for name in WORK_FILES if os.path.lexists(program.file(name))]


def path():
    with Desktop() as d:
        main = start_rollbox(d)
        program = main.program
        main.roll("2d6")
        check(work_files_left(program) == list(WORK_FILES), "a roll left no work files")
        program.process.send_signal(signal.SIGTERM)
        program.wait_ended()
        check(work_files_left(program) == [],
              f"SIGTERM left work files: {work_files_left(program)}")

        d.set_layout("ru")
        main = start_rollbox(d)
        program = main.program
        # A Russian keyboard has no Latin letters to type a formula with; F9 rolls one.
        d.keys("F9")
        main.wait_rolled("3d6")
        mini_program = d.start("minitumo")
        mini = MiniWindow(d)
        mini.wait_active()
        d.keys(CTRL_X_ON_RU)
        check(mini_program.wait_ended() == 0, "the mini roller did not end cleanly")

        d.click_on(main.formula)
        main.wait_active()
        d.keys(CTRL_X_ON_RU)
        check(program.wait_ended() == 0, "Rollbox did not end cleanly")
        check(work_files_left(program) == [], f"Exit left work files: {work_files_left(program)}")


desktop.run(path)
