#!/usr/bin/python3
"""Walks the running panel's windows over the AT-SPI bus, after pressing SETTING through the bus
as a screen reader user would, prints each control's role and name, and fails when a control
that takes the keyboard focus has no name.  Usage: tree.py APPLICATION_NAME [SECONDS]"""
import sys
import time

import pyatspi


def wait_for(condition, seconds):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        found = condition()
        if found:
            return found
        time.sleep(0.2)
    return None


def controls(node, depth=0):
    yield node, depth
    if node.getRoleName() != "list":  # a list's entries are its data, not controls
        for child in node:
            if child is not None:
                yield from controls(child, depth + 1)


def main(name, seconds=20.0):
    app = wait_for(lambda: next((a for a in pyatspi.Registry.getDesktop(0)
                                 if a is not None and a.name == name and a.childCount), None),
                   seconds)
    if app is None:
        sys.exit("tree.py: %s did not appear on the accessibility bus" % name)
    setting = next((n for n, _ in controls(app)
                    if n.getRoleName() == "push button" and n.name == "SETTING"), None)
    if setting is None or not setting.queryAction().doAction(0) or \
            not wait_for(lambda: app.childCount > 1, seconds):
        sys.exit("tree.py: SETTING did not open the settings dialog")
    unnamed = []
    for node, depth in controls(app):
        states = node.getState()
        marks = ["focusable"] if states.contains(pyatspi.STATE_FOCUSABLE) else []
        marks += [] if states.contains(pyatspi.STATE_SHOWING) else ["hidden"]
        for relation in node.getRelationSet():
            if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY:
                marks.append("labelled by \"%s\"" % relation.getTarget(0).name)
        print("%s%s \"%s\" %s" % ("  " * depth, node.getRoleName(), node.name, " ".join(marks)))
        if "focusable" in marks and not (node.name or "").strip():
            unnamed.append(node.getRoleName())
    if unnamed:
        sys.exit("tree.py: focusable controls without a name: " + ", ".join(unnamed))


if __name__ == "__main__":
    main(sys.argv[1], *map(float, sys.argv[2:3]))
