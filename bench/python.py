#!/usr/bin/env python3
"""The Python module against the batch command: states per second of ondix.stato on a million (t, ur) pairs with
one and with two threads, the rows per second of "ondix-calc stati -j 1" on the same pairs as a CSV, and the time
of one scalar call. Wall-clock and processor times are both printed: on a busy machine only the processor time
of one thread means much.

    PYTHONPATH=build/python python3 bench/python.py build/src/cli/ondix-calc
"""

import os
import resource
import subprocess
import sys
import tempfile
import time

import numpy as np

import ondix

N = 1_000_000


def main():
    calc = sys.argv[1]
    casuale = np.random.default_rng(1)
    t = np.round(casuale.uniform(-20, 40, N), 2)
    ur = np.round(casuale.uniform(5, 100, N), 2)
    with tempfile.NamedTemporaryFile("w", suffix=".csv", delete=False) as f:
        f.write("t,ur\n" + "".join(f"{a!r},{b!r}\n" for a, b in zip(t, ur)))
    try:
        prima = resource.getrusage(resource.RUSAGE_CHILDREN)
        inizio = time.perf_counter()
        subprocess.run([calc, "stati", "-j", "1", f.name], stdout=subprocess.DEVNULL, check=True)
        parete = time.perf_counter() - inizio
        dopo = resource.getrusage(resource.RUSAGE_CHILDREN)
        cpu = (dopo.ru_utime - prima.ru_utime) + (dopo.ru_stime - prima.ru_stime)
    finally:
        os.unlink(f.name)
    riferimento = N / parete
    print(f"ondix-calc stati -j 1: {riferimento:,.0f} rows/s (processor: {N / cpu:,.0f} rows/s)")
    for fili in (1, 2):
        migliore = float("inf")
        cpu_migliore = float("inf")
        for _ in range(3):
            c0, p0 = time.process_time(), time.perf_counter()
            ondix.stato(t=t, ur=ur, threads=fili)
            migliore = min(migliore, time.perf_counter() - p0)
            cpu_migliore = min(cpu_migliore, time.process_time() - c0)
        print(f"ondix.stato, {fili} thread(s): {N / migliore:,.0f} states/s, {N / migliore / riferimento:.2f}x "
              f"(processor time of all threads: {N / cpu_migliore:,.0f} states/s)")
    n = 200_000
    c0, p0 = time.process_time(), time.perf_counter()
    for _ in range(n):
        ondix.stato(t=20.0, ur=50.0)
    print(f"ondix.stato(t=20.0, ur=50.0): {(time.perf_counter() - p0) / n * 1e6:.2f} us "
          f"(processor: {(time.process_time() - c0) / n * 1e6:.2f} us)")


if __name__ == "__main__":
    main()
