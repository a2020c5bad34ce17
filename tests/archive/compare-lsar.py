#!/usr/bin/env python3
"""Compares sortaro-arclist's listing of the tool-made sample archives with lsar's (unar).

For each archive lsar lists reliably, the two must agree on the entry names, unpacked sizes
and dates, and for the formats whose packed size lsar reports per entry, on packed sizes too.
Run with TZ=UTC: both print local times. Exit status 0 when all agree, 1 otherwise; 77 (a
skip for ctest) when lsar is missing.

Usage: compare-lsar.py LISTER SAMPLES_DIR
"""
import json
import os
import shutil
import subprocess
import sys

# The archives lsar lists as we do. Not gzip: lsar names the entry after the archive even when
# the header stores a name, and gives neither its size nor its date. Not tar-pax-long.tar: lsar
# shows a cut name for a long pax path (GNU tar agrees with us).
ARCHIVES = [
    "zip-stored.zip", "zip-deflate-dirs.zip", "zip-streamed.zip", "zip-longname.zip", "zip64-stdin.zip",
    "zip64-piped.zip", "sfx-adjusted.exe", "arj-dirs.arj", "lha-level0.lzh", "lha-level1.lzh", "lha-level2.lzh",
    "arc-lzw.arc", "arc-sto.arc", "cab-mszip.cab", "tar-ustar.tar", "tar-gnu-long.tar",
]
# Their packed sizes are not compared: CAB has no per-file packed size, and lsar counts a tar
# entry's whole 512-byte blocks.
UNPACKED_ONLY = {"cab-mszip.cab", "tar-ustar.tar", "tar-gnu-long.tar"}


def normal_name(name):
    name = name.replace("\\", "/").rstrip("/")
    while name.startswith("./"):
        name = name[2:]
    return name


def ours(lister, path):
    out = subprocess.run([lister, "--json", "--dirs", path], capture_output=True, check=False).stdout
    entries = {}
    for line in out.decode("utf-8").splitlines()[1:]:
        e = json.loads(line)
        name = normal_name(e["name"])
        if name not in ("", "."):
            entries[name] = (e["unpacked"], e["packed"], e["date"])
    return entries


def theirs(path):
    out = subprocess.run(["lsar", "-j", path], capture_output=True, check=False).stdout
    entries = {}
    for e in json.loads(out.decode("utf-8"))["lsarContents"]:
        name = normal_name(e["XADFileName"])
        if name not in ("", "."):
            date = e.get("XADLastModificationDate", "")[:19]
            entries[name] = (e.get("XADFileSize", 0), e.get("XADCompressedSize", 0), date)
    return entries


def main():
    lister, samples = sys.argv[1], sys.argv[2]
    if shutil.which("lsar") is None:
        print("lsar (package unar) is not installed: comparison skipped")
        return 77
    failures = 0
    compared = 0
    for archive in ARCHIVES:
        path = os.path.join(samples, archive)
        if not os.path.exists(path):
            print(f"skip {archive}: not made (archiver missing)")
            continue
        a, b = ours(lister, path), theirs(path)
        if sorted(a) != sorted(b):
            print(f"FAIL {archive}: names differ\n  ours:  {sorted(a)}\n  lsar:  {sorted(b)}")
            failures += 1
            continue
        for name in a:
            (ou, op, od), (tu, tp, td) = a[name], b[name]
            if ou != tu or od != td or (archive not in UNPACKED_ONLY and op != tp):
                print(f"FAIL {archive} {name}: ours {a[name]}, lsar {b[name]}")
                failures += 1
        compared += len(a)
        print(f"ok   {archive}: {len(a)} entries agree")
    print(f"{compared} entries compared, {failures} differences")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
