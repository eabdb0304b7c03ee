#!/usr/bin/python3
"""Scores of bench/document_vs_classic.sh: the two tools' PDFs against the desk photos' truth.

    document_scores.py WORK

WORK holds what the benchmark left there: photos/ (from make_desk_photos, with truth.json and
the flat pages), files.txt (the photos in the order both tools got them, one a line),
ours.pdf and ours-corners.jsonl (correct_photo's lines), classic.pdf and classic-corners.jsonl,
and runs.tsv (tool, seconds, peak KB, photos) of the timed runs. Prints the scores per photo,
the summary per tool and the targets, met or not met.
"""
import concurrent.futures
import json
import os
import subprocess
import sys
import tempfile

import cv2
import numpy

LANGUAGES = "chi_sim+eng"
PAPER_DPI = 100
TEXT_DPI = 300
RED_PIXELS = 500  # a seal is a ring 42 mm across: thousands of red pixels at 100 dpi
TOOLS = ("ours", "classic")
NAMES = {"ours": "folvane-pdf --document", "classic": "classic OpenCV scanner"}


def rendered(pdf, page, dpi, grey):
    """One page of `pdf` as pixels (grey or BGR), rendered by pdftoppm."""
    command = ["pdftoppm", "-f", str(page), "-l", str(page), "-r", str(dpi)]
    if grey:
        command.append("-gray")
    out = subprocess.run(command + [pdf], capture_output=True, check=True).stdout
    flag = cv2.IMREAD_GRAYSCALE if grey else cv2.IMREAD_COLOR
    image = cv2.imdecode(numpy.frombuffer(out, numpy.uint8), flag)
    if image is None:
        sys.exit(f"document_scores.py: pdftoppm gave no picture for page {page} of {pdf}")
    return image


def page_count(pdf):
    info = subprocess.run(["pdfinfo", pdf], capture_output=True, text=True, check=True).stdout
    for line in info.splitlines():
        if line.startswith("Pages:"):
            return int(line.split()[1])
    sys.exit(f"document_scores.py: pdfinfo names no page count for {pdf}")


def corner_error(found, truth, any_start):
    """The largest corner displacement as a share of the page's diagonal; None when not found.
    any_start: the corners may start at any corner of the page (the classic orders its corners
    by position alone, so a page turned past 45 degrees starts elsewhere); the best start counts.
    """
    if found is None:
        return None
    found, truth = numpy.array(found, float), numpy.array(truth, float)
    diagonal = (numpy.linalg.norm(truth[0] - truth[2]) + numpy.linalg.norm(truth[1] - truth[3])) / 2
    starts = range(4) if any_start else [0]
    return min(numpy.linalg.norm(numpy.roll(found, -s, axis=0) - truth, axis=1).max()
               for s in starts) / diagonal


def paper_floor(grey):
    """The 5th percentile of the paper's brightness: pixels neither dark nor below a local
    threshold, nor next to such pixels (the anti-aliased edges of ink)."""
    local = cv2.blur(grey, (25, 25)).astype(numpy.int16) - 12
    ink = ((grey < 160) | (grey.astype(numpy.int16) < local)).astype(numpy.uint8)
    ink = cv2.dilate(ink, numpy.ones((5, 5), numpy.uint8))
    paper = grey[ink == 0]
    return int(numpy.percentile(paper, 5)) if paper.size else 0


def red_pixels(bgr):
    b, g, r = (bgr[:, :, i].astype(numpy.int16) for i in range(3))
    return int(numpy.count_nonzero((r > 150) & (g < 110) & (b < 110)))


def characters(text):
    return [c for c in text if not c.isspace()]


def line_edits(line, text):
    """The fewest edits that turn `line` into some stretch of `text` (both lists of
    characters): recognised words that belong to no drawn line (a table's cells, the seal's
    ring of characters, a signature) cost nothing, a drawn line's missing or wrong characters
    do."""
    previous = [0] * (len(text) + 1)
    for i, x in enumerate(line, 1):
        current = [i]
        for j, y in enumerate(text, 1):
            current.append(min(previous[j] + 1, current[j - 1] + 1, previous[j - 1] + (x != y)))
        previous = current
    return min(previous)


