#!/usr/bin/env python3
"""Writes damaged copies of a good MIDI tune into a folder, one file each:
cut short at several lengths, without notes, without tracks, with a meta or
sysex event far longer than the file, an absurd track count or length.
    damaged_tunes.py GOOD_TUNE FOLDER"""
import struct
import sys


def varlen(n):
    out = [n & 0x7F]
    n >>= 7
    while n:
        out.append(0x80 | (n & 0x7F))
        n >>= 7
    return bytes(reversed(out))


def header(tracks, fmt=1, division=480, length=6):
    return b"MThd" + struct.pack(">IHHH", length, fmt, tracks, division)


def track(events, length=None):
    return b"MTrk" + struct.pack(">I", len(events) if length is None else length) + events


END = b"\x00\xff\x2f\x00"
NOTE = b"\x00\x90\x3c\x64" + varlen(480) + b"\x80\x3c\x40"


def cases(good):
    size = len(good)
    for cut in (14, 15, 22, 40, 100, size // 2, size - 4, size - 1):
        yield "cut-%d" % cut, good[:cut]
    yield "no-notes", header(1) + track(b"\x00\xff\x51\x03\x07\xa1\x20" + END)
    yield "only-end", header(1) + track(END)
    yield "no-tracks", header(0)
    yield "tracks-missing", header(3) + track(NOTE + END)
    yield "empty-track", header(1) + track(b"")
    yield "huge-meta", header(1) + track(b"\x00\xff\x01" + varlen(0x0FFFFFFF) + b"text" + NOTE + END)
    yield "huge-sysex", header(1) + track(b"\x00\xf0" + varlen(0x0FFFFFFF) + b"\x7e\x7f" + NOTE + END)
    yield "many-tracks", header(65535) + track(NOTE + END)
    yield "track-too-long", header(1) + track(NOTE + END, length=0xFFFFFFF0)
    yield "no-end-of-track", header(1) + track(NOTE)
    yield "smpte-time", header(1, division=0xE728) + track(NOTE + END)
    yield "zero-division", header(1, division=0) + track(NOTE + END)
    yield "bad-status", header(1) + track(b"\x00\x3c\x64" + NOTE + END)
    yield "header-only-magic", b"MThd"


def main():
    good = open(sys.argv[1], "rb").read()
    for name, data in cases(good):
        with open("%s/%s.mid" % (sys.argv[2], name), "wb") as f:
            f.write(data)
        print(name)


if __name__ == "__main__":
    main()
