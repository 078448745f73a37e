#!/usr/bin/env python3
"""End-to-end scenarios of the desktop program in a real window.

Each scenario starts its own Xvfb server, starts `tarnwick` on it and drives
it with xdotool the way a user would: clicks, typed and pasted paths, Return
and Escape on the message boxes the program draws in its window, the window's
close button. It watches the screen through pixels read back from the window
and checks what lands on disk against `tarnwick-cli extract`.

Usage: e2e.py SCENARIO --program P --cli C --helper H [--screens DIR]

Screenshots go to --screens, else to $TARNWICK_SCREENS_DIR, else to the
scratch folder; docs/screens/ is refreshed with TARNWICK_SCREENS_DIR=docs/screens.
"""

import argparse
import filecmp
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

WINDOW_TITLE = "Tarnwick 1.1a"
BACKGROUND = (77, 77, 77)
BOX_TITLE_BAR = (38, 38, 38)
BOX_LINE = (92, 92, 92)

SOURCE_FIELD = (250, 87)
BROWSE_DESTINATION = (547, 187)
STEP1_NEXT = (545, 278)
STEP2_NEXT = (545, 278)
PID_BOX = (198, 42)
RECT_BOX = (218, 64)
EMPTY_FOLDERS_BOX = (198, 86)
STEP3_NEXT = (550, 278)
EXIT_BUTTON = (377, 278)
ABOUT_ICON = (588, 14)
RESTING_POINT = (300, 140)
STEP1_NEXT_FACE = (501, 266)
STEP3_NEXT_FACE = (511, 266)
STEP3_BACK_FACE = (301, 266)
CHOOSER_ROW_TOP, CHOOSER_ROW_HEIGHT = 57, 20  # the folder chooser's list
CHILD_TIMEOUT = 60


def type_box(row):
    """Centre of the check box of the type in the given visible row."""
    return (11, 59 + 22 * row)


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def wait_for(predicate, timeout, what, interval=0.1):
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() > deadline:
            raise Failure("timed out waiting for " + what)
        time.sleep(interval)


def run(command, **kwargs):
    """A child that must end: every wait has a timeout."""
    return subprocess.run(command, timeout=CHILD_TIMEOUT, **kwargs)


class XServer:
    def __init__(self):
        # Servers started side by side can race for a display number and lose it
        # after announcing it; only a server that answers a client is used.
        for _ in range(3):
            self._start()
            if self._answers():
                return
            self.stop()
        raise Failure("Xvfb did not start")

    def _answers(self):
        deadline = time.monotonic() + 10
        while time.monotonic() < deadline:
            if self.process.poll() is not None:
                return False
            probe = run(["xdpyinfo", "-display", self.display],
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            if probe.returncode == 0:
                return True
            time.sleep(0.2)
        return False

    def _start(self):
        read_end, write_end = os.pipe()
        self.process = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "800x600x24", "-nolisten",
             "tcp"], pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        number = b""
        with os.fdopen(read_end, "rb") as pipe:
            while not number.endswith(b"\n"):
                chunk = pipe.read(1)
                if not chunk:
                    raise Failure("Xvfb did not start")
                number += chunk
        self.display = ":" + number.decode().strip()

    def stop(self):
        self.process.terminate()
        try:
            self.process.wait(5)
        except subprocess.TimeoutExpired:
            self.process.kill()