def text_edits(lines, text):
    """Edits and characters of the drawn lines against the recognised text."""
    found = characters(text)
    expected = [characters(line) for line in lines]
    return sum(line_edits(line, found) for line in expected), sum(map(len, expected))


def recognised(grey):
    """Tesseract's text of a grey page at TEXT_DPI."""
    with tempfile.NamedTemporaryFile(suffix=".png") as image:
        cv2.imwrite(image.name, grey)
        run = subprocess.run(["tesseract", image.name, "stdout", "-l", LANGUAGES, "--dpi",
                              str(TEXT_DPI)], capture_output=True, text=True,
                             env=dict(os.environ, OMP_THREAD_LIMIT="1"))
    if run.returncode != 0:
        sys.exit(f"document_scores.py: tesseract failed: {run.stderr.strip()}")
    return run.stdout


def flat_at(path, shape):
    """The flat page fitted into a white page of `shape`, centred, as the PDF page would be."""
    flat = cv2.imread(path, cv2.IMREAD_GRAYSCALE)
    if flat is None:
        sys.exit(f"document_scores.py: cannot read {path}")
    scale = min(shape[1] / flat.shape[1], shape[0] / flat.shape[0])
    size = (max(1, round(flat.shape[1] * scale)), max(1, round(flat.shape[0] * scale)))
    flat = cv2.resize(flat, size, interpolation=cv2.INTER_AREA if scale < 1 else cv2.INTER_CUBIC)
    page = numpy.full(shape, 255, numpy.uint8)
    y, x = (shape[0] - size[1]) // 2, (shape[1] - size[0]) // 2
    page[y:y + size[1], x:x + size[0]] = flat
    return page


def read_lines(path):
    with open(path, encoding="utf-8") as f:
        return [json.loads(line) for line in f if line.strip()]


def load(work):
    with open(os.path.join(work, "photos", "truth.json"), encoding="utf-8") as f:
        truth = {entry["file"]: entry for entry in json.load(f)["photos"]}
    with open(os.path.join(work, "files.txt"), encoding="utf-8") as f:
        files = [os.path.basename(line.strip()) for line in f if line.strip()]
    corners = {
        "ours": {os.path.basename(e["file"]): (e["corners"] if e["found"] else None)
                 for e in read_lines(os.path.join(work, "ours-corners.jsonl"))},
        "classic": {e["file"]: e["corners"]
                    for e in read_lines(os.path.join(work, "classic-corners.jsonl"))},
    }
    return truth, files, corners, timed_runs(os.path.join(work, "runs.tsv"))


def timed_runs(path):
    """Per tool over its rounds: the median wall and CPU seconds, the largest peak KB."""
    rounds = {}
    with open(path, encoding="utf-8") as f:
        for line in f:
            tool, seconds, kb, photos, cpu = line.rstrip("\n").split("\t")
            rounds.setdefault(tool, []).append((float(seconds), int(kb), int(photos), float(cpu)))
    return {tool: {"seconds": float(numpy.median([r[0] for r in runs])),
                   "kb": max(r[1] for r in runs), "peaks": [r[1] for r in runs],
                   "photos": runs[0][2],
                   "cpu": float(numpy.median([r[3] for r in runs])), "rounds": len(runs)}
            for tool, runs in rounds.items()}


def image_bytes(pdf):
    """{page: bytes of its images} from pdfimages -list (sizes like 46.3K, 6765B, 1.2M)."""
    listing = subprocess.run(["pdfimages", "-list", pdf], capture_output=True, text=True,
                             check=True).stdout.splitlines()[2:]
    scale = {"B": 1, "K": 1024, "M": 1024 ** 2, "G": 1024 ** 3}
    sizes = {}
    for line in listing:
        fields = line.split()
        page, size = int(fields[0]), fields[-2]
        sizes[page] = sizes.get(page, 0) + float(size[:-1]) * scale[size[-1]]
    return sizes


