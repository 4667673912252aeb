#!/usr/bin/python3
"""Highlights the same Swift file with Pygments (Debian's python3-pygments) and with our highlighter, in
turns, and prints both speeds and their ratio. Run through compare_with_pygments.sh, which builds the
benchmark first.

    compare_with_pygments.py <bench_highlighter> [rounds]
"""
import json
import os
import statistics
import subprocess
import sys
import tempfile
import time
from pathlib import Path

import pygments
from pygments import highlight
from pygments.formatters import HtmlFormatter
from pygments.lexers import SwiftLexer


def pygments_lines_per_second(code, lines, runs=5):
    lexer, formatter = SwiftLexer(), HtmlFormatter()
    highlight(code, lexer, formatter)  # warm-up
    rates = []
    for _ in range(runs):
        start = time.perf_counter()
        highlight(code, lexer, formatter)
        rates.append(lines / (time.perf_counter() - start))
    return statistics.median(rates)


# The attributed-string output is a run list of some 12 MB for this file; whether the allocator hands out
# memory the process already touched, or fresh pages from the system, changes its speed many times over on
# a machine whose page faults are slow. It is measured both ways: with the allocator's defaults, and with
# freed memory kept for reuse.
KEEP_FREED_MEMORY = "glibc.malloc.mmap_threshold=33554432:glibc.malloc.trim_threshold=1073741824"


def our_lines_per_second(bench, name, tunables=None):
    environment = dict(os.environ)
    if tunables:
        environment["GLIBC_TUNABLES"] = tunables
    output = subprocess.run(
        [bench, f"--benchmark_filter=^{name}$", "--benchmark_format=json", "--benchmark_repetitions=5",
         "--benchmark_report_aggregates_only=true"],
        check=True, capture_output=True, text=True, env=environment).stdout
    for entry in json.loads(output)["benchmarks"]:
        if entry.get("aggregate_name") == "median":
            return entry["lines/s"]
    raise RuntimeError(f"{name} reported no median")


def main():
    bench = sys.argv[1]
    rounds = int(sys.argv[2]) if len(sys.argv) > 2 else 3
    with tempfile.TemporaryDirectory() as folder:
        path = Path(folder) / "sample.swift"
        subprocess.run([bench, f"--swift-file={path}"], check=True)
        code = path.read_text(encoding="utf-8")
    lines = code.count("\n")
    print(f"Swift file: {lines} lines; Pygments {pygments.__version__}")
    ratios = []
    for round_number in range(1, rounds + 1):
        theirs = pygments_lines_per_second(code, lines)
        ours = our_lines_per_second(bench, "BM_HighlightLongFileAsHTML/2000")
        attributed = our_lines_per_second(bench, "BM_HighlightLongFileAsAttributedString")
        attributedWarm = our_lines_per_second(bench, "BM_HighlightLongFileAsAttributedString", KEEP_FREED_MEMORY)
        ratios.append(ours / theirs)
        print(f"round {round_number}: Pygments {theirs:,.0f} lines/s, HTML {ours:,.0f} lines/s "
              f"({ours / theirs:.1f} x Pygments), attributed string {attributed:,.0f} lines/s "
              f"({attributedWarm:,.0f} lines/s with freed memory kept)")
    print(f"median: {statistics.median(ratios):.1f} x Pygments")


if __name__ == "__main__":
    main()
