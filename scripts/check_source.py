#!/usr/bin/env python3
"""Checks of the source tree that the compiler does not make: includes only along the
libraries' dependency edges, every C++ file in the repository's clang-format style, and no
product function longer than MAX_LINES lines.

Run from anywhere: scripts/check_source.py [--no-format]. Exits 1 and lists every finding.
Functions named in scripts/long_functions.txt ("path Name" per line) are let through.
"""
import os
import re
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
MAX_LINES = 80

# Each library's folder and the libraries its files include: exactly the arrows of
# docs/architecture.dot (and, inside the engine, docs/pdfw-rooms.dot), which the suite compares
# with this table. Qt only where it says so. The order matters: the first folder that holds a
# file owns it (app/qt before app).
LIBRARIES = [
    ("base", "base", []),
    ("group4", "group4", []),
    ("crt", "platform/crt", []),
    ("gdi", "platform/gdi", []),
    ("ui", "platform/ui", ["gdi"]),
    ("image", "image", ["base", "gdi"]),
    ("ocr", "ocr", ["base"]),
    # The engine's rooms (pdfw/*/README.md and docs/pdfw-rooms.dot). A format reader knows
    # nothing of the document or its output; the PDF object layer knows no format and no C
    # function. The C interface's header (pdfw.h, of the top level) is seen by api/, and by
    # core/ and formats/ for its constants and structures (error types, problem and note kinds,
    # memory procedures, pre-flight facts); only the top level and api/ call or define its
    # functions.
    ("pdfw.core", "pdfw/core", ["base", "ocr", "pdfw"]),
    ("pdfw.raster", "pdfw/raster", ["group4", "pdfw.core"]),
    ("pdfw.jpeg", "pdfw/jpeg", ["base", "pdfw.core", "pdfw.raster"]),
    ("pdfw.tiff", "pdfw/tiff", ["base", "pdfw.core", "pdfw.raster", "pdfw.jpeg"]),
    ("pdfw.png", "pdfw/png", ["base", "pdfw.core", "pdfw.raster"]),
    ("pdfw.formats", "pdfw/formats", ["pdfw", "pdfw.core", "pdfw.jpeg", "pdfw.tiff", "pdfw.png"]),
    ("pdfw.corrected", "pdfw/corrected", ["correction", "pdfw.core", "pdfw.raster", "pdfw.jpeg"]),
    ("pdfw.pipeline", "pdfw/pipeline",
     ["ocr", "correction", "pdfw.core", "pdfw.formats", "pdfw.corrected"]),
    ("pdfw.output", "pdfw/output", ["pdfw.core"]),
    ("pdfw.text", "pdfw/text", ["ocr", "pdfw.core", "pdfw.raster", "pdfw.output"]),
    ("pdfw.document", "pdfw/document", ["pdfw.core", "pdfw.raster", "pdfw.output", "pdfw.text"]),
    ("pdfw.api", "pdfw/api",
     ["ocr", "pdfw", "pdfw.core", "pdfw.formats", "pdfw.pipeline", "pdfw.document"]),
    ("pdfw", "pdfw", ["pdfw.core", "pdfw.formats", "pdfw.output", "pdfw.api"]),
    ("pdfdoc", "pdfdoc", ["base"]),
    ("pdf", "pdf", ["base", "pdfw", "pdfdoc"]),
    ("scan", "scan", ["base", "group4"]),
    ("qtui", "platform/qt", ["gdi", "ui", "Qt"]),
    ("qt", "app/qt", ["crt", "qtui", "app", "Qt"]),
    ("app", "app", ["base", "crt", "gdi", "ui", "image", "pdf", "pdfdoc", "scan", "correction"]),
    ("cli", "cli", ["crt", "pdf", "pdfdoc", "scan", "ui"]),
    ("tools", "tools", ["image"]),
    ("correction", "correction", ["base"]),
]
PRODUCT = [folder for _, folder, _ in LIBRARIES]
EVERY_CPP = PRODUCT + ["tests", "bench", "fuzz"]

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^">]+)[">]', re.M)
QT_HEADER = re.compile(r"^Q[A-Za-z]*(/|$)")


def library_of(path):
    for name, folder, _ in LIBRARIES:
        if path.startswith(folder + "/"):
            return name
    return None


def cpp_files(folders):
    files = []
    for folder in folders:
        for dirpath, _, names in os.walk(os.path.join(ROOT, folder)):
            for name in names:
                if name.endswith((".cpp", ".h")):
                    files.append(os.path.relpath(os.path.join(dirpath, name), ROOT))
    return sorted(set(files))


def read(path):
    with open(os.path.join(ROOT, path), encoding="utf-8", errors="replace") as f:
        return f.read()


def include_findings(files):
    allowed = {name: set(deps) | {name} for name, _, deps in LIBRARIES}
    findings = []
    for path in files:
        owner = library_of(path)
        for bracket, header in INCLUDE.findall(read(path)):
            if bracket == "<":
                target = "Qt" if QT_HEADER.match(header) else None
            else:
                target = library_of(header)
                if target is None and "/" in header:
                    target = header.split("/")[0]  # tests/..., bench/...: never product code's
            if target is not None and target not in allowed[owner]:
                findings.append(f"{path}: {owner} may not include {header} ({target})")
    return findings


