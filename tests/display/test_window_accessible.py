#!/usr/bin/env python3
# The window as a screen reader sees it over AT-SPI (run by run_accessible.sh, which
# gives it an X display and a session bus): the application and its window, every
# drawn control with its Czech name and role, the states following the machine (the
# mode buttons, a data switch, "ručně" and "krokování" pushed in and let go), the
# actions working the controls, the focus reported as it moves, and the sentence on
# each clock pulse carried by the notification.
#
#   test_window_accessible.py BUILD/procesor
import subprocess
import sys
import time

SKIP = 77

try:
    import pyatspi
    from gi.repository import GLib
except ImportError as e:  # installed by scripts/deps --test
    print(f"FAIL: python3-pyatspi is missing ({e})")
    sys.exit(1)

failures = []


def check(case, ok, what):
    if not ok:
        failures.append(f"{case}: {what}")
        print(f"FAIL {case}: {what}", flush=True)
    return ok


context = GLib.MainContext.default()


def pump():
    while context.iteration(False):
        pass


def wait_for(predicate, limit=20.0):
    """The predicate's first true value, events dispatched meanwhile; None at the limit."""
    end = time.monotonic() + limit
    while True:
        pump()
        try:
            value = predicate()
        except Exception:  # the tree is still being made
            value = None
        if value or time.monotonic() > end:
            return value
        time.sleep(0.02)


def states(obj):
    return {pyatspi.stateToString(s) for s in obj.getState().getStates()}


events = []


def heard(event):
    try:
        name, role = event.source.name, event.source.getRoleName()
    except Exception:
        name, role = None, None
    events.append((event.type, name, role, event.detail1))


def heard_since(start, kind, name=None, detail1=None):
    return [e for e in events[start:] if e[0] == kind and (name is None or e[1] == name)
            and (detail1 is None or e[3] == detail1)]


def action(obj, name):
    a = obj.queryAction()
    names = [a.getName(i) for i in range(a.nActions)]
    if not check("actions", name in names, f"{obj.name!r} has no action {name} ({names})"):
        return
    a.doAction(names.index(name))


# The names, roles and order the page gives the same controls (Tab's order).
SWITCHES = [f"datový přepínač bitu {bit}: 0" for bit in (3, 2, 1, 0)]
TREE = ([("Rychlost:", "text")] + [(n, "check box") for n in SWITCHES] +
        [("Kódy instrukcí", "text"), ("rychlost o jednu výš", "push button"),
         ("rychlost o jednu níž", "push button"), ("programování, vybráno", "push button"),
         ("provoz", "push button"), ("ručně, nyní nedostupné", "push button"),
         ("start/stop, nyní nedostupné", "push button"), ("krokování", "push button"),
         ("zápis do RAM", "push button"), ("nulování", "push button")] +
        # the blocks, listing lines and gates that open an explainer, by their headings
        [("Řadič a mikroprogram", "push button")] +
        [(f"Řadič a mikroprogram: řádek {n:04b} {m}", "push button") for n, m in enumerate(
            ["PC/I", "RAM/R-IR/W", "PC/I", "RAM/R-A/W", "PC/I", "RAM/R-IR/W", "ADD/R-A/W", "PC/I",
             "RAM/R-IR/W", "PC/I", "RAM/R-PC/W", "RAM/R-IR/W", "A/R-B/W", "PC/I", "RAM/R-IR/W",
             "C/D"])] +
        [(f"Řadič a mikroprogram: instrukce {i}", "push button")
         for i in ("NOP", "LDA", "ADD", "JMP", "MOV", "HLT")] +
        [(f"Hradlo AND – zápisové impulzy: hradlo {g}", "push button")
         for g in ("zápisu do IR", "zápisu do PČ", "počítání PČ", "zápisu do A", "zápisu do B")] +
        [("Čítací registry IR a PČ: instrukční registr IR", "push button"),
         ("Čítací registry IR a PČ: programový čítač PČ", "push button"),
         ("Sčítačka – sčítání čtyřbitových čísel", "push button"), ("Registr A", "push button"),
         ("Registr B", "push button"), ("", "notification")])
FIRST_PULSE = "Fáze Φ1. Řádek mikroprogramu 0001: RAM/R-IR/W. Na sběrnici je 0."


def main():
    try:
        desktop = pyatspi.Registry.getDesktop(0)
        desktop.childCount
    except Exception as e:
        print(f"skipped: the accessibility bus does not start ({e})")
        return SKIP
    for kind in ("object:state-changed:checked", "object:state-changed:focused",
                 "object:state-changed:showing", "object:property-change:accessible-name",
                 "focus:"):
        pyatspi.Registry.registerEventListener(heard, kind)

    app_process = subprocess.Popen([sys.argv[1]], stderr=subprocess.PIPE, text=True)
    try:
        run(desktop)
    finally:
        app_process.terminate()
        _, err = app_process.communicate(timeout=20)
        check("exit", app_process.returncode in (0, -15), f"ended with {app_process.returncode}")
        warnings = [line for line in err.splitlines() if "ccessib" in line or "atspi" in line]
        check("warnings", not warnings, "\n".join(warnings))
    print("every check held" if not failures else f"{len(failures)} checks failed")
    return 1 if failures else 0


