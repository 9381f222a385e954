#!/usr/bin/env python3
"""Checks what a 32-bit Windows host sees of the cross-built type library.

Everything is read from the DLL with the toolchain's objdump (`-p` for the headers, exports,
imports and resource tree; `-h` for the section table that locates the resource's bytes):

- the file is a PE32 DLL for i386;
- every creatable type in the sources exports <TYPE>Factory, <TYPE>PropertyInfo,
  _Compatibility<TYPE> and _JacData<TYPE> under exactly those names;
- the resource of type "CONTENT", name "XML", language 2057 is there and holds the document
  byte for byte;
- the library imports only the system DLLs below and the host runtime, and from the host
  runtime only the symbols of the host services in host/services.txt;
- the entry point is linked in (it is what imports DisableThreadLibraryCalls);
- every class of the library is exported whole under its own name: per class the members
  of its kind, and no member that the DLL's symbol table defines is left out of its exports
  (tests/framework/class_exports.py); the two reference instances the host supplies are
  imported, never defined;
- every procedure class in the sources and its template instance are exported whole, as part
  of the classes above;
- the routine library (--routine-dll) is a PE32 DLL that exports each routine the procedures
  name and imports only the system DLLs.
"""

import argparse
import os
import re
import subprocess
import sys

for folder in ("host_imports", "framework"):
    sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", folder))
import class_exports  # noqa: E402
import host_imports  # noqa: E402

# The compiler's runtime is linked in statically, so beyond the host runtime only the system
# libraries that runtime is built on remain: KERNEL32 and the system C runtime msvcrt (the
# default C runtime of this mingw-w64 toolchain). Windows compares DLL names without case.
SYSTEM_DLLS = {"kernel32.dll", "msvcrt.dll"}
HOST_DLL = "vuzizev.dll"

RESOURCE_PATH = ("CONTENT", "XML", 2057)

EXPORT_MACRO = re.compile(r"^\s*PELLORIN_TYPE_EXPORTS\(\s*([A-Z0-9_]+)\s*\)", re.MULTILINE)
PROCEDURE_CLASS = re.compile(r"^class PELLORIN_API (QVProc_[A-Z0-9_]+)\b", re.MULTILINE)
ROUTINE_NAME = re.compile(r"::ProcedureName\(\) const \{\s*return \"([A-Za-z0-9_]+)\";")


def creatable_types(source_dir):
    """The types whose exports the library's sources declare."""
    types = set()
    for text in class_exports.library_sources(source_dir):
        types.update(EXPORT_MACRO.findall(text))
    return sorted(types)


def procedures(source_dir):
    """The procedure classes of the library's sources and the routines they name."""
    classes, routines = set(), set()
    for text in class_exports.library_sources(source_dir):
        classes.update(PROCEDURE_CLASS.findall(text))
        routines.update(ROUTINE_NAME.findall(text))
    return sorted(classes), sorted(routines)


def check_pe32_dll(text, check, what):
    check(re.search(r"file format pei-i386$", text, re.MULTILINE) is not None,
          f"{what}: file format pei-i386 (machine i386)")
    check(re.search(r"^Magic\s+010b\s+\(PE32\)$", text, re.MULTILINE) is not None,
          f"{what}: optional header magic 010b (PE32)")
    flags = re.search(r"^Characteristics 0x([0-9a-f]+)$", text, re.MULTILINE)
    check(flags is not None and int(flags.group(1), 16) & 0x2000 != 0,
          f"{what}: characteristics: DLL")


def objdump(tool, flag, dll):
    return subprocess.run([tool, flag, dll], check=True, capture_output=True,
                          text=True).stdout


def block_after(lines, heading):
    """The lines after the first line equal to `heading`, up to the next empty line."""
    try:
        start = lines.index(heading) + 1
    except ValueError:
        return []
    end = start
    while end < len(lines) and lines[end].strip():
        end += 1
    return lines[start:end]