def score_page(pdf, page, name, truth, found, sizes):
    """Everything measured on one page of one tool's PDF, but recognition (done apart)."""
    entry = truth[name]
    score = {"found": found is not None, "kb": sizes.get(page, 0) / 1024}
    if not entry["has_sheet"]:
        return score
    score["corner"] = corner_error(found, entry["corners"], any_start=pdf.endswith("classic.pdf"))
    colour = rendered(pdf, page, PAPER_DPI, grey=False)
    score["paper"] = paper_floor(cv2.cvtColor(colour, cv2.COLOR_BGR2GRAY))
    score["red"] = red_pixels(colour)
    return score


def recognition_jobs(work, files, truth):
    """(key, function) pairs for every page to recognise: each tool's pages and the flat ones."""
    jobs = []
    for page, name in enumerate(files, 1):
        if not truth[name]["has_sheet"]:
            continue
        for tool in TOOLS:
            pdf = os.path.join(work, tool + ".pdf")
            jobs.append(((tool, name), lambda pdf=pdf, page=page:
                         recognised(rendered(pdf, page, TEXT_DPI, grey=True))))
        flat = os.path.join(work, "photos", truth[name]["flat_page"])
        shape = rendered(os.path.join(work, "ours.pdf"), page, TEXT_DPI, grey=True).shape
        jobs.append((("flat", name), lambda flat=flat, shape=shape:
                     recognised(flat_at(flat, shape))))
    return jobs


def recognise_all(work, files, truth):
    """The CER inputs of every page: {(tool or 'flat', file): (edits, characters)}."""
    results = {}
    with concurrent.futures.ThreadPoolExecutor(max_workers=os.cpu_count() or 1) as pool:
        futures = {pool.submit(job): key for key, job in recognition_jobs(work, files, truth)}
        for future in concurrent.futures.as_completed(futures):
            key = futures[future]
            results[key] = text_edits(truth[key[1]]["text"], future.result())
    return results


def cer(results, source, names):
    edits = sum(results[(source, n)][0] for n in names)
    total = sum(results[(source, n)][1] for n in names)
    return 100.0 * edits / total if total else 0.0


def percent(value):
    return "failed" if value is None else f"{100 * value:.2f}%"


def print_per_photo(files, truth, scores, results):
    print(f"{'photo':<14} {'tool':<8} {'corner':>8} {'paper p5':>8} {'CER %':>6} "
          f"{'flat CER':>8} {'red px':>7} {'KB':>6}  notes")
    for name in files:
        entry = truth[name]
        for tool in TOOLS:
            s = scores[tool][name]
            if not entry["has_sheet"]:
                verdict = "wrongly found a sheet" if s["found"] else "no sheet, rightly"
                print(f"{name:<14} {tool:<8} {'-':>8} {'-':>8} {'-':>6} {'-':>8} {'-':>7} "
                      f"{s['kb']:>6.1f}  {entry['desk']} desk without a sheet: {verdict}")
                continue
            ours_cer = cer(results, tool, [name])
            flat_cer = cer(results, "flat", [name])
            notes = [entry.get("desk", "scan")] + (["seal"] if entry.get("seal") else [])
            print(f"{name:<14} {tool:<8} {percent(s['corner']):>8} {s['paper']:>8} "
                  f"{ours_cer:>6.1f} {flat_cer:>8.1f} {s['red']:>7} {s['kb']:>6.1f}  "
                  f"{' '.join(notes)}")


