#!/usr/bin/env python3
"""Fails when a folder of the program includes a header of a folder at its rank or above it.

Folders by rank: toolkit < process, system, model < check, present < app. A folder includes its
own headers and those of lower ranks; model includes only itself, and the card helper, which has
no window, nothing of the toolkit. Every folder may include graphics/ and ProbeKit's interface,
and graphics/ includes only itself.
"""
import pathlib
import re
import sys

RANK = {"toolkit": 0, "process": 1, "system": 1, "model": 1, "check": 2, "present": 2, "app": 3}
SHARED = ["graphics", "probekit/include"]


def allowed(folder):
    if folder == "graphics":
        return ["graphics"]
    if folder == "model":
        return ["readycheck/model"] + SHARED
    if folder == "card-helper":
        below = [f for f in RANK if f not in ("toolkit", "app")]
        return ["readycheck/card-helper"] + ["readycheck/" + f for f in below] + SHARED
    below = [f for f, rank in RANK.items() if rank < RANK[folder] or f == folder]
    return ["readycheck/" + f for f in below] + SHARED


def owner(root, header):
    """The folders that hold a header of this name."""
    found = []
    for folder in [f"readycheck/{f}" for f in list(RANK) + ["card-helper"]] + SHARED:
        if (root / folder / header).is_file():
            found.append(folder)
    return found


def main(root):
    root = pathlib.Path(root)
    faults = []
    sources = list((root / "readycheck").glob("*/*.[ch]*")) + list((root / "graphics").glob("*.[ch]*"))
    for source in sorted(sources):
        folder = source.parent.name
        if folder not in RANK and folder not in ("card-helper", "graphics"):
            continue
        permitted = allowed(folder)
        for number, line in enumerate(source.read_text().splitlines(), 1):
            match = re.match(r'\s*#\s*include\s+"([^"]+)"', line)
            if not match:
                continue
            places = owner(root, match.group(1))
            if not places:
                faults.append(f"{source.relative_to(root)}:{number}: {match.group(1)} is in no folder")
            elif not any(place in permitted for place in places):
                faults.append(f"{source.relative_to(root)}:{number}: {folder} includes "
                              f"{match.group(1)} of {', '.join(places)}")
    for fault in faults:
        print(fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
