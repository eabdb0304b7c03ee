#!/usr/bin/env python3
"""The catalogues of the program's texts, in step with the sources.

  scripts/translations.py update   after adding or changing a text: collects every text of the
                                   sources into the catalogues; a new one arrives unfinished
                                   (the window's, app/i18n/*.ts) or untranslated (folvane-pdf's,
                                   cli/po/*.po), ready to translate; texts no longer used go
  scripts/translations.py [check]  what the suite runs: exits 1, listing each finding, when a
                                   text of the sources is missing from a catalogue, a catalogue
                                   holds a text no source uses, an entry is unfinished, empty or
                                   fuzzy, or a translation drops or adds a %1, %2, ... or %n

The window (app/, platform/) is written in Chinese and translated through Qt Linguist
catalogues: its texts are the literal arguments of Tr(context, text) and of the TR_NOOP and
TR_N_NOOP marks. folvane-pdf (cli/) is written in English and translated through gettext: its
texts are the arguments of _() and N_().
"""
import glob
import os
import re
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
WINDOW_SOURCES = ["app", "platform"]
WINDOW_CATALOGUES = sorted(glob.glob(os.path.join(ROOT, "app", "i18n", "*.ts")))
CLI_POT = os.path.join(ROOT, "cli", "po", "folvane-pdf.pot")
CLI_CATALOGUES = sorted(glob.glob(os.path.join(ROOT, "cli", "po", "*.po")))

LUPDATE_OPTIONS = [
    "-silent", "-source-language", "zh_CN", "-locations", "none", "-extensions", "cpp,h",
    "-no-obsolete",
    "-tr-function-alias", "translate+=Tr,QT_TRANSLATE_NOOP+=TR_NOOP,QT_TRANSLATE_N_NOOP+=TR_N_NOOP",
]
XGETTEXT_OPTIONS = [
    "--language=C++", "--from-code=UTF-8", "--qt", "--keyword=_", "--keyword=N_",
    "--package-name=folvane-pdf", "--no-location", "--sort-output",
]
PLACEHOLDER = re.compile(r"%(\d|n)")


def tool(name, *fallbacks):
    for candidate in (name,) + fallbacks:
        found = shutil.which(candidate)
        if found:
            return found
    sys.exit(f"{name} is not installed (Debian packages qt6-l10n-tools and gettext)")


def run(command):
    result = subprocess.run(command, cwd=ROOT, capture_output=True, text=True)
    if result.returncode != 0:
        sys.exit(f"{' '.join(command)} failed:\n{result.stdout}{result.stderr}")


def lupdate(ts_file):
    language = os.path.basename(ts_file).split("_", 1)[1].rsplit(".", 1)[0]
    run([tool("lupdate", "/usr/lib/qt6/bin/lupdate")] + LUPDATE_OPTIONS +
        ["-target-language", language] + WINDOW_SOURCES + ["-ts", ts_file])


def xgettext(pot_file):
    sources = sorted(os.path.relpath(p, ROOT) for p in glob.glob(os.path.join(ROOT, "cli", "*.cpp")))
    run([tool("xgettext")] + XGETTEXT_OPTIONS + ["-o", pot_file] + sources)


# --- the window's catalogues -----------------------------------------------------------------

def ts_messages(ts_file):
    """{(context, source): (translation element, numerus)} of a .ts file."""
    messages = {}
    for context in ET.parse(ts_file).getroot().iter("context"):
        name = context.findtext("name")
        for message in context.iter("message"):
            messages[(name, message.findtext("source"))] = (
                message.find("translation"), message.get("numerus") == "yes")
    return messages


def placeholders(text, counting):
    found = set(PLACEHOLDER.findall(text or ""))
    return found - {"n"} if counting else found


def ts_findings(ts_file, wanted):
    name = os.path.relpath(ts_file, ROOT)
    have = ts_messages(ts_file)
    findings = [f"{name}: missing {key[0]} text {key[1]!r} (scripts/translations.py update)"
                for key in sorted(set(wanted) - set(have))]
    findings += [f"{name}: {key[0]} text {key[1]!r} is used nowhere (scripts/translations.py "
                 f"update)" for key in sorted(set(have) - set(wanted))]
    for (context, source), (translation, counting) in sorted(have.items()):
        where = f"{name}: {context} text {source!r}"
        if translation.get("type"):
            findings.append(f"{where} is {translation.get('type')}")
            continue
        forms = [f.text for f in translation.iter("numerusform")] if counting else [translation.text]
        if not forms or any(not form for form in forms):
            findings.append(f"{where} has an empty translation")
            continue
        for form in forms:
            if placeholders(form, counting) != placeholders(source, counting):
                findings.append(f"{where}: the translation {form!r} has other placeholders")
        if counting and not any("%n" in form for form in forms):
            findings.append(f"{where}: no form of the translation says %n")
    return findings


