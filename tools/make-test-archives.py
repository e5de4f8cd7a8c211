#!/usr/bin/env python3
"""Regenerates the skin archive test data in tests/skin/data/ from tests/skin/data/source/.

The archives come from three zip writers we did not write (Python's zipfile, `cmake -E tar
--format=zip`, Info-ZIP `zip`), so the reader is checked against real-world layouts rather than
against our own idea of the format. Damaged archives are intact ones with single fields patched,
so every test names exactly one fault. Output is deterministic (fixed times, fixed stub, fixed
noise), so regenerating gives byte-identical files unless a tool's version changes its output.

Usage: tools/make-test-archives.py            (needs python3, cmake and zip on PATH)
"""
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import zlib
import zipfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
DATA = os.path.join(ROOT, "tests", "skin", "data")
SOURCE = os.path.join(DATA, "source")
FIXED_TIME = (2024, 5, 17, 12, 30, 0)
FIXED_EPOCH = 1715949000  # 2024-05-17 12:30:00 UTC
ENTRIES = ["MainWnd.xml", "Bom.xml", "skin/btn.png", "ten.bin", "noise.bin", "empty.txt"]


def tool(name):
    path = shutil.which(name)
    if not path:
        sys.exit(f"make-test-archives: '{name}' is needed (Debian package: {name})")
    return path


