#!/usr/bin/env python3
"""Runs models that do not fit a 32-bit address space through the Windows driver, each a
number of times, one run at a time; every run must end with the one out-of-memory line on
standard error, nothing on standard output, and exit status 1, within the time limit. The
small set ends at once; the full set fills the address space first (about 2 GB a run).

Usage: out_of_memory.py BUILD [--models small|full] [--runs N] [--timeout SECONDS] -- WINE...
(BUILD: a build folder holding bin/vzhost.exe; WINE...: the command that runs a Windows
program, e.g. env WINEPREFIX=... WINEDEBUG=-all wine)
"""

import argparse
import os
import signal
import subprocess
import sys
import time

# Index sets past what 32 bits count, or a table of sections larger than a 32-bit address
# space: the host cannot hold them and says so at once.
SMALL = {
    "1-D, ENDNODE 2^31 - 1": "run DISTRIBUTION1D --x ENDNODE=2147483647",
    "2-D, y ENDNODE 2^31 - 1": "run DISTRIBUTION2D --y ENDNODE=2147483647",
    "DOMAIN of 10^9 sections": "run DOMAIN --x sections=1000000000 --format summary",
}
# Models that fill the address space before they fail.
FULL = {
    "2-D CFD4 2500²": "run DISTRIBUTION2D --x method=CFD4,MINNODECOUNT=2500"
                      " --y method=CFD4,MINNODECOUNT=2500 --format summary",
    "2-D CFD4 3000²": "run DISTRIBUTION2D --x method=CFD4,MINNODECOUNT=3000"
                      " --y method=CFD4,MINNODECOUNT=3000 --format summary",
    "1-D 5·10^7 nodes": "run DISTRIBUTION1D --x MINNODECOUNT=50000000 --format summary",
    "3-D 300³": "run DISTRIBUTION3D --x MINNODECOUNT=300 --y MINNODECOUNT=300"
                " --z MINNODECOUNT=300 --format summary",
    "DOMAIN of 2^31 nodes": "run DOMAIN --x MINNODECOUNT=2147483646",
    "1-D of 2^31 nodes": "run DISTRIBUTION1D --x MINNODECOUNT=2147483646",
    "3-D over 2·10^9 x nodes": "run DISTRIBUTION3D --x MINNODECOUNT=2000000000 --format summary",
    **SMALL,
}
EXPECTED_LINE = b"vzhost: out of memory: "


def run_once(command, timeout):
    """Exit status (None when the time ran out), seconds taken, standard output and error."""
    start = time.monotonic()
    process = subprocess.Popen(command, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                               stderr=subprocess.PIPE, start_new_session=True)
    try:
        out, err = process.communicate(timeout=timeout)
        status = process.returncode
    except subprocess.TimeoutExpired:
        os.killpg(process.pid, signal.SIGKILL)
        out, err = process.communicate()
        status = None
    return status, time.monotonic() - start, out, err


def verdict(status, out, err):
    """Empty when the run ended as it must; otherwise what went wrong."""
    if status is None:
        return "time limit"
    lines = err.splitlines()
    if status != 1 or out or len(lines) != 1 or not lines[0].startswith(EXPECTED_LINE):
        last = lines[-1].decode(errors="replace")[:120] if lines else ""
        return f"exit {status}: {last!r}"
    return ""


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("build")
    parser.add_argument("--models", choices=("small", "full"), default="small")
    parser.add_argument("--runs", type=int, default=1)
    parser.add_argument("--timeout", type=float, default=600)
    parser.add_argument("wine", nargs="+")
    args = parser.parse_args()
    driver = os.path.join(args.build, "bin", "vzhost.exe")
    if not os.path.isfile(driver):
        print(f"FAIL  no driver at {driver}")
        return 1
    failures = 0
    print("| model | run | result | seconds |")
    print("|---|---|---|---|")
    for name, arguments in (SMALL if args.models == "small" else FULL).items():
        for run in range(1, args.runs + 1):
            status, seconds, out, err = run_once(args.wine + [driver] + arguments.split(),
                                                 args.timeout)
            problem = verdict(status, out, err)
            failures += 1 if problem else 0
            result = problem or err.decode(errors="replace").strip()
            print(f"| {name} | {run} | {result} | {seconds:.1f} |", flush=True)
    if failures:
        print(f"FAIL  {failures} run(s) did not end with the out-of-memory line and exit 1")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
