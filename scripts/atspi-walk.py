#!/usr/bin/python3
# Walks Vellmore's windows through AT-SPI, as a screen reader does, and fails on a control that
# takes input with no name a person would say, on a window that is not a window, and when
# pressing "Compile multirom" does not give a message box that can be read back.
# Run by scripts/check-accessibility, with Vellmore started on the same session bus.
import re
import sys
import time

import pyatspi

INPUT_ROLES = {pyatspi.ROLE_TEXT, pyatspi.ROLE_ENTRY, pyatspi.ROLE_CHECK_BOX, pyatspi.ROLE_RADIO_BUTTON,
               pyatspi.ROLE_COMBO_BOX, pyatspi.ROLE_LIST, pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_SPIN_BUTTON}
WINDOW_ROLES = {pyatspi.ROLE_FRAME, pyatspi.ROLE_WINDOW, pyatspi.ROLE_DIALOG}
SAYABLE = re.compile(r"\w", re.UNICODE)
problems = []


def wait_for(what, find, seconds=20):
    deadline = time.time() + seconds
    while time.time() < deadline:
        found = find()
        if found is not None:
            return found
        time.sleep(0.25)
    sys.exit("atspi-walk: %s did not appear" % what)


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
