#!/usr/bin/env python3
"""The naming charter (docs/CONVENTIONS.md), checked with clang-tidy's readability-identifier-naming
and the .clang-tidy file of each folder.

    scripts/check_naming.py [--build DIR]            the files changed since the recorded sweep
    scripts/check_naming.py [--build DIR] --all      every product file (a few minutes)
    scripts/check_naming.py [--build DIR] --all --record
                                                     ... and records HEAD as the new sweep
    scripts/check_naming.py [--build DIR] --fix FOLDER
                                                     renames what breaks the charter in FOLDER

DIR is a configured build folder (its compile_commands.json), build/asan by default. Exits 1 and
lists every name that breaks the charter.

The whole tree takes minutes on two cores, so the suite checks the C++ files changed since the
commit recorded in scripts/naming_baseline.txt, where a sweep of the whole tree last passed (and
those not yet committed). --all checks everything; --record then writes HEAD there.

--fix renames the names declared in FOLDER, in FOLDER and in every file of the tree that uses
them: clang-tidy's fix-its from every translation unit that includes a file of FOLDER, restricted
to the names declared there, applied once each by clang-apply-replacements, then clang-format.
Names it cannot rename (used in a macro, or clashing with another name) are listed to be done by
hand. Build everything afterwards.
"""
import argparse
import concurrent.futures
import json
import os
import re
import shlex
import shutil
import subprocess
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
BASELINE = os.path.join("scripts", "naming_baseline.txt")

# The product's folders; tests/, fuzz/ and bench/ name freely (their .clang-tidy says so).
PRODUCT = ["app", "base", "blank", "cli", "correction", "group4", "image", "ocr", "pdf", "pdfdoc", "pdfw", "platform", "scan",
           "tools"]

# Files that keep the Win32 shape, and the engine's C interface: never checked, never renamed.
EXEMPT = re.compile(r"^(platform/"
                    r"|app/(CFolvaneApp|CFolvaneDlg|CScanDlg|CAboutDlg|CPasswordDlg)[^/]*$"
                    r"|app/(Resources|ScanResources)\.(h|cpp)$|app/Resource\.h$"
                    r"|image/(codecs/)?Cf[^/]*$"
                    r"|image/(ImageFormat|ImageInfo|ExifRecord|SafeSize)\.h$"
                    r"|pdf/PdfWriter\.(h|cpp)$"
                    r"|pdfw/pdfw(\.h|_api\.cpp|_facts\.cpp)$)")

# Folders whose names have not yet been renamed to the charter: their findings are counted, not
# failed. `--fix FOLDER` renames one; then take it off this list.
PENDING = set()

SKIPPED = 77  # the suite's mark for a test that could not run here

CXX = (".h", ".hpp", ".cpp", ".cc")
FINDING = re.compile(r"^(/[^:]+):(\d+):(\d+): warning: (.*) \[readability-identifier-naming\]$")
# The first named namespace a file opens; it must be folvane::<library> (or folvane).
NAMESPACE = re.compile(r"^namespace ([A-Za-z_][\w:]*) \{", re.M)
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)


def relative(path):
    return os.path.relpath(os.path.realpath(path), ROOT)


def checked(path):
    """Whether the charter covers this repository path."""
    top = path.split("/", 1)[0]
    return path.endswith(CXX) and top in PRODUCT and not EXEMPT.match(path)