def run(desktop):
    app = wait_for(lambda: next((a for a in desktop if a and a.name == "procesor"), None))
    if not check("tree", app is not None, "no application 'procesor' on the bus"):
        return
    frame = wait_for(lambda: next((w for w in app if w.getRoleName() == "frame"), None))
    if not check("tree", frame is not None and frame.name == "Procesor", "no window 'Procesor'"):
        return
    # The fields come right after the first frame.
    wait_for(lambda: frame.childCount == len(TREE))
    children = list(frame)
    shown = [(c.name, c.getRoleName()) for c in children]
    check("tree", shown == TREE, f"children {shown}")
    if len(children) != len(TREE):
        return
    by_name = {name.split(",")[0].split(":")[0]: c for (name, _), c in zip(TREE[:16], children)}
    programming, running = by_name["programování"], by_name["provoz"]
    manual, stepping = by_name["ručně"], by_name["krokování"]
    bit3 = by_name["datový přepínač bitu 3"]
    note = children[-1]

    # At start: programming selected, the clock's buttons unavailable, every switch 0.
    check("start", {"selected", "checked"} <= states(programming), f"{states(programming)}")
    check("start", "selected" not in states(running), f"provoz {states(running)}")
    check("start", "sensitive" not in states(manual) and "enabled" not in states(manual),
          f"ručně {states(manual)}")
    check("start", "sensitive" in states(stepping), f"krokování {states(stepping)}")
    check("start", all("checked" not in states(c) for c in children[1:5]), "a switch is set")
    box = bit3.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    check("start", (box.width, box.height) != (0, 0), "a data switch has no place")

    # A data switch: its action sets it, its state and name follow, the change is told.
    start = len(events)
    action(bit3, "Press")
    check("switch", wait_for(lambda: "checked" in states(bit3), 5), f"not set: {states(bit3)}")
    check("switch", bit3.name == "datový přepínač bitu 3: 1", f"named {bit3.name!r}")
    check("switch", wait_for(lambda: heard_since(start, "object:state-changed:checked",
                                                 bit3.name, 1), 5), "no checked event")
    action(bit3, "Press")
    check("switch", wait_for(lambda: "checked" not in states(bit3), 5), "not cleared")

    # The focus put on a drawn control is reported from it, and moves on.
    start = len(events)
    action(stepping, "SetFocus")
    check("focus", wait_for(lambda: "focused" in states(stepping), 5),
          f"krokování {states(stepping)}")
    check("focus", wait_for(lambda: heard_since(start, "object:state-changed:focused",
                                                "krokování", 1), 5), "no focus event")
    action(by_name["zápis do RAM"], "SetFocus")
    check("focus", wait_for(lambda: "focused" not in states(stepping), 5), "focus stays")

    # "krokování" pushed in by its action, then let go by its timer.
    pushed_in(stepping, "krokování, stisknuto", "krokování")

    # "provoz": selected; programming not; the clock's buttons available; the new
    # names told (a screen reader keeps the names it read until told).
    start = len(events)
    action(running, "Press")
    check("mode", wait_for(lambda: heard_since(start, "object:property-change:accessible-name",
                                               "provoz, vybráno"), 5), "no name change told")
    check("mode", wait_for(lambda: running.name == "provoz, vybráno", 5), f"{running.name!r}")
    check("mode", {"selected", "checked"} <= states(running), f"{states(running)}")
    check("mode", programming.name == "programování" and
          "selected" not in states(programming), f"{programming.name!r}")
    check("mode", "sensitive" in states(manual), f"ručně {states(manual)}")

    # One pulse by "ručně": its sentence in the notification, shown anew, and on the
    # window; the button pushed in and let go.
    start = len(events)
    pushed_in(manual, "ručně, stisknuto", "ručně")
    check("pulse", wait_for(lambda: note.name == FIRST_PULSE, 5), f"note {note.name!r}")
    check("pulse", frame.description == FIRST_PULSE, f"window {frame.description!r}")
    check("pulse", heard_since(start, "object:state-changed:showing", FIRST_PULSE, 1),
          "the notification was not shown anew")


def pushed_in(button, pushed, released):
    """The button's action, then its pushed-in name and state read back at once; a read
    that came too late on a busy machine (after the button's release time) is tried
    again rather than judged."""
    for attempt in range(5):
        wait_for(lambda: button.name == released, 10)
        begun = time.monotonic()
        action(button, "Press")
        name, now = button.name, states(button)
        if time.monotonic() - begun < 0.25:
            check("pressed", name == pushed and "pressed" in now, f"{name!r} {now}")
            break
    else:
        check("pressed", False, f"{released!r}: no read in time in 5 tries")
    check("pressed", wait_for(lambda: button.name == released, 10), f"not let go: {button.name!r}")
    check("pressed", "pressed" not in states(button), f"{states(button)}")


if __name__ == "__main__":
    sys.exit(main())
