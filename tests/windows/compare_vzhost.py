#!/usr/bin/env python3
"""Runs each command line of a list through the Linux driver and through the Windows driver
under Wine; both must write the same bytes to standard output and to standard error, and exit
with the same status.

Usage: compare_vzhost.py --linux VZHOST --windows VZHOST.EXE --commands FILE -- WINE...
(WINE...: the command that runs a Windows program, e.g. env WINEPREFIX=... wine)
"""

import argparse
import concurrent.futures
import os
import subprocess
import sys


def read_commands(path):
    """The command lines of the list: one a line, blank lines and # comments left out."""
    with open(path, encoding="utf-8") as f:
        lines = [line.strip() for line in f]
    return [line.split() for line in lines if line and not line.startswith("#")]


def run(command):
    done = subprocess.run(command, stdin=subprocess.DEVNULL, capture_output=True, timeout=600)
    return done.returncode, done.stdout, done.stderr


def first_difference(a, b):
    """Where two outputs part: the line number and both lines."""
    a_lines, b_lines = a.split(b"\n"), b.split(b"\n")
    for number, (x, y) in enumerate(zip(a_lines, b_lines), 1):
        if x != y:
            return f"line {number}: {x[:200]!r} / {y[:200]!r}"
    return f"lengths {len(a)} / {len(b)} bytes"


def compare(arguments, linux, windows, wine):
    expected = run([linux] + arguments)
    actual = run(wine + [windows] + arguments)
    problems = []
    if expected[0] != actual[0]:
        problems.append(f"exit status {expected[0]} on Linux, {actual[0]} under Wine")
    for name, index in (("standard output", 1), ("standard error", 2)):
        if expected[index] != actual[index]:
            problems.append(f"{name} differs (Linux / Wine) at "
                            + first_difference(expected[index], actual[index]))
    return problems


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--linux", required=True)
    parser.add_argument("--windows", required=True)
    parser.add_argument("--commands", required=True)
    parser.add_argument("--jobs", type=int, default=2)
    parser.add_argument("wine", nargs="+")
    args = parser.parse_args()
    if not os.access(args.linux, os.X_OK):
        print(f"FAIL  no Linux driver at {args.linux}: build the default preset first")
        return 1

    commands = read_commands(args.commands)
    with concurrent.futures.ThreadPoolExecutor(args.jobs) as pool:
        results = list(pool.map(
            lambda arguments: compare(arguments, args.linux, args.windows, args.wine), commands))
    failures = 0
    for arguments, problems in zip(commands, results):
        line = " ".join(arguments)
        if problems:
            failures += 1
            print(f"FAIL  vzhost {line}")
            for problem in problems:
                print(f"      {problem}")
        else:
            print(f"ok    vzhost {line}")
    print(f"{len(commands) - failures} of {len(commands)} command lines alike")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