def compile_database(build):
    """The build's compile commands, made fit for clang-tidy in a folder of its own: without the
    compiler launcher (ccache), and with the include views under <build>/include replaced by the
    source tree, so that headers are seen at their own paths (where their .clang-tidy is)."""
    with open(os.path.join(build, "compile_commands.json"), encoding="utf-8") as f:
        entries = json.load(f)
    views = os.path.join(os.path.realpath(build), "include") + os.sep
    commands = {}
    for entry in entries:
        words = entry["arguments"] if "arguments" in entry else shlex.split(entry["command"])
        if os.path.basename(words[0]).startswith("ccache"):
            words = words[1:]
        arguments, seen = [], set()
        for word in words:
            if word.startswith("-I") and os.path.realpath(word[2:]).startswith(views):
                word = "-I" + ROOT
            if word.startswith("-I") and word in seen:
                continue
            seen.add(word)
            arguments.append(word)
        path = relative(entry["file"])
        if not path.startswith(".."):
            commands[path] = {"directory": entry["directory"], "file": entry["file"],
                              "arguments": arguments}
    return commands


def includes_of(path):
    try:
        with open(os.path.join(ROOT, path), encoding="utf-8", errors="replace") as f:
            return INCLUDE.findall(f.read())
    except OSError:
        return []


def repository_files():
    out = subprocess.run(["git", "ls-files"], cwd=ROOT, capture_output=True, text=True, check=True)
    return [p for p in out.stdout.split("\n") if p.endswith(CXX)]


def users_of(folder, files):
    """Every file that includes a file of `folder`, directly or through other headers, and the
    files of the folder themselves."""
    prefix = folder.rstrip("/") + "/"
    reached = {p for p in files if p.startswith(prefix)}
    included_by = {}
    for path in files:
        for header in includes_of(path):
            included_by.setdefault(header, set()).add(path)
    queue = list(reached)
    while queue:
        for user in included_by.get(queue.pop(), ()):
            if user not in reached:
                reached.add(user)
                queue.append(user)
    return reached


def units_for(paths, commands, files):
    """Translation units that show the declarations of `paths`: a source is its own unit, a
    header is seen through its own .cpp or else the first unit that includes it."""
    units = set()
    for path in paths:
        if path in commands:
            units.add(path)
            continue
        stem = os.path.splitext(path)[0]
        own = [stem + ext for ext in (".cpp", ".cc") if stem + ext in commands]
        if own:
            units.add(own[0])
            continue
        users = sorted(u for u in users_of_header(path, files) if u in commands)
        if users:
            units.add(users[0])
    return units


def users_of_header(header, files):
    return [p for p in files if header in includes_of(p)]


def git(*args):
    out = subprocess.run(["git", *args], cwd=ROOT, capture_output=True, text=True)
    return out.stdout.split("\n") if out.returncode == 0 else None


def changed_files():
    """Files changed since the recorded sweep, committed or not; None when that commit is not
    in this clone (a shallow one), and then the files of the last commit."""
    with open(os.path.join(ROOT, BASELINE), encoding="utf-8") as f:
        baseline = f.read().split()[0]
    changed = git("diff", "--name-only", baseline, "--")
    if changed is None:
        print(f"check_naming: commit {baseline} is not in this clone; checking the last commit's files")
        changed = git("diff", "--name-only", "HEAD~1", "--") or []
    changed += git("ls-files", "--others", "--exclude-standard") or []
    return sorted({p for p in changed if p and os.path.exists(os.path.join(ROOT, p))})


def run_tidy(unit, database, extra):
    header_filter = "^" + re.escape(ROOT) + "/(" + "|".join(PRODUCT) + ")/"
    command = ["clang-tidy", "--quiet", "-p", database, "--header-filter=" + header_filter, *extra,
               os.path.join(ROOT, unit)]
    out = subprocess.run(command, cwd=ROOT, capture_output=True, text=True)
    return unit, out.returncode, out.stdout + out.stderr


def run_all(units, database, extra_for):
    results = []
    workers = max(1, min(len(units), os.cpu_count() or 1))
    with concurrent.futures.ThreadPoolExecutor(workers) as pool:
        jobs = [pool.submit(run_tidy, unit, database, extra_for(unit)) for unit in sorted(units)]
        for job in jobs:
            results.append(job.result())
    return results


