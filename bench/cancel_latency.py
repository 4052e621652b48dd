#!/usr/bin/env python3
"""How long a cancelled search takes to answer: starts `pinsum solve` at each level, sends Ctrl+C
(SIGINT) after each delay and prints the time until the program reports the cancel on stderr and
until it has exited, with the program's memory at the moment of the cancel.

Usage: bench/cancel_latency.py PINSUM CATALOGUE.pp REQUEST.json [DELAY_SECONDS...]
The catalogue of equally good modules (bench/catalogues/forks.json, imported with `pinsum catalogue
import`) forks without end, so its searches are still running at every delay."""
import signal
import subprocess
import sys
import time


def resident_megabytes(pid):
    with open(f"/proc/{pid}/status") as status:
        for line in status:
            if line.startswith("VmRSS:"):
                return int(line.split()[1]) // 1024
    return 0


def measure(pinsum, catalogue, request, level, delay):
    proc = subprocess.Popen(
        [pinsum, "solve", "--catalogue", catalogue, "--request", request, "--level", str(level)],
        stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    time.sleep(delay)
    if proc.poll() is not None:
        return None
    memory = resident_megabytes(proc.pid)
    start = time.monotonic()
    proc.send_signal(signal.SIGINT)
    proc.stderr.readline()
    reported = time.monotonic()
    proc.wait()
    ended = time.monotonic()
    return memory, 1000 * (reported - start), 1000 * (ended - start)


def main():
    if len(sys.argv) < 4:
        sys.exit(__doc__)
    pinsum, catalogue, request = sys.argv[1:4]
    delays = [float(d) for d in sys.argv[4:]] or [0.3, 0.8, 1.5, 2.0]
    for level in (0, 3, 6):
        for delay in delays:
            result = measure(pinsum, catalogue, request, level, delay)
            if result is None:
                print(f"level {level}, Ctrl+C after {delay} s: the search had ended")
                continue
            memory, reported, ended = result
            print(f"level {level}, Ctrl+C after {delay} s ({memory} MB): reported in "
                  f"{reported:.0f} ms, exited in {ended:.0f} ms")


if __name__ == "__main__":
    main()
