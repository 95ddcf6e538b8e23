#!/usr/bin/python3
"""Walks a window of the running program on the accessibility bus. Fails on a focusable control
without a name, or two focusable controls of one window with the same name.
Usage: accessibility_walk.py <window title> [wait seconds] [a text the window must show]
       accessibility_walk.py --announced <text start> <seconds>: waits for a status bar to
       announce a text that starts so; prints "listening" once it listens.
Prints the controls it saw; exit code 0 when all is well, 1 otherwise, 2 when the window is not there."""
import sys
import time

import pyatspi

# Rows and cells are named by their text, which the user typed: an empty one or two alike are fine.
ITEM_ROLES = {pyatspi.ROLE_LIST_ITEM, pyatspi.ROLE_TABLE_CELL, pyatspi.ROLE_TREE_ITEM,
              pyatspi.ROLE_PAGE_TAB, pyatspi.ROLE_ROW_HEADER, pyatspi.ROLE_COLUMN_HEADER,
              pyatspi.ROLE_TABLE_ROW_HEADER, pyatspi.ROLE_TABLE_COLUMN_HEADER}


def find_window(title, seconds):
    end = time.time() + seconds
    while time.time() < end:
        desktop = pyatspi.Registry.getDesktop(0)
        for app in desktop:
            if app is None or app.name != "quirlanto":
                continue
            for window in app:
                if window is not None and window.name == title \
                        and window.getState().contains(pyatspi.STATE_SHOWING):
                    return window
        time.sleep(0.2)
    return None


def walk(node, found, texts):
    for child in node:
        if child is None:
            continue
        states = child.getState()
        if not states.contains(pyatspi.STATE_SHOWING):
            continue
        if child.getRole() == pyatspi.ROLE_LABEL:
            texts.append(child.name)
        if child.getRole() in ITEM_ROLES:
            continue
        if states.contains(pyatspi.STATE_FOCUSABLE):
            found.append(child)
        walk(child, found, texts)


def announced(start, seconds):
    from gi.repository import GLib
    heard = []

    def on_name(event):
        # Qt hands the object along, not the new name: the source says it.
        if event.source.getRole() == pyatspi.ROLE_STATUS_BAR and event.source.name.startswith(start):
            heard.append(event.source.name)
            pyatspi.Registry.stop()

    pyatspi.Registry.registerEventListener(on_name, "object:property-change:accessible-name")
    GLib.timeout_add(int(seconds * 1000), pyatspi.Registry.stop)
    GLib.idle_add(lambda: print("listening", flush=True))
    pyatspi.Registry.start()
    print(f"announced: {heard[0]}" if heard else f"FAIL: the status bar announced nothing starting \"{start}\"")
    return 0 if heard else 1


def main():
    if sys.argv[1] == "--announced":
        return announced(sys.argv[2], float(sys.argv[3]))
    title = sys.argv[1]
    window = find_window(title, float(sys.argv[2]) if len(sys.argv) > 2 else 10)
    if window is None:
        print(f"FAIL: no window \"{title}\" on the accessibility bus")
        return 2
    found = []
    texts = []
    walk(window, found, texts)
    ok = True
    if len(sys.argv) > 3 and sys.argv[3] not in texts:
        print(f"FAIL: {title} does not say \"{sys.argv[3]}\" but {texts}")
        ok = False
    names = {}
    for control in found:
        role = control.getRoleName()
        print(f"  {role}: \"{control.name}\" – {control.description}")
        if not control.name.strip():
            print(f"FAIL: {title}: a {role} without a name")
            ok = False
        elif control.name in names:
            print(f"FAIL: {title}: \"{control.name}\" names a {role} and a {names[control.name]}")
            ok = False
        names.setdefault(control.name, role)
    if not found:
        print(f"FAIL: {title}: no focusable control seen")
        ok = False
    return 0 if ok else 1


sys.exit(main())
