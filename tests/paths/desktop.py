"""A desktop of its own for one user path, and the ways a person reaches the programs on it.

Each path starts a Desktop: Xvfb on a free display, a session D-Bus with the accessibility bus
switched on as a screen reader switches it on, the xfwm4 window manager and, when asked, Xfce's
panel as a StatusNotifier tray. Programs start in fresh working folders with the delivered data
files. Keys are typed with xdotool, as a keyboard would; what the user sees is read from the
accessibility tree, as a screen reader reads it; files are read from the working folder.

Nothing here waits for a fixed time: every wait is for a condition, and its bound only ends a
hang.
"""

import os
import random
import re
import shutil
import subprocess
import sys
import tempfile
import time
import traceback

SOURCE_DIR = os.environ["ROLLBOX_SOURCE_DIR"]
BIN_DIR = os.environ["ROLLBOX_BIN_DIR"]
WAIT_LIMIT = float(os.environ.get("ROLLBOX_PATH_WAIT", "60"))


class PathFailure(AssertionError):
    pass


def wait_for(what, condition, limit=WAIT_LIMIT):
    """Polls condition until it returns something true, and returns that. what names the
    awaited state in the failure; a function there is asked only then, for the state seen."""
    deadline = time.monotonic() + limit
    last_error = None
    while True:
        try:
            value = condition()
            if value:
                return value
        except PathFailure:
            raise
        except Exception as error:  # a window that is going away answers with an error
            last_error = error
        if time.monotonic() > deadline:
            detail = f" (last error: {last_error})" if last_error else ""
            raise PathFailure(f"{what() if callable(what) else what}: not seen within "
                              f"{limit:.0f} s{detail}")
        time.sleep(0.05)


def check(condition, message):
    if not condition:
        raise PathFailure(message)


def read_bytes(path):
    with open(path, "rb") as f:
        return f.read()


class Program:
    """One started copy of rollbox or minitumo."""

    def __init__(self, desktop, name, folder, process):
        self.desktop = desktop
        self.name = name
        self.folder = folder
        self.process = process

    def file(self, name):
        return os.path.join(self.folder, name)

    def ended(self):
        return self.process.poll() is not None

    def wait_ended(self):
        wait_for(f"{self.name} to end", self.ended)
        return self.process.returncode

    def stop(self):
        if not self.ended():
            self.process.kill()
            self.process.wait()


