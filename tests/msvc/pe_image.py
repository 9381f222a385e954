"""Reads a 32-bit PE image (a DLL of the Microsoft C++ ABI) as its loader and a host see it:
sections, exports, imports with their import thunks, base relocations, and the vftables that
its run-time type information describes.

A vftable is found through its complete object locator: the word before the table's first
slot points to it, and it names the class (its type descriptor), the offset of the table's
vfptr in the complete object, and the class's bases with their offsets (its class hierarchy
descriptor), which tell which base's table inside the class it is. The slots follow: words
that carry a base relocation and point into executable code. Each slot is resolved to the
names the DLL exports at that address, or to the import that the thunk there jumps through.
"""

import struct

IMAGE_SCN_MEM_EXECUTE = 0x20000000
IMAGE_REL_BASED_HIGHLOW = 3


class Section:
    def __init__(self, raw):
        name, self.vsize, self.rva, self.rawsize, self.rawptr = struct.unpack_from(
            "<8sIIII", raw)
        self.name = name.rstrip(b"\0").decode("ascii", "replace")
        self.flags = struct.unpack_from("<I", raw, 36)[0]

    def holds(self, rva):
        return self.rva <= rva < self.rva + max(self.vsize, self.rawsize)


class Slot:
    """One vftable entry: its address and what the DLL calls the function there."""

    def __init__(self, rva, exported=(), imported=None):
        self.rva = rva
        self.exported = list(exported)  # decorated names exported at this address
        self.imported = imported         # (dll, name) when the address is an import thunk

    def names(self):
        if self.imported:
            return [self.imported[1]]
        return self.exported


class VFTable:
    def __init__(self, rva, type_name, offset, bases, slots):
        self.rva = rva
        self.type_name = type_name  # the type descriptor's name, e.g. ".?AVQV_DOMAIN@@"
        self.offset = offset        # of its vfptr in the complete object
        self.bases = bases          # type names of the bases whose vfptr is at that offset
        self.slots = slots


