"""Runs the real Pelto.exe under Wine and operates it through driver.exe.

Each test gets a fresh folder holding a copy of Pelto.exe and, when the test gives one, a
Pelto.ini written in Shift-JIS. The Wine environment (WINE, WINEPREFIX, DISPLAY, ...) comes
from scripts/wine-env.sh; PELTO_WIN_BUILD names the folder with Pelto.exe and driver.exe.
"""

import json
import os
import re
import shutil
import signal
import socket
import subprocess
import tempfile
import time
import unittest
from pathlib import Path

SOURCE = Path(__file__).resolve().parents[2]
BUILD = Path(os.environ.get("PELTO_WIN_BUILD", SOURCE / "build" / "win64"))
WINE = os.environ.get("WINE", "/usr/lib/wine/wine64")
SCREENSHOTS = Path(os.environ.get("PELTO_SCREENSHOTS", BUILD.parent / "screenshots"))
STEP_SECONDS = 15  # how long a test waits for the program to reach a state


def _read_ids():
    """Class names and control/command ids, from the header the program uses."""
    text = (SOURCE / "src" / "win" / "control_ids.h").read_text(encoding="utf-8")
    ids = {name: int(value) for name, value in re.findall(r"\b(\w+) = (\d+),", text)}
    ids.update(re.findall(r"\b(\w+Class) = \"(\w+)\"", text))
    return ids


IDS = _read_ids()


def win_path(path):
    """The Windows name of a Unix path, as Pelto receives it from the shell."""
    return "Z:" + str(path).replace("/", "\\")


def closed_port():
    """A port on 127.0.0.1 with nothing listening: a printer that refuses at once."""
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def parse_ini(data):
    """Sections in file order, each a dict of key -> value in file order."""
    sections = {}
    current = None
    for line in data.decode("cp932").splitlines():
        line = line.strip()
        if line.startswith("[") and line.endswith("]"):
            current = sections.setdefault(line[1:-1], {})
        elif current is not None and "=" in line:
            key, value = line.split("=", 1)
            current[key.strip()] = value.strip()
    return sections


class DriverError(AssertionError):
    pass


class BackgroundDriver:
    """One driver command running in the background; result() waits for its JSON output."""

    def __init__(self, env, args):
        self.args = args
        # Files, not pipes, as in Pelto.driver.
        self.out = tempfile.TemporaryFile()
        self.err = tempfile.TemporaryFile()
        self.process = subprocess.Popen([WINE, str(BUILD / "driver.exe"), *map(str, args)],
                                        stdin=subprocess.DEVNULL, stdout=self.out, stderr=self.err,
                                        env=env)

    def wait(self):
        try:
            return self.process.wait(timeout=180)
        finally:
            self.out.close()
            self.err.close()

    def result(self):
        code = self.process.wait(timeout=180)
        self.out.seek(0)
        self.err.seek(0)
        out, err = self.out.read(), self.err.read()
        self.wait()
        if code != 0:
            raise DriverError("driver %s: %s" % (" ".join(map(str, self.args)),
                                                 err.decode("utf-8", "replace").strip()))
        return json.loads(out.decode("utf-8"))


