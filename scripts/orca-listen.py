#!/usr/bin/python3
# Does part of the job with the keyboard alone while the Orca screen reader runs, and reads what
# Orca said from its speech log: the current row when each list takes the focus, the focused
# control when a file chooser closes, the announcements of Add, a move and a removal, and the
# progress of a slowed flash. Run by scripts/check-accessibility, with Orca writing ORCA_LOG and
# Vellmore started on the same session bus, in a folder of games with a compiled multirom.
import os
import re
import subprocess
import sys
import time

LOG = os.environ["ORCA_LOG"]
SPEECH = re.compile(r"SPEECH OUTPUT: '(.*?)'\s*\{")
problems = []


def log_size():
    return os.path.getsize(LOG)


def said_since(mark):
    with open(LOG, errors="replace") as log:
        log.seek(mark)
        return [found.group(1).strip() for found in SPEECH.finditer(log.read())]


def heard_after(mark, pattern, seconds=8, quiet=1.0):
    """What Orca said since mark, once it said something matching pattern and then was quiet a while
    (or the time is up): Orca speaks a moment after the event."""
    deadline = time.time() + seconds
    while time.time() < deadline and not any(re.search(pattern, line) for line in said_since(mark)):
        time.sleep(0.1)
    last_size, last_change = log_size(), time.time()
    while time.time() < deadline and time.time() - last_change < quiet:
        time.sleep(0.1)
        if log_size() != last_size:
            last_size, last_change = log_size(), time.time()
    return said_since(mark)


def press(key):
    """Presses a key as a person does; where the speech log stood before."""
    mark = log_size()
    subprocess.run(["xdotool", "key", key], check=True)
    return mark


def quiet_after(mark, seconds=6, quiet=1.0):
    """What Orca said since mark once it has been quiet a while (or the time is up)."""
    return heard_after(mark, r"\S", seconds, quiet)


def tab_to(name):
    """Tabs on until Orca names the control that takes the focus name (its first words); what it
    said on arriving there. Only the speech log is read: questions to Vellmore over the
    accessibility bus while keys go through it would slow Orca down."""
    for _ in range(40):
        heard = quiet_after(press("Tab"))
        if any(line.startswith(name) for line in heard):
            return heard
    sys.exit("orca-listen: Tab never reached %r" % name)


def expect(what, heard, pattern):
    shown = " | ".join(heard)
    if any(re.search(pattern, line) for line in heard):
        print("heard %s: %s" % (what, shown))
    else:
        problems.append("%s was not heard (Orca said: %s)" % (what, shown or "nothing"))


def expect_row_after_list(what, heard, pattern):
    """Of what was said on entering a list, its own words ("List with 5 items") come first and then
    its current row, so that the row is where the listener stays."""
    list_words = max((i for i, line in enumerate(heard) if line.startswith("List with")), default=None)
    if list_words is not None and any(re.search(pattern, line) for line in heard[list_words + 1:]):
        print("heard %s: %s" % (what, " | ".join(heard)))
    else:
        problems.append("%s was not said after the list (Orca said: %s)" % (what, " | ".join(heard) or "nothing"))


def main():
    heard_after(log_size() if os.path.exists(LOG) else 0, "^Vellmore frame", seconds=10)  # its first words

    # Each list says its current row when the focus enters it: Orca ends on the row, not on the list.
    expect_row_after_list("the open folder on entering the folders", tab_to("Folders"), r"games, open\.?$")
    expect_row_after_list("the current file on entering the files", tab_to("Select files to add"), r"\.gba\.?$")
    quiet_after(press("ctrl+a"))
    tab_to("Add -> push button")
    added = r"^notification \d+ games added, \d+ in the list"
    expect("what Add did", heard_after(press("space"), added), added)
    expect_row_after_list("the current game on entering the game list", tab_to("Games in slot order"),
                          r"^slot \d: .*\.gba")
    moved = r"^notification .* to slot \d"
    expect("where a game went", heard_after(press("ctrl+Up"), moved), moved)
    removed = r"^notification .* removed, \d+ left"
    expect("what was removed", heard_after(press("Delete"), removed), removed)

    # A file chooser closes: Orca says the window and the control that has the focus again.
    tab_to("Choose the loader push button")
    for _ in range(3):
        heard_after(press("space"), r"^File name")
        back = r"^Choose the loader push button"
        expect("the control focused after the chooser closed", heard_after(press("Escape"), back), back)

    # A slowed flash says its progress while it runs, and then how it ended.
    tab_to("Flash push button")
    progress = r"^notification Written \d+ of \d+ KiB"
    expect("the flash's progress", heard_after(press("space"), progress, seconds=30), progress)

    for problem in problems:
        print("orca-listen: " + problem, file=sys.stderr)
    return 1 if problems else 0


sys.exit(main())
