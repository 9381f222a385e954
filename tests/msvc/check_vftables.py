#!/usr/bin/env python3
"""Checks the vftables of the library's classes against their slot tables, as the compiler
lays them out and as the built DLL holds them.

The classes and their slots come from tests/abi/slot_orders.txt; a class written as a
pattern ("QV_External<*>") stands for every class of the DLL that it matches. Each class's
first table, and each "CLASS / BASE" table (BASE's table inside CLASS), must hold exactly the
listed slots in order: the same names, "~" for the one scalar deleting destructor, and the
same parameters where the table gives them (typedefs of the host headers resolved, spaces
and the place of const ignored). Two readings are checked:

- the compiler's: a small translation unit that makes one virtual call through each class is
  compiled with the library's own compile command (from compile_commands.json) and
  -fdump-vtable-layouts;
- the DLL's own (--dll): every vftable in its read-only data, found through its run-time type
  information (pe_image.py), each slot resolved to the function the DLL exports at that address
  or to the import its thunk there jumps through. The destructor's slot is the one function
  that the DLL neither exports nor imports; a pure virtual slot holds the runtime's _purecall.
"""

import argparse
import fnmatch
import glob
import json
import os
import re
import shlex
import subprocess
import sys
import tempfile

import msvc_names
import pe_image


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


class DllTable:
    """A vftable of the DLL: its class, the bases whose table it is, and per slot the
    (name, parameters) of each function the slot may be (none: neither exported nor
    imported)."""

    def __init__(self, cls, bases, offset, slots):
        self.cls, self.bases, self.offset, self.slots = cls, bases, offset, slots


def dll_tables(dll, undname):
    image = pe_image.PEImage(dll)
    tables = image.vftables()

    def descriptor(type_name):  # the type descriptor's own decorated name
        return "??_R0" + type_name[1:] + "@8"

    names = {n for t in tables for s in t.slots for n in s.names()}
    names |= {descriptor(n) for t in tables for n in [t.type_name] + t.bases}
    spelt = msvc_names.spelled(undname, sorted(names))

    def type_of(type_name):
        return normalise_type(spelt[descriptor(type_name)].removeprefix("typeinfo for "))

    result = []
    for t in tables:
        slots = [[slot_of(spelt[n]) for n in s.names()] for s in t.slots]
        result.append(DllTable(type_of(t.type_name), [type_of(b) for b in t.bases], t.offset,
                               slots))
    return result


def compare_dll(tables, in_dll, typedefs, check):
    failures = 0
    for cls, base, slots in tables:
        what = "DLL " + cls + (f" / {base}" if base else "")
        found = [t for t in in_dll if t.cls == cls and
                 (t.offset == 0 if base is None else t.offset != 0 and base in t.bases)]
        if len(found) != 1:
            check(False, f"{what}: {len(found)} vftables in the DLL, not 1")
            failures += 1
            continue
        actual, problems = found[0].slots, []
        for i in range(max(len(slots), len(actual))):
            want = slots[i] if i < len(slots) else "-"
            got = actual[i] if i < len(actual) else None
            name, _, params = want.partition("(")
            if got is None:
                ok = False
            elif name == "~":
                ok = not got  # the scalar deleting destructor is never exported
            else:
                ok = any(n == name and (not params or p is None or
                                        canonical_parameters(params.rstrip(")"), typedefs) ==
                                        canonical_parameters(p, typedefs))
                         for n, p in got) or any(n == "_purecall" for n, _ in got)
            if not ok:
                built = ("-" if got is None else
                         " | ".join(n + (f"({p})" if p is not None else "") for n, p in got)
                         or "a function of its own")
                problems.append(f"slot {i}: {want} listed, {built} in the DLL")
        check(not problems, f"{what} ({len(slots)} slots)" +
              (": " + "; ".join(problems[:3]) if problems else ""))
        failures += bool(problems)
    return failures


def expand_patterns(tables, in_dll, check):
    """The tables with each class pattern ("QV_External<*>") replaced by the classes of the DLL
    that it matches; without the DLL, patterns are left out."""
    result = []
    for cls, base, slots in tables:
        if "*" not in cls:
            result.append((cls, base, slots))
            continue
        matched = sorted({t.cls for t in in_dll or () if fnmatch.fnmatchcase(t.cls, cls) and
                          (t.offset == 0 if base is None else base in t.bases)})
        if in_dll is not None and not matched:
            check(False, f"{cls}: no class of the DLL matches")
        result += [(c, base, slots) for c in matched]
    return result


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--slot-orders", required=True)
    parser.add_argument("--compile-commands", required=True)
    parser.add_argument("--source-dir", required=True)
    parser.add_argument("--dll", help="the built DLL, whose own vftables are checked too")
    parser.add_argument("--undname", default="llvm-undname")
    args = parser.parse_args()

    failed = []

    def check(ok, what):
        print(("ok    " if ok else "FAIL  ") + what)
        failed.extend([] if ok else [what])

    tables = read_slot_orders(args.slot_orders)
    in_dll = dll_tables(args.dll, args.undname) if args.dll else None
    tables = expand_patterns(tables, in_dll, check)
    try:
        dump = compile_dump(args.compile_commands, args.source_dir, {c for c, _, _ in tables})
    except RuntimeError as e:
        print(f"FAIL  the dump does not compile:\n{e}")
        return 1
    typedefs = host_typedefs(args.source_dir)
    failures = compare(tables, dumped_tables(dump), typedefs, check)
    print(f"compiler's layout: {len(tables)} tables, {failures} differ")
    if in_dll is not None:
        dll_failures = compare_dll(tables, in_dll, typedefs, check)
        print(f"{os.path.basename(args.dll)}: {len(in_dll)} vftables read, {len(tables)} "
              f"compared, {dll_failures} differ")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
