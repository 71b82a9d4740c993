#!/usr/bin/env python3
"""Finds loops among the project's own headers: a header that, through its quoted includes,
comes back to itself. Prints each loop once and exits 1 when there is one.
Usage: scripts/include-cycles.py [SOURCE_DIR]   (default: src)"""
import pathlib
import re
import sys

root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else "src")
headers = {p.name: p for p in root.rglob("*.h")}
include = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)
edges = {name: [pathlib.Path(i).name for i in include.findall(path.read_text(errors="replace"))
                if pathlib.Path(i).name in headers]
         for name, path in headers.items()}

loops, state = set(), {}


def visit(name, trail):
    state[name] = "open"
    for nxt in edges[name]:
        if state.get(nxt) == "open":
            loop = trail[trail.index(nxt):] + [nxt]
            start = loop.index(min(loop[:-1]))
            loops.add(tuple(loop[start:-1] + loop[:start] + [loop[start]]))
        elif nxt not in state:
            visit(nxt, trail + [nxt])
    state[name] = "done"


for header in sorted(headers):
    if header not in state:
        visit(header, [header])
for loop in sorted(loops):
    print(" -> ".join(loop))
print(f"{len(headers)} headers, {len(loops)} include loops")
sys.exit(1 if loops else 0)
