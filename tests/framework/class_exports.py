#!/usr/bin/env python3
"""Checks that every class of the type library is exported whole, under its own name.

The classes come from the tables they are made from: the seventeen types from the tests'
type table (tests/support/type_cases.cpp), the parameter types, arrays, index families and
multiports from the declarations and instantiations in the library's sources; each group's
size is checked too, so a class that drops out of its table is noticed. Per class, the members
its kind has (constructors, destructor, copy assignment, operator* and its operations) must be
exported; and, where the library's own symbol table is at hand, no member of these classes
that the library defines may stay unexported. The two reference instances the host supplies
must not be defined by the library at all.

tests/msvc/check_msvc_dll.py applies the same check to the DLL through expected_members() and
unexported(); run as a program, this checks the Linux library with nm.
"""

import argparse
import os
import re
import subprocess
import sys

# How many classes of each kind the library has.
EXPECTED_COUNTS = {"type": 17, "parameter": 6, "array": 11, "family": 28, "multiport": 3,
                   "named multiport": 9, "referred": 43}

# What the host supplies itself: the library declares these instances and defines none.
HOST_SUPPLIED = ("QV_Virtual<QV_REALPARAMETER>", "QV_External<QV_INTEGERPARAMETER>")

TYPE_OPERATIONS = ("{c}(bool, QV_Container*)", "~{c}()", "operator=({c} const&)", "operator*()",
                   "QV_ContainerId()", "Construct()", "SetDims()",
                   "ExecuteAssignments(int, int)", "ExecuteAssignments0(int, int, long)",
                   "SetUpEquations()", "JacPattern(int*&, int*&, QV_EquationType**)",
                   "Residuals(double*, int, int)", "Jacobian(double*, int, int)",
                   "QV_DefaultDESCRIPTION() const", "ContainerDerivesFrom(char const*)")

# A procedure class: its making and copying, the routine it names, its call before the
# evaluation, its derivative hand-over and its argument tables, each a local static of the
# operation that reads it.
PROCEDURE_MEMBERS = ("{c}(bool, int)", "{c}({c} const&)", "~{c}()", "operator=({c} const&)",
                     "ProcedureName() const", "DLLName() const", "Precall(bool)",
                     "CreateDerivatives()", "NegateDerivatives()", "Dimensions(int)",
                     "Type(int)", "IsVariableInput(int)", "ReturnsDerivatives()",
                     "Dimensions(int)::nDims", "Type(int)::iTypes",
                     "IsVariableInput(int)::bIsVar")

# The procedure template instance each procedure derives from.
PROCEDURE_TEMPLATE_MEMBERS = (
    "{c}()", "{c}({cls} const&)", "~{c}()", "operator=({cls} const&)",
    "InputArgs()", "OutputArgs()", "TotalArgs()", "P()", "P() const",
    "Argument()", "Argument(QV_VarParam&)", "Argument(double)", "Argument(QV_IntegerSetIter&)",
    "Argument(int)", "Argument(QV_StringSetIter&)", "Argument(char const*)", "LastArgument()",
    "ByReference(int) const", "SetArg(bool)", "SetOffset(int)", "SetDimensionSize(int)",
    "Element(QV_VarParam&)", "GetOffset(int) const", "GetOffsets(int) const",
    "GetIntegerArg(int) const", "GetRealArg(int) const", "GetStringArg(int) const",
    "InitializeCStrings()", "PackInputVars()", "PackOutputVars()", "PackVal(int)",
    "PackVal(double)", "PackVal(char const*)", "PackVarInteger()", "PackVarReal()",
    "PackVarString()", "UnpackInputVars()", "CallFn(QV_ProcedureType::CallType, bool)",
    "Residuals(double*, int&)", "Jacobian(double*, int&)",
    "NZAndEqnContribution(QV_StructureTypeEx*, int, int&)",
    "NZAndEqnContribution(QV_ModelTypeEx*, int, int&)",
    "CreateEquationsAndSetGroup(int, int, int*&, int*&, int&, QV_StructureTypeEx*, char const*, "
    "int)",
    "CreateEquationsAndSetGroup(int, int, int*&, int*&, int&, QV_ModelTypeEx*, char const*, int)")

