#!/usr/bin/python3
"""Walks the running panel's windows over the AT-SPI bus, after pressing SETTING through the bus
as a screen reader user would, prints each control's role and name with what else a screen
reader says of it, and fails when a control that takes the keyboard focus has no name, when two
such controls would be announced alike, or when a control is built but not shown.
Usage: tree.py APPLICATION_NAME [SECONDS]"""
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
    unnamed, announced, hidden = [], {}, []
    for node, depth in controls(app):
        states = node.getState()
        marks = ["focusable"] if states.contains(pyatspi.STATE_FOCUSABLE) else []
        marks += [] if states.contains(pyatspi.STATE_SHOWING) else ["hidden"]
        labels = ["labelled by \"%s\"" % relation.getTarget(0).name
                  for relation in node.getRelationSet()
                  if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY]
        described = ["described as \"%s\"" % node.description] if node.description else []
        print("%s%s \"%s\" %s" % ("  " * depth, node.getRoleName(), node.name,
                                  " ".join(marks + labels + described)))
        if "hidden" in marks:
            if not accounted_for(node):
                hidden.append("%s \"%s\"" % (node.getRoleName(), node.name))
            continue
        if "focusable" not in marks:
            continue
        if not (node.name or "").strip():
            unnamed.append(node.getRoleName())
        key = " ".join([node.getRoleName(), spoken_name(node)] + labels + described)
        announced[key] = announced.get(key, 0) + 1
    faults = []
    if unnamed:
        faults.append("focusable controls without a name: " + ", ".join(unnamed))
    alike = ["%s (%d)" % (key, count) for key, count in announced.items() if count > 1]
    if alike:
        faults.append("controls announced alike: " + "; ".join(alike))
    if hidden:
        faults.append("controls built but not shown: " + ", ".join(hidden))
    if faults:
        sys.exit("tree.py: " + "\ntree.py: ".join(faults))


def accounted_for(node):
    """Whether a hidden node is accounted for: a combo box's drop-down list, which opens on
    demand, or inside a hidden node that is reported already."""
    parent = node.parent
    if parent is None:
        return False
    if node.getRoleName() == "list" and parent.getRoleName() == "combo box":
        return True
    return not parent.getState().contains(pyatspi.STATE_SHOWING)


def spoken_name(node):
    """The name that tells a control apart. An editable combo box is named by its value, which
    says nothing about what the field is for."""
    return "" if node.getRoleName() == "combo box" else '"%s"' % node.name

if __name__ == "__main__":
    main(sys.argv[1], *map(float, sys.argv[2:3]))