def summary(work, files, truth, scores, results, runs, tool):
    """The set's figures of one tool, as a dict (also what the targets are judged on)."""
    sheets = [n for n in files if truth[n]["has_sheet"]]
    empty = [n for n in files if not truth[n]["has_sheet"]]
    photos = [n for n in sheets if "desk" in truth[n]]
    colour_photos = [n for n in photos if truth[n].get("seal")]
    black_photos = [n for n in photos if not truth[n].get("seal")]
    errors = [scores[tool][n]["corner"] for n in sheets]
    judged = [e if e is not None else float("inf") for e in errors]
    run = runs[tool]
    pdf_kb = os.path.getsize(os.path.join(work, tool + ".pdf")) / 1024
    pages = page_count(os.path.join(work, tool + ".pdf"))
    empty_kb = sum(scores[tool][n]["kb"] for n in empty)
    return {
        "sheets": len(sheets),
        "failed": sum(e is None for e in errors),
        "within1": sum(e <= 0.01 for e in judged),
        "beyond3": sum(e > 0.03 for e in judged),
        "worst": max(judged) if judged else 0.0,
        "median": float(numpy.median(judged)) if judged else 0.0,
        "empty": len(empty),
        "wrongly": sum(scores[tool][n]["found"] for n in empty),
        "paper_min": min(scores[tool][n]["paper"] for n in sheets),
        "paper_below": sum(scores[tool][n]["paper"] < 200 for n in sheets),
        "cer": cer(results, tool, sheets),
        "flat_cer": cer(results, "flat", sheets),
        "cer_pages_over": sum(cer(results, tool, [n]) > cer(results, "flat", [n]) + 1.5
                              for n in sheets),
        # Photos of pages with colour (a seal) against the black ones of the same set: colour
        # pages keep their text at the page's full resolution, so they should read as well.
        # (The scans are left out: their truth does not say which carry a seal.)
        "colour_photos": len(colour_photos),
        "black_photos": len(black_photos),
        "cer_colour": cer(results, tool, colour_photos),
        "cer_black": cer(results, tool, black_photos),
        "seals": sum(bool(truth[n].get("seal")) for n in sheets),
        "seals_red": sum(bool(truth[n].get("seal")) and scores[tool][n]["red"] >= RED_PIXELS
                         for n in sheets),
        "pages": pages,
        "kb_per_page": pdf_kb / pages,
        "empty_kb": empty_kb,
        "kb_per_sheet_page": (pdf_kb - empty_kb) / len(sheets) if sheets else 0.0,
        "seconds_per_photo": run["seconds"] / run["photos"],
        "cpu_per_photo": run["cpu"] / run["photos"],
        "rounds": run["rounds"],
        "peak_kb": run["kb"],
    }


def print_summary(name, s):
    print(f"\n{NAMES[name]}")
    worst = None if s["worst"] == float("inf") else s["worst"]
    print(f"  corners: {s['within1']}/{s['sheets']} within 1% of the diagonal, "
          f"{s['beyond3']} beyond 3% ({s['failed']} without a sheet found); "
          f"median {100 * s['median']:.2f}%, worst {percent(worst)}")
    print(f"  photos without a sheet: {s['wrongly']}/{s['empty']} wrongly given one")
    print(f"  paper 5th percentile: lowest {s['paper_min']}, {s['paper_below']} pages below 200")
    print(f"  CER: {s['cer']:.2f}% against {s['flat_cer']:.2f}% on the flat pages "
          f"({s['cer'] - s['flat_cer']:+.2f} points; {s['cer_pages_over']} pages more than "
          f"1.5 points above their flat page)")
    print(f"  CER of the {s['colour_photos']} photos of pages with a seal {s['cer_colour']:.2f}%, "
          f"of the {s['black_photos']} of black pages {s['cer_black']:.2f}%")
    print(f"  seals still red: {s['seals_red']}/{s['seals']}")
    print(f"  {s['kb_per_page']:.1f} KB per page ({s['pages']} pages); without the "
          f"{s['empty']} photos that hold no sheet ({s['empty_kb']:.0f} KB together): "
          f"{s['kb_per_sheet_page']:.1f} KB per page")
    print(f"  {s['seconds_per_photo']:.2f} s per photo (wall, median of {s['rounds']} rounds; "
          f"CPU {s['cpu_per_photo']:.2f} s), peak {s['peak_kb'] / 1024:.0f} MB")