def exported_names(lines):
    names = []
    for line in block_after(lines, "[Ordinal/Name Pointer] Table"):
        m = re.fullmatch(r"\t\[\s*\d+\] (\S+)", line)
        if m:
            names.append(m.group(1))
    return names


def imports(lines):
    """Imported DLL name -> the names imported from it."""
    result = {}
    current = None
    for line in lines:
        m = re.fullmatch(r"\tDLL Name: (\S+)", line)
        if m:
            current = result.setdefault(m.group(1), [])
            continue
        m = re.fullmatch(r"\t[0-9a-f]+\s+\d+\s+(\S+)", line)
        if m and current is not None:
            current.append(m.group(1))
        elif not line.startswith("\t"):
            current = None
    return result


def resources(lines):
    """(type, name, language) -> (RVA, size) of every leaf of the resource tree.

    objdump indents each level of the tree by one more space; a named entry prints its name,
    a numbered one its ID."""
    leaves = {}
    path = []  # (indent, key) of the entries above the current line
    for line in lines:
        m = re.fullmatch(r"[0-9a-f]{3}( +)(.*)", line)
        if not m:
            continue
        indent, text = len(m.group(1)), m.group(2)
        entry = re.match(r"Entry: (?:name: \[[^]]*\]: (.*?)|ID: (0x[0-9a-f]+)), Value:", text)
        if entry:
            path = [p for p in path if p[0] < indent]
            key = entry.group(1) if entry.group(1) is not None else int(entry.group(2), 16)
            path.append((indent, key))
            continue
        leaf = re.match(r"Leaf: Addr: (0x[0-9a-f]+), Size: (0x[0-9a-f]+)", text)
        if leaf:
            leaves[tuple(k for _, k in path)] = (int(leaf.group(1), 16), int(leaf.group(2), 16))
    return leaves


def defined_symbols(tool, dll):
    """The external symbols that the DLL's own symbol table defines, without the leading
    underscore of i386 names."""
    names = []
    for line in objdump(tool, "-t", dll).splitlines():
        m = re.match(r"\[\s*\d+\]\(sec\s+(-?\d+)\).*\(scl\s+(\d+)\).* 0x[0-9a-f]+ (\S+)$", line)
        if m and int(m.group(1)) > 0 and m.group(2) == "2":
            names.append(m.group(3)[1:] if m.group(3).startswith("_") else m.group(3))
    return names


