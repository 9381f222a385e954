"""Decorated names of the Microsoft C++ ABI, undecorated by llvm-undname and spelt as c++filt
spells the Itanium names of the same entities, so that the host services list and the class
check, written in that spelling, apply to the DLL's imports and exports unchanged."""

import re
import subprocess

CALLING = r"__(?:thiscall|cdecl|stdcall|fastcall|vectorcall)"
TAGS = re.compile(r"\b(?:class|struct|union|enum) ")


def undecorate(undname, names):
    """name -> undecorated text (llvm-undname's), for the decorated names among names."""
    decorated = [n for n in names if n.startswith("?")]
    if not decorated:
        return {}
    out = subprocess.run([undname], input="\n".join(decorated) + "\n", check=True,
                         capture_output=True, text=True).stdout
    # llvm-undname echoes each name, then its undecorated form, then a blank line.
    lines = [line for line in out.splitlines() if line.strip()]
    result = {}
    for i in range(0, len(lines) - 1, 2):
        if lines[i] in result or not lines[i].startswith("?"):
            continue
        result[lines[i]] = lines[i + 1]
    return result


def _split_top(text, token):
    """The position of the first `token` (regex) outside brackets, or None."""
    depth = 0
    for i, c in enumerate(text):
        if c in "(<":
            depth += 1
        elif c in ")>":
            depth -= 1
        elif depth == 0:
            m = re.match(token, text[i:])
            if m and (i == 0 or text[i - 1] == " "):
                return i, m.end()
    return None


def itanium_spelling(text):
    """llvm-undname's text as c++filt prints the same entity."""
    # A function returning a function pointer: RET (CC *CC NAME(PARAMS))(PARAMS).
    m = re.fullmatch(r"(?:\w+: )?(?:virtual |static )?.*?\(" + CALLING + r" \* ?" + CALLING +
                     r" (.*)\)\(.*\)", text)
    if m:
        return _finish(m.group(1))
    # A function's local static: TYPE `FUNCTION'::`SCOPE'::NAME.
    m = re.fullmatch(r"[^`]*`(.*)'::`\d+'::(\w+)", text)
    if m:
        return itanium_spelling(m.group(1)) + "::" + m.group(2)
    m = re.fullmatch(r"const (.*)::`vftable'(?:\{for `.*'\})?", text)
    if m:
        return "vtable for " + _types(m.group(1))
    m = re.fullmatch(r"(.*) `RTTI Type Descriptor'", text)
    if m:
        return "typeinfo for " + _types(m.group(1))
    text = re.sub(r"^(?:public|protected|private): ", "", text)
    text = re.sub(r"^(?:virtual |static )+", "", text)
    where = _split_top(text, CALLING + " ")
    if where is not None:  # a function: its return type goes
        text = text[where[0] + where[1]:]
    elif "(" not in text:  # data: its type goes
        text = text.rsplit(" ", 1)[-1]
    return _finish(text)


def _finish(text):
    text = _types(text)
    # A class template's constructor and destructor are named without its arguments.
    text = re.sub(r"^(.*?(\w+)<.*>)::(~?)\2<.*>\(", r"\1::\3\2(", text)
    return re.sub(r"\(void\)", "()", text)


def _types(text):
    text = TAGS.sub("", text)
    text = re.sub(CALLING + " ?", "", text)
    text = re.sub(r"\bunsigned __int64\b", "unsigned long long", text)
    text = re.sub(r"\b__int64\b", "long long", text)
    text = re.sub(r" ?__ptr32\b", "", text)
    text = re.sub(r" ([*&]+)", r"\1", text)
    text = re.sub(r"([*&]) (?=[*&])", r"\1", text)
    while "> >" in text:
        text = text.replace("> >", ">>")
    return text


def spelled(undname, names):
    """Each name as c++filt would spell it: a decorated name undecorated, a C name (with the
    argument bytes of a __stdcall name dropped) as it is."""
    table = undecorate(undname, names)
    return {n: (itanium_spelling(table[n]) if n in table else re.sub(r"@\d+$", "", n))
            for n in names}
