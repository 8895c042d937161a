#!/usr/bin/env python3
"""Writes the example scenes: each folder's scene.txt, meshes and materials.

The files under examples/ are committed; run this again only after changing a generator in
scripts/examples/ (python3 scripts/make-examples.py). With --out DIR the scenes go to DIR
instead, which is how the tests compare them with the committed ones.
"""
import argparse
import os
import sys

sys.dont_write_bytecode = True  # no __pycache__ left in the source tree

from examples import (bridge, car, catapult, cradle, dominoes, galton, glow,  # noqa: E402
                      machine, pyramid, ragdoll, stress, tumbler)

GENERATORS = (cradle, bridge, machine, galton, pyramid, glow, stress, car, ragdoll, tumbler,
              dominoes, catapult)
EXAMPLES = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "examples")

if __name__ == "__main__":
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out", metavar="DIR", default=EXAMPLES,
                        help="folder to write the example folders into (default: examples/)")
    out = parser.parse_args().out
    for generator in GENERATORS:
        generator.write(out)