def findings_in(output):
    found = set()
    for line in output.split("\n"):
        match = FINDING.match(line)
        if match:
            path = relative(match.group(1))
            if checked(path):
                found.add(f"{path}:{match.group(2)}:{match.group(3)}: {match.group(4)}")
    return found


def namespace_findings(paths):
    """Files whose first named namespace is not folvane's."""
    found = set()
    for path in paths:
        with open(os.path.join(ROOT, path), encoding="utf-8", errors="replace") as f:
            match = NAMESPACE.search(f.read())
        if match and match.group(1).split("::")[0] != "folvane":
            found.add(f"{path}: namespace '{match.group(1)}' is not folvane::<library>")
    return found


def tidy_arguments(unit):
    """qpdf 11's JSON.hh keeps a vector of its own incomplete type, which clang cannot
    compile as C++20 over libstdc++ 12 (GCC can): pdfdoc's units are read as C++17, where the
    names are the same."""
    return ["--extra-arg=-std=c++17"] if unit.startswith("pdfdoc/") else []


def check(units, paths, database):
    """Names outside the charter in `units` (and the headers they include) and namespaces of
    `paths`; also the units clang-tidy could not read."""
    findings, failures = namespace_findings(paths), []
    for unit, code, output in run_all(units, database, tidy_arguments):
        findings |= findings_in(output)
        if code != 0 and " error: " in output:
            failures.append(f"{unit}: clang-tidy could not read it:\n{output.strip()}")
    return sorted(findings, key=lambda f: f.split(":")[0]), failures


def pending(finding):
    return finding.split("/", 1)[0] in PENDING


def line_of(path, offset):
    with open(path, "rb") as f:
        return f.read(offset).count(b"\n") + 1


def member_without_prefix(message):
    """The charter's name for a member written m_name or m_Name: name_ (clang-tidy alone would
    keep the m as mName_)."""
    match = re.search(r"for (private|protected|public) member 'm_([A-Za-z0-9]+)'", message)
    if not match:
        return None
    name = match.group(2)[0].lower() + match.group(2)[1:]
    return name if match.group(1) == "public" else name + "_"


def move_namespace(folder, files):
    """Puts the namespace named like a top-level folder under folvane (pdfw becomes
    folvane::pdfw): the folder's namespace lines, and the qualified uses in files that do not
    open it. Returns the files changed."""
    name = folder.strip("/")
    opens = re.compile(r"^(namespace|\} // namespace) " + name + r"\b", re.M)
    used = re.compile(r"(?<![:\w])(" + name + r"::|namespace " + name + r"\b(?=\s*[;{]))")
    changed = []
    for path in files:
        with open(os.path.join(ROOT, path), encoding="utf-8") as f:
            text = f.read()
        if path.startswith(name + "/") and opens.search(text):
            moved = opens.sub(lambda m: m.group(1) + " folvane::" + name, text)
        else:
            moved = used.sub(lambda m: m.group(1).replace(name, "folvane::" + name, 1), text)
        if moved != text:
            with open(os.path.join(ROOT, path), "w", encoding="utf-8") as f:
                f.write(moved)
            changed.append(path)
    return changed