def png_bytes():
    """A 3x1 RGBA PNG: opaque red, half-transparent green, magenta (a mask colour)."""
    raw = b"\x00" + bytes([255, 0, 0, 255, 0, 255, 0, 128, 255, 0, 255, 255])

    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))

    header = struct.pack(">IIBBBBB", 3, 1, 8, 6, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")


def noise_bytes(count):
    """Letters from a fixed linear congruential sequence: compresses, but to well over 16 KB."""
    state, out = 12345, bytearray()
    for _ in range(count):
        state = (state * 1103515245 + 12345) & 0x7FFFFFFF
        out.append(ord("a") + (state >> 16) % 26)
    return bytes(out)


def write_sources():
    os.makedirs(os.path.join(SOURCE, "skin"), exist_ok=True)
    # MainWnd.xml is written by hand; Bom.xml is the same layout behind a UTF-8 byte-order mark.
    generated = {"Bom.xml": b"\xef\xbb\xbf" + read("MainWnd.xml"), "skin/btn.png": png_bytes(),
                 "ten.bin": b"0123456789", "noise.bin": noise_bytes(36000), "empty.txt": b""}
    for name, body in generated.items():
        with open(os.path.join(SOURCE, name), "wb") as f:
            f.write(body)


def read(name):
    with open(os.path.join(SOURCE, name), "rb") as f:
        return f.read()


def python_zip(path, method, comment=b""):
    with zipfile.ZipFile(path, "w") as z:
        for name in ENTRIES:
            info = zipfile.ZipInfo(name, FIXED_TIME)
            info.compress_type = method
            info.external_attr = 0o644 << 16
            z.writestr(info, read(name))
        z.comment = comment


def run(args, **kwargs):
    # Reading a file may move its access time, which cmake's writer records: pin it before each run.
    for name in ENTRIES + ["skin"]:
        os.utime(os.path.join(SOURCE, name), (FIXED_EPOCH, FIXED_EPOCH))
    return subprocess.run(args, check=True, cwd=SOURCE, env=dict(os.environ, TZ="UTC"), **kwargs)


def directory(blob):
    """(end record offset, [(central entry offset, local header offset, name)])."""
    end = blob.rfind(b"PK\x05\x06")
    count, size, offset = struct.unpack_from("<HII", blob, end + 10)
    base = end - (offset + size)
    entries, pos = [], base + offset
    for _ in range(count):
        assert blob[pos:pos + 4] == b"PK\x01\x02"
        n, e, c = struct.unpack_from("<HHH", blob, pos + 28)
        local = struct.unpack_from("<I", blob, pos + 42)[0]
        entries.append((pos, base + local, blob[pos + 46:pos + 46 + n].decode()))
        pos += 46 + n + e + c
    return end, entries


def entry(blob, name):
    for central, local, entry_name in directory(blob)[1]:
        if entry_name == name:
            return central, local
    raise KeyError(name)


def patch(blob, offset, fmt, value):
    blob = bytearray(blob)
    struct.pack_into(fmt, blob, offset, value)
    return bytes(blob)


def patch_both(blob, name, central_field, local_field, fmt, change):
    """Applies change(old) to one field in both the central and the local header of an entry."""
    central, local = entry(blob, name)
    old = struct.unpack_from(fmt, blob, central + central_field)[0]
    blob = patch(blob, central + central_field, fmt, change(old))
    return patch(blob, local + local_field, fmt, change(old))


def data_offset(blob, name):
    local = entry(blob, name)[1]
    n, e = struct.unpack_from("<HH", blob, local + 26)
    return local + 30 + n + e


def pin_change_times(blob):
    """cmake's writer records each file's inode change time, which nothing can set: pin it too."""
    blob = bytearray(blob)
    for central, local, _ in directory(bytes(blob))[1]:
        for header, fixed, lengths in ((central, 46, 28), (local, 30, 26)):
            n, e = struct.unpack_from("<HH", blob, header + lengths)
            pos, stop = header + fixed + n, header + fixed + n + e
            while pos + 4 <= stop:
                kind, size = struct.unpack_from("<HH", blob, pos)
                if kind == 0x5455 and size == 13:
                    struct.pack_into("<III", blob, pos + 5, FIXED_EPOCH, FIXED_EPOCH, FIXED_EPOCH)
                pos += 4 + size
    return bytes(blob)


def save(name, blob):
    with open(os.path.join(DATA, name), "wb") as f:
        f.write(blob)


def load(name):
    with open(os.path.join(DATA, name), "rb") as f:
        return f.read()


def main():
    tool("cmake")
    zip_tool = tool("zip")
    write_sources()

    # Intact archives from three writers.
    python_zip(os.path.join(DATA, "python-stored.zip"), zipfile.ZIP_STORED)
    python_zip(os.path.join(DATA, "python-deflated.zip"), zipfile.ZIP_DEFLATED)
    for name in ["cmake.zip", "infozip.zip", "infozip-stream.zip", "stub-adjusted.zip"]:
        if os.path.exists(os.path.join(DATA, name)):
            os.remove(os.path.join(DATA, name))
    run([tool("cmake"), "-E", "tar", "cf", os.path.join(DATA, "cmake.zip"), "--format=zip",
         "--mtime=2024-05-17 12:30:00 UTC"] + ENTRIES)
    save("cmake.zip", pin_change_times(load("cmake.zip")))
    run([zip_tool, "-q", "-X", "-r", os.path.join(DATA, "infozip.zip")] + ENTRIES)
    # Written to a pipe, zip cannot seek back: sizes and CRC-32 follow each entry's data.
    piped = run([zip_tool, "-q", "-X", "-", "MainWnd.xml", "noise.bin", "ten.bin"], stdout=subprocess.PIPE).stdout
    save("infozip-stream.zip", piped)
    stream = load("infozip-stream.zip")
    assert all(struct.unpack_from("<H", stream, local + 6)[0] & 8 for _, local, _ in directory(stream)[1])

    # A launcher stub before the archive: once with the offsets left as they were (the reader must
    # work out the shift), once with them adjusted by Info-ZIP's -A.
    stub = b"MZ" + bytes(range(256)) * 16
    save("stub-prepended.zip", stub + load("python-deflated.zip"))
    save("stub-adjusted.zip", stub + load("infozip.zip"))
    run([zip_tool, "-q", "-A", os.path.join(DATA, "stub-adjusted.zip")])

    # The largest comment the end record can describe, and the same with the record one byte
    # further from the end than any comment allows.
    python_zip(os.path.join(DATA, "comment-max.zip"), zipfile.ZIP_DEFLATED, b"c" * 65535)
    save("comment-too-far.zip", load("comment-max.zip") + b"c")

    stored = load("python-stored.zip")
    deflated = load("python-deflated.zip")

    # Damaged archives, one fault each.
    save("bad-crc.zip", patch(stored, data_offset(stored, "MainWnd.xml") + 200, "<B",
                              stored[data_offset(stored, "MainWnd.xml") + 200] ^ 0x01))
    save("truncated.zip", deflated[:len(deflated) // 2])
    save("cut-deflate.zip", patch_both(deflated, "noise.bin", 20, 18, "<I", lambda size: size // 2))
    save("size-too-big.zip", patch_both(deflated, "MainWnd.xml", 24, 22, "<I", lambda size: size + 100))
    save("size-too-small.zip", patch_both(deflated, "MainWnd.xml", 24, 22, "<I", lambda size: size - 100))
    save("stored-size-mismatch.zip", patch_both(stored, "ten.bin", 24, 22, "<I", lambda size: size + 1))
    save("method-12.zip", patch_both(stored, "ten.bin", 10, 8, "<H", lambda method: 12))
    save("huge-entry.zip", patch_both(stored, "skin/btn.png", 24, 22, "<I", lambda size: 0xFFFFFFF0))
    end = directory(deflated)[0]
    save("multi-disk.zip", patch(patch(deflated, end + 4, "<H", 1), end + 6, "<H", 1))
    central, _ = entry(deflated, "ten.bin")
    save("bad-local-offset.zip", patch(deflated, central + 42, "<I", 0xFFFFFFF0))
    save("bad-directory-offset.zip", patch(deflated, end + 16, "<I", 0x7FFFFFF0))
    save("entry-count-lie.zip", patch(patch(deflated, end + 8, "<H", 0xFFFF), end + 10, "<H", 0xFFFF))
    print("make-test-archives: wrote", DATA)


if __name__ == "__main__":
    main()
