#!/usr/bin/env python3
"""Checks what a host built in the Microsoft C++ ABI sees of the type library's DLL.

Read on the build machine with llvm-readobj, names undecorated with llvm-undname and spelt as
c++filt spells them (msvc_names.py), so that the lists written for the other builds apply:

- the file is a PE32 DLL for i386, and so is the routine library, which exports its routines
  and imports only the C runtime and kernel32;
- every creatable type exports its four entry points under their plain names;
- every class is exported whole (tests/framework/class_exports.py): the members its kind has,
  and every member that the library's objects define; type descriptors excepted, which this
  ABI never exports;
- the resource CONTENT/XML/2057 is there;
- the library imports only from vuzizev.dll, the C runtime (vcruntime140, ucrtbase) and
  kernel32, and from vuzizev.dll only the symbols of the services in host/services.txt;
- the members whose decorated names carry more than their spelling (a const result, a
  struct's tag) are exported or imported under exactly those names, and under no other;
- it has no dynamic initialisers: its .CRT section holds only the two bounds of the table
  (cmake/msvc/runtime/startup.cpp); and no symbol its objects define names std::vector or
  std::string;
- and, for the record, what it takes from the C runtime and kernel32.
"""

import argparse
import os
import re
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
for folder in ("host_imports", "framework"):
    sys.path.insert(0, os.path.join(HERE, "..", folder))
import class_exports  # noqa: E402
import host_imports  # noqa: E402
import msvc_names  # noqa: E402

HOST_DLL = "vuzizev.dll"
RUNTIME_DLLS = {"vcruntime140.dll", "ucrtbase.dll", "kernel32.dll"}

# Names whose decoration carries what the spelling above leaves out (a result's const, a
# struct's tag, a local static's function): a host finds these members only under exactly
# these names, and under no other spelling of them.
PROCEDURE = "?$QV_ProcedureTemplate@VQVProc_INTERPOLATE@@$03$00$01VQV_ProcedureType_C@@$03@@"
DECORATED_EXPORTS = (
    "?Dimensions@QVProc_INTERPOLATE@@SA?BHH@Z",       # static const int Dimensions(int)
    "?Type@QVProc_INTERPOLATE@@SA?BHH@Z",             # static const int Type(int)
    "?IsVariableInput@QVProc_INTERPOLATE@@SA?B_NH@Z",  # static const bool IsVariableInput(int)
    "?nDims@?1??Dimensions@QVProc_INTERPOLATE@@SA?BHH@Z@4QBEB",
    "?iTypes@?1??Type@QVProc_INTERPOLATE@@SA?BHH@Z@4QBEB",
    "?bIsVar@?1??IsVariableInput@QVProc_INTERPOLATE@@SA?B_NH@Z@4QB_NB",
    f"?InputArgs@{PROCEDURE}SA?BHXZ",                # static const int InputArgs()
    f"?OutputArgs@{PROCEDURE}SA?BHXZ",
    f"?TotalArgs@{PROCEDURE}SA?BHXZ",
    f"?SetArg@{PROCEDURE}QAEX_N@Z",                  # void SetArg(bool)
)
DECORATED_IMPORTS = (
    "??0QV_DynamicProcExtensions@@QAE@XZ",
    "??0QV_DynamicProcExtensions@@QAE@ABU0@@Z",       # struct: U, not V
    "??4QV_DynamicProcExtensions@@QAEAAU0@ABU0@@Z",
)

EXPORT_MACRO = re.compile(r"^\s*PELLORIN_TYPE_EXPORTS\(\s*([A-Z0-9_]+)\s*\)", re.MULTILINE)
ROUTINE_NAME = re.compile(r"::ProcedureName\(\) const \{\s*return \"([A-Za-z0-9_]+)\";")


def creatable_types(source_dir):
    """The types whose exports the library's sources declare."""
    types = set()
    for text in class_exports.library_sources(source_dir):
        types.update(EXPORT_MACRO.findall(text))
    return sorted(types)


def routines(source_dir):
    """The routines the library's procedures name."""
    found = set()
    for text in class_exports.library_sources(source_dir):
        found.update(ROUTINE_NAME.findall(text))
    return sorted(found)


def readobj(tool, flag, path):
    return subprocess.run([tool, flag, path], check=True, capture_output=True,
                          text=True).stdout


def exports(tool, path):
    return re.findall(r"^\s+Name: (\S+)$", readobj(tool, "--coff-exports", path), re.MULTILINE)


def imports(tool, path):
    """DLL name (lower case) -> imported names."""
    result, current = {}, None
    for line in readobj(tool, "--coff-imports", path).splitlines():
        m = re.match(r"\s+Name: (\S+)$", line)
        if m:
            current = result.setdefault(m.group(1).lower(), [])
        m = re.match(r"\s+Symbol: (\S+)", line)
        if m and current is not None:
            current.append(m.group(1))
    return result


def is_pe32_dll(tool, path):
    text = readobj(tool, "--file-headers", path)
    return ("Format: COFF-i386" in text and re.search(r"Magic: 0x10B", text) is not None and
            "IMAGE_FILE_DLL" in text)


