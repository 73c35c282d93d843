#!/usr/bin/env python3
"""Checks that the quiz's WebAssembly runs in the oldest browsers the page
plays in, whichever emscripten built it:

    tests/web/wasm_floor.py QUIZ_WASM

- it is WebAssembly 1.0, with every later feature wabt knows turned off
  (Safari before 14.1 and 15 has no sign extension, bulk memory or
  non-trapping conversions; Chrome before 74 no mutable globals passed in
  or out);
- no function the page calls, or that calls the page, takes or gives a
  64-bit integer: a browser without the JavaScript's BigInt throws a
  TypeError at the first such call.
"""
import re
import subprocess
import sys

LATER_FEATURES = ["mutable-globals", "saturating-float-to-int", "sign-extension", "simd", "multi-value",
                  "bulk-memory", "reference-types"]


def sections(dump):
    """wasm-objdump -x's lines, by the section they are under."""
    found, current = {}, None
    for line in dump.splitlines():
        heading = re.match(r"^(\w+)\[\d+\]:$", line)
        if heading:
            current = found.setdefault(heading.group(1), [])
        elif current is not None and line.startswith(" - "):
            current.append(line[3:])
    return found


def boundary_with_i64(dump):
    """The imports and exports whose signature holds an i64."""
    found = sections(dump)
    wide = {int(m.group(1)) for line in found.get("Type", [])
            if (m := re.match(r"type\[(\d+)\] (.*)", line)) and "i64" in m.group(2)}
    signature = {}
    for line in found.get("Import", []) + found.get("Function", []):
        m = re.match(r"func\[(\d+)\] sig=(\d+)", line)
        if m:
            signature[int(m.group(1))] = int(m.group(2))
    bad = [line for line in found.get("Import", [])
           if (m := re.match(r"func\[\d+\] sig=(\d+)", line)) and int(m.group(1)) in wide]
    bad += [line for line in found.get("Export", [])
            if (m := re.match(r"func\[(\d+)\]", line)) and signature.get(int(m.group(1))) in wide]
    return bad


def main():
    wasm = sys.argv[1]
    flags = [f"--disable-{feature}" for feature in LATER_FEATURES]
    validated = subprocess.run(["wasm-validate", *flags, wasm], capture_output=True, text=True)
    if validated.returncode != 0:
        sys.exit(f"{wasm} needs more than WebAssembly 1.0:\n{validated.stderr}")
    dump = subprocess.run(["wasm-objdump", "-x", wasm], capture_output=True, text=True, check=True).stdout
    bad = boundary_with_i64(dump)
    if bad:
        sys.exit(f"{wasm} passes 64-bit integers to or from the page:\n  " + "\n  ".join(bad))
    print(f"{wasm}: WebAssembly 1.0, no 64-bit integer crosses to the page")


if __name__ == "__main__":
    main()
