"""Reads the running Vaskelo window through AT-SPI, as a screen reader does: picks
four band colours with real keys (xdotool), presses the calculate button through
its accessible action, then checks that the result and tolerance labels speak the
value, that the result's change was announced, and that the swatches name their
colours. Every wait is bounded; a failure says what was expected and what was heard.
"""
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

# Long enough for a machine that is busy with other work; each wait ends at its event.
TIMEOUT = 60.0


def fail(message):
    print("screen reader test: " + message, flush=True)
    sys.exit(1)


def wait_for(what, probe, timeout=TIMEOUT):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        GLib.MainContext.default().iteration(False)
        found = probe()
        if found:
            return found
        time.sleep(0.05)
    fail("timed out waiting for " + what)


def application():
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == "Vaskelo":
            return app
    return None


def descendants(node):
    for child in node:
        if child is None:
            continue
        yield child
        yield from descendants(child)


def find(app, what, test):
    found = [n for n in descendants(app) if test(n)]
    if not found:
        fail("no " + what + " in the accessible tree")
    return found


def xdotool(*args):
    command = ["xdotool", *map(str, args)]
    try:
        return subprocess.run(command, check=True, capture_output=True, text=True, timeout=TIMEOUT).stdout
    except (OSError, subprocess.SubprocessError) as error:
        fail("%s failed: %s" % (" ".join(command), error))


def main():
    app = wait_for("the Vaskelo application on the accessibility bus", application)
    combos = find(app, "band lists", lambda n: n.getRole() == pyatspi.ROLE_COMBO_BOX)
    button = find(app, "calculate button", lambda n: n.getRole() == pyatspi.ROLE_PUSH_BUTTON and n.name == "Değeri Hesapla")[0]
    result = find(app, "result label", lambda n: n.description == "Sonuç")[0]
    tolerance = find(app, "tolerance label", lambda n: n.description == "Tolerans")[0]
    if len(combos) != 4:
        fail("expected 4 band lists, found %d" % len(combos))
    if result.name != "-":
        fail("the result label speaks %r before any calculation, expected '-'" % result.name)

    announced = []
    listener = lambda event: announced.append(event.source.name if event.source else None)
    pyatspi.Registry.registerEventListener(listener, "object:property-change:accessible-name")

    window = xdotool("search", "--sync", "--name", "^Vaskelo$").split()
    xdotool("windowfocus", "--sync", window[0])
    # Arrow keys on a closed list pick from its first entry: Sarı, Mor, Kırmızı, Altın.
    for combo, downs, picked in zip(combos, (4, 8, 3, 1), ("Sarı", "Mor", "Kırmızı", "Altın")):
        box = combo.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        xdotool("mousemove", box.x + 10, box.y + box.height // 2, "click", "1")
        for _ in range(downs):
            xdotool("key", "Down")
        wait_for("band list to show " + picked, lambda: combo.name == picked)

    button.queryAction().doAction(0)
    wait_for("the result label to speak 4,7K (it speaks %r)" % result.name, lambda: result.name == "4,7K")
    wait_for("the tolerance label to speak %5", lambda: tolerance.name == "%5")
    wait_for("the new result to be announced (heard: %r)" % announced, lambda: "4,7K" in announced)

    swatches = sorted(n.name for n in descendants(app) if n.name.startswith(("1. bandın", "4. bandın")))
    if swatches != ["1. bandın rengi: Sarı", "4. bandın rengi: Altın"]:
        fail("swatches speak %r" % swatches)
    print("screen reader test: heard 4,7K and %5 after the calculation, the swatches name their colours;"
          " name changes announced: " + ", ".join(map(repr, announced)))


main()
