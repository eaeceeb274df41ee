#!/usr/bin/python3
"""Reads a running program's windows over AT-SPI, as a screen reader does, and names what a
screen reader could not: a window without a name, or a control a person acts on (a button, a check
box, a list, a text box) without a name or that the keyboard cannot reach. The pages of the web
views are the operator's and are not walked.

    atspi-walk.py PID [SECONDS]

Prints "ok: N windows, M controls" and exits 0, or prints each fault and exits 1; exits 2 when
the program does not show up on the accessibility bus within SECONDS (default 30)."""
import sys
import time

import pyatspi

ACTED_ON = {
    pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_TOGGLE_BUTTON, pyatspi.ROLE_CHECK_BOX,
    pyatspi.ROLE_LIST, pyatspi.ROLE_TEXT, pyatspi.ROLE_ENTRY, pyatspi.ROLE_PASSWORD_TEXT,
}
WEB = {pyatspi.ROLE_DOCUMENT_WEB, pyatspi.ROLE_DOCUMENT_FRAME}


def program(pid, seconds):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        for app in pyatspi.Registry.getDesktop(0):
            try:
                if app is not None and app.get_process_id() == pid and app.childCount > 0:
                    return app
            except Exception:  # an application leaving the bus while we look
                pass
        time.sleep(0.2)
    return None


def walk(node, faults, counts, window):
    for child in node:
        if child is None:
            continue
        role = child.getRole()
        if role in WEB:
            continue
        if role in ACTED_ON and child.getState().contains(pyatspi.STATE_SHOWING):
            counts['controls'] += 1
            what = '%s "%s" in "%s"' % (child.getRoleName(), child.name, window)
            if not child.name.strip():
                faults.append('no name: ' + what)
            if not child.getState().contains(pyatspi.STATE_FOCUSABLE):
                faults.append('not reachable by keyboard: ' + what)
        walk(child, faults, counts, window)


def main():
    pid = int(sys.argv[1])
    app = program(pid, float(sys.argv[2]) if len(sys.argv) > 2 else 30)
    if app is None:
        print('the program (%d) is not on the accessibility bus' % pid)
        return 2
    faults, counts = [], {'windows': 0, 'controls': 0}
    for window in app:
        if window is None or not window.getState().contains(pyatspi.STATE_SHOWING):
            continue
        counts['windows'] += 1
        if not window.name.strip():
            faults.append('a window without a name (%s)' % window.getRoleName())
        walk(window, faults, counts, window.name)
    if faults:
        print('\n'.join(faults))
        return 1
    print('ok: %(windows)d windows, %(controls)d controls' % counts)
    return 0


if __name__ == '__main__':
    sys.exit(main())