def file_offset(section_table, image_base, rva):
    """The file offset of an RVA, from `objdump -h`'s VMA and file offset columns."""
    vma = image_base + rva
    for m in re.finditer(r"^\s*\d+\s+\S+\s+([0-9a-f]{8})\s+([0-9a-f]{8})\s+[0-9a-f]{8}\s+"
                         r"([0-9a-f]{8})", section_table, re.MULTILINE):
        size, start, offset = (int(g, 16) for g in m.groups())
        if start <= vma < start + size:
            return offset + vma - start
    return None


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--objdump", required=True)
    parser.add_argument("--dll", required=True)
    parser.add_argument("--source-dir", required=True)
    parser.add_argument("--resource", required=True, help="the document the resource holds")
    parser.add_argument("--routine-dll", required=True, help="the routine library")
    parser.add_argument("--services", required=True, help="the list of host services")
    parser.add_argument("--cxxfilt", required=True)
    args = parser.parse_args()

    text = objdump(args.objdump, "-p", args.dll)
    lines = text.splitlines()
    failures = []

    def check(ok, what):
        print(("ok    " if ok else "FAIL  ") + what)
        if not ok:
            failures.append(what)

    # The file.
    check_pe32_dll(text, check, os.path.basename(args.dll))

    # The exports.
    types = creatable_types(args.source_dir)
    check(bool(types), f"creatable types in the sources: {' '.join(types)}")
    exported = set(exported_names(lines))
    for t in types:
        wanted = [f"{t}Factory", f"{t}PropertyInfo", f"_Compatibility{t}", f"_JacData{t}"]
        missing = [n for n in wanted if n not in exported]
        check(not missing, f"exports of {t}" + (f": missing {' '.join(missing)}" if missing
                                                 else ""))

    # Every class whole, under its own name.
    members, counts, problems = class_exports.expected_members(args.source_dir)
    for problem in problems:
        check(False, problem)
    demangled = {class_exports.normalise(n) for n in
                 host_imports.demangle(args.cxxfilt, sorted(exported))}
    defined = {class_exports.normalise(n) for n in
               host_imports.demangle(args.cxxfilt, defined_symbols(args.objdump, args.dll))}
    class_exports.check(members, demangled, defined, check)

    # The procedures and the routines they name (their classes are checked whole above).
    classes, routines = procedures(args.source_dir)
    check(bool(classes) and bool(routines),
          f"procedures in the sources: {' '.join(classes)} (routines {' '.join(routines)})")

    # The routine library.
    routine_text = objdump(args.objdump, "-p", args.routine_dll)
    routine_lines = routine_text.splitlines()
    check_pe32_dll(routine_text, check, os.path.basename(args.routine_dll))
    routine_exports = set(exported_names(routine_lines))
    for routine in routines:
        check(routine in routine_exports, f"{os.path.basename(args.routine_dll)} exports {routine}")
    routine_imports = sorted(imports(routine_lines))
    check(all(n.lower() in SYSTEM_DLLS for n in routine_imports),
          f"{os.path.basename(args.routine_dll)} imports only {' '.join(routine_imports)}")

    # The resource.
    leaves = resources(block_after(lines, "The .rsrc Resource Directory section:"))
    leaf = leaves.get(RESOURCE_PATH)
    check(leaf is not None, "resource CONTENT/XML/2057" +
          ("" if leaf else f": found only {sorted(map(str, leaves))}"))
    if leaf is not None:
        with open(args.resource, "rb") as f:
            document = f.read()
        base = re.search(r"^ImageBase\s+([0-9a-f]+)$", text, re.MULTILINE)
        offset = file_offset(objdump(args.objdump, "-h", args.dll), int(base.group(1), 16),
                             leaf[0]) if base else None
        data = b""
        if offset is not None:
            with open(args.dll, "rb") as f:
                f.seek(offset)
                data = f.read(leaf[1])
        check(data == document,
              f"resource bytes equal {os.path.basename(args.resource)} ({len(document)} bytes)" +
              ("" if data == document else f": {leaf[1]} bytes at offset {offset} differ"))

    # The imports.
    imported = imports(lines)
    names = sorted(imported)
    unexpected = [n for n in names if n.lower() not in SYSTEM_DLLS | {HOST_DLL}]
    check(not unexpected, f"imports {' '.join(names)}" +
          (f": not allowed {' '.join(unexpected)}" if unexpected else ""))
    check(any(n.lower() == HOST_DLL for n in names), f"imports the host runtime {HOST_DLL}")
    # A __stdcall function's import carries its argument bytes (`@12`); the service is the
    # function.
    from_host = [re.sub(r"@\d+$", "", s) for k, v in imported.items() if k.lower() == HOST_DLL
                 for s in v]
    try:
        services = host_imports.load_services(args.services, "win32")
        stray = host_imports.unlisted(host_imports.demangle(args.cxxfilt, from_host), services)
        check(not stray, f"{len(set(from_host))} imports from {HOST_DLL}, all host services" +
              (f": not a host service: {'; '.join(stray)}" if stray else ""))
    except host_imports.ListError as e:
        check(False, str(e))
    kernel = next((v for k, v in imported.items() if k.lower() == "kernel32.dll"), [])
    check("DisableThreadLibraryCalls" in kernel,
          "entry point linked (KERNEL32 DisableThreadLibraryCalls imported)")

    if failures:
        print(f"{args.dll}: {len(failures)} check(s) failed", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