def defined_in_objects(nm, objects):
    """The external symbols that the library's objects define."""
    out = subprocess.run([nm, "--defined-only", "--extern-only", "--format=just-symbols"] +
                         objects, check=True, capture_output=True, text=True).stdout
    return sorted({line.strip() for line in out.splitlines() if line.strip() and
                   not line.endswith(":")})


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--readobj", required=True)
    parser.add_argument("--undname", required=True)
    parser.add_argument("--nm", required=True)
    parser.add_argument("--dll", required=True)
    parser.add_argument("--routine-dll", required=True)
    parser.add_argument("--objects", required=True, help="the library's objects, ;-separated")
    parser.add_argument("--source-dir", required=True)
    parser.add_argument("--services", required=True)
    args = parser.parse_args()
    failures = []

    def check(ok, what):
        print(("ok    " if ok else "FAIL  ") + what)
        if not ok:
            failures.append(what)

    name = os.path.basename(args.dll)
    check(is_pe32_dll(args.readobj, args.dll), f"{name}: PE32 DLL for i386")

    exported = exports(args.readobj, args.dll)
    types = creatable_types(args.source_dir)
    check(bool(types), f"creatable types in the sources: {' '.join(types)}")
    for t in types:
        missing = [n for n in (f"{t}Factory", f"{t}PropertyInfo", f"_Compatibility{t}",
                               f"_JacData{t}") if n not in exported]
        check(not missing, f"exports of {t}" + (f": missing {' '.join(missing)}" if missing
                                                 else ""))

    members, _, problems = class_exports.expected_members(args.source_dir)
    for problem in problems:
        check(False, problem)
    members = {c: [m for m in ms if not m.startswith("typeinfo for ")]
               for c, ms in members.items()}
    spelt = msvc_names.spelled(args.undname, exported)
    objects = [o for o in args.objects.split(";") if o]
    # Entities the compiler makes for a class (`scalar deleting dtor', RTTI descriptors) are
    # the ABI's own and never exported; nor is a member template's implicit instance.
    defined = {s for s in msvc_names.spelled(args.undname, defined_in_objects(args.nm, objects))
               .values() if "`" not in s and not re.search(r"::\w+<[^:]*>\(", s)}
    class_exports.check(members, {class_exports.normalise(s) for s in spelt.values()},
                        {class_exports.normalise(s) for s in defined}, check)
    containers = sorted(s for s in defined
                        if re.search(r"\bstd::(?:__1::)?(?:vector|basic_string)<", s))
    check(not containers, "no std::vector or std::string in the library" +
          "".join(f"\n        defines {s}" for s in containers[:5]))

    text = readobj(args.readobj, "--coff-resources", args.dll)
    check(re.search(r"Type: CONTENT \[.*?Name: XML \[.*?Language: \(ID 2057\)", text,
                    re.DOTALL) is not None, "resource CONTENT/XML/2057")

    imported = imports(args.readobj, args.dll)
    others = sorted(set(imported) - RUNTIME_DLLS - {HOST_DLL})
    check(not others, f"imports only {HOST_DLL}, the C runtime and kernel32" +
          (f": also {' '.join(others)}" if others else ""))
    services = host_imports.load_services(args.services, "win32")
    from_host = msvc_names.spelled(args.undname, imported.get(HOST_DLL, []))
    stray = sorted(s for s in from_host.values() if s not in services)
    used = {services[s] for s in from_host.values() if s in services}
    check(bool(from_host) and not stray,
          f"{len(from_host)} imports from {HOST_DLL}, {len(stray)} not a host service; "
          f"{len(used)} of {len(host_imports.service_names(args.services))} services in use" +
          ("".join(f"\n        not a host service: {s}" for s in stray)))

    every = set(exported) | {n for names in imported.values() for n in names}
    spellings = msvc_names.spelled(args.undname, sorted(every | set(DECORATED_EXPORTS) |
                                                        set(DECORATED_IMPORTS)))
    for wanted, where, how in ((DECORATED_EXPORTS, set(exported), "exported"),
                               (DECORATED_IMPORTS, set(imported.get(HOST_DLL, [])),
                                f"imported from {HOST_DLL}")):
        for decorated in wanted:
            others = sorted(n for n in every - {decorated}
                            if spellings[n] == spellings[decorated])
            check(decorated in where and not others,
                  f"{spellings[decorated]} {how} as {decorated}" +
                  ("" if decorated in where else ": it is not") +
                  "".join(f"\n        also as {n}" for n in others))

    sections = readobj(args.readobj, "--sections", args.dll)
    crt = re.search(r"Name: \.CRT .*?VirtualSize: 0x([0-9A-F]+)", sections, re.DOTALL)
    check(crt is not None and int(crt.group(1), 16) == 8,
          "no dynamic initialisers (.CRT holds only the table's two bounds)")

    for dll in sorted(set(imported) & RUNTIME_DLLS):
        print(f"info  from {dll}: {' '.join(sorted(imported[dll]))}")

    routine = os.path.basename(args.routine_dll)
    check(is_pe32_dll(args.readobj, args.routine_dll), f"{routine}: PE32 DLL for i386")
    named = routines(args.source_dir)
    check(bool(named), f"routines named in the sources: {' '.join(named)}")
    routine_exports = exports(args.readobj, args.routine_dll)
    for r in named:
        check(r in routine_exports, f"{routine} exports {r}")
    routine_imports = sorted(imports(args.readobj, args.routine_dll))
    check(set(routine_imports) <= RUNTIME_DLLS,
          f"{routine} imports only {' '.join(routine_imports)}")

    if failures:
        print(f"{name}: {len(failures)} check(s) failed", file=sys.stderr)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
