#!/usr/bin/env python3
"""End-to-end scenarios of the desktop program in a real window.

Each scenario starts its own Xvfb server, starts `tarnwick` on it and drives
it with xdotool the way a user would: clicks at the screen coordinates of the
widgets, typed paths, Enter and Escape on the message boxes. It watches the
screen through pixels read back from the window, and checks what lands on
disk against `tarnwick-cli extract` run with the same choices.

Usage: e2e.py SCENARIO --program P --cli C --helper H [--screens DIR]
       e2e.py idle_cpu ...   (prints the idle CPU load on each screen)

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

# Widget positions of the four screens (window pixels).
SOURCE_FIELD = (250, 87)
DESTINATION_FIELD = (250, 187)
STEP1_NEXT = (545, 278)
STEP2_BACK = (440, 278)
STEP2_NEXT = (545, 278)
PID_BOX = (198, 42)
RECT_BOX = (218, 64)
EMPTY_FOLDERS_BOX = (198, 86)
STEP3_BACK = (340, 278)
STEP3_PAUSE = (445, 278)
STEP3_NEXT = (550, 278)
EXTRACT_NEXT_ARCHIVE = (507, 278)
EXIT_BUTTON = (377, 278)
ABOUT_ICON = (588, 14)
RESTING_POINT = (300, 140)  # nothing reacts to the pointer here, on any screen

# A point on a button's face that its caption never covers.
STEP1_NEXT_FACE = (501, 266)
STEP3_NEXT_FACE = (511, 266)
STEP3_BACK_FACE = (301, 266)
STEP3_PAUSE_FACE = (406, 266)


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
            probe = subprocess.run(["xdpyinfo", "-display", self.display],
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
        self.work = work
        self.server = XServer()
        self.env = dict(os.environ, DISPLAY=self.server.display)
        self.env.pop("SDL_VIDEODRIVER", None)
        self.program = None
        self.window = None
        self.stdout_path = os.path.join(work, "program.out")
        self.stderr_path = os.path.join(work, "program.err")

    # -- process -------------------------------------------------------------

    def start(self):
        self.program = subprocess.Popen(
            [self.args.program], cwd=self.work, env=self.env, stdin=subprocess.DEVNULL,
            stdout=open(self.stdout_path, "wb"), stderr=open(self.stderr_path, "wb"))
        def settled_window():
            # The window may be made more than once while the renderer starts.
            first = self.find_window(WINDOW_TITLE)
            if not first:
                return None
            time.sleep(0.5)
            return first if self.find_window(WINDOW_TITLE) == first else None

        self.window = wait_for(settled_window, 30, "the program window")
        self.move(*RESTING_POINT)
        time.sleep(0.3)
        # The first frames may still be on their way; wait for step 1.
        wait_for(self.on_step1, 10, "step 1")

    def exit_code(self, timeout):
        try:
            return self.program.wait(timeout)
        except subprocess.TimeoutExpired:
            raise Failure("the program did not end within %s seconds" % timeout)

    def close(self):
        if self.program and self.program.poll() is None:
            self.program.kill()
            self.program.wait()
        self.server.stop()

    def output(self):
        with open(self.stdout_path, "rb") as out, open(self.stderr_path, "rb") as err:
            return out.read().decode("latin-1"), err.read().decode("latin-1")

    # -- X helpers -----------------------------------------------------------

    def xdotool(self, *words, check_result=True):
        result = subprocess.run(["xdotool"] + [str(w) for w in words], env=self.env,
                                capture_output=True, text=True)
        if check_result and result.returncode != 0:
            raise Failure("xdotool %s failed: %s" % (" ".join(map(str, words)), result.stderr))
        return result.stdout

    def helper(self, *words):
        return subprocess.run([self.args.helper] + [str(w) for w in words], env=self.env,
                              capture_output=True, text=True, check=True).stdout

    def find_windows(self, title):
        """Top-level windows with exactly this title (message boxes set only
        the UTF-8 title, which `xdotool search` does not read)."""
        out = subprocess.run(["xwininfo", "-root", "-children"], env=self.env,
                             capture_output=True, text=True).stdout
        found = []
        for line in out.splitlines():
            words = line.split(None, 1)
            if len(words) == 2 and words[1].startswith('"%s":' % title):
                found.append(words[0])
        return found

    def find_window(self, title):
        found = self.find_windows(title)
        return found[0] if found else None

    def focus_main(self):
        self.xdotool("windowfocus", "--sync", self.window, check_result=False)
        self.move(*RESTING_POINT)
        time.sleep(0.2)

    def move(self, x, y):
        self.xdotool("mousemove", "--window", self.window, x, y)

    def click(self, x, y, button=1):
        self.move(x, y)
        time.sleep(0.1)
        self.xdotool("click", button)
        time.sleep(0.15)
        # The click may have closed the window.
        self.xdotool("mousemove", "--window", self.window, *RESTING_POINT, check_result=False)
        time.sleep(0.15)

    def type_text(self, text):
        self.xdotool("type", "--delay", 15, text)
        time.sleep(0.1)

    def key(self, name):
        self.xdotool("key", name)
        time.sleep(0.15)

    def pixels(self, *points):
        result = subprocess.run([self.args.helper, "pixels", self.window] +
                                ["%d,%d" % p for p in points], env=self.env,
                                capture_output=True, text=True)
        if result.returncode != 0:
            # The window is gone or not yet there: nothing can be seen.
            return [None] * len(points)
        out = result.stdout
        values = []
        for line in out.splitlines():
            values.append(tuple(int(v) for v in line.split()) if line != "-" else None)
        return values

    def pixel(self, x, y):
        return self.pixels((x, y))[0]

    def screenshot(self, name):
        os.makedirs(self.args.screens, exist_ok=True)
        path = os.path.join(self.args.screens, name)
        self.move(*RESTING_POINT)
        time.sleep(0.3)
        self.helper("screenshot", self.window, path)
        return path

    # -- where are we --------------------------------------------------------

    def on_step1(self):
        field, column, bar = self.pixels((500, 88), (180, 200), (12, 100))
        return field == (60, 60, 60) and column == BACKGROUND and bar == BACKGROUND

    def on_step2(self):
        dark, grey = self.pixels((180, 200), (181, 200))
        return dark == (31, 31, 31) and grey == (92, 92, 92)

    def on_step3(self):
        field, column, bar = self.pixels((500, 88), (180, 200), (12, 100))
        return column == BACKGROUND and bar != BACKGROUND and field != (60, 60, 60)

    def on_step4(self):
        field, column, exit_face, bar = self.pixels((500, 88), (180, 200), (350, 266), (12, 100))
        return (field == BACKGROUND and column == BACKGROUND and bar == BACKGROUND and
                exit_face != BACKGROUND)

    def wait_step(self, number, timeout=15):
        probe = [None, self.on_step1, self.on_step2, self.on_step3, self.on_step4][number]
        wait_for(probe, timeout, "step %d" % number)

    # -- message boxes -------------------------------------------------------

    def wait_box(self, title, timeout=10):
        return wait_for(lambda: self.find_window(title), timeout,
                        'a message box titled "%s"' % title)

    def answer_box(self, title, key="Return", timeout=10):
        box = self.wait_box(title, timeout)
        time.sleep(0.2)
        self.xdotool("windowfocus", "--sync", box, check_result=False)
        self.xdotool("key", key)
        wait_for(lambda: box not in self.find_windows(title), 10,
                 'the box "%s" to close' % title)
        self.focus_main()

    def no_box(self, title, seconds=1.5):
        time.sleep(seconds)
        return self.find_window(title) is None

    # -- steps ---------------------------------------------------------------

    def enter_source(self, path):
        self.click(*SOURCE_FIELD)
        self.key("End")
        self.type_text(path)
        self.key("Return")

    def enter_destination(self, path):
        self.click(*DESTINATION_FIELD)
        self.key("End")
        self.type_text(path)


def run_cli(args, archive, destination, types, png=False, rect=False, empty=False):
    command = [args.cli, "extract", archive, destination, "--types=" + ",".join(types),
               "--overwrite=all", "--quiet"]
    if png:
        command.append("--png")
    if rect:
        command.append("--rect")
    if empty:
        command.append("--empty-folders")
    result = subprocess.run(command, capture_output=True, text=True)
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


def png_is_complete(path):
    with open(path, "rb") as f:
        data = f.read()
    return data.startswith(b"\x89PNG\r\n\x1a\n") and data[-12:][4:8] == b"IEND"


def confirm_extraction(session):
    session.click(*STEP2_NEXT)
    session.answer_box("Notice")  # free space advice
    session.answer_box("Notice")  # "Are you sure": Return is Yes


def wait_extraction_done(session, timeout=120):
    session.wait_step(3)
    # Both Next and Back are disabled while the worker runs; Next alone turns
    # enabled when it has finished.
    wait_for(lambda: session.pixel(*STEP3_NEXT_FACE) != session.pixel(*STEP3_BACK_FACE),
             timeout, "the extraction to finish", interval=0.25)


# -- scenarios -----------------------------------------------------------------


def scenario_full_run(args, work, session):
    archive = os.path.join(work, "fixtures", "claw.rez")
    destination = os.path.join(work, "out", "claw")
    os.makedirs(os.path.dirname(destination))
    session.screenshot("step1.png")
    disabled_next = session.pixel(*STEP1_NEXT_FACE)
    session.enter_source(archive)
    wait_for(lambda: session.pixel(*STEP1_NEXT_FACE) != disabled_next, 5, "Next to be enabled")
    session.enter_destination(destination)
    session.click(*STEP1_NEXT)
    session.answer_box("Question")  # create the missing destination: Yes
    session.wait_step(2)
    check(os.path.isdir(destination), "the destination folder was not created")
    # Types in first-met order: TXT, PAL, PID, WAV, XMI, ANI, wav.
    for row in (1, 2, 3, 6):
        session.click(*type_box(row))
    session.click(*PID_BOX)
    session.click(*RECT_BOX)
    session.click(*EMPTY_FOLDERS_BOX)
    session.screenshot("step2.png")
    confirm_extraction(session)
    wait_extraction_done(session)
    session.screenshot("step3.png")
    session.click(*STEP3_NEXT)
    session.wait_step(4)
    session.screenshot("step4.png")
    session.click(*EXIT_BUTTON)
    check(session.exit_code(10) == 0, "exit code is not 0")

    reference = os.path.join(work, "cli")
    run_cli(args, archive, reference, ["PAL", "PID", "WAV", "wav"], png=True, rect=True,
            empty=True)
    same_trees(destination, reference)
    check(os.path.isfile(os.path.join(destination, "CLAW", "IMAGES", "OFFICER", "FRAME000.png")),
          "pictures were not converted")
    check(os.path.isdir(os.path.join(destination, "CLAW", "EMPTY")), "empty folder missing")
    stdout, _ = session.output()
    check("Switched to palette from: CLAW" in stdout, "no palette switch line on stdout")


def scenario_about_box(args, work, session):
    # The edge of the icon is outside the hot spot.
    session.click(581, 7)
    check(session.no_box("Notice"), "a click on the icon's edge opened the about box")
    session.click(*ABOUT_ICON)
    session.wait_box("Notice")
    session.answer_box("Notice")
    # The about box works on step 2 as well.
    session.enter_source(os.path.join(work, "fixtures", "claw.rez"))
    session.enter_destination(work)
    session.click(*STEP1_NEXT)
    session.wait_step(2)
    session.click(*ABOUT_ICON)
    session.answer_box("Notice")
    session.wait_step(2)
    session.helper("close", session.window)
    check(session.exit_code(10) == 0, "exit code is not 0")


def scenario_back_from_details(args, work, session):
    archive = os.path.join(work, "fixtures", "claw.rez")
    disabled_next = session.pixel(*STEP1_NEXT_FACE)
    session.enter_source(archive)
    session.enter_destination(work)
    session.click(*STEP1_NEXT)
    session.wait_step(2)
    session.click(*STEP2_BACK)
    session.wait_step(1)
    # Both paths are back, and Next waits for the source to be confirmed again.
    check(session.pixel(*STEP1_NEXT_FACE) == disabled_next, "Next is enabled after Back")
    session.click(*SOURCE_FIELD)
    session.key("Return")
    wait_for(lambda: session.pixel(*STEP1_NEXT_FACE) != disabled_next, 5, "Next to be enabled")
    session.click(*STEP1_NEXT)
    session.wait_step(2)  # the same archive and destination, without retyping
    session.helper("close", session.window)
    check(session.exit_code(10) == 0, "exit code is not 0")


def scenario_extract_next_archive(args, work, session):
    archive = os.path.join(work, "fixtures", "claw.rez")
    destination = os.path.join(work, "out")
    os.makedirs(destination)
    disabled_next = session.pixel(*STEP1_NEXT_FACE)
    session.enter_source(archive)
    session.enter_destination(destination)
    session.click(*STEP1_NEXT)
    session.wait_step(2)
    session.click(*type_box(3))  # WAV
    confirm_extraction(session)
    wait_extraction_done(session)
    session.click(*STEP3_NEXT)
    session.wait_step(4)
    session.click(*EXTRACT_NEXT_ARCHIVE)
    session.wait_step(1)
    check(session.pixel(*STEP1_NEXT_FACE) == disabled_next, "Next is enabled on a fresh step 1")
    # The same archive into the same folder: the sounds are there already.
    session.enter_source(archive)
    session.enter_destination(destination)
    session.click(*STEP1_NEXT)
    session.wait_step(2)
    session.click(*type_box(3))
    confirm_extraction(session)
    session.answer_box("Question")  # the first sound: Yes, overwrite it
    session.answer_box("Question", key="Escape")  # the second: Cancel, overwrite all the rest
    wait_extraction_done(session)
    check(session.no_box("Question", 1.0), "asked again after Cancel (overwrite all)")
    session.click(*STEP3_NEXT)
    session.wait_step(4)
    session.click(*EXIT_BUTTON)
    check(session.exit_code(10) == 0, "exit code is not 0")
    reference = os.path.join(work, "cli")
    run_cli(args, archive, reference, ["WAV"])
    same_trees(destination, reference)


def scenario_invalid_archive(args, work, session):
    broken = os.path.join(work, "fixtures", "broken.rez")
    session.enter_source(broken)
    session.enter_destination(work)
    session.click(*STEP1_NEXT)
    session.answer_box("Notice")  # the reader's message
    session.wait_step(1)
    # Both fields are kept: Next tries the same paths again.
    session.click(*STEP1_NEXT)
    session.answer_box("Notice")
    session.wait_step(1)
    check(session.program.poll() is None, "the program ended")
    session.helper("close", session.window)
    check(session.exit_code(10) == 0, "exit code is not 0")


def start_big_extraction(session, work):
    archive = os.path.join(work, "fixtures", "big.rez")
    destination = os.path.join(work, "out")
    os.makedirs(destination)
    session.enter_source(archive)
    session.enter_destination(destination)
    session.click(*STEP1_NEXT)
    session.wait_step(2)
    session.click(*type_box(0))  # PID
    session.click(*type_box(1))  # WAV
    session.click(*PID_BOX)
    confirm_extraction(session)
    session.wait_step(3)
    wait_for(lambda: len(tree(destination)) > 5, 30, "the first files")
    return destination


def count_files(root):
    return sum(len(files) for _, _, files in os.walk(root))


def scenario_close_during_extraction(args, work, session):
    destination = start_big_extraction(session, work)
    session.helper("close", session.window)
    check(session.exit_code(15) == 0, "exit code is not 0")
    written = count_files(destination)
    check(written < 20 * 60 + 1, "the extraction was not interrupted")
    check(not leftovers(destination), "temporary files left: %s" % leftovers(destination))
    for folder, _, files in os.walk(destination):
        for name in files:
            if name.endswith(".png"):
                check(png_is_complete(os.path.join(folder, name)), "truncated picture " + name)


def scenario_pause_and_back(args, work, session):
    destination = start_big_extraction(session, work)
    session.click(*STEP3_PAUSE)
    time.sleep(1.0)  # the file in hand is finished first
    paused_at = count_files(destination)
    time.sleep(1.5)
    check(count_files(destination) == paused_at, "files are still written while paused")
    session.screenshot("step3-paused.png")
    session.click(*STEP3_PAUSE)  # Unpause
    wait_for(lambda: count_files(destination) > paused_at, 10, "the extraction to go on")
    session.click(*STEP3_PAUSE)
    time.sleep(1.0)
    session.click(*STEP3_BACK)
    session.wait_step(2)
    stopped_at = count_files(destination)
    time.sleep(1.5)
    check(count_files(destination) == stopped_at, "the abandoned extraction goes on")
    check(not leftovers(destination), "temporary files left")
    session.click(*STEP2_BACK)
    session.wait_step(1)
    session.helper("close", session.window)
    check(session.exit_code(10) == 0, "exit code is not 0")


def scenario_many_types_scroll(args, work, session):
    archive = os.path.join(work, "fixtures", "types.rez")
    destination = os.path.join(work, "out")
    os.makedirs(destination)
    session.enter_source(archive)
    session.enter_destination(destination)
    session.click(*STEP1_NEXT)
    session.wait_step(2)
    session.click(*type_box(0))  # WAV, the first type
    session.move(90, 150)
    for _ in range(6):  # the wheel over the type list
        session.xdotool("click", 5)
        time.sleep(0.1)
    time.sleep(0.3)
    session.screenshot("step2-scrolled.png")
    session.click(*type_box(8))  # the 14th type, LOG, now in the last visible row
    confirm_extraction(session)
    wait_extraction_done(session)
    session.click(*STEP3_NEXT)
    session.wait_step(4)
    session.click(*EXIT_BUTTON)
    check(session.exit_code(10) == 0, "exit code is not 0")
    reference = os.path.join(work, "cli")
    run_cli(args, archive, reference, ["WAV", "LOG"])
    same_trees(destination, reference)


def scenario_missing_destination(args, work, session):
    archive = os.path.join(work, "fixtures", "claw.rez")
    session.enter_source(archive)
    # The parent folder does not exist either: only one folder is made.
    session.enter_destination(os.path.join(work, "no", "such", "place"))
    session.click(*STEP1_NEXT)
    session.answer_box("Question")  # Yes
    session.answer_box("Notice")  # cannot be created, and why
    session.wait_step(1)
    check(not os.path.exists(os.path.join(work, "no")), "a folder was made")
    # Declining the question keeps the user on step 1 as well.
    session.click(*STEP1_NEXT)
    session.answer_box("Question", key="Escape")  # No
    session.wait_step(1)
    session.helper("close", session.window)
    check(session.exit_code(10) == 0, "exit code is not 0")


def idle_cpu(args, work, session):
    """Prints the program's CPU load while it sits idle on each screen."""

    def measure(label, seconds=10):
        session.move(*RESTING_POINT)
        time.sleep(1)
        ticks = os.sysconf("SC_CLK_TCK")

        def cpu():
            with open("/proc/%d/stat" % session.program.pid) as f:
                fields = f.read().rsplit(")", 1)[1].split()
            return (int(fields[11]) + int(fields[12])) / ticks

        start_cpu, start = cpu(), time.monotonic()
        time.sleep(seconds)
        load = (cpu() - start_cpu) / (time.monotonic() - start) * 100
        print("idle CPU on %s: %.1f%% of one core" % (label, load))

    measure("step 1")
    archive = os.path.join(work, "fixtures", "claw.rez")
    session.enter_source(archive)
    session.enter_destination(work)
    session.click(*STEP1_NEXT)
    session.wait_step(2)
    measure("step 2")
    session.click(*type_box(3))
    confirm_extraction(session)
    wait_extraction_done(session)
    measure("step 3 (finished)")
    session.click(*STEP3_NEXT)
    session.wait_step(4)
    measure("step 4")
    session.click(*EXIT_BUTTON)
    session.exit_code(10)


SCENARIOS = {
    "full_run": scenario_full_run,
    "about_box": scenario_about_box,
    "back_from_details": scenario_back_from_details,
    "extract_next_archive": scenario_extract_next_archive,
    "invalid_archive": scenario_invalid_archive,
    "close_during_extraction": scenario_close_during_extraction,
    "pause_and_back": scenario_pause_and_back,
    "many_types_scroll": scenario_many_types_scroll,
    "missing_destination": scenario_missing_destination,
    "idle_cpu": idle_cpu,
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
    for tool in ("Xvfb", "xdotool"):
        if not shutil.which(tool):
            print("%s is not installed (scripts/install-deps.sh installs it)" % tool)
            return 1

    work = tempfile.mkdtemp(prefix="tarnwick-e2e-")
    if args.screens is None:
        args.screens = os.environ.get("TARNWICK_SCREENS_DIR") or os.path.join(work, "screens")
    subprocess.run([args.helper, "fixtures", os.path.join(work, "fixtures")], check=True)
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
