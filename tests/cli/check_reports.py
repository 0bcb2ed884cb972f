#!/usr/bin/python3
"""tolvaris-chart --pdf and --html for each kind of reading, read back by
other programs: pdftotext gives every line of the saved reading back in its
order, pdffonts shows a proportional book face embedded and no fixed-width
one, and Debian's tidy finds nothing wrong with the HTML."""
import json
import re
import subprocess
import sys
import tempfile
from pathlib import Path

BIRTH = ["--name", "Anna", "--date", "1990-01-01", "--time", "12:00", "--latitude", "52.52",
         "--longitude", "13.41", "--zone", "Europe/Berlin"]
SECOND = "tolvaris-chart 1\nname: Ben\ndate: 1988-06-14\ntime: 08:30\n" \
         "latitude: 48n08\nlongitude: 11e34\nzone: Europe/Berlin\n"
failures = []


def check(condition, what):
    if not condition:
        failures.append(what)


def words(text):
    # pdftotext joins a word broken after its hyphen, dropping the hyphen.
    return " ".join(text.split()).replace("- ", "").replace("-", "")


def entry_keys(folder):
    """The key lines of the data files beside the tool: the first line of
    each entry, which the report replaces with a heading of its own."""
    keys = set()
    for data in folder.glob("*.TXT"):
        starts = True
        for line in data.read_bytes().decode("cp1252").split("\r\n"):
            text = line.strip()
            if text in ("*", "[]"):
                starts = True
            elif text and starts:
                keys.add(words(text))
                starts = False
    return keys


def reading_lines(path, keys):
    """The saved reading's lines after its heading block, but for entry keys
    and short lines (a heading's wrapped end may be found elsewhere)."""
    lines = path.read_bytes().decode("cp1252").split("\r\n")
    kept, in_heading = [], True
    for line in lines:
        text = line.strip()
        if text.startswith("-----"):
            in_heading = False
        elif len(text) > 50 and not in_heading and words(text) not in keys:
            kept.append(words(text))
    return kept


def pdf_body(path):
    """The text of the pages after the first, without the running head
    (first line) and the page number (last line)."""
    text = subprocess.run(["pdftotext", str(path), "-"], capture_output=True, check=True,
                          text=True).stdout
    pages = [page.strip().split("\n") for page in text.split("\f") if page.strip()]
    return words(" ".join(" ".join(page[1:-1]) for page in pages[1:]))


def main(executable):
    keys = entry_keys(Path(executable).parent)
    with tempfile.TemporaryDirectory() as folder:
        out = Path(folder)
        (out / "b.chart").write_text(SECOND)
        kinds = {
            "natal": [],
            "by-house": ["--order", "houses"],
            "forecast": ["--transits", "2027-01-01..2027-03-31"],
            "progressions": ["--progressions", "2027-01-01..2029-12-31"],
            "solar-return": ["--solar-return", "2027"],
            "relationship": ["--with", str(out / "b.chart")],
            "composite": ["--with", str(out / "b.chart"), "--composite"],
        }
        for kind, more in kinds.items():
            pdf, html, saved = out / f"{kind}.pdf", out / f"{kind}.html", out / f"{kind}.txt"
            done = subprocess.run([executable] + BIRTH + more + ["--pdf", str(pdf), "--html",
                                  str(html), "--reading", str(saved)], capture_output=True)
            if done.returncode != 0:
                failures.append(f"{kind}: exit {done.returncode}: {done.stderr!r}")
                continue
            # Each entry is headed by the report's own words, not its key line.
            shown = subprocess.run(["pdftotext", str(pdf), "-"], capture_output=True, check=True,
                                   text=True).stdout
            for line in shown.split("\n"):
                check(words(line) not in keys, f"{kind}: an entry's key line in the PDF: {line!r}")
            # The first page tells whose chart it is, a composite apart (it has no
            # birth), a return's as the moment it was cast for.
            label = {"composite": None, "solar-return": "Moment"}.get(kind, "Born")
            first_page = shown.split("\f")[0].split("\n")
            check(label is None or label in first_page, f"{kind}: no {label} on the first page")
            # A section heading stands in capitals on the page, not in the report.
            body = pdf_body(pdf).lower()
            if kind == "forecast":
                # Every transit has its bar in the timeline, however many pages it takes.
                listed = json.loads(subprocess.run([executable] + BIRTH + more + ["--json"],
                                                   capture_output=True, check=True).stdout)
                labels = [f"{t['transiting']} {t['kind']} {t['natal']}"
                          for t in listed["transits"]]
                shown = words(subprocess.run(["pdftotext", str(pdf), "-"], capture_output=True,
                                             check=True, text=True).stdout)
                for label in set(labels):
                    check(shown.count(label) >= labels.count(label),
                          f"forecast: {labels.count(label)} bars of {label!r}, "
                          f"{shown.count(label)} in the PDF")
            at, given = 0, set()
            for line in reading_lines(saved, keys):
                if re.match(r"^(Born|Place|Coordinates|Universal time|Houses|Ephemeris):", line):
                    continue  # the chart's data, which the first page shows
                found = body.find(line.lower(), at)
                # An entry the page repeats (a transit's next pass) the report gives once.
                check(found >= 0 or line in given, f"{kind}: not in the PDF's reading order: {line!r}")
                given.add(line)
                at = found if found >= 0 else at
            fonts = subprocess.run(["pdffonts", str(pdf)], capture_output=True, check=True,
                                   text=True).stdout.split("\n")[2:]
            embedded = [row.split()[0] for row in fonts if row.strip()]
            check(any(re.match(r"^(\w+\+)?DejaVuSerif$", name) for name in embedded),
                  f"{kind}: no DejaVu Serif in {embedded}")
            check(not any("Mono" in name for name in embedded),
                  f"{kind}: a fixed-width font in {embedded}")
            check(all(row.split()[-5] == "yes" for row in fonts if row.strip()),
                  f"{kind}: a font not embedded: {fonts}")
            tidy = subprocess.run(["tidy", "-q", "-e", str(html)], capture_output=True, text=True)
            check(tidy.returncode == 0, f"{kind}: tidy {tidy.returncode}: {tidy.stderr}")
    for failure in failures:
        print(failure)
    return 1 if failures else 0


sys.exit(main(sys.argv[1]))
