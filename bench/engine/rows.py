#!/usr/bin/env python3
"""Runs each case of engine_bench in a fresh process at several table sizes
and prints its time and the process's peak memory.

    rows.py <build folder> [rows ...]        (default: 10000 100000 1000000)

The orders tables are written once by sampledata --large into
<build>/bench-tables/orders-<rows>/ORDERS.DB."""
import csv
import io
import os
import subprocess
import sys

CASES = ["OpenTable", "FirstPreviewPage", "ExportText", "PrintToPdf"]


def table(build, rows):
    path = os.path.join(build, "bench-tables", f"orders-{rows}", "ORDERS.DB")
    if not os.path.exists(path):
        subprocess.run([os.path.join(build, "tools", "sampledata", "sampledata"), "--large", str(rows), path],
                       check=True, env=dict(os.environ, QT_QPA_PLATFORM="offscreen"))
    return path


def run(build, case, orders):
    out = subprocess.run([os.path.join(build, "bench", "engine", "engine_bench"), f"--orders={orders}",
                          f"--benchmark_filter=^{case}(/|$)", "--benchmark_format=csv"],
                         check=True, capture_output=True, text=True,
                         env=dict(os.environ, QT_QPA_PLATFORM="offscreen")).stdout
    row = next(csv.DictReader(io.StringIO(out[out.index("name,"):])))
    if row.get("error_occurred") == "true":
        raise SystemExit(f"{case}: {row['error_message']}")
    return float(row["real_time"]) / 1000, float(row["peak MB"])


def main():
    if len(sys.argv) < 2:
        raise SystemExit(__doc__)
    build = sys.argv[1]
    sizes = [int(n) for n in sys.argv[2:]] or [10000, 100000, 1000000]
    print(f"{'rows':>9} {'case':<18} {'seconds':>9} {'peak MB':>9}")
    for rows in sizes:
        orders = table(build, rows)
        for case in CASES:
            seconds, peak = run(build, case, orders)
            print(f"{rows:>9} {case:<18} {seconds:>9.2f} {peak:>9.0f}", flush=True)


if __name__ == "__main__":
    main()
