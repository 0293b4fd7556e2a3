#!/usr/bin/python3
# Reads and works the program "Murmora" over the accessibility bus (AT-SPI), as a screen reader
# does. Run with Debian's Python, which has pyatspi (package python3-pyatspi):
#   atspi_probe.py buttons          the panel's push buttons by name, one a line, in their order
#   atspi_probe.py show NAME        "role|name|description|states" of the panel's control NAME
#   atspi_probe.py value NAME       the value of the panel's control NAME, in whole units
#   atspi_probe.py press NAME       does the Press action of the push button NAME
#   atspi_probe.py focused          the name of the control that has the keyboard's focus
#   atspi_probe.py window TITLE     waits up to 10 s for a window of the program titled TITLE
#   atspi_probe.py announced TEXT SECONDS
#                                   waits for a notification TEXT to be announced as it shows
# Each waits up to 10 s for the program to be on the bus; status 1 with a word on standard
# error when what it looks for is not there.
import sys
import time

import pyatspi
from gi.repository import GLib

APP = "Murmora"


def role(node):
    """The node's role by the name at-spi2-core 2.46 gives it: Debian 13's names a push button
    "button"."""
    return "push button" if node.getRole() == pyatspi.ROLE_PUSH_BUTTON else node.getRoleName()


def fail(words):
    print(words, file=sys.stderr)
    sys.exit(1)


def waited(find, what, seconds=10):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        found = find()
        if found is not None:
            return found
        time.sleep(0.1)
    fail(f"{what} is not there")


def application():
    def find():
        desktop = pyatspi.Registry.getDesktop(0)
        for i in range(desktop.childCount):
            app = desktop.getChildAtIndex(i)
            if app is not None and app.name == APP:
                return app
        return None
    return waited(find, f'no application "{APP}" on the accessibility bus')


def panel():
    app = application()
    return waited(lambda: next((w for w in app if w is not None and w.name == APP
                                and role(w) == "frame"), None), "the panel's window")


def control(name):
    return waited(lambda: next((c for c in panel() if c.name == name), None), f'the control "{name}"')


def focused():
    def find(node):
        if node.getState().contains(pyatspi.STATE_FOCUSED):
            return node
        for child in node:
            if child is not None and (found := find(child)) is not None:
                return found
        return None
    app = application()
    return waited(lambda: find(app), "a control with the focus")


def show(node):
    states = ",".join(sorted(pyatspi.stateToString(s) for s in node.getState().getStates()))
    return f"{role(node)}|{node.name}|{node.description}|{states}"


def press(name):
    button = control(name)
    actions = button.queryAction()
    for i in range(actions.nActions):
        if actions.getName(i) == "Press":
            actions.doAction(i)
            return
    fail(f'"{name}" has no Press action')


def announced(text, seconds):
    heard = []

    def listen(event):
        source = event.source
        if event.detail1 == 1 and role(source) == "notification" and source.name == text:
            heard.append(show(source))
            pyatspi.Registry.stop()

    application()
    pyatspi.Registry.registerEventListener(listen, "object:state-changed:showing")
    GLib.timeout_add(int(seconds * 1000), lambda: pyatspi.Registry.stop())
    pyatspi.Registry.start()
    if not heard:
        fail(f'no notification "{text}" showed within {seconds} s')
    print(heard[0])


def main(args):
    command = args[0] if args else ""
    if command == "buttons":
        for child in panel():
            if role(child) == "push button":
                print(child.name)
    elif command == "show" and len(args) == 2:
        print(show(control(args[1])))
    elif command == "value" and len(args) == 2:
        print(round(control(args[1]).queryValue().currentValue))
    elif command == "press" and len(args) == 2:
        press(args[1])
    elif command == "focused":
        print(focused().name)
    elif command == "window" and len(args) == 2:
        app = application()
        waited(lambda: next((w for w in app if w is not None and w.name == args[1]), None),
               f'a window "{args[1]}"')
    elif command == "announced" and len(args) == 3:
        announced(args[1], float(args[2]))
    else:
        fail("usage: atspi_probe.py buttons | show NAME | value NAME | press NAME | focused | window TITLE | announced TEXT SECONDS")


main(sys.argv[1:])
