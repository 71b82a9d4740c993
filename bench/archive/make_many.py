#!/usr/bin/env python3
"""Writes the many-entries corpus: 200,000 small files (0 to 300 bytes of text) in 400 folders
two deep, the same on every run (fixed seed). It weighs the per-entry costs: names, folders,
the checks, the staging scan and the merge.
Usage: make_many.py FOLDER
"""

import os
import random
import sys

FILES = 200_000
FOLDERS = 400


def main():
    root = sys.argv[1]
    rng = random.Random(20261207)
    letters = "etaoinshrdlucmfwypvbgkqjxz \n"
    for index in range(FILES):
        folder = os.path.join(root, f"group-{index % 20:02d}", f"set-{index % FOLDERS:03d}")
        if index < FOLDERS:
            os.makedirs(folder, exist_ok=True)
        data = "".join(rng.choices(letters, k=rng.randint(0, 300))).encode()
        with open(os.path.join(folder, f"item-{index:06d}.txt"), "wb") as out:
            out.write(data)


if __name__ == "__main__":
    main()
