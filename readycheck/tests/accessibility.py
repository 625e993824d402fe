#!/usr/bin/python3
"""Reads the program's window through AT-SPI, as a screen reader reads it.

Run on a private X server and session bus: starts the accessibility bus, then the stand-in
program for several masks and the real program on llvmpipe, in English and German. Every mark,
verdict and "?" button must say its result in words, no mark may be exposed as a result before
the reveal shows it, the identity values must be labelled by their captions, and the copy
confirmation must be announced. Prints each window as it reads it.

Usage: accessibility.py STAND_IN_PROGRAM PROGRAM
"""
import os
import subprocess
import sys
import time

STAND_IN, PROGRAM = sys.argv[1:3]

WORDS = {
    "en": dict(
        checks=["Hardware off-screen rendering", "Shadows", "High-resolution lighting",
                "Anti-aliasing"],
        result={"P": "pass", "F": "fail"}, edition="{} edition: {}",
        support={"F": "full support", "L": "limited support", "S": "significant limitations"},
        explain="Explain: {}", rendering="software rendering", duo="the Duo edition's limits",
        captions=["Manufacturer:", "Graphics card:", "Driver version:", "Video memory:",
                  "Rendering:"],
        buttons=["Compare editions…", "Copy Report", "Review results", "Close"],
        ok="OK", copied="Report copied to the clipboard", panel="Checks"),
    "de": dict(
        checks=["Hardware-Rendering außerhalb des Bildschirms", "Schatten",
                "Hochaufgelöste Beleuchtung", "Kantenglättung"],
        result={"P": "bestanden", "F": "nicht bestanden"}, edition="Ausgabe {}: {}",
        support={"F": "volle Unterstützung", "L": "eingeschränkte Unterstützung",
                 "S": "erhebliche Einschränkungen"},
        explain="Erklären: {}", rendering="Software-Rendering", duo="Grenzen der Ausgabe Duo",
        captions=["Hersteller:", "Grafikkarte:", "Treiberversion:", "Grafikspeicher:",
                  "Darstellung:"],
        buttons=["Ausgaben vergleichen…", "Bericht kopieren", "Ergebnisse ansehen", "Schließen"],
        ok="OK", copied="Bericht in die Zwischenablage kopiert", panel="Prüfungen"),
}

# Program, feature mask, language, the four checks (Pass, Fail), the three editions (Full,
# Limited, Significant limitations). llvmpipe under Xvfb offers every checked feature.
RUNS = [
    (STAND_IN, "0x1F", "en", "PPPP", "FFF"),
    (STAND_IN, "0x17", "de", "PPFP", "LLS"),
    (STAND_IN, "0x0E", "en", "FPPF", "LLL"),
    (STAND_IN, "0x00", "de", "FFFF", "LLS"),
    (PROGRAM, None, "de", "PPPP", "FFF"),
]
MARKS = ("\u2611", "\u2612")
errors = []


