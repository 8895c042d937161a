#!/usr/bin/env python3
"""Regenerates every example into a scratch folder and compares it with examples/ byte for byte.

Fails, listing the missing and extra files and a diff of each changed one, when the committed
scenes are not what scripts/make-examples.py writes: a generator edited without rerunning it,
or a scene edited by hand.
"""
import difflib
import os
import subprocess
import sys
import tempfile

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
COMMITTED = os.path.join(ROOT, "examples")
DIFF_LINES = 40  # per file: one wrong number shows in full, a reworked mesh does not flood


def files(folder):
    return {os.path.relpath(os.path.join(path, name), folder)
            for path, _, names in os.walk(folder) for name in names}


def diff(path, committed, regenerated):
    lines = list(difflib.unified_diff(
        committed.decode(errors="replace").splitlines(),
        regenerated.decode(errors="replace").splitlines(),
        f"examples/{path} (committed)", f"examples/{path} (regenerated)", lineterm=""))
    if not lines:
        return f"examples/{path}: same lines, but the line endings or final newline differ"
    more = len(lines) - DIFF_LINES
    return "\n".join(lines[:DIFF_LINES] + ([f"... {more} more diff lines"] if more > 0 else []))


def main():
    with tempfile.TemporaryDirectory() as scratch:
        subprocess.run([sys.executable, os.path.join(ROOT, "scripts", "make-examples.py"),
                        "--out", scratch], check=True)
        committed, regenerated = files(COMMITTED), files(scratch)
        problems = [f"missing: examples/{path} (a generator writes it)"
                    for path in sorted(regenerated - committed)]
        problems += [f"extra: examples/{path} (no generator writes it)"
                     for path in sorted(committed - regenerated)]
        changed = []
        for path in sorted(committed & regenerated):
            with open(os.path.join(COMMITTED, path), "rb") as a, \
                    open(os.path.join(scratch, path), "rb") as b:
                old, new = a.read(), b.read()
            if old != new:
                changed.append(path)
                problems.append(diff(path, old, new))
    if problems:
        print("\n".join(problems))
        print(f"\nexamples/ is not what scripts/make-examples.py writes ({len(changed)} changed, "
              f"{len(regenerated - committed)} missing, {len(committed - regenerated)} extra); "
              "rerun it and commit the result.")
        return 1
    print(f"examples/ matches scripts/make-examples.py ({len(committed)} files).")
    return 0


if __name__ == "__main__":
    sys.exit(main())
