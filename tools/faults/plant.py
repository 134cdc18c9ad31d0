#!/usr/bin/env python3
"""Plants each fault of faults.txt in the program, one at a time, rebuilds, runs the tests
named for it and reports whether they caught it; the sources are put back after each.

Usage: tools/faults/run.sh [NAME_PATTERN]   (builds first, then runs inside the test display)
"""
import os
import re
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
BUILD = os.environ.get("BUILD_DIR", os.path.join(ROOT, "build"))


def read_faults(path):
    faults, current = [], None
    with open(path, encoding="utf-8") as listing:
        for line in listing:
            line = line.rstrip("\n")
            if line.startswith("== "):
                current = {"name": line[3:].strip(), "find": [], "replace": []}
                faults.append(current)
            elif current is None or not line.strip() or line.startswith("#"):
                continue
            elif line.startswith("file: "):
                current["file"] = line[6:].strip()
            elif line.startswith("tests: "):
                current["tests"] = line[7:].strip()
            elif line.startswith("- "):
                current["find"].append(line[2:])
            elif line.startswith("+ "):
                current["replace"].append(line[2:])
            elif line in ("-", "+"):
                current["find" if line == "-" else "replace"].append("")
    return faults


def plant(fault):
    path = os.path.join(ROOT, fault["file"])
    with open(path, encoding="utf-8") as source:
        original = source.read()
    find = "\n".join(fault["find"])
    if original.count(find) != 1:
        return original, path, "the text to change is not there exactly once"
    with open(path, "w", encoding="utf-8") as source:
        source.write(original.replace(find, "\n".join(fault["replace"])))
    return original, path, None


def targets_of(tests):
    """Only the binaries of the tests named: a full rebuild per fault links every test."""
    listed = subprocess.run(["ctest", "--test-dir", BUILD, "-N", "-R", tests],
                            capture_output=True, text=True).stdout
    names = re.findall(r"Test +#\d+: (\S+)", listed)
    host = os.path.join(ROOT, "tests", "host")
    return [n for n in names if not os.path.exists(os.path.join(host, n + ".sh"))] or ["all"]


def main():
    pattern = re.compile(sys.argv[1] if len(sys.argv) > 1 else ".")
    faults = [f for f in read_faults(os.path.join(ROOT, "tools/faults/faults.txt"))
              if pattern.search(f["name"])]
    caught, missed, broken = [], [], []
    for fault in faults:
        original, path, problem = plant(fault)
        try:
            if problem is None:
                built = subprocess.run(["cmake", "--build", BUILD, "--target"] +
                                       targets_of(fault["tests"]), capture_output=True)
                if built.returncode != 0:
                    problem = "does not build"
            if problem is None:
                ran = subprocess.run(["ctest", "--test-dir", BUILD, "--output-on-failure",
                                      "-R", fault["tests"]], capture_output=True, text=True)
                (caught if ran.returncode != 0 else missed).append(fault["name"])
                # The cases that failed, so that a test can be judged by what it catches.
                cases = sorted(set(re.findall(r"\[  FAILED  \] ([\w/]+\.[\w/]+)", ran.stdout)))
                print(("caught " if ran.returncode != 0 else "MISSED ") + fault["name"] +
                      (" by " + " ".join(cases) if cases else ""), flush=True)
            else:
                broken.append(fault["name"])
                print(f"BROKEN {fault['name']}: {problem}", flush=True)
        finally:
            with open(path, "w", encoding="utf-8") as source:
                source.write(original)
    subprocess.run(["cmake", "--build", BUILD], capture_output=True)
    print(f"{len(caught)} caught, {len(missed)} missed, {len(broken)} not applicable "
          f"of {len(faults)} planted faults")
    return 1 if missed or broken else 0


if __name__ == "__main__":
    sys.exit(main())