class Session:
    """One run of the program on its own X server."""

    def __init__(self, args, work):
        self.args = args
        self.server = XServer()
        self.env = dict(os.environ, DISPLAY=self.server.display)
        for name in ("SDL_VIDEODRIVER", "WAYLAND_DISPLAY"):
            self.env.pop(name, None)
        # No desktop chooser can start: the program's own is used.
        self.env["PATH"] = "/usr/local/bin:/usr/bin:/bin"
        self.work = work
        self.program = None
        self.window = None
        self.stdout_path = os.path.join(work, "program.out")
        self.stderr_path = os.path.join(work, "program.err")

    def start(self):
        for tool in ("zenity", "kdialog"):
            check(not shutil.which(tool, path=self.env["PATH"]),
                  tool + " is installed: the built-in chooser cannot be tested")
        self.program = subprocess.Popen(
            [self.args.program], cwd=self.work, env=self.env, stdin=subprocess.DEVNULL,
            stdout=open(self.stdout_path, "wb"), stderr=open(self.stderr_path, "wb"))
        self.window = wait_for(self.stable_window, 30, "the program window")
        self.move(*RESTING_POINT)
        wait_for(self.on_step1, 10, "step 1")

    def stable_window(self):
        """The window id once the same one answers twice in a row: a window
        made and remade while the renderer starts is not used ("Bad Drawable")."""
        first = self.find_window()
        if not first:
            return None
        time.sleep(0.5)
        self.window = first
        return first if self.find_window() == first and self.pixels((0, 0))[0] else None

    def find_window(self):
        out = run(["xwininfo", "-root", "-children"], env=self.env, capture_output=True,
                  text=True).stdout
        for line in out.splitlines():
            words = line.split(None, 1)
            if len(words) == 2 and words[1].startswith('"%s":' % WINDOW_TITLE):
                return words[0]
        return None

    def exit_code(self, timeout):
        try:
            return self.program.wait(timeout)
        except subprocess.TimeoutExpired:
            raise Failure("the program did not end within %s seconds" % timeout)

    def close(self):
        if self.program and self.program.poll() is None:
            self.program.kill()
            self.program.wait(10)
        self.server.stop()

    def output(self):
        with open(self.stdout_path, "rb") as out, open(self.stderr_path, "rb") as err:
            return out.read().decode("utf-8", "replace"), err.read().decode("utf-8", "replace")

    def xdotool(self, *words, check_result=True):
        result = run(["xdotool"] + [str(w) for w in words], env=self.env, capture_output=True,
                     text=True)
        if check_result and result.returncode != 0:
            raise Failure("xdotool %s failed: %s" % (" ".join(map(str, words)), result.stderr))

    def helper(self, *words):
        return run([self.args.helper] + [str(w) for w in words], env=self.env,
                   capture_output=True, text=True, check=True).stdout

    def move(self, x, y):
        self.xdotool("mousemove", "--window", self.window, x, y, check_result=False)

    def click(self, x, y, count=1):
        self.move(x, y)
        time.sleep(0.1)
        self.xdotool("click", "--repeat", count, "--delay", 80, 1)
        time.sleep(0.3)
        self.move(*RESTING_POINT)
        time.sleep(0.1)

    def type_text(self, text):
        self.xdotool("type", "--delay", 15, text)
        time.sleep(0.1)

    def key(self, name):
        self.xdotool("key", name)
        time.sleep(0.2)

    def pixels(self, *points):
        result = run([self.args.helper, "pixels", self.window] + ["%d,%d" % p for p in points],
                     env=self.env, capture_output=True, text=True)
        if result.returncode != 0:
            return [None] * len(points)  # the window is gone or not yet there
        return [tuple(int(v) for v in line.split()) if line != "-" else None
                for line in result.stdout.splitlines()]

    def pixel(self, x, y):
        return self.pixels((x, y))[0]

    def screenshot(self, name):
        os.makedirs(self.args.screens, exist_ok=True)
        self.move(*RESTING_POINT)
        time.sleep(0.3)
        self.helper("screenshot", self.window, os.path.join(self.args.screens, name))

    # -- where are we --------------------------------------------------------

    def on_step1(self):
        # One of the two fields may have the focus glow.
        source, destination, column, bar = self.pixels((500, 88), (500, 188), (180, 200),
                                                       (12, 104))
        return (60, 60, 60) in (source, destination) and column == bar == BACKGROUND

    def on_step2(self):
        return self.pixels((180, 200), (181, 200)) == [(31, 31, 31), (92, 92, 92)]

    def on_step3(self):
        field, column, bar = self.pixels((500, 88), (180, 200), (12, 104))
        return column == BACKGROUND and bar != BACKGROUND and field != (60, 60, 60)

    def on_step4(self):
        field, column, exit_face = self.pixels((500, 88), (180, 200), (350, 266))
        return field == BACKGROUND and column == BACKGROUND and exit_face != BACKGROUND

    def wait_step(self, number, timeout=15):
        probe = [None, self.on_step1, self.on_step2, self.on_step3, self.on_step4][number]
        wait_for(probe, timeout, "step %d" % number)

    # -- message boxes drawn in the window -----------------------------------

    def box(self):
        """The top row of the box's title bar, or None when no box is up."""
        column = self.pixels(*[(300, y) for y in range(300)])
        for y in range(1, 270):
            if column[y] == BOX_TITLE_BAR and column[y - 1] == BOX_LINE and \
                    column[y + 1] == BOX_TITLE_BAR:
                return y
        return None

    def answer_box(self, key, timeout=15):
        """Waits for a box, presses key, and waits until that box is gone."""
        top = wait_for(self.box, timeout, "a message box")
        time.sleep(0.2)
        self.key(key)
        wait_for(lambda: self.box() != top, 10, "the box to close")


def run_cli(args, archive, destination, types):
    command = [args.cli, "extract", archive, destination, "--types=" + ",".join(types),
               "--overwrite=all", "--quiet", "--png", "--rect", "--empty-folders"]
    result = run(command, capture_output=True, text=True)
    check(result.returncode == 0, "tarnwick-cli extract failed: " + result.stderr)


