"""The desktop program against valmero-cli on the same collection, with the
same choices, side by side: ROUNDS rounds, each running every program once in
turn (the first one changes from round to round). Prints every run and the
medians. A measurement, never pass/fail.

Desktop run: a fresh valmero; the paths are typed and the boxes ticked through
its accessibility tree; then MAKE is clicked with the real mouse (xdotool) and
the time runs from that click until the log holds the run's "Finished
Converting" line (the log is watched from outside: while the program works the
accessibility bus may wait). The closing box is answered with the Return key
and the program ends through Exit. Command-line run: from its start until its
log holds that line, watched the same way. The target is
emptied before each run. CPU time: the desktop program's from the click to
that line, the whole command-line process's.

--cancel N adds N copy runs of the desktop program in which Cancel is clicked
with the real mouse once copying is under way; the figures are the times from
the click until the last file is made in the target folder (copying stops) and
until its last change (what was copied is put in place), both by inotify.

usage (inside a display with the accessibility bus, see desktop_vs_cli.sh):
  desktop_vs_cli.py BUILD SOURCE WORK ROUNDS [--against OTHER_BUILD] [--cancel N] [-- make options]
"""
import argparse
import ctypes
import os
import select
import shutil
import statistics
import struct
import subprocess
import sys
import time

os.environ.setdefault("GTK_MODULES", "gail:atk-bridge")

from dogtail import config, rawinput, tree  # noqa: E402
from dogtail.predicate import GenericPredicate  # noqa: E402

config.config.searchCutoffCount = 40
config.config.searchBackoffDuration = 0.25
config.config.defaultDelay = 0.1
config.config.actionDelay = 0.1
config.config.typingDelay = 0.01
config.config.logDebugToFile = False

FINISHED = b"Finished Converting"
BOXES = {
    "--index keep": "Create ENGLISH.kvx file (without renaming song files)",
    "--index none": "Create ENGLISH.kvx file (and rename song files as needed)",
    "--list": "Create songlist file (LIST.txt)",
    "--config-renumber": "Create SCDG.CFG file (and rename song files as needed)",
    "--config-keep": "Create SCDG.CFG file (without renaming song files)",
    "--copy-all": "Copy all files to target",
    "--disc": "Other songs (from CD+G discs)",
}


def wait_for(what, probe, seconds=30.0, pause=0.1):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        try:
            found = probe()
        except Exception:  # the tree is still being built
            found = None
        if found:
            return found
        time.sleep(pause)
    raise SystemExit("timed out waiting for " + what)


def log_size(log):
    try:
        return os.stat(log).st_size
    except FileNotFoundError:
        return 0


def wait_for_finished(log, offset, start, process, seconds=600.0):
    """Seconds from start until a "Finished Converting" line appears in the log after offset."""
    line = FINISHED + b"\r\n"
    seen = b""
    while time.monotonic() - start < seconds:
        if log_size(log) > offset:
            with open(log, "rb") as handle:
                handle.seek(offset)
                data = handle.read()
            offset += len(data)
            seen = seen[-len(line):] + data
            if line in seen:
                return time.monotonic() - start
        elif process.poll() is not None:
            break
        time.sleep(0.001)
    raise SystemExit("no \"Finished Converting\" in " + log)


def clear_target(target):
    """Empties the target right before a run, then lets the machine settle:
    freeing tens of thousands of files goes on in the kernel after rm ends."""
    shutil.rmtree(target, ignore_errors=True)
    subprocess.run(["sync"], check=True)
    time.sleep(SETTLE_SECONDS)


SETTLE_SECONDS = 2.0


def xdotool(*args):
    subprocess.run(["xdotool"] + list(args), check=True)


def centre(node):
    (x, y), (w, h) = node.position, node.size
    return x + w // 2, y + h // 2


def click_at(node):
    """Clicks the middle of node with the mouse; returns the time of the click.
    xdotool clicks at once and then waits 100 ms before it ends: the watch
    for what follows goes on meanwhile."""
    x, y = centre(node)
    xdotool("mousemove", "--sync", str(x), str(y))
    start = time.monotonic()
    CLICKS.append(subprocess.Popen(["xdotool", "click", "1"]))
    return start


CLICKS = []