# --- folvane-pdf's catalogues ----------------------------------------------------------------

def po_entries(po_file):
    """{msgid: (msgstr, flags, obsolete)} of a .po or .pot file; the header is left out."""
    entries = {}
    flags, obsolete, field, values = set(), False, None, {}

    def finish():
        if "msgid" in values and values["msgid"]:
            entries[values["msgid"]] = (values.get("msgstr", ""), flags, obsolete)

    with open(po_file, encoding="utf-8") as f:
        for raw in f:
            line = raw.rstrip("\n")
            if not line.strip():
                finish()
                flags, obsolete, field, values = set(), False, None, {}
                continue
            if line.startswith("#,"):
                flags |= {flag.strip() for flag in line[2:].split(",")}
                continue
            if line.startswith("#~"):
                obsolete = True
                line = line[2:].strip()
            elif line.startswith("#"):
                continue
            match = re.match(r'(msgid|msgstr|msgctxt)\s+"(.*)"$', line)
            if match:
                field = match.group(1)
                values[field] = unescape(match.group(2))
            elif line.startswith('"') and field:
                values[field] += unescape(line[1:-1])
    finish()
    return entries


def unescape(text):
    return re.sub(r'\\(.)', lambda m: {"n": "\n", "t": "\t"}.get(m.group(1), m.group(1)), text)


def po_findings(po_file, wanted):
    name = os.path.relpath(po_file, ROOT)
    have = po_entries(po_file)
    live = {msgid: entry for msgid, entry in have.items() if not entry[2]}
    findings = [f"{name}: missing text {msgid!r} (scripts/translations.py update)"
                for msgid in sorted(set(wanted) - set(live))]
    findings += [f"{name}: text {msgid!r} is used nowhere (scripts/translations.py update)"
                 for msgid in sorted(set(have) - set(wanted))]
    for msgid, (msgstr, flags, obsolete) in sorted(live.items()):
        if "fuzzy" in flags:
            findings.append(f"{name}: text {msgid!r} is fuzzy")
        elif not msgstr:
            findings.append(f"{name}: text {msgid!r} is untranslated")
        elif placeholders(msgstr, False) != placeholders(msgid, False):
            findings.append(f"{name}: the translation of {msgid!r} has other placeholders")
    result = subprocess.run([tool("msgfmt"), "--check", "-o", os.devnull, po_file],
                            capture_output=True, text=True)
    if result.returncode != 0:
        findings.append(f"{name}: msgfmt --check fails:\n{result.stderr.strip()}")
    return findings


def check():
    findings = []
    with tempfile.TemporaryDirectory() as scratch:
        for ts_file in WINDOW_CATALOGUES:
            fresh = os.path.join(scratch, os.path.basename(ts_file))
            lupdate(fresh)
            findings += ts_findings(ts_file, ts_messages(fresh))
        pot = os.path.join(scratch, "folvane-pdf.pot")
        xgettext(pot)
        wanted = po_entries(pot)
        for po_file in CLI_CATALOGUES:
            findings += po_findings(po_file, wanted)
    if not WINDOW_CATALOGUES or not CLI_CATALOGUES:
        findings.append("no catalogues found under app/i18n and cli/po")
    for finding in findings:
        print(finding)
    return 1 if findings else 0


def update():
    for ts_file in WINDOW_CATALOGUES:
        lupdate(ts_file)
    xgettext(CLI_POT)
    for po_file in CLI_CATALOGUES:
        run([tool("msgmerge"), "--quiet", "--update", "--backup=none", "--no-fuzzy-matching",
             po_file, CLI_POT])
        run([tool("msgattrib"), "--no-obsolete", "-o", po_file, po_file])
    return 0


if __name__ == "__main__":
    mode = sys.argv[1] if len(sys.argv) > 1 else "check"
    if mode not in ("check", "update"):
        sys.exit(__doc__)
    sys.exit(update() if mode == "update" else check())
