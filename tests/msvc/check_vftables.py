#!/usr/bin/env python3
"""Checks the compiler's vftables of the library's classes against their slot tables.

The classes and their slots come from tests/abi/slot_orders.txt. A small translation unit that
makes one virtual call through each class is compiled with the library's own compile command
(from compile_commands.json) and -fdump-vtable-layouts; each class's first table, and each
"CLASS / BASE" table (BASE's table inside CLASS), must hold exactly the listed slots in order:
the same names, "~" for the one scalar deleting destructor, and the same parameters where the
table gives them (typedefs of the host headers resolved, spaces and the place of const
ignored).
"""

import argparse
import glob
import json
import os
import re
import shlex
import subprocess
import sys
import tempfile


def read_slot_orders(path):
    """[(class, base or None, [slot, ...])] in the file's order."""
    tables, names, slots = [], [], None
    with open(path, encoding="utf-8") as f:
        for raw in f:
            line = raw.rstrip("\n")
            if not line.strip() or line.startswith("#"):
                continue
            if not line[0].isspace():
                if slots is not None:
                    tables += [(c, b, slots) for c, b in names]
                    names, slots = [], None
                head = line.rstrip(":").strip()
                cls, _, base = head.partition(" / ")
                names.append((normalise_type(cls), normalise_type(base) if base else None))
            else:
                slots = (slots or []) + [line.strip()]
    if slots is not None:
        tables += [(c, b, slots) for c, b in names]
    return tables


def normalise_type(text):
    """One spelling of a class name: no blank between closing brackets, and an array's second
    argument left out where it repeats the first (its default, which the dump leaves out)."""
    text = re.sub(r"\s+", " ", text.strip())
    while "> >" in text:
        text = text.replace("> >", ">>")
    while True:
        shorter = re.sub(r"<([^<>]+(?:<[^<>]*>)?), \1>", r"<\1>", text)
        if shorter == text:
            return text
        text = shorter


def host_typedefs(source_dir):
    """name -> type, from the `using NAME = TYPE;` lines of the host headers."""
    typedefs = {"IID": "_GUID"}
    for path in glob.glob(os.path.join(source_dir, "host", "include", "vuzizev", "*.h")):
        with open(path, encoding="utf-8") as f:
            for m in re.finditer(r"^using (\w+) = ([^;()]+);", f.read(), re.MULTILINE):
                typedefs[m.group(1)] = m.group(2).strip()
    return typedefs


def canonical_parameters(text, typedefs):
    """A parameter list, each parameter with typedefs resolved, const written after what it
    qualifies and no spaces."""
    def one(p):
        for _ in range(4):
            p = re.sub(r"\b\w+\b", lambda m: typedefs.get(m.group(0), m.group(0)), p)
        p = re.sub(r"\s+", " ", p).strip()
        m = re.fullmatch(r"const ([\w:<>, ]+?)( ?[*&].*)?", p)
        if m:
            p = f"{m.group(1)} const{m.group(2) or ''}"
        return p.replace(" ", "")
    depth, start, parts = 0, 0, []
    for i, c in enumerate(text):
        if c in "<(":
            depth += 1
        elif c in ">)":
            depth -= 1
        elif c == "," and depth == 0:
            parts.append(text[start:i])
            start = i + 1
    parts.append(text[start:])
    return [one(p) for p in parts if p.strip() and p.strip() != "void"]


def slot_of(entry):
    """(name, parameters) of a dumped slot: `~` for a destructor."""
    if "[scalar deleting]" in entry or "[vector deleting]" in entry:
        return "~", None
    depth, open_at = 0, None
    for i, c in enumerate(entry):
        if c == "<":
            depth += 1
        elif c == ">":
            depth -= 1
        elif c == "(" and depth == 0:
            open_at = i
            break
    if open_at is None:
        return entry.strip(), None
    head, close = entry[:open_at], entry.rfind(")")
    name = re.split(r"::", re.sub(r"<[^<>]*(?:<[^<>]*>[^<>]*)*>", "", head))[-1].split()[-1]
    name = name.lstrip("*&")
    return name, entry[open_at + 1:close]