def start_accessibility_bus():
    launcher = subprocess.Popen(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"])
    from gi.repository import Gio, GLib
    bus = Gio.bus_get_sync(Gio.BusType.SESSION)
    for _ in range(200):
        owned = bus.call_sync("org.freedesktop.DBus", "/org/freedesktop/DBus",
                              "org.freedesktop.DBus", "NameHasOwner",
                              GLib.Variant("(s)", ("org.a11y.Bus",)), None, 0, -1, None)
        if owned.unpack()[0]:
            return launcher
        time.sleep(0.05)
    sys.exit("the accessibility bus did not start")


launcher = start_accessibility_bus()
import pyatspi  # noqa: E402  (needs the bus)
from gi.repository import GLib  # noqa: E402

announcements = []
pyatspi.Registry.registerEventListener(
    lambda event: announcements.append((event.host_application.get_process_id(),
                                        event.any_data)), "object:announcement")


# Takes in the events that have come, for as long as the time given.
def pump(seconds):
    end = time.monotonic() + seconds
    context = GLib.MainContext.default()
    while time.monotonic() < end:
        while context.pending():
            context.iteration(False)
        time.sleep(0.005)


def walk(node):
    yield node
    for child in node:
        if child is not None:
            yield from walk(child)


def showing(node):
    return node.getState().contains(pyatspi.STATE_SHOWING)


def related(node, relation):
    return [r.getTarget(0) for r in node.getRelationSet() if r.getRelationType() == relation]


class Run:
    def __init__(self, program, mask, language, checks, editions):
        self.label = f"{os.path.basename(program)} {mask or 'llvmpipe'} {language}"
        self.words = WORDS[language]
        w = self.words
        self.marks = [f"{c}: {w['result'][r]}" for c, r in zip(w["checks"], checks)]
        self.verdicts = [w["edition"].format(e, w["support"][s])
                         for e, s in zip(["Basic", "Advanced", "Duo"], editions)]
        self.duo_limited = editions[2] == "S"
        self.software = program == PROGRAM
        env = {k: v for k, v in os.environ.items() if k not in ("NO_AT_BRIDGE", "GTK_A11Y")}
        env.update(LC_ALL="C.UTF-8", LANGUAGE=language, READYCHECK_STANDIN_MASK=mask or "")
        self.process = subprocess.Popen([program], env=env)
        self.app = None
        self.hidden_marks_seen = False
        self.reading = None

    def check(self, condition, message):
        if not condition:
            errors.append(f"{self.label}: {message}")

    def find(self):
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.get_process_id() == self.process.pid:
                self.app = app

    def window(self, role):
        return next((w for w in self.app if w is not None and w.getRole() == role), None)

    # Before the reveal has shown them, marks say nothing; once shown, their result. The verdicts
    # follow the four marks, in the order of the editions.
    def watch(self):
        frame = self.window(pyatspi.ROLE_FRAME)
        if frame is None or not showing(frame):
            return
        marks_shown = 0
        verdicts = []
        for node in walk(frame):
            role = node.getRole()
            if role == pyatspi.ROLE_LABEL and node.name not in self.words["checks"] and \
                    node.parent.parent.name == self.words["panel"]:
                text = node.queryText().getText(0, -1)
                if showing(node):
                    marks_shown += 1
                    self.check(node.name in self.marks and text in MARKS,
                               f"shown mark {node.name!r} {text!r}")
                else:
                    self.hidden_marks_seen = True
                    self.check(node.name == "" and text == "",
                               f"hidden mark exposed as {node.name!r} {text!r}")
            elif role == pyatspi.ROLE_ICON and node.name:
                verdicts.append(node.name)
        self.check(not verdicts or marks_shown == 4, f"verdicts before the marks: {verdicts}")
        self.check(sorted(verdicts) == sorted(self.verdicts[:len(verdicts)]),
                   f"verdicts {verdicts}")

    # What a screen reader's flat review gives: the shown objects line by line, left to right.
    def read(self):
        frame = self.window(pyatspi.ROLE_FRAME)
        leaves = []
        for node in walk(frame):
            if node.childCount == 0 and showing(node) and node.name:
                box = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
                leaves.append((box.y + box.height // 2, box.x, node))
        lines = {}
        for middle, x, node in sorted(leaves, key=lambda leaf: (leaf[0], leaf[1])):
            row = next((r for r in lines if abs(r - middle) <= 4), middle)
            lines.setdefault(row, []).append(node)
        self.reading = list(lines.values())

    def verify(self):
        w = self.words
        names = [[node.name for node in line] for line in self.reading]
        explain = w["explain"]
        for caption, mark in zip(w["checks"], self.marks):
            self.check([caption, mark, explain.format(caption)] in names, f"no line {mark!r}")
        self.check(self.verdicts in names, f"no line {self.verdicts}")
        self.check(([explain.format(w["duo"])] in names) == self.duo_limited, "Duo's button")
        self.check(w["buttons"] in names, f"no line {w['buttons']}")
        for line in self.reading:
            if line[0].name in w["captions"]:
                caption, value = line[0], line[1]
                self.check(related(value, pyatspi.RELATION_LABELLED_BY) == [caption] and
                           related(caption, pyatspi.RELATION_LABEL_FOR) == [value],
                           f"{value.name!r} is not labelled by {caption.name!r}")
        rendering = next(line for line in names if line[0] == w["captions"][4])
        self.check((rendering[-1] == explain.format(w["rendering"])) == self.software,
                   f"rendering line {rendering}")

    def button(self, root, name):
        return next((n for n in walk(root) if n.getRole() == pyatspi.ROLE_PUSH_BUTTON and
                     n.name == name), None)

    def press(self, window_role, index):
        window = self.window(window_role)
        names = [self.words["ok"]] if window_role == pyatspi.ROLE_ALERT else self.words["buttons"]
        button = self.button(window, names[index])
        self.check(button is not None, f"no button {names[index]!r}")
        if button is not None:
            button.queryAction().doAction(0)

    def print_reading(self):
        print(f"== {self.label}")
        for line in self.reading:
            print("   " + "  |  ".join(f"{n.getRoleName()} {n.name!r}" +
                                       "".join(f" (labelled by {t.name!r})" for t in related(
                                           n, pyatspi.RELATION_LABELLED_BY))
                                       for n in line))


runs = []
try:
    # Each program starts once the one before is on the bus, and is watched from then on.
    pending = list(RUNS)
    deadline = time.monotonic() + 30
    while time.monotonic() < deadline and (pending or any(r.reading is None for r in runs)):
        if pending and (not runs or runs[-1].app is not None):
            runs.append(Run(*pending.pop(0)))
        for run in runs:
            if run.app is None:
                run.find()
            elif run.reading is None:
                run.watch()
                if run.window(pyatspi.ROLE_ALERT) is not None:
                    run.read()
        pump(0.01)
    for run in runs:
        if run.reading is None:
            run.check(False, "no summary")
            continue
        run.check(run.hidden_marks_seen, "never read before the reveal")
        run.print_reading()
        run.verify()
    # Answers the summary, copies the report and closes the window, as a reader's user does.
    done = [run for run in runs if run.reading is not None]
    for run in done:
        run.press(pyatspi.ROLE_ALERT, 0)
    for run in done:
        run.press(pyatspi.ROLE_FRAME, 1)
    expected = [(run.process.pid, run.words["copied"]) for run in done]
    deadline = time.monotonic() + 10
    while not set(expected) <= set(announcements) and time.monotonic() < deadline:
        pump(0.05)
    for run, announcement in zip(done, expected):
        run.check(announcement in announcements, "the copy was not announced")
        run.press(pyatspi.ROLE_FRAME, 3)
    for run in done:
        run.check(run.process.wait(timeout=10) == 0, "did not end with status 0")
finally:
    for run in runs:
        if run.process.poll() is None:
            run.process.kill()
            run.process.wait()
    launcher.terminate()
    launcher.wait()

for error in errors:
    print("FAIL " + error, file=sys.stderr)
sys.exit(1 if errors else 0)
