#!/usr/bin/python3
# The program's window <title> on the accessibility bus: fails on a focusable control without a name or two with one
# name, and when nothing shown says [text]. Rows and cells are named by the user's data: left out.
import sys, time, pyatspi
def walk(node, found, texts):
    for child in filter(lambda c: c and c.getState().contains(pyatspi.STATE_SHOWING), node):
        if child.getRole() not in (pyatspi.ROLE_LIST_ITEM, pyatspi.ROLE_TABLE_CELL, pyatspi.ROLE_PAGE_TAB):
            texts.append(child.name)
            found += [child.name.strip() or f"<unnamed {child.getRoleName()}>"] if child.getState().contains(pyatspi.STATE_FOCUSABLE) else []
            walk(child, found, texts)
for _ in range(75):
    windows = [w for app in pyatspi.Registry.getDesktop(0) if app and app.name == "quirlanto" for w in app
               if w and w.name == sys.argv[1] and w.getState().contains(pyatspi.STATE_SHOWING)] or time.sleep(0.2)
    if windows:
        walk(windows[0], found := [], texts := [])
        bad = [n for n in found if n.startswith("<unnamed ") or found.count(n) > 1] + [t for t in sys.argv[2:] if t not in texts]
        sys.exit(f"FAIL: {sys.argv[1]}: unnamed, twice named or not shown: {bad}" if bad or not found else 0)
sys.exit(f"FAIL: no window {sys.argv[1]} on the accessibility bus")