def format_findings(files):
    try:
        result = subprocess.run(["clang-format", "--dry-run", "-Werror"] + files, cwd=ROOT,
                                capture_output=True, text=True)
    except FileNotFoundError:
        return ["clang-format is not installed (Debian package clang-format)"]
    if result.returncode == 0:
        return []
    badly = sorted(set(re.findall(r"^(\S+?\.(?:cpp|h)):\d+:\d+: error", result.stderr, re.M)))
    return [f"{path}: not in clang-format style (clang-format -i {path})" for path in badly] or [
        result.stderr.strip()]


DIRECTIVE = re.compile(r"[ \t]*#")
RAW_STRING = re.compile(r'R"([^(\s]{0,16})\(')


def code_only(text):
    """The text with comments, string and character literals and preprocessor lines blanked,
    newlines kept, so braces can be counted and line numbers stay right."""
    out = []
    i, n = 0, len(text)
    line_start = True
    while i < n:
        c = text[i]
        if line_start and DIRECTIVE.match(text, i):
            while i < n and (text[i] != "\n" or text[i - 1] == "\\"):
                out.append("\n" if text[i] == "\n" else " ")
                i += 1
            continue
        line_start = c == "\n" or (line_start and c in " \t")
        if text.startswith("//", i):
            while i < n and text[i] != "\n":
                i += 1
            continue
        if text.startswith("/*", i):
            end = text.find("*/", i + 2)
            end = n if end < 0 else end + 2
            out.append("\n" * text.count("\n", i, end))
            i = end
            continue
        raw = RAW_STRING.match(text, i)
        if raw and (i == 0 or not (text[i - 1].isalnum() or text[i - 1] == "_")):
            end = text.find(")" + raw.group(1) + '"', i)
            end = n if end < 0 else end + len(raw.group(1)) + 2
            out.append('""' + "\n" * text.count("\n", i, end))
            i = end
            continue
        if c in "\"'" and not (c == "'" and i > 0 and text[i - 1].isalnum() and
                               text[i + 1:i + 2].isalnum()):
            j = i + 1
            while j < n and text[j] != c and text[j] != "\n":
                j += 2 if text[j] == "\\" else 1
            out.append(c + c)
            i = j + 1
            continue
        out.append(c)
        i += 1
    return "".join(out)


SCOPE = re.compile(r"\b(namespace|class|struct|union|enum)\b[^()]*$|\bextern\s*\"\"\s*$")
CONTROL = re.compile(r"\b(if|for|while|switch|catch|do|else|try)\b")
ACCESS = re.compile(r"\b(public|private|protected|signals|slots)\s*$")


def function_name(header):
    """The name a brace's header gives a function (`Class::Name`), or None when the brace opens
    something else: an initializer, a control statement, a lambda."""
    before_arguments = header.split("(")[0] if "(" in header else None
    if not before_arguments or CONTROL.match(header):
        return None
    if "=" in before_arguments and "operator" not in before_arguments:
        return None
    words = before_arguments.split()
    return words[-1].lstrip("*&") if words else None


def functions(path):
    """(name, first line, line count) of every function body at namespace or class scope;
    lambdas and local classes count as part of the function around them."""
    text = code_only(read(path))
    found = []
    stack = []  # per open brace: (kind, name, line), kind "scope", "function" or "other"
    header_start = 0
    line = 1
    for i, c in enumerate(text):
        at_scope = all(kind == "scope" for kind, _, _ in stack)
        if c == "\n":
            line += 1
        elif c == "{":
            header = " ".join(text[header_start:i].split())
            name = function_name(header) if at_scope else None
            if SCOPE.search(header):
                stack.append(("scope", None, line))
            elif name:
                stack.append(("function", name, line))
            else:
                stack.append(("other", None, line))
            header_start = i + 1
        elif c == "}":
            if stack:
                kind, name, first = stack.pop()
                if kind == "function":
                    found.append((name, first, line - first + 1))
            header_start = i + 1
        elif c == ";" and at_scope:
            header_start = i + 1
        elif c == ":" and at_scope and ACCESS.search(text[header_start:i]):
            header_start = i + 1
    return found


def length_findings(files):
    allowed = set()
    allow_list = os.path.join(ROOT, "scripts", "long_functions.txt")
    if os.path.exists(allow_list):
        for line in read("scripts/long_functions.txt").splitlines():
            if line.strip() and not line.startswith("#"):
                allowed.add(" ".join(line.split()[:2]))
    findings = []
    for path in files:
        for name, first, lines in functions(path):
            if lines > MAX_LINES and f"{path} {name}" not in allowed:
                findings.append(f"{path}:{first}: {name} is {lines} lines (at most {MAX_LINES})")
    return findings


def main():
    product = cpp_files(PRODUCT)
    findings = include_findings(product) + length_findings(product)
    if "--no-format" not in sys.argv:
        findings += format_findings(cpp_files(EVERY_CPP))
    for finding in findings:
        print(finding)
    return 1 if findings else 0


if __name__ == "__main__":
    sys.exit(main())
