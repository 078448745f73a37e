#!/usr/bin/env python3
"""End-to-end scenarios of the desktop program in a real window under Xvfb, driven
with xdotool as a user would, watched through the window's pixels, and checked on
disk against `tarnwick-cli extract`.

Usage: e2e.py SCENARIO --program P --cli C --helper H [--screens DIR]
Screenshots go to --screens, else $TARNWICK_SCREENS_DIR, else the scratch folder.
"""

import argparse
import filecmp
import os
import pathlib
import shutil
import subprocess
import sys
import tempfile
import time

BACKGROUND, FIELD = (77, 77, 77), (60, 60, 60)
BOX_TITLE_BAR, BOX_LINE = (38, 38, 38), (92, 92, 92)
SOURCE_FIELD, DESTINATION_FIELD, NEXT, STEP3_NEXT = (250, 87), (250, 187), (545, 278), (550, 278)
PID_BOX, RECT_BOX, EMPTY_FOLDERS_BOX = (198, 42), (218, 64), (198, 86)
RESTING_POINT = (300, 140)  # nothing reacts to the pointer here
CHOOSER_ROW_1 = (100, 87)  # the second row of the folder chooser's list
# Inside both fields, near their right end and on their inner top and bottom rows:
# a long path's glyphs cannot cover every one of these points.
FIELD_POINTS = [(x, y + dy) for y in (77, 87, 96) for x in range(488, 503, 2) for dy in (0, 100)]


def type_box(row):  # the check box of the type in the given visible row
    return (11, 59 + 22 * row)


class Failure(Exception):
    """A scenario step that did not happen."""


def check(condition, message):
    if not condition:
        raise Failure(message)


def wait_for(predicate, timeout, what, interval=0.1):
    deadline = time.monotonic() + timeout
    while not (value := predicate()):
        check(time.monotonic() <= deadline, "timed out waiting for " + what)
        time.sleep(interval)
    return value


def quiet(command, env=None):  # every child the scenarios wait for has a timeout
    return subprocess.run([str(word) for word in command], env=env, timeout=60,
                          capture_output=True, text=True)


def stop(process):
    process.terminate()
    try:
        process.wait(5)
    except subprocess.TimeoutExpired:
        process.kill()
        process.wait(5)


def start_x_server():
    """An Xvfb that answers a client: servers started side by side can lose the
    display number they announced."""
    for _ in range(3):
        read_end, write_end = os.pipe()
        server = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0",
                                   "800x600x24", "-nolisten", "tcp"], pass_fds=(write_end,),
                                  stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        with os.fdopen(read_end, "rb") as pipe:
            display = ":" + pipe.readline().decode().strip()
        deadline = time.monotonic() + 10
        while display != ":" and server.poll() is None and time.monotonic() < deadline:
            if quiet(["xdpyinfo", "-display", display]).returncode == 0:
                return server, display
            time.sleep(0.2)
        stop(server)
    raise Failure("Xvfb did not start")


