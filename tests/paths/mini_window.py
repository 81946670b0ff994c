"""The mini roller's window as a user meets it."""

import os


TITLE = os.environ["MINITUMO_TITLE"]
NAME = os.environ["MINITUMO_NAME"]


class MiniWindow:
    def __init__(self, desktop):
        self.desktop = desktop
        self.app = desktop.application(NAME)
        self.window = desktop.window(self.app, TITLE)
        text = desktop.atspi.ROLE_TEXT
        self.die = desktop.find(self.window, "Die", text)
        self.result = desktop.find(self.window, "Result", text)

    def wait_active(self):
        self.desktop.wait_active(TITLE)

    def gone(self):
        return not any(app is not None and app.name == NAME
                       for app in self.desktop.atspi.Registry.getDesktop(0))