class Desktop:
    """One start of the desktop program, set up as the make options say."""

    def __init__(self, build, work, source, target, options):
        self.work = work
        self.log = os.path.join(work, "mirqlog.txt")
        env = dict(os.environ, XDG_CONFIG_HOME=os.path.join(work, "config"))
        # VALMERO_BENCH_WRAP runs the desktop program under another, e.g. "perf record -g -o FILE --".
        wrap = os.environ.get("VALMERO_BENCH_WRAP", "").split()
        self.process = subprocess.Popen(wrap + [os.path.join(build, "bin", "valmero")], cwd=work, env=env,
                                        stdin=subprocess.DEVNULL)
        self.app = wait_for("valmero on the accessibility bus", lambda: tree.root.application("valmero"))
        self.frame = wait_for("the main window", lambda: self.app.child(name="VALMERO", roleName="frame"))
        for option, name in BOXES.items():
            if option in " ".join(options):
                box = self.frame.child(name=name, roleName="check box")
                ticked = box.checked
                wait_for("the box \"%s\" changed" % name, lambda: box.checked != ticked or box.click(), 10, 1.0)
        source_field, target_field = self.frame.findChildren(GenericPredicate(roleName="text"))
        for field, path in ((source_field, source), (target_field, target)):
            field.click()
            rawinput.typeText(path)
            wait_for("the typed path", lambda: field.text == path, 10)
        self.make = self.frame.child(name="MAKE", roleName="push button")

    def click_make(self):
        """Clicks MAKE; returns the time of the click."""
        return click_at(self.make)

    def answer_box(self, text):
        """Waits for the box that shows text and answers it with the Return key."""
        alert = wait_for("the box \"%s\"" % text, lambda: next(
            (a for a in self.app.findChildren(GenericPredicate(roleName="alert"), recursive=False)
             if a.findChild(GenericPredicate(name=text), retry=False, requireResult=False)), None), 60, 0.05)
        ok = next(b for b in alert.findChildren(GenericPredicate(roleName="push button"))
                  if b.name.replace("_", "") == "OK")
        # Without a window manager the keyboard goes to the window under the
        # pointer; Return presses the box's default button.
        x, y = centre(ok)
        xdotool("mousemove", "--sync", str(x), str(y))
        xdotool("key", "Return")
        wait_for("the box closed", lambda: alert.dead or not alert.showing, 10, 0.05)

    def close(self):
        while CLICKS:
            CLICKS.pop().wait()
        exit_button = self.frame.child(name="Exit", roleName="push button")
        wait_for("Exit enabled after the run", lambda: exit_button.sensitive, 30)
        exit_button.click()
        try:
            self.process.wait(timeout=30)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()


def cpu_seconds(pid):
    """User and system time a running process has used so far."""
    with open("/proc/%d/stat" % pid) as handle:
        fields = handle.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def desktop_run(build, work, source, target, options):
    """(wall, cpu) seconds of one MAKE in the desktop program."""
    desktop = Desktop(build, work, source, target, options)
    clear_target(target)
    offset = log_size(desktop.log)
    cpu = cpu_seconds(desktop.process.pid)
    start = desktop.click_make()
    seconds = wait_for_finished(desktop.log, offset, start, desktop.process)
    cpu = cpu_seconds(desktop.process.pid) - cpu
    desktop.answer_box("Finished Converting")
    desktop.close()
    return seconds, cpu