class Session:
    """One run of the program on its own X server, without a desktop chooser."""

    def __init__(self, args, work):
        self.args, self.work, self.program, self.window = args, work, None, None
        self.server, display = start_x_server()
        self.env = dict(os.environ, DISPLAY=display)
        for name in ("SDL_VIDEODRIVER", "WAYLAND_DISPLAY"):
            self.env.pop(name, None)
        self.logs = [os.path.join(work, "program.out"), os.path.join(work, "program.err")]

    def start(self):
        nothing = os.path.join(self.work, "no-programs")  # an empty PATH: no desktop chooser
        os.makedirs(nothing, exist_ok=True)
        for attempt in range(3):
            self.program = subprocess.Popen(
                [self.args.program], cwd=self.work, env=dict(self.env, PATH=nothing),
                stdin=subprocess.DEVNULL, stdout=open(self.logs[0], "wb"),
                stderr=open(self.logs[1], "wb"))
            self.window = wait_for(lambda: self.stable_window() or self.program.poll() is not None,
                                   30, "the program window")
            # A loaded machine's X server can refuse a client now and then; the
            # program then says so and ends, and gets a fresh server.
            with open(self.logs[1]) as err:
                lost = "Cannot open a display" in err.read()
            if self.program.poll() is None or not lost or attempt == 2:
                break
            stop(self.server)
            self.server, display = start_x_server()
            self.env["DISPLAY"] = display
        check(self.program.poll() is None, "the program ended at start")
        self.move(*RESTING_POINT)
        self.wait_step(1, 10)

    def stable_window(self):
        """The window id once the same one answers twice in a row: an id that
        vanishes while the renderer starts is never used ("Bad Drawable")."""
        out = quiet(["xwininfo", "-root", "-children"], self.env).stdout
        found = [line.split()[0] for line in out.splitlines() if '"Tarnwick 1.1a":' in line]
        if not found or found[0] != self.window:
            self.window = found[0] if found else None
            return None
        return self.window if self.pixels((0, 0))[0] else None

    def key(self, *words):
        result = quiet(["xdotool"] + list(words), self.env)
        check(result.returncode == 0, "xdotool %s failed: %s" % (words, result.stderr))
        time.sleep(0.2)

    def helper(self, *words):
        return quiet([self.args.helper] + list(words), self.env)

    def move(self, x, y):
        quiet(["xdotool", "mousemove", "--window", self.window, x, y], self.env)

    def click(self, x, y, count=1):
        self.move(x, y)
        time.sleep(0.1)
        self.key("click", "--repeat", count, "--delay", 80, 1)
        self.move(*RESTING_POINT)  # the click may have closed the window
        time.sleep(0.1)

    def pixels(self, *points):
        result = self.helper("pixels", self.window, *["%d,%d" % p for p in points])
        if result.returncode != 0:
            return [None] * len(points)  # the window is gone or not yet there
        return [tuple(map(int, line.split())) if line != "-" else None
                for line in result.stdout.splitlines()]

    def screenshot(self, name):
        os.makedirs(self.args.screens, exist_ok=True)
        self.move(*RESTING_POINT)
        time.sleep(0.3)
        check(self.helper("screenshot", self.window, os.path.join(self.args.screens, name))
              .returncode == 0, "no screenshot " + name)

    def on_step(self, number):
        source, column, dark, bar, exit_face, *fields = self.pixels(
            (500, 88), (180, 200), (181, 200), (12, 104), (350, 266), *FIELD_POINTS)
        if number == 1:  # a field may have the focus glow, or text over most of it
            return FIELD in fields and column == bar == BACKGROUND
        if number == 2:
            return (column, dark) == ((31, 31, 31), (92, 92, 92))
        return source == column == BACKGROUND and exit_face != BACKGROUND

    def wait_step(self, number, timeout=15):
        wait_for(lambda: self.on_step(number), timeout, "step %d" % number)

    def box(self):
        """The top row of the title bar of the box drawn in the window, or None."""
        column = self.pixels(*[(300, y) for y in range(300)])
        return next((y for y in range(1, 270) if column[y - 1] == BOX_LINE
                     and column[y] == column[y + 1] == BOX_TITLE_BAR), None)

    def answer_box(self, key, timeout=15):
        """Waits for a box, presses key and waits until that box is gone."""
        top = wait_for(self.box, timeout, "a message box")
        time.sleep(0.2)
        self.key("key", key)
        wait_for(lambda: self.box() != top, 10, "the box to close")

    def paste_source(self, path, fast=False):
        """Pastes path from the clipboard with Ctrl+V (fast: pressed and released
        within one frame) and confirms it with Return."""
        owner = subprocess.Popen([self.args.helper, "clipboard", path, "20"], env=self.env)
        try:
            time.sleep(0.5)
            self.click(*SOURCE_FIELD)
            held = ["keydown", "ctrl", "sleep", 0.2, "key", "v", "sleep", 0.2, "keyup", "ctrl"]
            self.key(*(["key", "--delay", 0, "ctrl+v"] if fast else held))
            self.key("key", "Return")
        finally:
            stop(owner)

    def set_up_extraction(self, source, destination):
        self.paste_source(source)
        self.click(*DESTINATION_FIELD)
        self.key("type", "--delay", 15, destination)
        self.click(*NEXT)


