#!/usr/bin/env python3
"""Reads the bench window over the accessibility bus, as a screen reader would, and waits until
every tile's status starts with one of the words given. Prints each tile as "NAME: STATUS" and the
counters. Usage: read-bench-over-atspi.py APP TILES WORD[,WORD...] [TIMEOUT]"""
import sys
import time

import pyatspi


def walk(node, depth=0):
    if node is None or depth > 30:
        return
    yield node
    for i in range(node.childCount):
        yield from walk(node.getChildAtIndex(i), depth + 1)


def read(app_name):
    desktop = pyatspi.Registry.getDesktop(0)
    for app in desktop:
        if app is None or app.name != app_name:
            continue
        tiles, counters = {}, []
        for node in walk(app):
            role = node.getRoleName()
            if role in ("panel", "grouping") and node.name.startswith("COM"):
                statuses = [child.name for child in node if child is not None and child.getRoleName() == "label"]
                tiles[node.name] = statuses[0] if statuses else ""
            elif role == "label" and node.name.split(":")[0] in ("Passed", "Failed", "Units per hour"):
                counters.append(node.name)
        return tiles, counters
    return {}, []


def main():
    app_name, count, words = sys.argv[1], int(sys.argv[2]), tuple(sys.argv[3].split(","))
    deadline = time.time() + (float(sys.argv[4]) if len(sys.argv) > 4 else 90)
    tiles, counters = {}, []
    while time.time() < deadline:
        tiles, counters = read(app_name)
        if len(tiles) == count and all(status.startswith(words) for status in tiles.values()):
            break
        time.sleep(0.5)
    for name in sorted(tiles):
        print(f"{name}: {tiles[name]}")
    for counter in counters:
        print(counter)
    sys.exit(0 if len(tiles) == count and all(s.startswith(words) for s in tiles.values()) else 1)


main()
