#!/usr/bin/python3
"""The program as a screen reader meets it: AT-SPI only, no pixels, no X events.

    atspi.py dump <window>                  the window's tree, one node a line
    atspi.py press <window> <name>          press the showing button of that name (a name ending
                                            in * matches by its start)
    atspi.py type <window> <name> <text>    put the text into the text box of that name
    atspi.py key <window> <name>            the key binding of that button's first action
    atspi.py press-and-hear <window> <name> press it, then print what the status bar said, as heard
                                            through name-change events
    atspi.py texts <window>                 the names of the window's labels, one a line
    atspi.py check <window> <role>          the window has that role; no name holds a mnemonic "&";
                                            every button and image has a name; nothing reported
                                            showing lies outside the window
Exits 1 with a message on standard error when a check fails or a window or button is not found.
"""
import sys
import time

import pyatspi
from gi.repository import GLib

APP = "qxOrvanta Trainer"


def fail(message):
    print(f"atspi: {message}", file=sys.stderr)
    sys.exit(1)


def walk(node):
    yield node
    for child in node:
        if child is not None:
            yield from walk(child)


def showing(node):
    return node.getState().contains(pyatspi.STATE_SHOWING)


def extents(node):
    """The node's place on the screen, or None for a node without one (a table's cell)."""
    try:
        return node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    except NotImplementedError:
        return None


def window(title, secs=15):
    deadline = time.time() + secs
    while time.time() < deadline:
        for app in pyatspi.Registry.getDesktop(0):
            if app is None or app.name != APP:
                continue
            for top in app:
                if top is not None and top.name == title and showing(top):
                    return top
        time.sleep(0.2)
    fail(f"no showing window named {title!r}")


def find(top, what, match):
    """The first node of the window that matches; fails naming what was looked for."""
    for node in walk(top):
        if match(node):
            return node
    fail(f"no {what} in {top.name!r}")


def button(top, name):
    return find(top, f"showing button named {name!r}", lambda node: node.getRoleName() == "push button"
                and showing(node) and (node.name == name or (name.endswith("*") and node.name.startswith(name[:-1]))))


def text_box(top, name):
    return find(top, f"text box named {name!r}",
                lambda node: node.getRoleName() in ("text", "password text", "entry") and node.name == name)


def status_bar(top):
    return find(top, "status bar", lambda node: node.getRoleName() == "status bar")


def press_and_hear(top, name):
    bar = status_bar(top)
    heard = []

    def on_name(event):
        if event.source.getRoleName() == "status bar":
            heard.append(event.source.name)

    pyatspi.Registry.registerEventListener(on_name, "object:property-change:accessible-name")
    button(top, name).queryAction().doAction(0)
    GLib.timeout_add(3000, pyatspi.Registry.stop)
    pyatspi.Registry.start()
    if not heard:
        fail(f"no name change of the status bar after pressing {name!r} (it reads {bar.name!r})")
    print(heard[-1])


def check(top, role):
    problems = []
    if top.getRoleName() != role:
        problems.append(f"the window is a {top.getRoleName()!r}, not a {role!r}")
    frame = extents(top)
    for node in walk(top):
        kind = node.getRoleName()
        if "&" in node.name.replace("&&", ""):
            problems.append(f"{kind} {node.name!r} shows a mnemonic marker")
        if kind in ("push button", "image") and not node.name:
            problems.append(f"an unnamed {kind}")
        box = extents(node)
        if node is not top and showing(node) and box:
            if box.width > 0 and (box.y + box.height <= frame.y or box.y >= frame.y + frame.height
                                  or box.x + box.width <= frame.x or box.x >= frame.x + frame.width):
                problems.append(f"{kind} {node.name!r} reported showing at {box.x},{box.y} outside the window")
    if problems:
        fail(f"{top.name!r}: " + "; ".join(problems))


def main(argv):
    if len(argv) < 3:
        fail(__doc__)
    command, top = argv[1], window(argv[2])
    if command == "dump":
        for node in walk(top):
            box = extents(node)
            place = f" at {box.x},{box.y} {box.width}x{box.height}" if box else ""
            print(f"{node.getRoleName()} {node.name!r} showing={showing(node)}{place}")
    elif command == "press":
        button(top, argv[3]).queryAction().doAction(0)
    elif command == "type":
        text_box(top, argv[3]).queryEditableText().setTextContents(argv[4])
    elif command == "key":
        print(button(top, argv[3]).queryAction().getKeyBinding(0))
    elif command == "press-and-hear":
        press_and_hear(top, argv[3])
    elif command == "texts":
        for node in walk(top):
            if node.getRoleName() in ("label", "static"):
                print(node.name)
    elif command == "check":
        check(top, argv[3])
    else:
        fail(__doc__)


if __name__ == "__main__":
    main(sys.argv)
