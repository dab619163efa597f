#!/usr/bin/env python3
"""Writes queue databases (data file, index, recovery copies) from a small
description, and dumps a database back. Shares nothing with the code under
test: MD5 comes from hashlib, the word sum is computed here.

  queue_fixtures.py fixtures DIR      writes the tests' databases into DIR
  queue_fixtures.py make DESC.json BASE
  queue_fixtures.py dump BASE         prints header fields and index entries
  queue_fixtures.py selftest          checks the empty 44- and 68-byte files

A description (JSON): {"records": [{"id", "key", "flags", "version", "data"}],
"version": [2, 0], "format": "2" or "1.3", "copies": bool, "terminator": bool,
"index": [[six words], ...] (entries written instead of the records' own),
"damage": [["data"|"index", offset, byte], ...] applied after sealing}.
"""
import hashlib
import json
import os
import struct
import sys

SEAL = 16


def word_sum(data):
    total = 0
    for i in range(0, len(data), 4):
        word = data[i:i + 4].ljust(4, b"\0")
        total = (total + int.from_bytes(word, "big")) & 0xFFFFFFFF
    return total


def header(signature, version=2, sub=0, last=b"\xff\xff\xff\xff"):
    h = struct.pack("<I", SEAL + 24) + signature + struct.pack("<H", SEAL) + bytes(SEAL)
    h += struct.pack("<HHHH", 2, version, 2, sub)
    h += struct.pack("<H", len(last)) + last
    return bytearray(h)


def seal(data):
    zeroed = bytes(data[:14]) + bytes(SEAL) + bytes(data[14 + SEAL:])
    data[14:14 + SEAL] = hashlib.md5(zeroed).digest()
    return data


def entry_bytes(words):
    return struct.pack("<6I", *[w & 0xFFFFFFFF for w in words])


def build(desc):
    """Returns (data bytes, index bytes) for a description."""
    records = desc.get("records", [])
    version, sub = desc.get("version", [2, 0])
    if desc.get("format") == "1.3":
        data = header(b"ADHB-SDK", 1, 3, struct.pack("<I", len(records)))
        for r in records:
            payload = r["data"].encode("latin-1")
            data += struct.pack("<IIIHI", r["id"], r.get("key", 0), r.get("flags", 1), r.get("version", 3000),
                                len(payload)) + payload
            data += struct.pack("<I", 4) + struct.pack("<I", word_sum(payload))
        index = header(b"ADHB-IDX") + bytes(24)
        return seal(data), seal(index)
    data = header(b"ADHB-SDK", version, sub)
    entries = []
    for r in records:
        payload = r["data"].encode("latin-1")
        checksum = r.get("checksum", word_sum(payload))
        offset = len(data)
        data += payload + struct.pack("<I", 4) + struct.pack("<I", checksum)
        entries.append([r["id"], r.get("key", 0), r.get("flags", 1), r.get("version", 3000), len(payload), offset])
    for words in desc.get("patch_entries", []):  # [record index, word, value]
        entries[words[0]][words[1]] = words[2]
    index = header(b"ADHB-IDX")
    for words in desc.get("index", entries):
        index += entry_bytes(words)
    if desc.get("terminator", True):
        index += bytes(24)
    return seal(data), seal(index)


def write(base, desc):
    data, index = build(desc)
    for kind, offset, value in desc.get("damage", []):
        (data if kind == "data" else index)[offset] = value
    folder = os.path.dirname(base)
    if folder:
        os.makedirs(folder, exist_ok=True)
    with open(base + ".cdb", "wb") as f:
        f.write(data)
    with open(base + ".idx", "wb") as f:
        f.write(index)
    if desc.get("copies", False):
        good_data, good_index = build(desc)
        with open(base + "1.cdb", "wb") as f:
            f.write(good_data)
        with open(base + "1.idx", "wb") as f:
            f.write(good_index)


def seal_ok(data):
    zeroed = bytes(data[:14]) + bytes(SEAL) + bytes(data[14 + SEAL:])
    return bytes(data[14:14 + SEAL]) == hashlib.md5(zeroed).digest()