def cli_run(build, work, source, target, options):
    clear_target(target)
    log = os.path.join(work, "mirqlog.txt")
    if os.path.exists(log):
        os.remove(log)
    start = time.monotonic()
    process = subprocess.Popen([os.path.join(build, "bin", "valmero-cli"), "make", "--source", source,
                                "--target", target] + options, cwd=work, stdin=subprocess.DEVNULL,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    seconds = wait_for_finished(log, 0, start, process)
    _, status, usage = os.wait4(process.pid, 0)
    process.returncode = os.waitstatus_to_exitcode(status)
    if process.returncode not in (0, 3):
        raise SystemExit("valmero-cli failed with %d" % process.returncode)
    return seconds, usage.ru_utime + usage.ru_stime


# inotify, for the moment the copying stops.
IN_MODIFY, IN_CLOSE_WRITE, IN_MOVED_TO, IN_CREATE = 0x2, 0x8, 0x80, 0x100


def watch_folder(folder):
    libc = ctypes.CDLL("libc.so.6", use_errno=True)
    fd = libc.inotify_init1(os.O_NONBLOCK | os.O_CLOEXEC)
    if fd < 0 or libc.inotify_add_watch(fd, folder.encode(), IN_MODIFY | IN_CLOSE_WRITE | IN_MOVED_TO |
                                        IN_CREATE) < 0:
        raise SystemExit("inotify: %s" % os.strerror(ctypes.get_errno()))
    return fd


def last_changes_after(fd, quiet):
    """Drains the watch until quiet seconds pass without a change: the times of
    the last file made (copying) and of the last change of any kind."""
    last_made = last = None
    while True:
        ready, _, _ = select.select([fd], [], [], quiet)
        if not ready:
            return last_made, last
        now = time.monotonic()
        try:
            while True:
                data = os.read(fd, 65536)
                at = 0
                while at < len(data):
                    _, mask, _, length = struct.unpack_from("iIII", data, at)
                    if mask & IN_CREATE:
                        last_made = now
                    at += 16 + length
                last = now
        except BlockingIOError:
            pass


def cancel_run(build, work, source, target, options):
    """Seconds from a click on Cancel until the target folder stops changing."""
    clear_target(target)
    desktop = Desktop(build, work, source, target, options)
    desktop.click_make()
    wait_for("the copying under way", lambda: os.path.isdir(target) and len(os.listdir(target)) > 2000, 120, 0.02)
    cancel = wait_for("the popup's Cancel button", lambda: next(
        (b for b in desktop.app.findChildren(GenericPredicate(roleName="push button"))
         if b.name.strip() == "Cancel" and b.showing), None), 30, 0.05)
    fd = watch_folder(target)
    start = click_at(cancel)
    last_made, last = last_changes_after(fd, 0.5)
    os.close(fd)
    copied = len(os.listdir(target))
    desktop.answer_box("Progress Calcelled")
    desktop.answer_box("Finished Converting")
    desktop.close()
    return tuple((t - start if t is not None else 0.0) for t in (last_made, last)), copied


def median(values):
    return statistics.median(values) if values else float("nan")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("build")
    parser.add_argument("source")
    parser.add_argument("work")
    parser.add_argument("rounds", type=int)
    parser.add_argument("--against")
    parser.add_argument("--cancel", type=int, default=0)
    argv = sys.argv[1:]
    split = argv.index("--") if "--" in argv else len(argv)
    args = parser.parse_args(argv[:split])
    options = argv[split + 1:]
    joined = " ".join(options)
    builds = {"this": os.path.abspath(args.build)}
    if args.against:
        builds["other"] = os.path.abspath(args.against)
    target = os.path.join(args.work, "target")
    runs = []
    for label, build in builds.items():
        for kind in ("desktop", "cli"):
            folder = os.path.join(args.work, label + "-" + kind)
            os.makedirs(folder, exist_ok=True)
            catalogue = os.path.join(os.path.dirname(os.path.abspath(args.source)), "products.cp")
            if os.path.exists(catalogue):
                shutil.copy(catalogue, folder)
            run = desktop_run if kind == "desktop" else cli_run
            runs.append((label + " " + kind, run, build, folder))

    times = {name: [] for name, _, _, _ in runs}
    cpus = {name: [] for name, _, _, _ in runs}
    for round_number in range(args.rounds):
        shift = round_number % len(runs)
        for name, run, build, folder in runs[shift:] + runs[:shift]:
            seconds, cpu = run(build, folder, os.path.abspath(args.source), target, options)
            times[name].append(seconds)
            cpus[name].append(cpu)
            print("round %d  %-14s %7.3f s wall %7.2f s cpu" % (round_number + 1, name, seconds, cpu), flush=True)

    print("make options: %s" % (joined or "(defaults)"))
    for name in times:
        print("median %-14s %7.3f s wall (%s), %.2f s cpu" % (
            name, median(times[name]), " ".join("%.3f" % t for t in times[name]), median(cpus[name])))
    for label in builds:
        ratios = [d / c for d, c in zip(times[label + " desktop"], times[label + " cli"])]
        print("ratio %s desktop/cli: %.2f wall (medians; per round %s), %.2f cpu" % (
            label, median(times[label + " desktop"]) / median(times[label + " cli"]),
            " ".join("%.2f" % r for r in ratios), median(cpus[label + " desktop"]) / median(cpus[label + " cli"])))

    if args.cancel:
        folder = os.path.join(args.work, "this-desktop")
        stops, settles = [], []
        for number in range(args.cancel):
            (stop, settle), copied = cancel_run(builds["this"], folder, os.path.abspath(args.source), target,
                                                options)
            stops.append(stop)
            settles.append(settle)
            print("cancel %d: from the click %.1f ms to the last file made, %.1f ms to the last change in the "
                  "target (%d files there)" % (number + 1, stop * 1000, settle * 1000, copied), flush=True)
        print("cancel latency: copying stops after %.1f ms median, %.1f ms at most; the target is still "
              "after %.1f ms median, %.1f ms at most" % (median(stops) * 1000, max(stops) * 1000,
                                                         median(settles) * 1000, max(settles) * 1000))
    shutil.rmtree(target, ignore_errors=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
