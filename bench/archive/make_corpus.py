#!/usr/bin/env python3
"""Writes the archive benchmark's corpus: the same tree on every run (fixed seed).

About 3,000 files and 150 MB: half compressible text, a quarter random bytes, a quarter
repetitive data; folders nested up to five deep, some empty; a share of non-ASCII names.
Usage: make_corpus.py FOLDER
"""

import os
import random
import sys

TOTAL_BYTES = 150 * 1000 * 1000
FILES = 3000
EMPTY_FOLDERS = 40
NAME_PARTS = ["report", "notes", "données", "画像", "Ærø", "музыка", "日本語", "naïve", "zürich",
              "backup", "photo", "café", "ελληνικά", "draft", "archive", "😀smile", "data"]


def words(rng):
    vocabulary = ["".join(rng.choice("etaoinshrdlucmfwypvbgkqjxz") for _ in range(rng.randint(2, 9)))
                  for _ in range(5000)]
    cumulative, total = [], 0.0
    for rank in range(len(vocabulary)):  # Zipf-like frequencies, as in prose
        total += 1.0 / (rank + 1)
        cumulative.append(total)
    return vocabulary, cumulative


def text(rng, size, vocabulary, cumulative):
    out, length = [], 0
    while length < size:
        line = " ".join(rng.choices(vocabulary, cum_weights=cumulative, k=rng.randint(6, 16)))
        line += ".\n"
        out.append(line)
        length += len(line)
    return "".join(out).encode()[:size]


def repetitive(rng, size):
    block = bytes(rng.randrange(256) for _ in range(rng.choice([16, 64, 512, 4096])))
    data = bytearray((block * (size // len(block) + 1))[:size])
    for _ in range(size // 8192):  # a few changed bytes, as in logs or tables
        data[rng.randrange(size)] = rng.randrange(256)
    return bytes(data)


def sizes(rng):
    # Log-uniform between 200 B and 2 MB, then scaled so the sum is TOTAL_BYTES.
    raw = [10 ** rng.uniform(2.3, 6.3) for _ in range(FILES)]
    scale = TOTAL_BYTES / sum(raw)
    return [max(1, int(s * scale)) for s in raw]


def folder_for(rng, folders):
    if rng.random() < 0.15 or not folders:
        parent = rng.choice(folders) if folders and rng.random() < 0.7 else ""
        if parent.count("/") < 5:
            name = rng.choice(NAME_PARTS) + "-" + str(len(folders))
            folders.append(os.path.join(parent, name) if parent else name)
            return folders[-1]
    return rng.choice(folders)


def main():
    root = sys.argv[1]
    rng = random.Random(20240601)
    vocabulary, cumulative = words(rng)
    folders = []
    written = {"text": 0, "random": 0, "repetitive": 0}
    shares = {"text": 0.5, "random": 0.25, "repetitive": 0.25}
    for index, size in enumerate(sizes(rng)):
        # The kind furthest behind its share of the bytes so far, so the mix is exact.
        done = sum(written.values()) + size
        kind = max(shares, key=lambda k: shares[k] * done - written[k])
        written[kind] += size
        if kind == "text":
            data, extension = text(rng, size, vocabulary, cumulative), ".txt"
        elif kind == "random":
            data, extension = rng.randbytes(size), ".bin"
        else:
            data, extension = repetitive(rng, size), ".dat"
        folder = os.path.join(root, folder_for(rng, folders))
        os.makedirs(folder, exist_ok=True)
        name = (rng.choice(NAME_PARTS) if rng.random() < 0.3 else "file") + f"-{index:04d}{extension}"
        with open(os.path.join(folder, name), "wb") as out:
            out.write(data)
    for index in range(EMPTY_FOLDERS):
        os.makedirs(os.path.join(root, rng.choice(folders), f"empty-{index}"), exist_ok=True)


if __name__ == "__main__":
    main()
