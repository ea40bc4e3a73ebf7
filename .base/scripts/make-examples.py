#!/usr/bin/env python3
"""Writes the example Formant files in examples/ from the Peterson & Barney (1952) vowel
measurements that Debian's praat package carries as a built-in table.

Needs praat (apt-get install praat) only when run; the files it writes are committed.
Usage: scripts/make-examples.py [OUTPUT_DIR]
"""
import csv
import pathlib
import subprocess
import sys
import tempfile

# The table writes its vowels in praat's backslash codes; these are their IPA letters.
IPA = {
    "i": "i", "\\ic": "\u026a", "\\ef": "\u025b", "\\ae": "\u00e6", "\\as": "\u0251",
    "\\ct": "\u0254", "\\hs": "\u028a", "u": "u", "\\vt": "\u028c", "\\er\\hr": "\u025d",
}
GROUPS = {"m": "men", "w": "women", "c": "children"}
HEADING = "F1\tF2\tF3\tvowel"


def measurements():
    with tempfile.TemporaryDirectory() as scratch:
        table = pathlib.Path(scratch) / "pb.tsv"
        script = pathlib.Path(scratch) / "pb.praat"
        script.write_text("Create formant table (Peterson & Barney 1952)\n"
                          f'Save as tab-separated file: "{table}"\n')
        subprocess.run(["praat_nogui", "--run", str(script)], check=True)
        with table.open(newline="", encoding="utf-8") as rows:
            return list(csv.DictReader(rows, delimiter="\t"))


def token_line(row):
    # The form the program itself saves: F1 TAB F2 TAB F3 TAB "label" TAB CR LF.
    return f'{int(row["F1"])}\t{int(row["F2"])}\t{int(row["F3"])}\t"{IPA[row["IPA"]]}"\t\r\n'


def write(path, rows):
    with open(path, "w", encoding="utf-8", newline="") as out:
        out.write(HEADING + "\r\n")
        out.writelines(token_line(row) for row in rows)
    print(f"{path}: {len(rows)} tokens")


def main():
    out_dir = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else "examples")
    out_dir.mkdir(parents=True, exist_ok=True)
    rows = measurements()
    write(out_dir / "peterson-barney-all.txt", rows)
    for code, group in GROUPS.items():
        write(out_dir / f"peterson-barney-{group}.txt", [r for r in rows if r["Type"] == code])


if __name__ == "__main__":
    main()
