#!/usr/bin/python3
"""Times Pygments highlighting a Swift file as HTML: prints the file's lines and the median lines per
second of several runs. The yardstick for the highlighter's own benchmark (see compare_with_pygments.sh)."""
import statistics
import sys
import time

import pygments
from pygments import highlight
from pygments.formatters import HtmlFormatter
from pygments.lexers import SwiftLexer


def main():
    path = sys.argv[1]
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 7
    with open(path, encoding="utf-8") as file:
        code = file.read()
    lines = code.count("\n")
    lexer, formatter = SwiftLexer(), HtmlFormatter()
    highlight(code, lexer, formatter)  # warm-up
    rates = []
    for _ in range(runs):
        start = time.perf_counter()
        highlight(code, lexer, formatter)
        rates.append(lines / (time.perf_counter() - start))
    print(f"pygments {pygments.__version__}: {lines} lines, {statistics.median(rates):.0f} lines/s")


if __name__ == "__main__":
    main()