def tree(root):
    return sorted(os.path.normpath(os.path.join(os.path.relpath(folder, root), name)) + end
                  for folder, dirs, files in os.walk(root)
                  for names, end in ((dirs, "/"), (files, "")) for name in names)


def scenario_full_run(args, work, session):
    """The shipped sample archive: pasted source, the folder chooser, every kind
    of box answer, step 4."""
    archive = os.path.join(work, "fixtures", "sample.rez")
    shutil.copyfile(pathlib.Path(__file__).parents[2] / "examples" / "sample.rez", archive)
    destination = os.path.join(work, "fixtures", "T\u00e9l\u00e9chargements", "\u00dcn\u00ef", "out")
    os.makedirs(os.path.dirname(destination))
    session.screenshot("step1.png")
    step1_next_face = (501, 266)
    disabled_next = session.pixels(step1_next_face)
    session.paste_source(archive, fast=True)
    wait_for(lambda: session.pixels(step1_next_face) != disabled_next, 5, "Next to be enabled")

    # No desktop chooser: the program's own, in folder mode, opens beside the archive.
    session.click(547, 187)  # Browse beside the destination
    wait_for(lambda: not session.on_step(1), 5, "the folder chooser")
    session.screenshot("chooser.png")
    session.click(*CHOOSER_ROW_1, count=2)  # into T\u00e9l\u00e9chargements
    session.click(*CHOOSER_ROW_1, count=2)  # into \u00dcn\u00ef
    session.click(200, 248)
    session.key("type", "--delay", 15, "out")
    session.key("key", "Return")
    session.wait_step(1)

    session.click(*NEXT)
    session.answer_box("Return")  # the missing destination: Yes creates it
    session.wait_step(2)
    check(os.path.isdir(destination), "the destination folder was not created")
    kept = os.path.join(destination, "CLAW", "SOUNDS", "CHIME.WAV")
    os.makedirs(os.path.dirname(kept))
    pathlib.Path(kept).write_bytes(b"the user's own file")
    # Types in first-met order: PAL, PID, WAV, TXT.
    for point in [type_box(row) for row in (0, 1, 2)] + [PID_BOX, RECT_BOX, EMPTY_FOLDERS_BOX]:
        session.click(*point)
    session.screenshot("step2.png")
    session.click(*NEXT)
    session.answer_box("Escape")  # the free space notice: OK
    session.answer_box("Return")  # "Are you sure?": Yes
    wait_for(session.box, 30, "the overwrite question")
    session.screenshot("box.png")
    session.answer_box("Escape")  # overwrite CHIME.WAV? Escape keeps it
    wait_for(lambda: len(set(session.pixels((511, 266), (301, 266)))) == 2, 120,
             "the extraction to finish", 0.25)  # Next and Back faces differ again
    session.screenshot("step3.png")
    session.click(*STEP3_NEXT)
    session.wait_step(4)
    session.screenshot("step4.png")
    session.click(377, 278)  # Exit
    check(session.program.wait(10) == 0, "exit code is not 0")

    check(pathlib.Path(kept).read_bytes() == b"the user's own file",
          "the file kept by Escape was replaced")
    os.remove(kept)
    reference = os.path.join(work, "cli")
    result = quiet([args.cli, "extract", archive, reference, "--types=PAL,PID,WAV",
                    "--overwrite=all", "--quiet", "--png", "--rect", "--empty-folders"])
    check(result.returncode == 0, "tarnwick-cli extract failed: " + result.stderr)
    os.remove(os.path.join(reference, "CLAW", "SOUNDS", "CHIME.WAV"))
    check(tree(destination) == tree(reference), "trees differ:\n  program: %s\n  cli:     %s"
          % (tree(destination), tree(reference)))
    for entry in [e for e in tree(destination) if not e.endswith("/")]:
        check(filecmp.cmp(os.path.join(destination, entry), os.path.join(reference, entry),
                          shallow=False), "file differs: " + entry)
    stdout, stderr = (pathlib.Path(log).read_text("utf-8", "replace") for log in session.logs)
    check("Switched to palette from: CLAW" in stdout, "no palette switch line on stdout")
    check(stderr == "", "unexpected output on stderr: " + stderr)


