#!/usr/bin/python3
"""Walks the running panel's windows over the AT-SPI bus, prints each control's role and name,
and fails when a control that takes the keyboard focus has no name. SETTING is pressed first,
through the bus as a screen reader user would, so the settings dialog is walked too.

Usage: tree.py APPLICATION_NAME [SECONDS]   (waits up to SECONDS, 20, for the application)
"""
import sys
import time

import pyatspi


def find_application(name, seconds):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        desktop = pyatspi.Registry.getDesktop(0)
        for app in desktop:
            # A window with its controls, not only the application object.
            if app is not None and app.name == name and app.childCount > 0:
                return app
        time.sleep(0.2)
    return None


def find(node, role, name):
    if node.getRoleName() == role and node.name == name:
        return node
    for index in range(node.childCount):
        child = node.getChildAtIndex(index)
        found = find(child, role, name) if child is not None else None
        if found is not None:
            return found
    return None


def open_settings(app, seconds):
    button = find(app, "push button", "SETTING")
    if button is None:
        return False
    action = button.queryAction()
    for index in range(action.nActions):
        if action.getName(index) in ("press", "click", "Press"):
            action.doAction(index)
            break
    else:
        action.doAction(0)
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        if app.childCount > 1:
            return True
        time.sleep(0.2)
    return False


def walk(node, depth, unnamed):
    role = node.getRoleName()
    name = node.name or ""
    states = node.getState()
    focusable = states.contains(pyatspi.STATE_FOCUSABLE)
    showing = states.contains(pyatspi.STATE_SHOWING)
    marks = ("focusable " if focusable else "") + ("" if showing else "hidden ")
    for relation in node.getRelationSet():
        if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY:
            labels = [relation.getTarget(i).name for i in range(relation.getNTargets())]
            marks += "labelled by \"%s\" " % "\", \"".join(labels)
    print("%s%s \"%s\" %s" % ("  " * depth, role, name, marks.strip()))
    if focusable and not name.strip():
        unnamed.append("%s at depth %d" % (role, depth))
    # A list's entries are its data, not controls.
    if role == "list":
        return
    for index in range(node.childCount):
        child = node.getChildAtIndex(index)
        if child is not None:
            walk(child, depth + 1, unnamed)


def main():
    if len(sys.argv) < 2:
        print(__doc__, file=sys.stderr)
        return 2
    name = sys.argv[1]
    seconds = float(sys.argv[2]) if len(sys.argv) > 2 else 20.0
    app = find_application(name, seconds)
    if app is None:
        print("tree.py: %s did not appear on the accessibility bus" % name, file=sys.stderr)
        return 1
    if not open_settings(app, seconds):
        print("tree.py: SETTING did not open the settings dialog", file=sys.stderr)
        return 1
    unnamed = []
    walk(app, 0, unnamed)
    if unnamed:
        print("tree.py: focusable controls without a name: " + ", ".join(unnamed),
              file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
