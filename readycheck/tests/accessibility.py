#!/usr/bin/python3
"""Reads the window through AT-SPI as a screen reader does, and prints each window so read.

Under a private X server and session bus: starts the accessibility bus, then the stand-in
program for several masks and the real program on llvmpipe, in English and German.
Usage: accessibility.py STAND_IN_PROGRAM PROGRAM
"""
import os
import subprocess
import sys
import time

from gi.repository import Gio, GLib

STAND_IN, PROGRAM = sys.argv[1:3]
WORDS = {
    "en": dict(checks=["Hardware off-screen rendering", "Shadows", "High-resolution lighting",
                       "Anti-aliasing"], P="pass", F="fail", edition="{} edition: {}",
               support=dict(F="full support", L="limited support", S="significant limitations"),
               explain="Explain: {}", rendering="software rendering",
               duo="the Duo edition's limits", panel="Checks", ok="OK",
               buttons=["Compare editions…", "Copy Report", "Review results", "Close"],
               copied="Report copied to the clipboard", cause="On this computer: {}",
               reported_cause="Cause: "),
    "de": dict(checks=["Hardware-Rendering außerhalb des Bildschirms", "Schatten",
                       "Hochaufgelöste Beleuchtung", "Kantenglättung"], P="bestanden",
               F="nicht bestanden", edition="Ausgabe {}: {}",
               support=dict(F="volle Unterstützung", L="eingeschränkte Unterstützung",
                            S="erhebliche Einschränkungen"),
               explain="Erklären: {}", rendering="Software-Rendering",
               duo="Grenzen der Ausgabe Duo", panel="Prüfungen", ok="OK",
               buttons=["Ausgaben vergleichen…", "Bericht kopieren", "Ergebnisse ansehen",
                        "Schließen"], copied="Bericht in die Zwischenablage kopiert",
               cause="Auf diesem Computer: {}", reported_cause="Ursache: "),
}
# Program, mask, language, the checks (Pass, Fail), the editions (Full, Limited, Significant
# limitations). llvmpipe under Xvfb offers every checked feature.
RUNS = [(STAND_IN, "0x1F", "en", "PPPP", "FFF"), (STAND_IN, "0x17", "de", "PPFP", "LLS"),
        (STAND_IN, "0x0E", "en", "FPPF", "LLL"), (STAND_IN, "0x00", "de", "FFFF", "LLS"),
        (PROGRAM, None, "de", "PPPP", "FFF")]
errors = []

