#!/usr/bin/env python3
"""Word-sequence similarity of "kvelo-rtf text" with LibreOffice's text.

Usage: corpus_similarity.py KVELO_RTF CORPUS_DIR [--worst N]
For every CORPUS_DIR/rtf/files/X with a reference CORPUS_DIR/rtf/ref-lo/X.txt,
both texts are split into lower-case words and compared with difflib's
SequenceMatcher (ratio = 2 * matched words / total words). Prints one line per
file, then the mean and median, and the worst files.
"""
import difflib
import os
import re
import statistics
import subprocess
import sys

WORD = re.compile(r"\w+", re.UNICODE)


def words(text):
    return [w.lower() for w in WORD.findall(text)]


def similarity(ours, reference):
    if not ours and not reference:
        return 1.0
    return difflib.SequenceMatcher(None, ours, reference, autojunk=False).ratio() if \
        len(ours) * len(reference) < 4e8 else \
        difflib.SequenceMatcher(None, ours, reference).ratio()


def main():
    tool, corpus = sys.argv[1], sys.argv[2]
    worst = int(sys.argv[sys.argv.index("--worst") + 1]) if "--worst" in sys.argv else 15
    files_dir = os.path.join(corpus, "rtf", "files")
    ref_dir = os.path.join(corpus, "rtf", "ref-lo")
    scores = []
    for name in sorted(os.listdir(files_dir)):
        ref = os.path.join(ref_dir, name + ".txt")
        if not os.path.exists(ref):
            continue
        run = subprocess.run([tool, "text", os.path.join(files_dir, name)],
                             capture_output=True, timeout=60)
        ours = run.stdout.decode("utf-8", "replace")
        with open(ref, encoding="utf-8-sig", errors="replace") as f:
            reference = f.read()
        score = similarity(words(ours), words(reference))
        scores.append((score, name, run.returncode))
        print(f"{score:.3f} rc={run.returncode} {name}")
    values = [s for s, _, _ in scores]
    print(f"files {len(values)} mean {statistics.mean(values):.3f} "
          f"median {statistics.median(values):.3f}")
    print("worst:")
    for score, name, rc in sorted(scores)[:worst]:
        print(f"  {score:.3f} rc={rc} {name}")


if __name__ == "__main__":
    main()