class Desktop:
    def __init__(self, tray=False):
        self.tray = tray
        self.root = tempfile.mkdtemp(prefix="rollbox-path-")
        self.processes = []
        self.programs = []
        self.env = dict(os.environ)
        for name in ("WAYLAND_DISPLAY", "DBUS_SESSION_BUS_ADDRESS", "AT_SPI_BUS_ADDRESS",
                     "QT_QPA_PLATFORM", "SESSION_MANAGER"):
            self.env.pop(name, None)
        for name in ("home", "runtime", "config", "data", "cache"):
            os.makedirs(self.folder(name), mode=0o700)
        # X's keyboard library hands strndup names that end without a NUL, which strict string
        # checks take for overflows; the programs' own strings are checked by the unit tests.
        if "ASAN_OPTIONS" in self.env:
            self.env["ASAN_OPTIONS"] = ":".join(
                option for option in self.env["ASAN_OPTIONS"].split(":")
                if not option.startswith("strict_string_checks"))
        self.env.update(HOME=self.folder("home"), XDG_RUNTIME_DIR=self.folder("runtime"),
                        XDG_CONFIG_HOME=self.folder("config"), XDG_DATA_HOME=self.folder("data"),
                        XDG_CACHE_HOME=self.folder("cache"), LANG="C.UTF-8",
                        QT_QPA_PLATFORM="xcb")

    def folder(self, name):
        return os.path.join(self.root, name)

    # Setting up and taking down

    def __enter__(self):
        try:
            self._start_display()
            self._start_bus()
            if self.tray:
                self._configure_panel()
            window_manager = self._background("xfwm4", ["xfwm4", "--compositor=off"])
            wait_for("the window manager", lambda: self._window_manager_running(window_manager))
            self._wait_window_manager_ready()
            if self.tray:
                self._background("panel", ["xfce4-panel", "--disable-wm-check"])
                wait_for("a StatusNotifier host", self._tray_host_registered)
        except BaseException as error:
            self.__exit__(type(error), error, error.__traceback__)
            raise
        # The accessibility library finds its bus through these, so it is loaded only after.
        os.environ.update(DISPLAY=self.env["DISPLAY"],
                          DBUS_SESSION_BUS_ADDRESS=self.env["DBUS_SESSION_BUS_ADDRESS"])
        return self

    @property
    def atspi(self):
        """The accessibility library, loaded on first use: a path that reads no tree (the
        programs under Wine have none) needs no accessibility bindings."""
        import pyatspi
        return pyatspi

    def __exit__(self, kind, value, trace):
        for program in self.programs:
            program.stop()
        for process in reversed(self.processes):
            if process.poll() is None:
                process.terminate()
                try:
                    process.wait(10)
                except subprocess.TimeoutExpired:
                    process.kill()
                    process.wait()
        if kind is not None:
            self._show_logs()
        shutil.rmtree(self.root, ignore_errors=True)
        return False

    def _background(self, name, command, **kwargs):
        log = open(os.path.join(self.root, name + ".log"), "wb")
        process = subprocess.Popen(command, env=self.env, stdout=log, stderr=subprocess.STDOUT,
                                   stdin=subprocess.DEVNULL, **kwargs)
        self.processes.append(process)
        return process

    def _start_display(self):
        # Displays are taken from a random start, not the first free one: a server that is
        # ending elsewhere frees its number before it has let go of all of it.
        first = random.randrange(100, 30000)
        for number in range(first, first + 50):
            read_end, write_end = os.pipe()
            # Without -noreset the server starts afresh whenever its last client leaves, and a
            # client that comes meanwhile is turned away.
            server = self._background("xvfb", ["Xvfb", f":{number}", "-displayfd",
                                               str(write_end), "-noreset", "-nolisten", "tcp",
                                               "-screen", "0", "1280x800x24"],
                                      pass_fds=[write_end])
            os.close(write_end)
            with os.fdopen(read_end) as pipe:
                ready = pipe.readline().strip()  # empty when the server ended: number taken
            if ready:
                self.env["DISPLAY"] = f":{number}"
                wait_for(f"a connection to the display :{number}", self._display_answers)
                return
            server.wait()
            self.processes.remove(server)
        raise PathFailure("Xvfb found no free display")

    def _display_answers(self):
        return subprocess.run(["xdpyinfo"], env=self.env, stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL).returncode == 0

    def _start_bus(self):
        read_end, write_end = os.pipe()
        self._background("dbus", ["dbus-daemon", "--session", "--nofork", "--nopidfile",
                                  f"--print-address={write_end}"], pass_fds=[write_end])
        os.close(write_end)
        with os.fdopen(read_end) as pipe:
            address = pipe.readline().strip()
        check(address, "the session bus did not start")
        self.env["DBUS_SESSION_BUS_ADDRESS"] = address
        # What a screen reader does at its start: every program on the bus shows its tree.
        subprocess.run(["gdbus", "call", "--session", "--dest", "org.a11y.Bus", "--object-path",
                        "/org/a11y/bus", "--method", "org.freedesktop.DBus.Properties.Set",
                        "org.a11y.Status", "IsEnabled", "<true>"],
                       env=self.env, check=True, stdout=subprocess.DEVNULL)

    def _configure_panel(self):
        target = os.path.join(self.folder("config"), "xfce4", "xfconf",
                              "xfce-perchannel-xml")
        os.makedirs(target)
        shutil.copy(os.path.join(SOURCE_DIR, "scripts", "tray-panel.xml"),
                    os.path.join(target, "xfce4-panel.xml"))

    def _window_manager_running(self, process):
        if process.poll() is not None:
            raise PathFailure(f"the window manager ended with {process.returncode}")
        # A window manager that runs names its check window on the root window.
        result = subprocess.run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], env=self.env,
                                capture_output=True, text=True)
        return "window id" in result.stdout

    def _wait_window_manager_ready(self):
        # The manager names itself before it has taken over the windows already there, and a
        # window mapped in between is taken over as an old one, never given the focus. A new
        # window of its own that gets the focus shows it is ready; one that came too early is
        # replaced by the next.
        def probe_focused():
            probe = self._background("probe", ["xmessage", "-title", "probe", "ready"])
            try:
                return wait_for("a probe window focused",
                                lambda: self.active_window_title() == "probe", limit=3)
            except PathFailure:
                return False
            finally:
                probe.terminate()
                probe.wait()
                self.processes.remove(probe)
        wait_for("the window manager focusing a new window", probe_focused)

    def _tray_host_registered(self):
        result = subprocess.run(
            ["gdbus", "call", "--session", "--dest", "org.kde.StatusNotifierWatcher",
             "--object-path", "/StatusNotifierWatcher", "--method",
             "org.freedesktop.DBus.Properties.Get", "org.kde.StatusNotifierWatcher",
             "IsStatusNotifierHostRegistered"], env=self.env, capture_output=True, text=True)
        return "true" in result.stdout

    def _show_logs(self):
        for name in sorted(os.listdir(self.root)):
            if name.endswith(".log"):
                with open(os.path.join(self.root, name), errors="replace") as f:
                    text = f.read().strip()
                if text:
                    print(f"--- {name}\n{text[-4000:]}", file=sys.stderr)

    # Programs

    def start(self, name, folder=None, env=None):
        """Starts bin/<name> in folder, by default a fresh one with the delivered data files;
        env adds variables to its environment."""
        if folder is None:
            folder = os.path.join(self.root, f"work-{len(self.programs)}")
            os.makedirs(folder)
            for data in ("tumosetup.dat", "tumoinfo.dat"):
                shutil.copy(os.path.join(SOURCE_DIR, "data", data), folder)
        log = open(os.path.join(self.root, f"{name}-{len(self.programs)}.log"), "wb")
        process = subprocess.Popen(self.command(name), cwd=folder,
                                   env={**self.env, **(env or {})},
                                   stdout=log, stderr=subprocess.STDOUT,
                                   stdin=subprocess.DEVNULL)
        program = Program(self, name, folder, process)
        self.programs.append(program)
        return program

    def command(self, name):
        return [os.path.join(BIN_DIR, name)]

    # The keyboard and the mouse

    def xdotool(self, *arguments):
        subprocess.run(["xdotool", *arguments], env=self.env, check=True)

    def keys(self, *keys):
        """Presses each key or chord in turn, e.g. keys("ctrl+d", "Escape")."""
        self.xdotool("key", "--clearmodifiers", *keys)

    def type(self, text):
        self.xdotool("type", "--clearmodifiers", "--delay", "20", text)

    def click(self, x, y, button=1):
        self.xdotool("mousemove", "--sync", str(x), str(y), "click", str(button))

    def set_layout(self, layout):
        subprocess.run(["setxkbmap", layout], env=self.env, check=True)

    def active_window_title(self):
        result = subprocess.run(["xdotool", "getactivewindow", "getwindowname"], env=self.env,
                                capture_output=True, text=True)
        return result.stdout.strip() if result.returncode == 0 else ""

    def wait_active(self, title):
        """Waits until the window manager names this window the active one."""
        wait_for(lambda: f"\"{title}\" active (\"{self.active_window_title()}\" is)",
                 lambda: self.active_window_title() == title)

    def visible_window(self, title):
        """The id of a window of this title mapped on the screen, as the window system says,
        or None."""
        result = subprocess.run(["xdotool", "search", "--onlyvisible", "--name",
                                 f"^{re.escape(title)}$"], env=self.env, capture_output=True,
                                text=True)
        ids = result.stdout.split() if result.returncode == 0 else []
        return ids[0] if ids else None

    def window_visible(self, title):
        """Whether a window of this title is mapped on the screen, as the window system says."""
        return self.visible_window(title) is not None

    def active_window(self):
        """The id of the window the window manager names the active one, or None."""
        result = subprocess.run(["xdotool", "getactivewindow"], env=self.env,
                                capture_output=True, text=True)
        return result.stdout.strip() if result.returncode == 0 else None

    def screenshot(self, path):
        subprocess.run(["import", "-window", "root", path], env=self.env,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def clipboard(self):
        result = subprocess.run(["xclip", "-selection", "clipboard", "-o"], env=self.env,
                                capture_output=True, timeout=WAIT_LIMIT)
        return result.stdout.decode("latin-1") if result.returncode == 0 else ""

    # The accessibility tree

    def application(self, name):
        """The running program's root in the tree, by its application name."""
        def found():
            desktop = self.atspi.Registry.getDesktop(0)
            for app in desktop:
                if app is not None and app.name == name:
                    return app
            return None
        return wait_for(f"{name} in the accessibility tree", found)

    def windows(self, app):
        return [window for window in app if window is not None]

    def window(self, app, title):
        def found():
            for window in self.windows(app):
                if window.name == title and self.is_showing(window):
                    return window
            return None
        return wait_for(f"the window \"{title}\"", found)

    def is_showing(self, accessible):
        return accessible.getState().contains(self.atspi.STATE_SHOWING)

    def find(self, root, name, role=None):
        """The first control below root with this accessible name (and role)."""
        def matches(accessible):
            return accessible is not None and accessible.name == name and (
                role is None or accessible.getRole() == role)
        return wait_for(f"the control \"{name}\"",
                        lambda: self.atspi.findDescendant(root, matches))

    def focused(self, app):
        """The control that has the keyboard focus in any of the program's windows."""
        def has_focus(accessible):
            return accessible is not None and accessible.getState().contains(
                self.atspi.STATE_FOCUSED)
        for window in self.windows(app):
            if window.getState().contains(self.atspi.STATE_ACTIVE):
                return self.atspi.findDescendant(window, has_focus)
        return None

    def focused_name(self, app):
        control = self.focused(app)
        return control.name if control is not None else None

    def wait_focus(self, app, name):
        wait_for(lambda: f"the focus in \"{name}\" (it is in \"{self.focused_name(app)}\", "
                         f"the active window is \"{self.active_window_title()}\")",
                 lambda: self.focused_name(app) == name)

    def text(self, accessible):
        text = accessible.queryText()
        return text.getText(0, text.characterCount)

    def selection(self, accessible):
        """The selected part of a text box as (start, end), or None."""
        text = accessible.queryText()
        return tuple(text.getSelection(0)) if text.getNSelections() else None

    def wait_text(self, accessible, condition, what):
        """Waits until the control's text meets condition, and returns that text."""
        def met():
            text = self.text(accessible)
            return (text,) if condition(text) else None
        return wait_for(lambda: f"{what} (the text is {self.text(accessible)!r})", met)[0]

    def put_text(self, accessible, text):
        """Puts text into a text box as an on-screen keyboard or a screen reader does."""
        accessible.queryEditableText().setTextContents(text)

    def press(self, accessible):
        """Presses a button as a screen reader does."""
        accessible.queryAction().doAction(0)

    def click_on(self, accessible, where=(0.5, 0.5), button=1):
        """Clicks a control where the screen shows it: by default in its middle, else at the
        given fractions of its width and height."""
        extents = accessible.queryComponent().getExtents(self.atspi.DESKTOP_COORDS)
        self.click(extents.x + int(extents.width * where[0]),
                   extents.y + int(extents.height * where[1]), button)


class WaylandDesktop(Desktop):
    """A Wayland desktop instead: Weston's headless compositor and the same session bus, the
    programs on Qt's Wayland platform. Headless Weston has no screen and no input devices, so
    nothing is typed or clicked: text goes into the boxes and buttons are pressed through the
    accessibility tree."""

    SOCKET = "wayland-rollbox"

    def __init__(self):
        super().__init__()
        self.env.pop("DISPLAY", None)
        self.env.update(QT_QPA_PLATFORM="wayland", WAYLAND_DISPLAY=self.SOCKET)

    def __enter__(self):
        try:
            compositor = self._background("weston", [
                "weston", "--backend=headless-backend.so", "--no-config", "--idle-time=0",
                f"--socket={self.SOCKET}"])
            wait_for("the compositor", lambda: self._compositor_listening(compositor))
            self._start_bus()
        except BaseException as error:
            self.__exit__(type(error), error, error.__traceback__)
            raise
        os.environ.pop("DISPLAY", None)
        os.environ["DBUS_SESSION_BUS_ADDRESS"] = self.env["DBUS_SESSION_BUS_ADDRESS"]
        return self

    def _compositor_listening(self, process):
        if process.poll() is not None:
            raise PathFailure(f"weston ended with {process.returncode}")
        return os.path.exists(os.path.join(self.folder("runtime"), self.SOCKET))


class WineDesktop(Desktop):
    """The same X desktop, with the programs of the Windows build run by Wine through the
    build's runner, in a Wine prefix of the path's own: a drive C, a user profile and a Wine
    server no other test shares. Wine's windows show no accessibility tree, so what the user
    sees is read from the window system (titles, the active window), the programs' files and,
    when the path fails, a screenshot."""

    EMULATOR = os.environ.get("ROLLBOX_EMULATOR", "")

    def __init__(self):
        super().__init__()
        # No offer to install Wine's .NET and HTML engines into the new prefix.
        self.env.update(WINEPREFIX=self.folder("wine"), WINEDEBUG="-all",
                        WINEDLLOVERRIDES="mscoree,mshtml=")

    def __enter__(self):
        # The prefix is made before the display: on a display Wine shows its progress.
        quiet = {key: value for key, value in self.env.items() if key != "DISPLAY"}
        try:
            subprocess.run(["wineboot", "--init"], env=quiet, stdin=subprocess.DEVNULL,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                           timeout=WAIT_LIMIT * 3, check=True)
            # Windows has Courier New; Wine has not, and in the font it takes instead the text
            # boxes show no text. Liberation Mono has Courier New's measures.
            subprocess.run(["wine", "reg", "add", r"HKCU\Software\Wine\Fonts\Replacements",
                            "/v", "Courier New", "/d", "Liberation Mono", "/f"], env=quiet,
                           stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                           stderr=subprocess.DEVNULL, timeout=WAIT_LIMIT, check=True)
        except BaseException as error:
            self._end_wine()
            shutil.rmtree(self.root, ignore_errors=True)
            raise PathFailure(f"the Wine prefix could not be made: {error}")
        return super().__enter__()

    def __exit__(self, kind, value, trace):
        if kind is not None:
            shot = os.path.abspath(os.path.basename(sys.argv[0]) + "-failure.png")
            self.screenshot(shot)
            print(f"The screen at the failure: {shot}", file=sys.stderr)
        self._end_wine()
        return super().__exit__(kind, value, trace)

    def _end_wine(self):
        # Ends every program of the prefix and its server; the runner then passes each
        # program's output on to its log.
        subprocess.run(["wineserver", "-k"], env=self.env, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL)
        for program in self.programs:
            try:
                program.process.wait(WAIT_LIMIT)
            except subprocess.TimeoutExpired:
                pass

    def command(self, name):
        return [self.EMULATOR, os.path.join(BIN_DIR, name)]

    def drive_c(self, name):
        return os.path.join(self.env["WINEPREFIX"], "drive_c", name)

    def windows_programs(self):
        """The file names of the Windows programs that run in the prefix."""
        prefix = f"WINEPREFIX={self.env['WINEPREFIX']}".encode()
        names = []
        for pid in filter(str.isdigit, os.listdir("/proc")):
            try:
                if prefix not in read_bytes(f"/proc/{pid}/environ").split(b"\0"):
                    continue
                command = read_bytes(f"/proc/{pid}/cmdline").split(b"\0")[0]
            except OSError:  # ended meanwhile, or not ours
                continue
            names.append(command.decode("latin-1").replace("\\", "/").rsplit("/", 1)[-1])
        return names


def run(path):
    """Runs one path function and reports it the way CTest reads it."""
    name = os.path.basename(sys.argv[0])
    try:
        path()
    except PathFailure as failure:
        steps = [frame for frame in traceback.extract_tb(failure.__traceback__)
                 if os.path.basename(frame.filename) == name]
        where = "".join(f" (line {step.lineno}: {step.line})" for step in steps)
        print(f"FAIL {name}{where}: {failure}", file=sys.stderr)
        sys.exit(1)
    print(f"PASS {name}")
