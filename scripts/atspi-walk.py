#!/usr/bin/python3
# Walks Vellmore's windows through AT-SPI, as a screen reader does, and fails on a control that
# takes input with no name a person would say, on a window that is not a window, when pressing
# "Compile multirom" does not give a message box that can be read back, and on a focus event for
# a control that does not have the focus while games are added and compiled.
# Run by scripts/check-accessibility, with Vellmore started on the same session bus.
import re
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

INPUT_ROLES = {pyatspi.ROLE_TEXT, pyatspi.ROLE_ENTRY, pyatspi.ROLE_CHECK_BOX, pyatspi.ROLE_RADIO_BUTTON,
               pyatspi.ROLE_COMBO_BOX, pyatspi.ROLE_LIST, pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_SPIN_BUTTON}
WINDOW_ROLES = {pyatspi.ROLE_FRAME, pyatspi.ROLE_WINDOW, pyatspi.ROLE_DIALOG}
SAYABLE = re.compile(r"\w", re.UNICODE)
problems = []
focus_heard = []


def pump(seconds=0.25):
    """Lets the events that arrived reach their listeners."""
    deadline = time.time() + seconds
    context = GLib.MainContext.default()
    while time.time() < deadline:
        while context.pending():
            context.iteration(False)
        time.sleep(0.02)


def wait_for(what, find, seconds=20):
    deadline = time.time() + seconds
    while time.time() < deadline:
        found = find()
        if found is not None:
            return found
        pump()
    sys.exit("atspi-walk: %s did not appear" % what)


def on_focus(event):
    """A focus event must be for what has the focus: a list's row only while its list has it."""
    if not event.detail1:
        return
    source = event.source
    try:
        holder = source.parent if source.getRole() in (pyatspi.ROLE_LIST_ITEM, pyatspi.ROLE_TABLE_CELL) else source
        focused = holder.getState().contains(pyatspi.STATE_FOCUSED)
        said = "%s %r in %r" % (source.getRoleName(), source.name, holder.name)
    except Exception:  # gone already: a closed message box
        return
    focus_heard.append(said)
    if not focused:
        problems.append("a focus event for %s, which does not have the focus" % said)


def application():
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name.lower().startswith("vellmore"):
            return app
    return None


def window(app, title):
    for child in app:
        if child is not None and child.name == title and child.getState().contains(pyatspi.STATE_SHOWING):
            return child
    return None


def spoken_name(node):
    """The name a screen reader says: its own, else that of the label it is labelled by."""
    if node.name and SAYABLE.search(node.name) and node.getRole() != pyatspi.ROLE_COMBO_BOX:
        return node.name
    for relation in node.getRelationSet():
        if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY:
            return relation.getTarget(0).name
    return node.name if node.getRole() != pyatspi.ROLE_COMBO_BOX else ""


def walk(node, where, seen):
    for child in node:
        if child is None:
            continue
        role = child.getRole()
        here = "%s/%s" % (where, child.getRoleName())
        if role in INPUT_ROLES:
            name = spoken_name(child)
            seen.append("%s: %s" % (child.getRoleName(), name))
            if not SAYABLE.search(name or ""):
                problems.append("%s has no name a person would say (%r)" % (here, name))
        if role in (pyatspi.ROLE_FILLER, pyatspi.ROLE_PANEL) and child.childCount == 0 and not child.name:
            problems.append("%s is an empty, unnamed %s" % (here, child.getRoleName()))
        if role not in (pyatspi.ROLE_COMBO_BOX, pyatspi.ROLE_LIST):
            walk(child, here, seen)


def check_window(app, title):
    frame = wait_for("the window " + title, lambda: window(app, title))
    if frame.getRole() not in WINDOW_ROLES:
        problems.append("%s reads as a %s, not a window" % (title, frame.getRoleName()))
    seen = []
    walk(frame, title, seen)
    print("%s (%s): %d controls that take input, all named" % (title, frame.getRoleName(), len(seen))
          if not problems else "%s: checked" % title)
    return frame


def find(node, role, name):
    for child in node:
        if child is None:
            continue
        if child.getRole() == role and child.name == name:
            return child
        found = find(child, role, name)
        if found is not None:
            return found
    return None


def press(node, role, name):
    target = wait_for(name, lambda: find(node, role, name))
    action = target.queryAction()
    for i in range(action.nActions):
        if action.getName(i) in ("Press", "press", "click", "Toggle"):
            action.doAction(i)
            return
    action.doAction(0)


def main():
    app = wait_for("Vellmore on the accessibility bus", application)
    main_window = check_window(app, "Vellmore")

    # "Compile multirom" with no games: the message box says so, and can be read back.
    press(main_window, pyatspi.ROLE_PUSH_BUTTON, "Compile multirom")
    box = wait_for("the message box", lambda: window(app, "Vellmore") if find(app, pyatspi.ROLE_PUSH_BUTTON, "OK")
                   else None)
    texts = []

    def gather(node):
        for child in node:
            if child is not None:
                if child.getRole() == pyatspi.ROLE_LABEL and child.name:
                    texts.append(child.name)
                gather(child)
    for child in app:
        if child is not None and child.getRole() in (pyatspi.ROLE_DIALOG, pyatspi.ROLE_ALERT):
            gather(child)
    said = " ".join(texts)
    print("the message box reads: %s" % said)
    if "you need to have some games, ne?" not in said:
        problems.append("the message box read %r" % said)
    press(app, pyatspi.ROLE_PUSH_BUTTON, "OK")
    del box

    # Games added and compiled with the keyboard and the buttons, as a screen reader user does:
    # every focus event on the way is for the control that has the focus.
    pyatspi.Registry.registerEventListener(on_focus, "object:state-changed:focused")
    files = wait_for("the file list", lambda: find(main_window, pyatspi.ROLE_LIST, "Select files to add"))
    # The first game clicked, the last with Shift: every game of the folder selected.
    for row, keys in ((0, []), (files.childCount - 1, ["--clearmodifiers", "keydown", "shift"])):
        x, y, width, height = files[row].queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        subprocess.run(["xdotool", "mousemove", str(x + width // 2), str(y + height // 2)] + keys[1:] +
                       ["click", "1"] + (["keyup", "shift"] if keys else []), check=True)
        pump(0.5)
    press(main_window, pyatspi.ROLE_PUSH_BUTTON, "Add ->")
    pump(0.5)
    games = find(main_window, pyatspi.ROLE_LIST, "Games in slot order")
    if games.childCount != files.childCount:
        problems.append("Add put %d of %d games in the list" % (games.childCount, files.childCount))
    press(main_window, pyatspi.ROLE_PUSH_BUTTON, "Compile multirom")
    wait_for("the compile's message box", lambda: find(app, pyatspi.ROLE_PUSH_BUTTON, "OK"), 60)
    press(app, pyatspi.ROLE_PUSH_BUTTON, "OK")
    pump(1)
    pyatspi.Registry.deregisterEventListener(on_focus, "object:state-changed:focused")
    print("focus events heard over Add, Compile and its message box: %s" % "; ".join(focus_heard))

    press(main_window, pyatspi.ROLE_PUSH_BUTTON, "Choose the output folder")
    check_window(app, "Select Output Folder")
    press(main_window, pyatspi.ROLE_MENU_ITEM, "About")
    check_window(app, "About Vellmore")
    press(main_window, pyatspi.ROLE_PUSH_BUTTON, "Go to save/load menu ->")
    check_window(app, "Backup Game / Restore Game")

    for problem in problems:
        print("atspi-walk: " + problem, file=sys.stderr)
    return 1 if problems else 0


sys.exit(main())
