#!/usr/bin/env python3
"""The memory a group of processes holds, each physical page counted once.

PSS splits a shared page among every process on the machine that maps it, so a tree's PSS falls
when other programs happen to map the same libraries (other builds' tests starting the same web
engine) and rises on a quiet machine. The pages the tree itself has resident, counted once
however many of its processes map them, do not depend on what else runs: that is the figure to
compare between runs. Reads /proc/PID/pagemap, which gives page frame numbers to root only;
prints nothing (and exits 1) otherwise.

Usage: resident.py PID...   prints the megabytes.
"""
import os
import struct
import sys

PAGE = os.sysconf("SC_PAGE_SIZE")
PRESENT = 1 << 63
FRAME = (1 << 55) - 1


def resident_ranges(pid):
    """The mappings that have pages in memory (huge reservations that hold none are skipped)."""
    start = end = None
    with open(f"/proc/{pid}/smaps") as smaps:
        for line in smaps:
            first = line.split(maxsplit=1)[0]
            if "-" in first and not first.endswith(":"):
                start, end = (int(x, 16) for x in first.split("-"))
            elif first == "Rss:" and int(line.split()[1]) > 0:
                yield start, end


def frames(pid):
    found = set()
    fd = os.open(f"/proc/{pid}/pagemap", os.O_RDONLY)
    try:
        for start, end in resident_ranges(pid):
            pages = (end - start) // PAGE
            data = os.pread(fd, pages * 8, start // PAGE * 8)
            for entry in struct.unpack(f"{len(data) // 8}Q", data):
                if entry & PRESENT and entry & FRAME:
                    found.add(entry & FRAME)
    finally:
        os.close(fd)
    return found


def main(pids):
    everything = set()
    for pid in pids:
        try:
            everything |= frames(pid)
        except (FileNotFoundError, ProcessLookupError):
            pass  # ended meanwhile
    if not everything:
        return 1  # no frame numbers: not root
    print(f"{len(everything) * PAGE / 1048576:.0f}")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