def dump(base):
    data = open(base + ".cdb", "rb").read()
    index = open(base + ".idx", "rb").read()
    version, sub = struct.unpack_from("<H", data, 32)[0], struct.unpack_from("<H", data, 36)[0]
    print(f"data {len(data)} bytes, version {version}.{sub}, seal {'ok' if seal_ok(data) else 'bad'}")
    print(f"index {len(index)} bytes, seal {'ok' if seal_ok(index) else 'bad'}")
    pos = 44
    while pos + 24 <= len(index):
        words = struct.unpack_from("<6I", index, pos)
        if words[0] == 0:
            break
        record = data[words[5]:words[5] + words[4]]
        print("entry", " ".join(str(w) for w in words), repr(record.decode("latin-1")))
        pos += 24


def selftest():
    data, index = build({})
    assert len(data) == 44 and len(index) == 68, (len(data), len(index))
    assert seal_ok(data) and seal_ok(index)
    assert word_sum(bytes([1, 2, 3, 4, 5])) == 0x06020304
    assert hashlib.md5(b"abc").hexdigest() == "900150983cd24fb0d6963f7d28e17f72"
    print("selftest: 4 passed, 0 failed")


def r(id_, data, key=0, flags=1, version=3000, **more):
    return dict(id=id_, key=key, flags=flags, version=version, data=data, **more)


# The tests' databases. Expected results are written in the tests, not here.
FIXTURES = {
    "basic": {"records": [r(5, "five", key=1), r(3, "three", key=2), r(8, "eight", key=1)], "copies": False},
    "skip_zero": {"records": [r(5, "five"), r(3, "three"), r(8, "eight")],
                  "index": "skip_zero"},
    "dup": {"records": [r(5, "five"), r(5, "other five"), r(3, "three")]},
    "noterm": {"records": [r(5, "five"), r(3, "three")], "terminator": False},
    "v21": {"records": [r(5, "five")], "version": [2, 1]},
    "v30": {"records": [r(5, "five")], "version": [3, 0]},
    "v0": {"records": [r(5, "five"), r(3, "three")], "version": [0, 0]},
    "v13": {"format": "1.3", "records": [r(7, "seven", key=3), r(2, "two", key=4), r(9, "nine")]},
    "badseal": {"records": [r(5, "five"), r(3, "three")], "copies": True, "damage": [["data", 44, 0x58]]},
    "badrecord": {"records": [r(5, "five"), r(3, "three", checksum=12345), r(8, "eight")]},
    "hostile": {"records": [r(5, "five"), r(3, "three"), r(8, "eight"), r(9, "nine")],
                "patch_entries": [[1, 5, 10], [2, 4, 0xFFFFFFF0], [3, 5, 0xFFFFFFF0]]},
    "old": {"records": [r(5, "v2:five"), r(3, "three"), r(8, "v2:eight")]},
    "full": {"records": [r(i + 1, "x") for i in range(1900)]},
    "nonlive": {"records": [r(5, "five"), r(3, "three", flags=0), r(8, "eight")]},
    "empty": {"records": []},
}


def fixtures(folder):
    for name, desc in FIXTURES.items():
        desc = dict(desc)
        if desc.get("index") == "skip_zero":
            # Records "five" at 44, "three" at 56, "eight" at 69; entries 5,
            # a skipped entry, 3, an id-0 entry, then 8.
            desc["index"] = [[5, 0, 1, 3000, 4, 44], [0xFFFFFFFF, 0, 1, 3000, 5, 56], [3, 0, 1, 3000, 5, 56],
                             [0, 7, 1, 3000, 5, 69], [8, 0, 1, 3000, 5, 69]]
        write(os.path.join(folder, name, "Queue"), desc)


def main(argv):
    if len(argv) >= 2 and argv[1] == "selftest":
        selftest()
    elif len(argv) == 3 and argv[1] == "fixtures":
        fixtures(argv[2])
    elif len(argv) == 4 and argv[1] == "make":
        write(argv[3], json.load(open(argv[2])))
    elif len(argv) == 3 and argv[1] == "dump":
        dump(argv[2])
    else:
        print(__doc__)
        return 2
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
