#!/usr/bin/env python3
"""Checks the slot order of the library's classes against one table (slot_orders.txt).

Each class's table of virtual operations is read from the built library (vtables.py) and
compared slot by slot with the table's. Two artefacts of the Itanium ABI are allowed for: the
destructor has two slots (complete and deleting), written once as "~"; and a class that
overrides operations of a base other than its first gets further slots for them at the end of
its first table. Identical functions folded into one by the linker (two operations that both
return 0) stand for either name.

The table gives the host's slots, and the host's compiler lays overloads out otherwise than
the Itanium ABI: it gathers the virtual operations of one name into consecutive slots, at the
place of the first, the last declared first. The Itanium table (declaration order) is put in
that order before it is compared. A pure virtual slot matches whatever the table lists there;
a class written as a pattern ("QV_External<*>") stands for every class it matches.
"""

import argparse
import fnmatch
import re
import sys

import vtables


def read_table(path):
    """[(class names, slots)] in the file's order."""
    blocks, names, slots = [], [], None
    with open(path, encoding="utf-8") as f:
        for number, raw in enumerate(f, 1):
            line = raw.rstrip()
            if not line or line.lstrip().startswith("#"):
                continue
            if not line[0].isspace():
                if not line.endswith(":"):
                    sys.exit(f"{path}:{number}: a class line ends with ':'")
                if slots is not None:
                    blocks.append((names, slots))
                    names, slots = [], None
                names.append(line[:-1].strip())
                continue
            if not names:
                sys.exit(f"{path}:{number}: a slot before any class")
            slots = slots or []
            slots.append(line.strip())
    if names:
        blocks.append((names, slots or []))
    return blocks


def normal(text):
    """A C++ name or parameter list with const written first and no spaces."""
    text = re.sub(r"([\w:]+(?:<[^<>]*>)?)\s+const\b", r"const \1", text)
    return text.replace(" ", "")


def split(demangled):
    """(name, parameters or None) of a function as c++filt writes it, without its class."""
    for prefix in ("non-virtual thunk to ", "virtual thunk to "):
        demangled = demangled.removeprefix(prefix)
    demangled = demangled.removesuffix(" const")
    params = None
    if demangled.endswith(")"):
        depth = 0
        for i in range(len(demangled) - 1, -1, -1):
            depth += {")": 1, "(": -1}.get(demangled[i], 0)
            if depth == 0:
                params, demangled = demangled[i + 1:-1], demangled[:i]
                break
    depth, start = 0, 0
    for i, c in enumerate(demangled):
        depth += {"<": 1, ">": -1}.get(c, 0)
        if depth == 0 and demangled.startswith("::", i):
            start = i + 2
    name = demangled[start:]
    return ("~" if name.startswith("~") else name), params


def expected_slot(text):
    if "(" in text:
        name, params = text.split("(", 1)
        return name.strip(), normal(params.rstrip()[:-1])
    return text, None


def matches(expected, slot):
    name, params = expected
    return any(n == "__cxa_pure_virtual" or
               n == name and (params is None or normal(p or "") == params) for n, p in slot)


def shown(slot):
    return " | ".join(n if p is None else f"{n}({p})" for n, p in slot)


def actual_tables(library, cxxfilt, symbol):
    tables = []
    for table in library.tables(symbol):
        slots = []
        for candidates in table:
            slot = [split(d) for d in vtables.demangle(cxxfilt, candidates)]
            if slot == [("<null>", None)]:
                slot = [("~", None)]  # an abstract class's destructors are null
            if slots and any(n == "~" for n, _ in slot) and any(n == "~" for n, _ in slots[-1]):
                continue  # the second destructor slot
            slots.append(slot)
        tables.append(host_order(slots))
    return tables


def host_order(slots):
    """Slots in declaration order, overloads of one name gathered and reversed."""
    def name(slot):
        names = {n for n, _ in slot}
        return names.pop() if len(names) == 1 and "~" not in names else None

    groups = {}
    for slot in slots:
        if name(slot) is not None:
            groups.setdefault(name(slot), []).append(slot)
    ordered, placed = [], set()
    for slot in slots:
        key = name(slot)
        if key is None or len(groups[key]) == 1:
            ordered.append(slot)
        elif key not in placed:
            placed.add(key)
            ordered += reversed(groups[key])
    return ordered


def compare(label, expected, actual, extra_allowed=()):
    """Failure lines; slots after the expected ones pass only if in extra_allowed."""
    failures = []
    for i, want in enumerate(expected):
        if i >= len(actual):
            failures.append(f"{label}: slot {i} {want[0]} missing (the table has {i} slots)")
            break
        if not matches(want, actual[i]):
            failures.append(f"{label}: slot {i} is {shown(actual[i])}, not "
                            f"{want[0]}{'' if want[1] is None else '(' + want[1] + ')'}")
            break
    for i in range(len(expected), len(actual) if not failures else 0):
        if not any(matches((n, p and normal(p)), actual[i])
                   for slot in extra_allowed for n, p in slot):
            failures.append(f"{label}: slot {i} ({shown(actual[i])}) is not in the table")
            break
    return failures


def expand(names, classes, failures):
    """The names with each class pattern ("QV_External<*>") replaced by the library's classes
    that it matches."""
    result = []
    for name in names:
        cls, slash, base = name.partition("/")
        if "*" not in cls:
            result.append(name)
            continue
        matched = sorted(c for c in classes if fnmatch.fnmatchcase(c, normal(cls.strip())))
        if not matched:
            failures.append(f"{cls.strip()}: no class of the library matches")
        result += [c + slash + base for c in matched]
    return result


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--library", required=True)
    parser.add_argument("--table", required=True)
    parser.add_argument("--nm", default="nm")
    parser.add_argument("--readelf", default="readelf")
    parser.add_argument("--cxxfilt", default="c++filt")
    parser.add_argument("--show", action="store_true", help="print each table as read")
    args = parser.parse_args()

    library = vtables.Library(args.library, args.nm, args.readelf)
    symbols = [s for s in library.symbols if s.startswith("_ZTV")]
    classes = {normal(d.removeprefix("vtable for ")): s
               for d, s in zip(vtables.demangle(args.cxxfilt, symbols), symbols)}

    failures, checked = [], 0
    for names, slots in read_table(args.table):
        expected = [expected_slot(s) for s in slots]
        for name in expand(names, classes, failures):
            cls, _, base = (part.strip() for part in name.partition("/"))
            symbol = classes.get(normal(cls))
            if symbol is None:
                failures.append(f"{cls}: no table of virtual operations in the library")
                continue
            tables = actual_tables(library, args.cxxfilt, symbol)
            checked += 1
            if args.show:
                for k, table in enumerate(tables if not base else []):
                    print(f"{cls} [{k}]: " + ", ".join(slot[0][0] for slot in table))
            if not base:
                failures += compare(cls, expected, tables[0],
                                    [s for t in tables[1:] for s in t])
            elif not any(not compare(name, expected, t) for t in tables[1:]):
                failures.append(f"{name}: no table of {cls} after its first has these slots")
    for line in failures:
        print(f"FAIL  {line}")
    print(f"{checked} tables checked, {len(failures)} failing")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