def memory_by_pages(runs):
    """The peaks at 10 and 100 pages as the median of three sets that each convert 100 pages: the
    largest peak of a set's ten runs of ten, and a run of 100. Returns (ten, hundred, text)."""
    tens = sorted(runs[tool]["kb"] for tool in runs if tool.startswith("ours-10-"))
    hundreds = sorted(runs["ours-100"]["peaks"])
    ten, hundred = float(numpy.median(tens)), float(numpy.median(hundreds))
    growth = 100.0 * (hundred - ten) / ten
    text = (f"{ten / 1024:.0f} MB at 10, {hundred / 1024:.0f} MB at 100 ({growth:+.1f}%; "
            f"medians of {', '.join(f'{kb / 1024:.0f}' for kb in tens)} and of "
            f"{', '.join(f'{kb / 1024:.0f}' for kb in hundreds)})")
    if "ours-200" in runs:
        more = runs["ours-200"]["kb"]
        text += f"; {more / 1024:.0f} MB at 200 ({100.0 * (more - hundred) / hundred:+.1f}% on 100)"
    return ten, hundred, text


def print_targets(ours, classic, runs):
    measured = "ours-100" in runs
    ten, hundred, memory = memory_by_pages(runs) if measured else (0, 0, "not measured")
    targets = [
        ("corners within 1% on >= 95% of photos, none beyond 3%",
         ours["within1"] >= 0.95 * ours["sheets"] and ours["beyond3"] == 0,
         f"{ours['within1']}/{ours['sheets']} within 1%, {ours['beyond3']} beyond 3%"),
        ("paper 5th percentile >= 200 on every page", ours["paper_below"] == 0,
         f"lowest {ours['paper_min']}, {ours['paper_below']} pages below"),
        ("CER at most 1.5 points above the flat pages'",
         ours["cer"] <= ours["flat_cer"] + 1.5,
         f"{ours['cer']:.2f}% against {ours['flat_cer']:.2f}%"),
        ("seals still red", ours["seals_red"] == ours["seals"],
         f"{ours['seals_red']}/{ours['seals']}"),
        # The photos that hold no sheet are kept whole, as they must be (never cropped at a
        # guess): they are photos, not corrected pages, and are shown apart.
        ("<= 120 KB per corrected A4 page on average", ours["kb_per_sheet_page"] <= 120,
         f"{ours['kb_per_sheet_page']:.1f} KB over the {ours['sheets']} corrected pages; "
         f"{ours['kb_per_page']:.1f} KB over all {ours['pages']} pages, the {ours['empty']} "
         f"photos kept whole ({ours['empty_kb']:.0f} KB together) included"),
        ("no slower per photo than the classic pipeline",
         ours["seconds_per_photo"] <= classic["seconds_per_photo"],
         f"{ours['seconds_per_photo']:.2f} s against {classic['seconds_per_photo']:.2f} s "
         f"({ours['seconds_per_photo'] / classic['seconds_per_photo']:.2f}x)"),
    ]
    if measured:
        targets.append(("peak memory flat from 10 to 100 photos (within 10%)", hundred <= 1.1 * ten,
                        memory))
    print("\ntargets of folvane-pdf --document")
    for what, met, figures in targets:
        print(f"  {'met    ' if met else 'NOT MET'}  {what}: {figures}")


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: document_scores.py WORK")
    work = sys.argv[1]
    truth, files, corners, runs = load(work)
    for tool in TOOLS:
        pages = page_count(os.path.join(work, tool + ".pdf"))
        if pages != len(files):
            sys.exit(f"document_scores.py: {tool}.pdf has {pages} pages for {len(files)} photos")
    scores = {}
    for tool in TOOLS:
        pdf = os.path.join(work, tool + ".pdf")
        sizes = image_bytes(pdf)
        scores[tool] = {name: score_page(pdf, page, name, truth, corners[tool].get(name), sizes)
                        for page, name in enumerate(files, 1)}
    results = recognise_all(work, files, truth)
    print_per_photo(files, truth, scores, results)
    photo_kb = sum(os.path.getsize(os.path.join(work, "photos", n)) for n in files) / len(files)
    photo_kb /= 1024
    print(f"\nthe photos: {photo_kb:.0f} KB on average; corner: the largest corner displacement "
          "over the page's diagonal (the classic's corners may start at any corner); KB: the "
          "page's images in the PDF")
    figures = {tool: summary(work, files, truth, scores, results, runs, tool) for tool in TOOLS}
    for tool in TOOLS:
        print_summary(tool, figures[tool])
    print_targets(figures["ours"], figures["classic"], runs)


if __name__ == "__main__":
    main()
