"""Drives the real valmero program the way a person would: through its
accessibility tree, with the mouse and the keyboard. Checks the defaults and
the option rules on screen, makes a disc collection, closes the run's box,
exits, and then checks the whole session's log and the output folder against
the command-line program's session with the same choices.

usage: drive_valmero.py VALMERO VALMERO_CLI
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

os.environ.setdefault("GTK_MODULES", "gail:atk-bridge")

from dogtail import config, rawinput, tree  # noqa: E402
from dogtail.predicate import GenericPredicate  # noqa: E402

config.config.searchCutoffCount = 20
config.config.searchBackoffDuration = 0.25
config.config.defaultDelay = 0.3
config.config.actionDelay = 0.3
config.config.typingDelay = 0.02
config.config.logDebugToFile = False

SONGLIST = "12|Rain|Bob\r\n7\tSun\tAnn\r\n3#Snow#Bob\r\n"
SONGS = {"12": b"rain mp3", "7": b"sun mp3", "3": b"snow mp3"}
STAMP = re.compile(r"^\* \d{4}:\d\d:\d\d \d\d:\d\d:\d\d - ")


def shot(name):
    """Screenshots for a person to look at, when VALMERO_E2E_SHOTS names a folder."""
    folder = os.environ.get("VALMERO_E2E_SHOTS")
    if folder:
        subprocess.run(["import", "-window", "root", os.path.join(folder, name + ".png")], timeout=20)


def fail(message):
    shot("failure")
    print("FAIL: " + message, flush=True)
    raise SystemExit(1)


def expect(condition, message):
    if not condition:
        fail(message)


def wait_for(what, probe, seconds=20.0):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        try:
            found = probe()
        except Exception:  # the tree is still being built
            found = None
        if found:
            return found
        time.sleep(0.2)
    fail("timed out waiting for " + what)


def make_collection(folder):
    songs = os.path.join(folder, "songs")
    os.makedirs(songs)
    with open(os.path.join(songs, "list.txt"), "w", newline="") as handle:
        handle.write(SONGLIST)
    for number, data in SONGS.items():
        for extension in (".mp3", ".mcg"):
            with open(os.path.join(songs, number + extension), "wb") as handle:
                handle.write(data + extension.encode())
    return songs


def log_messages(folder):
    with open(os.path.join(folder, "mirqlog.txt"), "rb") as handle:
        lines = handle.read().decode("latin-1").split("\r\n")
    expect(lines[-1] == "", "the log does not end with CR LF")
    messages = []
    for line in lines[:-1]:
        expect(STAMP.match(line) is not None, "log line without time stamp: %r" % line)
        messages.append(STAMP.sub("", line))
    return messages


def tree_of(folder):
    found = {}
    for base, _, files in os.walk(folder):
        for name in files:
            path = os.path.join(base, name)
            with open(path, "rb") as handle:
                found[os.path.relpath(path, folder)] = handle.read()
    return found


def cli_session(cli, work, source):
    """The same session through the command-line program: its log and outputs."""
    result = subprocess.run(
        [cli, "make", "--source", source, "--subfolder", "--disc", "--list", "--config-renumber"],
        cwd=work, stdin=subprocess.DEVNULL, capture_output=True, timeout=60)
    expect(result.returncode == 0, "valmero-cli failed: %r" % result.stdout)
    messages = log_messages(work)
    outputs = tree_of(os.path.join(os.path.dirname(source), "KVX"))
    shutil.rmtree(os.path.join(os.path.dirname(source), "KVX"))
    os.remove(os.path.join(work, "mirqlog.txt"))
    return messages, outputs


def check_box(app, caption):
    return app.child(name=caption, roleName="check box")


def is_checked(node):
    return node.checked


def main():
    valmero, cli = sys.argv[1], sys.argv[2]
    work = tempfile.mkdtemp(prefix="valmero-e2e-")
    process = None
    try:
        songs = make_collection(work)
        source = os.path.join(songs, "list.txt")
        target = os.path.join(songs, "KVX")
        cli_messages, cli_outputs = cli_session(cli, work, source)

        env = dict(os.environ, XDG_CONFIG_HOME=os.path.join(work, "config"))
        process = subprocess.Popen([valmero], cwd=work, env=env, stdin=subprocess.DEVNULL)
        app = wait_for("the program on the accessibility bus",
                       lambda: tree.root.application("valmero"))
        frame = wait_for("the main window", lambda: app.child(name="VALMERO", roleName="frame"))

        # Defaults.
        download = check_box(frame, "MIRQ songs (from download)")
        disc = check_box(frame, "Other songs (from CD+G discs)")
        renumber = check_box(frame, "Create ENGLISH.kvx file (and rename song files as needed)")
        keep = check_box(frame, "Create ENGLISH.kvx file (without renaming song files)")
        list_file = check_box(frame, "Create songlist file (LIST.txt)")
        config_renumber = check_box(frame, "Create SCDG.CFG file (and rename song files as needed)")
        subfolder = check_box(frame, 'Create a sub-folder "KVX" as the Target')
        expect(download.checked and renumber.checked, "download source and renumbering are not ticked")
        for box in (disc, keep, list_file, config_renumber, subfolder,
                    check_box(frame, "Copy all files to target"),
                    check_box(frame, "Create SCDG.CFG file (without renaming song files)")):
            expect(not box.checked, "%s is ticked at start" % box.name)
        for hidden in ("Create Songlist file (JUKE.TXT)", "Copy mp3 files", "Move mp3 files",
                       "Create ENGLISH.KVX file"):
            expect(not check_box(frame, hidden).showing, "%s is shown" % hidden)
        fields = frame.findChildren(GenericPredicate(roleName="text"))
        expect(len(fields) == 2, "expected two path fields, found %d" % len(fields))
        source_field, target_field = fields
        expect(source_field.text == "" and target_field.text == "", "path fields are not empty")
        select_target = frame.child(name="Select Target", roleName="push button")
        expect(select_target.sensitive, "Select Target is disabled at start")

        # ESC is logged and leaves the window open.
        download.grabFocus()
        rawinput.pressKey("Escape")
        time.sleep(0.5)
        expect(frame.showing and process.poll() is None, "ESC closed the window")

        # The About box from the window's context menu (right click on the background by the logo).
        x, y = frame.position
        rawinput.click(x + 60, y + 28, button=3)
        item = wait_for("the About item", lambda: app.findChild(
            GenericPredicate(name="About VALMERO...", roleName="menu item"), retry=False, requireResult=False), 10)
        item.click()
        about = wait_for("the About box", lambda: app.findChild(
            GenericPredicate(name="About VALMERO"), retry=False, requireResult=False), 10)
        expect(about.findChild(GenericPredicate(name="VALMERO version", roleName="label"), retry=False,
                               requireResult=False) is not None or
               any(label.name.startswith("VALMERO version") for label in
                   about.findChildren(GenericPredicate(roleName="label"))), "the About box has no version line")
        shot("about_box")
        about.child(name="OK", roleName="push button").click()
        wait_for("the About box closed", lambda: not about.showing or about.dead, 10)

        # The disc source; then the path typed by hand.
        disc.click()
        wait_for("the disc source ticked", lambda: disc.checked and not download.checked, 5)
        # The file chooser, given up with ESC: logged, nothing changes.
        frame.child(name="Select Source", roleName="push button").click()
        chooser = wait_for("the file chooser", lambda: app.findChild(
            GenericPredicate(roleName="file chooser"), retry=False, requireResult=False), 15)
        shot("file_chooser")
        rawinput.pressKey("Escape")
        wait_for("the file chooser closed", lambda: chooser.dead or not chooser.showing, 10)
        expect(source_field.text == "", "a cancelled chooser changed the source")

        source_field.click()
        rawinput.typeText(source)
        wait_for("the typed source", lambda: source_field.text == source, 10)

        # Exclusive pair: keeping the numbers drops renaming.
        keep.click()
        wait_for("keep ticked alone", lambda: keep.checked and not renumber.checked, 5)
        renumber.click()
        wait_for("renumber ticked alone", lambda: renumber.checked and not keep.checked, 5)

        list_file.click()
        config_renumber.click()
        subfolder.click()
        wait_for("the sub-folder target", lambda: target_field.text == target, 5)
        wait_for("Select Target disabled", lambda: not select_target.sensitive, 5)
        expect(list_file.checked and config_renumber.checked, "option boxes did not tick")

        shot("before_make")
        frame.child(name="MAKE", roleName="push button").click()
        ok = wait_for("the closing box", lambda: next(
            (button for alert in app.findChildren(GenericPredicate(roleName="alert"), recursive=False)
             if alert.findChild(GenericPredicate(name="Finished Converting"), retry=False, requireResult=False)
             for button in alert.findChildren(GenericPredicate(roleName="push button"))
             if button.name.replace("_", "") == "OK"), None), 30)
        shot("finished_box")
        ok.click()
        exit_button = frame.child(name="Exit", roleName="push button")
        wait_for("Exit enabled after the run", lambda: exit_button.sensitive, 10)
        exit_button.click()
        try:
            process.wait(timeout=20)
        except subprocess.TimeoutExpired:
            fail("the program did not end after Exit")
        expect(process.returncode == 0, "the program ended with %d" % process.returncode)
        process = None

        messages = log_messages(work)
        expected_frame = [
            "start of logging" + "=" * 60,
            "products file open error",
            "initialize all variables",
            '=== THIS IS "VALMERO" ===',
            "press esc key",
            "wrong file name",
            "now status : mode1=1, mode2=0, mode3=1, mode4=0",
            "Create target folder : " + target,
        ]
        expect(messages[:len(expected_frame)] == expected_frame,
               "the session does not start as expected:\n" + "\n".join(messages))
        expect(messages[-3:] == ["Finished Converting", "terminate VALMERO", "end of logging" + "=" * 62],
               "the session does not end as expected:\n" + "\n".join(messages))
        # Every line in between is the run's, the same as the command-line twin writes;
        # only the ESC line and the cancelled chooser's line are the window's own.
        welcome = cli_messages.index('=== THIS IS "VALMERO" ===')
        cli_messages[welcome + 1:welcome + 1] = ["press esc key", "wrong file name"]
        expect(messages == cli_messages,
               "the log differs from valmero-cli's:\n" + "\n".join(messages) + "\n---\n" + "\n".join(cli_messages))
        expect(os.path.isdir(target), "the target folder was not made")
        # The songlist reader's popup kept its place for the next start.
        with open(os.path.join(work, "config", "VALMERO.conf")) as handle:
            settings = handle.read()
        expect(re.search(r"\[Settings\]\s*\nX=-?\d+\s*\nY=-?\d+", settings) is not None,
               "the popup's place was not kept: %r" % settings)
        expect(tree_of(target) == cli_outputs, "the outputs differ from valmero-cli's")
        print("PASS: %d log lines, %d output files" % (len(messages), len(cli_outputs)))
    finally:
        if process is not None:
            process.kill()
            process.wait()
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