class PEImage:
    def __init__(self, path):
        with open(path, "rb") as f:
            self.data = f.read()
        pe = struct.unpack_from("<I", self.data, 0x3C)[0]
        if self.data[pe:pe + 4] != b"PE\0\0":
            raise ValueError(f"{path}: not a PE image")
        machine, count, _, _, _, optional_size, _ = struct.unpack_from("<HHIIIHH", self.data,
                                                                        pe + 4)
        optional = pe + 24
        if machine != 0x14C or struct.unpack_from("<H", self.data, optional)[0] != 0x10B:
            raise ValueError(f"{path}: not a PE32 image for i386")
        self.image_base = struct.unpack_from("<I", self.data, optional + 28)[0]
        directories = struct.unpack_from("<I", self.data, optional + 92)[0]
        self.directories = [struct.unpack_from("<II", self.data, optional + 96 + 8 * i)
                            for i in range(directories)]
        table = optional + optional_size
        self.sections = [Section(self.data[table + 40 * i:table + 40 * (i + 1)])
                         for i in range(count)]
        self.exports = self._exports()
        self.iat = self._imports()
        self.relocated = self._relocations()

    # ---- raw access ----------------------------------------------------------------------

    def section_of(self, rva):
        return next((s for s in self.sections if s.holds(rva)), None)

    def read(self, rva, size):
        s = self.section_of(rva)
        if s is None:
            raise ValueError(f"RVA {rva:#x} is in no section")
        start = rva - s.rva
        if start >= s.rawsize:
            return b"\0" * size
        return self.data[s.rawptr + start:s.rawptr + min(start + size, s.rawsize)].ljust(
            size, b"\0")

    def word(self, rva):
        return struct.unpack("<I", self.read(rva, 4))[0]

    def text(self, rva):
        out = bytearray()
        while True:
            c = self.read(rva + len(out), 1)
            if c == b"\0":
                return out.decode("latin-1")
            out += c

    def rva_of(self, va):
        """The RVA an absolute address stands for, or None outside the image."""
        rva = va - self.image_base
        return rva if self.section_of(rva) is not None else None

    def executable(self, rva):
        s = self.section_of(rva)
        return s is not None and bool(s.flags & IMAGE_SCN_MEM_EXECUTE)

    # ---- directories ---------------------------------------------------------------------

    def _exports(self):
        """RVA -> the names exported there."""
        rva, size = self.directories[0]
        result = {}
        if size == 0:
            return result
        base_fields = struct.unpack("<IIHHIIIIIII", self.read(rva, 40))
        count, names, functions, name_table, ordinals = base_fields[6:11]
        addresses = [self.word(functions + 4 * i) for i in range(count)]
        for i in range(names):
            name = self.text(self.word(name_table + 4 * i))
            ordinal = struct.unpack("<H", self.read(ordinals + 2 * i, 2))[0]
            result.setdefault(addresses[ordinal], []).append(name)
        return result

    def _imports(self):
        """IAT slot RVA -> (dll in lower case, imported name)."""
        rva, size = self.directories[1]
        result = {}
        while size:
            lookup, _, _, name, first = struct.unpack("<IIIII", self.read(rva, 20))
            if first == 0:
                break
            dll = self.text(name).lower()
            entries = lookup or first
            for i in range(1 << 20):
                entry = self.word(entries + 4 * i)
                if entry == 0:
                    break
                symbol = (f"#{entry & 0xFFFF}" if entry & 0x80000000 else
                          self.text(entry + 2))
                result[first + 4 * i] = (dll, symbol)
            rva += 20
        return result

    def _relocations(self):
        """The RVAs of the words that carry a base relocation."""
        rva, size = self.directories[5] if len(self.directories) > 5 else (0, 0)
        result, end = set(), rva + size
        while rva < end:
            page, block = struct.unpack("<II", self.read(rva, 8))
            if block < 8:
                break
            for i in range((block - 8) // 2):
                entry = struct.unpack("<H", self.read(rva + 8 + 2 * i, 2))[0]
                if entry >> 12 == IMAGE_REL_BASED_HIGHLOW:
                    result.add(page + (entry & 0xFFF))
            rva += block
        return result

    # ---- functions and vftables ----------------------------------------------------------

    def slot(self, rva):
        """What the function at rva is: exported there, or an import thunk (jmp [IAT])."""
        if rva in self.exports:
            return Slot(rva, self.exports[rva])
        code = self.read(rva, 6)
        if code[:2] == b"\xff\x25":
            target = self.rva_of(struct.unpack_from("<I", code, 2)[0])
            if target in self.iat:
                return Slot(rva, imported=self.iat[target])
        return Slot(rva)

    def _locator(self, rva):
        """(type name, offset, [(base type name, mdisp)]) of the complete object locator at
        rva, or None when none is there."""
        try:
            signature, offset, _, type_va, hierarchy_va = struct.unpack("<IIIII",
                                                                        self.read(rva, 20))
        except ValueError:
            return None
        type_rva, hierarchy_rva = self.rva_of(type_va), self.rva_of(hierarchy_va)
        if signature != 0 or type_rva is None or hierarchy_rva is None:
            return None
        name = self.text(type_rva + 8)
        if not name.startswith(".?A"):
            return None
        _, _, count, array_va = struct.unpack("<IIII", self.read(hierarchy_rva, 16))
        array_rva = self.rva_of(array_va)
        if array_rva is None:
            return None
        bases = []
        for i in range(count):
            descriptor = self.rva_of(self.word(array_rva + 4 * i))
            base_type, _, mdisp, pdisp = struct.unpack("<IIiI", self.read(descriptor, 16))
            if pdisp == 0xFFFFFFFF:  # not a virtual base: its place is fixed
                bases.append((self.text(self.rva_of(base_type) + 8), mdisp))
        return name, offset, bases

    def vftables(self):
        """Every vftable of the image, in address order."""
        tables = []
        for rva in sorted(self.relocated):
            s = self.section_of(rva)
            if s is None or s.flags & IMAGE_SCN_MEM_EXECUTE:
                continue
            target = self.rva_of(self.word(rva))
            if target is None or self.executable(target) or target + 20 > s.rva + s.vsize:
                continue
            locator = self._locator(target)
            if locator is None:
                continue
            name, offset, bases = locator
            slots, at = [], rva + 4
            while at in self.relocated:
                function = self.rva_of(self.word(at))
                if function is None or not self.executable(function):
                    break
                slots.append(self.slot(function))
                at += 4
            tables.append(VFTable(rva + 4, name, offset,
                                  [b for b, mdisp in bases if mdisp == offset], slots))
        return tables