class Pelto:
    """One run of Pelto.exe in its own folder."""

    def __init__(self, folder, ini=None):
        self.folder = Path(folder)
        self.exe = self.folder / "Pelto.exe"
        self.ini_path = self.folder / "Pelto.ini"
        if not self.exe.exists():
            shutil.copy(BUILD / "Pelto.exe", self.exe)
        if ini is not None:
            self.write_ini(ini)
        self.process = None
        self.background = []

    def write_ini(self, text):
        self.ini_path.write_bytes(text.replace("\n", "\r\n").encode("cp932"))

    def ini(self):
        return parse_ini(self.ini_path.read_bytes()) if self.ini_path.exists() else None

    def start(self, *args, env=None):
        """env: variables added to the program's environment."""
        self.process = subprocess.Popen(
            [WINE, str(self.exe), *args], cwd=self.folder, env=dict(os.environ, **(env or {})),
            stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.driver("wait", "main")
        return self

    def start_minimised(self, *args):
        """Started as a shortcut set to "minimised" would; the process waited for is start.exe,
        which ends when Pelto ends."""
        self.process = subprocess.Popen(
            [WINE, "start", "/min", "/wait", win_path(self.exe), *args], cwd=self.folder,
            stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.driver("state", "main")  # waits until the window exists, shown or not
        return self

    def driver_env(self):
        return dict(os.environ, PELTO_DRIVER_EXE=win_path(self.exe))

    def driver(self, *args):
        """Runs one driver command on this run's windows; its stdout without the final newline."""
        env = self.driver_env()
        # Files, not pipes: Wine's helper processes started by the first call of a session
        # inherit its handles and would hold a pipe open.
        with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
            code = subprocess.run([WINE, str(BUILD / "driver.exe"), *map(str, args)],
                                  stdin=subprocess.DEVNULL, stdout=out, stderr=err,
                                  env=env, timeout=60).returncode
            out.seek(0)
            err.seek(0)
            if code != 0:
                raise DriverError("driver %s: %s" % (" ".join(map(str, args)),
                                                     err.read().decode("utf-8", "replace").strip()))
            return out.read().decode("utf-8").rstrip("\n")

    def driver_background(self, *args):
        """Starts a driver command that runs alongside the test's next steps (press-record)."""
        command = BackgroundDriver(self.driver_env(), args)
        self.background.append(command)
        return command

    def json(self, *args):
        return json.loads(self.driver(*args))

    # What a user sees.
    def items(self):
        return self.json("items")

    def selection(self):
        return self.json("selection")

    def status(self):
        return self.driver("status")

    def text(self, window, control=None):
        return self.driver("text", window if control is None else "%s:%d" % (window, IDS[control]))

    def rect(self, window="main"):
        return tuple(int(v) for v in self.driver("rect", window).split())

    def focus(self, window="main"):
        return int(self.driver("focus", window))

    def state(self, window="main"):
        return self.json("state", window)

    # What a user does.
    def click(self, control, window="main"):
        """A click whose handler returns (no modal window, no close)."""
        self.driver("click", "%s:%d" % (window, IDS[control]))

    def click_post(self, control, window="main"):
        self.driver("click-post", "%s:%d" % (window, IDS[control]))

    def menu(self, command):
        self.driver("menu", IDS[command])

    def menu_post(self, command):
        self.driver("menu-post", IDS[command])

    def open_settings(self):
        self.menu_post("Setting")
        self.driver("wait", "settings")

    def set_text(self, control, text, window="settings"):
        self.driver("set-text", "%s:%d" % (window, IDS[control]), text)

    def checked(self, control, window="settings"):
        return int(self.driver("checked", "%s:%d" % (window, IDS[control])))

    def wait_for(self, probe, expected):
        """Polls probe until it returns expected; returns its last value for the assertion."""
        deadline = time.monotonic() + STEP_SECONDS
        while True:
            value = probe()
            if value == expected or time.monotonic() > deadline:
                return value
            time.sleep(0.05)

    def wait_exit(self):
        """The exit code, once the process has ended."""
        return self.process.wait(timeout=STEP_SECONDS)

    def close(self, how="box"):
        """Closes the main window and waits for the process to end; returns its exit code."""
        self.driver("close", "main", how)
        return self.wait_exit()

    def screenshot(self, name):
        SCREENSHOTS.mkdir(parents=True, exist_ok=True)
        # The virtual desktop only: the rest of the screen stays black.
        subprocess.run(["import", "-display", os.environ["DISPLAY"], "-window", "root",
                        "-crop", "800x600+0+0", "+repage", str(SCREENSHOTS / (name + ".png"))],
                       check=True, timeout=30)

    def kill(self):
        if self.process and self.process.poll() is None:
            os.kill(self.process.pid, signal.SIGKILL)
            self.process.wait(timeout=STEP_SECONDS)
        self.driver("terminate", "main")  # a run started through start.exe
        for command in self.background:  # they end with the program
            command.wait()
        # The next test must not find this run's windows.
        self.driver("wait-gone", "main")


class PeltoTest(unittest.TestCase):
    """A fresh folder per test; whatever the test started is ended afterwards."""

    def setUp(self):
        self.folder = Path(tempfile.mkdtemp(prefix="pelto-"))
        self.addCleanup(shutil.rmtree, self.folder, ignore_errors=True)

    def pelto(self, ini=None, folder=None):
        run = Pelto(folder or self.folder, ini)
        self.addCleanup(run.kill)
        return run

    def make_files(self, *names, under=None):
        """Creates small files; returns their Windows paths."""
        paths = []
        for name in names:
            path = (under or self.folder / "files") / name
            path.parent.mkdir(parents=True, exist_ok=True)
            path.write_bytes(b"print me\r\n")
            paths.append(win_path(path))
        return paths