# The default accessors each parameter type replaces, by its host base.
PARAMETER_ACCESSORS = {
    "QV_REALPARAMETER": ("QV_PQCol() const", "QV_PQRow() const",
                         "QV_DefaultPHYSICALQUANTITY() const", "QV_DefaultBASEUOMNAME() const"),
    "QV_STRINGPARAMETER": ("QV_DefaultVALUE() const", "QV_DefaultVALID() const"),
    "QV_INTEGERPARAMETER": ("QV_DefaultVALUE() const", "QV_DefaultLOWER() const"),
}

INDEX_TYPES = {"I": "int", "S": "char const*"}
ARRAY_LETTERS = {"QV_ARRAY_I": "I", "QV_ARRAY_S": "S", "QV_ARRAY_II": "II",
                 "QV_ARRAY_III": "III"}

# Folders whose sources are not part of the library.
NOT_LIBRARY = {"tests", "testhost", "tools", "bench", "host", "routines"}


def normalise(name):
    """One spelling of a demangled name on every toolchain: no blank between closing '>'s."""
    while "> >" in name:
        name = name.replace("> >", ">>")
    return name


def library_sources(source_dir):
    """The text of every source file of the library, in a fixed order."""
    for root, dirs, files in os.walk(source_dir):
        if root == source_dir:
            dirs[:] = [d for d in dirs if d not in NOT_LIBRARY]
        dirs[:] = sorted(d for d in dirs if not d.startswith((".", "build")))
        for name in sorted(files):
            if name.endswith((".cpp", ".h")):
                with open(os.path.join(root, name), encoding="utf-8") as f:
                    yield f.read()


def _members(cls, signatures):
    """`cls::signature` for each signature ({c} stands for the class's unqualified name), and
    the class's virtual table."""
    bare = re.sub(r"<.*", "", cls)
    return [f"{cls}::{s.format(c=bare, cls=cls)}" for s in signatures] + [f"vtable for {cls}"]


def expected_members(source_dir):
    """(class -> the demangled members it must export, counts per kind, problems)."""
    with open(os.path.join(source_dir, "tests", "support", "type_cases.cpp"),
              encoding="utf-8") as f:
        types = re.findall(r"Case<(QV_\w+)>\(", f.read())
    text = "\n".join(library_sources(source_dir))
    parameters = re.findall(r"^class PELLORIN_API (QV_\w+) : public (QV_\w+PARAMETER) \{", text,
                            re.MULTILINE)
    arrays = sorted(set(normalise(a) for a in
                        re.findall(r"^template class (QV_ARRAY_\w+<[\w, ]+>);", text,
                                   re.MULTILINE)))
    families = re.findall(r"^\s*X\((\w+), '[IS]'", text, re.MULTILINE)
    named = re.findall(r"^\s*X\((QV_QV_\w+), (QV_\w+)\)", text, re.MULTILINE)
    multiports = sorted({f"QV_MULTIPORT<{port}>" for _, port in named})

    members = {}
    for c in types:
        members[c] = _members(c, TYPE_OPERATIONS) + [f"typeinfo for {c}"]
    for c, base in parameters:
        members[c] = _members(c, ("{c}(bool)", "~{c}()", "operator=({c} const&)", "operator*()")
                              + PARAMETER_ACCESSORS[base])
    for a in arrays:
        index = ", ".join(INDEX_TYPES[k] for k in ARRAY_LETTERS[a.split("<")[0]])
        members[a] = _members(a, ("{c}()", "{c}({cls} const&)", "~{c}()",
                                  "operator=({cls} const&)", "operator*()", "v()",
                                  f"operator()({index})", "NewElement()"))
    for word in families:
        c = f"QV_BASE_{word}"
        index = ", ".join(INDEX_TYPES[k] for k in word)
        sets = ", ".join("QV_Set&" for _ in word)
        members[c] = _members(c, ("{c}()", "{c}({c} const&)", "~{c}()", "operator=({c} const&)",
                                  f"Find({index})", f"BuildIndexString({index})",
                                  f"SetDim({sets})", "NewElements()",
                                  "CreateMissingArrayElement(char const*)"))
    for m in multiports:
        members[m] = _members(m, ("{c}()", "~{c}()", "operator=({cls} const&)", "operator*()",
                                  "DumpStructure()", "PortCount(bool) const",
                                  "GetPort(int&, bool)",
                                  "CreateConnectionPort(char const*, unsigned int)",
                                  "FindConnectionPort(char const*)"))
    for c, _ in named:
        members[c] = _members(c, ("{c}()", "~{c}()", "operator=({c} const&)", "operator*()"))

    referred = types + [c for c, _ in parameters] + arrays + [c for c, _ in named]
    for t in referred:
        members[f"QV_External<{t}>"] = _members(
            f"QV_External<{t}>", ("{c}()", "{c}({cls} const&)", "~{c}()",
                                  "operator=({cls} const&)", "operator*()",
                                  "ExternalTypeName()"))
        members[f"QV_Virtual<{t}>"] = _members(
            f"QV_Virtual<{t}>", ("{c}()", "~{c}()", "operator=({cls} const&)", "operator*()",
                                 "NewDefaultVirtual()", "VirtualBaseType()"))
    structure = "QV_GLOBALSTRUCTUREREFNAME<QV_GENERICSTRUCTURE>"
    members[structure] = _members(structure, (
        "{c}()", "~{c}()", "operator=({cls} const&)", "operator*()",
        "operator QV_GENERICSTRUCTURE&()", "CreateDummyInstance()",
        "CheckCompatibleStructureType(QV_ModelType*)"))

    # The procedures and their template instances, whole.
    for c in re.findall(r"^class PELLORIN_API (QVProc_\w+)\b", text, re.MULTILINE):
        members[c] = _members(c, PROCEDURE_MEMBERS) + [f"typeinfo for {c}"]
    for c in re.findall(r"^template class (QV_ProcedureTemplate<[\w, ]+>);", text, re.MULTILINE):
        members[c] = _members(normalise(c), PROCEDURE_TEMPLATE_MEMBERS) + [f"typeinfo for {c}"]

    counts = {"type": len(types), "parameter": len(parameters), "array": len(arrays),
              "family": len(families), "multiport": len(multiports),
              "named multiport": len(named), "referred": len(referred)}
    problems = [f"{n} {kind} classes in the sources, not {EXPECTED_COUNTS[kind]}"
                for kind, n in counts.items() if n != EXPECTED_COUNTS[kind]]
    return members, counts, problems


