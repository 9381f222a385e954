#!/usr/bin/env python3
"""Checks that the type library calls the host only through the host services it lists.

Run on a Linux build: the library's undefined dynamic symbols (`nm -D --undefined-only`) that
the host library defines must each be a symbol of one service in the list (host/services.txt);
the others come from the C and C++ runtimes (and, in a sanitized build, the sanitizers'). tests/msvc/check_msvc_dll.py applies the same list to the DLL's imports
from vuzizev.dll through load_services() and unlisted().
"""

import argparse
import re
import subprocess
import sys

# The platform's size type, as c++filt spells it.
SIZE_TYPES = {"linux": "unsigned long", "win32": "unsigned int"}


class ListError(Exception):
    pass


def load_services(path, platform):
    """Symbol -> service, from the list at path, with `size_t` spelt as on platform."""
    size_type = SIZE_TYPES[platform]
    services = {}
    current = None
    with open(path, encoding="utf-8") as f:
        for number, raw in enumerate(f, 1):
            line = raw.rstrip("\n")
            if not line.strip() or line.lstrip().startswith("#"):
                continue
            if not line[0].isspace():
                current = line.strip()
                continue
            if current is None:
                raise ListError(f"{path}:{number}: a symbol before any service")
            symbol = re.sub(r"\bsize_t\b", size_type, line.strip())
            if symbol in services:
                raise ListError(f"{path}:{number}: {symbol} listed under both "
                                f"{services[symbol]} and {current}")
            services[symbol] = current
    return services


def service_names(path):
    """The services of the list, in order."""
    with open(path, encoding="utf-8") as f:
        return [line.strip() for line in f
                if line.strip() and not line[0].isspace() and not line.startswith("#")]


def demangle(cxxfilt, names):
    if not names:
        return []
    # -n: the names are as the linker sees them, with no leading underscore to strip (which
    # c++filt otherwise does on i686 Windows).
    out = subprocess.run([cxxfilt, "-n"], input="\n".join(names) + "\n", check=True,
                         capture_output=True, text=True).stdout
    return out.splitlines()


def unlisted(symbols, services):
    """The symbols (demangled) that no service lists, sorted."""
    return sorted(s for s in set(symbols) if s not in services)


def dynamic_symbols(nm, library, which):
    out = subprocess.run([nm, "-D", which, library], check=True, capture_output=True,
                         text=True).stdout
    return {line.split()[-1] for line in out.splitlines() if line.split()}


def linux_imports(nm, cxxfilt, library, host):
    """What the library takes from the host library: its undefined dynamic symbols that the
    host defines (demangled)."""
    wanted = dynamic_symbols(nm, library, "--undefined-only")
    provided = dynamic_symbols(nm, host, "--defined-only")
    return demangle(cxxfilt, sorted(wanted & provided))


def global_allocation(nm, cxxfilt, library):
    """The global allocation and release functions that the library imports or exports: its
    own must stay inside it, and it must not take the runtime's. The placement forms, which
    allocate nothing, may appear in an unoptimised build."""
    symbols = dynamic_symbols(nm, library, "--undefined-only") | dynamic_symbols(
        nm, library, "--defined-only")
    return sorted(s for s in demangle(cxxfilt, sorted(symbols))
                  if s.startswith(("operator new", "operator delete"))
                  and not s.endswith(", void*)"))


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--services", required=True, help="the list of host services")
    parser.add_argument("--library", required=True, help="the type library (.so)")
    parser.add_argument("--host", required=True, help="the host library it is linked with")
    parser.add_argument("--nm", default="nm")
    parser.add_argument("--cxxfilt", default="c++filt")
    args = parser.parse_args()

    try:
        services = load_services(args.services, "linux")
    except ListError as e:
        print(f"FAIL  {e}", file=sys.stderr)
        return 1
    imports = linux_imports(args.nm, args.cxxfilt, args.library, args.host)
    bad = unlisted(imports, services)
    used = {services[s] for s in imports if s in services}
    print(f"{len(set(imports))} host imports, {len(bad)} unlisted; "
          f"{len(used)} of {len(service_names(args.services))} services in use")
    for s in bad:
        print(f"FAIL  not a host service: {s}")
    shared = global_allocation(args.nm, args.cxxfilt, args.library)
    for s in shared:
        print(f"FAIL  allocation outside the library's own: {s}")
    return 1 if bad or shared else 0


if __name__ == "__main__":
    sys.exit(main())