launcher = subprocess.Popen(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"])
session = Gio.bus_get_sync(Gio.BusType.SESSION)
while not session.call_sync("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                            "NameHasOwner", GLib.Variant("(s)", ("org.a11y.Bus",)), None, 0, -1,
                            None).unpack()[0]:
    time.sleep(0.05)
import pyatspi  # noqa: E402  (once the bus is there)

announcements = set()
pyatspi.Registry.registerEventListener(lambda event: announcements.add(
    (event.host_application.get_process_id(), event.any_data)), "object:announcement")


def pump(seconds):
    end, context = time.monotonic() + seconds, GLib.MainContext.default()
    while time.monotonic() < end:
        while context.pending():
            context.iteration(False)
        time.sleep(0.005)


def walk(node):
    yield node
    for child in node:
        yield from walk(child)


def showing(node):
    return node.getState().contains(pyatspi.STATE_SHOWING)


def related(node, relation):
    return [r.getTarget(0) for r in node.getRelationSet() if r.getRelationType() == relation]


class Run:
    def __init__(self, program, mask, language, checks, editions):
        self.label = f"{os.path.basename(program)} {mask or 'llvmpipe'} {language}"
        self.words = w = WORDS[language]
        self.software, self.duo_limited = program == PROGRAM, editions[2] == "S"
        self.marks = [f"{c}: {w[r]}" for c, r in zip(w["checks"], checks)]
        self.verdicts = [w["edition"].format(e, w["support"][s])
                         for e, s in zip(["Basic", "Advanced", "Duo"], editions)]
        env = {k: v for k, v in os.environ.items() if k not in ("NO_AT_BRIDGE", "GTK_A11Y")}
        env.update(LC_ALL="C.UTF-8", LANGUAGE=language, READYCHECK_STANDIN_MASK=mask or "")
        self.process = subprocess.Popen([program], env=env)
        self.described = DESCRIBED.get((program, language), "")
        self.app = self.reading = None
        self.hidden_marks_seen = False

    def check(self, condition, message):
        if not condition:
            errors.append(f"{self.label}: {message}")

    def find(self):
        self.app = next((a for a in pyatspi.Registry.getDesktop(0)
                         if a is not None and a.get_process_id() == self.process.pid), None)

    def window(self, role):
        return next((w for w in self.app if w.getRole() == role), None)

    # Hidden marks say nothing; shown ones their result. Verdicts come after the four marks.
    # The name and the showing state reach a reader as two events: what still holds once the
    # events that have come are taken in is what the reader is told.
    def watch(self):
        frame = self.window(pyatspi.ROLE_FRAME)
        if frame is not None and showing(frame) and self.faults(frame):
            pump(0.2)
            for fault in self.faults(frame):
                self.check(False, fault)

    def faults(self, frame):
        found, shown, verdicts = [], 0, []
        for node in walk(frame):
            if node.getRole() == pyatspi.ROLE_LABEL and node.name not in self.words["checks"] \
                    and node.parent.parent.name == self.words["panel"]:
                text = node.queryText().getText(0, -1)
                shown += showing(node)
                self.hidden_marks_seen |= not showing(node)
                if not ((node.name in self.marks and text in "\u2611\u2612") if showing(node)
                        else node.name == text == ""):
                    found.append(f"mark {node.name!r} {text!r}")
            elif node.getRole() == pyatspi.ROLE_ICON and node.name:
                verdicts.append(node.name)
        if sorted(verdicts) != sorted(self.verdicts[:len(verdicts)]) or (verdicts and shown < 4):
            found.append(f"verdicts {verdicts} after {shown} marks")
        return found

    # As a flat review gives it: the shown objects line by line, left to right.
    def read(self):
        lines = {}
        for node in walk(self.window(pyatspi.ROLE_FRAME)):
            if node.childCount == 0 and showing(node) and node.name:
                box = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
                middle = box.y + box.height // 2
                row = next((r for r in lines if abs(r - middle) <= 4), middle)
                lines.setdefault(row, []).append((box.x, node))
        self.reading = [[node for _, node in sorted(lines[row])] for row in sorted(lines)]

    def verify(self):
        w, names = self.words, [[node.name for node in line] for line in self.reading]
        expected = [[c, m, w["explain"].format(c)] for c, m in zip(w["checks"], self.marks)]
        expected += [self.verdicts, w["buttons"]]
        expected += [[w["explain"].format(w["duo"])]] if self.duo_limited else []
        for line in expected:
            self.check(line in names, f"no line {line}")
        self.check(any(line[-1] == w["explain"].format(w["rendering"]) for line in names)
                   == self.software, "the rendering line's button")
        rendering = [line[-2:] for line in self.reading
                     if line[-1].name == w["explain"].format(w["rendering"])]
        self.check(all(node.description == self.described for line in rendering for node in line),
                   f"the rendering line described as {self.described!r}")
        tied = [line for line in self.reading
                if len(line) > 1 and related(line[1], pyatspi.RELATION_LABELLED_BY)]
        self.check(len(tied) == 5 and all(
            related(value, pyatspi.RELATION_LABELLED_BY) == [caption] and
            related(caption, pyatspi.RELATION_LABEL_FOR) == [value] for caption, value, *_ in tied),
            "identity values labelled by their captions")
        keys = [node.queryAction().getKeyBinding(0) for node in self.reading[-1]]
        self.check(all(k.startswith("<Alt>") for k in keys) and len(set(keys)) == len(keys),
                   f"mnemonics {keys}")

    def press(self, role, name):
        button = next((n for n in walk(self.window(role)) if n.name == name and
                       n.getRole() == pyatspi.ROLE_PUSH_BUTTON), None)
        self.check(button is not None, f"no button {name!r}")
        if button is not None:
            button.queryAction().doAction(0)

    def print_reading(self):
        print(f"== {self.label}")
        for line in self.reading:
            print("   " + "  |  ".join(f"{n.getRoleName()} {n.name!r}" + "".join(
                f" (labelled by {t.name!r})" for t in related(n, pyatspi.RELATION_LABELLED_BY))
                + (f" (described as {n.description!r})" if n.description else "")
                for n in line))


def first_cause(program, language):
    """The first cause that the program's report names, as the rendering's line is described."""
    w, env = WORDS[language], dict(os.environ, LC_ALL="C.UTF-8", LANGUAGE=language)
    report = subprocess.run([program, "--report"], env=env, capture_output=True, text=True,
                            timeout=30).stdout.splitlines()
    cause = next((line for line in report if line.startswith(w["reported_cause"])), None)
    return w["cause"].format(cause[len(w["reported_cause"]):]) if cause else ""


# Asked before any window opens, so that no window's reveal goes unwatched meanwhile.
DESCRIBED = {(run[0], run[2]): first_cause(run[0], run[2]) for run in RUNS if run[0] == PROGRAM}
runs = []
try:
    # Each program starts once the one before is on the bus, and is watched from then on.
    pending, deadline = list(RUNS), time.monotonic() + 30
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
    done = [run for run in runs if run.reading is not None]
    for run in runs:
        run.check(run in done and run.hidden_marks_seen, "not read before and after the reveal")
    for run in done:
        run.print_reading()
        run.verify()
        run.press(pyatspi.ROLE_ALERT, run.words["ok"])  # the summary's button has a name too
        run.press(pyatspi.ROLE_FRAME, run.words["buttons"][1])
    wanted = {(run.process.pid, run.words["copied"]) for run in done}
    for _ in range(200):
        if wanted <= announcements:
            break
        pump(0.05)
    for run in done:
        run.check((run.process.pid, run.words["copied"]) in announcements, "copy not announced")
        run.press(pyatspi.ROLE_FRAME, run.words["buttons"][3])
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