def tree(root):
    entries = []
    for folder, dirs, files in os.walk(root):
        relative = os.path.relpath(folder, root)
        entries += [os.path.normpath(os.path.join(relative, d)) + "/" for d in dirs]
        entries += [os.path.normpath(os.path.join(relative, f)) for f in files]
    return sorted(entries)


def same_trees(left, right):
    left_entries, right_entries = tree(left), tree(right)
    check(left_entries == right_entries,
          "trees differ:\n  program: %s\n  cli:     %s" % (left_entries, right_entries))
    for entry in left_entries:
        if not entry.endswith("/"):
            check(filecmp.cmp(os.path.join(left, entry), os.path.join(right, entry),
                              shallow=False), "file differs: " + entry)


def leftovers(root):
    """Temporary files of interrupted writes."""
    return [e for e in tree(root) if ".tarnwick" in os.path.basename(e.rstrip("/"))]


def wait_extraction_done(session, timeout=120):
    session.wait_step(3)
    # Next alone turns enabled when the worker has finished.
    wait_for(lambda: session.pixel(*STEP3_NEXT_FACE) != session.pixel(*STEP3_BACK_FACE),
             timeout, "the extraction to finish", interval=0.25)


def paste_source(session, path, fast=False):
    """Puts path on the clipboard, pastes it with Ctrl+V (fast: pressed and
    released within one frame) and confirms it with Return."""
    owner = subprocess.Popen([session.args.helper, "clipboard", path, "20"], env=session.env)
    try:
        time.sleep(0.5)
        session.click(*SOURCE_FIELD)
        if fast:
            session.xdotool("key", "--delay", 0, "ctrl+v")
        else:
            session.xdotool("keydown", "ctrl")
            time.sleep(0.2)
            session.xdotool("key", "v")
            time.sleep(0.2)
            session.xdotool("keyup", "ctrl")
        time.sleep(0.3)
        session.key("Return")
    finally:
        owner.kill()
        owner.wait(10)


# -- scenarios -----------------------------------------------------------------


