#!/usr/bin/python3
"""The window as a screen reader finds it on the accessibility bus.

Starts a virtual display, a private session bus with the accessibility bus and its registry, and the
real program on a bank of one question; reads the program's tree through pyatspi the way a screen
reader does, and presses the start button, an answer and "sprawdź" through their actions.

Usage: atspi_window.py PROGRAM. Exits 77 (skipped) only when the display or the buses cannot start.
"""

import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

SKIP = 77
TIMEOUT = 15.0


def skip(reason):
    print("SKIP: " + reason)
    sys.exit(SKIP)


def wait_for(what, probe, timeout=TIMEOUT):
    deadline = time.monotonic() + timeout
    while True:
        try:
            result = probe()
        except Exception:  # the tree changes under the reader; ask again
            result = None
        if result:
            return result
        if time.monotonic() > deadline:
            raise AssertionError("timed out waiting for " + what)
        time.sleep(0.05)


class Session:
    """A display, a session bus and the accessibility bus, all private to this test."""

    def __init__(self, folder):
        self.processes = []
        self.folder = folder
        self.env = dict(os.environ)
        for tool in ("Xvfb", "dbus-daemon"):
            if not shutil.which(tool):
                sys.exit(tool + " is not installed (packages xvfb, dbus)")
        launcher = next((path for path in ("/usr/libexec/at-spi-bus-launcher",
                                           "/usr/lib/at-spi2-core/at-spi-bus-launcher")
                         if os.path.exists(path)), None)
        if not launcher:
            sys.exit("at-spi-bus-launcher is not installed (package at-spi2-core)")

        read, write = os.pipe()
        self.start(["Xvfb", "-displayfd", str(write), "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
                   pass_fds=(write,))
        os.close(write)
        with os.fdopen(read) as pipe:
            display = pipe.readline().strip()
        if not display:
            skip("the virtual display did not start")
        self.env["DISPLAY"] = ":" + display

        bus = self.start(["dbus-daemon", "--session", "--nofork", "--print-address"], stdout=subprocess.PIPE)
        address = bus.stdout.readline().decode().strip()
        if not address:
            skip("the session bus did not start")
        self.env["DBUS_SESSION_BUS_ADDRESS"] = address
        self.env["XDG_RUNTIME_DIR"] = folder
        self.env["HOME"] = folder
        self.env["XDG_DATA_HOME"] = os.path.join(folder, "data")
        self.env["XDG_CONFIG_HOME"] = os.path.join(folder, "config")
        self.start([launcher, "--launch-immediately"])

    def start(self, command, **options):
        process = subprocess.Popen(command, env=getattr(self, "env", None), stdin=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL, **options)
        self.processes.append(process)
        return process

    def close(self):
        for process in reversed(self.processes):
            if process.poll() is None:
                process.send_signal(signal.SIGTERM)
                try:
                    process.wait(timeout=3)
                except subprocess.TimeoutExpired:
                    process.kill()


def tree(node, depth=0):
    """Every object below node, depth first."""
    yield node
    for index in range(node.childCount):
        child = node.getChildAtIndex(index)
        if child is not None:
            yield from tree(child, depth + 1)


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    program = sys.argv[1]
    folder = tempfile.mkdtemp(prefix="zdawnik-atspi-")
    session = Session(folder)
    try:
        bank = os.path.join(folder, "baza")
        os.mkdir(bank)
        with open(os.path.join(bank, "q.txt"), "wb") as question:
            question.write("X10\r\nPytanie\r\ndobra\r\nzła\r\n".encode("cp1250"))

        # pyatspi reaches the buses named in the environment as it is imported.
        os.environ.update(session.env)
        try:
            import pyatspi
        except ImportError:
            sys.exit("pyatspi is not installed (package python3-pyatspi)")
        try:
            wait_for("the accessibility bus", lambda: pyatspi.Registry.getDesktop(0) is not None, 5)
        except AssertionError:
            skip("the accessibility bus did not start")

        env = dict(session.env, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
        app = subprocess.Popen([program, bank], env=env, stdin=subprocess.DEVNULL)
        session.processes.append(app)

        desktop = pyatspi.Registry.getDesktop(0)

        def application():
            for index in range(desktop.childCount):
                child = desktop.getChildAtIndex(index)
                if child is not None and child.name.lower() == "zdawnik":
                    return child
            return None

        root = wait_for("the program on the bus", application)
        window = wait_for("its window", lambda: root.getChildAtIndex(0))
        assert window.name == "Zdawnik", window.name

        def offered():
            return {(node.name, node.getRoleName()): node for node in tree(window)}

        def find(name, role):
            return offered().get((name, role))

        def action(node, name):
            actions = node.queryAction()
            for index in range(actions.nActions):
                if actions.getName(index) == name:
                    return lambda: actions.doAction(index)
            raise AssertionError("%s offers no %s action, only %s" % (
                node.name, name, [actions.getName(i) for i in range(actions.nActions)]))

        # The welcome screen offers the start panel, and nothing it covers.
        start = wait_for("the start button", lambda: find("zaczynam się uczyć", "push button"))
        names = {name for name, _ in offered()}
        for covered in ("sprawdź", "dalej", "pokazuj dobre odpowiedzi", "Pytanie"):
            assert covered not in names, covered + " is offered under the start panel"
        action(start, "Press")()

        # The question: two checkable answers, the clock as one object, values with their captions.
        good = wait_for("the answer", lambda: find("dobra", "check box"))
        wait_for("the other answer", lambda: find("zła", "check box"))
        assert not good.getState().contains(pyatspi.STATE_CHECKED)
        names = {name for name, _ in offered()}
        assert any(name.startswith("Czas nauki: 0:00:0") for name in names), sorted(names)
        assert "Ilość wszystkich pytań w bazie: 1" in names, sorted(names)
        assert "zaczynam się uczyć" not in names
        gauge = wait_for("a gauge", lambda: find("Stosunek pytań: opanowane - nieopanowane: 0%", "progress bar"))
        try:
            gauge_actions = gauge.queryAction().nActions
        except NotImplementedError:
            gauge_actions = 0
        assert gauge_actions == 0, "a gauge offers actions"

        # Its action ticks the answer, as a click does; "sprawdź" announces the verdict.
        action(good, "Toggle")()
        wait_for("the tick", lambda: good.getState().contains(pyatspi.STATE_CHECKED))
        action(find("sprawdź", "push button"), "Press")()
        verdict = wait_for("the verdict", lambda: next(
            (node for (name, role), node in offered().items() if role == "alert"), None))
        assert verdict.name.startswith("dobra odpowiedź"), verdict.name
        print("PASS: the window read from the accessibility bus")
    finally:
        session.close()
        shutil.rmtree(folder, ignore_errors=True)


if __name__ == "__main__":
    main()