def fix(folder, commands, files, database, scratch):
    import yaml  # python3-yaml; only the renaming needs it

    # libyaml's loader where there is one: the pure-Python one takes minutes over the fixes of a
    # hundred units, which hold every finding of the headers they include.
    loader = getattr(yaml, "CSafeLoader", yaml.SafeLoader)
    dumper = getattr(yaml, "CSafeDumper", yaml.SafeDumper)

    moved = move_namespace(folder, files)
    if moved:
        print(f"check_naming: namespace {folder.strip('/')} is now folvane::{folder.strip('/')} "
              f"in {len(moved)} files")
    units = sorted(u for u in users_of(folder, files) if u in commands)
    print(f"check_naming: renaming in {folder}/ through {len(units)} translation units")
    fixes = os.path.join(scratch, "fixes")
    os.makedirs(fixes)
    run_all(units, database,
            lambda unit: ["--export-fixes=" + os.path.join(fixes, unit.replace("/", "_") + ".yaml")])
    prefix = folder.rstrip("/") + "/"
    kept, by_hand, touched = 0, set(), set()
    for name in sorted(os.listdir(fixes)):
        with open(os.path.join(fixes, name), encoding="utf-8") as f:
            document = yaml.load(f, Loader=loader) or {}
        diagnostics = []
        for diagnostic in document.get("Diagnostics") or []:
            message = diagnostic["DiagnosticMessage"]
            path = relative(message["FilePath"]) if message.get("FilePath") else ""
            if not (path.startswith(prefix) and checked(path)):
                continue
            if not message.get("Replacements"):
                line = line_of(message["FilePath"], message["FileOffset"])
                by_hand.add(f"{path}:{line}: {message['Message']}")
                continue
            plain = member_without_prefix(message["Message"])
            for replacement in message["Replacements"]:
                touched.add(relative(replacement["FilePath"]))
                if plain:
                    replacement["ReplacementText"] = plain
            diagnostics.append(diagnostic)
        document["Diagnostics"] = diagnostics
        kept += len(diagnostics)
        with open(os.path.join(fixes, name), "w", encoding="utf-8") as f:
            yaml.dump(document, f, Dumper=dumper, allow_unicode=True)
    subprocess.run(["clang-apply-replacements", fixes], cwd=ROOT, check=True)
    formatted = sorted(p for p in touched if not p.startswith(".."))
    if formatted:
        subprocess.run(["clang-format", "-i", *formatted], cwd=ROOT, check=True)
    print(f"check_naming: {kept} renames applied in {len(formatted)} files")
    for line in sorted(by_hand):
        print("to rename by hand: " + line)
    return 1 if by_hand else 0


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--build", default=os.path.join(ROOT, "build", "asan"))
    parser.add_argument("--all", action="store_true", help="check every product file")
    parser.add_argument("--record", action="store_true", help="with --all: record HEAD if it passes")
    parser.add_argument("--fix", metavar="FOLDER", help="rename what breaks the charter in FOLDER")
    args = parser.parse_args()
    if shutil.which("clang-tidy") is None:
        print("check_naming: clang-tidy is missing (scripts/deps.sh installs it)")
        return 1
    if git("rev-parse", "HEAD") is None:
        print("check_naming: not a git checkout, so no changed files to check; run it with --all")
        return SKIPPED
    commands = compile_database(args.build)
    files = repository_files()
    with tempfile.TemporaryDirectory() as scratch:
        database = os.path.join(scratch, "db")
        os.makedirs(database)
        with open(os.path.join(database, "compile_commands.json"), "w", encoding="utf-8") as f:
            json.dump(list(commands.values()), f)
        if args.fix:
            return fix(args.fix, commands, files, database, scratch)
        if args.all:
            paths = sorted(p for p in files if checked(p))
            units = {p for p in commands if checked(p)}
        else:
            paths = [p for p in changed_files() if checked(p)]
            units = units_for(paths, commands, files)
        findings, failures = check(units, paths, database)
    waiting = [f for f in findings if pending(f)]
    findings = [f for f in findings if not pending(f)]
    for line in findings + failures:
        print(line)
    for folder in sorted({f.split("/", 1)[0] for f in waiting}):
        count = sum(1 for f in waiting if f.startswith(folder + "/"))
        print(f"check_naming: {folder}/ has {count} names waiting for --fix {folder}")
    print(f"check_naming: {len(units)} translation units, {len(findings)} names outside the charter")
    if findings or failures:
        return 1
    if args.all and args.record:
        with open(os.path.join(ROOT, BASELINE), "w", encoding="utf-8") as f:
            f.write(git("rev-parse", "HEAD")[0] + "\n")
    return 0


if __name__ == "__main__":
    sys.exit(main())