def dumped_tables(dump):
    """[(path of class names, [slot text])] of the dump, in its order."""
    tables, current = [], None
    for line in dump.splitlines():
        if line.startswith("VFTable indices"):
            current = None
            continue
        m = re.match(r"VFTable for (.*) \(\d+ entries\)\.$", line)
        if m:
            current = (re.findall(r"'([^']*)'", m.group(1)), [])
            tables.append(current)
            continue
        m = re.match(r"\s+\d+ \| (.*)$", line)
        if m and current is not None:
            if not m.group(1).endswith(" RTTI"):
                current[1].append(m.group(1))
        elif not line.strip():
            current = None
    return tables


def dump_source(classes, headers):
    lines = [f'#include "{h}"' for h in headers]
    for i, cls in enumerate(sorted(classes)):
        lines.append(f"void PellorinDump{i}({cls}* p) {{ delete p; }}")
    return "\n".join(lines) + "\n"


def compile_dump(commands_path, source_dir, classes):
    with open(commands_path, encoding="utf-8") as f:
        commands = json.load(f)
    model = next(c for c in commands if c["file"].endswith(os.path.join("framework",
                                                                          "identity.cpp")))
    headers = sorted(os.path.relpath(p, source_dir) for pattern in
                     ("framework/*.h", "types/*/*.h", "procedures/*/*.h")
                     for p in glob.glob(os.path.join(source_dir, pattern)))
    with tempfile.TemporaryDirectory() as folder:
        source = os.path.join(folder, "vftables.cpp")
        with open(source, "w", encoding="utf-8") as f:
            f.write(dump_source(classes, headers))
        args = shlex.split(model["command"]) if "command" in model else model["arguments"]
        out = args.index("-o")
        args = args[:out] + args[out + 2:]
        args = [a for a in args if a != model["file"] and a != "-c"]
        args = [a for a in args if not a.startswith(("-MD", "-MT", "-MF"))]
        drop = {"-MT", "-MF"}
        cleaned, skip = [], False
        for a in args:
            if skip:
                skip = False
                continue
            if a in drop:
                skip = True
                continue
            cleaned.append(a)
        cleaned += ["-S", "-o", os.devnull, "-Xclang", "-fdump-vtable-layouts", source]
        done = subprocess.run(cleaned, cwd=model["directory"], capture_output=True, text=True)
        if done.returncode != 0:
            raise RuntimeError(done.stderr[-4000:])
        return done.stdout


def compare(tables, dumped, typedefs, check):
    failures = 0
    for cls, base, slots in tables:
        # The dump names a class template's instance without its arguments; its destructor's
        # slot names it whole.
        bare = cls.split("<")[0]
        found = [t for path, t in dumped if path and path[-1] == bare and
                 (base is None or normalise_type(path[0]) == base) and
                 (bare == cls or any(normalise_type(s).startswith(cls + "::~") for s in t))]
        what = cls + (f" / {base}" if base else "")
        if not found:
            check(False, f"{what}: no vftable in the dump")
            failures += 1
            continue
        actual = [slot_of(s) for s in found[0]]
        problems = []
        for i in range(max(len(slots), len(actual))):
            want = slots[i] if i < len(slots) else None
            got = actual[i] if i < len(actual) else None
            if want is None or got is None:
                problems.append(f"slot {i}: {want or '-'} listed, {got[0] if got else '-'} built")
                continue
            name, _, params = want.partition("(")
            ok = name == got[0]
            if ok and params and got[1] is not None:
                ok = (canonical_parameters(params.rstrip(")"), typedefs) ==
                      canonical_parameters(got[1], typedefs))
            if not ok:
                built = got[0] + (f"({got[1]})" if got[1] is not None and params else "")
                problems.append(f"slot {i}: {want} listed, {built} built")
        check(not problems, f"{what} ({len(slots)} slots)" +
              (": " + "; ".join(problems) if problems else ""))
        failures += bool(problems)
    return failures


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--slot-orders", required=True)
    parser.add_argument("--compile-commands", required=True)
    parser.add_argument("--source-dir", required=True)
    args = parser.parse_args()

    def check(ok, what):
        print(("ok    " if ok else "FAIL  ") + what)

    tables = read_slot_orders(args.slot_orders)
    try:
        dump = compile_dump(args.compile_commands, args.source_dir, {c for c, _, _ in tables})
    except RuntimeError as e:
        print(f"FAIL  the dump does not compile:\n{e}")
        return 1
    failures = compare(tables, dumped_tables(dump), host_typedefs(args.source_dir), check)
    print(f"{len(tables)} tables, {failures} differ")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
