#!/usr/bin/env python3
"""Reads the tables of virtual operations that an ELF shared library defines.

A table is the `_ZTV...` symbol's contents: for each of its sub-tables an offset-to-top word,
a type-information word and then one word per slot. Every slot word carries a dynamic
relocation: against a symbol (a function of another library, or an exported one of this
library) or relative to the library's base (a function found by address in its own symbol
table). The offset-to-top word never carries one, so it separates the sub-tables; words
without one that no type-information word follows are null slots instead (an abstract
class's destructors).
"""

import os
import re
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "host_imports"))
from host_imports import demangle  # noqa: E402,F401


def _run(*args):
    return subprocess.run(args, check=True, capture_output=True, text=True).stdout


class Library:
    def __init__(self, path, nm, readelf):
        self.path = path
        self.word = 8 if "ELF64" in _run(readelf, "-hW", path) else 4
        self.symbols = {}  # name -> (address, size)
        self.at = {}       # address -> the functions there (identical ones may be folded)
        for line in _run(nm, "-S", "--defined-only", path).splitlines():
            parts = line.split()
            if len(parts) == 4:
                address, size, kind, name = parts
                self.symbols[name] = (int(address, 16), int(size, 16))
                if kind in "TtWwi":
                    names = self.at.setdefault(int(address, 16), [])
                    name = name.removesuffix(".localalias")
                    if name not in names:
                        names.append(name)
        self.relocations = {}  # offset -> the names of the functions it may point to
        pattern = re.compile(r"^([0-9a-f]+)\s+[0-9a-f]+\s+(\S+)\s+(?:[0-9a-f]+\s+(\S+)\s*\+\s*"
                             r"([0-9a-f]+)|([0-9a-f]+))\s*$")
        for line in _run(readelf, "-rW", path).splitlines():
            match = pattern.match(line.strip())
            if not match:
                continue
            offset = int(match.group(1), 16)
            if match.group(3):
                self.relocations[offset] = [match.group(3).split("@")[0]]
            else:
                addend = int(match.group(5), 16)
                self.relocations[offset] = self.at.get(addend, [f"<{addend:#x}>"])

    def tables(self, symbol):
        """The sub-tables of the table `symbol`, each a list of slots, each slot the mangled
        names of the functions it may point to."""
        address, size = self.symbols[symbol]
        tables, current = [], None
        for offset in range(address, address + size, self.word):
            target = self.relocations.get(offset)
            after = offset + self.word
            while after < address + size and after not in self.relocations:
                after += self.word
            following = self.relocations.get(after, [])
            if target is None and current is not None and following and not any(
                    n.startswith(("_ZTI", "<")) for n in following):
                current.append(["<null>"])  # an abstract class's deleting destructor
            elif target is None:
                current = None  # an offset-to-top word: the next sub-table follows
            elif current is None:
                current = []  # its type-information word
                tables.append(current)
            else:
                current.append(target)
        return tables