def scenario_full_run(args, work, session):
    """Pasted source, the folder chooser, every kind of box answer, step 4."""
    archive = os.path.join(work, "fixtures", "claw.rez")
    downloads = os.path.join(work, "fixtures", "T\u00e9l\u00e9chargements", "\u00dcn\u00ef")
    os.makedirs(downloads)
    destination = os.path.join(downloads, "out")
    session.screenshot("step1.png")
    disabled_next = session.pixel(*STEP1_NEXT_FACE)
    paste_source(session, archive, fast=True)
    wait_for(lambda: session.pixel(*STEP1_NEXT_FACE) != disabled_next, 5, "Next to be enabled")

    # No desktop chooser: the program's own, in folder mode, opens beside the archive.
    session.click(*BROWSE_DESTINATION)
    wait_for(lambda: not session.on_step1(), 5, "the folder chooser")
    session.screenshot("chooser.png")
    row1 = (100, CHOOSER_ROW_TOP + CHOOSER_ROW_HEIGHT + CHOOSER_ROW_HEIGHT // 2)
    session.click(*row1, count=2)  # into T\u00e9l\u00e9chargements
    session.click(*row1, count=2)  # into \u00dcn\u00ef
    session.click(200, 248)
    session.type_text("out")
    session.key("Return")
    session.wait_step(1)

    session.click(*STEP1_NEXT)
    session.answer_box("Return")  # the missing destination: Yes creates it
    session.wait_step(2)
    check(os.path.isdir(destination), "the destination folder was not created")
    kept = os.path.join(destination, "CLAW", "SOUNDS", "SOUND1.WAV")
    os.makedirs(os.path.dirname(kept))
    with open(kept, "wb") as f:
        f.write(b"the user's own file")
    # Types in first-met order: TXT, PAL, PID, WAV, XMI, ANI, wav.
    for row in (1, 2, 3, 6):
        session.click(*type_box(row))
    for box in (PID_BOX, RECT_BOX, EMPTY_FOLDERS_BOX):
        session.click(*box)
    session.screenshot("step2.png")
    session.click(*STEP2_NEXT)
    session.answer_box("Return")  # the free space notice
    session.answer_box("Escape")  # "Are you sure?": No
    session.wait_step(2)
    session.click(*STEP2_NEXT)
    session.answer_box("Escape")  # the notice: OK
    session.answer_box("Return")  # Yes
    wait_for(session.box, 30, "the overwrite question")
    session.screenshot("box.png")
    session.answer_box("Escape")  # overwrite SOUND1.WAV? Escape keeps it
    wait_extraction_done(session)
    session.screenshot("step3.png")
    session.click(*STEP3_NEXT)
    session.wait_step(4)
    session.screenshot("step4.png")
    session.click(*EXIT_BUTTON)
    check(session.exit_code(10) == 0, "exit code is not 0")

    with open(kept, "rb") as f:
        check(f.read() == b"the user's own file", "the file kept by Escape was replaced")
    os.remove(kept)
    reference = os.path.join(work, "cli")
    run_cli(args, archive, reference, ["PAL", "PID", "WAV", "wav"])
    os.remove(os.path.join(reference, "CLAW", "SOUNDS", "SOUND1.WAV"))
    same_trees(destination, reference)
    stdout, stderr = session.output()
    check("Switched to palette from: CLAW" in stdout, "no palette switch line on stdout")
    check(stderr == "", "unexpected output on stderr: " + stderr)


def scenario_invalid_archive(args, work, session):
    """An archive that cannot be read is told in a box and creates nothing."""
    destination = os.path.join(work, "never", "made")
    paste_source(session, os.path.join(work, "fixtures", "broken.rez"))
    session.click(250, 187)
    session.type_text(destination)
    session.click(*STEP1_NEXT)
    session.answer_box("Return")  # the reader's message
    session.wait_step(1)
    check(not os.path.exists(os.path.dirname(destination)), "the destination was created")
    session.click(*ABOUT_ICON)
    session.answer_box("Escape")
    session.click(*ABOUT_ICON)
    wait_for(session.box, 10, "the about box")
    session.helper("close", session.window)  # closing the window answers it
    check(session.exit_code(10) == 0, "exit code is not 0")


def scenario_close_during_extraction(args, work, session):
    """Closing the window while the worker asks: the box is answered safely,
    the job stops at its next pause point and the program ends."""
    destination = os.path.join(work, "out")
    kept = os.path.join(destination, "SET0", "P3.PID")  # copied as it is: asked about
    os.makedirs(os.path.dirname(kept))
    with open(kept, "wb") as f:
        f.write(b"keep me")
    paste_source(session, os.path.join(work, "fixtures", "big.rez"))
    session.click(250, 187)
    session.type_text(destination)
    session.click(*STEP1_NEXT)
    session.wait_step(2)
    session.click(*type_box(0))  # PID
    session.click(*type_box(1))  # WAV
    session.click(*STEP2_NEXT)
    session.answer_box("Return")
    session.answer_box("Return")
    wait_for(session.box, 30, "the overwrite question")
    session.helper("close", session.window)
    check(session.exit_code(15) == 0, "exit code is not 0")
    with open(kept, "rb") as f:
        check(f.read() == b"keep me", "the file was replaced after the window closed")
    files = sum(len(names) for _, _, names in os.walk(destination))
    check(files < 10, "the extraction went on after the window closed: %d files" % files)
    check(not [e for e in tree(destination) if ".tarnwick" in e], "temporary files left")


SCENARIOS = {
    "full_run": scenario_full_run,
    "invalid_archive": scenario_invalid_archive,
    "close_during_extraction": scenario_close_during_extraction,
}

def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("scenario", choices=sorted(SCENARIOS))
    parser.add_argument("--program", required=True)
    parser.add_argument("--cli", required=True)
    parser.add_argument("--helper", required=True)
    parser.add_argument("--screens", default=None,
                        help="where screenshots go (default: a scratch folder)")
    parser.add_argument("--keep", action="store_true", help="keep the scratch folder")
    args = parser.parse_args()
    args.program, args.cli, args.helper = (os.path.abspath(p) for p in
                                           (args.program, args.cli, args.helper))
    for tool in ("Xvfb", "xdotool", "xwininfo", "xdpyinfo"):
        if not shutil.which(tool):
            print("%s is not installed (scripts/install-deps.sh installs it)" % tool)
            return 1

    work = tempfile.mkdtemp(prefix="tarnwick-e2e-")
    if args.screens is None:
        args.screens = os.environ.get("TARNWICK_SCREENS_DIR") or os.path.join(work, "screens")
    run([args.helper, "fixtures", os.path.join(work, "fixtures")], check=True)
    session = Session(args, work)
    status = 1
    try:
        session.start()
        SCENARIOS[args.scenario](args, work, session)
        print("%s: passed" % args.scenario)
        status = 0
    except Failure as failure:
        print("%s: FAILED: %s" % (args.scenario, failure))
        shot = os.path.join(work, "failure.png")
        if session.program and session.program.poll() is None and session.window:
            try:
                subprocess.run([args.helper, "screenshot", session.window, shot],
                               env=session.env, timeout=10)
                print("screen at the failure: " + shot)
            except Exception:  # the screen shot is a courtesy only
                pass
        stdout, stderr = session.output()
        print("program stdout:\n" + stdout[-2000:] + "\nprogram stderr:\n" + stderr[-2000:])
        args.keep = True
    finally:
        session.close()
        if args.keep:
            print("scratch folder kept: " + work)
        else:
            shutil.rmtree(work, ignore_errors=True)
    return status


if __name__ == "__main__":
    signal.signal(signal.SIGINT, signal.default_int_handler)
    sys.exit(main())