THUNK = re.compile(r"^(?:(?:non-)?virtual thunk to |covariant return thunk to )")


def member_of(symbol, cls):
    """Whether the demangled symbol is a member function or data member of cls (not an
    entity local to one of its functions, nor a compiler's local copy of one)."""
    s = THUNK.sub("", symbol)
    local = re.search(r"\)( const)?::", s) is not None
    return s.startswith(cls + "::") and not local and "[clone " not in s


def check(members, exported, defined=None, check_line=None):
    """Per class, the members it does not export; per host-supplied instance, what the
    library defines of it. `exported` and `defined` are sets of normalised demangled names;
    `defined` (the library's own symbol table, exported or not) may be None."""
    failures = []
    for cls in sorted(members):
        missing = [m for m in members[cls] if m not in exported]
        unexported = sorted(s for s in (defined or ()) if s not in exported and
                            member_of(s, cls))
        ok = not missing and not unexported
        what = f"{cls} exported whole ({len(members[cls])} members)"
        if missing:
            what += f": missing {'; '.join(missing)}"
        if unexported:
            what += f": defined but not exported {'; '.join(unexported)}"
        check_line(ok, what)
        if not ok:
            failures.append(cls)
    for instance in HOST_SUPPLIED:
        own = sorted(s for s in exported | (defined or set())
                     if member_of(s, instance) or s.endswith(f" for {instance}"))
        check_line(not own, f"{instance} left to the host" +
                   (f": the library defines {'; '.join(own)}" if own else ""))
        if own:
            failures.append(instance)
    return failures


def nm_names(nm, library, dynamic):
    args = [nm, "-C", "--defined-only"] + (["-D"] if dynamic else []) + [library]
    out = subprocess.run(args, check=True, capture_output=True, text=True).stdout
    names = set()
    for line in out.splitlines():
        parts = line.split(maxsplit=2)
        if len(parts) == 3:
            names.add(normalise(parts[2]))
    return names


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--library", required=True)
    parser.add_argument("--source-dir", required=True)
    parser.add_argument("--nm", default="nm")
    args = parser.parse_args()

    failures = []

    def check_line(ok, what):
        print(("ok    " if ok else "FAIL  ") + what)
        if not ok:
            failures.append(what)

    members, counts, problems = expected_members(args.source_dir)
    for problem in problems:
        check_line(False, problem)
    check(members, nm_names(args.nm, args.library, True), nm_names(args.nm, args.library, False),
          check_line)
    print(f"{len(members)} classes ({', '.join(f'{n} {k}' for k, n in counts.items())}); "
          f"{len(failures)} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