def scenario_invalid_archive(args, work, session):
    """An archive that cannot be read is told in a box and creates nothing."""
    destination = os.path.join(work, "never", "made")
    session.set_up_extraction(os.path.join(work, "fixtures", "broken.rez"), destination)
    session.answer_box("Return")  # the reader's message
    session.wait_step(1)
    check(not os.path.exists(os.path.dirname(destination)), "the destination was created")
    about_icon = (588, 14)
    session.click(*about_icon)
    session.answer_box("Escape")
    session.click(*about_icon)
    wait_for(session.box, 10, "the about box")
    session.helper("close", session.window)  # closing the window answers it
    check(session.program.wait(10) == 0, "exit code is not 0")


def scenario_close_during_extraction(args, work, session):
    """Closing the window while the worker asks: the box is answered safely,
    the job stops at its next pause point and the program ends."""
    destination = os.path.join(work, "out")
    kept = os.path.join(destination, "SET0", "P3.PID")  # copied as it is: asked about
    os.makedirs(os.path.dirname(kept))
    pathlib.Path(kept).write_bytes(b"keep me")
    session.set_up_extraction(os.path.join(work, "fixtures", "big.rez"), destination)
    session.wait_step(2)
    session.click(*type_box(0))  # PID
    session.click(*type_box(1))  # WAV
    session.click(*NEXT)
    session.answer_box("Return")
    session.answer_box("Return")
    wait_for(session.box, 30, "the overwrite question")
    session.helper("close", session.window)
    check(session.program.wait(15) == 0, "exit code is not 0")
    check(pathlib.Path(kept).read_bytes() == b"keep me",
          "the file was replaced after the window closed")
    files = sum(len(names) for _, _, names in os.walk(destination))
    # P0-P2 written, P3 kept; the cancelled job stops before P4.
    check(files == 4, "the extraction went on after the window closed: %d files" % files)
    check(not [e for e in tree(destination) if ".tarnwick" in e], "temporary files left")


def main():
    scenarios = {name[len("scenario_"):]: function for name, function in globals().items()
                 if name.startswith("scenario_")}
    parser = argparse.ArgumentParser()
    parser.add_argument("scenario", choices=sorted(scenarios))
    for name in ("--program", "--cli", "--helper"):
        parser.add_argument(name, required=True, type=os.path.abspath)
    parser.add_argument("--screens", default=os.environ.get("TARNWICK_SCREENS_DIR"))
    args = parser.parse_args()
    if missing := [t for t in ("Xvfb", "xdotool", "xwininfo", "xdpyinfo") if not shutil.which(t)]:
        return "not installed (scripts/install-deps.sh installs them): " + " ".join(missing)
    work = tempfile.mkdtemp(prefix="tarnwick-e2e-")
    args.screens = args.screens or os.path.join(work, "screens")
    check(quiet([args.helper, "fixtures", os.path.join(work, "fixtures")]).returncode == 0,
          "the fixtures could not be written")
    session = Session(args, work)
    try:
        session.start()
        scenarios[args.scenario](args, work, session)
        print("%s: passed" % args.scenario)
        shutil.rmtree(work, ignore_errors=True)
        return 0
    except (Failure, subprocess.TimeoutExpired) as failure:
        print("%s: FAILED: %s" % (args.scenario, failure))
        if session.program and session.program.poll() is None and session.window:
            session.helper("screenshot", session.window, os.path.join(work, "failure.png"))
        stdout, stderr = (pathlib.Path(log).read_text("utf-8", "replace") for log in session.logs)
        print("stdout:\n%s\nstderr:\n%s\nscratch folder kept: %s" %
              (stdout[-2000:], stderr[-2000:], work))
        return 1
    finally:
        if session.program:
            session.program.kill()
            session.program.wait(10)
        stop(session.server)


if __name__ == "__main__":
    sys.exit(main())
